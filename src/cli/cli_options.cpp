// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/cli_options.h"

#include <QCommandLineParser>

#include "core/app_identity.h"

namespace dupliora {

namespace {

constexpr int kUsageError = 1;

const char kHelpText[] = R"(Usage: dupliora-cli [OPTION]... PATHLIST
  or:  dupliora-cli [OPTION]... --against PATHLIST1 PATHLIST
Find identical and similar pictures: those of PATHLIST among themselves, or
with --against every picture of PATHLIST1 against every one of PATHLIST.
A path list is one or more folders or picture files separated by ';'.

      --against=PATHLIST1  compare the pictures of PATHLIST1 with those of PATHLIST
      --similarity=N       threshold in percent, 40 to 100 (default 90)
      --rotated            also find turned copies
      --flipped            also find mirrored copies
      --negative           also find negatives
      --no-subfolders      do not enter subfolders
      --rule=N             signature rule 1, 2 or 3 (default 1)
      --threads=N          threads to use (default 0: all cores)
      --json               write one JSON document instead of lines
      --verbose            list every file left out, with its reason, on stderr
      --cache=FILE         remember pictures in FILE (default: the user's cache
                           folder), so an unchanged picture is not decoded again
      --no-cache           neither read nor remember pictures
  -h, --help     display this help and exit
      --version  output version information and exit

Matches are written to standard output as they are found, not sorted, one
line each with seven tab-separated fields: first path, second path,
similarity, aspect agreement (percent), rotation (degrees), flip (0 none,
1 upside down, 2 mirrored) and negative (0 or 1). In the paths a backslash
is written as \\, a tab as \t, a line feed as \n and a carriage return as \r.
With --json: {"matches": [{"first": ..., "second": ..., "similarity": ...,
"ratio": ..., "rotation": ..., "flip": ..., "negative": ...}, ...],
"summary": {..., "left_out": {"damaged": 2, ...}}}. Progress goes to
standard error; the summary counts the files left out by reason.

Exit status:
 0  the comparison ran to its end
 1  the command line is wrong
 2  a path list names something that does not exist or cannot be used
 3  no pictures to compare were found, or none of them could be read
 4  the output could not be written (a full disk, a closed pipe)
 128+N  stopped by signal N (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP); the
    matches found until then have been written, and the JSON document closed
)";

std::optional<int> IntValue(const QCommandLineParser& parser, const QString& name, int low,
                            int high) {
  bool ok = false;
  const int value = parser.value(name).toInt(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

CliParse UsageError(const QString& message) {
  return {std::nullopt,
          QStringLiteral("dupliora-cli: %1\nTry 'dupliora-cli --help' for more information.")
              .arg(message),
          kUsageError};
}

}  // namespace

QString CliHelpText() { return QString::fromUtf8(kHelpText); }

QString CliVersionText() {
  return QStringLiteral(
             "dupliora-cli (%1) %2\n"
             "Copyright (C) 2026 Dupliora developers\n"
             "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
             "This is free software: you are free to change and redistribute it.\n"
             "There is NO WARRANTY, to the extent permitted by law.\n")
      .arg(Identity().productName, Identity().versionText);
}

CliParse ParseCliOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  const QString n = QStringLiteral("N");
  parser.addOptions({
      {QStringLiteral("against"), {}, QStringLiteral("PATHLIST1")},
      {QStringLiteral("similarity"), {}, n, QStringLiteral("90")},
      {QStringLiteral("rotated"), {}},
      {QStringLiteral("flipped"), {}},
      {QStringLiteral("negative"), {}},
      {QStringLiteral("no-subfolders"), {}},
      {QStringLiteral("rule"), {}, n, QStringLiteral("1")},
      {QStringLiteral("threads"), {}, n, QStringLiteral("0")},
      {QStringLiteral("json"), {}},
      {QStringLiteral("cache"), {}, QStringLiteral("FILE")},
      {QStringLiteral("no-cache"), {}},
      {QStringLiteral("verbose"), {}},
      // Decodes without the guard of the decoder processes: only to measure it.
      {QStringLiteral("in-process"), {}},
      // Runs in one process, so that the second shows the cache.
      {QStringLiteral("repeat"), {}, n, QStringLiteral("1")},
      {{QStringLiteral("h"), QStringLiteral("help")}, {}},
      {QStringLiteral("version"), {}},
  });
  if (!parser.parse(arguments)) return UsageError(parser.errorText());
  if (parser.isSet(QStringLiteral("help"))) return {std::nullopt, CliHelpText(), 0};
  if (parser.isSet(QStringLiteral("version"))) return {std::nullopt, CliVersionText(), 0};
  if (parser.positionalArguments().size() != 1) {
    return UsageError(parser.positionalArguments().isEmpty()
                          ? QStringLiteral("missing PATHLIST")
                          : QStringLiteral("one PATHLIST only (separate folders by ';')"));
  }
  const auto similarity = IntValue(parser, QStringLiteral("similarity"), 40, 100);
  const auto rule = IntValue(parser, QStringLiteral("rule"), 1, 3);
  const auto threads = IntValue(parser, QStringLiteral("threads"), 0, 1024);
  const auto runs = IntValue(parser, QStringLiteral("repeat"), 1, 100);
  if (!similarity || !rule || !threads || !runs) {
    return UsageError(QStringLiteral("--similarity takes 40..100, --rule 1..3, --threads 0..1024"));
  }
  CliOptions options;
  options.run.similarity = *similarity;
  options.run.signature_rule = *rule;
  options.run.threads = *threads;
  options.repeat = *runs;
  options.run.search_rotated = parser.isSet(QStringLiteral("rotated"));
  options.run.search_flipped = parser.isSet(QStringLiteral("flipped"));
  options.run.search_negative = parser.isSet(QStringLiteral("negative"));
  options.run.subfolder = !parser.isSet(QStringLiteral("no-subfolders"));
  options.json = parser.isSet(QStringLiteral("json"));
  options.verbose = parser.isSet(QStringLiteral("verbose"));
  options.run.in_process_decoding = parser.isSet(QStringLiteral("in-process"));
  options.use_cache = !parser.isSet(QStringLiteral("no-cache"));
  options.cache_file = parser.value(QStringLiteral("cache"));
  if (parser.isSet(QStringLiteral("cache")) &&
      (!options.use_cache || options.cache_file.isEmpty())) {
    return UsageError(QStringLiteral("--cache takes a file and excludes --no-cache"));
  }
  if (parser.isSet(QStringLiteral("against"))) {
    options.run.compare_mode = 1;
    options.path1_text = parser.value(QStringLiteral("against"));
  }
  options.path2_text = parser.positionalArguments().constFirst();
  return {options, {}, 0};
}

}  // namespace dupliora
