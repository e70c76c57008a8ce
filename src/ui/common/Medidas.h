#pragma once
// Twips for the screen the program shows on (its logical dpi).
#include <QPoint>
#include <QRect>
#include <QSize>

double DpiPantalla();
int Px(double twips);
double Twips(int pixeles);
QRect RectTwips(double izquierda, double arriba, double ancho, double alto);
