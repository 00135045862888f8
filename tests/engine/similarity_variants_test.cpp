// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>

#include "engine/record_path.h"
#include "engine/record_test_support.h"
#include "engine/sample.h"
#include "engine/similarity.h"

namespace dupliora {
namespace {

constexpr int kLast = kSampleSide - 1;

using Sample = std::array<std::uint8_t, kSampleSize>;
// Which value of A lands on row r, column c of B.
using Turn = std::function<int(int r, int c)>;

int At(int row, int column) { return kSampleSide * row + column; }

Sample Turned(const Sample& a, const Turn& source) {
  Sample b{};
  for (int r = 0; r < kSampleSide; ++r) {
    for (int c = 0; c < kSampleSide; ++c) b[At(r, c)] = a[source(r, c)];
  }
  return b;
}

std::unique_ptr<ImageRecord> RecordOf(const Sample& gray, const QString& path) {
  auto record = ZeroRecord();
  EXPECT_TRUE(SetRecordPath(*record, path));
  std::copy(gray.begin(), gray.end(), record->gray);
  FillTurnedCopies(*record);
  return record;
}

Sample Noise(unsigned seed) {
  std::mt19937 random(seed);
  Sample sample{};
  for (auto& value : sample) value = static_cast<std::uint8_t>(random());
  return sample;
}

struct TurnCase {
  const char* name;
  Turn source;
  bool rotated, flipped;
  bool found;
  int flip, rotation;
};

TEST(CompareRecordsTest, FindsEachTurnOnlyWithTheOptionsItNeeds) {
  const Turn same = [](int r, int c) { return At(r, c); };
  const Turn clockwise = [](int r, int c) { return At(kLast - c, r); };
  const Turn counter_clockwise = [](int r, int c) { return At(c, kLast - r); };
  const Turn half = [](int r, int c) { return At(kLast - r, kLast - c); };
  const Turn upside_down = [](int r, int c) { return At(kLast - r, c); };
  const Turn mirrored = [](int r, int c) { return At(r, kLast - c); };
  const Turn transposed = [](int r, int c) { return At(c, r); };
  const Turn anti_diagonal = [](int r, int c) { return At(kLast - c, kLast - r); };
  const TurnCase cases[] = {
      {"identical, no options", same, false, false, true, 0, 0},
      {"identical, all options", same, true, true, true, 0, 0},
      {"90 cw", clockwise, true, false, true, 0, 90},
      {"90 cw without rotation", clockwise, false, true, false, 0, 0},
      {"90 ccw", counter_clockwise, true, false, true, 0, 270},
      {"180", half, true, true, true, 0, 180},
      {"180 without rotation", half, false, true, false, 0, 0},
      {"upside down", upside_down, false, true, true, 1, 0},
      {"upside down without flips", upside_down, true, false, false, 0, 0},
      {"mirrored", mirrored, true, true, true, 2, 0},
      {"transposed", transposed, true, true, true, 2, 270},
      {"transposed without rotation", transposed, false, true, false, 0, 0},
      {"anti-diagonal", anti_diagonal, true, true, true, 2, 90},
  };
  const Sample a = Noise(11);
  const auto first = RecordOf(a, "/pictures/a.png");
  for (const TurnCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto second = RecordOf(Turned(a, c.source), "/pictures/b.png");
    MatchVariant variant{5, 1, 45};
    const double similarity =
        CompareRecords(CompareOptions{90, c.rotated, c.flipped}, *first, *second, variant, false);
    if (c.found) {
      EXPECT_EQ(similarity, 1.0);
    } else {
      EXPECT_LT(similarity * 100.0, 90.0);
    }
    EXPECT_EQ(variant.flip, c.flip);
    EXPECT_EQ(variant.rotation, c.rotation);
    EXPECT_EQ(variant.negative, 1) << "the negative flag belongs to the caller";
  }
}

TEST(CompareRecordsTest, FirstVariantReachingTheThresholdWinsOverABetterOne) {
  // Flat grey with faint texture: the plain pass already reaches 90 % for the
  // turned copy, so the exact quarter turn is never tried.
  Sample a{};
  for (int k = 0; k < kSampleSize; ++k) a[k] = static_cast<std::uint8_t>(100 + (k * 7) % 5);
  const auto first = RecordOf(a, "/a");
  const auto second = RecordOf(Turned(a, [](int r, int c) { return At(kLast - c, r); }), "/b");
  const double plain = PassSimilarityScalar(first->gray, second->gray, false, false, 90);
  ASSERT_LT(plain, 1.0);
  ASSERT_GE(plain, 0.9);
  MatchVariant variant;
  EXPECT_EQ(CompareRecords(CompareOptions{90, true, true}, *first, *second, variant, false), plain);
  EXPECT_EQ(variant.rotation, 0);
}

TEST(CompareRecordsTest, APerfectNegativeScoresOneHundredPercent) {
  // Noise, then noise with 5 % pure black: black turns white, nothing is off by one.
  Sample dark_spots = Noise(15);
  for (int k = 0; k < kSampleSize; k += 20) dark_spots[k] = 0;
  for (const Sample& a : {Noise(15), dark_spots}) {
    Sample negated{};
    std::transform(a.begin(), a.end(), negated.begin(),
                   [](std::uint8_t value) { return static_cast<std::uint8_t>(255 - value); });
    const auto first = RecordOf(a, "/a");
    const auto second = RecordOf(negated, "/b");
    MatchVariant variant;
    EXPECT_EQ(CompareRecords(CompareOptions{100, false, false}, *first, *second, variant, true),
              1.0);
    EXPECT_EQ(CompareRecords(CompareOptions{100, true, true}, *second, *first, variant, true), 1.0);
    EXPECT_EQ(variant.rotation + variant.flip, 0);
  }
  // Black and white are each other's negative; black against black is 255 away.
  Sample black{};
  Sample white{};
  white.fill(255);
  const auto dark = RecordOf(black, "/dark");
  const auto light = RecordOf(white, "/light");
  MatchVariant variant;
  EXPECT_EQ(CompareRecords(CompareOptions{100, true, true}, *dark, *light, variant, true), 1.0);
  EXPECT_EQ(CompareRecords(CompareOptions{40, true, true}, *dark, *RecordOf(black, "/dark2"),
                           variant, true),
            1.0 - 1025.0 * 255.0 / 65536.0);
}

TEST(CompareRecordsTest, ThresholdBoundaries) {
  // One difference of 1 at the very end: s = 1 - 1 / 262144.
  Sample a = Noise(16);
  Sample almost = a;
  almost[kSampleSize - 1] ^= 1;
  // Against black every full pass gives exactly 0.75 (sum 65536): 128 steps
  // of 128 in the top rows hold the early exit at 75 just so; 255 at the end
  // of row 16 pushes the mirrored pass past it; the bottom rows stop the
  // upside-down pass early.
  Sample far_grey{};
  for (int k = 4; k < 1024; k += 8) far_grey[k] = 128;
  far_grey[At(16, kLast)] = 255;
  far_grey[2000] = 1;
  std::fill(far_grey.end() - 382, far_grey.end(), 128);
  const auto base = RecordOf(a, "/a");
  const auto near = RecordOf(almost, "/b");
  const auto copy = RecordOf(a, "/copy");
  const auto black = RecordOf(Sample{}, "/black");
  const auto far = RecordOf(far_grey, "/far");
  struct Case {
    const char* name;
    const ImageRecord& first;
    const ImageRecord& second;
    int threshold;
    bool flipped;
    double expected;
  };
  const Case cases[] = {
      {"100 reached by identical samples", *base, *copy, 100, true, 1.0},
      {"100 needs sum 0", *base, *near, 100, false, 1.0 - 1.0 / 262144.0},
      {"99 forgives one step", *base, *near, 99, false, 1.0 - 1.0 / 262144.0},
      // Reaching the threshold exactly is a match: the flipped passes are never tried.
      {"exactly at the threshold", *black, *far, 75, true, 0.75},
      // Below it, every pass stops early; the mirrored one is the last.
      {"just above it", *black, *far, 76, true, 1.0 - 16639.0 / 65536.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MatchVariant variant{3, 0, 3};
    EXPECT_EQ(CompareRecords(CompareOptions{c.threshold, false, c.flipped}, c.first, c.second,
                             variant, false),
              c.expected);
    EXPECT_EQ(variant.flip, 0);
    EXPECT_EQ(variant.rotation, 0);
  }
  EXPECT_EQ(PassSimilarity(black->gray, far->gray_flip, false, false, 76), 1.0 - 48896.0 / 65536.0);
}

TEST(CompareRecordsTest, SameFileIsNeverItsOwnCopy) {
  struct Case {
    const char* second_path;
    double expected;
  };
  const Case cases[] = {
    {"/pictures/Holiday.jpg", 0.0},
#if defined(Q_OS_LINUX)
    // Names differing in case are two files here, and may be a pair.
    {"/pictures/holiday.jpg", 1.0},
#endif
    {"/pictures/Holiday.jpg.copy", 1.0},
  };
  const Sample a = Noise(17);
  const auto first = RecordOf(a, "/pictures/Holiday.jpg");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.second_path);
    const auto second = RecordOf(a, c.second_path);
    MatchVariant variant{2, 1, 270};
    EXPECT_EQ(CompareRecords(CompareOptions{90, true, true}, *first, *second, variant, false),
              c.expected);
    // Untouched for the same file; the plain match otherwise.
    const bool same = c.expected == 0.0;
    EXPECT_EQ(variant.flip, same ? 2 : 0);
    EXPECT_EQ(variant.rotation, same ? 270 : 0);
    EXPECT_EQ(variant.negative, 1);
  }
}

}  // namespace
}  // namespace dupliora
