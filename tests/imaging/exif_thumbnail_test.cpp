// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/exif_thumbnail.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <exiv2/exiv2.hpp>

#include "support/pictures.h"

namespace dupliora {
namespace {

// A cut-out whose metadata was copied from the whole frame keeps the frame's
// thumbnail; the size the metadata names tells the two apart.
TEST(EmbeddedThumbnailTest, AThumbnailWrittenForAnotherSizeIsNotUsed) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const struct {
    const char* label;
    int named_width, named_height;  // 0: not named
    bool used;
  } cases[] = {
      {"the picture's own size", 640, 480, true},
      {"turned by a tool that kept the size", 480, 640, true},
      {"padded to whole blocks", 640, 488, true},
      {"no size named", 0, 0, true},
      {"cut out of a larger frame", 1280, 960, false},
      {"cut to a narrower frame", 800, 480, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const QString path = dir.filePath(QStringLiteral("%1.jpg").arg(c.label));
    ASSERT_TRUE(test::GradientImage(QSize(640, 480)).save(path, "JPEG"));
    ASSERT_TRUE(test::AddExifThumbnail(path, test::GradientImage(QSize(160, 120))));
    if (c.named_width > 0) {
      auto image = Exiv2::ImageFactory::open(path.toStdString());
      image->readMetadata();
      Exiv2::ExifData exif = image->exifData();
      exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(c.named_width);
      exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(c.named_height);
      image->setExifData(exif);
      image->writeMetadata();
    }
    EXPECT_EQ(!ReadEmbeddedThumbnail(path).isEmpty(), c.used);
  }
}

}  // namespace
}  // namespace dupliora
