// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Row order of the result list. Header-only so the sort benchmark, which links
// only the engine, measures the very code the list runs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <span>
#include <vector>

#include "engine/image_record.h"

namespace dupliora {

// One row of the result list: the pair it owns and the marks of its pictures.
struct ResultRow {
  MatchResult match;
  bool first_marked = false;
  bool second_marked = false;
};

// Paths compared unit by unit with only A to Z folded, like the list always did.
inline int ComparePathsFoldingAscii(const char16_t* a, const char16_t* b) {
  auto fold = [](char16_t c) -> int { return (c >= u'A' && c <= u'Z') ? c + 32 : c; };
  for (;; ++a, ++b) {
    const int ca = fold(*a);
    const int cb = fold(*b);
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
}

// The numeric key of a column; columns 8 to 10 are negated so that rotated,
// flipped and negative pairs come first when ascending.
inline std::int64_t ResultSortKey(const MatchResult& m, int column) {
  switch (column) {
    case 2:
      return m.similarity;
    case 3:
      return m.ratio;
    case 4:
      return m.first->width;
    case 5:
      return m.second->width;
    case 6:
      return m.first->brightness;
    case 7:
      return m.second->brightness;
    case 8:
      return -static_cast<std::int64_t>(m.rotation);
    case 9:
      return -static_cast<std::int64_t>(m.flip);
    case 10:
      return -static_cast<std::int64_t>(m.negative);
    default:
      return 0;
  }
}

inline bool HasBothRecords(const MatchResult& m) { return m.first && m.second; }

// Negative, zero or positive for the path columns; for the others 1 when the
// first row goes after the second, else 0. Rows lacking a record go first, so
// the order stays consistent.
inline int CompareRows(const MatchResult& first, const MatchResult& second, int column,
                       bool descending) {
  const MatchResult& a = descending ? second : first;
  const MatchResult& b = descending ? first : second;
  if (!HasBothRecords(a) || !HasBothRecords(b)) {
    return static_cast<int>(HasBothRecords(a)) - static_cast<int>(HasBothRecords(b));
  }
  if (column == 0) return ComparePathsFoldingAscii(a.first->path, b.first->path);
  if (column == 1) return ComparePathsFoldingAscii(a.second->path, b.second->path);
  if (column >= 11 && column <= 12) {
    const ImageRecord& ra = column == 11 ? *a.first : *a.second;
    const ImageRecord& rb = column == 11 ? *b.first : *b.second;
    return ra.file_size > rb.file_size ? 1 : 0;
  }
  return ResultSortKey(a, column) > ResultSortKey(b, column) ? 1 : 0;
}

// The new order of the rows: element i is the old index of the row that goes
// to position i. Stable, so equal keys keep their order.
inline std::vector<int> SortedRowOrder(std::span<const ResultRow> rows, int column,
                                       bool descending) {
  std::vector<int> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
    return CompareRows(rows[right].match, rows[left].match, column, descending) > 0;
  });
  return order;
}

}  // namespace dupliora
