#pragma once
// The parameters in memory, read once at start from the row of PARAMETROS.
#include <QString>

class Registros;

extern QString PalabraClave;
extern short IvaPorDefecto;
extern QString OpcionIva;
extern QString FraseFinal;
extern bool AccesoFacturas;
extern bool AccesoInformes;

// Loads the six globals from the first row, each under the parameter trap:
// a failing item shows the two warnings and loading goes on.
void CargaParametros(const Registros& rs);

// Odd positions down and even positions up by their position with Modo true,
// the reverse with Modo false, over the Windows-1252 code page. Throws ErrorBD
// when a code would leave 0..255 or a character has no code there.
QString CodificarClave(bool Modo, const QString& texto);

// Whether a password can be stored: every character printable in the code
// page of CodificarClave and low enough there (up to code 245) that no
// position of a ten-character password shifts it out of the page. So letters
// (upper-case accented ones too), digits, blanks and the keyboard's signs,
// but not the ten at the top of the page (the lower-case "ú" and "ü" among
// them) nor characters outside it.
bool ClaveAdmitida(const QString& clave);
// What the user is told when it cannot.
extern const QString MensajeClaveNoAdmitida;
