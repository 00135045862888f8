// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/scaled_decode.h"

#include <gtest/gtest.h>

#include "imaging/bitmap_ops.h"
#include "support/file_fixture.h"

namespace dupliora {
namespace {

using ScaledDecodeTest = test::TempFolderTest;

TEST(FitInsideTest, KeepsAspectAndNeverEnlarges) {
  struct Case {
    QSize picture, bound, fitted;
  } const cases[] = {
      {{4000, 3000}, {400, 400}, {400, 300}},
      {{3000, 4000}, {400, 400}, {300, 400}},
      {{200, 100}, {400, 400}, {200, 100}},
      {{10000, 1}, {100, 100}, {100, 1}},
      {{0, 100}, {100, 100}, {}},
      {{100, 100}, {0, 0}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.picture.width() << "x" << c.picture.height());
    EXPECT_EQ(FitInside(c.picture, c.bound), c.fitted);
  }
}

TEST_F(ScaledDecodeTest, DecodesEveryFormatIntoTheBound) {
  for (const char* name : {"big.jpg", "big.png", "big.webp", "big.tif"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(test::WritePicture(PathOf(name), test::GradientImage(QSize(1600, 1200))));
    const QImage image = DecodeScaled(PathOf(name), QSize(200, 200), false);
    EXPECT_EQ(image.size(), QSize(200, 150));
    // Bottom right is bright red and green, top left dark: the whole picture was scaled.
    EXPECT_LT(qRed(image.pixel(2, 2)), 30);
    EXPECT_GT(qRed(image.pixel(197, 147)), 220);
    EXPECT_GT(qGreen(image.pixel(197, 147)), 220);
  }
}

TEST_F(ScaledDecodeTest, DecodesBeyondQtsDefaultAllocationLimit) {
  // 6000 x 6000 is 137 MB as 32-bit pixels: over Qt's default 128 MB. PNG has
  // no scaled reads, so this is a full decode; one colour keeps the file small.
  ASSERT_TRUE(test::WritePicture(PathOf("large.png"), test::SolidImage({6000, 6000}, Qt::white)));
  const QImage image = DecodeScaled(PathOf("large.png"), QSize(64, 64), false);
  EXPECT_EQ(image.size(), QSize(64, 64));
}

}  // namespace
}  // namespace dupliora
