// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/picture_header.h"

#include <gtest/gtest.h>

#include "imaging/bitmap_ops.h"
#include "imaging/exif_thumbnail.h"
#include "support/file_fixture.h"

namespace dupliora {
namespace {

using PictureHeaderTest = test::TempFolderTest;

// The content decides the type, never the name; an SVG is a vector picture.
TEST_F(PictureHeaderTest, ReadsTypeSizeAndAlphaOfEveryFormat) {
  const QImage gradient = test::GradientImage(QSize(320, 200));
  const QImage small = test::GradientImage(QSize(150, 130));
  const QSize svg_size(640, 480);
  struct Case {
    const char* name;
    QImage image;        // null: an SVG of svg_size
    const char* format;  // null: by the suffix
    bool alpha;
  } const cases[] = {
      {"gradient.jpg", gradient, nullptr, false},
      {"gradient.png", gradient, nullptr, false},
      {"clear.png", test::SolidImage(QSize(320, 200), QColor(0, 0, 0, 10)), nullptr, true},
      {"gradient.webp", gradient, nullptr, false},
      {"gradient.bmp", gradient, nullptr, false},
      {"gradient.tif", gradient, nullptr, false},
      {"really_a_png.jpg", small, "png", false},
      {"no_suffix", small, "jpg", false},
      {"plan.svg", QImage(), nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool svg = c.image.isNull();
    ASSERT_TRUE(svg ? test::WriteSvg(PathOf(c.name), svg_size, Qt::blue)
                    : test::WritePicture(PathOf(c.name), c.image, c.format));
    const std::optional<PictureHeader> header = LoadPictureHeader(PathOf(c.name));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->type, svg ? PictureType::kVector : PictureType::kRaster);
    EXPECT_EQ(QSize(int(header->width), int(header->height)), svg ? svg_size : c.image.size());
    EXPECT_EQ(header->alpha, c.alpha);
  }
}

// A white picture with a black thumbnail: what LoadThumbnail shows tells which it read.
TEST_F(PictureHeaderTest, EmbeddedThumbnailIsFoundOnlyWhenPresentAndPreferred) {
  const QImage white = test::SolidImage(QSize(640, 480), Qt::white);
  ASSERT_TRUE(test::WritePicture(PathOf("plain.jpg"), white));
  ASSERT_TRUE(test::WritePicture(PathOf("camera.jpg"), white));
  ASSERT_TRUE(
      test::AddExifThumbnail(PathOf("camera.jpg"), test::SolidImage(QSize(160, 120), Qt::black)));
  ASSERT_TRUE(test::WriteBytes(PathOf("text.jpg"), "words"));
  for (const char* name : {"plain.jpg", "text.jpg", "missing.jpg"})
    EXPECT_EQ(EmbeddedThumbnailBytes(PathOf(name)), 0u) << name;
  const QByteArray thumb = ReadEmbeddedThumbnail(PathOf("camera.jpg"));
  EXPECT_EQ(EmbeddedThumbnailBytes(PathOf("camera.jpg")), static_cast<std::uint32_t>(thumb.size()));
  EXPECT_EQ(QImage::fromData(thumb).size(), QSize(160, 120));
  EXPECT_GT(qRed(LoadThumbnail(PathOf("plain.jpg"), QSize(64, 64)).pixel(30, 30)), 240);
  const QImage shown = LoadThumbnail(PathOf("camera.jpg"), QSize(64, 64));
  EXPECT_EQ(shown.size(), QSize(64, 64));
  EXPECT_LT(qRed(shown.pixel(30, 30)), 15);
}

}  // namespace
}  // namespace dupliora
