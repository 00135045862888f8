// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "engine/image_record.h"
#include "engine/run_sink.h"

namespace dupliora::testing {

// A sink that keeps what the run showed.
class RecordingSink : public RunSink {
 public:
  void ClearResults() override {
    matches.clear();
    ++clears;
  }
  void SetText(RunText target, const QString& text) override {
    texts[target].push_back(text);
    if (on_text) on_text(target);
  }
  void ShowPathAlert(PathField field, const QString& message) override {
    alerts.push_back({field, message});
  }
  void AcceptPaths(const QString& a, const QString& b) override { accepted = {a, b}; }
  void StartProgressActivity() override {}
  void StopProgressActivity() override {}
  void SetProgressRange(int) override {}
  void SetProgressPosition(int) override {}
  void SetResultRedraw(bool on) override { redraw.push_back(on); }
  void AppendMatches(std::vector<MatchResult> batch) override {
    matches.insert(matches.end(), batch.begin(), batch.end());
    if (on_matches) on_matches();
  }
  void SortResultsBySimilarity() override;
  void ShowCacheStatus(const QString& line) override {
    cache_lines.push_back(line);
    if (on_cache_line) on_cache_line();
  }

  QString Last(RunText target) const {
    const auto it = texts.find(target);
    return it == texts.end() || it->second.empty() ? QString() : it->second.back();
  }

  std::map<RunText, QStringList> texts;
  std::vector<std::pair<PathField, QString>> alerts;
  std::pair<QString, QString> accepted;
  std::vector<MatchResult> matches;
  std::vector<bool> redraw;
  QStringList cache_lines;
  bool sorted = false;
  int clears = 0;
  std::function<void()> on_cache_line;
  std::function<void()> on_matches;
  std::function<void(RunText)> on_text;
};

// Texts that name their number, so a test sees which text went where.
RunTexts NumberedTexts();

// A picture with a pattern drawn from `seed`; equal seeds give equal pictures.
bool SavePattern(const QString& path, int seed, int width = 160, int height = 160,
                 const char* format = "PNG");

// Sets the sample of `record` to value(x, y) and rebuilds its turned copies
// and brightness as a real record has them.
void FillSample(ImageRecord& record, const std::function<int(int x, int y)>& value);

// A record with a random sample drawn from `seed`.
ImageRecord PatternRecord(const QString& path, int seed, int brightness_shift = 0,
                          float aspect = 1.0f);

}  // namespace dupliora::testing
