// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/thumbnail_fit.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "support/hostile_files.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

constexpr QSize kThumb(160, 120);

// A 160 x 120 thumbnail of the bar colour with `content` drawn into `area`.
QImage Boxed(const QImage& content, QRect area, QColor bars = Qt::black) {
  QImage thumb = test::SolidImage(kThumb, bars);
  QPainter painter(&thumb);
  painter.drawImage(area, content);
  return thumb;
}

QImage Grey(QSize size, int level = 128) {
  return test::SolidImage(size, QColor(level, level, level));
}

// Grey content whose top rows are black: a night sky above a lit scene.
QImage DarkTop(QSize size, int dark_rows) {
  QImage image = Grey(size);
  QPainter(&image).fillRect(0, 0, size.width(), dark_rows, Qt::black);
  return image;
}

// Grey content of 160 x `height` between black bars, `top` rows down.
QImage Letterbox(int top, int height = 107, QImage content = {}) {
  return Boxed(content.isNull() ? Grey({160, height}) : content, {0, top, 160, height});
}

TEST(ThumbnailFitTest, CutsBarsOnlyWhenWhatRemainsShowsThePicture) {
  const QSize landscape(3000, 2000);  // 3:2, the usual camera
  QImage lifted = Letterbox(6);
  QPainter(&lifted).fillRect(0, 5, 160, 1, QColor(60, 60, 60));  // ringing next to the picture
  const QImage photo = test::GradientImage(kThumb);
  struct Case {
    const char* label;
    QImage thumb;
    QSize picture;
    std::optional<QRect> area;
  } const cases[] = {
      {"aspect agrees", photo, {4000, 3000}, QRect(0, 0, 160, 120)},
      {"within 2 %", photo, {4080, 3000}, QRect(0, 0, 160, 120)},
      {"letterbox", Letterbox(6), landscape, QRect(0, 6, 160, 107)},
      {"letterbox off centre", Letterbox(10), landscape, QRect(0, 10, 160, 107)},
      {"dark sky under the top bar", Letterbox(6, 107, DarkTop({160, 107}, 20)), landscape,
       QRect(0, 6, 160, 107)},
      {"a bar row lifted by ringing", lifted, landscape, QRect(0, 5, 160, 108)},
      {"pillarbox",
       Boxed(Grey({120, 120}), {20, 0, 120, 120}),
       {2000, 2000},
       QRect(20, 0, 120, 120)},
      {"turned since: bars on the wrong sides", Letterbox(6), {2000, 3000}, std::nullopt},
      {"cropped since: no bars", photo, {2000, 2000}, std::nullopt},
      {"grey bars are picture", Boxed(Grey({160, 107}, 200), {0, 6, 160, 107}, Qt::gray), landscape,
       std::nullopt},
      {"bars too thin", Letterbox(3, 114), landscape, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(PictureAreaInThumbnail(c.thumb, c.picture), c.area);
  }
}

TEST(ThumbnailFitTest, DecodedThumbnailIsCutAndStretched) {
  const QByteArray jpeg =
      test::EncodedPicture(Boxed(test::SolidImage({160, 107}, Qt::white), {0, 6, 160, 107}), "jpg");
  ASSERT_FALSE(jpeg.isEmpty());
  const QImage cut = DecodeThumbnailShowingPicture(jpeg, {3000, 2000}, {64, 64});
  ASSERT_EQ(cut.size(), QSize(64, 64));
  // No bar is left at the edges once cut and stretched.
  for (const QPoint p : {QPoint(32, 0), QPoint(32, 63), QPoint(0, 32)})
    EXPECT_GT(qGray(cut.pixel(p)), 200) << p.x() << "," << p.y();
  EXPECT_TRUE(DecodeThumbnailShowingPicture(jpeg, {2000, 3000}, {64, 64}).isNull());
  EXPECT_TRUE(DecodeThumbnailShowingPicture("not a picture", {3000, 2000}, {64, 64}).isNull());
  EXPECT_FALSE(SameAspect({160, 120}, {0, 10}));
}

}  // namespace
}  // namespace dupliora
