// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>

namespace dupliora {

// A coarse summary of where the variant passes of a sample start: the means
// of the 4 x 4 blocks of the first 16 rows (the 1024 values a pass sums before
// its early exit) of each array a pass reads, rounded. Six parts of
// kHeadBlocks bytes: gray, gray backward, gray_rot, gray_rot backward,
// gray_flip, gray_flip backward; a backward part holds the blocks of the last
// 16 rows, last block first, as a backward pass meets them. A block of 16
// values a apart from 16 values b sums |a - b| to at least |sum a - sum b|,
// so 16 (|mean a - mean b| - 1) per block bounds a pass from below.
inline constexpr int kHeadBlocks = 64;
inline constexpr int kHeadBytes = 6 * kHeadBlocks;

// Offsets of the parts in a summary.
enum HeadPart : int {
  kHeadGray = 0,
  kHeadGrayBackward = kHeadBlocks,
  kHeadRot = 2 * kHeadBlocks,
  kHeadRotBackward = 3 * kHeadBlocks,
  kHeadFlip = 4 * kHeadBlocks,
  kHeadFlipBackward = 5 * kHeadBlocks,
};

// Fills `heads` (kHeadBytes) from a sample's arrays; a missing array (nullptr)
// leaves its parts zero.
void MakeHeadMeans(const std::uint8_t* gray, const std::uint8_t* gray_rot,
                   const std::uint8_t* gray_flip, std::uint8_t* heads);

}  // namespace dupliora
