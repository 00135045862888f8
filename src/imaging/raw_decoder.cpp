// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/raw_decoder.h"

#include <libraw/libraw.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <array>
#include <cmath>
#include <memory>
#include <string_view>

#include "imaging/read_problem.h"
#include "imaging/scaled_decode.h"

namespace dupliora {

namespace {

// LibRaw's flip (bit 0 mirror, bit 1 flip, bit 2 swap axes) as EXIF orientation.
constexpr std::array<int, 8> kFlipToOrientation = {1, 2, 4, 3, 5, 8, 6, 7};
// Developing holds the 16-bit sensor data, the four 16-bit channels of the
// picture and the 8-bit result.
constexpr int kDevelopBytesPerPixel = 8 + 3;

// LibRaw reports damaged data through this; its default prints to stderr for
// every file, and the file is judged by the return codes anyway.
void IgnoreDataError(void*, const char*, const int) {}

std::unique_ptr<LibRaw> OpenRaw(const QString& path) {
  auto raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
  raw->set_dataerror_handler(IgnoreDataError, nullptr);
  raw->imgdata.params.max_raw_memory_mb = static_cast<unsigned>(DecodeBudgetBytes() >> 20);
  const QByteArray native = QFile::encodeName(path);
  const int opened = raw->open_file(native.constData());
  if (opened == LIBRAW_TOO_BIG) ReportReadProblem(ReadProblem::kTooLarge);
  if (opened != LIBRAW_SUCCESS) return {};
  return raw;
}

int OrientationOf(const LibRaw& raw) { return kFlipToOrientation[raw.imgdata.sizes.flip & 7]; }

QSize SensorPictureSize(const LibRaw& raw) {
  return QSize(raw.imgdata.sizes.width, raw.imgdata.sizes.height);
}

// The size a JPEG must be decoded at so that it covers `needed` with its own aspect.
QSize CoveringSize(QSize picture, QSize needed) {
  const double scale = std::max(double(needed.width()) / picture.width(),
                                double(needed.height()) / picture.height());
  return QSize(static_cast<int>(std::ceil(picture.width() * scale)),
               static_cast<int>(std::ceil(picture.height() * scale)));
}

QImage DecodeJpegPreview(QByteArray bytes, QSize picture, QSize needed) {
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  ConfigurePictureReader(reader);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() < needed.width() || size.height() < needed.height() ||
      !AspectsAgree(size, picture))
    return {};
  return DecodeStretched(reader, CoveringSize(size, needed), false);
}

QImage BitmapPreview(const libraw_thumbnail_t& thumb) {
  const QSize size(thumb.twidth, thumb.theight);
  if (size.isEmpty() ||
      std::int64_t{thumb.tlength} < std::int64_t{size.width()} * size.height() * 3)
    return {};
  return QImage(reinterpret_cast<const uchar*>(thumb.thumb), size.width(), size.height(),
                size.width() * 3, QImage::Format_RGB888)
      .copy();
}

// The preview when it covers `needed` and has the picture's shape.
QImage UsablePreview(LibRaw& raw, QSize needed) {
  if (raw.unpack_thumb() != LIBRAW_SUCCESS) return {};
  const libraw_thumbnail_t& thumb = raw.imgdata.thumbnail;
  const QSize picture = SensorPictureSize(raw);
  if (thumb.tformat == LIBRAW_THUMBNAIL_JPEG)
    return DecodeJpegPreview(QByteArray(thumb.thumb, thumb.tlength), picture, needed);
  if (thumb.tformat != LIBRAW_THUMBNAIL_BITMAP) return {};
  const QImage preview = BitmapPreview(thumb);
  if (preview.width() < needed.width() || preview.height() < needed.height() ||
      !AspectsAgree(preview.size(), picture))
    return {};
  return preview;
}

struct ProcessedImageFree {
  void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

QImage Develop(LibRaw& raw, QSize needed) {
  libraw_output_params_t& params = raw.imgdata.params;
  const QSize picture = SensorPictureSize(raw);
  // Half size takes one pixel from each 2 x 2 block of the sensor: no
  // demosaicing, about four times faster, and still more than a pane shows.
  const bool half =
      picture.width() / 2 >= needed.width() && picture.height() / 2 >= needed.height();
  params.half_size = half ? 1 : 0;
  params.use_camera_wb = 1;
  params.output_bps = 8;
  // The sRGB curve rather than LibRaw's BT.709 default: the output is sRGB,
  // and every other picture it is compared with is too.
  params.gamm[0] = 1 / 2.4;
  params.gamm[1] = 12.92;
  params.user_flip = 0;
  const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
  const std::int64_t sensor_bytes = std::int64_t{sizes.raw_width} * sizes.raw_height * 2;
  const QSize developed = half ? picture / 2 : picture;
  if (!FitsDecodeBudget(developed, kDevelopBytesPerPixel) ||
      sensor_bytes + std::int64_t{developed.width()} * developed.height() * kDevelopBytesPerPixel >
          DecodeBudgetBytes()) {
    ReportReadProblem(ReadProblem::kTooLarge);
    return {};
  }
  const int unpacked = raw.unpack();
  if (unpacked == LIBRAW_TOO_BIG) {
    ReportReadProblem(ReadProblem::kTooLarge);
    return {};
  }
  if (unpacked != LIBRAW_SUCCESS || raw.dcraw_process() != LIBRAW_SUCCESS) {
    ReportReadProblem(ReadProblem::kDamaged);
    return {};
  }
  int error = 0;
  const std::unique_ptr<libraw_processed_image_t, ProcessedImageFree> image(
      raw.dcraw_make_mem_image(&error));
  if (!image || image->type != LIBRAW_IMAGE_BITMAP || image->colors != 3 || image->bits != 8)
    return {};
  return QImage(image->data, image->width, image->height, image->width * 3, QImage::Format_RGB888)
      .copy();
}

}  // namespace

bool MayBeCameraRaw(const QByteArray& head) {
  const std::string_view bytes(head.constData(), static_cast<std::size_t>(head.size()));
  constexpr std::string_view kSignatures[] = {{"II*\0", 4}, {"MM\0*", 4}, "IIRO",
                                              "IIRS",       "MMOR",       {"IIU\0", 4},
                                              "FUJIFILM",   {"\0MRM", 4}, "FOVb"};
  for (const std::string_view signature : kSignatures)
    if (bytes.substr(0, signature.size()) == signature) return true;
  // Canon CR3 is an ISO media file of brand "crx ".
  return bytes.substr(4, 8) == "ftypcrx ";
}

bool IsCameraRaw(const QString& path) { return OpenRaw(path) != nullptr; }

std::optional<PictureHeader> ReadRawHeader(const QString& path) {
  const std::unique_ptr<LibRaw> raw = OpenRaw(path);
  if (!raw) return std::nullopt;
  const int orientation = OrientationOf(*raw);
  // Sizes as developed (Fuji's turned sensors, pixels that are not square),
  // given upright by LibRaw; stored axes are what the records use.
  if (raw->adjust_sizes_info_only() != LIBRAW_SUCCESS) return std::nullopt;
  QSize size(raw->imgdata.sizes.iwidth, raw->imgdata.sizes.iheight);
  if (OrientationSwapsAxes(orientation)) size.transpose();
  if (size.isEmpty()) return std::nullopt;
  PictureHeader header;
  header.type = PictureType::kRaster;
  header.width = static_cast<std::uint32_t>(size.width());
  header.height = static_cast<std::uint32_t>(size.height());
  header.orientation = orientation;
  return header;
}

QImage DecodeRaw(const QString& path, const DecodeRequest& request) {
  const std::unique_ptr<LibRaw> raw = OpenRaw(path);
  if (!raw || request.size.isEmpty()) return {};
  const int orientation = OrientationOf(*raw);
  const QSize needed = NeededStoredSize(SensorPictureSize(*raw), orientation, request);
  if (needed.isEmpty()) return {};
  QImage stored = UsablePreview(*raw, needed);
  if (stored.isNull()) stored = Develop(*raw, needed);
  return FinishDecode(stored, orientation, request);
}

QByteArray ReadRawPreview(const QString& path) {
  const std::unique_ptr<LibRaw> raw = OpenRaw(path);
  if (!raw || raw->unpack_thumb() != LIBRAW_SUCCESS) return {};
  const libraw_thumbnail_t& thumb = raw->imgdata.thumbnail;
  if (thumb.tformat == LIBRAW_THUMBNAIL_JPEG && thumb.tlength > 0)
    return QByteArray(thumb.thumb, thumb.tlength);
  if (thumb.tformat == LIBRAW_THUMBNAIL_BITMAP) {
    const QImage preview = BitmapPreview(thumb);
    if (!preview.isNull()) return PpmBytes(preview);
  }
  return {};
}

}  // namespace dupliora
