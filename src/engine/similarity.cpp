// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Interim plain measure until the fast one lands.
#include "engine/similarity.h"

#include <cstdlib>

#include "engine/record_path.h"
#include "platform/file_names.h"

namespace dupliora {

namespace {

double Pass(const std::uint8_t* p, const std::uint8_t* q, bool backward, bool negative,
            int threshold) {
  long sum = 0;
  int n = kSampleSize;
  for (int k = 0; k < kSampleSize; ++k) {
    int a = p[k];
    if (negative) a = (256 - a) & 255;
    const int b = backward ? q[kSampleSize - 1 - k] : q[k];
    sum += std::abs(a - b);
    if (k == 1024 && threshold > (1.0 - sum / 65536.0) * 100.0) {
      n = 1024;
      break;
    }
  }
  return 1.0 - static_cast<double>(sum) / (64.0 * n);
}

}  // namespace

SampleSet SamplesOf(const ImageRecord& record) {
  SampleSet set;
  set.gray = record.gray;
  set.gray_rot = record.gray_rot;
  set.gray_flip = record.gray_flip;
  return set;
}

double CompareSamples(const CompareOptions& o, const SampleSet& a, const SampleSet& b,
                      MatchVariant& v, bool negative) {
  const auto below = [&](double s) { return o.similarity > s * 100.0; };
  v.flip = 0;
  v.rotation = 0;
  double s = Pass(a.gray, b.gray, false, negative, o.similarity);
  struct Step { bool on; int flip, rotation; const std::uint8_t* p; const std::uint8_t* q; bool back; };
  const Step steps[] = {
      {o.search_rotated, 0, 180, a.gray, b.gray, true},
      {o.search_rotated, 0, 270, a.gray, b.gray_rot, false},
      {o.search_rotated, 0, 90, a.gray, b.gray_rot, true},
      {o.search_flipped, 1, 0, a.gray, b.gray_flip, false},
      {o.search_flipped, 2, 0, a.gray, b.gray_flip, true},
      {o.search_flipped && o.search_rotated, 2, 90, a.gray_rot, b.gray_flip, false},
      {o.search_flipped && o.search_rotated, 2, 270, a.gray_rot, b.gray_flip, true},
  };
  for (const Step& step : steps) {
    if (!step.on || !below(s)) continue;
    v.flip = step.flip;
    v.rotation = step.rotation;
    s = Pass(step.p, step.q, step.back, negative, o.similarity);
  }
  if (below(s)) {
    v.flip = 0;
    v.rotation = 0;
  }
  return s;
}

double CompareRecords(const CompareOptions& o, const ImageRecord& a, const ImageRecord& b,
                      MatchVariant& v, bool negative) {
  if (SameFileName(RecordPath(a), RecordPath(b))) return 0.0;
  return CompareSamples(o, SamplesOf(a), SamplesOf(b), v, negative);
}

}  // namespace dupliora
