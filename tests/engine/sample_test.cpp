// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/sample.h"

#include <gtest/gtest.h>

#include <QTransform>
#include <algorithm>
#include <iterator>
#include <memory>

#include "engine/record_test_support.h"
#include "imaging/bitmap_ops.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

std::unique_ptr<ImageRecord> FreshRecord(std::uint32_t width = 128, std::uint32_t height = 128) {
  auto record = ZeroRecord();
  record->width = width;
  record->height = height;
  return record;
}

// A 64 x 64 device bitmap of one pixel value, bytes B, G, R, A as stored:
// colour above alpha too, as a damaged bitmap may hold.
QImage Bitmap(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
  QImage bitmap(64, 64, QImage::Format_ARGB32_Premultiplied);
  bitmap.fill(qRgba(red, green, blue, alpha));
  return bitmap;
}

TEST(GreyValueTest, WeighsRedGreenBlueInSinglePrecision) {
  struct Case {
    int red, green, blue, grey;
  } const cases[] = {
      {255, 255, 255, 255},
      {255, 0, 0, 76},
      {0, 255, 0, 150},
      {0, 0, 255, 28},
      {100, 50, 200, 81},
      // Single-precision products truncate some neutral greys one level down.
      {1, 1, 1, 1},
      {7, 7, 7, 6},
      {255, 255, 254, 254},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.red << "," << c.green << "," << c.blue);
    EXPECT_EQ(GreyValue(c.red, c.green, c.blue), c.grey);
  }
}

TEST(MakeSampleTest, BrightnessOfBlackAndWhiteAndAspect) {
  auto black = FreshRecord();
  ASSERT_TRUE(MakeSample(Bitmap(0, 0, 0, 255), *black));
  EXPECT_EQ(black->brightness, 0);
  auto white = FreshRecord(300, 200);
  ASSERT_TRUE(MakeSample(Bitmap(255, 255, 255, 255), *white));
  EXPECT_EQ(white->brightness, 99);
  EXPECT_FLOAT_EQ(white->aspect, 1.5f);
  EXPECT_EQ(white->gray[0], 255);
  EXPECT_EQ(white->gray[4095], 255);
}

TEST(MakeSampleTest, FoldsAlphaOnlyForPicturesWithAlpha) {
  struct Case {
    int grey, alpha, with_alpha, expected;
  } const cases[] = {
      {10, 255, 1, 10}, {10, 0, 1, 9}, {0, 0, 1, 255}, {0, 255, 1, 0}, {10, 0, 0, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "grey " << c.grey << " alpha " << c.alpha);
    auto record = FreshRecord();
    record->alpha = c.with_alpha;
    const auto g = static_cast<std::uint8_t>(c.grey);
    ASSERT_TRUE(MakeSample(Bitmap(g, g, g, static_cast<std::uint8_t>(c.alpha)), *record));
    EXPECT_EQ(record->gray[123], c.expected);
  }
}

// The turned copies must be the samples of the picture turned a quarter
// clockwise and mirrored top to bottom; Qt turns the bitmap independently.
TEST(MakeSampleTest, TurnedCopiesAreSamplesOfTheTurnedPicture) {
  const QImage bitmap = ToDeviceBitmap(test::NoisyImage(QSize(64, 64), 7));
  auto record = FreshRecord();
  ASSERT_TRUE(MakeSample(bitmap, *record));
  auto turned = FreshRecord();
  ASSERT_TRUE(MakeSample(bitmap.transformed(QTransform().rotate(90)), *turned));
  auto mirrored = FreshRecord();
  ASSERT_TRUE(MakeSample(bitmap.mirrored(false, true), *mirrored));
  EXPECT_TRUE(std::equal(std::begin(record->gray_rot), std::end(record->gray_rot), turned->gray));
  EXPECT_TRUE(
      std::equal(std::begin(record->gray_flip), std::end(record->gray_flip), mirrored->gray));
}

TEST(MakeSampleTest, RefusesBitmapsNotExactly64By64By32Bits) {
  const QImage bitmaps[] = {
      QImage(64, 48, QImage::Format_ARGB32_Premultiplied),
      QImage(128, 128, QImage::Format_ARGB32_Premultiplied),  // holds 16384 bytes in its top rows
      QImage(64, 64, QImage::Format_Grayscale8),
      QImage(),
  };
  for (const QImage& bitmap : bitmaps) {
    SCOPED_TRACE(testing::Message() << bitmap.width() << "x" << bitmap.height());
    auto record = FreshRecord();
    record->brightness = 42;
    EXPECT_FALSE(MakeSample(bitmap, *record));
    EXPECT_EQ(record->brightness, 42);
    EXPECT_EQ(record->gray[0], 0);
  }
}

TEST(HasMinimumAreaTest, ComparesTheAreaIn64Bits) {
  struct Case {
    std::uint32_t width, height;
    bool accepted;
  } const cases[] = {
      {16384, 1, true},
      {0, 1000000, false},
      {50000, 50000, true},  // 2.5e9 wraps to a negative 32-bit product
      {65536, 65536, true},  // wraps to exactly 0
      {4294967295u, 4294967295u, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    EXPECT_EQ(HasMinimumArea(c.width, c.height), c.accepted);
  }
}

}  // namespace
}  // namespace dupliora
