// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>

namespace dupliora {

// The program's own sample picture, shown before the first pair.
inline constexpr char kSamplePictureResource[] = ":/viewer/sample.png";

// Size and modification time of a file when it was requested: a file that
// changed under the same path (a copy over it, an edit) is loaded anew.
struct FileStamp {
  qint64 size = -1;
  qint64 modified_ns = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp PictureFileStamp(const QString& path);

// What a pane asks its loader for. Two requests that compare equal give the
// same picture, so the loader skips the second one.
struct PictureRequest {
  QString path;           // file path, or resource name when `resource` is set
  bool resource = false;  // the path names a picture embedded in the program
  bool turn = false;      // turn the picture by 180 degrees
  QSize client;           // the pane's client size at the time of the request
  FileStamp stamp;        // of the file at the time of the request

  friend bool operator==(const PictureRequest&, const PictureRequest&) = default;
};

// Turns a request into the picture to store: already scaled for the pane.
// Called on the loader thread; a null image when nothing can be shown. A
// source that waits gives up soon after `cancel` is set (the pane closes).
using PictureSource =
    std::function<QImage(const PictureRequest& request, const std::atomic<bool>& cancel)>;

// The program's way of loading: embedded resources here, files in a decoder
// process (so a file that crashes or hangs its decoder costs only its
// picture), or here when no decoder program can be started.
QImage LoadPaneSourcePicture(const PictureRequest& request, const std::atomic<bool>& cancel);

// A file's picture as LoadPaneSourcePicture gives it, made in this process:
// the desktop's thumbnail cache for opaque pictures, else scaled decoding.
QImage LoadPaneFilePicture(const PictureRequest& request);

// Starts a decoder process for the panes ahead of their first picture.
void PrestartPaneDecoder();

// The decoder process's side of a pane's job.
QByteArray ServePanePictureJob(const QByteArray& body);

// Finds a ready-made thumbnail of a file for a requested edge length.
using ThumbnailLookup = std::function<QImage(const QString& path, int requested_size)>;

// A file's picture for a pane of `client` size: a thumbnail from `thumbnails`
// for an opaque picture when it is large enough, else the decoded file.
QImage LoadFilePicture(const QString& path, QSize client, const ThumbnailLookup& thumbnails);

// An embedded picture by its resource name; null when there is none.
QImage LoadResourcePicture(const QString& name);

}  // namespace dupliora
