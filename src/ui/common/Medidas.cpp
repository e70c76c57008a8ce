#include "ui/common/Medidas.h"

#include "ui/common/MedidasLogica.h"

#include <QGuiApplication>
#include <QScreen>

double DpiPantalla() {
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->logicalDotsPerInchY();
    return 96.0;
}

int Px(double twips) { return PixelesDeTwips(twips, DpiPantalla()); }

double Twips(int pixeles) { return TwipsDePixeles(pixeles, DpiPantalla()); }

QRect RectTwips(double izquierda, double arriba, double ancho, double alto) {
    return QRect(Px(izquierda), Px(arriba), Px(ancho), Px(alto));
}
