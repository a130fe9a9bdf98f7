// One running copy of a program per user: a lock file in the user's runtime folder (the temp
// folder when there is none). The lock of a copy that crashed is taken over.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

class CInstanceGuard {
public:
    explicit CInstanceGuard(const QString& lockName);
    ~CInstanceGuard();
    CInstanceGuard(const CInstanceGuard&) = delete;
    CInstanceGuard& operator=(const CInstanceGuard&) = delete;

    // True when this copy holds the lock (now or already); false when another copy holds it.
    bool TryLock();
    static QString LockPath(const QString& lockName);

private:
    std::unique_ptr<QLockFile> m_lock;
};
