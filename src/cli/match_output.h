// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <functional>
#include <unordered_map>
#include <vector>

#include "engine/comparison_engine.h"
#include "engine/left_out.h"

namespace dupliora {

// A path as one tab-separated field, escaped as PostgreSQL's text format
// does: backslash, tab, line feed and carriage return become \\, \t, \n, \r,
// so a name holding them can neither split a line nor a field.
QByteArray EscapeTsvField(const QString& text);

// A JSON string literal, quotes included.
QByteArray JsonString(const QString& text);

// Writes matches to the output as they are found: one tab-separated line
// each (first, second, similarity, ratio, rotation, flip, negative) or one
// JSON document {"matches": [...], "summary": {...}} whose array grows as
// matches come. Nothing is kept, so a run at a low threshold with millions of
// matches needs no memory for them. The first write error is kept: nothing is
// written after it, and `on_error` is told once (to stop the run).
class MatchWriter {
 public:
  MatchWriter(std::FILE* out, bool json, std::function<void()> on_error);

  // Whether matches are written; the hidden --repeat keeps only the last run's.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // A new run: its records are new, so the paths known so far are forgotten.
  void Reset() { paths_.clear(); }
  void Write(const std::vector<MatchResult>& batch);
  // Closes the JSON document with the summary, whose "left_out" counts the
  // files left out by reason, and flushes. False when any write failed;
  // error() then holds its errno.
  bool Finish(const RunSummary& summary, const LeftOutFiles& left_out);

  bool failed() const { return error_ != 0; }
  int error() const { return error_; }

 private:
  void Put(const char* data, std::size_t size);
  void Put(const QByteArray& bytes) { Put(bytes.constData(), bytes.size()); }
  void Fail(int error);
  const QByteArray& PathText(const ImageRecord* record);

  std::FILE* out_;
  bool json_;
  std::function<void()> on_error_;
  bool enabled_ = true;
  bool json_open_ = false;
  int error_ = 0;
  QByteArray line_;
  // Every match names two of a few thousand records: each path is escaped once.
  std::unordered_map<const ImageRecord*, QByteArray> paths_;
};

}  // namespace dupliora
