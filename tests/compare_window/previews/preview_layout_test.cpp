// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_layout.h"

#include <gtest/gtest.h>

namespace dupliora {
namespace {

TEST(PreviewLayoutTest, BandOfAnOrdinaryWindow) {
  // Client 1000 x 800: L 4, T 4, R 996, B 796; band bottom 358, centre 498.
  const PreviewBandLayout layout = ComputePreviewBandLayout(4, 4, 996, 796);
  EXPECT_EQ(layout.left_host, QRect(9, 28, 473 - 9, 348 - 28));
  EXPECT_EQ(layout.right_host, QRect(523, 28, 991 - 523, 348 - 28));
  EXPECT_EQ(layout.left_caption, QRect(9, 348, 464, 15));
  EXPECT_EQ(layout.right_caption, QRect(523, 348, 468, 15));
  EXPECT_EQ(layout.left_toolbar, QRect(9, 4, 464, 22));
  EXPECT_EQ(layout.right_toolbar, QRect(523, 4, 468, 22));
  EXPECT_EQ(layout.ratio_box, QRect(473, 128, 50, 258 - 128));
  EXPECT_EQ(layout.bounds, QRect(9, 4, 991 - 9, 363 - 4));
}

TEST(PreviewLayoutTest, RatioBoxMovesUpInALowWindowAndTinyOnesGoNoNegativeSizes) {
  const struct {
    const char* label;
    int bottom;
    int expected_top, expected_bottom;
  } cases[] = {
      {"exactly 100 left stays", 729, 128, 228},
      {"99 left moves up", 726, 58, 296},
      {"too low for anything", 40, 58, 58},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const QRect box = ComputePreviewBandLayout(4, 4, 996, c.bottom).ratio_box;
    EXPECT_EQ(box.top(), c.expected_top);
    EXPECT_EQ(box.top() + box.height(), c.expected_bottom);
  }
  const PreviewBandLayout tiny = ComputePreviewBandLayout(4, 4, 20, 20);
  for (const QRect& r : {tiny.left_host, tiny.right_host, tiny.ratio_box})
    EXPECT_TRUE(r.width() >= 0 && r.height() >= 0) << r.width() << " x " << r.height();
}

TEST(PreviewLayoutTest, HostSplit) {
  const PreviewHostSplit whole = SplitPreviewHost(QRect(0, 0, 401, 300), kPreviewModePictureOnly);
  EXPECT_TRUE(whole.file_view.isNull());
  EXPECT_EQ(whole.pane, QRect(0, 0, 401, 300));
  const PreviewHostSplit split = SplitPreviewHost(QRect(2, 2, 401, 300), kPreviewModeWithFileView);
  EXPECT_EQ(split.file_view, QRect(2, 2, 200, 300));  // s = trunc(200.5 + 2) = 202
  EXPECT_EQ(split.pane, QRect(204, 2, 199, 300));
}

}  // namespace
}  // namespace dupliora
