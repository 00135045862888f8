// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dupliora {

inline constexpr int kSampleSide = 64;
inline constexpr int kSampleSize = kSampleSide * kSampleSide;  // 4096 grey values
// Linux paths run far longer than 260 units; a path that does not fit is refused, never cut.
inline constexpr int kRecordPathCapacity = 1024;
inline constexpr std::int64_t kMinPictureArea = 16384;  // 128 x 128

// How the 64 x 64 picture of a record was obtained.
enum SampleMethod : std::int32_t {
  kMethodThumbnailCache = 0,
  kMethodThumbnailExtractor = 1,
  kMethodLibraryThumbnail = 2,
  kMethodLibraryDrawing = 3,
};

// One picture reduced for comparison. Plain and fixed-size: the cache and the
// record table copy it as one block.
struct ImageRecord {
  char16_t path[kRecordPathCapacity];  // zero-terminated UTF-16
  std::uint8_t gray[kSampleSize];      // row 0 at the top, left to right
  std::uint8_t gray_rot[kSampleSize];  // gray turned 90 degrees clockwise
  std::uint8_t gray_flip[kSampleSize]; // gray upside down
  std::int32_t brightness;             // mean grey scaled to 0..99
  std::int32_t method;                 // SampleMethod
  std::uint32_t thumb_bytes;           // embedded EXIF thumbnail size, 0 when absent
  float aspect;                        // width / height
  std::int32_t alpha;                  // 1 when the pixel format has alpha
  std::uint32_t width;
  std::uint64_t last_write;            // 100-ns units since 1601-01-01 UTC
  std::uint64_t file_size;
  std::uint32_t height;
};

static_assert(std::is_trivially_copyable_v<ImageRecord>);
static_assert(std::is_standard_layout_v<ImageRecord>);
static_assert(offsetof(ImageRecord, gray) == sizeof(char16_t) * kRecordPathCapacity);

// Which variant of the second picture matched the first.
struct MatchVariant {
  std::int32_t flip = 0;      // 0 none, 1 upside down, 2 mirrored
  std::int32_t negative = 0;  // 1 when compared against the first picture's negative
  std::int32_t rotation = 0;  // 0, 90, 180 or 270 degrees clockwise
};

// One found pair. The records live in the run's record table, which keeps
// their addresses until the next run's load phase.
struct MatchResult {
  const ImageRecord* first = nullptr;
  const ImageRecord* second = nullptr;
  std::int32_t similarity = 0;  // percent, truncated
  std::int32_t flip = 0;
  std::int32_t negative = 0;
  std::int32_t rotation = 0;
  std::int32_t ratio = 0;       // aspect agreement in percent, truncated
};

}  // namespace dupliora
