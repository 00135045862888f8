// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Command 32816: the save dialog, the forced extension, the write and the
// opening of the written file.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "app/list_export.h"

class QTableView;
class QWidget;

namespace dupliora {

class CMyProfStr;

// The dialogs of the export; tests answer from a script.
struct ExportUi {
  // The save dialog: the chosen path, empty when cancelled; `filter` holds the
  // initial filter index (1..5) on the way in and the chosen one on the way out.
  std::function<QString(const QString& default_path, int& filter)> ask_path;
  std::function<bool(const QString& question)> confirm;
  std::function<void(const QString& message)> inform;
  std::function<bool(const QString& path)> open;  // with the desktop's default application
};

// The real dialogs, owned by `parent`.
ExportUi DefaultExportUi(QWidget* parent);

// What the view shows: columns in display order from the display position of
// column 0 on, header texts, then every row's cell texts.
ListContent ReadListContent(const QTableView& view);

// The whole export. Returns the path written, empty when nothing was.
QString ListExport(const QTableView& list, const QString& instance_name, CMyProfStr& store,
                   const ExportUi& ui);

// Command 32816 of the main window on a child's client (the comparison window).
void ExportClientList(QWidget* parent, QWidget* client);

}  // namespace dupliora
