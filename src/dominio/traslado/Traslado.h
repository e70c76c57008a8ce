#pragma once
// Moving the program's data between a file on this computer and a server:
// into an empty destination, in one transaction, checked against the origin.
#include <QString>
#include <QStringList>

// Copies the database at `origen` into `destino` (each a file or a
// "postgresql://" address; the destination new or without data). Returns the
// lines of the summary both share. Throws ErrorBD (in Spanish); a new file
// is written whole or not at all.
QStringList TrasladaDatos(const QString& origen, const QString& destino);
