// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/window_options.h"

#include "compare_window/window/window_fixture.h"
#include "core/command_ids.h"

namespace dupliora {
namespace {

// Whatever is chosen, the menu ticks that very item when it opens again.
TEST(CurrentMenuId, TicksTheItemLastChosenOnEveryButton) {
  std::vector<std::pair<OptionBar, int>> buttons;
  for (int i = 0; i < 5; ++i) buttons.emplace_back(OptionBar::kRules, command::kButton1 + i);
  for (int i = 0; i < 3; ++i) buttons.emplace_back(OptionBar::kSearch, command::kButton1 + i);
  WindowOptions options;
  int result_view = 0;
  for (const auto& [bar, button] : buttons) {
    for (const MenuItem& item : OptionMenu(bar, button, NumberText)) {
      if (!item.enabled || item.IsSeparator() || IsPictureCacheItem(item.id)) continue;
      SCOPED_TRACE(QStringLiteral("%1/%2/%3").arg(int(bar)).arg(button).arg(item.id).toStdString());
      ApplyMenuChoice(bar, button, item.id, options, result_view);
      EXPECT_EQ(CurrentMenuId(bar, button, options, result_view), item.id);
    }
  }
  EXPECT_EQ(CurrentMenuId(OptionBar::kSearch, command::kButton4, options, result_view), 0);
}

TEST(ApplyMenuChoice, EachButtonSetsItsOption) {
  const struct {
    const char* name;
    OptionBar bar;
    int button, id;
    const char* key;
    int want;
    bool relayout;
  } rows[] = {
      {"two folders", OptionBar::kRules, command::kButton1, 2, "m_compare_mode", 1, true},
      {"one folder", OptionBar::kRules, command::kButton1, 1, "m_compare_mode", 0, true},
      {"signature 3", OptionBar::kRules, command::kButton2, 3, "m_signature_rule", 3, false},
      {"rotated yes", OptionBar::kRules, command::kButton3, 1, "m_search_rotated", 1, false},
      {"flipped no", OptionBar::kRules, command::kButton4, 2, "m_search_flipped", 0, false},
      {"negative yes", OptionBar::kRules, command::kButton5, 1, "m_search_negative", 1, false},
      {"similarity 45", OptionBar::kSearch, command::kButton2, 45, "m_similarity", 45, false},
      {"subfolders no", OptionBar::kSearch, command::kButton3, 1, "m_subfolder", 0, true},
      {"forget pictures", OptionBar::kRules, command::kButton2, kRememberPicturesItem,
       "m_remember_pictures", 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WindowOptions options;
    options.m_search_flipped.value = 1;
    int result_view = 0;
    const OptionChoice choice = ApplyMenuChoice(row.bar, row.button, row.id, options, result_view);
    ASSERT_NE(choice.to_store, nullptr);
    EXPECT_EQ(choice.to_store->key, row.key);
    EXPECT_EQ(choice.to_store->value, row.want);
    EXPECT_EQ(choice.relayout, row.relayout);
  }
}

TEST(OptionMenu, SamplingMenuHasATitleAndEndsWithThePictureCache) {
  const auto items = OptionMenu(OptionBar::kRules, command::kButton2, NumberText, {false, 1500});
  ASSERT_EQ(items.size(), 9u);
  EXPECT_FALSE(items[0].enabled) << "the title";
  EXPECT_TRUE(items[1].IsSeparator() && items[5].IsSeparator());
  EXPECT_EQ(items[6].text, "t300410");
  EXPECT_TRUE(items[6].checkable);
  EXPECT_FALSE(items[6].checked);
  EXPECT_EQ(items[7].text, "t300411 1.5 KB");
  EXPECT_FALSE(items[7].enabled);
  EXPECT_EQ(items[8].id, kClearPictureCacheItem);
}

TEST(ApplyMenuChoice, TitlesDisabledItemsAndStrangeIdsChangeNothing) {
  const struct {
    OptionBar bar;
    int button, id;
  } rows[] = {{OptionBar::kRules, command::kButton2, 7},
              {OptionBar::kRules, command::kButton2, kPictureCacheSizeItem},
              {OptionBar::kRules, command::kButton3, 7},
              {OptionBar::kSearch, command::kButton2, 87},
              {OptionBar::kSearch, command::kButton2, 0},
              {OptionBar::kRules, command::kButton1, 3}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    WindowOptions options;
    int result_view = 0;
    const OptionChoice c = ApplyMenuChoice(row.bar, row.button, row.id, options, result_view);
    EXPECT_EQ(c.to_store, nullptr);
    EXPECT_FALSE(c.relayout || c.result_view_changed);
    EXPECT_EQ(options.m_similarity.value, 90);
    EXPECT_EQ(options.m_signature_rule.value, 1);
    EXPECT_EQ(options.preview_mode.value, 0);
  }
}

TEST(ComputeOptionTexts, ButtonsCarryTheCurrentValues) {
  WindowOptions o;
  o.m_compare_mode.value = 1;
  o.m_signature_rule.value = 2;
  o.m_search_negative.value = 1;
  o.m_similarity.value = 87;  // stored outside the menu: shown as it is
  o.m_subfolder.value = 0;
  const OptionTexts t = ComputeOptionTexts(o, 1, NumberText);
  EXPECT_EQ(t.rules, (QStringList{"t300312", "t300303", "t300108 t300202", "t300109 t300202",
                                  "t300110 t300201"}));
  EXPECT_EQ(t.search, (QStringList{"t300322", "t300102 87 %", "t300370 t300202"}));
  EXPECT_EQ(ComputeOptionTexts(WindowOptions{}, 0, NumberText).search.front(), "t300324");
}

}  // namespace
}  // namespace dupliora
