#include "dominio/principal/AcercaDeLogica.h"

const Identidad& IdentidadPrograma() {
    static const Identidad id{
        QStringLiteral("Fiscalino"),
        1,
        0,
        QStringLiteral("Programa sencillo para llevar un control de la declaración trimestral del IVA"),
        QStringLiteral("Equipo de Fiscalino"),
        QStringLiteral("contacto@fiscalino.es"),
        QStringLiteral("mailto:contacto@fiscalino.es"),
        QStringLiteral("https://www.fiscalino.es"),
        QStringLiteral("https://www.fiscalino.es"),
    };
    return id;
}

QString LineaVersion(int mayor, int menor) {
    return QStringLiteral("Versión ") + QString::number(mayor) + QLatin1Char('.') + QString::number(menor);
}
