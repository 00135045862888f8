// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdio>
#include <map>
#include <vector>

#include "engine/run_sink.h"

namespace dupliora {

// Shows a run on stderr: on a terminal one live line that is rewritten, else
// one line per text. Keeps the matches for the output at the end.
class TerminalSink : public RunSink {
 public:
  explicit TerminalSink(std::FILE* out, bool live);

  void ClearResults() override { matches_.clear(); }
  void SetText(RunText target, const QString& text) override;
  void ShowPathAlert(PathField field, const QString& message) override;
  void AcceptPaths(const QString&, const QString&) override {}
  void StartProgressActivity() override {}
  void StopProgressActivity() override {}
  void SetProgressRange(int maximum) override { range_ = maximum; }
  void SetProgressPosition(int position) override { position_ = position; }
  void SetResultRedraw(bool) override {}
  void AppendMatches(std::vector<MatchResult> batch) override;
  void SortResultsBySimilarity() override;
  void ShowCacheStatus(const QString& line) override { cache_line_ = line; }

  // Ends the live line and prints the last label and status texts.
  void Finish();
  // Sorts what was found so far (after a stop) into the final order.
  std::vector<MatchResult>& Matches();

 private:
  void Print(const QString& line);

  std::FILE* out_;
  bool live_;
  bool line_open_ = false;
  int range_ = 0;
  int position_ = 0;
  bool sorted_ = false;
  QString cache_line_;
  std::map<RunText, QString> last_;
  std::vector<MatchResult> matches_;
};

}  // namespace dupliora
