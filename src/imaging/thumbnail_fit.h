// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Whether an embedded thumbnail (EXIF, a HEIF thumbnail image, a RAW preview)
// shows the picture it comes with. Many cameras store a 160 x 120 thumbnail
// for a 3:2 picture, with black bars above and below; sampled as it is, the
// bars make the picture miss its own turned or mirrored copy. A thumbnail an
// editor left stale after turning or cropping the picture shows something
// else altogether.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>

namespace dupliora {

// How far the aspect ratio of a thumbnail's content may stray from the
// picture's: relative, so 2 % of 1.5 is 0.03.
inline constexpr double kThumbnailAspectTolerance = 0.02;

// Whether the width / height ratios of two sizes agree within the tolerance.
bool SameAspect(QSize a, QSize b, double tolerance = kThumbnailAspectTolerance);

// The part of `thumb` that shows a picture of `picture` size: the whole
// thumbnail when its aspect already agrees, else what is left after cutting
// uniform dark bars (letterbox or pillarbox) when that agrees. nullopt when
// neither does: the thumbnail does not show the picture as it is.
std::optional<QRect> PictureAreaInThumbnail(const QImage& thumb, QSize picture);

// The embedded thumbnail `data` (an encoded picture) stretched to `size`
// after cutting its bars, when it shows a picture of `picture` size; null
// when it does not or cannot be decoded. A thumbnail whose stored size
// already agrees is decoded straight to `size`, as fast as before.
QImage DecodeThumbnailShowingPicture(const QByteArray& data, QSize picture, QSize size);

}  // namespace dupliora
