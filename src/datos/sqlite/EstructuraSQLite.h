#pragma once
// The stored layout of the SQLite file: the tables of a new file, and the
// upgrade of a file written by an earlier layout, decided from the file itself
// (its user_version and its schema), never from settings beside it.
#include <QDate>
#include <QString>
#include <QStringList>

class MotorBD;
struct sqlite3;

// The statements of a new file (tables and indexes).
QStringList EsquemaSQLite();
// Creates them in one transaction and stamps the layout's version; `db`
// is the handle of `motor`.
void CreaEsquema(MotorBD& motor, sqlite3* db);
// Reads the header and the schema of an existing file (a foreign file fails
// here) and upgrades a known older layout in place, after a dated safety copy
// beside it. A layout it does not know is left untouched.
// With `actualizar` false (a read-only connection) an older layout is only read.
void PreparaArchivo(MotorBD& motor, sqlite3* db, const QString& ruta, bool actualizar);
// The layout version of an open file: VersionEstructura, 1 for the layout
// with conversion triggers, 0 for one the program does not know.
int VersionArchivo(sqlite3* db);

// A consistent copy of the open database through the engine's backup,
// written under a temporary name, checked and renamed into place.
void CopiaSQLite(sqlite3* origen, const QString& destino);
// The name of the safety copy written before an upgrade of `ruta` on `dia`.
QString NombreCopiaPrevia(const QString& ruta, const QDate& dia);
