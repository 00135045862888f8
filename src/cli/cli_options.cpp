// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/cli_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace dupliora {

namespace {

constexpr int kUsageError = 1;

std::optional<int> IntValue(const QCommandLineParser& parser, const QString& name, int low,
                            int high) {
  bool ok = false;
  const int value = parser.value(name).toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace

CliParse ParseCliOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Finds identical and similar pictures. One path list: its pictures among themselves;\n"
      "with --against: every picture of the first list against every one of the second.\n"
      "A path list is one or more folders or files separated by ';'."));
  parser.addPositionalArgument(QStringLiteral("PATHLIST"), QStringLiteral("Folders to compare."));
  parser.addOptions({
      {QStringLiteral("against"), QStringLiteral("Compare PATHLIST1 against PATHLIST."),
       QStringLiteral("PATHLIST1")},
      {QStringLiteral("similarity"), QStringLiteral("Threshold in percent, 40..100 (90)."),
       QStringLiteral("N"), QStringLiteral("90")},
      {QStringLiteral("rotated"), QStringLiteral("Also find turned copies.")},
      {QStringLiteral("flipped"), QStringLiteral("Also find mirrored copies.")},
      {QStringLiteral("negative"), QStringLiteral("Also find negatives.")},
      {QStringLiteral("no-subfolders"), QStringLiteral("Do not enter subfolders.")},
      {QStringLiteral("rule"), QStringLiteral("Signature rule 1, 2 or 3 (1)."), QStringLiteral("N"),
       QStringLiteral("1")},
      {QStringLiteral("threads"), QStringLiteral("Threads (default: all cores)."),
       QStringLiteral("N"), QStringLiteral("0")},
      {QStringLiteral("json"), QStringLiteral("Machine-readable output.")},
      {QStringLiteral("cache"),
       QStringLiteral("Remember pictures in FILE (default: the user's cache folder)."),
       QStringLiteral("FILE")},
      {QStringLiteral("no-cache"), QStringLiteral("Neither read nor remember pictures.")},
  });
  QCommandLineOption repeat(QStringLiteral("repeat"), QStringLiteral("Runs in one process."),
                            QStringLiteral("N"), QStringLiteral("1"));
  repeat.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(repeat);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();

  CliParse result;
  if (!parser.parse(arguments)) return {std::nullopt, parser.errorText(), kUsageError};
  if (parser.isSet(help)) return {std::nullopt, parser.helpText(), 0};
  if (parser.isSet(version)) {
    return {std::nullopt,
            QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion(), 0};
  }
  if (parser.positionalArguments().size() != 1) {
    return {std::nullopt, QStringLiteral("One PATHLIST is needed.\n") + parser.helpText(),
            kUsageError};
  }
  CliOptions options;
  const auto similarity = IntValue(parser, QStringLiteral("similarity"), 40, 100);
  const auto rule = IntValue(parser, QStringLiteral("rule"), 1, 3);
  const auto threads = IntValue(parser, QStringLiteral("threads"), 0, 1024);
  const auto runs = IntValue(parser, QStringLiteral("repeat"), 1, 100);
  if (!similarity || !rule || !threads || !runs) {
    return {std::nullopt,
            QStringLiteral("--similarity takes 40..100, --rule 1..3, --threads 0..1024."),
            kUsageError};
  }
  options.run.similarity = *similarity;
  options.run.signature_rule = *rule;
  options.run.threads = *threads;
  options.repeat = *runs;
  options.run.search_rotated = parser.isSet(QStringLiteral("rotated"));
  options.run.search_flipped = parser.isSet(QStringLiteral("flipped"));
  options.run.search_negative = parser.isSet(QStringLiteral("negative"));
  options.run.subfolder = !parser.isSet(QStringLiteral("no-subfolders"));
  options.json = parser.isSet(QStringLiteral("json"));
  options.use_cache = !parser.isSet(QStringLiteral("no-cache"));
  options.cache_file = parser.value(QStringLiteral("cache"));
  if (parser.isSet(QStringLiteral("cache")) &&
      (!options.use_cache || options.cache_file.isEmpty())) {
    return {std::nullopt, QStringLiteral("--cache takes a file and excludes --no-cache."),
            kUsageError};
  }
  if (parser.isSet(QStringLiteral("against"))) {
    options.run.compare_mode = 1;
    options.path1_text = parser.value(QStringLiteral("against"));
  }
  options.path2_text = parser.positionalArguments().constFirst();
  result.options = options;
  return result;
}

}  // namespace dupliora
