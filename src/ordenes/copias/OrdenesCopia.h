#pragma once
// The backup commands for scripts.
#include "ordenes/comun/Orden.h"

// --copia [CARPETA]: a dated copy of the database in CARPETA (the backup
// folder by default); prints its path. The program may be open meanwhile.
int OrdenCopia(ContextoOrden& c);

// --restaurar FICHERO [--si]: restores FICHERO as the screen does, after the
// access password and a confirmation on the terminal (--si confirms for scripts).
int OrdenRestaurar(ContextoOrden& c);
