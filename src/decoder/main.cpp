// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// dupliora-decoder: decodes untrusted pictures for the programs, one job at a
// time, in a process of its own. The programs start it with their socket on
// descriptor 3; nobody else needs to.
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

#include "engine/decode_guard.h"
#include "platform/decoder_service.h"
#include "viewer/picture_source.h"

using namespace dupliora;

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], decoder::kServiceArgument) != 0) {
    std::fprintf(stderr, "dupliora-decoder is started by dupliora and dupliora-cli.\n");
    return 2;
  }
  // Rendering SVG text needs the Gui module, never a display. The JPEG
  // reader's warnings tell a cut file from a whole one, so no logging rule of
  // the user's may silence them here.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qunsetenv("QT_LOGGING_RULES");
  QGuiApplication app(argc, argv);
  const decoder::JobHandlers handlers = {
      {decoder::JobKind::kProbe, ServeProbeJob},
      {decoder::JobKind::kRecord, ServeRecordJob},
      {decoder::JobKind::kPanePicture, ServePanePictureJob},
  };
  return decoder::ServeDecoderJobs(handlers);
}
