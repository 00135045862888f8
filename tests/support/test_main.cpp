// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Test entry for every test program: an application object exists before
// any test runs, since Qt's image and font code expects one. Widget tests
// replace the QGuiApplication with a QApplication through DUPLIORA_WIDGET_TESTS.
#include <gtest/gtest.h>

#ifdef DUPLIORA_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
#ifdef DUPLIORA_DECODER_PATH
  if (qEnvironmentVariableIsEmpty("DUPLIORA_DECODER"))
    qputenv("DUPLIORA_DECODER", DUPLIORA_DECODER_PATH);
#endif
  TestApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
