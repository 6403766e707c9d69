#include "store/filestamp.h"

#include <QFile>
#include <sys/stat.h>

namespace
{
FileStamp fromStat(const struct stat& st)
{
    FileStamp s;
    s.known = true;
    s.size = qint64(st.st_size);
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
    s.device = quint64(st.st_dev);
    s.inode = quint64(st.st_ino);
    return s;
}
} // namespace

FileStamp fileStamp(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return fromStat(st);
}

FileStamp fileStamp(int fd)
{
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) return {};
    return fromStat(st);
}
