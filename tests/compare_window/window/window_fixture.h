// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "compare_window/window/compare_window.h"
#include "core/settings_store.h"
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

  QTemporaryDir dir_;
  CMyProfStr store_;
  std::unique_ptr<CImgCmp2017> window_;
  QString cache_line_;
  QString picked_;
  QString picker_start_;
};

// A picture with known content: a diagonal gradient, or bars when `bars` is set.
inline bool SavePicture(const QString& path, int w, int h, bool bars) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int v = bars ? ((x / 16) % 2 ? 230 : 20) : (x + y) * 255 / (w + h);
      image.setPixel(x, y, qRgb(v, v, v));
    }
  }
  return image.save(path);
}

}  // namespace dupliora
