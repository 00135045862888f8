// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Interim: no thumbnail cache until the imaging services land.
#include "platform/thumbnail_cache.h"

namespace dupliora {

std::optional<QSize> ThumbnailCacheImageSize(const QString&) { return std::nullopt; }

}  // namespace dupliora
