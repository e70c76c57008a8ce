#pragma once
// How the button menu lies against the main window, in twips.

struct PosicionMenu {
    double alto;            // the panel's height
    double tituloArriba;    // LblTitulo's top
    double salirArriba;     // BtnSalir's top
    double salirIzquierda;  // BtnSalir's left
};

// H: outer height of the main window; the panel is 1300 twips lower, never
// negative; the title and the exit button sit 20 twips off the bottom (and
// the button off the right edge), even when that puts them above the top.
PosicionMenu CalculaPosicionMenu(double alturaPrincipal, double anchoPanel, double altoTitulo,
                                 double anchoSalir, double altoSalir);
