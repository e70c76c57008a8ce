#pragma once
// Moving a whole database from one engine to another: a file into a server
// and back, and the copy of a server database as a file.
#include <QString>
#include <QStringList>

#include "datos/motor/CopiaTablas.h"

class ConexionBD;

// Copies `origen` into `destino`, which must hold no data yet, in one
// transaction on the destination, then compares what both hold (each table's
// rows and sums of amounts, to the cent). Throws ErrorBD (in Spanish) and
// leaves the destination as it was on any failure. Returns what was copied,
// as the user reads it, one line a table ("2 facturas (bases 1.234,50;
// cuotas 259,25; totales 1.493,75)", "Datos de la empresa: 1 registro").
QStringList CopiaBaseDatos(ConexionBD& origen, ConexionBD& destino);
// The same into a destination whose data it replaces, in the same transaction.
QStringList SustituyeDatos(ConexionBD& origen, ConexionBD& destino);
