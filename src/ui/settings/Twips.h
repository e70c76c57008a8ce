#pragma once
// Screen measures given in twips (1/1440 inch), in pixels of the widget's screen.
#include <QRect>
#include <QWidget>
#include <cmath>

inline int Px(const QWidget* w, int twips) {
    return static_cast<int>(std::lround(twips * w->logicalDpiX() / 1440.0));
}

inline QRect RectTwips(const QWidget* w, int izquierda, int arriba, int ancho, int alto) {
    return QRect(Px(w, izquierda), Px(w, arriba), Px(w, ancho), Px(w, alto));
}
