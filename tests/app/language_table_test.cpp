// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/language_table.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>

#include "app/menu_translation.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

TEST(LanguageTextParser, LinesFollowTheTextForm) {
  const LanguageMap map = ParseLanguageText(
      "  42 = a\\tb  \n"
      "0 = zero\n2000000 = too big\nx = not a number\nno equals sign\n"
      "7=first\n7=second\n8 = line\\r\\nbreak\n9 =\n1999999=last\n10 = a = b\r\n",
      true);
  EXPECT_EQ(map, (LanguageMap{{7, "second"},
                              {8, "line\r\nbreak"},
                              {9, ""},
                              {10, "a = b"},
                              {42, "a\tb"},
                              {1999999, "last"}}));
  EXPECT_EQ(ParseLanguageText("9 =\n", false).count(9), 0u);
}

TEST(LanguageCodes, IdsMapToResourceCodes) {
  const std::pair<int, const char*> cases[] = {{0, "DE"},  {1, "EN"},  {20, "SV"}, {36, "PS"},
                                               {99, "EN"}, {-1, "EN"}, {37, "EN"}, {9, "CHS"}};
  for (const auto& [id, code] : cases) {
    SCOPED_TRACE(id);
    EXPECT_EQ(LanguageCode(id), code);
  }
}

TEST(MenuCaptions, OnlyPlainOrFiveDigitNumbersAreTranslated) {
  const std::pair<const char*, int> cases[] = {{"10001", 10001}, {"00216", 216},     {"7", 7},
                                               {"0216", -1},     {"PowerShell", -1}, {"XX", -1},
                                               {"", -1},         {" 12", -1}};
  for (const auto& [caption, expected] : cases) {
    SCOPED_TRACE(caption);
    EXPECT_EQ(CaptionStringNumber(caption).value_or(-1), expected);
  }
}

// A table over texts given by the test, counting how often each code is loaded.
class LanguageTableTest : public ::testing::Test {
 protected:
  LanguageTable MakeTable() {
    return LanguageTable([this](const QString& code) {
      ++loads_[code];
      if (code == "EN") return QString("1 = One\n2 = Two\n3 = #AP# rocks\n5 = English only\n");
      if (code == "SV") return QString("1 = Ett\n5 =\n");
      return QString();
    });
  }
  std::map<QString, int> loads_;
};

TEST_F(LanguageTableTest, FallsBackToEnglishThenToTheMissingMarker) {
  LanguageTable table = MakeTable();
  table.SetCurrentLanguage(20);
  EXPECT_EQ(table.GetString(1), "Ett");
  EXPECT_EQ(table.GetString(2), "Two");
  EXPECT_EQ(table.GetString(5), "English only");  // empty in Swedish
  EXPECT_EQ(table.GetString(4), "String 4 is not in list");
  EXPECT_EQ(table.GetString(0), "Dupliora");
  EXPECT_EQ(table.GetString(3), "Dupliora rocks");
  table.SetCurrentLanguage(99);  // unknown id: English
  EXPECT_EQ(table.GetString(1), "One");
  table.SetCurrentLanguage(3);  // "IT": no text at all
  EXPECT_EQ(table.GetString(2), "Two");
}

TEST_F(LanguageTableTest, ReloadsOnceAfterAChangeAndEnglishOnlyOnce) {
  LanguageTable table = MakeTable();
  EXPECT_TRUE(loads_.empty());  // nothing before the first lookup
  table.SetCurrentLanguage(20);
  table.GetString(1);
  table.GetString(2);
  EXPECT_EQ(loads_["SV"], 1);
  table.SetCurrentLanguage(1);
  EXPECT_EQ(table.GetString(1), "One");
  table.SetCurrentLanguage(20);
  EXPECT_EQ(table.GetString(1), "Ett");
  EXPECT_EQ(loads_["SV"], 2);
  EXPECT_EQ(loads_["EN"], 2);  // once as English map, once as current language
}

TEST(MenuTranslation, NumberedCaptionsAreTranslatedAgainAfterALanguageChange) {
  QMenuBar bar;
  QMenu* file = bar.addMenu("500001");
  QAction* item = file->addAction("57665");
  QMenu* sub = file->addMenu("500005");
  QAction* deep = sub->addAction("500100");
  Languages().SetCurrentLanguage(1);
  TranslateMenuBar(&bar);
  EXPECT_EQ(file->title(), "&File");
  EXPECT_EQ(item->text(), "Quit");
  EXPECT_EQ(deep->text(), "German (Deutsch)");
  Languages().SetCurrentLanguage(0);
  TranslateMenuBar(&bar);
  EXPECT_EQ(file->title(), "&Datei");
  EXPECT_EQ(item->text(), "Beenden");
  EXPECT_EQ(sub->title(), "&Sprache");
  Languages().SetCurrentLanguage(1);
}

}  // namespace
}  // namespace dupliora
