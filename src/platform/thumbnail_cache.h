// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace dupliora {

std::optional<QSize> ThumbnailCacheImageSize(const QString& path);

}  // namespace dupliora
