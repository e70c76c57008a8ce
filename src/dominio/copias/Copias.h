#pragma once
// The backup copies: the folder they go to, what is in it, and a consistent
// copy of the database.
#include "datos/sqlite/ArchivoBD.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The backup folder, ending in the platform's separator: the user's home
// folder (there is no writable root folder to copy into).
QString CarpetaCopia();
// Tests point the copies at a folder of their own; an empty text goes back to
// the home folder.
void EstableceCarpetaCopia(const QString& carpeta);

// The file the copies read: the database the program connects to.
QString OrigenCopia();

// What the user reads when another instance keeps the database in use.
extern const QString MensajeBaseEnUso;

// A consistent copy of the database file `origen` in `destino`, whole or not
// at all: from the shared connection when it is open on that file (the
// user's work goes on), otherwise from the file. With `exclusiva` the copy
// of a file is refused with ErrorBD 70 while another instance uses it; a
// server's copy is a snapshot that never needs it. Throws ErrorBD: 53 no
// database, 76 no folder, 75 cannot be written.
void CopiaArchivoBD(const QString& origen, const QString& destino, bool exclusiva = true);

// One copy in the backup folder, with what it holds read from the copy itself.
struct CopiaEncontrada {
    QString ruta;
    QString nombre;
    QDateTime fecha;  // last written
    qint64 bytes = 0;
    ExamenArchivoBD examen;
};
// The program's copies in `carpeta` (files named after it, ending in ".mdb"),
// newest first; the database in use is not one of them.
QList<CopiaEncontrada> CopiasEnCarpeta(const QString& carpeta);
// Whether there is any, by their names alone.
bool HayCopias(const QString& carpeta);

