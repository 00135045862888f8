// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/truncation_check.h"

#include <unistd.h>

#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace dupliora {

namespace {

// Reads `count` bytes at `offset` of an open file; false when it ends first.
class FileBytes {
 public:
  explicit FileBytes(QFile& file) : fd_(file.handle()), size_(file.size()) {}

  std::int64_t Size() const { return size_; }
  bool Read(std::int64_t offset, void* out, std::size_t count) const {
    return offset >= 0 && offset + static_cast<std::int64_t>(count) <= size_ &&
           ::pread(fd_, out, count, offset) == static_cast<ssize_t>(count);
  }
  int Byte(std::int64_t offset) const {
    unsigned char value = 0;
    return Read(offset, &value, 1) ? value : -1;
  }
  std::int64_t Little(std::int64_t offset, int bytes) const {
    unsigned char raw[4] = {};
    if (!Read(offset, raw, static_cast<std::size_t>(bytes))) return -1;
    std::int64_t value = 0;
    for (int k = bytes - 1; k >= 0; --k) value = (value << 8) | raw[k];
    return value;
  }

 private:
  int fd_;
  std::int64_t size_;
};

constexpr int kBmpInfoAt = 14;
constexpr int kBmpCoreHeaderSize = 12;  // OS/2 1.x: 16-bit width and height
constexpr int kBmpRgb = 0;
constexpr int kBmpBitfields = 3;

bool BmpIsCutShort(const FileBytes& bytes) {
  const std::int64_t pixels_at = bytes.Little(10, 4);
  const std::int64_t header_size = bytes.Little(kBmpInfoAt, 4);
  if (pixels_at < 0 || header_size < 0) return true;
  const bool core = header_size == kBmpCoreHeaderSize;
  const int field = core ? 2 : 4;
  std::int64_t width = bytes.Little(kBmpInfoAt + 4, field);
  std::int64_t height = bytes.Little(kBmpInfoAt + 4 + field, field);
  const std::int64_t bits = bytes.Little(kBmpInfoAt + 4 + 2 * field + 2, 2);
  const std::int64_t compression = core ? kBmpRgb : bytes.Little(kBmpInfoAt + 16, 4);
  if (width < 0 || height < 0 || bits <= 0) return true;
  if (compression != kBmpRgb && compression != kBmpBitfields) return false;
  if (!core && height >= 0x80000000LL) height = 0x100000000LL - height;  // top-down rows
  const std::int64_t row_bytes = (width * bits + 31) / 32 * 4;
  return pixels_at + row_bytes * height > bytes.Size();
}

// Skips a chain of GIF data sub-blocks; returns the offset after the
// terminator, or -1 when the file ends first.
std::int64_t SkipSubBlocks(const FileBytes& bytes, std::int64_t at) {
  for (int length = bytes.Byte(at); length != 0; length = bytes.Byte(at)) {
    if (length < 0) return -1;
    at += 1 + length;
  }
  return at + 1;
}

std::int64_t SkipColourTable(const FileBytes& bytes, std::int64_t at, std::int64_t flags_at) {
  const int flags = bytes.Byte(flags_at);
  if (flags < 0) return -1;
  return (flags & 0x80) != 0 ? at + 3 * (std::int64_t{2} << (flags & 7)) : at;
}

bool GifIsCutShort(const FileBytes& bytes) {
  constexpr int kScreenDescriptorEnd = 13;
  std::int64_t at = SkipColourTable(bytes, kScreenDescriptorEnd, 10);
  while (at >= 0) {
    const int block = bytes.Byte(at);
    if (block == 0x21) {  // extension: label, then sub-blocks
      at = SkipSubBlocks(bytes, at + 2);
    } else if (block == 0x2C) {  // the first picture: descriptor, colours, LZW size, data
      at = SkipColourTable(bytes, at + 10, at + 9);
      return at < 0 || SkipSubBlocks(bytes, at + 1) < 0;
    } else {
      return true;  // the trailer or garbage before any picture
    }
  }
  return true;
}

}  // namespace

bool EndsBeforeItsPixels(QFile& file, const QByteArray& format) {
  const FileBytes bytes(file);
  if (format == "bmp") return BmpIsCutShort(bytes);
  if (format == "gif") return GifIsCutShort(bytes);
  return false;
}

}  // namespace dupliora
