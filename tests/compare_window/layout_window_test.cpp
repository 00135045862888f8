// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <ostream>

#include "compare_window/window_layout.h"

namespace dupliora {

void PrintTo(const PixelRect& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

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

TEST(LayoutWindow, LargeWindowTwoFolderMode) {
  const WindowLayout l = LayoutWindow(Input(1600, 1000, 1));
  const struct {
    const char* name;
    PixelRect got, want;
  } rows[] = {
      {"host 1000", l.host_left, {9, 28, 773, 438}},
      {"host 1001", l.host_right, {823, 28, 1591, 438}},
      {"caption 6001", l.caption_left, {9, 438, 773, 453}},
      {"caption 6002", l.caption_right, {823, 438, 1591, 453}},
      {"ratio 1005", l.ratio_box, {773, 128, 823, 348}},
      {"preview bar left", l.preview_bar_left, {9, 4, 773, 26}},
      {"preview bar right", l.preview_bar_right, {823, 4, 1591, 26}},
      {"progress 1015", l.progress, {4, 522, 1596, 532}},
      {"status 1004", l.status, {4, 496, 1596, 518}},
      {"rules bar", l.rules_bar, {4, 472, 1596, 494}},
      {"label 1002", l.label_load, {4, 538, 720, 562}},
      {"start 1016", l.start, {722, 536, 878, 564}},
      {"label 1003", l.label_result, {880, 538, 1596, 562}},
      {"field 1053", l.field1, {4, 570, 730, 598}},
      {"browse 1017", l.browse1, {731, 571, 764, 597}},
      {"append 1018", l.browse_append1, {766, 571, 799, 597}},
      {"field 1054", l.field2, {800, 570, 1526, 598}},
      {"browse 1014", l.browse2, {1527, 571, 1560, 597}},
      {"append 1019", l.browse_append2, {1562, 571, 1595, 597}},
      {"search bar", l.search_bar, {4, 599, 1596, 996}},
      {"list 1012", l.list_area, {4, 625, 1596, 996}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.got, row.want);
  }
  EXPECT_TRUE(l.first_field_visible);
  EXPECT_EQ(l.search_button_width, 398);
}

TEST(LayoutWindow, SmallWindowOneFolderModeUsesLowRatioBox) {
  const WindowLayout l = LayoutWindow(Input(640, 400, 0, 0));
  const struct {
    const char* name;
    PixelRect got, want;
  } rows[] = {
      {"host 1000", l.host_left, {9, 28, 293, 168}},
      {"host 1001", l.host_right, {343, 28, 631, 168}},
      {"ratio 1005 low", l.ratio_box, {293, 58, 343, 148}},
      {"status 1004", l.status, {4, 226, 636, 248}},
      {"rules bar", l.rules_bar, {4, 202, 636, 224}},
      {"progress 1015", l.progress, {4, 252, 636, 262}},
      {"label 1002", l.label_load, {4, 268, 240, 292}},
      {"start 1016", l.start, {242, 266, 398, 294}},
      {"label 1003", l.label_result, {400, 268, 636, 292}},
      {"field 1054 from the left", l.field2, {4, 300, 566, 328}},
      {"browse 1014", l.browse2, {567, 301, 600, 327}},
      {"append 1019", l.browse_append2, {602, 301, 635, 327}},
      {"list without buttons", l.list_area, {4, 353, 636, 396}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.got, row.want);
  }
  EXPECT_FALSE(l.first_field_visible);
  EXPECT_EQ(l.search_button_width, 0);
}

TEST(LayoutWindow, RatioBoxSwitchesBelowOneHundredPixels) {
  // B = 729: band bottom 328, box 128..228 is exactly 100 high and stays.
  // B = 728: band bottom 327, 99 would be left, so the box moves to 58..297.
  const struct {
    int height;
    PixelRect want;
  } rows[] = {
      {733, {0, 128, 0, 228}},
      {732, {0, 58, 0, 297}},
      {2000, {0, 128, 0, 798}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.height);
    const PixelRect box = LayoutWindow(Input(800, row.height, 0)).ratio_box;
    EXPECT_EQ(box.top, row.want.top);
    EXPECT_EQ(box.bottom, row.want.bottom);
    EXPECT_EQ(box.Width(), 50);
  }
}

TEST(LayoutWindow, OddWidthsTruncate) {
  // R = 1021: centre trunc(510.5) = 510, half width 1017 / 2 = 508, m = 513.
  const WindowLayout l = LayoutWindow(Input(1025, 700, 1, 3, 24));
  EXPECT_EQ(l.host_left.right, 485);
  EXPECT_EQ(l.host_right.left, 535);
  EXPECT_EQ(l.start.left, 435);
  EXPECT_EQ(l.label_load.right, 433);
  EXPECT_EQ(l.label_result.left, 592);
  EXPECT_EQ(l.field1.right, 443);
  EXPECT_EQ(l.field2.left, 512);
  EXPECT_EQ(l.search_button_width, 339);
  // d = trunc(692 * 0.45 + 24) = 335; list starts one below the field plus the buttons.
  EXPECT_EQ(l.list_area.top, 128 + 335 + 1 + 24);
}

TEST(LayoutWindow, TinyWindowGivesNoNegativeSizes) {
  for (int size : {0, 1, 8, 30}) {
    SCOPED_TRACE(size);
    const WindowLayout l = LayoutWindow(Input(size, size, 1));
    for (const PixelRect& r : {l.host_left, l.host_right, l.field1, l.field2, l.list_area}) {
      const QRect q = r.ToQRect();
      EXPECT_GE(q.width(), 0);
      EXPECT_GE(q.height(), 0);
    }
  }
}

TEST(MakeTemplateRects, StacksRulesStatusProgressLabelField) {
  const CapturedRects c = MakeTemplateRects(22, 24, 30);
  EXPECT_GE(c.status.top, 8) << "the rules toolbar, 24 above the status line, clears the captions";
  EXPECT_EQ(c.status.Height(), 22);
  EXPECT_GT(c.progress.top, c.status.bottom - 1);
  EXPECT_GE(c.label.top - 2, c.progress.bottom) << "Start reaches 2 above its label";
  EXPECT_EQ(c.label.Height(), 24);
  EXPECT_GE(c.field.top, c.label.bottom + 2);
  EXPECT_EQ(c.field.Height(), 30);
}

}  // namespace
}  // namespace dupliora
