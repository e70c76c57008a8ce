#pragma once
// The main window's rules that need no window.
#include <QString>

// The window's state as start-up applies it: 0, 1 or 2; anything else is normal.
int EstadoValido(int estado);
