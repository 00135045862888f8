// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>

#include "engine/head_means.h"

namespace dupliora::simd {

// Every kernel takes counts that are a multiple of this (the pass splits its
// 4096 values into 1024 + 3072).
inline constexpr int kSadBlock = 256;

// Sum of |p'[j] - q[j]| (forward) or |p'[j] - q[-j]| (backward, q pointing at
// the partner of p[0]) over j < count, where p' is p negated byte-wise
// (255 - a) for the negative kernels, else p itself.
using SadFunction = std::uint32_t (*)(const std::uint8_t* p, const std::uint8_t* q, int count);

// The arrays of a picture pair that the eight variant passes read.
struct VariantArrays {
  const std::uint8_t* a_gray;
  const std::uint8_t* a_rot;
  const std::uint8_t* b_gray;
  const std::uint8_t* b_rot;
  const std::uint8_t* b_flip;
};

// Adds to `sums` the sums over values [begin, end) (multiples of kSadBlock)
// of the eight variant passes, in the order they are tried: a_gray against
// b_gray, b_rot and b_flip, each forward then backward, then a_rot against
// b_flip forward and backward. One call loads each of A's blocks once for all
// eight, where one call per pass spent most of its time on the call and the
// loads.
using PrefixFunction = void (*)(const VariantArrays& arrays, bool negative, int begin, int end,
                                std::uint32_t* sums);

// Sum of |a' - b| over one part of two samples' block means (kHeadBlocks
// values, see head_means.h), where a' is 255 - a for the negative.
using HeadSadFunction = std::uint32_t (*)(const std::uint8_t* a, const std::uint8_t* b,
                                          bool negative);

// Which parts of the summaries each variant pass reads, by offset.
inline constexpr int kHeadPartOfA[8] = {kHeadGray, kHeadGray, kHeadGray, kHeadGray,
                                        kHeadGray, kHeadGray, kHeadRot,  kHeadRot};
inline constexpr int kHeadPartOfB[8] = {kHeadGray, kHeadGrayBackward, kHeadRot,  kHeadRotBackward,
                                        kHeadFlip, kHeadFlipBackward, kHeadFlip, kHeadFlipBackward};

// One function per direction and sign, so the loops carry no tests.
struct SadKernels {
  SadFunction sad[2][2];  // [backward][negative]
  PrefixFunction prefix;  // nullptr: the passes start one by one
  HeadSadFunction heads;
};

// The block-mean sums as a plain loop, and with SSE2 (every x86-64
// processor has it; wider registers gain nothing on 64 bytes).
std::uint32_t PortableHeadSad(const std::uint8_t* a, const std::uint8_t* b, bool negative);
#if defined(__x86_64__)
std::uint32_t Sse2HeadSad(const std::uint8_t* a, const std::uint8_t* b, bool negative);
#endif

// Plain loops for processors without a hand-written kernel.
const SadKernels& PortableKernels();
// nullptr when the program was not built for x86-64; the caller checks the
// processor before choosing them.
const SadKernels* Sse2Kernels();
const SadKernels* Avx2Kernels();
const SadKernels* Avx512Kernels();

#if defined(__x86_64__)
// The AVX2 prefix, shared by the AVX-512 kernels: its backward blocks need a
// byte reversal across 64 bytes, which AVX-512BW lacks.
void Avx2VariantPrefix(const VariantArrays& arrays, bool negative, int begin, int end,
                       std::uint32_t* sums);
#endif

}  // namespace dupliora::simd
