// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_texts.h"

#include <gtest/gtest.h>

#include "compare_window/result_list/result_test_records.h"

namespace dupliora {
namespace {

TEST(PreviewCaptionTest, MarksAtBothEnds) {
  const testing::LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
  const QString check = QString(QChar(0x2714)) + u' ';
  const struct {
    const char* label;
    bool marked;
    std::uint32_t width, height;
    std::uint64_t bytes;
    QString expected;
  } cases[] = {
      {"unmarked", false, 800, 600, 1258291, " 800 x 600 1.2 MB "},
      {"bytes", false, 128, 128, 999, " 128 x 128 999 Byte "},
      {"huge", true, 100000, 3, 2147483648u, check + " 100000 x 3 2.0 GB " + check},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(PreviewCaption(c.marked, c.width, c.height, c.bytes), c.expected);
  }
}

TEST(RatioBoxTextTest, ThreeLinesWithFlip) {
  const struct {
    int similarity, rotation, flip;
    bool negative;
    const char* expected;
  } cases[] = {
      {97, 90, 1, false, "97 %\n 90 \u00b0\nHF"},   {100, 0, 2, false, "100 %\n 0 \u00b0\nVF"},
      {40, 270, 0, false, "40 %\n 270 \u00b0\n=="}, {85, 180, 7, false, "85 %\n 180 \u00b0\n=="},
      {90, 0, 1, true, "90 %\n 0 \u00b0\nHF\nNEG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(RatioBoxText(c.similarity, c.rotation, c.flip, c.negative),
              QString::fromUtf8(c.expected));
  }
}

}  // namespace
}  // namespace dupliora
