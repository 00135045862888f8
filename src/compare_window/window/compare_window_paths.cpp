// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QFileDialog>
#include <QPushButton>

#include "compare_window/path_field/path_alert.h"
#include "compare_window/path_field/path_drop.h"
#include "compare_window/path_field/path_field.h"
#include "compare_window/window/compare_window.h"
#include "compare_window/window_ids.h"
#include "core/text_numbers.h"
#include "engine/path_list.h"

namespace dupliora {
namespace {

const QString kPickerTitle = QStringLiteral("Verzeichnisauswahl / Select a directory:");

int FieldIndex(int field_id) { return field_id == ids::kPathField1 ? 0 : 1; }

}  // namespace

void CImgCmp2017::CreatePathFields() {
  const int field_ids[] = {ids::kPathField1, ids::kPathField2};
  const int browse_ids[] = {ids::kBrowse1, ids::kBrowse2};
  const int append_ids[] = {ids::kBrowseAppend1, ids::kBrowseAppend2};
  for (int i = 0; i < 2; ++i) {
    C2017ComboBoxEx* field = fields_[i] = new C2017ComboBoxEx(this, *services_.store);
    field->setObjectName(QString::number(field_ids[i]));
    field->SetAutoComplete();
    field->SetSection(i == 0 ? QStringLiteral("Path1") : QStringLiteral("Path2"));
    if (i == 1) field->FillFirstStartDefaults(services_.first_start_folders);
    field->LoadHistory();
    browse_[i] = new QPushButton(QStringLiteral("..."), this);
    browse_[i]->setObjectName(QString::number(browse_ids[i]));
    browse_append_[i] = new QPushButton(QStringLiteral("...+"), this);
    browse_append_[i]->setObjectName(QString::number(append_ids[i]));
    for (QPushButton* button : {browse_[i], browse_append_[i]}) {
      button->setAutoDefault(false);
      button->setMinimumSize(0, 0);
    }
    connect(field, &C2017ComboBoxEx::PathDropped, this,
            [this, id = field_ids[i]](const QString& path, bool replace) {
              OnPathDropped(id, path, replace);
            });
    connect(browse_[i], &QPushButton::clicked, this,
            [this, id = field_ids[i]] { Browse(id, false); });
    connect(browse_append_[i], &QPushButton::clicked, this,
            [this, id = field_ids[i]] { Browse(id, true); });
  }
}

C2017ComboBoxEx* CImgCmp2017::Field(int field_id) const { return fields_[FieldIndex(field_id)]; }

void CImgCmp2017::ShowPathAlert(int field_id, const QString& message) {
  alert_->Show(Field(field_id), Text(text::kPathAlertTitle), message);
}

void CImgCmp2017::AppendPathToField(int field_id, const QString& folder) {
  C2017ComboBoxEx* field = Field(field_id);
  field->SetText(AppendedPathText(field->Text(), folder));
}

// "..." replaces the field's text with the chosen folder, "...+" appends it.
void CImgCmp2017::Browse(int field_id, bool append) {
  C2017ComboBoxEx* field = Field(field_id);
  QString copy = field->Text();
  const QString start = SplitPathList(copy);
  const QString folder = services_.pick_folder
                             ? services_.pick_folder(this, start)
                             : QFileDialog::getExistingDirectory(this, kPickerTitle, start);
  if (folder.isEmpty()) return;
  const QString native = QDir::toNativeSeparators(folder);
  if (!append) {
    field->AddEntry(native);
    return;
  }
  AppendPathToField(field_id, native);
  QString text = field->Text();
  // The first field drops repeated and too short entries on the way.
  if (field_id == ids::kPathField1) SplitPathList(text);
  field->AddEntry(text);
}

// The main list's field takes them as a drop that replaces its text: the
// entry joins the history, and Start compares them.
void CImgCmp2017::TakeStartPaths(const QString& path_list) {
  OnPathDropped(ids::kPathField2, path_list, true);
}

void CImgCmp2017::OnPathDropped(int field_id, const QString& path, bool replace) {
  if (replace) {
    Field(field_id)->AddEntry(path);
  } else {
    AppendPathToField(field_id, path);
  }
}

}  // namespace dupliora
