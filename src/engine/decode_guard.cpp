// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/decode_guard.h"

#include <QDataStream>
#include <QIODevice>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "engine/record_maker.h"
#include "imaging/picture_header.h"
#include "platform/decoder_pool.h"
#include "platform/decoder_service.h"
#include "platform/thumbnail_cache.h"

namespace dupliora {

namespace {

using decoder::DecoderPool;
using decoder::JobKind;
using decoder::JobResult;
using decoder::JobStatus;

constexpr std::uint32_t kMinPictureSide = 128;

bool LargeEnough(std::uint32_t width, std::uint32_t height) {
  return width >= kMinPictureSide && height >= kMinPictureSide;
}

void WarnUnguardedOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::fputs(
        "dupliora: no decoder program found (dupliora-decoder); pictures are decoded "
        "in this process, unguarded\n",
        stderr);
  });
}

template <typename... Values>
QByteArray Encode(const Values&... values) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  (out << ... << values);
  return bytes;
}

}  // namespace

ProbeOutcome ProbePictureFile(const QString& path) {
  ReadProblemWatch watch;
  const std::optional<PictureHeader> header = LoadPictureHeader(path);
  if (header && LargeEnough(header->width, header->height)) return {true};
  if (const auto size = ThumbnailCacheImageSize(path)) {
    if (LargeEnough(size->width(), size->height())) return {true};
  }
  ProbeOutcome outcome;
  // A vector document without a size (an XML sidecar file looks like one) is
  // no picture; a raster one has a size, too small.
  if (header && !(header->type == PictureType::kVector && header->width == 0)) {
    outcome.reason = LeftOutReason::kTooSmall;
  } else if (!header) {
    outcome.reason = ReasonOf(watch.First());
  }
  return outcome;
}

DecodeGuard::DecodeGuard(const std::atomic<bool>& stop, bool in_process)
    : stop_(stop), guarded_(!in_process && DecoderPool::Shared().Available()) {
  if (!in_process && !guarded_) WarnUnguardedOnce();
}

void DecodeGuard::Prestart(int processes) const {
  if (guarded_) DecoderPool::Shared().Prestart(processes);
}

ProbeOutcome DecodeGuard::Probe(const QString& path) const {
  if (!guarded_) return ProbePictureFile(path);
  const JobResult result = DecoderPool::Shared().Run(JobKind::kProbe, Encode(path), &stop_);
  if (result.status == JobStatus::kUnavailable) return ProbePictureFile(path);
  ProbeOutcome outcome;
  if (result.status == JobStatus::kStopped) {
    outcome.stopped = true;
  } else if (result.status != JobStatus::kDone) {
    outcome.reason = ReasonOf(result.status);
  } else {
    quint8 reason = 0;
    QDataStream stream(result.reply);
    stream >> outcome.accepted >> reason;
    outcome.reason = static_cast<LeftOutReason>(reason);
  }
  return outcome;
}

bool DecodeGuard::MakeRecord(const QString& path, int signature_rule, ImageRecord& record,
                             LeftOutReason& reason) const {
  const auto here = [&] {
    RecordMaker maker(signature_rule);
    const bool made = maker.MakeRecord(path, record);
    reason = maker.FailureReason();
    return made;
  };
  if (!guarded_) return here();
  const JobResult result = DecoderPool::Shared().Run(
      JobKind::kRecord, Encode(path, static_cast<qint32>(signature_rule)), &stop_);
  if (result.status == JobStatus::kUnavailable) return here();
  if (result.status != JobStatus::kDone) {
    reason = ReasonOf(result.status);
    return false;
  }
  QDataStream in(result.reply);
  bool made = false;
  quint8 why = 0;
  QByteArray bytes;
  in >> made >> why >> bytes;
  reason = static_cast<LeftOutReason>(why);
  if (!made || bytes.size() != static_cast<qsizetype>(sizeof(ImageRecord))) return false;
  std::memcpy(&record, bytes.constData(), sizeof(ImageRecord));
  return true;
}

QByteArray ServeProbeJob(const QByteArray& body) {
  QString path;
  QDataStream stream(body);
  stream >> path;
  decoder::InjectTestFault(path);
  const ProbeOutcome outcome = ProbePictureFile(path);
  return Encode(outcome.accepted, static_cast<quint8>(outcome.reason));
}

QByteArray ServeRecordJob(const QByteArray& body) {
  QString path;
  qint32 rule = 0;
  QDataStream stream(body);
  stream >> path >> rule;
  decoder::InjectTestFault(path);
  auto record = std::make_unique<ImageRecord>();  // zero-filled, 14 KB: not on the stack
  RecordMaker maker(rule);
  const bool made = maker.MakeRecord(path, *record);
  const QByteArray bytes =
      made ? QByteArray(reinterpret_cast<const char*>(record.get()), sizeof(ImageRecord))
           : QByteArray();
  return Encode(made, static_cast<quint8>(maker.FailureReason()), bytes);
}

}  // namespace dupliora
