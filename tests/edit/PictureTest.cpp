#include "edit/core/Picture.h"

#include <gtest/gtest.h>

using kodexa::FitPicture;

TEST(FitPicture, SmallPictureKeepsItsSizeCentred) {
    bool stretched = true;
    EXPECT_EQ(FitPicture({200, 100}, {245, 317}, &stretched), QRect(22, 108, 200, 100));
    EXPECT_FALSE(stretched);
    EXPECT_EQ(FitPicture({100, 50}, {132, 97}, &stretched), QRect(16, 23, 100, 50));
    EXPECT_FALSE(stretched);
}

TEST(FitPicture, LargePictureScalesBySmallerRatioHalvesToEven) {
    bool stretched = false;
    // 158.5 rounds to the even neighbour.
    EXPECT_EQ(FitPicture({490, 317}, {245, 317}, &stretched), QRect(0, 79, 245, 158));
    EXPECT_TRUE(stretched);
    EXPECT_EQ(FitPicture({100, 634}, {245, 317}, &stretched), QRect(97, 0, 50, 317));
    // 48.5 rounds down to 48, 97 - 48 = 49 halves to 24.
    EXPECT_EQ(FitPicture({264, 97}, {132, 97}, &stretched), QRect(0, 24, 132, 48));
    // 2.5 → 2 and 3.5 → 4: both directions of the even rule.
    EXPECT_EQ(FitPicture({10, 10}, {5, 10}).size(), QSize(5, 5));
    EXPECT_EQ(FitPicture({20, 5}, {10, 100}).size(), QSize(10, 2));
    EXPECT_EQ(FitPicture({20, 7}, {10, 100}).size(), QSize(10, 4));
}

TEST(FitPicture, OneSideAsLargeAsTheFrameIsScaled) {
    bool stretched = false;
    EXPECT_EQ(FitPicture({245, 100}, {245, 317}, &stretched), QRect(0, 108, 245, 100));
    EXPECT_TRUE(stretched);
    // As high as the frame: scale 1, centred across.
    EXPECT_EQ(FitPicture({100, 317}, {245, 317}), QRect(72, 0, 100, 317));
}

TEST(FitPicture, EmptyPictureGivesEmptyRect) {
    EXPECT_TRUE(FitPicture({0, 0}, {245, 317}).isEmpty());
    EXPECT_TRUE(FitPicture({10, 0}, {245, 317}).isEmpty());
}
