// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/head_means.h"
#include "engine/record_table.h"
#include "engine/similarity.h"

namespace dupliora {

// A compact, aligned copy of the samples the pair loop reads, one plane per
// orientation with the records back to back in the order the loop walks
// them. Records in the table sit 14 KB apart behind their paths; here a
// 64-record block of one plane is 256 KB and stays in cache while it is
// paired with the next block.
class SampleStore {
 public:
  // `layout`: every record index of the table once, in the order to store them.
  SampleStore(const RecordTable& table, const std::vector<int>& layout, bool with_rotated,
              bool with_flipped);

  // By record index.
  int PositionOf(int index) const { return position_[index]; }
  SampleSet Samples(int index) const { return SamplesAt(position_[index]); }
  std::int32_t brightness(int index) const { return brightness_[position_[index]]; }
  float aspect(int index) const { return aspect_[position_[index]]; }

  // By position in the layout.
  SampleSet SamplesAt(int position) const;
  // The block means where the variant passes start (MakeHeadMeans).
  const std::uint8_t* HeadsAt(int position) const {
    return heads_.data() + static_cast<std::size_t>(position) * kHeadBytes;
  }
  std::int32_t BrightnessAt(int position) const { return brightness_[position]; }
  float AspectAt(int position) const { return aspect_[position]; }

  int size() const { return static_cast<int>(brightness_.size()); }

 private:
  struct FreeAligned {
    void operator()(std::uint8_t* p) const;
  };
  using Plane = std::unique_ptr<std::uint8_t[], FreeAligned>;

  static Plane MakePlane(int count);

  Plane gray_;
  Plane gray_rot_;
  Plane gray_flip_;
  std::vector<std::uint8_t> heads_;
  std::vector<int> position_;  // by record index
  std::vector<std::int32_t> brightness_;
  std::vector<float> aspect_;
};

}  // namespace dupliora
