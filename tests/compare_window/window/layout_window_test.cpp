// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <ostream>

#include "compare_window/window/window_layout.h"

namespace dupliora {

void PrintTo(const PixelRect& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

PixelRect Edges(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

// Template rectangles as a test fixture: status 22 high, label row 24, field 28.
CapturedRects Captured() {
  CapturedRects c;
  c.status = {0, 26, 100, 48};
  c.progress = {0, 52, 100, 62};
  c.label = {0, 68, 100, 92};
  c.field = {0, 100, 100, 128};
  return c;
}

LayoutInput Input(int w, int h, int mode, int buttons = 4, int last_height = 26) {
  return {w, h, Captured(), mode, buttons, last_height};
}

TEST(LayoutWindow, FieldsFollowTheCompareMode) {
  const WindowLayout two = LayoutWindow(Input(1600, 1000, 1));
  const struct {
    const char* name;
    PixelRect got, want;
  } rows[] = {
      {"host 1001", Edges(two.preview_band.right_host), {823, 28, 1591, 438}},
      {"start 1016", two.start, {722, 536, 878, 564}},
      {"field 1053", two.field1, {4, 570, 730, 598}},
      {"field 1054 from the middle", two.field2, {800, 570, 1526, 598}},
      {"append 1019", two.browse_append2, {1562, 571, 1595, 597}},
      {"list 1012", two.list_area, {4, 625, 1596, 996}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.got, row.want);
  }
  EXPECT_TRUE(two.first_field_visible);
  EXPECT_EQ(two.search_button_width, 398);

  const WindowLayout one = LayoutWindow(Input(640, 400, 0, 0));
  EXPECT_FALSE(one.first_field_visible);
  EXPECT_EQ(one.field2, (PixelRect{4, 300, 566, 328})) << "from the left edge";
  EXPECT_EQ(one.list_area, (PixelRect{4, 353, 636, 396})) << "no search buttons";
  EXPECT_EQ(one.search_button_width, 0);
}

TEST(LayoutWindow, OddWidthsTruncate) {
  // R = 1021: centre trunc(510.5) = 510, half width 1017 / 2 = 508, m = 513.
  const WindowLayout l = LayoutWindow(Input(1025, 700, 1, 3, 24));
  EXPECT_EQ(Edges(l.preview_band.left_host).right, 485);
  EXPECT_EQ(Edges(l.preview_band.right_host).left, 535);
  EXPECT_EQ(l.start.left, 435);
  EXPECT_EQ(l.label_load.right, 433);
  EXPECT_EQ(l.label_result.left, 592);
  EXPECT_EQ(l.field1.right, 443);
  EXPECT_EQ(l.field2.left, 512);
  EXPECT_EQ(l.search_button_width, 339);
  // d = trunc(692 * 0.45 + 24) = 335; list starts one below the field plus the buttons.
  EXPECT_EQ(l.list_area.top, 128 + 335 + 1 + 24);
}

TEST(LayoutWindow, RowsNeverOverlapAndTinyWindowsGiveNoNegativeSizes) {
  for (int size : {0, 1, 8, 30, 360, 1000}) {
    SCOPED_TRACE(size);
    const WindowLayout l = LayoutWindow(Input(size * 3 / 2, size, 1));
    for (const PixelRect& r : {l.field1, l.field2, l.list_area}) {
      const QRect q = r.ToQRect();
      EXPECT_GE(q.width(), 0);
      EXPECT_GE(q.height(), 0);
    }
    if (size < 360) continue;
    EXPECT_LE(Edges(l.preview_band.left_caption).bottom, l.rules_bar.top);
    EXPECT_LE(l.rules_bar.bottom, l.status.top);
    EXPECT_LE(l.status.bottom, l.progress.top);
    EXPECT_LE(l.progress.bottom, l.start.top);
    EXPECT_LE(l.start.bottom, l.field2.top);
  }
}

}  // namespace
}  // namespace dupliora
