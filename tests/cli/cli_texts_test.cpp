// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <algorithm>

#include "core/text_numbers.h"
#include "engine/run_progress.h"

namespace dupliora {
namespace {

// The run asks for its texts by number; the command-line tool fills them from
// the run's list, the window from the whole table (whose texts are checked in
// language_texts_test). A number missing from the list would show up as
// "String %d is not in list" in the middle of a progress line.
TEST(RunTexts, EveryNumberTheRunNeedsIsInTheRunsList) {
  const std::vector<int>& needed = RunTextNumbers();
  ASSERT_FALSE(needed.empty());
  for (int number : needed) {
    EXPECT_TRUE(std::find(text::kRunTexts.begin(), text::kRunTexts.end(), number) !=
                text::kRunTexts.end())
        << number;
  }
}

}  // namespace
}  // namespace dupliora
