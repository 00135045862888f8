// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_panes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "compare_window/result_list/result_test_records.h"
#include "viewer/pic_window.h"

namespace dupliora {
namespace {

QString NumberedText(int id) { return QStringLiteral("T%1").arg(id); }

// A picture with a bright top half, so upright and upside down differ.
QString SavePicture(const QTemporaryDir& dir, const QString& name, QSize size, QColor top) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::darkGray);
  QPainter(&picture).fillRect(0, 0, size.width(), size.height() / 2, top);
  const QString path = dir.filePath(name);
  EXPECT_TRUE(picture.save(path, "PNG"));
  return path;
}

class PreviewPanesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString first = SavePicture(dir_, "first.png", {800, 600}, Qt::yellow);
    const QString second = SavePicture(dir_, "second.png", {600, 800}, Qt::cyan);
    row_ = PreviewRow{first, second, "97", &match_, false, false};
    panes_.Place(ComputePreviewBandLayout(4, 4, 996, 796));
  }

  // Waits until both panes show pictures of the given sizes.
  static bool WaitForPictures(PreviewPanes& panes, QSize left, QSize right) {
    return QTest::qWaitFor(
        [&] {
          return panes.Pane(PreviewSide::kLeft)->Picture().size() == left &&
                 panes.Pane(PreviewSide::kRight)->Picture().size() == right;
        },
        5000);
  }

  testing::LocaleScope english_{QLocale(QLocale::English, QLocale::UnitedStates)};
  QTemporaryDir dir_;
  ImageRecord first_{.width = 800, .file_size = 1258291, .height = 600};
  ImageRecord second_{.width = 600, .file_size = 2000, .height = 800};
  MatchResult match_{&first_, &second_, 97, 1, 0, 90, 99};
  PreviewRow row_;
  PreviewPanes panes_{NumberedText};
};

TEST_F(PreviewPanesTest, StartsWithTheSampleTheRightOneUpsideDown) {
  panes_.show();
  CPicWindow* left = panes_.Pane(PreviewSide::kLeft);
  CPicWindow* right = panes_.Pane(PreviewSide::kRight);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return !left->Picture().isNull() && !right->Picture().isNull() &&
               left->Picture().size() == right->Picture().size();
      },
      5000));
  EXPECT_EQ(left->Picture().mirrored(true, true), right->Picture());
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kLeft), "....");
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kRight), "....");
  EXPECT_EQ(panes_.RatioText(), QString::fromUtf8("100 %\n180 \u00b0\n"));
  EXPECT_EQ(panes_.PanePath(PreviewSide::kLeft), kSamplePictureResource);
}

TEST_F(PreviewPanesTest, FullShowPairLoadsBothUprightAndWritesTexts) {
  panes_.show();
  QSignalSpy first_path(&panes_, &PreviewPanes::firstPathShown);
  panes_.ShowPair(3, row_, ShowPairMode::kFull);
  EXPECT_EQ(panes_.ShownRow(), 3);
  ASSERT_EQ(first_path.count(), 1);
  EXPECT_EQ(first_path.first().first().toString(), row_.first_path);
  EXPECT_EQ(panes_.PanePath(PreviewSide::kRight), row_.second_path);
  EXPECT_FALSE(panes_.Pane(PreviewSide::kRight)->Turn());
  const QSize left_client = panes_.Pane(PreviewSide::kLeft)->contentsRect().size();
  const QSize right_client = panes_.Pane(PreviewSide::kRight)->contentsRect().size();
  ASSERT_TRUE(WaitForPictures(panes_, QSize(800, 600).scaled(left_client, Qt::KeepAspectRatio),
                              QSize(600, 800).scaled(right_client, Qt::KeepAspectRatio)));
  // The second picture is upright again: its bright half on top.
  const QImage second = panes_.Pane(PreviewSide::kRight)->Picture();
  EXPECT_EQ(QColor(second.pixel(second.width() / 2, 2)), QColor(Qt::cyan));
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kRight), " 600 x 800 2.0 KB ");
  EXPECT_EQ(panes_.RatioText(), QString::fromUtf8("97 %\n 90 \u00b0\nHF"));
}

TEST_F(PreviewPanesTest, MarkChangeRewritesCaptionsOnly) {
  panes_.ShowPair(0, row_, ShowPairMode::kFull);
  QSignalSpy first_path(&panes_, &PreviewPanes::firstPathShown);
  PreviewRow marked = row_;
  marked.second_marked = true;
  marked.second_path = "/elsewhere.png";  // must not be requested
  panes_.ShowPair(0, marked, ShowPairMode::kCaptionsOnly);
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kRight),
            kCheckSign + " 600 x 800 2.0 KB " + kCheckSign);
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  EXPECT_EQ(panes_.PanePath(PreviewSide::kRight), row_.second_path);
  EXPECT_EQ(first_path.count(), 0);
}

