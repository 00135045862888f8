// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/similarity_kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace dupliora::simd {

#if defined(__x86_64__)

namespace {

// Every function here carries the target attribute, so the file builds with
// the project's baseline flags and runs only after the processor check.
#define DUPLIORA_AVX2 __attribute__((target("avx2")))

template <bool kNegative>
DUPLIORA_AVX2 inline __m256i LoadP(const std::uint8_t* p) {
  const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  return kNegative ? _mm256_sub_epi8(_mm256_setzero_si256(), a) : a;
}

// The 32 partners of p[j..j+31]. Backward: the two 16-byte halves are loaded
// into swapped lanes, so one in-lane pshufb finishes the reversal (cheaper
// than a cross-lane permute).
template <bool kBackward>
DUPLIORA_AVX2 inline __m256i LoadQ(const std::uint8_t* q, int j) {
  if constexpr (kBackward) {
    const __m256i reverse_lane =
        _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,  //
                         15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q - j - 15));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q - j - 31));
    return _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1),
                               reverse_lane);
  } else {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + j));
  }
}

template <bool kNegative, bool kBackward>
DUPLIORA_AVX2 std::uint32_t Sad(const std::uint8_t* p, const std::uint8_t* q, int count) {
  __m256i acc0 = _mm256_setzero_si256();
  __m256i acc1 = _mm256_setzero_si256();
  for (int j = 0; j < count; j += 64) {
    acc0 = _mm256_add_epi32(acc0, _mm256_sad_epu8(LoadP<kNegative>(p + j), LoadQ<kBackward>(q, j)));
    acc1 = _mm256_add_epi32(
        acc1, _mm256_sad_epu8(LoadP<kNegative>(p + j + 32), LoadQ<kBackward>(q, j + 32)));
  }
  const __m256i acc = _mm256_add_epi32(acc0, acc1);
  __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
  sum = _mm_add_epi32(sum, _mm_srli_si128(sum, 8));
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(sum));
}

#undef DUPLIORA_AVX2

constexpr SadKernels kAvx2{
    {{&Sad<false, false>, &Sad<true, false>}, {&Sad<false, true>, &Sad<true, true>}}};

}  // namespace

const SadKernels* Avx2Kernels() { return &kAvx2; }

#else

const SadKernels* Avx2Kernels() { return nullptr; }

#endif

}  // namespace dupliora::simd
