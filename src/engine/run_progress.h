// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "engine/run_sink.h"
#include "engine/sqlite_db.h"

namespace dupliora {

// Milliseconds of a steady clock: the run's tick.
std::int64_t TickMs();

// Progress texts are rewritten only when the tick moved past its lowest
// seven bits (about every 128 ms).
inline bool TickMovedOn(std::int64_t last, std::int64_t now) { return (last >> 7) != (now >> 7); }

// The language texts a run uses; the window looks these up before a run.
const std::vector<int>& RunTextNumbers();

// "%02d:%02d": the time still needed at fraction `f` done since `start_ms`;
// "--:--" while nothing is done yet.
QString RemainingTime(double f, std::int64_t start_ms, std::int64_t now_ms);

// "%02d:%02d.%03d": minutes, seconds, milliseconds.
QString FormatElapsed(double seconds);

// Label 1002 while loading: remaining time, k of count, then the file.
QString LoadProgressText(const RunTexts& texts, const QString& remaining, int k, int count,
                         const QString& path);

// Label 1002 after loading.
QString LoadSummaryText(const RunTexts& texts, int loaded, std::uint64_t loaded_bytes,
                        std::int64_t elapsed_ms);

// Status line 1004 while comparing.
QString CompareProgressText(const RunTexts& texts, std::int64_t done, std::int64_t total,
                            const QString& remaining, double f);

// Status line 1004 right after the pair loop: done of total.
QString CompareCountText(std::int64_t done, std::int64_t total);

// Label 1003 after comparing.
QString CompareSummaryLabel(const RunTexts& texts, int matches, double seconds, std::int64_t done,
                            std::int64_t skipped);

// What the record store did for the cache line: "N remembered",
// or why it is off. Empty without a store.
QString StoreNoteText(const RunTexts& texts, bool has_store, DbFault fault, int from_store);

// Status line 1004 after comparing.
QString CompareSummaryStatus(const RunTexts& texts, int matches, std::int64_t done,
                             double total_seconds);

}  // namespace dupliora
