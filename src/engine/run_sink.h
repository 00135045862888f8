// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QHash>
#include <QString>
#include <vector>

#include "engine/image_record.h"

namespace dupliora {

// Control ids of the comparison window that the run writes to.
enum class PathField { kFirst = 1053, kSecond = 1054 };
enum class RunText { kLabel1002 = 1002, kLabel1003 = 1003, kStatus1004 = 1004 };

// Everything a comparison run does to its window. The window implements each
// call as a synchronous call into its UI thread (the worker waits for it);
// the command-line tool implements it for a terminal.
class RunSink {
 public:
  virtual ~RunSink() = default;

  virtual void ClearResults() = 0;
  virtual void SetText(RunText target, const QString& text) = 0;
  virtual void ShowPathAlert(PathField field, const QString& message) = 0;
  // The accepted, normalised path texts, for the path fields' histories.
  virtual void AcceptPaths(const QString& path1_text, const QString& path2_text) = 0;

  virtual void StartProgressActivity() = 0;
  virtual void StopProgressActivity() = 0;
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;

  virtual void SetResultRedraw(bool on) = 0;
  // Matches arrive in batches; the rows own them from here on.
  virtual void AppendMatches(std::vector<MatchResult> batch) = 0;
  virtual void SortResultsBySimilarity() = 0;

  // "Cache: %d %s" for part 4 of the main window's status bar.
  virtual void ShowCacheStatus(const QString& line) = 0;
};

// The language texts a run needs, by number, looked up on the UI thread
// before the run starts (the language table is not used from the worker).
struct RunTexts {
  QHash<int, QString> by_number;
  QString Text(int number) const { return by_number.value(number); }
};

}  // namespace dupliora
