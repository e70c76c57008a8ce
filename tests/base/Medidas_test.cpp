#include "base/MedidasLogica.h"

#include <gtest/gtest.h>

TEST(Medidas, TwipsAPixeles) {
    EXPECT_EQ(PixelesDeTwips(1440, 96), 96);
    EXPECT_EQ(PixelesDeTwips(15, 96), 1);
    EXPECT_EQ(PixelesDeTwips(13750, 96), 917);   // 916,67 rounds up
    EXPECT_EQ(PixelesDeTwips(1300, 96), 87);
    EXPECT_EQ(PixelesDeTwips(1440, 120), 120);
    EXPECT_EQ(PixelesDeTwips(-380, 96), -25);
    EXPECT_EQ(PixelesDeTwips(0, 96), 0);
}

TEST(Medidas, PixelesATwips) {
    EXPECT_EQ(TwipsDePixeles(917, 96), 13755);
    EXPECT_EQ(TwipsDePixeles(96, 96), 1440);
    EXPECT_EQ(TwipsDePixeles(100, 120), 1200);
    EXPECT_EQ(TwipsDePixeles(10, 0), 0);
    // Back and forth at 96 dpi lands on the same pixel.
    for (int px : {0, 1, 87, 600, 917})
        EXPECT_EQ(PixelesDeTwips(TwipsDePixeles(px, 96), 96), px);
}

// A stored window larger than the screen, or partly off it, comes back whole on it.
TEST(Medidas, VentanaDentroDeLaPantalla) {
    const QRect pantalla(0, 0, 640, 512);
    const struct {
        QRect ventana, esperada;
    } casos[] = {
        {{0, 0, 917, 740}, {0, 0, 640, 512}},        // too large: the screen's size
        {{100, 50, 400, 300}, {100, 50, 400, 300}},  // inside: as it was
        {{500, 400, 400, 300}, {240, 212, 400, 300}},  // past the right and bottom edges
        {{-30, -10, 400, 300}, {0, 0, 400, 300}},    // past the left and top edges
        {{300, 0, 800, 200}, {0, 0, 640, 200}},      // too wide only
    };
    for (const auto& c : casos)
        EXPECT_EQ(DentroDe(c.ventana, pantalla), c.esperada);
    // A second screen to the right: its own edges.
    EXPECT_EQ(DentroDe({1200, 0, 917, 740}, {1280, 0, 1280, 1024}), QRect(1280, 0, 917, 740));
}
