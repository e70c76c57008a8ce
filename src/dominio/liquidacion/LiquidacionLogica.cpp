#include "dominio/liquidacion/LiquidacionLogica.h"

#include "datos/motor/Registros.h"
#include "base/Formatos.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/liquidacion/Liquidacion.h"

namespace TextoLiquidacion {
const QString Titulo = QStringLiteral("Liquidación del Trimestre");
const QString NoImpresa = QStringLiteral("No se pudo imprimir la liquidación.");
const QString Pide = QStringLiteral("Indique el año y el trimestre, o las dos fechas, y pulse «Calcular (F5)».");
}  // namespace TextoLiquidacion

QString NombrePdfLiquidacion(const Liquidacion& l) {
    const QString modelo = l.modelo == ModeloDeclaracion::M420 ? QStringLiteral("420") : QStringLiteral("303");
    QString periodo;
    if (const auto desde = LeeFecha(l.desde); desde) {
        const QString anio = QString::number(desde->year());
        const int t = TrimestreDeFecha(*desde);
        const auto r = FechasTrimestre(t, anio);
        if (r && r->desde == l.desde && r->hasta == l.hasta)
            periodo = anio + QLatin1Char('-') + QString::number(t + 1) + QLatin1Char('T');
    }
    // A file name holds no slash.
    if (periodo.isEmpty())
        periodo = QString(l.desde).replace(QLatin1Char('/'), QLatin1Char('-')) + QStringLiteral(" a ") +
                  QString(l.hasta).replace(QLatin1Char('/'), QLatin1Char('-'));
    return QStringLiteral("Liquidación ") + modelo + QLatin1Char(' ') + periodo + QStringLiteral(".pdf");
}

QVector<ColumnaRejilla> ColumnasCasillas() {
    return {{QStringLiteral("CASILLA"), QStringLiteral("Casilla"), Qt::AlignHCenter, QString()},
            {QStringLiteral("CONCEPTO"), QStringLiteral("Concepto"), Qt::AlignLeft, QString()},
            {QStringLiteral("IMPORTE"), QStringLiteral("Importe"), Qt::AlignRight, QString()}};
}

std::unique_ptr<Registros> RegistrosCasillas(const Liquidacion& l) {
    Registros::Constructor c({QStringLiteral("CASILLA"), QStringLiteral("CONCEPTO"), QStringLiteral("IMPORTE")},
                             l.casillas.size());
    auto texto = [&c](const QString& t) {
        const QByteArray u = t.toUtf8();
        c.Texto(u.constData(), u.size());
    };
    for (const Casilla& k : l.casillas) {
        texto(k.numero);
        texto(k.concepto);
        texto(k.Texto());
    }
    return c.Termina();
}
