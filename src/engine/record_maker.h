// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

#include "engine/image_record.h"

namespace dupliora {

class RecordMaker {
 public:
  explicit RecordMaker(int signature_rule);
  bool MakeRecord(const QString& path, ImageRecord& record);

 private:
  int signature_rule_;
};

}  // namespace dupliora
