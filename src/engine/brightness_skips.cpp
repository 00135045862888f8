// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/brightness_skips.h"

#include <algorithm>

namespace dupliora {

namespace {

// Counts of the brightness values seen so far, by value. Values are mapped to
// their rank among the distinct values of the table: a record store may hold
// any 32-bit value, not only 0..99.
class ValueCounts {
 public:
  explicit ValueCounts(const std::vector<std::int32_t>& all) : values_(all) {
    std::sort(values_.begin(), values_.end());
    values_.erase(std::unique(values_.begin(), values_.end()), values_.end());
    tree_.assign(values_.size() + 1, 0);
  }

  void Add(std::int32_t value) {
    const auto rank = std::lower_bound(values_.begin(), values_.end(), value) - values_.begin();
    for (auto k = rank + 1; k < static_cast<std::ptrdiff_t>(tree_.size()); k += k & -k) ++tree_[k];
    ++count_;
  }

  // Values seen that are below `limit`, and that are above it.
  std::int32_t Below(std::int64_t limit) const {
    return CountFirst(std::lower_bound(values_.begin(), values_.end(), limit) - values_.begin());
  }
  std::int32_t Above(std::int64_t limit) const {
    return count_ -
           CountFirst(std::upper_bound(values_.begin(), values_.end(), limit) - values_.begin());
  }

 private:
  // Values seen among the `ranks` smallest distinct values (a Fenwick tree).
  std::int32_t CountFirst(std::ptrdiff_t ranks) const {
    std::int32_t sum = 0;
    for (auto k = ranks; k > 0; k -= k & -k) sum += tree_[k];
    return sum;
  }

  std::vector<std::int32_t> values_;
  std::vector<std::int32_t> tree_;
  std::int32_t count_ = 0;
};

void CountRow(const ValueCounts& partners, std::int32_t value, int tolerance, int row,
              BrightnessSkips& skips) {
  const std::int64_t a = value;
  skips.plain[row] = partners.Below(a - tolerance) + partners.Above(a + tolerance);
  skips.negative[row] = partners.Above(100 + tolerance - a);
}

}  // namespace

BrightnessSkips CountSkipsWithinList(const std::vector<std::int32_t>& brightness, int tolerance) {
  const int n = static_cast<int>(brightness.size());
  BrightnessSkips skips{std::vector<std::int32_t>(n), std::vector<std::int32_t>(n)};
  ValueCounts after(brightness);
  for (int i = n - 1; i >= 0; --i) {
    CountRow(after, brightness[i], tolerance, i, skips);
    after.Add(brightness[i]);
  }
  return skips;
}

BrightnessSkips CountSkipsAcrossLists(const std::vector<std::int32_t>& brightness, int first_count,
                                      int tolerance) {
  BrightnessSkips skips{std::vector<std::int32_t>(first_count),
                        std::vector<std::int32_t>(first_count)};
  ValueCounts second(brightness);
  for (std::size_t j = first_count; j < brightness.size(); ++j) second.Add(brightness[j]);
  for (int i = 0; i < first_count; ++i) CountRow(second, brightness[i], tolerance, i, skips);
  return skips;
}

}  // namespace dupliora
