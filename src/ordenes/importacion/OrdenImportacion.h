#pragma once
#include "ordenes/comun/Orden.h"

// --importar FICHERO [--mapa MAPA] [--si]: reads the file and checks every
// row against the database, printing the counts and each refused row;
// changes nothing without --si. With --si the new rows are stored in one
// transaction, and only when no row was refused: a script cannot stop to
// mend a row, so a file with any refused row imports nothing (exit 1).
int OrdenImportar(ContextoOrden& c);
