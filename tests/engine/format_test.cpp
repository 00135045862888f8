// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/format.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace dupliora {
namespace {

class LocaleScope {
 public:
  explicit LocaleScope(QLocale::Language language, QLocale::Territory territory)
      : saved_(QLocale()) {
    QLocale::setDefault(QLocale(language, territory));
  }
  ~LocaleScope() { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

struct SizeCase {
  std::uint64_t bytes;
  const char* english;
  const char* german;
};

TEST(FormatFileSize, ThresholdsAreDecimalDivisorsBinary) {
  const SizeCase cases[] = {
      {0, "0 Byte", "0 Byte"},
      {999, "999 Byte", "999 Byte"},
      {1000, "1.0 KB", "1,0 KB"},
      {999999, "976.6 KB", "976,6 KB"},
      {1000000, "1.0 MB", "1,0 MB"},
      {999999999, "953.7 MB", "953,7 MB"},
      {1000000000, "0.9 GB", "0,9 GB"},
      {5000000000000ULL, "4,656.6 GB", "4.656,6 GB"},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.bytes);
    {
      LocaleScope english(QLocale::English, QLocale::UnitedStates);
      EXPECT_EQ(FormatFileSize(c.bytes).toStdString(), c.english);
    }
    {
      LocaleScope german(QLocale::German, QLocale::Germany);
      EXPECT_EQ(FormatFileSize(c.bytes).toStdString(), c.german);
    }
  }
}

TEST(FormatNumber, GroupsDigitsAndRoundsToDecimals) {
  LocaleScope english(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(FormatNumber(0, 0), "0");
  EXPECT_EQ(FormatNumber(999, 0), "999");
  EXPECT_EQ(FormatNumber(1000, 0), "1,000");
  EXPECT_EQ(FormatNumber(1234567.25, 1), "1,234,567.3");
  EXPECT_EQ(FormatNumber(-1234.5, 1), "-1,234.5");
  EXPECT_EQ(FormatNumber(0.25, 1), "0.3");
}

TEST(FormatNumber, GermanSeparators) {
  LocaleScope german(QLocale::German, QLocale::Germany);
  EXPECT_EQ(FormatNumber(1000000, 0), "1.000.000");
  EXPECT_EQ(FormatNumber(2.5, 1), "2,5");
}

}  // namespace
}  // namespace dupliora
