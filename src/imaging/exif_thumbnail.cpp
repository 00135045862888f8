// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/exif_thumbnail.h"

#include <algorithm>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <mutex>

#include "imaging/codec_dispatch.h"
#include "imaging/picture_file.h"

namespace dupliora {

namespace {

// Exiv2 wants its XMP parser set up once before threads use it, and would
// otherwise print a warning for every oddly formed file.
void InitialiseExiv2() {
  static std::once_flag once;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
  });
}

// A JPEG keeps its EXIF block (at most 64 KB) among the first segments, and
// Exiv2 stops reading at the scan data; other formats may keep their
// thumbnail anywhere, so they are read whole up to a limit.
constexpr qint64 kJpegHeadBytes = 256 * 1024;
constexpr qint64 kMaxMetadataFileBytes = qint64{64} << 20;

bool IsJpeg(const QByteArray& bytes) { return bytes.startsWith("\xff\xd8"); }

// The bytes Exiv2 parses, read into memory: Exiv2's own file access maps TIFF
// files, and a file that shrank meanwhile killed the process with SIGBUS.
std::optional<QByteArray> MetadataBytes(const QString& path) {
  auto head = ReadFileHead(path, kJpegHeadBytes);
  if (!head || head->size() < kJpegHeadBytes || IsJpeg(*head)) return head;
  auto whole = ReadFileHead(path, kMaxMetadataFileBytes + 1);
  if (!whole || whole->size() > kMaxMetadataFileBytes) return std::nullopt;
  return whole;
}

// Cropping tools that copy the metadata unchanged (jpegtran -copy all, among
// others) leave the camera's thumbnail of the whole frame in a cut-out of it,
// and that thumbnail would stand in for a different picture. The EXIF block
// names the size of the picture it was written for; when that is not this
// picture's size (either way round, within 2 % for encoders that pad to whole
// blocks), the thumbnail counts as absent and the picture itself is decoded.
bool DescribesAnotherPicture(const Exiv2::Image& image) {
  const Exiv2::ExifData& exif = image.exifData();
  const auto width = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension"));
  const auto height = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelYDimension"));
  if (width == exif.end() || height == exif.end()) return false;
  const double w = static_cast<double>(width->toLong());
  const double h = static_cast<double>(height->toLong());
  const double actual_w = image.pixelWidth();
  const double actual_h = image.pixelHeight();
  if (w <= 0 || h <= 0 || actual_w <= 0 || actual_h <= 0) return false;
  const auto near = [](double a, double b) { return std::abs(a - b) <= 0.02 * std::max(a, b); };
  const bool same = near(w, actual_w) && near(h, actual_h);
  const bool turned = near(w, actual_h) && near(h, actual_w);
  return !same && !turned;
}

}  // namespace

QByteArray ReadEmbeddedThumbnail(const QString& path) {
  if (const Codec codec = CodecOf(path); codec != Codec::kQt)
    return ReadCodecThumbnail(codec, path);
  InitialiseExiv2();
  const std::optional<QByteArray> bytes = MetadataBytes(path);
  if (!bytes || bytes->isEmpty()) return {};
  try {
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes->constData()),
                                           static_cast<long>(bytes->size()));
    if (image.get() == nullptr) return {};
    image->readMetadata();
    if (DescribesAnotherPicture(*image)) return {};
    const Exiv2::ExifThumbC thumb(image->exifData());
    const Exiv2::DataBuf data = thumb.copy();
    if (data.size_ <= 0) return {};
    return QByteArray(reinterpret_cast<const char*>(data.pData_), data.size_);
  } catch (...) {
    // Exiv2 reports unknown formats and damaged metadata by throwing.
    return {};
  }
}

std::uint32_t EmbeddedThumbnailBytes(const QString& path) {
  return static_cast<std::uint32_t>(ReadEmbeddedThumbnail(path).size());
}

}  // namespace dupliora
