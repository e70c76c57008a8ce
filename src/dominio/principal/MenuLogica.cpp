#include "dominio/principal/MenuLogica.h"

PosicionMenu CalculaPosicionMenu(double alturaPrincipal, double anchoPanel, double altoTitulo,
                                 double anchoSalir, double altoSalir) {
    PosicionMenu p;
    p.alto = alturaPrincipal < 1300 ? 0 : alturaPrincipal - 1300;
    p.tituloArriba = p.alto - (altoTitulo + 20);
    p.salirArriba = p.alto - (altoSalir + 20);
    p.salirIzquierda = anchoPanel - (anchoSalir + 20);
    return p;
}
