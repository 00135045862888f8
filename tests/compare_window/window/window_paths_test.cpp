// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>

#include "compare_window/path_field/path_alert.h"
#include "compare_window/path_field/path_drop.h"
#include "compare_window/path_field/path_field.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/ploder.h"
#include "compare_window/window/window_fixture.h"
#include "compare_window/window_ids.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

using WindowPathsTest = WindowTest;

void Drop(QWidget* target, QMimeData* data, Qt::MouseButtons buttons) {
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::LinkAction, data, buttons,
                        Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent event(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, data, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

// Which first-start folders exist is the field's own test; here the window
// hands them over, and start paths replace them.
TEST_F(WindowPathsTest, FirstStartShowsTheHomeFolderAndStartPathsReplaceIt) {
  CImgCmp2017& w = Open();
  C2017ComboBoxEx* field = w.Field(ids::kPathField2);
  EXPECT_EQ(field->Text(), dir_.path());
  EXPECT_EQ(w.Field(ids::kPathField1)->count(), 0);
  w.TakeStartPaths("/a b/one.heic;/pictures");
  EXPECT_EQ(field->Text(), "/a b/one.heic;/pictures");
  EXPECT_EQ(field->GetEntry(0), "/a b/one.heic;/pictures");
  EXPECT_EQ(w.Field(ids::kPathField1)->Text(), "");
}

TEST_F(WindowPathsTest, DropAppendsUnlessTheLeftButtonIsDown) {
  CImgCmp2017& w = Open();
  C2017ComboBoxEx* field = w.Field(ids::kPathField2);
  field->SetText("  /old ");
  QMimeData folder, text, nothing;
  folder.setUrls({QUrl::fromLocalFile("/pictures/new")});
  Drop(field, &folder, Qt::NoButton);
  EXPECT_EQ(field->Text(), "/old;/pictures/new");
  text.setText("/typed");
  Drop(field, &text, Qt::LeftButton);
  EXPECT_EQ(field->Text(), "/typed");
  EXPECT_EQ(field->GetEntry(0), "/typed");
  Drop(field, &nothing, Qt::NoButton);
  EXPECT_EQ(field->Text(), "/typed");
}

TEST_F(WindowPathsTest, DroppedLinksGiveTheirTargets) {
  const QString desktop = dir_.filePath("photos.desktop");
  ASSERT_TRUE(test::WriteBytes(
      desktop, "[Desktop Entry]\nName=Photos\nType=Link\nURL=file:///srv/photos\n"));
  const QString url = dir_.filePath("site.url");
  ASSERT_TRUE(test::WriteBytes(url, "[InternetShortcut]\r\nURL=https://example.org/a\r\n"));
  const QString app = dir_.filePath("app.desktop");
  ASSERT_TRUE(test::WriteBytes(app, "[Desktop Entry]\nType=Application\nExec=foo\n"));
  const QList<QUrl> two = {QUrl::fromLocalFile("/a"), QUrl::fromLocalFile("/b")};
  const auto link = Qt::LinkAction;
  const struct {
    const char* name;
    QList<QUrl> urls;
    QString text, want;
    Qt::DropAction effect;
  } rows[] = {
      {"desktop link", {QUrl::fromLocalFile(desktop)}, {}, "/srv/photos", link},
      {"internet shortcut", {QUrl::fromLocalFile(url)}, {}, "https://example.org/a", link},
      {"application entry stays a file", {QUrl::fromLocalFile(app)}, {}, app, link},
      {"first of several", two, {}, "/a", link},
      {"web address", {QUrl("https://example.org/x")}, {}, "https://example.org/x", link},
      {"plain text", {}, " /some/folder \n", "/some/folder", Qt::CopyAction},
      {"nothing", {}, {}, {}, Qt::IgnoreAction},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QMimeData data;
    if (!row.urls.isEmpty()) data.setUrls(row.urls);
    if (!row.text.isEmpty()) data.setText(row.text);
    EXPECT_EQ(DroppedPath(data), row.want);
    EXPECT_EQ(DropEffect(data), row.effect);
  }
}

TEST_F(WindowPathsTest, BrowseReplacesOrAppendsAndCancelChangesNothing) {
  store_.WriteInt("Dupliora", "m_compare_mode", 1);
  CImgCmp2017& w = Open();
  C2017ComboBoxEx* first = w.Field(ids::kPathField1);
  first->SetText(dir_.path() + ";" + dir_.path());
  picked_ = "/chosen";
  QTest::mouseClick(w.findChild<QPushButton*>("1017"), Qt::LeftButton);
  EXPECT_EQ(picker_start_, dir_.path()) << "opened at the last entry";
  EXPECT_EQ(first->Text(), "/chosen");
  EXPECT_EQ(first->GetEntry(0), "/chosen");

  first->SetText(dir_.path() + ";" + dir_.path());
  picked_ = dir_.path();
  QTest::mouseClick(w.findChild<QPushButton*>("1018"), Qt::LeftButton);
  EXPECT_EQ(first->Text(), dir_.path()) << "the first field drops repeated entries";

  C2017ComboBoxEx* second = w.Field(ids::kPathField2);
  second->SetText("/x;/x");
  picked_ = "/y";
  QTest::mouseClick(w.findChild<QPushButton*>("1019"), Qt::LeftButton);
  EXPECT_EQ(second->Text(), "/x;/x;/y") << "the second field takes the text unchanged";
  EXPECT_EQ(second->GetEntry(0), "/x;/x;/y");

  picked_.clear();
  const int entries = second->count();
  QTest::mouseClick(w.findChild<QPushButton*>("1014"), Qt::LeftButton);
  EXPECT_EQ(second->Text(), "/x;/x;/y");
  EXPECT_EQ(second->count(), entries);
}

TEST_F(WindowPathsTest, AlertFlashesFiveTimesAndRestartsOnANewAlert) {
  CImgCmp2017& w = Open();
  C2017ComboBoxEx* field = w.Field(ids::kPathField2);
  w.ShowPathAlert(ids::kPathField2, "bad");
  PathAlert* alert = w.Alert();
  const auto ticks = [&](int count) {
    QString reds;
    for (int tick = 0; tick < count; ++tick) {
      alert->Tick();
      reds += field->Alert() ? 'R' : '-';
    }
    return reds;
  };
  EXPECT_EQ(ticks(4), "R-R-");
  w.ShowPathAlert(ids::kPathField2, "again");
  EXPECT_EQ(alert->Counter(), 10);
  EXPECT_EQ(alert->Balloon()->Message(), "again");
  EXPECT_EQ(ticks(12), "R-R-R-R-R---");
  EXPECT_FALSE(alert->Balloon()->isVisible());
  EXPECT_FALSE(alert->IsFlashing());
}

// A narrow view as in the preview band: the name keeps its room and the
// pair's file stays in view after the model has sorted.
TEST_F(WindowPathsTest, NarrowFileViewShowsNamesAndKeepsTheFileInView) {
  const QString folder = dir_.filePath("many");
  QDir().mkpath(folder);
  for (int i = 0; i < 80; ++i)
    ASSERT_TRUE(
        test::WriteBytes(folder + QStringLiteral("/p%1.jpg").arg(i, 3, 10, QChar('0')), "x"));
  CPloder view(nullptr);
  view.resize(300, 150);
  view.show();
  const QString last = folder + "/p079.jpg";
  view.ShowFile(last);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.SelectedFile() == last; }, 5000));
  QTest::qWait(300);  // the model's delayed sort
  auto* tree = view.findChild<QTreeView*>();
  ASSERT_NE(tree, nullptr);
  EXPECT_GT(tree->columnWidth(0), 120);
  const QRect row = tree->visualRect(tree->currentIndex());
  EXPECT_TRUE(tree->viewport()->rect().contains(row.center()));
  EXPECT_EQ(view.CurrentFolder(), folder);
  view.Stop();  // a stopped view still follows the next pair
  view.ShowFile(folder + "/p003.jpg");
  EXPECT_TRUE(QTest::qWaitFor([&] { return view.SelectedFile() == folder + "/p003.jpg"; }, 5000));
}

}  // namespace
}  // namespace dupliora
