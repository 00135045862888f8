// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QRect>

#include "compare_window/previews/preview_layout.h"
#include "viewer/pixel_rect.h"

namespace dupliora {

// Rectangles of the controls below the preview band, taken once before the
// first layout; the layout moves them down by the shift of the current size.
struct CapturedRects {
  PixelRect progress;  // 1015
  PixelRect status;    // 1004
  PixelRect field;     // 1053
  PixelRect label;     // 1002
};

// The starting rectangles, stacked from the heights the controls ask for with
// the desktop's fonts (status line, label row, path field).
CapturedRects MakeTemplateRects(int status_height, int label_height, int field_height);

struct LayoutInput {
  int width = 0;  // client size
  int height = 0;
  CapturedRects captured;
  int compare_mode = 0;         // 1: two path fields
  int search_button_count = 0;  // buttons of the search toolbar
  int search_last_button_height = 24;
};

struct WindowLayout {
  PreviewBandLayout preview_band;  // hosts 1000, 1001, captions, ratio box 1005, toolbars
  PixelRect progress;              // 1015
  PixelRect status;                // 1004
  PixelRect rules_bar;
  PixelRect label_load, label_result;         // 1002, 1003
  PixelRect start;                            // 1016
  PixelRect field1, browse1, browse_append1;  // 1053, 1017, 1018
  PixelRect field2, browse2, browse_append2;  // 1054, 1014, 1019
  bool first_field_visible = false;
  PixelRect search_bar;
  int search_button_width = 0;
  PixelRect list_area;  // result list 1012 and the list's file view
};

// Places every child of the comparison window for one client size.
WindowLayout LayoutWindow(const LayoutInput& input);

}  // namespace dupliora
