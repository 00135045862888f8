// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/exif_thumbnail.h"

#include <QFile>
#include <exiv2/exiv2.hpp>
#include <mutex>

#include "imaging/codec_dispatch.h"

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

}  // namespace

QByteArray ReadEmbeddedThumbnail(const QString& path) {
  if (const Codec codec = CodecOf(path); codec != Codec::kQt)
    return ReadCodecThumbnail(codec, path);
  InitialiseExiv2();
  try {
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    if (image.get() == nullptr) return {};
    image->readMetadata();
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
