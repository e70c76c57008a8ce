#pragma once
// The program's log: details the user is not shown (the database engine's own
// English texts, the output of a failed check) go here, one dated entry each,
// for whoever looks into a fault. Writing it never fails the program.
#include <QString>

void AnotaBitacora(const QString& texto);

// The log file: the per-user data folder, the program's name, ".log".
QString ArchivoBitacora();
// Tests write the log where they like; an empty text goes back to the default.
void EstableceArchivoBitacora(const QString& ruta);
