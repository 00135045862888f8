// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include "compare_window/result_list/result_columns.h"
#include "result_test_records.h"

namespace dupliora {
namespace {

using testing::LocaleScope;
using testing::Pair;
using testing::RecordSpec;
using testing::RecordStore;

QString NumberedText(int number) { return QStringLiteral("#%1").arg(number); }

class ResultCellsTest : public ::testing::Test {
 protected:
  LocaleScope english_{QLocale(QLocale::English, QLocale::UnitedStates)};
  RecordStore store_;
  const ImageRecord* a_ = store_.Add(RecordSpec{"/pics/a.jpg", 640, 480, 42, 999999, 2, 1234});
  const ImageRecord* b_ = store_.Add(RecordSpec{"/pics/sub/b.png", 800, 600, 7, 1000000, 3, 0});
};

TEST_F(ResultCellsTest, EveryColumnOfOnePair) {
  const MatchResult match = Pair(a_, b_, 93, 87, 90, 2, 1);
  const char* expected[] = {
      "/pics/a.jpg", "/pics/sub/b.png", "93 %",     "87.00 %", "640 x 480", "800 x 600", "42 %",
      "7 %",         "90 \u00B0",       "Mirrored", "Yes",     "976.6 KB",  "1.0 MB",    "2",
      "3",           "1234 / 0",        ""};
  for (int column = 0; column < 17; ++column) {
    SCOPED_TRACE(column);
    EXPECT_EQ(FormatResultCell(&match, column, DefaultResultText).toStdString(), expected[column]);
  }
}

TEST_F(ResultCellsTest, YesNoAndFlipTextsComeFromTheLookup) {
  const struct {
    int flip;
    int negative;
    const char* flip_text;
    const char* negative_text;
  } cases[] = {{0, 0, "#300202", "#300202"},
               {1, 1, "#300204", "#300201"},
               {2, 0, "#300203", "#300202"},
               {7, -3, "#300202", "#300201"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flip);
    const MatchResult match = Pair(a_, b_, 90, 100, 0, c.flip, c.negative);
    EXPECT_EQ(FormatResultCell(&match, 9, NumberedText).toStdString(), c.flip_text);
    EXPECT_EQ(FormatResultCell(&match, 10, NumberedText).toStdString(), c.negative_text);
  }
}

TEST_F(ResultCellsTest, MissingResultOrRecordGivesEmptyCells) {
  const MatchResult lacks_second = Pair(a_, nullptr, 90);
  const MatchResult lacks_first = Pair(nullptr, b_, 90);
  for (int column = 0; column < 16; ++column) {
    SCOPED_TRACE(column);
    EXPECT_TRUE(FormatResultCell(nullptr, column, DefaultResultText).isEmpty());
    EXPECT_TRUE(FormatResultCell(&lacks_second, column, DefaultResultText).isEmpty());
    EXPECT_TRUE(FormatResultCell(&lacks_first, column, DefaultResultText).isEmpty());
  }
}

TEST_F(ResultCellsTest, LongTextsAreCutButPathsNever) {
  const QString long_path = "/" + QString(600, u'p') + ".jpg";
  const ImageRecord* deep = store_.Add(long_path);
  const MatchResult match = Pair(deep, b_, 90, 100, 0, 1);
  const auto verbose = [](int) { return QString(100, u'x'); };
  EXPECT_EQ(FormatResultCell(&match, 0, verbose), long_path);
  EXPECT_EQ(FormatResultCell(&match, 9, verbose).size(), 63);
}

TEST_F(ResultCellsTest, RatioFollowsTheUserLocale) {
  LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
  const MatchResult match = Pair(a_, b_, 93, 87);
  EXPECT_EQ(FormatResultCell(&match, 3, DefaultResultText), "87,00 %");
  EXPECT_EQ(FormatResultCell(&match, 11, DefaultResultText), "976,6 KB");
}

}  // namespace
}  // namespace dupliora
