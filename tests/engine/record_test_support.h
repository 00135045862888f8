// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "engine/image_record.h"
#include "engine/record_maker.h"
#include "support/pictures.h"

namespace dupliora {

// Records are 16 KB: keep them off the stack, zero-filled as the run hands them over.
inline std::unique_ptr<ImageRecord> ZeroRecord() {
  auto record = std::make_unique<ImageRecord>();
  *record = ImageRecord{};
  return record;
}

// Every record test works in a temporary folder with an empty thumbnail cache.
class RecordTest : public testing::Test {
 protected:
  QString PathOf(const QString& name) const { return m_dir.filePath(name); }

  std::unique_ptr<ImageRecord> Make(const QString& path, int rule = 2) {
    auto record = ZeroRecord();
    m_made = RecordMaker(rule).MakeRecord(path, *record);
    return record;
  }

  QTemporaryDir m_dir;
  test::ScopedThumbnailCache m_cache;
  bool m_made = false;
};

}  // namespace dupliora
