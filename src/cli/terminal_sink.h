// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdio>
#include <map>
#include <vector>

#include "engine/run_sink.h"

namespace dupliora {

class MatchWriter;

// Shows a run on stderr: on a terminal one live line that is rewritten, else
// one line per text. Hands each batch of matches to the writer as it comes,
// in the order found; the similarity sort of the window is left out, since
// it would need every match in memory.
class TerminalSink : public RunSink {
 public:
  TerminalSink(std::FILE* out, bool live, MatchWriter& writer);

  void ClearResults() override;
  void SetText(RunText target, const QString& text) override;
  void ShowPathAlert(PathField field, const QString& message) override;
  void AcceptPaths(const QString&, const QString&) override {}
  void StartProgressActivity() override {}
  void StopProgressActivity() override {}
  void SetProgressRange(int maximum) override { range_ = maximum; }
  void SetProgressPosition(int position) override { position_ = position; }
  void SetResultRedraw(bool) override {}
  void AppendMatches(std::vector<MatchResult> batch) override;
  void SortResultsBySimilarity() override {}
  void ShowCacheStatus(const QString& line) override { cache_line_ = line; }

  // Ends the live line and prints the last label and status texts.
  void Finish();

 private:
  void Print(const QString& line);

  std::FILE* out_;
  bool live_;
  bool line_open_ = false;
  int range_ = 0;
  int position_ = 0;
  QString cache_line_;
  std::map<RunText, QString> last_;
  MatchWriter& writer_;
};

}  // namespace dupliora
