#pragma once
// Moving a whole database from one engine to another: a file into a server
// and back, and the copy of a server database as a file.
#include <QString>
#include <QStringList>

class ConexionBD;
class MotorBD;

// Copies every row of the program's tables from `origen` into `destino`,
// ids included, each value typed as it was read. The caller holds the
// transactions.
void CopiaTablas(MotorBD& origen, MotorBD& destino);

// What a database holds, to compare two of them: for each table its rows
// and, for the invoices, the sums of each amount in cents.
QStringList ResumenTablas(MotorBD& motor);

// Copies `origen` into `destino`, which must hold no data yet, in one
// transaction on the destination, then compares both summaries. Throws
// ErrorBD (in Spanish) and leaves the destination as it was on any failure.
// Returns the summary, one line a table.
QStringList CopiaBaseDatos(ConexionBD& origen, ConexionBD& destino);
// The same into a destination whose data it replaces, in the same transaction.
QStringList SustituyeDatos(ConexionBD& origen, ConexionBD& destino);
