// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Shows a file in the desktop's file manager with the file selected, or
// opens a file with its default application.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace dupliora {

// Opens a URL with the desktop's default application; false when none took it.
using UrlOpener = std::function<bool(const QString& local_path)>;

// QDesktopServices behind the UrlOpener signature.
bool OpenWithDesktop(const QString& local_path);

// Asks org.freedesktop.FileManager1.ShowItems on the session bus (without
// blocking: a file manager may take seconds to start). When no file manager
// answers, the file's folder is opened with `open_folder`. `done` learns
// whether either way worked.
void ShowInFileManager(const QString& path, QObject* context, UrlOpener open_folder,
                       std::function<void(bool shown)> done);

}  // namespace dupliora
