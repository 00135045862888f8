// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/jxl_decoder.h"

#include <jxl/decode.h>

#include <memory>
#include <optional>

#include "imaging/picture_file.h"

namespace dupliora {

namespace {

// libjxl keeps float planes while it decodes: 3 channels of 4 bytes, plus the
// 4-byte output.
constexpr int kJxlBytesPerPixel = 16;
// The basic info sits in the first bytes of a bare codestream; a container
// may put Exif and XMP boxes before it, rarely more than a few hundred KB.
constexpr qint64 kHeaderReads[] = {4 * 1024, 256 * 1024, 4 * 1024 * 1024};

struct DecoderDestroy {
  void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};
using DecoderPtr = std::unique_ptr<JxlDecoder, DecoderDestroy>;

PictureHeader HeaderOf(const JxlBasicInfo& info) {
  PictureHeader header;
  header.type = PictureType::kRaster;
  header.width = info.xsize;
  header.height = info.ysize;
  header.alpha = info.alpha_bits != 0;
  header.orientation = static_cast<int>(info.orientation);
  return header;
}

DecoderPtr DecoderFor(const QByteArray& bytes, int events) {
  DecoderPtr decoder(JxlDecoderCreate(nullptr));
  if (!decoder || JxlDecoderSubscribeEvents(decoder.get(), events) != JXL_DEC_SUCCESS ||
      JxlDecoderSetKeepOrientation(decoder.get(), JXL_TRUE) != JXL_DEC_SUCCESS ||
      JxlDecoderSetInput(decoder.get(), reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size())) != JXL_DEC_SUCCESS)
    return {};
  JxlDecoderCloseInput(decoder.get());
  return decoder;
}

// The basic info of `bytes`; nullopt with `more_needed` set when the bytes end
// before the header does.
std::optional<JxlBasicInfo> BasicInfo(const QByteArray& bytes, bool& more_needed) {
  more_needed = false;
  const DecoderPtr decoder = DecoderFor(bytes, JXL_DEC_BASIC_INFO);
  if (!decoder) return std::nullopt;
  const JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
  JxlBasicInfo info{};
  if (status == JXL_DEC_BASIC_INFO &&
      JxlDecoderGetBasicInfo(decoder.get(), &info) == JXL_DEC_SUCCESS)
    return info;
  // With the input closed, a cut header reads as an error, not as a wish for more.
  more_needed = status == JXL_DEC_NEED_MORE_INPUT || status == JXL_DEC_ERROR;
  return std::nullopt;
}

struct DecodedJxl {
  QImage stored;
  int orientation = kUprightOrientation;
};

DecodedJxl DecodeWhole(const QByteArray& bytes) {
  const DecoderPtr decoder = DecoderFor(bytes, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
  if (!decoder) return {};
  DecodedJxl result;
  QImage image;
  JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 4};
  for (;;) {
    switch (JxlDecoderProcessInput(decoder.get())) {
      case JXL_DEC_BASIC_INFO: {
        JxlBasicInfo info{};
        if (JxlDecoderGetBasicInfo(decoder.get(), &info) != JXL_DEC_SUCCESS) return {};
        const QSize size(static_cast<int>(info.xsize), static_cast<int>(info.ysize));
        // Refused before libjxl allocates a single plane for it.
        if (info.xsize > INT32_MAX || info.ysize > INT32_MAX ||
            !FitsDecodeBudget(size, kJxlBytesPerPixel))
          return {};
        result.orientation = static_cast<int>(info.orientation);
        format.num_channels = info.alpha_bits != 0 ? 4 : 3;
        image =
            QImage(size, info.alpha_bits != 0 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
        if (image.isNull()) return {};
        break;
      }
      case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
        std::size_t needed = 0;
        if (image.isNull() ||
            JxlDecoderImageOutBufferSize(decoder.get(), &format, &needed) != JXL_DEC_SUCCESS ||
            needed > static_cast<std::size_t>(image.sizeInBytes()) ||
            JxlDecoderSetImageOutBuffer(decoder.get(), &format, image.bits(),
                                        static_cast<std::size_t>(image.sizeInBytes())) !=
                JXL_DEC_SUCCESS)
          return {};
        break;
      }
      case JXL_DEC_FULL_IMAGE:  // the first frame is enough, also of an animation
        result.stored = image;
        return result;
      default:  // an error, or the input ended before a frame did
        return {};
    }
  }
}

}  // namespace

bool LooksLikeJpegXl(const QByteArray& head) {
  const JxlSignature signature =
      JxlSignatureCheck(reinterpret_cast<const std::uint8_t*>(head.constData()),
                        static_cast<std::size_t>(head.size()));
  return signature == JXL_SIG_CODESTREAM || signature == JXL_SIG_CONTAINER;
}

std::optional<PictureHeader> ReadJpegXlHeader(const QString& path) {
  for (const qint64 limit : kHeaderReads) {
    const QByteArray head = ReadFileHead(path, limit).value_or(QByteArray());
    bool more_needed = false;
    if (const auto info = BasicInfo(head, more_needed)) {
      if (info->xsize == 0 || info->ysize == 0 || info->xsize > INT32_MAX ||
          info->ysize > INT32_MAX)
        return std::nullopt;
      return HeaderOf(*info);
    }
    if (!more_needed || head.size() < limit) return std::nullopt;  // the whole file was read
  }
  return std::nullopt;
}

QImage DecodeJpegXl(const QString& path, const DecodeRequest& request) {
  // Read into memory through the guarded open: a FIFO cannot block it.
  const std::optional<QByteArray> bytes = ReadFileHead(path, DecodeBudgetBytes() + 1);
  if (!bytes || bytes->size() > DecodeBudgetBytes()) return {};
  const DecodedJxl decoded = DecodeWhole(*bytes);
  return FinishDecode(decoded.stored, decoded.orientation, request);
}

}  // namespace dupliora
