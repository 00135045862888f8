// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/menu_translation.h"

#include <QAction>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>
#include <memory>

#include "core/language_table.h"

namespace dupliora {

namespace {

constexpr const char* kCaptionNumberProperty = "dupliora_caption_number";

}  // namespace

void TranslateActions(const QList<QAction*>& actions) {
  for (QAction* action : actions) {
    if (QMenu* sub = action->menu()) TranslateMenu(sub);
    const QVariant kept = action->property(kCaptionNumberProperty);
    std::optional<int> number;
    if (kept.isValid()) {
      number = kept.toInt();
    } else {
      number = CaptionStringNumber(action->text());
    }
    if (!number) continue;
    action->setProperty(kCaptionNumberProperty, *number);
    action->setText(GetString(*number));
  }
}

void TranslateMenu(QMenu* menu) {
  if (menu == nullptr) return;
  const QVariant kept = menu->property(kCaptionNumberProperty);
  std::optional<int> number =
      kept.isValid() ? std::optional<int>(kept.toInt()) : CaptionStringNumber(menu->title());
  if (number) {
    menu->setProperty(kCaptionNumberProperty, *number);
    menu->setTitle(GetString(*number));
  }
  TranslateActions(menu->actions());
}

void TranslateMenuBar(QMenuBar* bar) {
  if (bar != nullptr) TranslateActions(bar->actions());
}

bool InstallQtTranslations(int language_id) {
  static QTranslator* installed = nullptr;
  if (installed != nullptr) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  // Only languages with texts of our own: a German Qt dialog inside an
  // English program would be stranger than an English one.
  if (LanguageCode(language_id) != QStringLiteral("DE")) return false;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_de"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  installed = translator.release();
  return QCoreApplication::installTranslator(installed);
}

}  // namespace dupliora
