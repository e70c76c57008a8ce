#pragma once
// The year's declaration of operations with third parties from the command line:
//   Fiscalino [--base-datos FICHERO] --347 AÑO [SALIDA.pdf|SALIDA.txt]
// One line per counterparty and key, the warnings after "#"; with
// SALIDA.pdf the printed declaration, with SALIDA.txt the agency's file,
// each whole or not at all.
struct ContextoOrden;

int OrdenModelo347(ContextoOrden& c);
