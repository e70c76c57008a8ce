#pragma once
// The user's password file of the PostgreSQL client (~/.pgpass, readable by
// the user alone), where libpq finds a server's password by itself: the
// program keeps no password of its own.
#include <QString>

// $PGPASSFILE, or ~/.pgpass (%APPDATA%\postgresql\pgpass.conf on Windows).
QString ArchivoPgpass();

// Writes (or replaces) the line of that server, port, database and user,
// the file kept readable by the user alone. False when it cannot be written.
bool GuardaClavePgpass(const QString& servidor, int puerto, const QString& base, const QString& usuario,
                       const QString& clave);
