#pragma once
// The command that moves the data between a file and a server.
struct ContextoOrden;

// Fiscalino [--base-datos ORIGEN] --copiar-a DESTINO
int OrdenCopiarA(ContextoOrden& c);
