// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>

#include "engine/image_record.h"

namespace dupliora {

// The record's path as text.
QString RecordPath(const ImageRecord& record);

// Stores the path zero-terminated; false, and the record's path untouched,
// when it does not fit (a cut path could name another file).
bool SetRecordPath(ImageRecord& record, const QString& path);

}  // namespace dupliora
