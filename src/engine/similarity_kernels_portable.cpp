// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <cstdint>
#include <cstdlib>

#include "engine/similarity_kernels.h"

namespace dupliora::simd {

namespace {

// No test inside the loop, so a compiler may vectorise it for the target.
template <bool kNegative, int kStep>
std::uint32_t Sad(const std::uint8_t* p, const std::uint8_t* q, int count) {
  std::uint32_t sum = 0;
  for (int j = 0; j < count; ++j) {
    const int a = kNegative ? 255 - p[j] : p[j];
    sum += static_cast<std::uint32_t>(std::abs(a - q[kStep * j]));
  }
  return sum;
}

constexpr SadKernels kPortable{{{&Sad<false, 1>, &Sad<true, 1>}, {&Sad<false, -1>, &Sad<true, -1>}},
                               nullptr,
                               &PortableHeadSad};

}  // namespace

std::uint32_t PortableHeadSad(const std::uint8_t* a, const std::uint8_t* b, bool negative) {
  return negative ? Sad<true, 1>(a, b, kHeadBlocks) : Sad<false, 1>(a, b, kHeadBlocks);
}

const SadKernels& PortableKernels() { return kPortable; }

}  // namespace dupliora::simd
