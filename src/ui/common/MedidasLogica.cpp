#include "ui/common/MedidasLogica.h"

#include <cmath>

int PixelesDeTwips(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double TwipsDePixeles(int pixeles, double dpi) {
    if (dpi <= 0)
        return 0;
    return std::round(pixeles * 1440.0 / dpi);
}
