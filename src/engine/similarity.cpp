// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/similarity.h"

#include <QString>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>

#include "engine/similarity_kernels.h"
#include "platform/file_names.h"

namespace dupliora {

namespace {

// The pass looks at the value with this index, then decides whether to go on.
constexpr int kEarlyExitIndex = 1024;
constexpr int kTailCount = kSampleSize - kEarlyExitIndex;
static_assert(kEarlyExitIndex % simd::kSadBlock == 0 && kTailCount % simd::kSadBlock == 0);

// Both twins share the arithmetic after the sum, so equal sums give equal bits.
bool StopsEarly(std::uint32_t sum, int threshold_percent) {
  return threshold_percent > (1.0 - static_cast<double>(sum) / 65536.0) * 100.0;
}

double SimilarityOf(std::uint32_t sum, int count) {
  return 1.0 - static_cast<double>(sum) / (64.0 * count);
}

bool IsBelow(double similarity, int threshold_percent) {
  return threshold_percent > similarity * 100.0;
}

// 255 - a: white and black trade places, so a picture and its negative
// differ by nothing.
std::uint8_t Negated(std::uint8_t value) { return static_cast<std::uint8_t>(255 - value); }

bool CpuHas(KernelLevel level) {
#if defined(__x86_64__)
  __builtin_cpu_init();
  switch (level) {
    case KernelLevel::kScalar:
    case KernelLevel::kSse2:
      return true;
    case KernelLevel::kAvx2:
      return __builtin_cpu_supports("avx2");
    case KernelLevel::kAvx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
  }
  return false;
#else
  return level == KernelLevel::kScalar;
#endif
}

const simd::SadKernels& KernelsFor(KernelLevel level) {
  const simd::SadKernels* kernels = nullptr;
  switch (level) {
    case KernelLevel::kSse2:
      kernels = simd::Sse2Kernels();
      break;
    case KernelLevel::kAvx2:
      kernels = simd::Avx2Kernels();
      break;
    case KernelLevel::kAvx512:
      kernels = simd::Avx512Kernels();
      break;
    case KernelLevel::kScalar:
      break;
  }
  return kernels ? *kernels : simd::PortableKernels();
}

std::atomic<int> g_forced_level{-1};
std::atomic<const simd::SadKernels*> g_kernels{nullptr};

const simd::SadKernels& ActiveKernels() {
  const simd::SadKernels* kernels = g_kernels.load(std::memory_order_relaxed);
  if (!kernels) {
    kernels = &KernelsFor(ActiveKernelLevel());
    g_kernels.store(kernels, std::memory_order_relaxed);
  }
  return *kernels;
}

// One comparison of the sequence: which arrays, and the variant it stands for.
struct VariantPass {
  const std::uint8_t* SampleSet::*p;
  const std::uint8_t* SampleSet::*q;
  const std::uint8_t* SampleSet::*q_reversed;  // q read backward, when the caller has it
  bool backward;
  bool needs_rotated;
  bool needs_flipped;
  std::int32_t flip;
  std::int32_t rotation;
};

// In the order they are tried; the first that reaches the threshold wins.
constexpr VariantPass kVariantPasses[] = {
    {&SampleSet::gray, &SampleSet::gray, &SampleSet::gray_rev, false, false, false, 0, 0},
    {&SampleSet::gray, &SampleSet::gray, &SampleSet::gray_rev, true, true, false, 0, 180},
    {&SampleSet::gray, &SampleSet::gray_rot, &SampleSet::gray_rot_rev, false, true, false, 0, 270},
    {&SampleSet::gray, &SampleSet::gray_rot, &SampleSet::gray_rot_rev, true, true, false, 0, 90},
    {&SampleSet::gray, &SampleSet::gray_flip, &SampleSet::gray_flip_rev, false, false, true, 1, 0},
    {&SampleSet::gray, &SampleSet::gray_flip, &SampleSet::gray_flip_rev, true, false, true, 2, 0},
    {&SampleSet::gray_rot, &SampleSet::gray_flip, &SampleSet::gray_flip_rev, false, true, true, 2,
     90},
    {&SampleSet::gray_rot, &SampleSet::gray_flip, &SampleSet::gray_flip_rev, true, true, true, 2,
     270},
};

bool Wanted(const VariantPass& pass, const CompareOptions& options) {
  return (!pass.needs_rotated || options.search_rotated) &&
         (!pass.needs_flipped || options.search_flipped);
}

// The second picture's array of a pass, and whether it is read backward: a
// reversed copy, when the caller has one, is read forward.
struct PassPartner {
  const std::uint8_t* q;
  bool backward;
};

PassPartner PartnerOf(const VariantPass& pass, const SampleSet& b) {
  const std::uint8_t* reversed = pass.backward ? b.*pass.q_reversed : nullptr;
  if (reversed) return {reversed, false};
  return {b.*pass.q, pass.backward};
}

double RunVariantPass(const VariantPass& pass, const SampleSet& a, const SampleSet& b,
                      bool negative, int threshold_percent) {
  const PassPartner partner = PartnerOf(pass, b);
  return PassSimilarity(a.*pass.p, partner.q, partner.backward, negative, threshold_percent);
}

// The smallest sum in [0, max_sum] for which `below` holds, or max_sum + 1.
// `below` must not turn false again as the sum grows: each step of the
// similarity formula (division by a constant, subtraction from 1,
// multiplication by 100) is rounded monotonically in IEEE double.
template <typename Below>
std::uint32_t SmallestSumBelow(std::uint32_t max_sum, Below below) {
  std::uint32_t low = 0;
  std::uint32_t high = max_sum + 1;
  while (low < high) {
    const std::uint32_t middle = low + (high - low) / 2;
    if (below(middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// Where a pass looks at its partial sum before the early exit. On the
// benchmark set a negative pass of unrelated pictures is decided after 256
// values and a plain one mostly after 512; an extra check at 128 or 768 cost
// more than it saved.
constexpr int kRejectChecks[] = {256, 512};
// And after the early exit, against the sum that leaves the whole pass below.
constexpr int kTailRejectChecks[] = {2048};

// How far the batched start of all variant passes reads: the first stretch,
// then a second one while at least kBatchedUndecided passes are still open
// (one batch costs about what three passes cost one by one). Unrelated
// photos are mostly decided after the first; pairs whose sample sums lie
// close, the only ones the pair loop still compares, often need both.
constexpr int kPrefixStages[] = {256, 512};
constexpr int kBatchedUndecided = 3;
static_assert(kPrefixStages[0] % simd::kSadBlock == 0 && kPrefixStages[1] % simd::kSadBlock == 0 &&
              kPrefixStages[0] < kPrefixStages[1] && kPrefixStages[1] <= kEarlyExitIndex);

template <std::size_t kCount>
constexpr bool RisingOnBlocks(const int (&checks)[kCount], int after, int before) {
  for (int check : checks) {
    if (check <= after || check >= before || check % simd::kSadBlock != 0) return false;
    after = check;
  }
  return true;
}
static_assert(RisingOnBlocks(kRejectChecks, 0, kEarlyExitIndex) &&
              RisingOnBlocks(kTailRejectChecks, kEarlyExitIndex, kSampleSize));

QString PathOf(const ImageRecord& record) {
  qsizetype length = 0;
  while (length < kRecordPathCapacity && record.path[length] != 0) ++length;
  return QString::fromRawData(reinterpret_cast<const QChar*>(record.path), length);
}

}  // namespace

SampleSet SamplesOf(const ImageRecord& record) {
  SampleSet samples;
  samples.gray = record.gray;
  samples.gray_rot = record.gray_rot;
  samples.gray_flip = record.gray_flip;
  return samples;
}

void ReverseSample(const std::uint8_t* sample, std::uint8_t* reversed) {
  for (int k = 0; k < kSampleSize; ++k) reversed[k] = sample[kSampleSize - 1 - k];
}

double PassSimilarity(const std::uint8_t* p, const std::uint8_t* q, bool backward, bool negative,
                      int threshold_percent) {
  const simd::SadFunction sad = ActiveKernels().sad[backward][negative];
  const std::uint8_t* q_head = backward ? q + kSampleSize - 1 : q;
  const std::uint8_t* q_tail = backward ? q_head - kEarlyExitIndex : q_head + kEarlyExitIndex;

  const std::uint32_t head = sad(p, q_head, kEarlyExitIndex);
  const int a = negative ? Negated(p[kEarlyExitIndex]) : p[kEarlyExitIndex];
  const std::uint32_t at_exit = static_cast<std::uint32_t>(std::abs(a - *q_tail));
  if (StopsEarly(head + at_exit, threshold_percent)) {
    return SimilarityOf(head + at_exit, kEarlyExitIndex);
  }
  // The tail starts with the value at the early-exit index, already counted above.
  const std::uint32_t tail = sad(p + kEarlyExitIndex, q_tail, kTailCount);
  return SimilarityOf(head + tail, kSampleSize);
}

double PassSimilarityScalar(const std::uint8_t* p, const std::uint8_t* q, bool backward,
                            bool negative, int threshold_percent) {
  std::uint32_t sum = 0;
  for (int k = 0; k < kSampleSize; ++k) {
    const int a = negative ? Negated(p[k]) : p[k];
    const int b = backward ? q[kSampleSize - 1 - k] : q[k];
    sum += static_cast<std::uint32_t>(std::abs(a - b));
    if (k == kEarlyExitIndex && StopsEarly(sum, threshold_percent)) {
      return SimilarityOf(sum, kEarlyExitIndex);
    }
  }
  return SimilarityOf(sum, kSampleSize);
}

double CompareSamples(const CompareOptions& options, const SampleSet& a, const SampleSet& b,
                      MatchVariant& variant, bool negative) {
  double similarity = 0.0;
  for (const VariantPass& pass : kVariantPasses) {
    if (!Wanted(pass, options)) continue;
    variant.flip = pass.flip;
    variant.rotation = pass.rotation;
    similarity = RunVariantPass(pass, a, b, negative, options.similarity);
    if (!IsBelow(similarity, options.similarity)) return similarity;
  }
  variant.flip = 0;
  variant.rotation = 0;
  return similarity;
}

double CompareRecords(const CompareOptions& options, const ImageRecord& a, const ImageRecord& b,
                      MatchVariant& variant, bool negative) {
  if (SameFileName(PathOf(a), PathOf(b))) return 0.0;
  return CompareSamples(options, SamplesOf(a), SamplesOf(b), variant, negative);
}

SampleMatcher::SampleMatcher(const CompareOptions& options) : options_(options) {
  const int threshold = options.similarity;
  early_exit_sum_ = SmallestSumBelow((kEarlyExitIndex + 1) * 255u,
                                     [&](std::uint32_t sum) { return StopsEarly(sum, threshold); });
  below_sum_ = SmallestSumBelow(kSampleSize * 255u, [&](std::uint32_t sum) {
    return IsBelow(SimilarityOf(sum, kSampleSize), threshold);
  });
  head_limit_ = (early_exit_sum_ + 15) / 16 + kHeadBlocks;
}

bool SampleMatcher::HeadsApart(const std::uint8_t* a_heads, const std::uint8_t* b_heads,
                               bool negative) const {
  const simd::HeadSadFunction sad = ActiveKernels().heads;
  for (std::size_t i = 0; i < std::size(kVariantPasses); ++i) {
    if (!Wanted(kVariantPasses[i], options_)) continue;
    // Pictures alike in the large are settled by the first pass.
    if (sad(a_heads + simd::kHeadPartOfA[i], b_heads + simd::kHeadPartOfB[i], negative) <
        head_limit_) {
      return false;
    }
  }
  return true;
}

bool SampleMatcher::MatchPass(const std::uint8_t* p, const std::uint8_t* q, bool backward,
                              bool negative, PassStart start, double& similarity) const {
  const simd::SadFunction sad = ActiveKernels().sad[backward][negative];
  // The partner of p[k]; the kernel reads backward from there when asked to.
  const auto q_at = [&](int k) { return backward ? q + (kSampleSize - 1 - k) : q + k; };
  // Sums only grow, so a partial sum at or past a limit holds the verdict.
  std::uint32_t sum = start.sum;
  int summed = start.summed;
  for (int check : kRejectChecks) {
    if (check <= summed) continue;
    sum += sad(p + summed, q_at(summed), check - summed);
    summed = check;
    if (sum >= early_exit_sum_) return false;
  }
  sum += sad(p + summed, q_at(summed), kEarlyExitIndex - summed);
  const int a = negative ? Negated(p[kEarlyExitIndex]) : p[kEarlyExitIndex];
  const auto at_exit = static_cast<std::uint32_t>(std::abs(a - *q_at(kEarlyExitIndex)));
  if (sum + at_exit >= early_exit_sum_) return false;
  summed = kEarlyExitIndex;
  for (int check : kTailRejectChecks) {
    sum += sad(p + summed, q_at(summed), check - summed);
    summed = check;
    if (sum >= below_sum_) return false;
  }
  sum += sad(p + summed, q_at(summed), kSampleSize - summed);
  if (sum >= below_sum_) return false;
  similarity = SimilarityOf(sum, kSampleSize);
  return true;
}

bool SampleMatcher::Match(const SampleSet& a, const SampleSet& b, MatchVariant& variant,
                          bool negative, double& similarity) const {
  const simd::PrefixFunction prefix = ActiveKernels().prefix;
  const bool all_variants = options_.search_rotated && options_.search_flipped;
  if (prefix && all_variants && a.gray_rot && b.gray_rot && b.gray_flip) {
    const simd::VariantArrays arrays{a.gray, a.gray_rot, b.gray, b.gray_rot, b.gray_flip};
    std::uint32_t sums[std::size(kVariantPasses)] = {};
    prefix(arrays, negative, 0, kPrefixStages[0], sums);
    const auto undecided = std::count_if(std::begin(sums), std::end(sums),
                                         [&](std::uint32_t sum) { return sum < early_exit_sum_; });
    if (undecided < kBatchedUndecided) {
      return MatchFrom(a, b, negative, {sums, kPrefixStages[0]}, variant, similarity);
    }
    prefix(arrays, negative, kPrefixStages[0], kPrefixStages[1], sums);
    return MatchFrom(a, b, negative, {sums, kPrefixStages[1]}, variant, similarity);
  }
  return MatchFrom(a, b, negative, {}, variant, similarity);
}

bool SampleMatcher::MatchFrom(const SampleSet& a, const SampleSet& b, bool negative,
                              Prefixes prefixes, MatchVariant& variant, double& similarity) const {
  for (std::size_t i = 0; i < std::size(kVariantPasses); ++i) {
    const VariantPass& pass = kVariantPasses[i];
    if (!Wanted(pass, options_)) continue;
    // Without the batch, the reading starts from scratch (read forward from
    // the reversed copy when there is one); with it, at the first check.
    PassStart start;
    if (prefixes.sums) {
      // Sums only grow: past the limit now, it was past it at the checks before.
      if (prefixes.sums[i] >= early_exit_sum_) continue;
      start = {prefixes.sums[i], prefixes.count};
    }
    const PassPartner partner =
        prefixes.sums ? PassPartner{b.*pass.q, pass.backward} : PartnerOf(pass, b);
    if (MatchPass(a.*pass.p, partner.q, partner.backward, negative, start, similarity)) {
      variant.flip = pass.flip;
      variant.rotation = pass.rotation;
      return true;
    }
  }
  variant.flip = 0;
  variant.rotation = 0;
  return false;
}

KernelLevel BestKernelLevel() {
  static const KernelLevel best = [] {
    for (KernelLevel level : {KernelLevel::kAvx512, KernelLevel::kAvx2, KernelLevel::kSse2}) {
      if (KernelLevelSupported(level)) return level;
    }
    return KernelLevel::kScalar;
  }();
  return best;
}

bool KernelLevelSupported(KernelLevel level) {
  if (level == KernelLevel::kScalar) return true;
  return CpuHas(level) && &KernelsFor(level) != &simd::PortableKernels();
}

KernelLevel ActiveKernelLevel() {
  const int forced = g_forced_level.load(std::memory_order_relaxed);
  return forced < 0 ? BestKernelLevel() : static_cast<KernelLevel>(forced);
}

bool ForceKernelLevel(KernelLevel level) {
  if (!KernelLevelSupported(level)) return false;
  g_forced_level.store(static_cast<int>(level), std::memory_order_relaxed);
  g_kernels.store(&KernelsFor(level), std::memory_order_relaxed);
  return true;
}

const char* KernelLevelName(KernelLevel level) {
  switch (level) {
    case KernelLevel::kScalar:
      return "portable";
    case KernelLevel::kSse2:
      return "SSE2";
    case KernelLevel::kAvx2:
      return "AVX2";
    case KernelLevel::kAvx512:
      return "AVX-512BW";
  }
  return "unknown";
}

}  // namespace dupliora
