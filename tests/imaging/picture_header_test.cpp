// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/picture_header.h"

#include <gtest/gtest.h>

#include "imaging/exif_thumbnail.h"
#include "support/file_fixture.h"

namespace dupliora {
namespace {

using PictureHeaderTest = test::TempFolderTest;

// The content decides the type, never the name; an SVG is a vector picture.
TEST_F(PictureHeaderTest, ReadsTypeSizeAndAlphaOfEveryFormat) {
  const QImage gradient = test::GradientImage(QSize(320, 200));
  const QImage small = test::GradientImage(QSize(150, 130));
  constexpr PictureType kRaster = PictureType::kRaster;
  struct Case {
    const char* name;
    QImage image;  // null: an SVG of `size`
    const char* format;
    PictureType type;
    QSize size;
    bool alpha;
  } const cases[] = {
      {"gradient.jpg", gradient, nullptr, kRaster, {320, 200}, false},
      {"gradient.png", gradient, nullptr, kRaster, {320, 200}, false},
      {"clear.png",
       test::SolidImage(QSize(320, 200), QColor(0, 0, 0, 10)),
       nullptr,
       kRaster,
       {320, 200},
       true},
      {"gradient.webp", gradient, nullptr, kRaster, {320, 200}, false},
      {"gradient.bmp", gradient, nullptr, kRaster, {320, 200}, false},
      {"gradient.tif", gradient, nullptr, kRaster, {320, 200}, false},
      {"really_a_png.jpg", small, "png", kRaster, {150, 130}, false},
      {"no_suffix", small, "jpg", kRaster, {150, 130}, false},
      {"plan.svg", QImage(), nullptr, PictureType::kVector, {640, 480}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.image.isNull() ? test::WriteSvg(PathOf(c.name), c.size, Qt::blue)
                                 : test::WritePicture(PathOf(c.name), c.image, c.format));
    const std::optional<PictureHeader> header = LoadPictureHeader(PathOf(c.name));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->type, c.type);
    EXPECT_EQ(QSize(int(header->width), int(header->height)), c.size);
    EXPECT_EQ(header->alpha, c.alpha);
  }
}

TEST_F(PictureHeaderTest, EmbeddedThumbnailBytesOnlyWhenPresent) {
  ASSERT_TRUE(test::WritePicture(PathOf("plain.jpg"), test::GradientImage(QSize(320, 240))));
  ASSERT_TRUE(test::WritePicture(PathOf("camera.jpg"), test::GradientImage(QSize(320, 240))));
  ASSERT_TRUE(test::AddExifThumbnail(PathOf("camera.jpg"), test::GradientImage(QSize(160, 120))));
  ASSERT_TRUE(test::WriteBytes(PathOf("text.jpg"), "words"));
  EXPECT_EQ(EmbeddedThumbnailBytes(PathOf("plain.jpg")), 0u);
  EXPECT_EQ(EmbeddedThumbnailBytes(PathOf("text.jpg")), 0u);
  EXPECT_EQ(EmbeddedThumbnailBytes(PathOf("missing.jpg")), 0u);
  const QByteArray thumb = ReadEmbeddedThumbnail(PathOf("camera.jpg"));
  EXPECT_EQ(EmbeddedThumbnailBytes(PathOf("camera.jpg")), static_cast<std::uint32_t>(thumb.size()));
  EXPECT_EQ(QImage::fromData(thumb).size(), QSize(160, 120));
}

}  // namespace
}  // namespace dupliora
