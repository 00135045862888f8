// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>
#include <vector>

#include "engine/record_table.h"

namespace dupliora {

// Every array of a sample (plain, turned, upside down) holds the same values
// in another order, so a pass over two samples sums |a - b| to at least the
// difference of their sums, and against the negative (255 - a) to at least
// |4096 * 255 - sum a - sum b|. A pair whose sums lie too far apart for the
// threshold cannot match in any variant: the pair loop walks the partners of
// each row in order of their sums and visits only those within reach.
class PairBands {
 public:
  // A range of positions in the order of sums, [begin, end).
  struct Range {
    int begin = 0;
    int end = 0;
  };

  // `columns`: the record indices a row is paired with. `reach`: a pair
  // whose sums differ by `reach` or more never matches; 0 turns every pair
  // away. Arrays of one record whose sums differ (a damaged record) widen
  // the reach by the largest such difference, so no pair is lost.
  PairBands(const RecordTable& table, std::vector<int> columns, std::int64_t reach,
            bool with_rotated, bool with_flipped);

  int size() const { return static_cast<int>(columns_.size()); }
  // The record at `position` in the order of sums.
  int ColumnAt(int position) const { return columns_[position]; }
  const std::vector<int>& Columns() const { return columns_; }
  std::int64_t SumOf(int record) const { return sums_[record]; }

  // The partners within reach of a row with sample sum `sum`, and within
  // reach of its negative.
  Range PlainRange(std::int64_t sum) const;
  Range NegativeRange(std::int64_t sum) const;
  // Whether the column at `position` is within reach of a row with sum `sum`.
  bool PlainInReach(std::int64_t sum, int position) const;
  bool NegativeInReach(std::int64_t sum, int position) const;

 private:
  Range Around(std::int64_t centre) const;

  std::vector<std::int64_t> sums_;         // by record index
  std::vector<int> columns_;               // ordered by sum
  std::vector<std::int64_t> column_sums_;  // the sums in that order
  std::int64_t reach_ = 0;
};

}  // namespace dupliora
