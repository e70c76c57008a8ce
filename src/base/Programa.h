#pragma once
// The program's name and its per-user data folder, which every layer may
// need (the database beside it, the settings, the log).
#include <QString>

// The program file's name without extension ("Fiscalino" as delivered).
extern QString NombrePrograma;

// The per-user data folder of the program, ending in the separator ("" when
// the platform has none).
QString CarpetaDatosUsuario();
// Tests keep the per-user folder inside their own temporary folder.
void EstableceCarpetaDatosUsuario(const QString& carpeta);
