// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/sample.h"

#include <array>
#include <span>

#include "imaging/bitmap_ops.h"

namespace dupliora {

namespace {

constexpr std::size_t kBitmapBytes = kSampleSize * 4;

}  // namespace

void FillTurnedCopies(ImageRecord& record) {
  for (int y = 0; y < kSampleSide; ++y) {
    for (int x = 0; x < kSampleSide; ++x) {
      const std::uint8_t g = record.gray[y * kSampleSide + x];
      record.gray_rot[x * kSampleSide + (kSampleSide - 1 - y)] = g;
      record.gray_flip[(kSampleSide - 1 - y) * kSampleSide + x] = g;
    }
  }
}

std::uint8_t GreyValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const float grey = static_cast<float>(red) * 0.3f + static_cast<float>(green) * 0.59f +
                     static_cast<float>(blue) * 0.11f;
  return static_cast<std::uint8_t>(static_cast<int>(grey));
}

std::uint8_t FoldAlpha(std::uint8_t grey, std::uint8_t alpha) {
  return static_cast<std::uint8_t>(grey - alpha - 1);
}

bool HasMinimumArea(std::uint32_t width, std::uint32_t height) {
  return std::uint64_t{width} * std::uint64_t{height} >=
         static_cast<std::uint64_t>(kMinPictureArea);
}

bool MakeSample(const QImage& bitmap64, ImageRecord& record) {
  // A larger bitmap would also yield 16384 bytes, of its top rows only.
  if (bitmap64.width() != kSampleSide || bitmap64.height() != kSampleSide) return false;
  std::array<std::uint8_t, kBitmapBytes> bits;
  if (ReadBitmapBits(bitmap64, bits) != kBitmapBytes) return false;
  std::int32_t sum = 0;
  for (int k = 0; k < kSampleSize; ++k) {
    const std::uint8_t* pixel = bits.data() + k * 4;  // B, G, R, A
    std::uint8_t g = GreyValue(pixel[2], pixel[1], pixel[0]);
    if (record.alpha == 1) g = FoldAlpha(g, pixel[3]);
    record.gray[k] = g;
    sum += g;
  }
  FillTurnedCopies(record);
  record.aspect = static_cast<float>(record.width) / static_cast<float>(record.height);
  record.brightness = sum == 0 ? 0 : ((sum / kSampleSize) * 100) / 256;
  return true;
}

}  // namespace dupliora
