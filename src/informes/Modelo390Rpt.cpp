#include "informes/Modelo390Rpt.h"

#include "base/Formatos.h"

Modelo390Rpt::Modelo390Rpt(const Modelo390& m, const CabeceraEmpresa& empresa, const QDate& fechaImpresion)
    : LiquidacionRpt(empresa, QStringLiteral("Resumen Anual del IVA"), QStringLiteral("Ejercicio %1").arg(m.anio),
                     fechaImpresion) {
    Coloca({Renglon::Modelo, {}, QStringLiteral("Modelo 390 (IVA)"), {}}, 330);
    if (!m.avisosPrevios.empty())
        ColocaApartado(QStringLiteral("Facturas incompletas"), false);
    for (const Liquidacion::Aviso& a : m.avisosPrevios)
        ColocaAviso(a);
    for (size_t i = 0; i < m.casillas.size(); ++i) {
        const Casilla390& c = m.casillas[i];
        if (i == 0 || c.seccion != m.casillas[i - 1].seccion)
            ColocaApartado(c.seccion, true);
        ColocaCasilla(c.numero, c.concepto, FormatoCentimos(c.valor), c.total);
    }
    ColocaApartado(QStringLiteral("Resultados trimestrales (Modelo 303)"), false);
    for (int q = 0; q < 4; ++q)
        ColocaCasilla(QStringLiteral("%1T").arg(q + 1), QStringLiteral("Resultado de la liquidación (casilla 71)"),
                      FormatoCentimos(m.trimestres[q]), false);
    ColocaApartado(QStringLiteral("Avisos y comprobaciones"), false);
    ColocaAviso({m.Comprobacion(), !m.Cuadra()});
    for (const Liquidacion::Aviso& a : m.avisos)
        ColocaAviso(a);
}
