#pragma once
// Invoices as the return reads them, for its tests.
#include "dominio/liquidacion/Liquidacion.h"

// In cents and hundredths of a percent; the total is base plus cuota.
inline FacturaDeclarada Factura(bool cobro, std::optional<qint64> tipo, qint64 base, qint64 cuota,
                                const QString& codigo = QStringLiteral("F-1"), const QDate& fecha = QDate(2026, 2, 10)) {
    FacturaDeclarada f;
    f.codigo = codigo;
    f.fecha = fecha;
    f.cobro = cobro;
    f.tipo = tipo;
    f.base = base;
    f.cuota = cuota;
    f.cuotaLeida = static_cast<double>(cuota) / 100;
    f.total = base + cuota;
    return f;
}

// The return of the first quarter of 2026, or of other dates.
inline Liquidacion Calcula(ModeloDeclaracion modelo, const std::vector<FacturaDeclarada>& facturas,
                           const QDate& desde = QDate(2026, 1, 1), const QDate& hasta = QDate(2026, 3, 31)) {
    return CalculaLiquidacion(modelo, ImpuestoDelModelo(modelo), desde, hasta, facturas);
}
