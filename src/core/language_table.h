// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace dupliora {

inline constexpr int kLanguageIdCount = 37;
inline constexpr int kDefaultLanguageId = 1;  // English

// Resource code of a language id; ids outside the table use "EN".
QString LanguageCode(int id);

using LanguageMap = std::map<int, QString>;

// Builds a map from the plain language text: "number = text" lines, the text
// with \t \r \n turned into their characters. Lines without "=" and numbers
// outside 1..1999999 are skipped; a later line replaces an earlier one.
// With keepEmpty off, empty texts are not stored.
LanguageMap ParseLanguageText(const QString& text, bool keepEmpty);

// The string number a menu caption stands for: the caption must be the number
// written plainly or with five digits ("10001", "00216", not "0216").
std::optional<int> CaptionStringNumber(const QString& caption);

// The plain text of one language from the program's resources (":/lang/<code>.txt");
// empty when the program carries no text for it.
QString LoadLanguageResource(const QString& code);

// Whether the program has texts of its own for a language id; the others
// show English texts.
bool HasLanguageTexts(int id);

// Texts by number in the current user-interface language, with English as
// the fallback and a visible marker for missing numbers.
class LanguageTable {
 public:
  using Loader = std::function<QString(const QString& code)>;
  explicit LanguageTable(Loader loader = LoadLanguageResource);

  // Takes effect at the next GetString, which then reloads once.
  void SetCurrentLanguage(int id) { current_id_ = id; }
  int CurrentLanguage() const { return current_id_; }
  QString GetString(int number);

 private:
  void Reload();

  Loader loader_;
  int current_id_ = kDefaultLanguageId;
  int loaded_id_ = -10;  // nothing loaded yet
  LanguageMap current_;
  LanguageMap english_;
  bool english_loaded_ = false;
};

// The process-wide table.
LanguageTable& Languages();

// The text for `number` from the process-wide table.
QString GetString(int number);

// Switches the process-wide table and stores the choice as "Start"/m_lang_id.
// The frame's own SetLanguage adds the menu translation on top.
void SetLanguage(int id);

// Reads "Start"/m_lang_id (default 1) into the process-wide table.
void LoadLanguageSetting();

}  // namespace dupliora
