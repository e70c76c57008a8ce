#include "ui/common/MedidasLogica.h"

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
