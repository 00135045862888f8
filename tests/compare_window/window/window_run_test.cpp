// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QApplication>
#include <QDir>
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
  QString MakePictures() {
    const QString folder = dir_.filePath("pics");
    QDir().mkpath(folder + "/sub");
    EXPECT_TRUE(SavePicture(folder + "/a.png", 200, 150, false));
    EXPECT_TRUE(SavePicture(folder + "/sub/a_copy.png", 200, 150, false));
    EXPECT_TRUE(SavePicture(folder + "/bars.png", 200, 150, true));
    EXPECT_TRUE(SavePicture(folder + "/tiny.png", 40, 40, false));  // below the minimum area
    return folder;
  }
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

TEST_F(WindowRunTest, EscapeWithResultsAsksInTheProgramsLanguage) {
  CImgCmp2017& w = Open();
  EXPECT_TRUE(w.ConfirmDiscard());  // nothing to lose: no question
  w.Field(ids::kPathField2)->SetText(MakePictures());
  w.StartOrStop();
  ASSERT_TRUE(WaitForRun());
  ASSERT_EQ(w.ResultList()->RowCount(), 1);
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
  w.Field(ids::kPathField2)->SetText(missing);
  w.StartOrStop();
  ASSERT_TRUE(WaitForRun());
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
  w.Field(ids::kPathField2)->SetText(MakePictures());
  w.StartOrStop();
  ASSERT_TRUE(WaitForRun());
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
