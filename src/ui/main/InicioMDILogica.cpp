#include "ui/main/InicioMDILogica.h"

#include "app/Ajustes.h"
#include "app/Formatos.h"

void GuardaEstadoVentana(int estado, double anchoTwips, double altoTwips) {
    GuardaAjuste(QStringLiteral("Estado"), QString::number(estado));
    GuardaAjuste(QStringLiteral("Width"), TextoNumero(anchoTwips));
    GuardaAjuste(QStringLiteral("Height"), TextoNumero(altoTwips));
}

int EstadoValido(int estado) { return (estado >= 0 && estado <= 2) ? estado : 0; }
