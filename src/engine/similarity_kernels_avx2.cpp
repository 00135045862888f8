// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/image_record.h"
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
  return kNegative ? _mm256_xor_si256(a, _mm256_set1_epi8(-1)) : a;  // 255 - a
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

// Four accumulators of 64-bit lane sums (each below 2^32) folded into the
// four 32-bit totals, in order.
DUPLIORA_AVX2 inline __m128i FoldFour(__m256i a, __m256i b, __m256i c, __m256i d) {
  const __m256i ab = _mm256_or_si256(a, _mm256_slli_epi64(b, 32));
  const __m256i cd = _mm256_or_si256(c, _mm256_slli_epi64(d, 32));
  const __m256i halves =
      _mm256_add_epi32(_mm256_unpacklo_epi64(ab, cd), _mm256_unpackhi_epi64(ab, cd));
  return _mm_add_epi32(_mm256_castsi256_si128(halves), _mm256_extracti128_si256(halves, 1));
}

template <bool kNegative>
DUPLIORA_AVX2 void VariantPrefix(const VariantArrays& arrays, int begin, int end,
                                 std::uint32_t* sums) {
  // Backward partners of p[0..] start at the last value.
  const std::uint8_t* gray_end = arrays.b_gray + (kSampleSize - 1);
  const std::uint8_t* rot_end = arrays.b_rot + (kSampleSize - 1);
  const std::uint8_t* flip_end = arrays.b_flip + (kSampleSize - 1);
  __m256i acc[8];
  for (__m256i& a : acc) a = _mm256_setzero_si256();
  for (int j = begin; j < end; j += 32) {
    const __m256i gray = LoadP<kNegative>(arrays.a_gray + j);
    const __m256i rot = LoadP<kNegative>(arrays.a_rot + j);
    const __m256i flip_forward = LoadQ<false>(arrays.b_flip, j);
    const __m256i flip_backward = LoadQ<true>(flip_end, j);
    acc[0] = _mm256_add_epi64(acc[0], _mm256_sad_epu8(gray, LoadQ<false>(arrays.b_gray, j)));
    acc[1] = _mm256_add_epi64(acc[1], _mm256_sad_epu8(gray, LoadQ<true>(gray_end, j)));
    acc[2] = _mm256_add_epi64(acc[2], _mm256_sad_epu8(gray, LoadQ<false>(arrays.b_rot, j)));
    acc[3] = _mm256_add_epi64(acc[3], _mm256_sad_epu8(gray, LoadQ<true>(rot_end, j)));
    acc[4] = _mm256_add_epi64(acc[4], _mm256_sad_epu8(gray, flip_forward));
    acc[5] = _mm256_add_epi64(acc[5], _mm256_sad_epu8(gray, flip_backward));
    acc[6] = _mm256_add_epi64(acc[6], _mm256_sad_epu8(rot, flip_forward));
    acc[7] = _mm256_add_epi64(acc[7], _mm256_sad_epu8(rot, flip_backward));
  }
  __m128i* const low = reinterpret_cast<__m128i*>(sums);
  __m128i* const high = reinterpret_cast<__m128i*>(sums + 4);
  _mm_storeu_si128(low,
                   _mm_add_epi32(_mm_loadu_si128(low), FoldFour(acc[0], acc[1], acc[2], acc[3])));
  _mm_storeu_si128(high,
                   _mm_add_epi32(_mm_loadu_si128(high), FoldFour(acc[4], acc[5], acc[6], acc[7])));
}

constexpr SadKernels kAvx2{
    {{&Sad<false, false>, &Sad<true, false>}, {&Sad<false, true>, &Sad<true, true>}},
    &Avx2VariantPrefix,
    &Sse2HeadSad};

}  // namespace

DUPLIORA_AVX2 void Avx2VariantPrefix(const VariantArrays& arrays, bool negative, int begin, int end,
                                     std::uint32_t* sums) {
  if (negative) {
    VariantPrefix<true>(arrays, begin, end, sums);
  } else {
    VariantPrefix<false>(arrays, begin, end, sums);
  }
}

#undef DUPLIORA_AVX2

const SadKernels* Avx2Kernels() { return &kAvx2; }

#else

const SadKernels* Avx2Kernels() { return nullptr; }

#endif

}  // namespace dupliora::simd
