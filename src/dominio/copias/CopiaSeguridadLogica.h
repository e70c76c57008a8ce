#pragma once
// The backup copy without its window: the copy's notes and name, and the
// copy as the screen runs it.
#include "dominio/copias/Copias.h"
#include "base/Mensajes.h"

#include <QDate>
#include <QString>
#include <functional>

// The notes of the screen, indexes 1 to 6, with `carpeta` shown wherever the
// destination is named and `raiz` (RaizCopias) where the copy's name is.
QString NotaCopia(int indice, const QString& carpeta, const QString& raiz = TituloAplicacion);
// The red line, the copy's name appended.
QString LineaNombreCopia(const QString& nombre);

// The copy as the screen runs it: a snapshot of the open database, refused
// while another instance uses a database file (never for a server); tells
// the user, and leaves the program connected in every case.
// `restauraPuntero` sets the mouse pointer back before a failure is shown.
// True when the copy was made.
bool RealizaCopiaSeguridad(const QString& origen, const QString& destino,
                           const std::function<void()>& restauraPuntero = {});
