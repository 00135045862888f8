// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <Qt>

class QMimeData;

namespace dupliora {

// The path a drop onto a path field delivers: the first dropped file (a
// .desktop link or .url file gives its target, a web address stays an
// address), else the dropped text. Empty when the drop carries neither.
QString DroppedPath(const QMimeData& data);

// The effect offered while dragging: link for files and addresses, copy for
// plain text, none otherwise.
Qt::DropAction DropEffect(const QMimeData& data);

// The target of a link file (.desktop of type Link, or an internet shortcut
// .url); empty when the file is no such link.
QString LinkFileTarget(const QString& path);

// The field's text with ";" and the folder appended; the old text is trimmed.
QString AppendedPathText(const QString& field_text, const QString& folder);

}  // namespace dupliora
