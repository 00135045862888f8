// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/path_field/folder_completer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "support/qt_print.h"

namespace dupliora {
namespace {

class FolderCompleterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = dir_.path();
    for (const char* sub : {"alpha", "beta", ".hidden", "alpha/inner"}) {
      ASSERT_TRUE(QDir(root_).mkpath(sub));
    }
    QFile file(root_ + "/file.jpg");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QTemporaryDir dir_;
  QString root_;
};

TEST_F(FolderCompleterTest, OffersSubfoldersOnlyOfTheTypedFolder) {
  const struct {
    QString typed;
    QString listed;
    QStringList texts;
  } cases[] = {
      {root_ + "/", root_, {root_ + "/alpha", root_ + "/beta"}},
      {root_ + "/al", root_, {root_ + "/alpha", root_ + "/beta"}},
      {root_ + "/.h", root_, {root_ + "/.hidden", root_ + "/alpha", root_ + "/beta"}},
      {root_ + "/alpha/", root_ + "/alpha", {root_ + "/alpha/inner"}},
      {"/x;" + root_ + "/alpha/i", root_ + "/alpha", {"/x;" + root_ + "/alpha/inner"}},
      {root_ + "/missing/", root_ + "/missing", {}},
      {"alpha", "", {}},
      {"", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    const FolderCandidates got = CompleteFolder(c.typed);
    EXPECT_EQ(got.listed, c.listed);
    EXPECT_EQ(got.texts, c.texts);
  }
}

TEST_F(FolderCompleterTest, TypingListsTheFolderOnceAndPopsUpItsSubfolders) {
  QLineEdit edit;
  auto* completer = new FolderCompleter(&edit);
  edit.setCompleter(completer);
  edit.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
  edit.setFocus();
  QTest::keyClicks(&edit, root_ + "/alpha/");
  EXPECT_EQ(completer->ListedFolder(), root_ + "/alpha");
  EXPECT_TRUE(completer->popup()->isVisible());
  EXPECT_EQ(completer->completionModel()->rowCount(), 1);
  // A click outside the open list closes it; the line edit keeps its text.
  QTest::mouseClick(completer->popup(), Qt::LeftButton, {}, QPoint(-5, -5));
  EXPECT_FALSE(completer->popup()->isVisible());
  EXPECT_EQ(edit.text(), root_ + "/alpha/");
}

}  // namespace
}  // namespace dupliora
