// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/similarity_kernels.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace dupliora::simd {

#if defined(__x86_64__)

namespace {

// SSE2 is part of every x86-64 processor: no target attribute needed.
template <bool kNegative>
inline __m128i LoadP(const std::uint8_t* p) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return kNegative ? _mm_xor_si128(a, _mm_set1_epi8(-1)) : a;  // 255 - a
}

// Byte reversal without SSSE3's pshufb: dwords, then words, then bytes.
inline __m128i Reverse(__m128i x) {
  x = _mm_shuffle_epi32(x, _MM_SHUFFLE(0, 1, 2, 3));
  x = _mm_shufflelo_epi16(x, _MM_SHUFFLE(2, 3, 0, 1));
  x = _mm_shufflehi_epi16(x, _MM_SHUFFLE(2, 3, 0, 1));
  return _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8));
}

// The 16 partners of p[j..j+15].
template <bool kBackward>
inline __m128i LoadQ(const std::uint8_t* q, int j) {
  if constexpr (kBackward) {
    return Reverse(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q - j - 15)));
  } else {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + j));
  }
}

template <bool kNegative, bool kBackward>
std::uint32_t Sad(const std::uint8_t* p, const std::uint8_t* q, int count) {
  // Two accumulators hide psadbw's latency; each 64-bit lane stays far below 2^32.
  __m128i acc0 = _mm_setzero_si128();
  __m128i acc1 = _mm_setzero_si128();
  for (int j = 0; j < count; j += 32) {
    acc0 = _mm_add_epi32(acc0, _mm_sad_epu8(LoadP<kNegative>(p + j), LoadQ<kBackward>(q, j)));
    acc1 = _mm_add_epi32(acc1,
                         _mm_sad_epu8(LoadP<kNegative>(p + j + 16), LoadQ<kBackward>(q, j + 16)));
  }
  const __m128i acc = _mm_add_epi32(acc0, acc1);
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(acc) +
                                    _mm_cvtsi128_si32(_mm_srli_si128(acc, 8)));
}

constexpr SadKernels kSse2{
    {{&Sad<false, false>, &Sad<true, false>}, {&Sad<false, true>, &Sad<true, true>}},
    nullptr,
    &Sse2HeadSad};

}  // namespace

static_assert(kHeadBlocks % 32 == 0);

std::uint32_t Sse2HeadSad(const std::uint8_t* a, const std::uint8_t* b, bool negative) {
  return negative ? Sad<true, false>(a, b, kHeadBlocks) : Sad<false, false>(a, b, kHeadBlocks);
}

const SadKernels* Sse2Kernels() { return &kSse2; }

#else

const SadKernels* Sse2Kernels() { return nullptr; }

#endif

}  // namespace dupliora::simd
