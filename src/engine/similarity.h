// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>

#include "engine/image_record.h"

namespace dupliora {

struct CompareOptions {
  int similarity = 90;
  bool search_rotated = false;
  bool search_flipped = false;
};

struct SampleSet {
  const std::uint8_t* gray = nullptr;
  const std::uint8_t* gray_rot = nullptr;
  const std::uint8_t* gray_flip = nullptr;
  const std::uint8_t* gray_rev = nullptr;
  const std::uint8_t* gray_rot_rev = nullptr;
  const std::uint8_t* gray_flip_rev = nullptr;
};

SampleSet SamplesOf(const ImageRecord& record);

double CompareSamples(const CompareOptions& options, const SampleSet& a, const SampleSet& b,
                      MatchVariant& variant, bool negative);

double CompareRecords(const CompareOptions& options, const ImageRecord& a, const ImageRecord& b,
                      MatchVariant& variant, bool negative);

}  // namespace dupliora
