#pragma once
// The choice of database on the configuration screen, without its window:
// the checks of the server's data, the connection test and the copy of this
// computer's data into the server.
#include "dominio/parametros/BaseDatosElegida.h"

#include <QString>

// The server's data as typed; `puerto` as text, to check it.
struct DatosServidor {
    QString servidor, puerto, base, usuario, clave;
};

// "" when the data can be used; otherwise what the user must correct.
QString CompruebaDatosServidor(const DatosServidor& d);
ServidorElegido ServidorDeDatos(const DatosServidor& d);

// The address with the typed password in it, for this moment only: it is
// never stored.
QString DireccionConClave(const DatosServidor& d);

struct ResultadoPrueba {
    bool correcta = false;
    QString mensaje;
};
// Connects to the server for reading only and says how it went.
ResultadoPrueba PruebaConexion(const DatosServidor& d);

// Keeps the choice (and the password in the user's password file). Returns
// "" or the Spanish reason it could not.
QString GuardaBaseDatosElegida(bool servidor, const DatosServidor& d);

// Copies the database of this computer (`archivo`) into the server, which
// must be empty; returns the message to show.
ResultadoPrueba CopiaDatosAlServidor(const QString& archivo, const DatosServidor& d);
