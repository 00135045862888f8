// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>

#include "engine/image_record.h"
#include "engine/left_out.h"

namespace dupliora {

// What the scan's probe found.
struct ProbeOutcome {
  bool accepted = false;
  LeftOutReason reason = LeftOutReason::kNotAPicture;  // when not accepted
  bool stopped = false;  // the run's stop request ended the probe: count nothing
};

// The probe in this process: a picture of at least 128 x 128 pixels by its
// headers, else by the thumbnail cache's image size.
ProbeOutcome ProbePictureFile(const QString& path);

// Where a run's pictures are decoded: in the program's decoder processes, so
// a decoder that crashes, hangs or runs out of memory costs one file; in this
// process only when asked (to measure against) or when no decoder program can
// be started. Waits end within a fraction of a second of a stop request.
class DecodeGuard {
 public:
  DecodeGuard(const std::atomic<bool>& stop, bool in_process);

  bool Guarded() const { return guarded_; }
  // Starts decoder processes ahead of the jobs.
  void Prestart(int processes) const;
  ProbeOutcome Probe(const QString& path) const;
  // The record as RecordMaker makes it in a decoder process; on failure
  // `reason` says why the file is left out.
  bool MakeRecord(const QString& path, int signature_rule, ImageRecord& record,
                  LeftOutReason& reason) const;

 private:
  const std::atomic<bool>& stop_;
  bool guarded_;
};

// The decoder process's side of the probe and record jobs.
QByteArray ServeProbeJob(const QByteArray& body);
QByteArray ServeRecordJob(const QByteArray& body);

}  // namespace dupliora
