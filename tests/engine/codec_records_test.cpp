// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QPainter>

#include "engine/record_test_support.h"
#include "engine/similarity.h"
#include "support/format_tools.h"

namespace dupliora {
namespace {

// A picture with shapes, so that a wrong orientation or another picture
// would not pass for the same one.
QImage DrawScene(QSize size, bool other) {
  QImage image = test::GradientImage(size);
  QPainter painter(&image);
  painter.setBrush(other ? Qt::black : Qt::white);
  painter.drawEllipse(
      QRect(size.width() / 8, size.height() / 4, size.width() / 3, size.height() / 2));
  painter.setBrush(QColor(20, 40, 160));
  painter.drawRect(
      QRect(size.width() * 5 / 8, size.height() / 8, size.width() / 4, size.height() / 3));
  return image;
}

// As a fraction: 1 for equal samples.
double Similarity(const ImageRecord& a, const ImageRecord& b) {
  MatchVariant variant{};
  return CompareRecords(CompareOptions{}, a, b, variant, false);
}

TEST_F(RecordTest, EveryFormatOfOnePhotoMatchesItsJpeg) {
  if (!test::MissingEncoders().isEmpty())
    GTEST_SKIP() << "encoders missing: " << test::MissingEncoders().join(' ').toStdString();
  const QSize size(480, 360);
  ASSERT_TRUE(
      test::WriteFormatCopies(DrawScene(size, false), m_dir.path(), "photo", 160, {240, 180}));
  ASSERT_TRUE(
      test::WriteFormatCopies(DrawScene(size, true), m_dir.path(), "other", 160, {240, 180}));
  const auto jpeg = Make(PathOf("photo.jpg"));
  ASSERT_TRUE(m_made);
  struct Case {
    const char* suffix;
    bool thumbnail;  // rule 2 takes the file's own reduced copy
  } const cases[] = {{"heic", true}, {"avif", false}, {"jxl", false}, {"dng", true}};
  for (const Case& c : cases) {
    for (const int rule : {2, 3}) {
      SCOPED_TRACE(testing::Message() << c.suffix << " rule " << rule);
      const auto copy = Make(PathOf(QStringLiteral("photo.") + c.suffix), rule);
      ASSERT_TRUE(m_made);
      EXPECT_EQ(QSize(int(copy->width), int(copy->height)), size);
      EXPECT_EQ(copy->thumb_bytes > 0, c.thumbnail);
      EXPECT_GE(Similarity(*jpeg, *copy), 0.95);
      const auto other = Make(PathOf(QStringLiteral("other.") + c.suffix), rule);
      EXPECT_LT(Similarity(*jpeg, *other), 0.90);
    }
  }
}

}  // namespace
}  // namespace dupliora
