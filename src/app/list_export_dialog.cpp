// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/list_export_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QSaveFile>
#include <QTableView>

#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/compare_window.h"
#include "core/app_identity.h"
#include "core/language_table.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"
#include "platform/file_manager.h"

namespace dupliora {
namespace {

const QString kListSection = QStringLiteral("List");
const QString kIndexKey = QStringLiteral("ExportIndex");
const QString kDialogTitle = QStringLiteral("Export TXT,CSV,HTML,XLS");

// QSaveFile writes beside the target and renames at the end, so a full disk
// or a failed write never leaves a cut file in place of an older export.
QString WriteWhole(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(bytes) != bytes.size() || !file.commit()) return file.errorString();
  return QString();
}

}  // namespace

ExportUi DefaultExportUi(QWidget* parent) {
  ExportUi ui;
  ui.ask_path = [parent](const QString& default_path, int& filter) {
    const QStringList filters = ExportFilters();
    QString selected = filters.value(filter - 1, filters.first());
    const QString path = QFileDialog::getSaveFileName(
        parent, kDialogTitle, default_path, filters.join(QStringLiteral(";;")), &selected);
    filter = static_cast<int>(filters.indexOf(selected)) + 1;
    return path;
  };
  ui.confirm = [parent](const QString& question) {
    return QMessageBox::question(parent, QString(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
  };
  ui.inform = [parent](const QString& message) {
    QMessageBox::warning(parent, QString(), message);
  };
  ui.open = OpenWithDesktop;
  return ui;
}

ListContent ReadListContent(const QTableView& view) {
  ListContent content;
  const QAbstractItemModel* model = view.model();
  const QHeaderView* header = view.horizontalHeader();
  if (model == nullptr) return content;
  const int count = std::max(1, model->columnCount());
  int first = header != nullptr ? header->visualIndex(0) : 0;
  if (first < 0) first = 0;
  std::vector<int> columns;
  for (int position = first; position < count; ++position) {
    const int column = header != nullptr ? header->logicalIndex(position) : position;
    columns.push_back(column);
    content.headers.append(model->headerData(column, Qt::Horizontal).toString());
  }
  content.rows.reserve(model->rowCount());
  for (int row = 0; row < model->rowCount(); ++row) {
    QStringList cells;
    cells.reserve(static_cast<qsizetype>(columns.size()));
    for (int column : columns) cells.append(model->index(row, column).data().toString());
    content.rows.push_back(std::move(cells));
  }
  return content;
}

QString ListExport(const QTableView& list, const QString& instance_name, CMyProfStr& store,
                   const ExportUi& ui) {
  int filter = std::clamp(store.ReadInt(kListSection, kIndexKey, 1), 1, kExportFormatCount);
  const QString chosen =
      ui.ask_path(QDir::home().filePath(DefaultExportName(instance_name)), filter);
  if (chosen.isEmpty()) return QString();
  filter = std::clamp(filter, 1, kExportFormatCount);
  store.WriteInt(kListSection, kIndexKey, filter);
  const auto format = static_cast<ExportFormat>(filter);
  const QString path = WithForcedExtension(chosen, format);
  // The dialog asked about the name as typed; a name that grew an extension
  // may hit another file, which must not go without a question.
  if (path != chosen && QFileInfo::exists(path) &&
      !ui.confirm(GetString(text::kExportReplace).arg(QDir::toNativeSeparators(path)))) {
    return QString();
  }
  const QString error = WriteWhole(path, ExportBytes(format, ReadListContent(list)));
  if (!error.isEmpty()) {
    ui.inform(GetString(text::kExportFailed) + u'\n' + QDir::toNativeSeparators(path) + u'\n' +
              error);
    return QString();
  }
  if (ui.open) ui.open(path);
  return path;
}

void ExportClientList(QWidget* parent, QWidget* client) {
  auto* window = qobject_cast<CImgCmp2017*>(client);
  if (window == nullptr) return;
  ResultListView* list = window->ResultList();
  list->FlushHeldRows();
  ListExport(*list, Identity().instanceName, Settings(), DefaultExportUi(parent));
}

}  // namespace dupliora
