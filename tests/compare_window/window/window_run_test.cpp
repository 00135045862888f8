// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "compare_window/path_field/path_alert.h"
#include "compare_window/path_field/path_field.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/window_fixture.h"
#include "compare_window/window_ids.h"
#include "core/command_ids.h"

namespace dupliora {
namespace {

class WindowRunTest : public WindowTest {
 protected:
  QString StartCaption() { return window_->findChild<QPushButton*>("1016")->text(); }
};

TEST_F(WindowRunTest, FullRunListsTheCopyAndWritesTheSummary) {
  const QString folder = MakePictures();
  CImgCmp2017& w = Open();
  w.Field(ids::kPathField2)->SetText(folder);
  w.StartOrStop();
  EXPECT_TRUE(w.IsRunning());
  EXPECT_EQ(StartCaption(), "t170");
  EXPECT_FALSE(w.Field(ids::kPathField2)->isEnabled());
  EXPECT_FALSE(w.SearchBar()->isEnabled());
  ASSERT_TRUE(WaitForRun());

  EXPECT_FALSE(w.IsRunning());
  EXPECT_EQ(StartCaption(), "t300338");
  EXPECT_TRUE(w.Field(ids::kPathField2)->isEnabled());
  ASSERT_EQ(w.ResultList()->RowCount(), 1);
  const MatchResult* match = w.ResultList()->MatchAt(0);
  EXPECT_EQ(match->similarity, 100);
  QStringList names{QString::fromUtf16(match->first->path).section(u'/', -1),
                    QString::fromUtf16(match->second->path).section(u'/', -1)};
  names.sort();
  EXPECT_EQ(names, (QStringList{"a.png", "a_copy.png"}));
  EXPECT_TRUE(w.Label(ids::kStatusLine)->text().startsWith("t300102: 1 / t300333: "));
  EXPECT_TRUE(w.Label(ids::kLabelLoad)->text().startsWith("t300330:3 "));
  EXPECT_EQ(w.Progress()->value(), w.Progress()->maximum());
  // The accepted path became the top of the field's history.
  EXPECT_EQ(w.Field(ids::kPathField2)->GetEntry(0), folder);
  EXPECT_EQ(store_.ReadString("Path2", "last_entry"), folder);

  // Without subfolders the copy is not found.
  w.ChooseOption(OptionBar::kSearch, command::kButton3, 1);
  w.StartOrStop();
  ASSERT_TRUE(WaitForRun());
  EXPECT_EQ(w.ResultList()->RowCount(), 0);
  EXPECT_TRUE(w.Label(ids::kStatusLine)->text().startsWith("t300102: 0 / "));
}

TEST_F(WindowRunTest, RemembersPicturesBetweenSessionsUnlessToldNotTo) {
  const QString folder = MakePictures();
  for (const char* name : {"/a.png", "/sub/a_copy.png", "/bars.png"}) {
    QFile file(folder + name);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
  }
  record_store_file_ = dir_.filePath("cache/records.sqlite");
  record_store_ = [this] { return std::make_shared<RecordStore>(record_store_file_); };
  const auto run = [&](bool remember) {
    CImgCmp2017& w = Open();  // a new window: an empty session cache
    if (!remember) w.ChooseOption(OptionBar::kRules, command::kButton2, kRememberPicturesItem);
    EXPECT_TRUE(RunOn(folder));
    EXPECT_EQ(w.ResultList()->RowCount(), 1);
    return cache_line_;
  };
  EXPECT_TRUE(run(true).endsWith(" // 0 t300380"));
  EXPECT_TRUE(run(true).endsWith(" // 3 t300380"));  // the first window closed: all written
  EXPECT_FALSE(run(false).contains("t300380"));
  EXPECT_EQ(store_.ReadString("Dupliora", "m_remember_pictures"), "0");
  CImgCmp2017& w = Open();
  EXPECT_EQ(w.Options().m_remember_pictures.value, 0);
  w.ChooseOption(OptionBar::kRules, command::kButton2, kRememberPicturesItem);
  w.ChooseOption(OptionBar::kRules, command::kButton2, kClearPictureCacheItem);
  EXPECT_TRUE(run(true).endsWith(" // 0 t300380"));  // closing the window finished the clearing
}

// Ctrl+A selects every row, except in a text field, which selects its text.
TEST_F(WindowRunTest, WithResultsCtrlASelectsRowsAndEscapeAsksInTheProgramsLanguage) {
  CImgCmp2017& w = Open();
  EXPECT_TRUE(w.ConfirmDiscard());  // nothing to lose: no question
  ASSERT_TRUE(RunOn(MakePictures()));
  ASSERT_EQ(w.ResultList()->RowCount(), 1);
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QLineEdit* edit = w.Field(ids::kPathField2)->lineEdit();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(edit->hasSelectedText()) << "the field keeps its own Ctrl+A";
  EXPECT_TRUE(w.ResultList()->selectionModel()->selectedRows().isEmpty());
  auto* start = w.findChild<QPushButton*>("1016");
  start->setFocus();
  QTest::keyClick(start, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(w.ResultList()->selectionModel()->selectedRows().size(), 1);
  EXPECT_TRUE(w.OnCommand(34134));
  EXPECT_TRUE(w.ResultList()->selectionModel()->selectedRows().isEmpty());
  EXPECT_FALSE(w.OnCommand(32816));

  for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
    QStringList buttons;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      buttons = {box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
      box->button(answer)->click();
    });
    EXPECT_EQ(w.ConfirmDiscard(), answer == QMessageBox::Yes);
    EXPECT_EQ(buttons, (QStringList{"t300201", "t300202"}));
  }
}

// Escape closes the window from wherever the focus is, Enter never does.
TEST_F(WindowRunTest, EscapeClosesFromAnyControlAndEnterDoesNot) {
  CImgCmp2017& w = Open();
  QSignalSpy closed(&w, &CImgCmp2017::CloseRequested);
  QWidget* targets[] = {w.Field(ids::kPathField2)->lineEdit(), w.ResultList(),
                        w.findChild<QPushButton*>("1016")};
  for (QWidget* target : targets) {
    SCOPED_TRACE(target->metaObject()->className());
    closed.clear();
    QTest::keyClick(target, Qt::Key_Return);
    EXPECT_EQ(closed.count(), 0);
    QTest::keyClick(target, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
  }
}

TEST_F(WindowRunTest, BadPathAlertsItsFieldAndStaysIdle) {
  CImgCmp2017& w = Open();
  const QString missing = dir_.filePath("no such folder");
  ASSERT_TRUE(RunOn(missing));
  EXPECT_FALSE(w.IsRunning());
  EXPECT_EQ(w.Alert()->Counter(), 10);
  EXPECT_TRUE(w.Alert()->Balloon()->isVisible());
  EXPECT_EQ(w.Alert()->Balloon()->Title(), "t51");
  EXPECT_EQ(w.Alert()->Balloon()->Message(), "t300000\n" + missing);
  EXPECT_EQ(w.Label(ids::kStatusLine)->text(), "t300340");
  EXPECT_EQ(w.ResultList()->RowCount(), 0);

  // In two-folder mode a bad first list alerts the first field, from above.
  w.ChooseOption(OptionBar::kRules, command::kButton1, 2);
  w.Field(ids::kPathField1)->SetText("x");
  ASSERT_TRUE(RunOn(MakePictures()));
  EXPECT_EQ(w.Alert()->Counter(), 10);
  const QPoint field = w.Field(ids::kPathField1)->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(w.Alert()->Balloon()->geometry().bottom() + 1, field.y());
}

TEST_F(WindowRunTest, StartWhileRunningOnlyRequestsTheStop) {
  const QString folder = MakePictures();
  CImgCmp2017& w = Open();
  w.Field(ids::kPathField2)->SetText(folder);
  w.StartOrStop();
  // The worker waits for its first call to run here, so it cannot have ended.
  ASSERT_TRUE(w.WorkerActive());
  w.StartOrStop();
  EXPECT_FALSE(w.IsRunning());
  EXPECT_TRUE(w.WorkerActive());
  EXPECT_EQ(StartCaption(), "t170") << "the caption turns back when the worker has returned";
  w.StartOrStop();  // a further click starts nothing
  EXPECT_FALSE(w.IsRunning());
  EXPECT_EQ(StartCaption(), "t170");
  ASSERT_TRUE(WaitForRun());
  EXPECT_EQ(StartCaption(), "t300338");
  EXPECT_EQ(w.ResultList()->RowCount(), 0) << "the run stopped before comparing";
  EXPECT_TRUE(w.Engine().IsStopRequested());

  w.StartOrStop();  // now a new run may begin
  EXPECT_TRUE(w.IsRunning());
  ASSERT_TRUE(WaitForRun());
  EXPECT_EQ(w.ResultList()->RowCount(), 1);
}

TEST_F(WindowRunTest, ClosingDuringARunWaitsForTheWorker) {
  const QString folder = MakePictures();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    CImgCmp2017& w = Open();
    w.Field(ids::kPathField2)->SetText(folder);
    w.StartOrStop();
    for (int i = 0; i < round; ++i) QCoreApplication::processEvents();
    window_.reset();  // must neither hang nor leave the worker behind
  }
  CImgCmp2017& w = Open();
  w.Field(ids::kPathField2)->SetText(folder);
  w.StartOrStop();
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.WorkerActive());
  EXPECT_FALSE(w.IsRunning());
}

}  // namespace
}  // namespace dupliora
