// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/picture_header.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "imaging/exif_thumbnail.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

class PictureHeaderTest : public testing::Test {
 protected:
  QString PathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir m_dir;
};

TEST_F(PictureHeaderTest, ReadsTypeSizeAndAlphaOfEveryFormat) {
  struct Case {
    const char* name;
    QImage image;
    PictureType type;
    bool alpha;
  } const cases[] = {
      {"gradient.jpg", test::GradientImage(QSize(320, 200)), PictureType::kRaster, false},
      {"gradient.png", test::GradientImage(QSize(320, 200)), PictureType::kRaster, false},
      {"clear.png", test::SolidImage(QSize(320, 200), QColor(0, 0, 0, 10)), PictureType::kRaster,
       true},
      {"gradient.webp", test::GradientImage(QSize(320, 200)), PictureType::kRaster, false},
      {"gradient.bmp", test::GradientImage(QSize(320, 200)), PictureType::kRaster, false},
      {"gradient.tif", test::GradientImage(QSize(320, 200)), PictureType::kRaster, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(test::WritePicture(PathOf(c.name), c.image));
    const std::optional<PictureHeader> header = LoadPictureHeader(PathOf(c.name));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->type, c.type);
    EXPECT_EQ(header->width, 320u);
    EXPECT_EQ(header->height, 200u);
    EXPECT_EQ(header->alpha, c.alpha);
  }
}

TEST_F(PictureHeaderTest, SvgIsAVectorPicture) {
  ASSERT_TRUE(test::WriteSvg(PathOf("plan.svg"), QSize(640, 480), Qt::blue));
  const auto header = LoadPictureHeader(PathOf("plan.svg"));
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->type, PictureType::kVector);
  EXPECT_EQ(header->width, 640u);
  EXPECT_EQ(header->height, 480u);
}

TEST_F(PictureHeaderTest, ContentDecidesNotTheName) {
  ASSERT_TRUE(
      test::WritePicture(PathOf("really_a_png.jpg"), test::GradientImage(QSize(150, 130)), "png"));
  ASSERT_TRUE(test::WritePicture(PathOf("no_suffix"), test::GradientImage(QSize(150, 130)), "jpg"));
  for (const char* name : {"really_a_png.jpg", "no_suffix"}) {
    SCOPED_TRACE(name);
    const auto header = LoadPictureHeader(PathOf(name));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->width, 150u);
  }
}

TEST_F(PictureHeaderTest, HugeClaimIsReportedWithoutDecoding) {
  ASSERT_TRUE(test::WriteBytes(PathOf("bomb.png"), test::PngClaimingSize(100000, 100000)));
  const auto header = LoadPictureHeader(PathOf("bomb.png"));
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->width, 100000u);
  EXPECT_EQ(header->height, 100000u);
}

TEST_F(PictureHeaderTest, NonPicturesHaveNoHeader) {
  struct Case {
    const char* name;
    QByteArray bytes;
  } const cases[] = {
      {"empty.jpg", QByteArray()},
      {"text.jpg", QByteArray("just some words\n")},
      {"zeros.png", QByteArray(4096, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(test::WriteBytes(PathOf(c.name), c.bytes));
    EXPECT_FALSE(LoadPictureHeader(PathOf(c.name)).has_value());
  }
  EXPECT_FALSE(LoadPictureHeader(PathOf("missing.png")).has_value());
  EXPECT_FALSE(LoadPictureHeader(m_dir.path()).has_value());
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
