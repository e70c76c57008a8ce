#pragma once
// The return from the command line:
//   Fiscalino [--base-datos FICHERO] --liquidacion AÑO TRIMESTRE [SALIDA.pdf]
// One line per box ("07\t1.000,00"), the warnings after "#", and with
// SALIDA.pdf the printed return there too. It draws offscreen, so it lives
// with the screens' library.
struct ContextoOrden;

int OrdenLiquidacion(ContextoOrden& c);
