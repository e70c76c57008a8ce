#pragma once
// The per-user settings store: section "Config" under the program's name.
#include <QString>

QString LeeAjuste(const QString& clave, const QString& porDefecto);
void GuardaAjuste(const QString& clave, const QString& valor);
bool ExisteAjuste(const QString& clave);
// A stored value that is not a number reads as the default.
double LeeAjusteNumero(const QString& clave, double porDefecto);

// The main window's size and state: "Estado" (0 normal, 1 minimised,
// 2 maximised), "Width" and "Height" in twips.
struct EstadoVentana {
    int estado = 0;
    double ancho = 13750;
    double alto = 11100;
};
// Each value its default when missing or not a number; a state outside 0..2 is 0.
EstadoVentana LeeEstadoVentana();
// "Estado" as a whole number, "Width" and "Height" as single-precision
// numbers in the Spanish form ("13750", "9876,5").
void GuardaEstadoVentana(const EstadoVentana& v);

// Who answers the agency's questions about the annual declarations' files:
// "TelefonoContacto" and "PersonaContacto", asked once and kept.
struct ContactoDeclaraciones {
    QString telefono, nombre;
};
ContactoDeclaraciones LeeContactoDeclaraciones();
void GuardaContactoDeclaraciones(const ContactoDeclaraciones& c);

// Tests keep their settings in a folder of their own.
void EstableceCarpetaAjustes(const QString& carpeta);
