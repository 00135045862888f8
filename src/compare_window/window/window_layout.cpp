// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/window_layout.h"

#include <algorithm>

#include "compare_window/previews/preview_layout.h"

namespace dupliora {
namespace {

constexpr int kInset = 4;
constexpr int kStartWidth = 156;
constexpr int kBrowseWidth = 33;
constexpr int kDefaultButtonHeight = 24;

// Gaps between the stacked template controls.
constexpr int kTemplateTop = 12;  // the rules toolbar stands 24 above the status line
constexpr int kProgressHeight = 10;
constexpr int kTemplateGap = 4;

PixelRect FromSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

}  // namespace

CapturedRects MakeTemplateRects(int status_height, int label_height, int field_height) {
  CapturedRects rects;
  rects.status = FromSize(0, kTemplateTop, 100, status_height);
  rects.progress = FromSize(0, rects.status.bottom + kTemplateGap, 100, kProgressHeight);
  // The Start button stands 2 pixels above and below its label row.
  rects.label = FromSize(0, rects.progress.bottom + kTemplateGap + 2, 100, label_height);
  rects.field = FromSize(0, rects.label.bottom + kTemplateGap + 4, 100, field_height);
  return rects;
}

namespace {

void PlacePathFields(const LayoutInput& in, int L, int R, int d, int m, WindowLayout& out) {
  const PixelRect& f = in.captured.field;
  const int top = f.top + d;
  const int button_top = top + 1;
  const int button_bottom = f.bottom + d - 1;
  out.field1 = FromSize(L, top, (m - 70) - L, f.Height());
  out.browse1 = {m - 69, button_top, m - 69 + kBrowseWidth, button_bottom};
  out.browse_append1 = {m - 34, button_top, m - 34 + kBrowseWidth, button_bottom};
  out.first_field_visible = in.compare_mode == 1;
  const int x0 = in.compare_mode == 1 ? L + (R - L) / 2 : L;
  out.field2 = FromSize(x0, top, (R - 70) - x0, f.Height());
  out.browse2 = {R - 69, button_top, R - 69 + kBrowseWidth, button_bottom};
  out.browse_append2 = {R - 34, button_top, R - 34 + kBrowseWidth, button_bottom};
}

}  // namespace

WindowLayout LayoutWindow(const LayoutInput& in) {
  WindowLayout out;
  const int L = kInset, T = kInset, R = in.width - kInset, B = in.height - kInset;
  const int d = static_cast<int>((B - T) * 0.45 + 24.0);
  out.preview_band = ComputePreviewBandLayout(L, T, R, B);

  const CapturedRects& cap = in.captured;
  out.progress = FromSize(L, cap.progress.top + d, R - L, cap.progress.Height());
  out.status = FromSize(L, cap.status.top + d, R - L, cap.status.Height());
  out.rules_bar = out.status.Moved(0, -24);

  const int m = R - (R - L) / 2;
  const int t2 = cap.label.top + d, h2 = cap.label.Height();
  out.label_load = {L, t2, m - 80, t2 + h2};
  out.start = FromSize(m - 78, t2 - 2, kStartWidth, h2 + 4);
  out.label_result = {L + (R - L) / 2 + 80, t2, R, t2 + h2};

  PlacePathFields(in, L, R, d, m, out);

  const int y0 = cap.field.bottom + d + 1;
  out.search_bar = {L, y0, R, B};
  out.search_button_width = in.search_button_count > 0 ? (R - L) / in.search_button_count : 0;
  const int h = in.search_button_count > 0 ? in.search_last_button_height : kDefaultButtonHeight;
  out.list_area = {L, y0 + h, R, B};
  return out;
}

}  // namespace dupliora
