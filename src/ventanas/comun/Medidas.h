#pragma once
// Twips for the screen the program shows on (its logical dpi).
#include <QPoint>
#include <QRect>
#include <QSize>

double DpiPantalla();
int Px(double twips);
double Twips(int pixeles);
QRect RectTwips(double izquierda, double arriba, double ancho, double alto);

class QWidget;
// The width at which the window manager shows the whole title of `ventana`:
// the title in the frame's bold face plus room for the frame's icon and
// buttons; never less than `anchoDiseno` (pixels).
int AnchoParaTitulo(const QWidget* ventana, int anchoDiseno);

// `deseado` (a window's inner size) made no larger than the room the
// screen of `ventana` leaves for a window with its frame and title bar.
QSize CabeEnPantalla(const QWidget* ventana, const QSize& deseado);
