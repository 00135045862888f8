// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "compare_window/path_field/path_field.h"
#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/ploder.h"
#include "compare_window/window/window_fixture.h"
#include "compare_window/window_ids.h"
#include "core/command_ids.h"
#include "viewer/pic_window.h"

namespace dupliora {
namespace {

using WindowOptionsTest = WindowTest;

TEST_F(WindowOptionsTest, DefaultsThenStoredChoicesSurviveARestartMemoryOnlyOnesDoNot) {
  {
    CImgCmp2017& w = Open();  // no settings file yet
    EXPECT_EQ(w.SearchBar()->Button(command::kButton2)->text(), "t300102 90 %");
    EXPECT_EQ(w.SearchBar()->Button(command::kButton3)->text(), "t300370 t300201");
    EXPECT_EQ(w.RulesBar()->Button(command::kButton1)->text(), "t300311");
    EXPECT_TRUE(w.Field(ids::kPathField1)->isHidden());
    EXPECT_EQ(w.Label(ids::kStatusLine)->text(), "t300340");
    EXPECT_EQ(w.Label(ids::kLabelLoad)->text(), "...");
    EXPECT_EQ(w.findChild<QPushButton*>("1016")->text(), "t300338");
    w.ChooseOption(OptionBar::kSearch, command::kButton3, 1);  // subfolders: no
    w.ChooseOption(OptionBar::kSearch, command::kButton2, 60);
    w.ChooseOption(OptionBar::kRules, command::kButton4, 1);  // flipped: yes
    w.SetPreviewMode(2);
    w.ChooseOption(OptionBar::kSearch, command::kButton1, 2);
    w.Options().m_LeftRightSel.value = 0;
    EXPECT_EQ(w.Options().preview_mode.value, 2);
    EXPECT_EQ(w.ResultView(), 1);
    EXPECT_EQ(w.Previews()->Toolbar(PreviewSide::kRight)->ModeButton()->text(), "t300323");
  }
  EXPECT_EQ(store_.ReadString("Dupliora", "m_subfolder"), "0");
  CImgCmp2017& w = Open();
  EXPECT_EQ(w.Options().m_subfolder.value, 0);
  EXPECT_EQ(w.Options().m_similarity.value, 60);
  EXPECT_EQ(w.Options().m_search_flipped.value, 1);
  EXPECT_EQ(w.Options().preview_mode.value, 0);
  EXPECT_EQ(w.Options().m_LeftRightSel.value, 1);
  EXPECT_EQ(w.ResultView(), 0);
}

// A damaged value must not reach the run: similarity 0 would accept every pair.
TEST_F(WindowOptionsTest, StoredValuesAreClampedAndUnreadableOnesGiveTheDefault) {
  const struct {
    const char* key;
    const char* stored;
    int expected;
  } rows[] = {
      {"m_similarity", "87", 87},   {"m_similarity", "0", 40},    {"m_similarity", "250", 100},
      {"m_similarity", "abc", 90},  {"m_similarity", "75x", 90},  {"m_signature_rule", "9", 3},
      {"m_signature_rule", "0", 1}, {"m_search_rotated", "5", 1}, {"m_compare_mode", "-3", 0},
      {"m_subfolder", "", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.key) + "=" + row.stored);
    store_.WriteString("Dupliora", row.key, row.stored);
    CImgCmp2017& w = Open();
    for (const OptionRecord* option : w.Options().Stored()) {
      if (option->key == row.key) EXPECT_EQ(option->value, row.expected);
    }
    store_.DeleteSection("Dupliora");
  }
  store_.WriteInt("Dupliora", "m_similarity", 87);
  EXPECT_EQ(Open().SearchBar()->Button(command::kButton2)->text(), "t300102 87 %");
}

// The pane geometry of each mode is the previews' own test; here the window's part.
TEST_F(WindowOptionsTest, PreviewModeTwoShowsFileViewsBesideThePictures) {
  CImgCmp2017& w = Open({1600, 1000});
  w.SetPreviewMode(2);
  ASSERT_NE(w.PreviewFileView(0), nullptr);
  EXPECT_TRUE(w.PreviewFileView(0)->isVisible());
  EXPECT_EQ(w.PreviewFileView(0)->parentWidget(),
            w.Previews()->Pane(PreviewSide::kLeft)->parentWidget());
  // The previews' own menu reaches the window.
  emit w.Previews()->previewModeChanged(0);
  EXPECT_EQ(w.Options().preview_mode.value, 0);
  EXPECT_FALSE(w.PreviewFileView(0)->isVisible());
}

TEST_F(WindowOptionsTest, ResultViewSwitchesTheListAreaAndStartResetsIt) {
  CImgCmp2017& w = Open();
  w.ChooseOption(OptionBar::kSearch, command::kButton1, 2);
  ASSERT_NE(w.ListFileView(), nullptr);
  EXPECT_TRUE(w.ListFileView()->isVisible());
  EXPECT_FALSE(w.ResultList()->isVisible());
  EXPECT_EQ(w.SearchBar()->Button(command::kButton1)->text(), "t300322");
  w.Field(ids::kPathField2)->SetText(dir_.filePath("missing"));
  w.StartOrStop();
  EXPECT_EQ(w.ResultView(), 0);
  EXPECT_TRUE(w.ResultList()->isVisible());
  EXPECT_FALSE(w.ListFileView()->isVisible());
  ASSERT_TRUE(WaitForRun());
}

TEST_F(WindowOptionsTest, ButtonMenusOfferTheOptionsAndStoreTheChoice) {
  CImgCmp2017& w = Open({1600, 1000});
  QMenu* menu = w.SearchBar()->Button(command::kButton2)->menu();
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 13);
  menu->actions().at(11)->trigger();  // 45 %
  EXPECT_EQ(w.Options().m_similarity.value, 45);
  EXPECT_EQ(store_.ReadInt("Dupliora", "m_similarity", 0), 45);
  EXPECT_EQ(w.SearchBar()->Button(command::kButton2)->text(), "t300102 45 %");
  emit menu->aboutToShow();  // the menu ticks the value chosen, nothing else
  for (int i = 0; i < menu->actions().size(); ++i)
    EXPECT_EQ(menu->actions().at(i)->isChecked(), i == 11);
  EXPECT_TRUE(w.Field(ids::kPathField2)->ListLabel().isEmpty());  // one list: nothing to tell

