// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QRect>

namespace dupliora {

// Where the preview controls sit, in the comparison window's coordinates.
struct PreviewBandLayout {
  QRect left_host;
  QRect right_host;
  QRect left_caption;
  QRect right_caption;
  QRect ratio_box;
  QRect left_toolbar;
  QRect right_toolbar;
  QRect bounds;  // everything above together
};

// From the window's working rectangle: left L, top T, right R, bottom B
// (the client area inset by 4 on every side).
PreviewBandLayout ComputePreviewBandLayout(int left, int top, int right, int bottom);

// Inside one host: in preview mode 2 the file view takes the left half and
// the picture the rest after a 2-pixel gap; otherwise the picture takes it all.
struct PreviewHostSplit {
  QRect file_view;  // empty outside preview mode 2
  QRect pane;
};
PreviewHostSplit SplitPreviewHost(QRect host_client, int preview_mode);

inline constexpr int kPreviewModePictureOnly = 0;
inline constexpr int kPreviewModeWithFileView = 2;

}  // namespace dupliora
