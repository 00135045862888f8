// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "bench/dng_writer.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <cmath>
#include <vector>

namespace dupliora::bench {

namespace {

enum TiffType : quint16 { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

struct Entry {
  quint16 tag;
  TiffType type;
  QByteArray values;  // little-endian, count derived from the type
};

Entry Shorts(quint16 tag, std::initializer_list<quint16> values) {
  QByteArray bytes;
  for (const quint16 v : values) {
    bytes.append(char(v & 0xFF));
    bytes.append(char(v >> 8));
  }
  return {tag, kShort, bytes};
}

Entry Long(quint16 tag, quint32 value) {
  QByteArray bytes(4, '\0');
  qToLittleEndian(value, bytes.data());
  return {tag, kLong, bytes};
}

Entry Bytes(quint16 tag, std::initializer_list<quint8> values) {
  QByteArray bytes;
  for (const quint8 v : values) bytes.append(char(v));
  return {tag, kByte, bytes};
}

Entry Ascii(quint16 tag, const char* text) { return {tag, kAscii, QByteArray(text) + '\0'}; }

// A neutral white balance: the mosaic holds the colours as they should show.
Entry NeutralWhite() {
  QByteArray bytes(24, '\0');
  for (int i = 0; i < 6; ++i) qToLittleEndian(quint32{1}, bytes.data() + 4 * i);
  return {50728, kRational, bytes};
}

int TypeSize(TiffType type) {
  switch (type) {
    case kShort:
      return 2;
    case kLong:
      return 4;
    case kRational:
      return 8;
    default:
      return 1;
  }
}

// Appends one IFD at the end of `file` with its out-of-line values after it;
// returns the IFD's offset. Entries must be sorted by tag.
quint32 AppendIfd(QByteArray& file, const std::vector<Entry>& entries) {
  const quint32 ifd = static_cast<quint32>(file.size());
  quint32 extra = ifd + 2 + 12 * static_cast<quint32>(entries.size()) + 4;
  QByteArray table;
  QByteArray overflow;
  const auto put16 = [&table](quint16 v) { table.append(char(v & 0xFF)).append(char(v >> 8)); };
  const auto put32 = [&table](quint32 v) {
    for (int i = 0; i < 4; ++i) table.append(char((v >> (8 * i)) & 0xFF));
  };
  put16(static_cast<quint16>(entries.size()));
  for (const Entry& e : entries) {
    put16(e.tag);
    put16(e.type);
    put32(static_cast<quint32>(e.values.size() / TypeSize(e.type)));
    if (e.values.size() <= 4) {
      table.append(e.values.leftJustified(4, '\0'));
    } else {
      put32(extra + static_cast<quint32>(overflow.size()));
      overflow.append(e.values);
      if (overflow.size() % 2) overflow.append('\0');
    }
  }
  put32(0);  // no next IFD
  file.append(table).append(overflow);
  return ifd;
}

void PatchLong(QByteArray& file, quint32 offset, quint32 value) {
  qToLittleEndian(value, file.data() + offset);
}

// Offset of the value field of `tag` in the IFD at `ifd`.
quint32 ValueFieldOf(const QByteArray& file, quint32 ifd, quint16 tag) {
  const quint16 count = qFromLittleEndian<quint16>(file.constData() + ifd);
  for (quint32 i = 0; i < count; ++i) {
    const quint32 entry = ifd + 2 + 12 * i;
    if (qFromLittleEndian<quint16>(file.constData() + entry) == tag) return entry + 8;
  }
  return 0;
}

QByteArray Mosaic(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  std::vector<quint16> linear(256);
  for (int v = 0; v < 256; ++v) {
    const double s = v / 255.0;
    const double l = s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    linear[v] = static_cast<quint16>(std::lround(l * 65535));
  }
  QByteArray data;
  data.reserve(qsizetype{rgb.width()} * rgb.height() * 2);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) {
      const int channel = (y % 2) + (x % 2);  // R G / G B
      const int value = channel == 0   ? qRed(line[x])
                        : channel == 1 ? qGreen(line[x])
                                       : qBlue(line[x]);
      data.append(char(linear[value] & 0xFF)).append(char(linear[value] >> 8));
    }
  }
  return data;
}

QByteArray PreviewJpeg(const QImage& picture, const DngOptions& options) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  const QImage& source = options.preview_image.isNull() ? picture : options.preview_image;
  source.scaled(options.preview, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32)
      .save(&buffer, "jpg", options.preview_quality);
  return jpeg;
}

}  // namespace

QByteArray DngBytes(const QImage& picture, const DngOptions& options) {
  const QSize sensor = options.claimed_size.isEmpty() ? picture.size() : options.claimed_size;
  const quint32 width = static_cast<quint32>(sensor.width());
  const quint32 height = static_cast<quint32>(sensor.height());
  const bool preview = !options.preview.isEmpty();
  const QByteArray jpeg = preview ? PreviewJpeg(picture, options) : QByteArray();
  const QByteArray mosaic = Mosaic(picture);
  const quint16 orientation = static_cast<quint16>(options.orientation);

  QByteArray file("II*\0\x08\0\0\0", 8);
  // IFD 0 is the preview (as cameras write it) or, without one, the raw data.
  std::vector<Entry> first = {Long(254, preview ? 1 : 0),
                              Long(256, preview ? quint32(options.preview.width()) : width),
                              Long(257, preview ? quint32(options.preview.height()) : height)};
  if (preview) {
    first.insert(first.end(), {Shorts(258, {8, 8, 8}), Shorts(259, {7}), Shorts(262, {6}),
                               Ascii(271, "Dupliora"), Ascii(272, "Test camera"), Long(273, 0),
                               Shorts(274, {orientation}), Shorts(277, {3}),
                               Long(278, quint32(options.preview.height())),
                               Long(279, quint32(jpeg.size())), Long(330, 0)});
  } else {
    first.insert(first.end(),
                 {Shorts(258, {16}), Shorts(259, {1}), Shorts(262, {32803}), Ascii(271, "Dupliora"),
                  Ascii(272, "Test camera"), Long(273, 0), Shorts(274, {orientation}),
                  Shorts(277, {1}), Long(278, height), Long(279, quint32(mosaic.size())),
                  Shorts(33421, {2, 2}), Bytes(33422, {0, 1, 1, 2})});
  }
  first.insert(first.end(), {Bytes(50706, {1, 4, 0, 0}), Ascii(50708, "Dupliora Test camera")});
  if (!preview) first.push_back(Long(50717, 65535));
  first.push_back(NeutralWhite());
  const quint32 ifd0 = AppendIfd(file, first);
  quint32 raw_ifd = ifd0;
  if (preview) {
    raw_ifd =
        AppendIfd(file, {Long(254, 0), Long(256, width), Long(257, height), Shorts(258, {16}),
                         Shorts(259, {1}), Shorts(262, {32803}), Long(273, 0), Shorts(277, {1}),
                         Long(278, height), Long(279, quint32(mosaic.size())),
                         Shorts(33421, {2, 2}), Bytes(33422, {0, 1, 1, 2}), Long(50717, 65535)});
    PatchLong(file, ValueFieldOf(file, ifd0, 330), raw_ifd);
    PatchLong(file, ValueFieldOf(file, ifd0, 273), quint32(file.size()));
    file.append(jpeg);
  }
  PatchLong(file, ValueFieldOf(file, raw_ifd, 273), quint32(file.size()));
  file.append(mosaic);
  return file;
}

bool WriteDng(const QString& path, const QImage& picture, const DngOptions& options) {
  QFile file(path);
  const QByteArray bytes = DngBytes(picture, options);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace dupliora::bench
