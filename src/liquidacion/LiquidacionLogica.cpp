#include "liquidacion/LiquidacionLogica.h"

#include "data/Registros.h"
#include "invoices/Trimestres.h"
#include "liquidacion/Liquidacion.h"

namespace TextoLiquidacion {
const QString Titulo = QStringLiteral("Liquidación del Trimestre");
const QString NoImpresa = QStringLiteral("No se pudo imprimir la liquidación.");
const QString Pide = QStringLiteral("Indique el año y el trimestre, o las dos fechas, y pulse «Calcular (F5)».");
}  // namespace TextoLiquidacion

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
