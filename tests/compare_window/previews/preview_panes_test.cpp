// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_panes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

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
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    first_->width = 800;
    first_->height = 600;
    first_->file_size = 1258291;
    second_->width = 600;
    second_->height = 800;
    second_->file_size = 2000;
    match_ = MatchResult{first_.get(), second_.get(), 97, 1, 0, 90, 99};
    row_ = PreviewRow{SavePicture(dir_, "first.png", {800, 600}, Qt::yellow),
                      SavePicture(dir_, "second.png", {600, 800}, Qt::cyan),
                      "97",
                      &match_,
                      false,
                      false};
  }
  void TearDown() override { QLocale::setDefault(saved_); }

  // Waits until both panes show pictures of the given sizes.
  static bool WaitForPictures(PreviewPanes& panes, QSize left, QSize right) {
    return QTest::qWaitFor(
        [&] {
          return panes.Pane(PreviewSide::kLeft)->Picture().size() == left &&
                 panes.Pane(PreviewSide::kRight)->Picture().size() == right;
        },
        5000);
  }

  // The previews as a 1000 x 800 comparison window lays them out.
  static PreviewPanes& ShowInWindow(QWidget& window) {
    window.resize(1000, 800);
    auto* panes = new PreviewPanes(NumberedText, &window);
    panes->Place(ComputePreviewBandLayout(4, 4, 996, 796));
    window.show();
    return *panes;
  }

  QLocale saved_;
  QTemporaryDir dir_;
  std::unique_ptr<ImageRecord> first_ = std::make_unique<ImageRecord>();
  std::unique_ptr<ImageRecord> second_ = std::make_unique<ImageRecord>();
  MatchResult match_;
  PreviewRow row_;
};

TEST_F(PreviewPanesTest, StartsWithTheSampleTheRightOneUpsideDown) {
  QWidget window;
  PreviewPanes& panes = ShowInWindow(window);
  CPicWindow* left = panes.Pane(PreviewSide::kLeft);
  CPicWindow* right = panes.Pane(PreviewSide::kRight);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return !left->Picture().isNull() && !right->Picture().isNull() &&
               left->Picture().size() == right->Picture().size();
      },
      5000));
  EXPECT_EQ(left->Picture().mirrored(true, true), right->Picture());
  EXPECT_EQ(panes.CaptionText(PreviewSide::kLeft), "....");
  EXPECT_EQ(panes.CaptionText(PreviewSide::kRight), "....");
  EXPECT_EQ(panes.RatioText(), QString::fromUtf8("100 %\n180 \u00b0\n"));
  EXPECT_EQ(panes.PanePath(PreviewSide::kLeft), kSamplePictureResource);
}

