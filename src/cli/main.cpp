// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <memory>

#include "cli/cli_options.h"
#include "cli/match_output.h"
#include "cli/terminal_sink.h"
#include "core/app_identity.h"
#include "core/language_table.h"
#include "core/record_store_location.h"
#include "engine/comparison_engine.h"
#include "engine/run_progress.h"

using namespace dupliora;

namespace {

constexpr int kExitPathRejected = 2;
constexpr int kExitEmptyList = 3;
constexpr int kExitInterrupted = 130;

ComparisonEngine* g_engine = nullptr;
volatile std::sig_atomic_t g_interrupted = 0;

// The first Ctrl+C asks the run to stop and keeps what it found; a second
// one ends the program at once.
void OnInterrupt(int) {
  g_interrupted = 1;
  if (g_engine != nullptr) g_engine->RequestStop();
  std::signal(SIGINT, SIG_DFL);
}

void ReportRepeat(int run, const RunSummary& s) {
  std::fprintf(stderr,
               "run %d: loaded %d, decoded %d, from cache %d (store %d), load %lld ms, "
               "compare %lld ms\n",
               run, s.loaded, s.decoded, s.from_cache, s.from_store,
               static_cast<long long>(s.load_ms), static_cast<long long>(s.compare_ms));
}

std::shared_ptr<RecordStore> OpenRecordStore(const CliOptions& options) {
  if (!options.use_cache) return nullptr;
  const QString file =
      !options.cache_file.isEmpty()
          ? options.cache_file
          : RecordStorePathBesideProgram(QCoreApplication::applicationFilePath(), Identity());
  return std::make_shared<RecordStore>(file);
}

}  // namespace

int main(int argc, char** argv) {
  // Decoding pictures (vector ones too) needs the Gui module, never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("dupliora-cli"));
  QCoreApplication::setApplicationVersion(Identity().versionText);

  const CliParse parse = ParseCliOptions(QCoreApplication::arguments());
  if (!parse.options) {
    std::fprintf(parse.exit_code == 0 ? stdout : stderr, "%s\n", qUtf8Printable(parse.message));
    return parse.exit_code;
  }
  const CliOptions& options = *parse.options;
  const std::shared_ptr<RecordStore> store = OpenRecordStore(options);
  ComparisonEngine engine;
  engine.SetRecordStore(store);
  g_engine = &engine;
  std::signal(SIGINT, OnInterrupt);

  // The tool reads no settings, so the language table stays at English.
  RunTexts texts;
  for (int number : RunTextNumbers()) texts.by_number.insert(number, GetString(number));
  TerminalSink sink(stderr, ::isatty(STDERR_FILENO) != 0);
  for (int run = 1; run <= options.repeat && !g_interrupted; ++run) {
    engine.Run(options.run, options.path1_text, options.path2_text, texts, sink);
    sink.Finish();
    if (options.repeat > 1) ReportRepeat(run, engine.LastSummary());
    if (engine.LastSummary().outcome != RunOutcome::kCompleted) break;
  }
  if (store && store->Fault() != DbFault::kNone) {  // said once, whatever the output mode
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QDir::toNativeSeparators(store->File())),
                 qUtf8Printable(StoreNoteText(texts, true, store->Fault(), 0)));
  }
  const RunSummary& summary = engine.LastSummary();
  if (!g_interrupted && summary.outcome == RunOutcome::kPathRejected) return kExitPathRejected;
  if (!g_interrupted && summary.outcome == RunOutcome::kEmptyList) return kExitEmptyList;

  const QByteArray out =
      options.json ? MatchesAsJson(sink.Matches(), summary) : MatchesAsTsv(sink.Matches());
  std::fwrite(out.constData(), 1, out.size(), stdout);
  std::fflush(stdout);
  return g_interrupted ? kExitInterrupted : 0;
}
