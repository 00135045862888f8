// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/terminal_sink.h"

#include "cli/match_output.h"

namespace dupliora {

namespace {
constexpr int kLiveWidth = 110;  // keeps the live line on one terminal row
}

TerminalSink::TerminalSink(std::FILE* out, bool live, MatchWriter& writer)
    : out_(out), live_(live), writer_(writer) {}

void TerminalSink::ClearResults() { writer_.Reset(); }

void TerminalSink::Print(const QString& line) {
  if (line_open_) std::fputs("\r\x1b[K", out_);
  line_open_ = false;
  std::fprintf(out_, "%s\n", qUtf8Printable(line));
  std::fflush(out_);
}

void TerminalSink::SetText(RunText target, const QString& text) {
  last_[target] = text;
  if (!live_) {
    Print(text);
    return;
  }
  QString line = range_ > 0 ? QStringLiteral("%1% ").arg(position_ * 100 / range_, 3) : QString();
  line += text;
  if (line.size() > kLiveWidth) line = line.left(kLiveWidth - 3) + QStringLiteral("...");
  std::fprintf(out_, "\r\x1b[K%s", qUtf8Printable(line));
  std::fflush(out_);
  line_open_ = true;
}

void TerminalSink::ShowPathAlert(PathField field, const QString& message) {
  const char* name = field == PathField::kFirst ? "first path list" : "path list";
  Print(QStringLiteral("%1: %2").arg(QLatin1String(name), QString(message).replace(u'\n', u' ')));
}

void TerminalSink::AppendMatches(std::vector<MatchResult> batch) { writer_.Write(batch); }

void TerminalSink::Finish() {
  if (!live_) return;
  for (RunText target : {RunText::kLabel1002, RunText::kLabel1003, RunText::kStatus1004}) {
    if (last_.count(target) != 0) Print(last_[target]);
  }
  if (!cache_line_.isEmpty()) Print(cache_line_);
}

}  // namespace dupliora