TEST_F(PreviewPanesTest, FullShowPairLoadsBothUprightAndWritesTexts) {
  PreviewPanes panes(NumberedText);
  panes.Place(ComputePreviewBandLayout(4, 4, 996, 796));
  panes.show();
  QSignalSpy first_path(&panes, &PreviewPanes::firstPathShown);
  panes.ShowPair(3, row_, ShowPairMode::kFull);
  EXPECT_EQ(panes.ShownRow(), 3);
  ASSERT_EQ(first_path.count(), 1);
  EXPECT_EQ(first_path.first().first().toString(), row_.first_path);
  EXPECT_EQ(panes.PanePath(PreviewSide::kRight), row_.second_path);
  EXPECT_FALSE(panes.Pane(PreviewSide::kRight)->Turn());
  const QSize left_client = panes.Pane(PreviewSide::kLeft)->contentsRect().size();
  const QSize right_client = panes.Pane(PreviewSide::kRight)->contentsRect().size();
  ASSERT_TRUE(WaitForPictures(panes, QSize(800, 600).scaled(left_client, Qt::KeepAspectRatio),
                              QSize(600, 800).scaled(right_client, Qt::KeepAspectRatio)));
  // The second picture is upright again: its bright half on top.
  const QImage second = panes.Pane(PreviewSide::kRight)->Picture();
  EXPECT_EQ(QColor(second.pixel(second.width() / 2, 2)), QColor(Qt::cyan));
  EXPECT_EQ(panes.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  EXPECT_EQ(panes.CaptionText(PreviewSide::kRight), " 600 x 800 2.0 KB ");
  EXPECT_EQ(panes.RatioText(), QString::fromUtf8("97 %\n 90 \u00b0\nHF"));
}

TEST_F(PreviewPanesTest, MarkChangeRewritesCaptionsOnly) {
  PreviewPanes panes(NumberedText);
  panes.ShowPair(0, row_, ShowPairMode::kFull);
  QSignalSpy first_path(&panes, &PreviewPanes::firstPathShown);
  PreviewRow marked = row_;
  marked.second_marked = true;
  marked.second_path = "/elsewhere.png";  // must not be requested
  panes.ShowPair(0, marked, ShowPairMode::kCaptionsOnly);
  EXPECT_EQ(panes.CaptionText(PreviewSide::kRight), kCheckSign + " 600 x 800 2.0 KB " + kCheckSign);
  EXPECT_EQ(panes.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  EXPECT_EQ(panes.PanePath(PreviewSide::kRight), row_.second_path);
  EXPECT_EQ(first_path.count(), 0);
}

TEST_F(PreviewPanesTest, RowWithoutMatchAndNoSelection) {
  PreviewPanes panes(NumberedText);
  panes.ShowPair(0, row_, ShowPairMode::kFull);
  panes.ShowPair(1, PreviewRow{"/a.png", "/b.png", "55", nullptr, true, true}, ShowPairMode::kFull);
  EXPECT_EQ(panes.RatioText(), "55");
  EXPECT_EQ(panes.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  MatchResult broken;  // a match without records keeps the captions too
  panes.ShowPair(2, PreviewRow{"/a.png", "/b.png", "50", &broken, false, false},
                 ShowPairMode::kFull);
  EXPECT_EQ(panes.RatioText(), "50");
  EXPECT_EQ(panes.CaptionText(PreviewSide::kLeft), " 800 x 600 1.2 MB ");
  panes.ShowPair(-1, PreviewRow{}, ShowPairMode::kCaptionsOnly);
  EXPECT_EQ(panes.RatioText(), "");
  EXPECT_EQ(panes.CaptionText(PreviewSide::kRight), " 600 x 800 2.0 KB ");
  // The last row went to the trash: nothing of the pair is left on show.
  panes.Clear();
  EXPECT_EQ(panes.ShownRow(), -1);
  for (PreviewSide side : {PreviewSide::kLeft, PreviewSide::kRight}) {
    EXPECT_EQ(panes.CaptionText(side), "");
    EXPECT_TRUE(panes.Pane(side)->Picture().isNull());
  }
}

TEST_F(PreviewPanesTest, FileViewsFollowThePicturesInModeTwo) {
  PreviewPanes panes(NumberedText);
  panes.Place(ComputePreviewBandLayout(4, 4, 996, 796));
  QWidget left_view;
  QWidget right_view;
  panes.SetFileView(PreviewSide::kLeft, &left_view);
  panes.SetFileView(PreviewSide::kRight, &right_view);
  panes.show();
  QSignalSpy follow(&panes, &PreviewPanes::showFileInFolder);
  panes.ShowPair(0, row_, ShowPairMode::kFull);
  EXPECT_EQ(follow.count(), 0);  // mode 0: pictures only
  EXPECT_FALSE(left_view.isVisible());

  QSignalSpy mode_changed(&panes, &PreviewPanes::previewModeChanged);
  QToolButton* mode_button = panes.Toolbar(PreviewSide::kRight)->ModeButton();
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
  EXPECT_EQ(panes.Pane(PreviewSide::kLeft)->geometry().left(), left_view.geometry().right() + 3);

  panes.ShowPair(1, row_, ShowPairMode::kFull);
  ASSERT_EQ(follow.count(), 2);
  EXPECT_EQ(follow[0][0].value<PreviewSide>(), PreviewSide::kLeft);
  EXPECT_EQ(follow[0][1].toString(), row_.first_path);
  EXPECT_EQ(follow[1][0].value<PreviewSide>(), PreviewSide::kRight);
  EXPECT_EQ(follow[1][1].toString(), row_.second_path);

  items[0]->trigger();
  EXPECT_FALSE(left_view.isVisible());
  EXPECT_TRUE(items[0]->isChecked() && !items[2]->isChecked());
  EXPECT_EQ(panes.Pane(PreviewSide::kLeft)->geometry(), host);
}

TEST_F(PreviewPanesTest, ToolbarCommandsCarryTheirIdsAndSide) {
  PreviewPanes panes(NumberedText);
  QSignalSpy commands(&panes, &PreviewPanes::commandTriggered);
  const struct {
    PreviewSide side;
    int id;
  } clicks[] = {
      {PreviewSide::kLeft, 32907}, {PreviewSide::kRight, 32908}, {PreviewSide::kLeft, 32909}};
  for (const auto& click : clicks) panes.Toolbar(click.side)->CommandAction(click.id)->trigger();
  ASSERT_EQ(commands.count(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(commands[i][0].value<PreviewSide>(), clicks[i].side);
    EXPECT_EQ(commands[i][1].toInt(), clicks[i].id);
  }
}

}  // namespace
}  // namespace dupliora

Q_DECLARE_METATYPE(dupliora::PreviewSide)
