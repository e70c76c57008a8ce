#pragma once
// The backup copy without its window: the copy's name, where it goes, and the
// copy itself with the shared connection closed around it.
#include <QDate>
#include <QString>
#include <functional>

// The fixed destination folder, ending in the platform's separator: the
// user's home folder (there is no writable root folder to copy into).
QString CarpetaCopia();
// Tests point the copy at a folder of their own; an empty text goes back to
// the home folder.
void EstableceCarpetaCopia(const QString& carpeta);

// The file the copy reads: the database the program connects to.
QString OrigenCopia();

// The notes of the screen, indexes 1 to 6, with `carpeta` shown wherever the
// destination is named.
QString NotaCopia(int indice, const QString& carpeta);
// The red line, the copy's name appended.
QString LineaNombreCopia(const QString& nombre);

// Copies `origen` to `destino` whole or not at all: the bytes go to a
// temporary file in the destination's folder, the engine checks that file is
// a sound database, and only then does it replace `destino`, so an earlier
// copy survives a failed one. Refuses with ErrorBD 70 while another instance
// holds the file. Throws ErrorBD.
void CopiaArchivoBD(const QString& origen, const QString& destino);

// The copy as the screen runs it: closes the shared connection, copies,
// tells the user, and reopens the connection with ConectarBD in every case.
// `restauraPuntero` sets the mouse pointer back before a failure is shown.
// True when the copy was made.
bool RealizaCopiaSeguridad(const QString& origen, const QString& destino,
                           const std::function<void()>& restauraPuntero = {});
