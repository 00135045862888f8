// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/bitmap_ops.h"

#include <gtest/gtest.h>

#include <array>

#include "support/file_fixture.h"

namespace dupliora {
namespace {

using BitmapOpsTest = test::TempFolderTest;

TEST_F(BitmapOpsTest, DrawingStretchesTheWholePictureInto64By64) {
  ASSERT_TRUE(test::WritePicture(PathOf("wide.png"), test::GradientImage(QSize(1000, 200))));
  const QImage bitmap = DrawStretched64(PathOf("wide.png"));
  ASSERT_EQ(bitmap.size(), QSize(64, 64));
  EXPECT_TRUE(bitmap.hasAlphaChannel());
  EXPECT_LT(qRed(bitmap.pixel(0, 0)), 10);
  EXPECT_GT(qRed(bitmap.pixel(63, 63)), 245);
  EXPECT_GT(qGreen(bitmap.pixel(63, 63)), 245);
  EXPECT_TRUE(DrawStretched64(PathOf("missing.png")).isNull());
  // Transparent white is drawn as transparent black.
  ASSERT_TRUE(test::WritePicture(PathOf("clear.png"),
                                 test::SolidImage(QSize(128, 128), QColor(255, 255, 255, 0))));
  std::array<std::uint8_t, 4> first{};
  ASSERT_EQ(ReadBitmapBits(ToDeviceBitmap(DrawStretched64(PathOf("clear.png"))), first), 4u);
  EXPECT_EQ(first, (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

TEST(ReadBitmapBitsTest, ReadsBlueGreenRedAlphaRowsWithoutGaps) {
  QImage bitmap(3, 2, QImage::Format_ARGB32);
  bitmap.fill(qRgba(10, 20, 30, 255));
  bitmap.setPixel(0, 1, qRgba(1, 2, 3, 255));
  const QImage device = ToDeviceBitmap(bitmap);
  std::array<std::uint8_t, 64> bits{};
  ASSERT_EQ(ReadBitmapBits(device, bits), 24u);  // 3 x 4 bytes per row, no padding
  // Row 1 starts right after row 0.
  EXPECT_EQ((std::array{bits[0], bits[1], bits[2], bits[3], bits[12]}),
            (std::array<std::uint8_t, 5>{30, 20, 10, 255, 3}));
  std::array<std::uint8_t, 5> few{};
  EXPECT_EQ(ReadBitmapBits(device, few), 5u);
  EXPECT_EQ(ReadBitmapBits(QImage(4, 4, QImage::Format_Grayscale8), bits), 0u);
}

TEST(Turn180Test, TurnsAndTurnsBack) {
  const QImage picture = test::GradientImage(QSize(7, 5));
  const QImage turned = Turn180(picture);
  EXPECT_EQ(turned.pixel(0, 0), picture.pixel(6, 4));
  EXPECT_EQ(turned.pixel(6, 0), picture.pixel(0, 4));
  EXPECT_EQ(Turn180(turned), picture);
}

}  // namespace
}  // namespace dupliora
