// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/pic_window.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <mutex>
#include <vector>

#include "support/pictures.h"
#include "viewer/picture_source.h"

namespace dupliora {
namespace {

// Makes the pane's client area exactly `client`, whatever frame the style draws.
void SetClientSize(CPicWindow& pane, QSize client) {
  const QMargins frame = pane.contentsMargins();
  pane.resize(client.width() + frame.left() + frame.right(),
              client.height() + frame.top() + frame.bottom());
}

// Loads `path` into a shown pane and returns what the pane's client area looks like.
QImage ShowAndGrab(CPicWindow& pane, const QString& path, bool resource = false) {
  pane.show();
  QSignalSpy changed(&pane, &CPicWindow::pictureChanged);
  pane.SetPicture(path, resource);
  EXPECT_TRUE(changed.wait(5000));
  return pane.grab(pane.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

bool IsChecker(QRgb pixel) { return pixel == kCheckerLight.rgb() || pixel == kCheckerDark.rgb(); }

// A picture with a transparent left half and a red right half, small or stored
// at the fit size of a 400 x 300 pane, over the checker, the rest background.
TEST(PicWindowTest, TransparentPictureSitsCentredOverTheChecker) {
  struct Case {
    QSize picture, stored;
    std::vector<QPoint> checker, red, background;
  } const cases[] = {
      {{100, 50},
       {100, 50},
       {{150, 125}, {199, 174}},
       {{200, 125}},
       {{149, 125}, {150, 175}, {250, 150}}},
      {{1600, 900},
       {400, 225},
       {{5, 37}},
       {{394, 261}},
       {{4, 100}, {395, 100}, {100, 36}, {100, 262}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture.width());
    QTemporaryDir dir;
    QImage picture(c.picture, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    const int half = c.picture.width() / 2;
    QPainter(&picture).fillRect(half, 0, c.picture.width() - half, c.picture.height(), Qt::red);
    ASSERT_TRUE(picture.save(dir.filePath("half.png"), "PNG"));
    CPicWindow pane;
    SetClientSize(pane, {400, 300});
    const QImage shot = ShowAndGrab(pane, dir.filePath("half.png"));
    EXPECT_EQ(pane.Picture().size(), c.stored);
    EXPECT_TRUE(pane.CheckerFlag());
    for (const QPoint p : c.checker) EXPECT_TRUE(IsChecker(shot.pixel(p))) << p.x() << ',' << p.y();
    for (const QPoint p : c.red) EXPECT_EQ(shot.pixel(p), QColor(Qt::red).rgb());
    for (const QPoint p : c.background)
      EXPECT_EQ(shot.pixel(p), kPaneBackground.rgb()) << p.x() << ',' << p.y();
  }
}

TEST(PicWindowTest, EnlargedPaneLoadsAgainAtTheNewSize) {
  std::mutex mutex;
  QList<QSize> asked;
  PictureSource source = [&](const PictureRequest& request, const std::atomic<bool>&) {
    std::lock_guard lock(mutex);
    asked.append(request.client);
    return test::SolidImage(request.client, Qt::green);
  };
  CPicWindow pane(nullptr, source);
  SetClientSize(pane, {200, 150});
  ShowAndGrab(pane, "any");
  SetClientSize(pane, {600, 450});
  EXPECT_TRUE(QTest::qWaitFor([&] { return pane.Picture().size() == QSize(600, 450); }, 5000));
  std::lock_guard lock(mutex);
  EXPECT_EQ(asked.first(), QSize(200, 150));
  EXPECT_EQ(asked.last(), QSize(600, 450));
}

TEST(PicWindowTest, PaneDestroyedDuringLoadJoinsItsThread) {
  std::atomic<int> finished = 0;
  PictureSource slow = [&](const PictureRequest&, const std::atomic<bool>&) {
    QThread::msleep(150);
    ++finished;
    return QImage(10, 10, QImage::Format_RGB32);
  };
  {
    CPicWindow pane(nullptr, slow);
    SetClientSize(pane, {100, 100});
    pane.SetPicture("slow");
    QTest::qWait(20);
  }
  EXPECT_EQ(finished, 1);  // the load ran to its end before the pane went away
  QTest::qWait(50);        // a queued delivery to the dead pane must not crash
}

// A file copied over under the same path (command 57641) must show its new
// picture: the same path alone no longer means the same picture.
TEST(PicWindowTest, SamePathLoadsAgainWhenTheFileChanged) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p.png"));
  ASSERT_TRUE(test::WritePicture(path, test::SolidImage({64, 48}, Qt::red), "png"));
  CPicWindow pane;
  SetClientSize(pane, {200, 150});
  ShowAndGrab(pane, path);
  EXPECT_EQ(pane.Picture().pixel(1, 1), QColor(Qt::red).rgb());
  ASSERT_TRUE(test::WritePicture(path, test::SolidImage({64, 48}, Qt::blue), "png"));
  ASSERT_TRUE(test::SetModified(path, QDateTime::currentDateTime().addSecs(5)));
  ShowAndGrab(pane, path);
  EXPECT_EQ(pane.Picture().pixel(1, 1), QColor(Qt::blue).rgb());
  // Its file trashed and no row left: an empty path blanks the pane.
  pane.SetPicture(QString());
  EXPECT_TRUE(pane.Picture().isNull());
  EXPECT_EQ(pane.grab(pane.contentsRect()).toImage().pixel(100, 75), kPaneBackground.rgb());
  // A missing file leaves only the background too.
  const QImage shot = ShowAndGrab(pane, "/nonexistent/picture.png");
  EXPECT_TRUE(pane.Picture().isNull());
  EXPECT_EQ(shot.pixel(100, 75), kPaneBackground.rgb());
  EXPECT_EQ(pane.RequestedPath(), "/nonexistent/picture.png");
}

}  // namespace
}  // namespace dupliora
