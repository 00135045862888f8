// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/heif_decoder.h"

#include <libheif/heif.h>

#include <QFile>
#include <memory>
#include <mutex>
#include <vector>

namespace dupliora {

namespace {

// Decoding holds the YCbCr planes and the interleaved result side by side.
constexpr int kHeifBytesPerPixel = 8;

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(const heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(const heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using ContextPtr = std::unique_ptr<heif_context, ContextFree>;
using HandlePtr = std::unique_ptr<heif_image_handle, HandleRelease>;
using ImagePtr = std::unique_ptr<heif_image, ImageRelease>;

// The primary image of an open file; the context lives as long as the handle
// needs it (libheif counts references).
HandlePtr OpenPrimaryImage(const QString& path) {
  static std::once_flag init_once;
  std::call_once(init_once, [] { heif_init(nullptr); });
  ContextPtr context(heif_context_alloc());
  if (!context) return {};
  const QByteArray native = QFile::encodeName(path);
  if (heif_context_read_from_file(context.get(), native.constData(), nullptr).code != heif_error_Ok)
    return {};
  heif_image_handle* handle = nullptr;
  if (heif_context_get_primary_image_handle(context.get(), &handle).code != heif_error_Ok)
    return {};
  return HandlePtr(handle);
}

QSize SizeOf(const heif_image_handle* handle) {
  return QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
}

QImage DecodeHandle(const heif_image_handle* handle) {
  const QSize size = SizeOf(handle);
  if (!FitsDecodeBudget(size, kHeifBytesPerPixel)) return {};
  const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
  std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  options->convert_hdr_to_8bit = 1;
  heif_image* decoded = nullptr;
  const heif_error error = heif_decode_image(
      handle, &decoded, heif_colorspace_RGB,
      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
  ImagePtr image(decoded);
  if (error.code != heif_error_Ok || !image) return {};
  int stride = 0;
  const std::uint8_t* plane =
      heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
  if (plane == nullptr || width <= 0 || height <= 0) return {};
  const QImage::Format format = !alpha ? QImage::Format_RGB888
                                : heif_image_is_premultiplied_alpha(image.get())
                                    ? QImage::Format_RGBA8888_Premultiplied
                                    : QImage::Format_RGBA8888;
  // copy(): the pixels belong to libheif's image, released on return.
  return QImage(plane, width, height, stride, format).copy();
}

HandlePtr LargestThumbnail(const heif_image_handle* primary) {
  const int count = heif_image_handle_get_number_of_thumbnails(primary);
  if (count <= 0) return {};
  std::vector<heif_item_id> ids(static_cast<std::size_t>(count));
  const int listed = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
  HandlePtr best;
  for (int i = 0; i < listed; ++i) {
    heif_image_handle* thumb = nullptr;
    if (heif_image_handle_get_thumbnail(primary, ids[i], &thumb).code != heif_error_Ok) continue;
    HandlePtr candidate(thumb);
    const auto area = [](const heif_image_handle* h) {
      const QSize size = SizeOf(h);
      return std::int64_t{size.width()} * size.height();
    };
    if (!best || area(candidate.get()) > area(best.get())) best = std::move(candidate);
  }
  return best;
}

}  // namespace

bool LooksLikeHeif(const QByteArray& head) {
  constexpr int kCheckedBytes = 12;
  if (head.size() < kCheckedBytes) return false;
  return heif_check_filetype(reinterpret_cast<const std::uint8_t*>(head.constData()),
                             static_cast<int>(head.size())) != heif_filetype_no;
}

std::optional<PictureHeader> ReadHeifHeader(const QString& path) {
  const HandlePtr handle = OpenPrimaryImage(path);
  if (!handle) return std::nullopt;
  const QSize size = SizeOf(handle.get());
  if (size.isEmpty()) return std::nullopt;
  PictureHeader header;
  header.type = PictureType::kRaster;
  header.width = static_cast<std::uint32_t>(size.width());
  header.height = static_cast<std::uint32_t>(size.height());
  header.alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  return header;
}

QImage DecodeHeif(const QString& path, const DecodeRequest& request) {
  const HandlePtr handle = OpenPrimaryImage(path);
  if (!handle) return {};
  return FinishDecode(DecodeHandle(handle.get()), kUprightOrientation, request);
}

QByteArray ReadHeifThumbnail(const QString& path) {
  const HandlePtr primary = OpenPrimaryImage(path);
  if (!primary || heif_image_handle_has_alpha_channel(primary.get())) return {};
  const HandlePtr thumb = LargestThumbnail(primary.get());
  if (!thumb) return {};
  const QImage picture = DecodeHandle(thumb.get());
  return picture.isNull() ? QByteArray() : PpmBytes(picture);
}

}  // namespace dupliora
