#pragma once
// Database files that are not the open one (a copy, a file to restore):
// their check, what they hold, and a consistent copy of them.
#include <QDate>
#include <QString>

// The engine's own check of every page and index of the file, read only:
// "" when the file is sound, otherwise the engine's report (for the log).
// Indexes of the earliest layout call a function the program no longer has
// (its upgrade drops them): there every page and record is checked but not
// those indexes' contents.
QString InformeIntegridad(const QString& ruta);

enum class EstadoArchivoBD {
    Valida,       // a database of this program, in a layout the upgrade understands
    NoEncontrada, // no such file
    Ilegible,     // the file cannot be read
    Ajena,        // not a database, or not one of this program
    MasReciente,  // written by a newer version of the program
    Danada        // damaged (truncated, overwritten)
};

struct ExamenArchivoBD {
    EstadoArchivoBD estado = EstadoArchivoBD::Ajena;
    int version = 0;         // layout version, 0 when not the program's
    qint64 facturas = 0;     // invoices it holds
    QDate ultimaFactura;     // date of the last one; null when none
};

// Reads the file without writing anything: what it is, how many invoices it
// holds and the date of the last one. With `integridad` also the check of
// InformeIntegridad (its report goes to the log).
ExamenArchivoBD ExaminaArchivoBD(const QString& ruta, bool integridad);

// A consistent copy of the database file `origen` through the engine's
// backup, written whole or not at all (EscribeCopiaEntera), and checked
// unless `comprobar` is false (a file checked already, or one kept as it is
// whatever its state). Throws ErrorBD.
void CopiaConsistenteArchivo(const QString& origen, const QString& destino, bool comprobar = true);