TEST_F(PreviewPanesTest, RowWithoutMatchAndNoSelection) {
  panes_.ShowPair(0, row_, ShowPairMode::kFull);
  panes_.ShowPair(1, PreviewRow{"/a.png", "/b.png", "55", nullptr, true, true},
                  ShowPairMode::kFull);
  EXPECT_EQ(panes_.RatioText(), "55");
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  MatchResult broken;  // a match without records keeps the captions too
  panes_.ShowPair(2, PreviewRow{"/a.png", "/b.png", "50", &broken, false, false},
                  ShowPairMode::kFull);
  EXPECT_EQ(panes_.RatioText(), "50");
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  panes_.ShowPair(-1, PreviewRow{}, ShowPairMode::kCaptionsOnly);
  EXPECT_EQ(panes_.RatioText(), "");
  EXPECT_EQ(panes_.CaptionText(PreviewSide::kRight), " 600 x 800 2.0 KB ");
  // The last row went to the trash: nothing of the pair is left on show.
  panes_.Clear();
  EXPECT_EQ(panes_.ShownRow(), -1);
  for (PreviewSide side : {PreviewSide::kLeft, PreviewSide::kRight}) {
    EXPECT_EQ(panes_.CaptionText(side), "");
    EXPECT_TRUE(panes_.Pane(side)->Picture().isNull());
  }
}

TEST_F(PreviewPanesTest, FileViewsFollowThePicturesInModeTwo) {
  QWidget left_view;
  QWidget right_view;
  panes_.SetFileView(PreviewSide::kLeft, &left_view);
  panes_.SetFileView(PreviewSide::kRight, &right_view);
  panes_.show();
  QSignalSpy follow(&panes_, &PreviewPanes::showFileInFolder);
  panes_.ShowPair(0, row_, ShowPairMode::kFull);
  EXPECT_EQ(follow.count(), 0);  // mode 0: pictures only
  EXPECT_FALSE(left_view.isVisible());

  QSignalSpy mode_changed(&panes_, &PreviewPanes::previewModeChanged);
  QToolButton* mode_button = panes_.Toolbar(PreviewSide::kRight)->ModeButton();
  const QList<QAction*> items = mode_button->menu()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_FALSE(items[1]->isEnabled());
  items[2]->trigger();
  ASSERT_EQ(mode_changed.count(), 1);
  EXPECT_EQ(mode_changed.first().first().toInt(), 2);
  EXPECT_TRUE(left_view.isVisible());
  EXPECT_EQ(mode_button->text(), "T300323");
  EXPECT_TRUE(items[2]->isChecked() && !items[0]->isChecked());
  const QRect host = left_view.parentWidget()->contentsRect();
  EXPECT_EQ(left_view.geometry().left(), host.left());
  EXPECT_EQ(panes_.Pane(PreviewSide::kLeft)->geometry().left(), left_view.geometry().right() + 3);

  panes_.ShowPair(1, row_, ShowPairMode::kFull);
  ASSERT_EQ(follow.count(), 2);
  EXPECT_EQ(follow[0][0].value<PreviewSide>(), PreviewSide::kLeft);
  EXPECT_EQ(follow[0][1].toString(), row_.first_path);
  EXPECT_EQ(follow[1][0].value<PreviewSide>(), PreviewSide::kRight);
  EXPECT_EQ(follow[1][1].toString(), row_.second_path);

  items[0]->trigger();
  EXPECT_FALSE(left_view.isVisible());
  EXPECT_TRUE(items[0]->isChecked() && !items[2]->isChecked());
  EXPECT_EQ(panes_.Pane(PreviewSide::kLeft)->geometry(), host);
}

TEST_F(PreviewPanesTest, ToolbarCommandsCarryTheirIdsAndSide) {
  QSignalSpy commands(&panes_, &PreviewPanes::commandTriggered);
  panes_.Toolbar(PreviewSide::kRight)->CommandAction(32908)->trigger();
  panes_.Toolbar(PreviewSide::kLeft)->CommandAction(32909)->trigger();
  ASSERT_EQ(commands.count(), 2);
  EXPECT_EQ(commands[0][0].value<PreviewSide>(), PreviewSide::kRight);
  EXPECT_EQ(commands[0][1].toInt(), 32908);
  EXPECT_EQ(commands[1][0].value<PreviewSide>(), PreviewSide::kLeft);
  EXPECT_EQ(commands[1][1].toInt(), 32909);
}

}  // namespace
}  // namespace dupliora

Q_DECLARE_METATYPE(dupliora::PreviewSide)
