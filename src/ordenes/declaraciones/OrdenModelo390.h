#pragma once
// The year's VAT summary from the command line:
//   Fiscalino [--base-datos FICHERO] --390 AÑO [SALIDA.pdf|SALIDA.txt]
// One line per box, the check and the warnings after "#"; with SALIDA.txt the
// agency's import file there, with SALIDA.pdf the printed page, whole or not at all.
struct ContextoOrden;

int OrdenModelo390(ContextoOrden& c);
