// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <QDir>
#include <QPointer>
#include <QStandardPaths>

#include "app/child_frame.h"
#include "app/command_ids.h"
#include "app/core/app_identity.h"
#include "app/core/language_table.h"
#include "app/core/settings_store.h"
#include "app/main_window.h"
#include "compare_window/compare_window.h"
#include "compare_window/preview_panes.h"
#include "compare_window/result_list_view.h"
#include "viewer/widgets/pic_window.h"

namespace dupliora {
namespace {

constexpr int kCacheStatusPart = 4;

QString NativeFolder(QStandardPaths::StandardLocation location) {
  return QDir::toNativeSeparators(QStandardPaths::writableLocation(location));
}

}  // namespace

CompareWindowServices DefaultCompareWindowServices(QWidget* window_in_frame) {
  CompareWindowServices services;
  services.store = &Settings();
  services.text = [](int number) { return GetString(number); };
  services.language_id = [] { return Languages().CurrentLanguage(); };
  services.options_section = Identity().settingsName;
  QPointer<QWidget> anchor(window_in_frame);
  services.show_cache_status = [anchor](const QString& line) {
    if (!anchor) return;
    if (auto* main = qobject_cast<CImgCompareMain*>(anchor->window())) {
      main->SetStatusPartText(kCacheStatusPart, line);
    }
  };
  // The home folder comes last, so it is the current entry after a first start.
  services.first_start_folders = {NativeFolder(QStandardPaths::DocumentsLocation),
                                  NativeFolder(QStandardPaths::PicturesLocation),
                                  QDir::toNativeSeparators(QDir::homePath())};
  return services;
}

void RegisterComparisonWindow() {
  SetChildClientFactory([](QWidget* parent) -> QWidget* {
    return new CImgCmp2017(parent, DefaultCompareWindowServices(parent));
  });
}

bool CImgCmp2017::OnCommand(int id) {
  if (id == command::kSelectAll) {
    SelectAllRows();
    return true;
  }
  if (id == command::kInvertSelection) {
    list_->InvertSelection();
    return true;
  }
  return false;
}

void CImgCmp2017::ShowFirst(const QString& path) {
  previews_->Pane(PreviewSide::kLeft)->SetPicture(path);
}

void CImgCmp2017::ShowSecond(const QString& path) {
  previews_->Pane(PreviewSide::kRight)->SetTurn(false);
  previews_->Pane(PreviewSide::kRight)->SetPicture(path);
}

}  // namespace dupliora
