// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace dupliora {

// One option of the comparison window: its value, its settings key and the
// range of values it may take.
struct OptionRecord {
  std::int32_t value = 0;
  QString key;
  std::int32_t minimum = 0;
  std::int32_t maximum = 1;
};

// The options. Member names are the settings keys. A stored value is
// clamped to the option's range, so a damaged file cannot set a similarity
// of 0 that accepts every pair; a value between the menu's steps (87) is
// kept, as the run takes any similarity in the range.
struct WindowOptions {
  OptionRecord m_compare_mode{0, QStringLiteral("m_compare_mode")};
  OptionRecord m_signature_rule{1, QStringLiteral("m_signature_rule"), 1, 3};
  OptionRecord m_search_rotated{0, QStringLiteral("m_search_rotated")};
  OptionRecord m_search_flipped{0, QStringLiteral("m_search_flipped")};
  OptionRecord m_search_negative{0, QStringLiteral("m_search_negative")};
  OptionRecord m_similarity{90, QStringLiteral("m_similarity"), 40, 100};
  OptionRecord m_subfolder{1, QStringLiteral("m_subfolder")};
  OptionRecord m_ShowListToolbar{1, QStringLiteral("m_ShowListToolbar")};
  // Records are kept in the record store and taken from it in later sessions.
  OptionRecord m_remember_pictures{1, QStringLiteral("m_remember_pictures")};
  // Held in memory only: every start begins with these values.
  OptionRecord m_LeftRightSel{1, QStringLiteral("m_LeftRightSel")};
  OptionRecord preview_mode{0, QStringLiteral("preview_mode"), 0, 2};

  // The options read from and written to the settings file, in reading order.
  std::vector<OptionRecord*> Stored();
};

using TextLookup = std::function<QString(int number)>;

// The preview toolbars carry their own mode menu (preview_toolbar.h).
enum class OptionBar { kRules, kSearch };

struct MenuItem {
  int id = 0;  // 0 for a separator
  QString text;
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  bool IsSeparator() const { return id == 0 && text.isEmpty(); }
};

// The picture cache closes the sampling menu (rules 32907): whether pictures
// are remembered between sessions, the store's size, and clearing it.
inline constexpr int kRememberPicturesItem = 10;
inline constexpr int kPictureCacheSizeItem = 11;
inline constexpr int kClearPictureCacheItem = 12;
// These items are a switch, a figure and a command, not values of the rule.
inline constexpr bool IsPictureCacheItem(int id) {
  return id >= kRememberPicturesItem && id <= kClearPictureCacheItem;
}
struct PictureCacheFacts {
  bool remember = true;
  std::uint64_t bytes_on_disk = 0;
};

// The drop-down menu of one toolbar button; empty when the button has none.
std::vector<MenuItem> OptionMenu(OptionBar bar, int button, const TextLookup& text,
                                 const PictureCacheFacts& cache = {});

// The menu id that stands for the current value of a button's option (the
// one its menu ticks); 0 when the button has no menu.
int CurrentMenuId(OptionBar bar, int button, const WindowOptions& options, int result_view);

// What a confirmed menu choice changed.
struct OptionChoice {
  const OptionRecord* to_store = nullptr;  // write this one to the settings file
  bool relayout = false;
  bool result_view_changed = false;
  bool clear_picture_cache = false;
};
// m_result_view is not an option record: it lives in the window and starts at 0.
OptionChoice ApplyMenuChoice(OptionBar bar, int button, int id, WindowOptions& options,
                             int& result_view);

// The texts the option buttons carry for the current values.
struct OptionTexts {
  QStringList rules;   // buttons 32906 .. 32910
  QStringList search;  // buttons 32906 .. 32908 (32909 stays empty and disabled)
};
OptionTexts ComputeOptionTexts(const WindowOptions& options, int result_view,
                               const TextLookup& text);

// "Similarity 90 %": the similarity menu item and button text.
QString SimilarityText(const TextLookup& text, int percent);

}  // namespace dupliora
