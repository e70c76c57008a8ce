#pragma once
// Twips (1/1440 inch) against pixels at a given logical dpi.

int PixelesDeTwips(double twips, double dpi);
double TwipsDePixeles(int pixeles, double dpi);

#include <QRect>
// A window's outer rectangle brought within `disponible`: no larger than it,
// then moved as little as may be to lie inside it.
QRect DentroDe(const QRect& ventana, const QRect& disponible);
