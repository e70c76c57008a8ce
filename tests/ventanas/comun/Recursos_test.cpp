#include "ventanas/comun/Recursos.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

// The window shows the same pictures as the desktop's menu: one square
// picture for each size of the icon theme, not one picture scaled to each.
TEST(Recursos, IconoAplicacionEnCadaTamanoDelTema) {
    const QIcon icono = IconoAplicacion();
    QList<int> lados;
    for (const QSize& s : icono.availableSizes()) {
        EXPECT_EQ(s.width(), s.height());
        lados << s.width();
    }
    std::sort(lados.begin(), lados.end());
    EXPECT_EQ(lados, QList<int>({16, 24, 32, 48, 64, 128, 256}));
    EXPECT_EQ(icono.pixmap(16, 16).size(), QSize(16, 16));
}
