// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Writing a path history as Start does (AddEntry on a field with a long
// history) against one plain store write of one key, in the same process and
// on the same settings file, so the ratio says how many store writes one
// history write costs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "compare_window/path_field/path_field.h"
#include "core/settings_store.h"

namespace dupliora {
namespace {

struct HistoryFixture {
  QTemporaryDir dir;
  CMyProfStr store;
  HistoryFixture(int entries) {
    store.SettingsFilePath = dir.filePath(QStringLiteral("Dupliora.ini"));
    // A settings file of usual size: options, window keys, two histories.
    for (int n = 0; n < 20; ++n) store.WriteInt("Dupliora", QStringLiteral("key_%1").arg(n), n);
    C2017ComboBoxEx seed(nullptr, store);
    seed.SetSection(QStringLiteral("Path1"));
    for (int n = 0; n < entries; ++n) seed.AddEntry(QStringLiteral("/home/user/Pictures/%1").arg(n));
  }
};

void BM_OneStoreWrite(benchmark::State& state) {
  HistoryFixture fixture(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) fixture.store.WriteInt("Dupliora", "m_similarity", 40 + (n++ % 60));
}
BENCHMARK(BM_OneStoreWrite)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

// The history of 64 or 70 entries gets a new top entry, as at every Start.
void BM_AddEntry(benchmark::State& state) {
  HistoryFixture fixture(static_cast<int>(state.range(0)));
  C2017ComboBoxEx field(nullptr, fixture.store);
  field.SetSection(QStringLiteral("Path1"));
  field.LoadHistory();
  int n = 0;
  for (auto _ : state) field.AddEntry(QStringLiteral("/home/user/Pictures/%1").arg(n++ % 8));
}
BENCHMARK(BM_AddEntry)->Arg(64)->Arg(70)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace dupliora

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
