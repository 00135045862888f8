// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/head_means.h"

#include <algorithm>

#include "engine/image_record.h"

namespace dupliora {

namespace {

constexpr int kBlockSide = 4;
constexpr int kBlocksPerRow = kSampleSide / kBlockSide;

// Rounded, so that a block's sum lies within -8..7 of 16 times its mean.
std::uint8_t BlockMean(const std::uint8_t* values, int block_row, int block_column) {
  int sum = 0;
  for (int y = 0; y < kBlockSide; ++y) {
    const std::uint8_t* row = values + (block_row * kBlockSide + y) * kSampleSide;
    for (int x = 0; x < kBlockSide; ++x) sum += row[block_column * kBlockSide + x];
  }
  return static_cast<std::uint8_t>((sum + 8) >> 4);
}

void MakeParts(const std::uint8_t* values, std::uint8_t* forward, std::uint8_t* backward) {
  if (values == nullptr) return;
  constexpr int kLastBlock = kBlocksPerRow - 1;
  for (int k = 0; k < kHeadBlocks; ++k) {
    const int block_row = k / kBlocksPerRow;
    const int block_column = k % kBlocksPerRow;
    forward[k] = BlockMean(values, block_row, block_column);
    backward[k] = BlockMean(values, kLastBlock - block_row, kLastBlock - block_column);
  }
}

}  // namespace

void MakeHeadMeans(const std::uint8_t* gray, const std::uint8_t* gray_rot,
                   const std::uint8_t* gray_flip, std::uint8_t* heads) {
  std::fill_n(heads, kHeadBytes, 0);
  MakeParts(gray, heads + kHeadGray, heads + kHeadGrayBackward);
  MakeParts(gray_rot, heads + kHeadRot, heads + kHeadRotBackward);
  MakeParts(gray_flip, heads + kHeadFlip, heads + kHeadFlipBackward);
}

}  // namespace dupliora
