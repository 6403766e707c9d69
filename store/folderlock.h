#pragma once
// One running copy of the program per data folder: a lock file beside the
// data files, held from start-up to the end. A second copy reaching the same
// folder by another path (a link, a copy of the executable) is refused
// before it reads anything. The lock of a copy that was killed is taken over.

#include "store/result.h"

#include <QLockFile>
#include <QString>

class FolderLock
{
public:
    explicit FolderLock(const QString& dataDir);

    // Takes the lock. Fails with the message that names the folder when
    // another running copy holds it. A folder where no lock file can be made
    // (read-only) is not refused: its files cannot be written either.
    Result acquire();
    bool held() const { return lock_.isLocked(); }

    static QString fileName() { return QStringLiteral("ORVALDIS.lock"); }

private:
    QString dir_;
    QLockFile lock_;
};
