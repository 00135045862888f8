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

QString SaveHalfTransparent(const QTemporaryDir& dir, QSize size, const char* name) {
  QImage picture(size, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), Qt::red);
  painter.end();
  const QString path = dir.filePath(name);
  EXPECT_TRUE(picture.save(path, "PNG"));
  return path;
}

bool IsChecker(QRgb pixel) { return pixel == kCheckerLight.rgb() || pixel == kCheckerDark.rgb(); }

// A picture with a transparent left half and a red right half, in a 400 x 300 pane.
QImage ShowHalfTransparent(CPicWindow& pane, QSize picture) {
  QTemporaryDir dir;
  const QString path = SaveHalfTransparent(dir, picture, "half.png");
  SetClientSize(pane, {400, 300});
  return ShowAndGrab(pane, path);
}

TEST(PicWindowTest, SmallTransparentPictureSitsCentredOverChecker) {
  CPicWindow pane;
  const QImage shot = ShowHalfTransparent(pane, {100, 50});
  EXPECT_EQ(pane.Picture().size(), QSize(100, 50));
  EXPECT_TRUE(pane.CheckerFlag());
  EXPECT_TRUE(IsChecker(shot.pixel(150, 125)));
  EXPECT_TRUE(IsChecker(shot.pixel(199, 174)));
  EXPECT_EQ(shot.pixel(200, 125), QColor(Qt::red).rgb());
  EXPECT_EQ(shot.pixel(149, 125), kPaneBackground.rgb());
  EXPECT_EQ(shot.pixel(150, 175), kPaneBackground.rgb());
  EXPECT_EQ(shot.pixel(250, 150), kPaneBackground.rgb());
}

TEST(PicWindowTest, LargeTransparentPictureIsStoredAtFitSize) {
  CPicWindow pane;
  const QImage shot = ShowHalfTransparent(pane, {1600, 900});
  EXPECT_EQ(pane.Picture().size(), QSize(400, 225));
  EXPECT_TRUE(IsChecker(shot.pixel(5, 37)));
  EXPECT_EQ(shot.pixel(394, 261), QColor(Qt::red).rgb());
  EXPECT_EQ(shot.pixel(4, 100), kPaneBackground.rgb());
  EXPECT_EQ(shot.pixel(395, 100), kPaneBackground.rgb());
  EXPECT_EQ(shot.pixel(100, 36), kPaneBackground.rgb());
  EXPECT_EQ(shot.pixel(100, 262), kPaneBackground.rgb());
}

TEST(PicWindowTest, MissingFileLeavesOnlyTheBackground) {
  CPicWindow pane;
  SetClientSize(pane, {200, 100});
  const QImage shot = ShowAndGrab(pane, "/nonexistent/picture.png");
  EXPECT_TRUE(pane.Picture().isNull());
  EXPECT_EQ(shot.pixel(100, 50), kPaneBackground.rgb());
  EXPECT_EQ(pane.RequestedPath(), "/nonexistent/picture.png");
}

TEST(PicWindowTest, EnlargedPaneLoadsAgainAtTheNewSize) {
  std::mutex mutex;
  QList<QSize> asked;
  PictureSource source = [&](const PictureRequest& request, const std::atomic<bool>&) {
    std::lock_guard lock(mutex);
    asked.append(request.client);
    QImage picture(request.client, QImage::Format_RGB32);
    picture.fill(Qt::green);
    return picture;
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
  QImage red(64, 48, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(path, "PNG"));
  CPicWindow pane;
  SetClientSize(pane, {200, 150});
  ShowAndGrab(pane, path);
  EXPECT_EQ(pane.Picture().pixel(1, 1), QColor(Qt::red).rgb());
  QImage blue(64, 48, QImage::Format_RGB32);
  blue.fill(Qt::blue);
  ASSERT_TRUE(blue.save(path, "PNG"));
  QFile file(path);
  ASSERT_TRUE(
      file.open(QIODevice::ReadWrite) &&
      file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
  file.close();
  ShowAndGrab(pane, path);
  EXPECT_EQ(pane.Picture().pixel(1, 1), QColor(Qt::blue).rgb());
  // Its file trashed and no row left: an empty path blanks the pane.
  pane.SetPicture(QString());
  EXPECT_TRUE(pane.Picture().isNull());
  EXPECT_EQ(pane.grab(pane.contentsRect()).toImage().pixel(100, 75), kPaneBackground.rgb());
}

}  // namespace
}  // namespace dupliora
