// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_layout.h"

#include <algorithm>
#include <tuple>

#include "viewer/pixel_rect.h"

namespace dupliora {
namespace {

constexpr int kToolbarBand = 24;
constexpr int kToolbarHeight = 22;
constexpr int kCaptionHeight = 15;
constexpr int kCaptionGap = 10;
constexpr int kRatioHalfWidth = 25;
constexpr int kMinRatioHeight = 100;

// A window too small for the band gives empty rectangles, never negative ones.
QRect FromEdges(int left, int top, int right, int bottom) {
  return PixelRect{left, top, right, bottom}.ToQRect();
}

}  // namespace

PreviewBandLayout ComputePreviewBandLayout(int left, int top, int right, int bottom) {
  const int band_top = top + kToolbarBand;
  const int band_bottom = static_cast<int>(bottom * 0.45);
  const int centre = static_cast<int>(right * 0.5);
  const int host_bottom = band_bottom - kCaptionGap;
  PreviewBandLayout layout;
  layout.left_host = FromEdges(left + 5, band_top, centre - kRatioHalfWidth, host_bottom);
  layout.right_host = FromEdges(centre + kRatioHalfWidth, band_top, right - 5, host_bottom);
  for (auto [host, caption, toolbar] :
       {std::tuple{&layout.left_host, &layout.left_caption, &layout.left_toolbar},
        std::tuple{&layout.right_host, &layout.right_caption, &layout.right_toolbar}}) {
    *caption = QRect(host->left(), host_bottom, host->width(), kCaptionHeight);
    *toolbar = QRect(host->left(), top, host->width(), kToolbarHeight);
  }
  int ratio_top = top + 124;
  int ratio_bottom = band_bottom - 100;
  if (ratio_bottom - ratio_top < kMinRatioHeight) {
    ratio_top = top + 54;
    ratio_bottom = band_bottom - 30;
  }
  layout.ratio_box =
      FromEdges(centre - kRatioHalfWidth, ratio_top, centre + kRatioHalfWidth, ratio_bottom);
  layout.bounds = layout.left_toolbar | layout.right_caption | layout.left_caption |
                  layout.right_toolbar | layout.ratio_box;
  return layout;
}

PreviewHostSplit SplitPreviewHost(QRect host_client, int preview_mode) {
  if (preview_mode != kPreviewModeWithFileView) return {QRect(), host_client};
  const int split = static_cast<int>(host_client.width() * 0.5 + host_client.left());
  const int right_edge = host_client.left() + host_client.width();
  return {FromEdges(host_client.left(), host_client.top(), split, host_client.bottom() + 1),
          FromEdges(split + 2, host_client.top(), right_edge, host_client.bottom() + 1)};
}

}  // namespace dupliora
