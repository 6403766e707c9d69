#include "store/recordfile.h"

#include "store/systemerror.h"

#include <QFileInfo>
#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

namespace recordfile
{

qint64 recordCount(const QString& path, int recordSize)
{
    return QFileInfo(path).size() / recordSize;
}

void adviseLargePages(void* data, qint64 bytes)
{
    constexpr qint64 Large = 2 << 20; // below two large pages there is nothing to gain
    if (!data || bytes < 2 * Large) return;
    const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    const quintptr start = (quintptr(data) + page - 1) & ~(page - 1);
    const quintptr end = quintptr(data) + quintptr(bytes);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

bool readAt(int fd, char* to, qint64 bytes, qint64 offset, QString* error)
{
    while (bytes > 0) {
        const ssize_t n = ::pread(fd, to, size_t(bytes), off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (error)
                *error = n < 0 ? systemErrorText(errno)
                               : QStringLiteral("le fichier a raccourci pendant sa lecture");
            return false;
        }
        to += n;
        offset += n;
        bytes -= n;
    }
    return true;
}

bool writeAll(QIODevice& dev, const char* data, qint64 size, QString* error)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = dev.write(data + done, size - done);
        if (n <= 0) {
            if (error) *error = deviceErrorText(dev);
            return false;
        }
        done += n;
    }
    if (auto* file = qobject_cast<QFileDevice*>(&dev)) {
        if (!file->flush()) {
            if (error) *error = deviceErrorText(*file);
            return false;
        }
    }
    return true;
}

namespace
{

bool syncToDisk(QFileDevice& file, QString* error)
{
    if (file.handle() >= 0 && ::fdatasync(file.handle()) != 0) {
        if (error) *error = systemErrorText(errno);
        return false;
    }
    return true;
}

// Cuts the file at `size` through its descriptor: the device has nothing
// left to flush (it is unbuffered), and a full disk does not stop a cut.
void cutBack(QFileDevice& file, qint64 size)
{
    if (file.handle() >= 0) {
        while (::ftruncate(file.handle(), size) != 0 && errno == EINTR) {
        }
        ::fdatasync(file.handle());
    } else {
        file.resize(size);
    }
}

} // namespace

bool updateAt(QFileDevice& file, int recordSize, qint64 index, const void* record, QString* error)
{
    if (index < 0 || (index + 1) * recordSize > file.size()) {
        if (error) *error = QStringLiteral("Enregistrement %1 absent du fichier").arg(index + 1);
        return false;
    }
    if (!file.seek(index * recordSize)) {
        if (error) *error = deviceErrorText(file);
        return false;
    }
    return writeAll(file, static_cast<const char*>(record), recordSize, error) &&
           syncToDisk(file, error);
}

bool appendTo(QFileDevice& file, int recordSize, const void* record, QString* error)
{
    return appendTo(file, recordSize, record, 1, error);
}

bool appendTo(QFileDevice& file, int recordSize, const void* records, qint64 count, QString* error)
{
    const qint64 boundary = file.size() / recordSize * recordSize;
    const qint64 size = count * recordSize;
    if (!file.seek(boundary)) {
        if (error) *error = deviceErrorText(file);
        return false;
    }
    if (writeAll(file, static_cast<const char*>(records), size, error) && syncToDisk(file, error)) {
        if (file.size() > boundary + size) cutBack(file, boundary + size);
        return true;
    }
    // No half record: cut what was written. An incomplete record that was
    // already at the end of the file was never loaded and goes with it.
    cutBack(file, boundary);
    return false;
}

bool replaceContent(QSaveFile& out, const std::function<bool(QByteArray&)>& next, QString* error)
{
    if (!out.open(QIODevice::WriteOnly)) {
        if (error) *error = deviceErrorText(out);
        return false;
    }
    QByteArray chunk;
    while (next(chunk)) {
        if (!writeAll(out, chunk.constData(), chunk.size(), error)) {
            out.cancelWriting();
            out.commit();
            return false;
        }
    }
    if (!out.commit()) {
        if (error) *error = deviceErrorText(out);
        return false;
    }
    return true;
}

bool replaceContent(QSaveFile& out, const char* data, qint64 size, QString* error)
{
    const qint64 chunk = 1 << 20;
    qint64 done = 0;
    bool first = true;
    return replaceContent(
        out,
        [&](QByteArray& buf) {
            if (done >= size && !first) return false;
            first = false;
            const qint64 n = std::min(chunk, size - done);
            buf = QByteArray::fromRawData(data + done, n);
            done += n;
            return n > 0;
        },
        error);
}

bool copyFile(const QString& source, QSaveFile& target, QString* sourceError, QString* targetError)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (sourceError) *sourceError = deviceErrorText(in);
        return false;
    }
    bool readFailed = false;
    QString readError;
    const bool ok = replaceContent(
        target,
        [&](QByteArray& buf) {
            buf = in.read(1 << 20);
            if (buf.isEmpty() && !in.atEnd()) {
                readFailed = true;
                readError = deviceErrorText(in);
                target.cancelWriting();
                return false;
            }
            return !buf.isEmpty();
        },
        targetError);
    if (readFailed) {
        // The copy would be incomplete: drop it, the target stays as it was.
        if (sourceError) *sourceError = readError;
        return false;
    }
    return ok;
}

} // namespace recordfile
