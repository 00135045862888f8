// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/codec_dispatch.h"

#include "imaging/heif_decoder.h"
#include "imaging/jxl_decoder.h"
#include "imaging/picture_file.h"
#include "imaging/raw_decoder.h"

namespace dupliora {

namespace {

// Enough for every signature we test: the ISO media brand sits at 8..11.
constexpr qint64 kSniffedBytes = 32;

}  // namespace

Codec CodecOf(const QString& path) {
  const QByteArray head = ReadFileHead(path, kSniffedBytes).value_or(QByteArray());
  if (head.isEmpty()) return Codec::kQt;
  if (LooksLikeJpegXl(head)) return Codec::kJpegXl;
  // Before HEIF: a CR3 is an ISO media file too.
  if (MayBeCameraRaw(head) && IsCameraRaw(path)) return Codec::kCameraRaw;
  if (LooksLikeHeif(head)) return Codec::kHeif;
  return Codec::kQt;
}

std::optional<PictureHeader> ReadCodecHeader(Codec codec, const QString& path) {
  switch (codec) {
    case Codec::kHeif:
      return ReadHeifHeader(path);
    case Codec::kJpegXl:
      return ReadJpegXlHeader(path);
    case Codec::kCameraRaw:
      return ReadRawHeader(path);
    case Codec::kQt:
      break;
  }
  return std::nullopt;
}

QImage DecodeWithCodec(Codec codec, const QString& path, const DecodeRequest& request) {
  switch (codec) {
    case Codec::kHeif:
      return DecodeHeif(path, request);
    case Codec::kJpegXl:
      return DecodeJpegXl(path, request);
    case Codec::kCameraRaw:
      return DecodeRaw(path, request);
    case Codec::kQt:
      break;
  }
  return {};
}

QByteArray ReadCodecThumbnail(Codec codec, const QString& path) {
  switch (codec) {
    case Codec::kHeif:
      return ReadHeifThumbnail(path);
    case Codec::kCameraRaw:
      return ReadRawPreview(path);
    case Codec::kJpegXl:  // JPEG XL defines no thumbnail; its Exif may hold one
    case Codec::kQt:
      break;
  }
  return {};
}

}  // namespace dupliora
