#include "dominio/comun/AlineacionLogica.h"

#include <QStringList>

Alineacion AlineacionColumna(const QString& nombreCampo) {
    static const QStringList derecha{QStringLiteral("NUM"),     QStringLiteral("COD"),    QStringLiteral("CANTIDAD"),
                                     QStringLiteral("IMPORTE"), QStringLiteral("PRECIO"), QStringLiteral("TOTAL")};
    const int guion = nombreCampo.indexOf(QLatin1Char('_'));
    const QString prefijo = guion >= 0 ? nombreCampo.left(guion) : nombreCampo;
    if (derecha.contains(prefijo, Qt::CaseSensitive))
        return Alineacion::Derecha;
    if (prefijo == QLatin1String("FECHA"))
        return Alineacion::Centro;
    return Alineacion::Izquierda;
}
