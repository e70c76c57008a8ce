#include "dominio/declaraciones/Terceros.h"

#include "base/Formatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/Comillas.h"
#include "datos/motor/Registros.h"
#include "datos/motor/TransaccionBD.h"
#include "dominio/facturas/Nif.h"
#include "dominio/facturas/TiposVigentes.h"

#include <QRegularExpression>

namespace {

// Lower case without accents, for a search that ignores both.
QString Plano(const QString& texto) {
    QString r;
    for (QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            r += c.toLower();
    return r.simplified();
}

}  // namespace

std::vector<FilaTercero> ResumenTerceros(int anio, const std::vector<FacturaTercero>& facturas,
                                         const std::map<QString, DatosTercero>& terceros) {
    std::vector<FilaTercero> r;
    std::map<QString, size_t> indice;
    for (const auto& [nif, datos] : terceros) {
        indice[nif] = r.size();
        r.push_back(FilaTercero{nif, datos});
    }
    for (const FacturaTercero& f : facturas) {
        const QDate d = FechaDeclaracion(f.cobro, f.fecha, f.fechaOperacion, f.total < 0);
        const auto i = indice.find(NormalizaNif(f.nif));
        if (!d.isValid() || d.year() != anio || i == indice.end())
            continue;
        FilaTercero& t = r[i->second];
        ++t.facturas;
        (f.cobro ? t.cobrado : t.pagado) += f.total;
    }
    return r;
}

std::vector<FilaTercero> LeeResumenTerceros(ConexionBD& con, int anio) {
    const auto terceros = LeeTerceros(con);
    return ResumenTerceros(anio, LeeFacturasTerceros(con, anio), terceros);
}

bool CoincideBusqueda(const FilaTercero& fila, const QString& texto) {
    const QString buscado = Plano(texto);
    if (buscado.isEmpty())
        return true;
    const QString nif = NormalizaNif(texto);
    return Plano(fila.datos.nombre).contains(buscado) || (!nif.isEmpty() && fila.nif.contains(nif));
}

QVector<ColumnaRejilla> ColumnasTerceros() {
    return {{QStringLiteral("NIF"), QStringLiteral("NIF"), Qt::AlignLeft, QString()},
            {QStringLiteral("NOMBRE"), QStringLiteral("Nombre"), Qt::AlignLeft, QString()},
            {QStringLiteral("COD_POSTAL"), QStringLiteral("C. Postal"), Qt::AlignHCenter, QString()},
            {QStringLiteral("PAIS"), QStringLiteral("País"), Qt::AlignHCenter, QString()},
            {QStringLiteral("FACTURAS"), QStringLiteral("Facturas"), Qt::AlignRight, QString()},
            {QStringLiteral("COBRADO"), QStringLiteral("Cobrado"), Qt::AlignRight, QString()},
            {QStringLiteral("PAGADO"), QStringLiteral("Pagado"), Qt::AlignRight, QString()}};
}

std::unique_ptr<Registros> RegistrosTerceros(const std::vector<const FilaTercero*>& filas) {
    QStringList campos;
    for (const ColumnaRejilla& c : ColumnasTerceros())
        campos << c.campo;
    Registros::Constructor c(campos, filas.size());
    auto texto = [&c](const QString& t) {
        const QByteArray u = t.toUtf8();
        c.Texto(u.constData(), u.size());
    };
    for (const FilaTercero* f : filas) {
        texto(f->nif);
        texto(f->datos.nombre);
        texto(f->datos.codigoPostal);
        texto(f->datos.pais);
        c.Entero(f->facturas);
        texto(FormatoCentimos(f->cobrado));
        texto(FormatoCentimos(f->pagado));
    }
    return c.Termina();
}

QString AvisoNifTercero(const QString& nif, const QString& pais) {
    const QString p = pais.trimmed().toUpper();
    if (!p.isEmpty() && p != QLatin1String("ES"))
        return QString();
    QString motivo = MotivoNif(nif, QStringLiteral("tercero"));
    if (!motivo.isEmpty())
        motivo[0] = motivo[0].toUpper();
    return motivo.isEmpty() ? motivo : motivo + QLatin1Char('.');
}

CambioTercero CompruebaTercero(const DatosTercero& escrito) {
    CambioTercero r;
    r.datos.nombre = escrito.nombre.simplified();
    r.datos.pais = escrito.pais.trimmed().toUpper();
    // Spain is kept as Null, as the invoices keep it.
    const bool espana = r.datos.pais.isEmpty() || r.datos.pais == QLatin1String("ES");
    if (espana)
        r.datos.pais.clear();
    r.datos.codigoPostal = escrito.codigoPostal.trimmed();
    static const QRegularExpression dosLetras(QStringLiteral("^[A-Z]{2}$"));
    if (r.datos.nombre.isEmpty())
        r.error = QStringLiteral("Falta el nombre del cliente o proveedor.");
    else if (!espana && !dosLetras.match(r.datos.pais).hasMatch())
        r.error = QStringLiteral("El país se indica con su código de dos letras (FR, PT, DE...); vacío para España.");
    else if (espana && !r.datos.codigoPostal.isEmpty() &&
             ProvinciaDeCodigoPostal(r.datos.codigoPostal).isEmpty())
        r.error = QStringLiteral("El código postal de España tiene 5 cifras y empieza por el número de una provincia "
                                 "(01 a 52): ") +
                  r.datos.codigoPostal;
    return r;
}

bool TerceroCambiado(const DatosTercero& mostrado, const DatosTercero& escrito) {
    return escrito.nombre != mostrado.nombre || escrito.pais != mostrado.pais ||
           escrito.codigoPostal != mostrado.codigoPostal;
}

QString PreguntaCambiosTercero(const QString& nif) {
    return QStringLiteral("¿Desea grabar los cambios de ") + nif + QStringLiteral("?");
}

bool GuardaTercero(ConexionBD& con, const QString& nif, const DatosTercero& datos) {
    TransaccionBD transaccion(con);
    const int filas = con.Ejecutar(QStringLiteral("update TERCEROS set NOMBRE = ") + ValorSQL(datos.nombre) +
                                   QStringLiteral(", COD_POSTAL = ") + ValorSQL(datos.codigoPostal) +
                                   QStringLiteral(", PAIS = ") + ValorSQL(datos.pais) +
                                   QStringLiteral(" where NIF = ") + ValorSQL(nif));
    if (filas <= 0)
        return false;
    transaccion.Confirma();
    return true;
}
