#include "base/MedidasLogica.h"

#include <cmath>

int PixelesDeTwips(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double TwipsDePixeles(int pixeles, double dpi) {
    if (dpi <= 0)
        return 0;
    return std::round(pixeles * 1440.0 / dpi);
}

QRect DentroDe(const QRect& ventana, const QRect& disponible) {
    if (!disponible.isValid())
        return ventana;
    QRect r(ventana.topLeft(), ventana.size().boundedTo(disponible.size()));
    if (r.right() > disponible.right())
        r.moveRight(disponible.right());
    if (r.bottom() > disponible.bottom())
        r.moveBottom(disponible.bottom());
    if (r.left() < disponible.left())
        r.moveLeft(disponible.left());
    if (r.top() < disponible.top())
        r.moveTop(disponible.top());
    return r;
}