  QMenu* mode = w.RulesBar()->Button(command::kButton1)->menu();
  emit mode->aboutToShow();
  emit mode->aboutToShow();  // filled anew, not twice
  ASSERT_EQ(mode->actions().size(), 2);
  mode->actions().at(1)->trigger();
  EXPECT_EQ(w.Options().m_compare_mode.value, 1);
  EXPECT_FALSE(w.Field(ids::kPathField1)->isHidden());
  EXPECT_FALSE(w.findChild<QPushButton*>("1018")->isHidden());
  EXPECT_EQ(w.Field(ids::kPathField2)->geometry().left(), 800) << "the path row split in half";
  // Each field names its list where it stays visible, before the typed text.
  for (const auto& [id, name] :
       {std::pair{ids::kPathField1, "t300343"}, {ids::kPathField2, "t300344"}}) {
    C2017ComboBoxEx* field = w.Field(id);
    EXPECT_EQ(field->ListLabel(), name);
    const auto* label = field->lineEdit()->findChild<QLabel*>("list_label");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_GT(field->lineEdit()->textMargins().left(), label->geometry().right());
  }
  mode->actions().at(0)->trigger();
  EXPECT_EQ(w.Field(ids::kPathField2)->lineEdit()->textMargins().left(), 0);
  EXPECT_EQ(w.SearchBar()->Button(command::kButton4)->menu(), nullptr);
}

}  // namespace
}  // namespace dupliora
