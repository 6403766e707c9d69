#include "store/folderlock.h"

#include "store/texts.h"

#include <QDir>

FolderLock::FolderLock(const QString& dataDir)
    : dir_(QDir(dataDir).absolutePath()), lock_(dir_ + QLatin1Char('/') + fileName())
{
    // A lock whose process is gone is stale at once, whatever its age.
    lock_.setStaleLockTime(0);
}

Result FolderLock::acquire()
{
    if (lock_.tryLock(200)) return Result::success();
    if (lock_.error() != QLockFile::LockFailedError) return Result::success();
    qint64 pid = 0;
    QString host, application;
    lock_.getLockInfo(&pid, &host, &application);
    return Result::failure(
        QStringLiteral("Le dossier de données \"%1\" est déjà utilisé par une autre copie du "
                       "programme (processus %2).")
            .arg(QDir::toNativeSeparators(dir_))
            .arg(pid) +
        CR + CR +
        QStringLiteral("Deux copies ouvertes sur le même dossier effaceraient chacune les "
                       "modifications de l'autre : utilisez celle qui est déjà ouverte."));
}
