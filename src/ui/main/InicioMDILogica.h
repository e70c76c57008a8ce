#pragma once
// The main window's rules that need no window.
#include <QString>

// The three settings SalirAplicacion writes: state as a whole number, width
// and height in twips as numbers in the Spanish format.
void GuardaEstadoVentana(int estado, double anchoTwips, double altoTwips);

// The window's state as start-up applies it: 0, 1 or 2; anything else is normal.
int EstadoValido(int estado);
