#pragma once
// Screens whose controls are placed by hand: the controls stand on a canvas
// that fills the window and scrolls where the window is smaller than the
// least room they need (a small screen, double size, tiled windows), so that
// none is ever out of reach or drawn over another.
#include <QSize>

class QWidget;

// Fills `pantalla` with a scroll area whose canvas (returned) is never
// smaller than `minimo`; the screen places its controls on the canvas
// whenever the canvas is resized.
QWidget* CreaLienzo(QWidget* pantalla, const QSize& minimo);
