// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/compare_window_services.h"

#include <QDir>
#include <QPointer>
#include <QStandardPaths>

#include "app/child_frame.h"
#include "app/main_window.h"
#include "compare_window/window/compare_window.h"
#include "core/app_identity.h"
#include "core/language_table.h"
#include "core/settings_store.h"

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
    auto* window = new CImgCmp2017(parent, DefaultCompareWindowServices(parent));
    if (CImgCompareMain* frame = MainFrame()) {
      QObject::connect(frame, &CImgCompareMain::languageChanged, window,
                       &CImgCmp2017::OnLanguageChanged);
    }
    return window;
  });
}

}  // namespace dupliora
