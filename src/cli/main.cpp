// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <unistd.h>

#include <QDir>
#include <QGuiApplication>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/cli_options.h"
#include "cli/left_out_listing.h"
#include "cli/match_output.h"
#include "cli/terminal_sink.h"
#include "core/app_identity.h"
#include "core/language_table.h"
#include "core/record_store_location.h"
#include "core/text_numbers.h"
#include "engine/comparison_engine.h"
#include "engine/run_progress.h"

using namespace dupliora;

namespace {

constexpr int kExitPathRejected = 2;
constexpr int kExitEmptyList = 3;
constexpr int kExitOutputFailed = 4;
constexpr int kExitSignalBase = 128;

std::atomic<ComparisonEngine*> g_engine{nullptr};
volatile std::sig_atomic_t g_signal = 0;

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill and timeout, a closed terminal)
// ask the run to stop and keep what it found; a second one ends the program
// at once (SA_RESETHAND). A signal that comes before the run begins holds
// for it too: Shutdown outlives the reset of the stop flag at the start of Run.
void OnStopSignal(int number) {
  if (g_signal == 0) g_signal = number;
  if (ComparisonEngine* engine = g_engine.load()) engine->Shutdown();
}

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // SA_RESTART: a write blocked on a full pipe goes on after the signal
  // rather than failing half done.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
  // A reader that went away shows as EPIPE with a message, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
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

int ReportWriteFailure(int error) {
  std::fprintf(stderr, "dupliora-cli: cannot write the output: %s\n", std::strerror(error));
  return kExitOutputFailed;
}

// Help, version and usage errors; stdout is checked like the matches' output.
int PrintMessage(const CliParse& parse) {
  std::FILE* stream = parse.exit_code == 0 ? stdout : stderr;
  errno = 0;
  const QByteArray text = parse.message.toUtf8();
  const char* end = text.endsWith('\n') ? "" : "\n";
  const bool written =
      std::fprintf(stream, "%s%s", text.constData(), end) >= 0 && std::fflush(stream) == 0;
  if (!written && stream == stdout) return ReportWriteFailure(errno != 0 ? errno : EIO);
  return parse.exit_code;
}

}  // namespace

int main(int argc, char** argv) {
  InstallStopSignals();
  // Help, version and usage errors come before Qt starts: quick, and no
  // platform warnings in front of them.
  QStringList arguments;
  for (int k = 0; k < argc; ++k) arguments << QString::fromLocal8Bit(argv[k]);
  const CliParse parse = ParseCliOptions(arguments);
  if (!parse.options) return PrintMessage(parse);
  const CliOptions& options = *parse.options;
  // Decoding pictures (vector ones too) needs the Gui module, never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("dupliora-cli"));
  QCoreApplication::setApplicationVersion(Identity().versionText);
  const std::shared_ptr<RecordStore> store = OpenRecordStore(options);
  ComparisonEngine engine;
  engine.SetRecordStore(store);
  g_engine = &engine;
  if (g_signal != 0) engine.Shutdown();

  if (::isatty(STDOUT_FILENO) == 0) {
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  }
  MatchWriter writer(stdout, options.json, [&engine] { engine.Shutdown(); });
  // The tool reads no settings, so the language table stays at English.
  RunTexts texts;
  for (int number : RunTextNumbers()) texts.by_number.insert(number, GetString(number));
  TerminalSink sink(stderr, ::isatty(STDERR_FILENO) != 0, writer);
  for (int run = 1; run <= options.repeat && g_signal == 0 && !writer.failed(); ++run) {
    writer.SetEnabled(run == options.repeat);
    engine.Run(options.run, options.path1_text, options.path2_text, texts, sink);
    sink.Finish();
    if (options.repeat > 1) ReportRepeat(run, engine.LastSummary());
    if (engine.LastSummary().outcome != RunOutcome::kCompleted) break;
  }
  if (store && store->Fault() != DbFault::kNone) {  // said once, whatever the output mode
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QDir::toNativeSeparators(store->File())),
                 qUtf8Printable(StoreNoteText(texts, true, store->Fault(), 0)));
  }
  g_engine = nullptr;
  RunSummary summary = engine.LastSummary();
  const int signal_number = g_signal;
  // Listed whatever the outcome: when no picture remains, it tells why.
  if (options.verbose) {
    const QByteArray listing = LeftOutListing(engine.LeftOut());
    std::fwrite(listing.constData(), 1, listing.size(), stderr);
  }
  if (signal_number == 0 && summary.outcome == RunOutcome::kPathRejected) return kExitPathRejected;
  if (signal_number == 0 && summary.outcome == RunOutcome::kEmptyList) return kExitEmptyList;
  // Pictures found but none readable: as empty a list as none found, not a
  // clean run without duplicates.
  if (signal_number == 0 && summary.outcome == RunOutcome::kCompleted && summary.loaded == 0) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(GetString(text::kNoPicturesFound)));
    return kExitEmptyList;
  }
  if (signal_number != 0) summary.outcome = RunOutcome::kStopped;
  if (!writer.Finish(summary, engine.LeftOut())) return ReportWriteFailure(writer.error());
  return signal_number != 0 ? kExitSignalBase + signal_number : 0;
}
