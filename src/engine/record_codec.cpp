// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_codec.h"

#include <QtEndian>
#include <array>
#include <bit>
#include <cstring>

#include "engine/record_path.h"
#include "engine/sample.h"

namespace dupliora {

// A new field in ImageRecord must be stored here (or rebuilt on decoding),
// and kRecordCodecVersion bumped; this assertion is the reminder.
static_assert(sizeof(ImageRecord) == 14384, "ImageRecord changed: review the record codec");

namespace {

// The measured fields, in stored order, as 32-bit values.
std::array<std::uint32_t, 7> Fields(const ImageRecord& r) {
  return {static_cast<std::uint32_t>(r.brightness),
          static_cast<std::uint32_t>(r.method),
          r.thumb_bytes,
          std::bit_cast<std::uint32_t>(r.aspect),
          static_cast<std::uint32_t>(r.alpha),
          r.width,
          r.height};
}

}  // namespace

QByteArray EncodeRecord(const ImageRecord& record) {
  QByteArray bytes(kEncodedRecordSize, Qt::Uninitialized);
  char* out = bytes.data();
  std::memcpy(out, record.gray, kSampleSize);
  out += kSampleSize;
  for (std::uint32_t value : Fields(record)) {
    qToLittleEndian(value, out);
    out += sizeof value;
  }
  return bytes;
}

bool DecodeRecord(QByteArrayView bytes, const QString& path, const FileEntry& entry,
                  ImageRecord& record) {
  if (bytes.size() != kEncodedRecordSize || !SetRecordPath(record, path)) return false;
  const char* in = bytes.data();
  std::memcpy(record.gray, in, kSampleSize);
  in += kSampleSize;
  std::array<std::uint32_t, 7> v{};
  for (std::uint32_t& value : v) {
    value = qFromLittleEndian<std::uint32_t>(in);
    in += sizeof value;
  }
  record.brightness = static_cast<std::int32_t>(v[0]);
  record.method = static_cast<std::int32_t>(v[1]);
  record.thumb_bytes = v[2];
  record.aspect = std::bit_cast<float>(v[3]);
  record.alpha = static_cast<std::int32_t>(v[4]);
  record.width = v[5];
  record.height = v[6];
  FillTurnedCopies(record);
  record.file_size = entry.size;
  record.last_write = entry.last_write;
  return true;
}

}  // namespace dupliora
