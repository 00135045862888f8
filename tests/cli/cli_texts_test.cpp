// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <algorithm>

#include "core/language_table.h"
#include "core/text_numbers.h"
#include "engine/run_progress.h"

namespace dupliora {
namespace {

// The run asks for its texts by number; the window and the command-line tool
// fill them from the language table. A number missing on either side would
// show up as "String %d is not in list" in the middle of a progress line.
TEST(RunTexts, EveryNumberTheRunNeedsHasAnEnglishText) {
  const std::vector<int>& needed = RunTextNumbers();
  ASSERT_FALSE(needed.empty());
  for (int number : needed) {
    SCOPED_TRACE(number);
    EXPECT_TRUE(std::find(text::kRunTexts.begin(), text::kRunTexts.end(), number) !=
                text::kRunTexts.end());
    const QString english = GetString(number);
    EXPECT_FALSE(english.isEmpty());
    EXPECT_FALSE(english.contains(QStringLiteral("not in list")));
  }
}

}  // namespace
}  // namespace dupliora
