#include "dominio/principal/InicioMDILogica.h"

int EstadoValido(int estado) { return (estado >= 0 && estado <= 2) ? estado : 0; }
