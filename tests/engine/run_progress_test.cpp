// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/run_progress.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "engine/folder_scan.h"
#include "engine/image_cache.h"
#include "run_test_support.h"

namespace dupliora {
namespace {

class RunTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }
  RunTexts texts_ = testing::NumberedTexts();
};

TEST_F(RunTextsTest, RemainingTime) {
  struct Case {
    double f;
    std::int64_t elapsed_ms;
    const char* expected;
  };
  const Case cases[] = {
      {0.5, 60000, "01:00"}, {0.25, 30000, "01:30"}, {1.0, 5000, "00:00"},
      {0.1, 1000, "00:09"},  {0.0, 1000, "--:--"},   {0.01, 3600000, "5940:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(RemainingTime(c.f, 1000, 1000 + c.elapsed_ms), QString::fromUtf8(c.expected));
  }
}

TEST_F(RunTextsTest, LoadTexts) {
  EXPECT_EQ(LoadProgressText(texts_, "00:12", 7, 1234, "/p/a.jpg"),
            "T300336: 00:12 / 00000007/00001234 /p/a.jpg");
  EXPECT_EQ(LoadSummaryText(texts_, 10, 2000000, 2000),
            "T300330:10  1.9 MB // 1.0 MB T300331 // 5.0  T300331 // T300334 2.0 sec");
  // Nothing timed yet, or too short to time (a cached rerun): no rates.
  EXPECT_EQ(LoadSummaryText(texts_, 0, 0, 0),
            "T300330:0  0 Byte // -- T300331 // --  T300331 // T300334 0.0 sec");
  EXPECT_EQ(LoadSummaryText(texts_, 220, 150000000000, 9),
            "T300330:220  139.7 GB // -- T300331 // --  T300331 // T300334 0.0 sec");
  EXPECT_EQ(LoadSummaryText(texts_, 10, 20000, 10),
            "T300330:10  19.5 KB // 1.9 MB T300331 // 1000.0  T300331 // T300334 0.0 sec");
}

TEST_F(RunTextsTest, CompareTexts) {
  EXPECT_EQ(CompareProgressText(texts_, 1500, 3000, "00:05", 0.5),
            "1,500 / 3,000 T300336: 00:05 // 50 %");
  EXPECT_EQ(CompareCountText(12, 3000), "12 / 3,000 ");
  EXPECT_EQ(CompareSummaryLabel(texts_, 3, 2.0, 4000, 1000),
            "T300337 3, T300334 2.000000 sec. // 2,000.0 T300331 // T300332: 1,000 / 25.00 %");
  EXPECT_EQ(CompareSummaryLabel(texts_, 0, 0.0, 0, 0),
            "T300337 0, T300334 0.000000 sec. // -- T300331 // T300332: 0 / 0.00 %");
  EXPECT_EQ(CompareSummaryLabel(texts_, 19, 0.001, 2278, 0),
            "T300337 19, T300334 0.001000 sec. // -- T300331 // T300332: 0 / 0.00 %");
  EXPECT_EQ(CompareSummaryStatus(texts_, 3, 4000, 61.5),
            "T300102: 3 / T300333: 4,000 / T300335: 01:01.500");
}

TEST_F(RunTextsTest, ScanAndCacheLines) {
  EXPECT_EQ(ScanProgressText(42, "/pics/"), "(00042) /pics/");
  EXPECT_EQ(CacheStatusLine(0), "Cache: 0 0 Byte");
  const QString thousand = CacheStatusLine(1000);
  EXPECT_TRUE(thousand.startsWith("Cache: 1000 ")) << thousand.toStdString();
  EXPECT_TRUE(thousand.endsWith(" MB")) << thousand.toStdString();
}

}  // namespace
}  // namespace dupliora
