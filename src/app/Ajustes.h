#pragma once
// The per-user settings store: section "Config" under the program's name.
#include <QString>

QString LeeAjuste(const QString& clave, const QString& porDefecto);
void GuardaAjuste(const QString& clave, const QString& valor);
bool ExisteAjuste(const QString& clave);
// A stored value that is not a number reads as the default.
double LeeAjusteNumero(const QString& clave, double porDefecto);

// Tests keep their settings in a folder of their own.
void EstableceCarpetaAjustes(const QString& carpeta);
