// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// What the benchmarks of pictures to records share: the photograph-like
// picture they encode, the record loop, and a main that sets Qt up.
#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <memory>
#include <random>
#include <string>

#include "engine/record_maker.h"

namespace dupliora::bench {

// Smooth gradients under fine noise: compresses like a photograph.
inline QImage DrawPhoto(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  std::minstd_rand random(12345);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int n = static_cast<int>(random() % 32);
      line[x] = qRgb((x * 223 / size.width() + n) & 0xFF, (y * 223 / size.height() + n) & 0xFF,
                     ((x + y) * 111 / size.width() + n) & 0xFF);
    }
  }
  return image;
}

// Makes the record of `path` by signature rule `rule` once per iteration.
inline void MakeRecords(benchmark::State& state, const QString& path, int rule,
                        const std::string& name) {
  RecordMaker maker(rule);
  auto record = std::make_unique<ImageRecord>();
  for (auto _ : state) {
    *record = ImageRecord{};
    if (!maker.MakeRecord(path, *record)) state.SkipWithError("no record");
    benchmark::DoNotOptimize(record->gray);
  }
  state.SetLabel(name + " rule " + std::to_string(rule));
  state.SetItemsProcessed(state.iterations());
}

inline int RunBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace dupliora::bench
