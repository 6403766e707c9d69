#pragma once
// What tells that a data file changed on disk since this program last read
// or wrote it: its size, its time of change to the nanosecond, and the file
// itself (a rewrite renames a new file over the old one).

#include <QString>
#include <QtGlobal>

struct FileStamp {
    bool known = false; // false: the file could not be examined
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileStamp& o) const
    {
        return known == o.known && size == o.size && modifiedNs == o.modifiedNs &&
               device == o.device && inode == o.inode;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

FileStamp fileStamp(const QString& path);
// The same for an open file descriptor.
FileStamp fileStamp(int fd);
