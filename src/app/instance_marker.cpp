// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/instance_marker.h"

#include <QDir>
#include <QStandardPaths>

#include "core/settings_store.h"

namespace dupliora {

namespace {

// More concurrent instances than this share the last slot's "running" answer.
constexpr int kMarkerSlots = 64;

QString SlotPath(const QString& folder, const QString& instanceName, int slot) {
  return QStringLiteral("%1/%2GUID__31.%3.lock").arg(folder, instanceName).arg(slot);
}

std::unique_ptr<QLockFile> TryLockSlot(const QString& path) {
  auto lock = std::make_unique<QLockFile>(path);
  lock->setStaleLockTime(0);  // stale only when its process is gone, never by age
  if (lock->tryLock(0)) return lock;
  return nullptr;
}

}  // namespace

InstanceMarker::InstanceMarker(const QString& instanceName, const QString& folder) {
  QString dir = folder;
  if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  QDir().mkpath(dir);
  int own = -1;
  for (int slot = 0; slot < kMarkerSlots && own < 0; ++slot) {
    lock_ = TryLockSlot(SlotPath(dir, instanceName, slot));
    if (lock_) own = slot;
  }
  other_running_ = own != 0;
  for (int slot = own + 1; slot < kMarkerSlots && !other_running_ && own >= 0; ++slot) {
    // A later slot held by an instance whose earlier slot has since been released.
    if (TryLockSlot(SlotPath(dir, instanceName, slot)) == nullptr) other_running_ = true;
  }
}

InstanceMarker::~InstanceMarker() = default;

std::uint32_t AssignInstanceNumber(bool otherInstanceRunning, CMyProfStr& settings,
                                   const QString& instanceName, std::uint32_t current) {
  const QString key = instanceName + QStringLiteral("_Id");
  if (otherInstanceRunning) {
    const int stored = settings.PortableMode
                           ? settings.ReadInt(QStringLiteral("Start"), key, int(current))
                           : settings.ReadUserCounter(key, int(current));
    return std::uint32_t(stored) + 1;
  }
  if (settings.PortableMode) {
    settings.WriteInt(QStringLiteral("Start"), key, int(current));
  } else {
    settings.WriteUserCounter(key, int(current));
  }
  return current;
}

}  // namespace dupliora
