// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QRect>
#include <QSize>

#include "viewer/pixel_rect.h"

namespace dupliora {

using FitRect = PixelRect;

inline constexpr int kPaneMargin = 5;

// Where a picture of `picture` size goes in a client area of `client` size.
// A picture reaching an edge is shrunk and centred along the other axis; the
// edges it reaches keep those of `start`. A smaller picture is centred at its
// own size. An empty client area gives an empty rectangle.
FitRect ComputeFitRect(FitRect start, QSize client, QSize picture);

// The rectangle the pane paints a stored picture into: the fit with a margin.
FitRect PaintRect(QSize client, QSize picture);

// The size a decoded picture is stored at for a pane of `client` size.
QSize StoredPictureSize(QSize client, QSize picture);

}  // namespace dupliora
