// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Read-only access to the freedesktop thumbnail cache ($XDG_CACHE_HOME/thumbnails).
// Thumbnails are never created here. A cached thumbnail counts only while its
// Thumb::URI and Thumb::MTime match the file: a stale thumbnail is no thumbnail.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace dupliora {

// The cache folder, read from the environment on every call.
QString ThumbnailCacheFolder();

// The file URI the cache hashes, escaped exactly as GLib's g_filename_to_uri
// escapes the absolute, cleaned path (relative paths count from the current folder).
QByteArray ThumbnailUri(const QString& path);

// Where the cache keeps the thumbnail of `path` in the size folder `size_name`
// ("normal", "large", "x-large", "xx-large"): MD5 of the file URI + ".png".
QString CachedThumbnailPath(const QString& path, const QString& size_name);

// Thumb::Image::Width/Height of a valid cached thumbnail.
std::optional<QSize> ThumbnailCacheImageSize(const QString& path);

// A number that changes whenever a cached thumbnail of `path` appears,
// changes or goes (in any size folder); never 0. A record made with the help
// of the cache is only as good as the thumbnails it saw.
std::int64_t ThumbnailCacheState(const QString& path);

// Best valid cached thumbnail (smallest >= requested, else largest); null if none.
QImage LoadCachedThumbnail(const QString& path, int requested_size);

}  // namespace dupliora
