// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/read_problem.h"

#include <QString>
#include <QtGlobal>
#include <cstring>
#include <mutex>

namespace dupliora {

namespace {

thread_local ReadProblemWatch* t_innermost = nullptr;
QtMessageHandler g_previous_handler = nullptr;

// libjpeg's JWRN_JPEG_EOF ("Premature end of JPEG file") and JWRN_HIT_MARKER
// ("Corrupt JPEG data: premature end of data segment"): the scan data ran out
// and the rest of the picture is grey. Other warnings (extraneous bytes before
// a marker) leave the picture whole and are common in camera files.
bool IsTruncationWarning(const QMessageLogContext& context, const QString& message) {
  return context.category != nullptr && std::strcmp(context.category, "qt.gui.imageio.jpeg") == 0 &&
         message.contains(QLatin1String("premature end"), Qt::CaseInsensitive);
}

void WarningHook(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && IsTruncationWarning(context, message)) {
    ReportReadProblem(ReadProblem::kDamaged);
  }
  if (g_previous_handler != nullptr) g_previous_handler(type, context, message);
}

}  // namespace

ReadProblemWatch::ReadProblemWatch() : outer_(t_innermost) { t_innermost = this; }

ReadProblemWatch::~ReadProblemWatch() { t_innermost = outer_; }

void ReportReadProblem(ReadProblem problem) {
  if (problem == ReadProblem::kNone) return;
  for (ReadProblemWatch* watch = t_innermost; watch != nullptr; watch = watch->outer_) {
    if (watch->first_ == ReadProblem::kNone) watch->first_ = problem;
    watch->seen_ |= ReadProblemWatch::Bit(problem);
  }
}

void InstallDecoderWarningHook() {
  static std::once_flag once;
  std::call_once(once, [] { g_previous_handler = qInstallMessageHandler(WarningHook); });
}

}  // namespace dupliora
