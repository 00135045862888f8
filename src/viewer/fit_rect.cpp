// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/fit_rect.h"

#include <algorithm>
#include <cmath>

namespace dupliora {

FitRect ComputeFitRect(FitRect start, QSize client, QSize picture) {
  const int W = client.width();
  const int H = client.height();
  const int w = picture.width();
  const int h = picture.height();
  if (W <= 0 || H <= 0) return {};
  if (w >= W || h >= H) {
    // Single precision on purpose: the rounding of the ratios decides ties.
    const float rw = static_cast<float>(w) / static_cast<float>(W);
    const float rh = static_cast<float>(h) / static_cast<float>(H);
    FitRect result = start;
    if (rh > rw) {
      const int nw = static_cast<int>(std::trunc(static_cast<float>(w) / rh));
      result.left = (W - nw) / 2;
      result.right = result.left + nw;
    } else if (rw > rh) {
      const int nh = static_cast<int>(std::trunc(static_cast<float>(h) / rw));
      result.top = (H - nh) / 2;
      result.bottom = result.top + nh;
    }
    return result;
  }
  FitRect result;
  result.left = std::max((W - w) / 2, 0);
  result.top = std::max((H - h) / 2, 0);
  result.right = result.left + w;
  result.bottom = result.top + h;
  return result;
}

FitRect PaintRect(QSize client, QSize picture) {
  const FitRect margin{kPaneMargin, kPaneMargin, client.width() - kPaneMargin,
                       client.height() - kPaneMargin};
  return ComputeFitRect(margin, client, picture);
}

QSize StoredPictureSize(QSize client, QSize picture) {
  const FitRect whole{0, 0, client.width(), client.height()};
  const FitRect fit = ComputeFitRect(whole, client, picture);
  return QSize(std::max(fit.Width(), 0), std::max(fit.Height(), 0));
}

}  // namespace dupliora
