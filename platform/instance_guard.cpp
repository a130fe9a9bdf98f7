#include "platform/instance_guard.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

CInstanceGuard::CInstanceGuard(const QString& lockName)
    : m_lock(std::make_unique<QLockFile>(LockPath(lockName))) {
    // A lock is stale only when its process is gone, never by its age.
    m_lock->setStaleLockTime(0);
}

CInstanceGuard::~CInstanceGuard() = default;

bool CInstanceGuard::TryLock() { return m_lock->isLocked() || m_lock->tryLock(0); }

QString CInstanceGuard::LockPath(const QString& lockName) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QLatin1Char('/') + lockName;
}
