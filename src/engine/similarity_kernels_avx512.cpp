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
#define DUPLIORA_AVX512 __attribute__((target("avx512f,avx512bw")))

template <bool kNegative>
DUPLIORA_AVX512 inline __m512i LoadP(const std::uint8_t* p) {
  const __m512i a = _mm512_loadu_si512(p);
  return kNegative ? _mm512_ternarylogic_epi32(a, a, a, 0x55) : a;  // 255 - a
}

// The 64 partners of p[j..j+63]: bytes reversed in each 16-byte lane, then
// the four lanes in reverse order.
template <bool kBackward>
DUPLIORA_AVX512 inline __m512i LoadQ(const std::uint8_t* q, int j) {
  if constexpr (kBackward) {
    // Byte indices 15..0 in each lane. The all-ones masks keep GCC 12 from
    // warning about the undefined source of the unmasked intrinsics.
    const __m512i reverse_lane = _mm512_set4_epi32(0x00010203, 0x04050607, 0x08090A0B, 0x0C0D0E0F);
    const __m512i x = _mm512_shuffle_epi8(_mm512_loadu_si512(q - j - 63), reverse_lane);
    return _mm512_maskz_shuffle_i64x2(0xFF, x, x, _MM_SHUFFLE(0, 1, 2, 3));
  } else {
    return _mm512_loadu_si512(q + j);
  }
}

template <bool kNegative, bool kBackward>
DUPLIORA_AVX512 std::uint32_t Sad(const std::uint8_t* p, const std::uint8_t* q, int count) {
  __m512i acc0 = _mm512_setzero_si512();
  __m512i acc1 = _mm512_setzero_si512();
  for (int j = 0; j < count; j += 128) {
    acc0 = _mm512_add_epi64(acc0, _mm512_sad_epu8(LoadP<kNegative>(p + j), LoadQ<kBackward>(q, j)));
    acc1 = _mm512_add_epi64(
        acc1, _mm512_sad_epu8(LoadP<kNegative>(p + j + 64), LoadQ<kBackward>(q, j + 64)));
  }
  alignas(64) std::uint64_t lanes[8];
  _mm512_store_si512(lanes, _mm512_add_epi64(acc0, acc1));
  std::uint64_t sum = 0;
  for (std::uint64_t lane : lanes) sum += lane;
  return static_cast<std::uint32_t>(sum);
}

#undef DUPLIORA_AVX512

constexpr SadKernels kAvx512{
    {{&Sad<false, false>, &Sad<true, false>}, {&Sad<false, true>, &Sad<true, true>}},
    &Avx2VariantPrefix,
    &Sse2HeadSad};

}  // namespace

const SadKernels* Avx512Kernels() { return &kAvx512; }

#else

const SadKernels* Avx512Kernels() { return nullptr; }

#endif

}  // namespace dupliora::simd
