// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <functional>
#include <string>
#include <utility>

namespace dupliora {
namespace {

using Texts = std::pair<std::string, std::string>;

// The text `format` gives under English (US) and German number rules.
Texts EnglishAndGerman(const std::function<QString()>& format) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const QString english = format();
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString german = format();
  QLocale::setDefault(saved);
  return {english.toStdString(), german.toStdString()};
}

TEST(FormatFileSize, ThresholdsAreDecimalDivisorsBinary) {
  const std::pair<std::uint64_t, Texts> cases[] = {
      {0, {"0 Byte", "0 Byte"}},          {999, {"999 Byte", "999 Byte"}},
      {1000, {"1.0 KB", "1,0 KB"}},       {999999, {"976.6 KB", "976,6 KB"}},
      {1000000, {"1.0 MB", "1,0 MB"}},    {999999999, {"953.7 MB", "953,7 MB"}},
      {1000000000, {"0.9 GB", "0,9 GB"}}, {5000000000000ULL, {"4,656.6 GB", "4.656,6 GB"}},
  };
  for (const auto& [bytes, texts] : cases) {
    SCOPED_TRACE(bytes);
    EXPECT_EQ(EnglishAndGerman([&] { return FormatFileSize(bytes); }), texts);
  }
}

TEST(FormatNumber, GroupsDigitsAndRoundsToDecimals) {
  struct Case {
    double value;
    int decimals;
    Texts texts;
  } const cases[] = {
      {0, 0, {"0", "0"}},
      {999, 0, {"999", "999"}},
      {1000000, 0, {"1,000,000", "1.000.000"}},
      {1234567.25, 1, {"1,234,567.3", "1.234.567,3"}},
      {-1234.5, 1, {"-1,234.5", "-1.234,5"}},
      {0.25, 1, {"0.3", "0,3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(EnglishAndGerman([&] { return FormatNumber(c.value, c.decimals); }), c.texts);
  }
}

}  // namespace
}  // namespace dupliora
