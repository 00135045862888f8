// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/language_table.h"

#include <QFile>
#include <QStringList>

#include "core/app_identity.h"
#include "core/settings_store.h"

// The language texts are a resource of this static library; the linker only
// keeps them when something asks for their registration, which must happen
// outside any namespace.
static void RegisterLanguageResources() { Q_INIT_RESOURCE(languages); }

namespace dupliora {

namespace {

constexpr const char* kLanguageCodes[kLanguageIdCount] = {
    "DE",  "EN", "FR", "IT", "ES",  "CH",  "JA", "KR", "PL", "CHS", "RU", "NL",  "TR",
    "GR",  "AR", "SK", "CZ", "DA",  "BR",  "RO", "SV", "FI", "HU",  "HR", "SLO", "ARA",
    "UKR", "EE", "UK", "NO", "SRP", "COL", "BG", "ML", "IN", "PH",  "PS"};

constexpr int kLowestNumber = 1;
constexpr int kHighestNumber = 1999999;

QString UnescapeLanguageText(QString text) {
  text.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
  text.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
  text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace

QString LanguageCode(int id) {
  if (id < 0 || id >= kLanguageIdCount) return QStringLiteral("EN");
  return QString::fromLatin1(kLanguageCodes[id]);
}

LanguageMap ParseLanguageText(const QString& text, bool keepEmpty) {
  LanguageMap map;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) continue;
    const int number = LeadingInteger(line.left(equals).trimmed());
    if (number < kLowestNumber || number > kHighestNumber) continue;
    const QString value = UnescapeLanguageText(line.mid(equals + 1).trimmed());
    if (value.isEmpty() && !keepEmpty) continue;
    map[number] = value;
  }
  return map;
}

std::optional<int> CaptionStringNumber(const QString& caption) {
  if (caption.isEmpty()) return std::nullopt;
  bool ok = false;
  const int number = caption.toInt(&ok);
  if (!ok) return std::nullopt;
  if (caption == QString::number(number) ||
      caption == QStringLiteral("%1").arg(number, 5, 10, QLatin1Char('0'))) {
    return number;
  }
  return std::nullopt;
}

QString LoadLanguageResource(const QString& code) {
  static const bool registered = (RegisterLanguageResources(), true);
  Q_UNUSED(registered);
  QFile file(QStringLiteral(":/lang/%1.txt").arg(code));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

bool HasLanguageTexts(int id) {
  return id >= 0 && id < kLanguageIdCount && !LoadLanguageResource(LanguageCode(id)).isEmpty();
}

LanguageTable::LanguageTable(Loader loader) : loader_(std::move(loader)) {}

void LanguageTable::Reload() {
  if (!english_loaded_) {
    english_ = ParseLanguageText(loader_(QStringLiteral("EN")), false);
    english_loaded_ = true;
  }
  current_ = ParseLanguageText(loader_(LanguageCode(current_id_)), true);
  loaded_id_ = current_id_;
}

QString LanguageTable::GetString(int number) {
  if (current_id_ != loaded_id_) Reload();
  QString result;
  if (const auto found = current_.find(number); found != current_.end()) result = found->second;
  if (result.isEmpty()) {
    if (number != 0) {
      if (const auto found = english_.find(number); found != english_.end()) {
        result = found->second;
      }
    } else {
      result = Identity().productName;
    }
  }
  if (result.isEmpty()) result = QStringLiteral("String %1 is not in list").arg(number);
  result.replace(QStringLiteral("#AP#"), Identity().productName);
  return result;
}

LanguageTable& Languages() {
  static LanguageTable table;
  return table;
}

QString GetString(int number) { return Languages().GetString(number); }

void SetLanguage(int id) {
  Languages().SetCurrentLanguage(id);
  Settings().WriteInt(QStringLiteral("Start"), QStringLiteral("m_lang_id"), id);
}

void LoadLanguageSetting() {
  Languages().SetCurrentLanguage(
      Settings().ReadInt(QStringLiteral("Start"), QStringLiteral("m_lang_id"), kDefaultLanguageId));
}

}  // namespace dupliora
