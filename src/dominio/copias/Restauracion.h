#pragma once
// Getting the data back: a copy put in the place of the database.
#include "datos/sqlite/ArchivoBD.h"

#include <QString>

// Why `archivo` cannot be restored, as the user reads it ("" when it can).
QString MotivoNoRestaurable(const ExamenArchivoBD& examen, const QString& archivo);

// "la copia X (N facturas, la última del dd/mm/aaaa)", for the questions
// before a restore.
QString DescribeCopia(const QString& archivo, const ExamenArchivoBD& examen);

// Puts the copy `archivo` in the place of the database, or changes nothing:
// the file is checked first (a sound database of this program, in a layout
// the upgrade understands, which brings it up to date apart), and whatever
// else could refuse it (the database's folder, the room on the disk); then
// the database in use, if any, goes to a dated safety copy in the backup
// folder, of which the few newest are kept; then the copy replaces it in one
// step and the shared connection is opened on it. Refused while another
// instance uses the database. Returns the path of the safety copy ("" when
// there was no database). Throws ErrorBD with the Spanish message of the
// refusal or failure.
QString RestauraCopia(const QString& archivo);

// The name of the safety copy of the database `rutaBD` written before a
// restore at `momento`, in `carpeta`: named after that database, so that the
// few kept of each database are told apart.
QString NombreCopiaAntesDeRestaurar(const QString& carpeta, const QString& rutaBD, const QDateTime& momento);
