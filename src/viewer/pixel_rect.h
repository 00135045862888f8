// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QRect>
#include <algorithm>

namespace dupliora {

// A rectangle by its edges, as the layout and fit rules state them: right and
// bottom lie one past the last pixel (unlike QRect's inclusive edges), so
// width = right - left.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  PixelRect Moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  // Never a negative size: a tiny window squeezes controls to nothing.
  QRect ToQRect() const { return QRect(left, top, std::max(0, Width()), std::max(0, Height())); }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace dupliora
