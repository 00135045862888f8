// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "engine/image_record.h"

namespace dupliora {

// Records shared between the cache and the table are never written again, so
// one copy of each picture's record serves both.
using SharedRecord = std::shared_ptr<const ImageRecord>;

// The run's records by index 0, 1, 2, ... Each record lives on its own, so
// its address holds while the table grows; matches point into it until the
// next run clears the table.
class RecordTable {
 public:
  void Clear() { records_.clear(); }
  int Append(SharedRecord record) {
    records_.push_back(std::move(record));
    return static_cast<int>(records_.size()) - 1;
  }
  int size() const { return static_cast<int>(records_.size()); }
  const ImageRecord& operator[](int index) const { return *records_[index]; }

 private:
  std::vector<SharedRecord> records_;
};

}  // namespace dupliora
