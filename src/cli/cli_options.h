// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "engine/comparison_engine.h"

namespace dupliora {

struct CliOptions {
  RunOptions run;
  QString path1_text;  // --against, two-folder mode
  QString path2_text;
  bool json = false;
  bool verbose = false;    // list the files left out, with their reasons
  int repeat = 1;         // runs in one process: the second one shows the cache
  bool use_cache = true;  // the record store, unless --no-cache
  QString cache_file;     // --cache FILE; empty: the program's usual place
};

struct CliParse {
  std::optional<CliOptions> options;
  QString message;  // help or version text for stdout, else the error
  int exit_code = 0;
};

// What --help and --version print, in the usual GNU form.
QString CliHelpText();
QString CliVersionText();

// Usage errors come as "dupliora-cli: ..." with a pointer to --help.
CliParse ParseCliOptions(const QStringList& arguments);

}  // namespace dupliora
