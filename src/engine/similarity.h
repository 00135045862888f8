// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>

#include "engine/image_record.h"

namespace dupliora {

// The three comparison options of the window.
struct CompareOptions {
  int similarity = 90;  // threshold in percent
  bool search_rotated = false;
  bool search_flipped = false;
};

// The samples of one picture, as plain pointers so that a caller may compare
// its own compact copies. The *_rev arrays are optional copies read from the
// end (ReverseSample); when present, backward passes read them forward, which
// spares the byte reversal in the kernel.
struct SampleSet {
  const std::uint8_t* gray = nullptr;
  const std::uint8_t* gray_rot = nullptr;
  const std::uint8_t* gray_flip = nullptr;
  const std::uint8_t* gray_rev = nullptr;
  const std::uint8_t* gray_rot_rev = nullptr;
  const std::uint8_t* gray_flip_rev = nullptr;
};

SampleSet SamplesOf(const ImageRecord& record);

// Writes the kSampleSize values of `sample` into `reversed` last to first.
void ReverseSample(const std::uint8_t* sample, std::uint8_t* reversed);

// One pass over two samples: P against Q read forward or backward, with P's
// values negated (255 - a) when `negative`. Stops after the value at index 1024 (n =
// 1024) when the 1025 values summed so far already fall short of
// `threshold_percent`, else n = 4096. Returns 1 - sum / (64 n).
double PassSimilarity(const std::uint8_t* p, const std::uint8_t* q, bool backward, bool negative,
                      int threshold_percent);
// The same pass as one plain loop: the reference the fast kernels must equal.
double PassSimilarityScalar(const std::uint8_t* p, const std::uint8_t* q, bool backward,
                            bool negative, int threshold_percent);

// Tries the plain sample, then the variants the options ask for, and stops at
// the first that reaches the threshold. Returns the last pass's similarity;
// `variant` gets its flip and rotation (both 0 when none reached it).
// `variant.negative` belongs to the caller and is not touched.
double CompareSamples(const CompareOptions& options, const SampleSet& a, const SampleSet& b,
                      MatchVariant& variant, bool negative);

// 0.0 at once, variant untouched, when both records name the same file;
// otherwise CompareSamples on the records' samples.
double CompareRecords(const CompareOptions& options, const ImageRecord& a, const ImageRecord& b,
                      MatchVariant& variant, bool negative);

// The decision of CompareSamples for a run that only needs to know whether a
// pair matches: the similarity and variant of the first pass that reaches
// the threshold, bit for bit as CompareSamples gives them, or false (flip and
// rotation 0, `similarity` untouched) when none does. A pass is given up as
// soon as the values summed so far already make it stop at its early exit,
// or fall short after all 4096 values, so a clearly different variant costs
// a few hundred values instead of 1025. Uses the kernel level active when
// Match is called, like CompareSamples.
class SampleMatcher {
 public:
  explicit SampleMatcher(const CompareOptions& options);

  // A flag and an out value rather than std::optional: returning an optional
  // double cost a store-forwarding stall per pass (measured).
  bool Match(const SampleSet& a, const SampleSet& b, MatchVariant& variant, bool negative,
             double& similarity) const;

  // The smallest sum over all 4096 values that leaves a pass below the
  // threshold (0: every sum does).
  std::uint32_t BelowSum() const { return below_sum_; }

  // True when the block means of the two samples (MakeHeadMeans) already put
  // every variant pass the options ask for past its early exit: Match would
  // find nothing. False says nothing. A pass costs 64 values here.
  bool HeadsApart(const std::uint8_t* a_heads, const std::uint8_t* b_heads, bool negative) const;

 private:
  // Where a pass picks up: the sum of the values before `summed`.
  struct PassStart {
    std::uint32_t sum = 0;
    int summed = 0;
  };

  // When `sums` is set: the sums of the first `count` values of every
  // variant pass, in the order they are tried.
  struct Prefixes {
    const std::uint32_t* sums = nullptr;
    int count = 0;
  };

  bool MatchFrom(const SampleSet& a, const SampleSet& b, bool negative, Prefixes prefixes,
                 MatchVariant& variant, double& similarity) const;
  bool MatchPass(const std::uint8_t* p, const std::uint8_t* q, bool backward, bool negative,
                 PassStart start, double& similarity) const;

  CompareOptions options_;
  // The smallest sums that put a pass below the threshold: over the first
  // 1025 values (it stops at its early exit) and over all 4096.
  std::uint32_t early_exit_sum_ = 0;
  std::uint32_t below_sum_ = 0;
  // The smallest sum of block-mean differences that puts a pass past its
  // early exit: each block counts at least 16 (difference - 1).
  std::uint32_t head_limit_ = 0;
};

// Instruction set of the pass kernel. kScalar is the portable code, chosen on
// processors other than x86-64.
enum class KernelLevel { kScalar, kSse2, kAvx2, kAvx512 };

// The best level this processor runs.
KernelLevel BestKernelLevel();
// Whether this processor runs `level`.
bool KernelLevelSupported(KernelLevel level);
// The level in use: BestKernelLevel() unless forced.
KernelLevel ActiveKernelLevel();
// For tests and benchmarks: false, and nothing changed, when the processor
// lacks `level`.
bool ForceKernelLevel(KernelLevel level);
const char* KernelLevelName(KernelLevel level);

}  // namespace dupliora
