#include "dominio/declaraciones/Modelo347Logica.h"

#include "base/Formatos.h"
#include "datos/motor/Registros.h"

namespace TextoModelo347 {
const QString Titulo = QStringLiteral("Declaración Anual de Operaciones con Terceros (Modelo 347)");
const QString NoImpreso = QStringLiteral("No se pudo imprimir el Modelo 347.");
const QString Pide = QStringLiteral("Indique el año y pulse «Calcular (F5)».");
const QString SinDeclarados = QStringLiteral("Ningún tercero pasa de 3.005,06 € en el año.");
}  // namespace TextoModelo347

std::vector<TotalClave347> TotalesPorClave(const Modelo347& m) {
    std::vector<TotalClave347> r;
    for (const Fila347& f : m.filas) {
        if (r.empty() || r.back().clave != f.clave)
            r.push_back(TotalClave347{f.clave});
        TotalClave347& t = r.back();
        ++t.declarados;
        t.total += f.total;
        for (size_t i = 0; i < 4; ++i)
            t.trimestres[i] += f.trimestres[i];
    }
    return r;
}

QString NombreClave347(QChar clave) {
    return clave == QLatin1Char('B') ? QStringLiteral("Clave B: entregas de bienes y servicios (Cobros)")
                                     : QStringLiteral("Clave A: adquisiciones de bienes y servicios (Pagos)");
}

QString TextoTotalClave(const TotalClave347& t) {
    return QStringLiteral("Total clave %1, %2").arg(t.clave).arg(t.declarados == 1 ? QStringLiteral("1 declarado")
                                                                                   : QString::number(t.declarados) +
                                                                                         QStringLiteral(" declarados"));
}

QStringList LineasTotales347(const Modelo347& m) {
    QStringList r;
    for (const TotalClave347& t : TotalesPorClave(m)) {
        QStringList trimestres;
        for (int i = 0; i < 4; ++i)
            trimestres << QStringLiteral("%1T %2").arg(i + 1).arg(FormatoCentimos(t.trimestres[static_cast<size_t>(i)]));
        r << TextoTotalClave(t) + QStringLiteral(": ") + FormatoCentimos(t.total) + QStringLiteral(" (") +
                 trimestres.join(QStringLiteral("; ")) + QLatin1Char(')');
    }
    if (r.isEmpty())
        r << TextoModelo347::SinDeclarados;
    return r;
}

int AnioPropuesto347(const QDate& hoy) { return hoy.year() - 1; }

QString NombrePdf347(int anio) { return QStringLiteral("Modelo 347 %1.pdf").arg(anio); }
QString NombreFichero347(int anio) { return QStringLiteral("Modelo 347 %1.txt").arg(anio); }

QString TextoFicheroGuardado347(const Modelo347& m, const QString& ruta) {
    const size_t n = m.filas.size();
    return QStringLiteral("Se ha guardado el archivo del Modelo 347 de %1 en %2: %3.")
        .arg(QString::number(m.anio), ruta,
             n == 1 ? QStringLiteral("1 declarado") : QString::number(n) + QStringLiteral(" declarados"));
}

QVector<ColumnaRejilla> Columnas347() {
    QVector<ColumnaRejilla> c{{QStringLiteral("CLAVE"), QStringLiteral("Clave"), Qt::AlignHCenter, QString()},
                              {QStringLiteral("NIF"), QStringLiteral("NIF"), Qt::AlignLeft, QString()},
                              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre"), Qt::AlignLeft, QString()},
                              {QStringLiteral("PROVINCIA"), QStringLiteral("Prov."), Qt::AlignHCenter, QString()},
                              {QStringLiteral("PAIS"), QStringLiteral("País"), Qt::AlignHCenter, QString()},
                              {QStringLiteral("TOTAL"), QStringLiteral("Total anual"), Qt::AlignRight, QString()}};
    for (int t = 1; t <= 4; ++t)
        c.push_back({QStringLiteral("T%1").arg(t), QStringLiteral("%1T").arg(t), Qt::AlignRight, QString()});
    return c;
}

std::unique_ptr<Registros> Registros347(const Modelo347& m) {
    QStringList campos;
    for (const ColumnaRejilla& c : Columnas347())
        campos << c.campo;
    Registros::Constructor c(campos, m.filas.size());
    // The command's line holds the same texts in the same order.
    for (const QString& linea : m.LineasOrden()) {
        if (linea.startsWith(QLatin1Char('#')))
            continue;
        for (const QString& t : linea.split(QLatin1Char('\t'))) {
            const QByteArray u = t.toUtf8();
            c.Texto(u.constData(), u.size());
        }
    }
    return c.Termina();
}

int LeeAnioDeclaracion(const QString& texto, QString* error) {
    if (texto.trimmed().isEmpty()) {
        if (error)
            *error = QStringLiteral("Indique el año de la declaración.");
        return 0;
    }
    const int anio = LeeAnioOrden(texto, nullptr);
    if (!anio && error)
        *error = QStringLiteral("El año no es válido: «%1».").arg(texto.trimmed());
    return anio;
}
