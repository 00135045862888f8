// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/pair_bands.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace dupliora {

namespace {

constexpr std::int64_t kNegativeCentre = std::int64_t{255} * kSampleSize;

std::int64_t SumOfArray(const std::uint8_t* values) {
  return std::accumulate(values, values + kSampleSize, std::int64_t{0});
}

}  // namespace

PairBands::PairBands(const RecordTable& table, std::vector<int> columns, std::int64_t reach,
                     bool with_rotated, bool with_flipped)
    : columns_(std::move(columns)) {
  sums_.resize(table.size());
  std::int64_t spread = 0;
  for (int i = 0; i < table.size(); ++i) {
    const ImageRecord& record = table[i];
    sums_[i] = SumOfArray(record.gray);
    if (with_rotated) spread = std::max(spread, std::abs(SumOfArray(record.gray_rot) - sums_[i]));
    if (with_flipped) spread = std::max(spread, std::abs(SumOfArray(record.gray_flip) - sums_[i]));
  }
  // Both pictures of a pair may be off by the spread.
  reach_ = reach > 0 ? reach + 2 * spread : 0;
  std::stable_sort(columns_.begin(), columns_.end(),
                   [&](int a, int b) { return sums_[a] < sums_[b]; });
  column_sums_.reserve(columns_.size());
  for (int column : columns_) column_sums_.push_back(sums_[column]);
}

PairBands::Range PairBands::Around(std::int64_t centre) const {
  if (reach_ == 0) return {};
  const auto first =
      std::lower_bound(column_sums_.begin(), column_sums_.end(), centre - reach_ + 1);
  const auto last = std::upper_bound(first, column_sums_.end(), centre + reach_ - 1);
  return {static_cast<int>(first - column_sums_.begin()),
          static_cast<int>(last - column_sums_.begin())};
}

PairBands::Range PairBands::PlainRange(std::int64_t sum) const { return Around(sum); }

PairBands::Range PairBands::NegativeRange(std::int64_t sum) const {
  return Around(kNegativeCentre - sum);
}

bool PairBands::PlainInReach(std::int64_t sum, int position) const {
  return std::abs(sum - column_sums_[position]) < reach_;
}

bool PairBands::NegativeInReach(std::int64_t sum, int position) const {
  return std::abs(kNegativeCentre - sum - column_sums_[position]) < reach_;
}

}  // namespace dupliora
