// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/fit_rect.h"

#include <gtest/gtest.h>

#include <ostream>

namespace dupliora {

void PrintTo(const FitRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

struct FitCase {
  const char* label;
  QSize client;
  QSize picture;
  FitRect expected;
};

TEST(ComputeFitRectTest, FromWholeClientArea) {
  const FitCase cases[] = {
      {"wide picture shrinks to full width", {400, 300}, {1600, 900}, {0, 37, 400, 262}},
      {"tall picture shrinks to full height", {400, 300}, {900, 1600}, {116, 0, 284, 300}},
      {"same aspect keeps the start value", {400, 300}, {4000, 3000}, {0, 0, 400, 300}},
      {"small picture centred at its size", {400, 300}, {100, 50}, {150, 125, 250, 175}},
      {"exactly the pane width counts as reaching it", {400, 300}, {400, 100}, {0, 100, 400, 200}},
      {"odd remainder rounds toward zero", {401, 301}, {100, 50}, {150, 125, 250, 175}},
      {"picture one pixel smaller fits", {400, 300}, {399, 299}, {0, 0, 399, 299}},
      {"empty picture sits in the middle", {400, 300}, {0, 0}, {200, 150, 200, 150}},
      {"hair-thin picture keeps a zero height", {400, 300}, {100000, 1}, {0, 150, 400, 150}},
      {"no client width gives nothing", {0, 300}, {100, 50}, {}},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.label);
    const FitRect start{0, 0, c.client.width(), c.client.height()};
    EXPECT_EQ(ComputeFitRect(start, c.client, c.picture), c.expected);
  }
}

TEST(ComputeFitRectTest, PaintKeepsMarginOnReachedEdges) {
  const FitCase cases[] = {
      {"thumbnail of a 4000x3000 photo", {400, 300}, {800, 600}, {5, 5, 395, 295}},
      {"stored 1600x900 picture", {400, 300}, {400, 225}, {5, 37, 395, 262}},
      {"small transparent picture has no margin", {400, 300}, {100, 50}, {150, 125, 250, 175}},
      {"pane smaller than the margins", {8, 8}, {100, 100}, {5, 5, 3, 3}},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(PaintRect(c.client, c.picture), c.expected);
  }
}

}  // namespace
}  // namespace dupliora
