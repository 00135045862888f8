// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>

namespace dupliora::simd {

// Every kernel takes counts that are a multiple of this (the pass splits its
// 4096 values into 1024 + 3072).
inline constexpr int kSadBlock = 256;

// Sum of |p'[j] - q[j]| (forward) or |p'[j] - q[-j]| (backward, q pointing at
// the partner of p[0]) over j < count, where p' is p negated byte-wise
// ((256 - a) mod 256) for the negative kernels, else p itself.
using SadFunction = std::uint32_t (*)(const std::uint8_t* p, const std::uint8_t* q, int count);

// One function per direction and sign, so the loops carry no tests.
struct SadKernels {
  SadFunction sad[2][2];  // [backward][negative]
};

// Plain loops for processors without a hand-written kernel.
const SadKernels& PortableKernels();
// nullptr when the program was not built for x86-64; the caller checks the
// processor before choosing them.
const SadKernels* Sse2Kernels();
const SadKernels* Avx2Kernels();
const SadKernels* Avx512Kernels();

}  // namespace dupliora::simd
