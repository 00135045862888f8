// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "compare_window/path_field/path_field.h"
#include "compare_window/window/compare_window.h"
#include "compare_window/window_ids.h"
#include "core/settings_store.h"
#include "support/pictures.h"
#include "support/qt_print.h"

namespace dupliora {

// Texts read as "t" and their number, so tests see which text was used.
inline QString NumberText(int n) { return QStringLiteral("t%1").arg(n); }

// A window over its own settings file in a temporary folder.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    store_.SettingsFilePath = dir_.filePath("Dupliora.ini");
  }
  void TearDown() override { window_.reset(); }

  CompareWindowServices Services() {
    CompareWindowServices s;
    s.store = &store_;
    s.text = NumberText;
    s.options_section = QStringLiteral("Dupliora");
    s.show_cache_status = [this](const QString& line) { cache_line_ = line; };
    s.first_start_folders = {dir_.filePath("Documents"), dir_.filePath("Pictures"), dir_.path()};
    s.pick_folder = [this](QWidget*, const QString& start) {
      picker_start_ = start;
      return picked_;
    };
    s.record_store = record_store_;
    s.record_store_file = record_store_file_;
    return s;
  }
  CImgCmp2017& Open(QSize size = {1024, 700}) {
    window_.reset();
    window_ = std::make_unique<CImgCmp2017>(nullptr, Services());
    window_->resize(size);
    window_->show();
    return *window_;
  }
  // Waits until the worker has returned and its last call has run.
  bool WaitForRun(int ms = 30000) {
    return QTest::qWaitFor([this] { return !window_->WorkerActive(); }, ms);
  }
  // Searches `folder` through the main field and waits for the run to end.
  bool RunOn(const QString& folder) {
    window_->Field(ids::kPathField2)->SetText(folder);
    window_->StartOrStop();
    return WaitForRun();
  }
  // A picture and its copy in a subfolder, a striped one unlike them, and one
  // below the minimum area.
  QString MakePictures() {
    const QString folder = dir_.filePath("pics");
    QDir().mkpath(folder + "/sub");
    const QImage picture = test::GradientImage({200, 150});
    QImage bars = test::SolidImage({200, 150}, QColor(20, 20, 20));
    for (int x = 16; x < 200; x += 32)
      QPainter(&bars).fillRect(x, 0, 16, 150, QColor(230, 230, 230));
    EXPECT_TRUE(test::WritePicture(folder + "/a.png", picture));
    EXPECT_TRUE(test::WritePicture(folder + "/sub/a_copy.png", picture));
    EXPECT_TRUE(test::WritePicture(folder + "/bars.png", bars));
    EXPECT_TRUE(test::WritePicture(folder + "/tiny.png", test::GradientImage({40, 40})));
    return folder;
  }

  QTemporaryDir dir_;
  CMyProfStr store_;
  std::unique_ptr<CImgCmp2017> window_;
  QString cache_line_;
  QString picked_;
  QString picker_start_;
  std::function<std::shared_ptr<RecordStore>()> record_store_;  // none unless a test sets one
  QString record_store_file_;
};

}  // namespace dupliora
