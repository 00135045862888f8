// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>
#include <vector>

namespace dupliora {

// How many partners of each row the two brightness filters turn away, counted
// from the brightness values alone, so the pair loop never has to visit a
// pair only to count it.
struct BrightnessSkips {
  // |a - b| > tolerance: the plain comparison is skipped.
  std::vector<std::int32_t> plain;
  // a + b - 100 > tolerance: the negative comparison is skipped, whenever it
  // is reached (a pair whose plain comparison matched never reaches it).
  std::vector<std::int32_t> negative;
};

// One list: the partners of row i are the records after it. Each value of
// `brightness` is one record's, in table order.
BrightnessSkips CountSkipsWithinList(const std::vector<std::int32_t>& brightness, int tolerance);

// Two lists: rows [0, first_count) each against all records from first_count on.
BrightnessSkips CountSkipsAcrossLists(const std::vector<std::int32_t>& brightness, int first_count,
                                      int tolerance);

}  // namespace dupliora
