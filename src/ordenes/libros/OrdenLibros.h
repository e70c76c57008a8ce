#pragma once
#include "ordenes/comun/Orden.h"

// --libros AÑO [TRIMESTRE] SALIDA.xlsx|SALIDA.csv: the VAT record books from
// 1 January to the end of the quarter (of the year without one). Invoices the
// books cannot take as they are go to standard error and the books are
// written all the same, as the screen's "Exportar igualmente" does: a script
// cannot stop to decide, and the list says what to correct.
int OrdenLibros(ContextoOrden& c);
