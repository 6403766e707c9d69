#pragma once
// The file layer: every byte that reaches a data file goes through here.
//
//  - update in place: one write of the whole record at its offset, in a file
//    opened for reading and writing (never truncated);
//  - append: a failed or short write cuts the file back to its size before;
//  - rewrite: the new content goes to a temporary file that is flushed to
//    disk and renamed over the old one, so the file is always whole.
//
// Every function returns success and leaves an error text on failure.

#include "store/alongside.h"
#include "store/systemerror.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <atomic>
#include <functional>
#include <type_traits>

namespace recordfile
{

// Number of whole records of `recordSize` bytes in a file (0 when missing).
qint64 recordCount(const QString& path, int recordSize);

// Writes every byte and flushes them; false on a short or failed write.
bool writeAll(QIODevice& dev, const char* data, qint64 size, QString* error);

// Writes one record at position `index` of a file opened read-write.
bool updateAt(QFileDevice& file, int recordSize, qint64 index, const void* record, QString* error);

// Writes one record after the last whole record of a file opened read-write
// and unbuffered (nothing of the record may wait in a buffer when the file
// is cut). On failure the file is cut back to its previous whole records.
bool appendTo(QFileDevice& file, int recordSize, const void* record, QString* error);
// The same for `count` records in one write: all of them are there, or none.
bool appendTo(QFileDevice& file, int recordSize, const void* records, qint64 count, QString* error);

// Writes `size` bytes as the whole new content of the save file's target.
// `out` is not yet open; the target is replaced only when everything was
// written and flushed.
bool replaceContent(QSaveFile& out, const char* data, qint64 size, QString* error);

// The same, fed by chunks: `next` fills a buffer and returns false at the end.
bool replaceContent(QSaveFile& out, const std::function<bool(QByteArray& chunk)>& next,
                    QString* error);

// Copies `source` whole to `target` through a temporary file renamed into place.
bool copyFile(const QString& source, QSaveFile& target, QString* sourceError, QString* targetError);

// Asks the system to back a large table with large pages: a table of a few
// hundred megabytes then costs a few hundred page faults, not tens of
// thousands. Only a hint; nothing changes where it is not followed.
void adviseLargePages(void* data, qint64 bytes);

// Reads `bytes` bytes of the file at `offset` into `to`, whatever the
// file's own position; fails, with the reason in French, on an error or
// when the file ends first.
bool readAt(int fd, char* to, qint64 bytes, qint64 offset, QString* error);

// From this size, a file is read by two threads at once, a half each: the
// copy into new memory is the processor's work, and two cores do it in
// little more than half the time.
inline constexpr qint64 TwoPartsFrom = qint64(32) << 20;

// Reads the whole records of a device into `out`. `step` is told the count
// read so far after every chunk, on the calling thread, and may return false
// to stop early: a read stopped before the last record fails, since what it
// holds is not the file. `batch` is shown the whole records of each read,
// about a megabyte, while they are still in the processor's cache: a look
// at every record then costs no second pass through memory. A large file
// is read in two parts (0, then 1 in table order), on two threads; `batch`
// is then called from both, each with its own part's records, in order.
// Whatever ends the reading, `out` holds the records read from the start
// of the file without a gap.
template <class T>
bool readAll(QIODevice& dev, QList<T>& out, QString* error,
             const std::function<bool(qint64)>& step = {}, qint64 chunkRecords = 2048,
             const std::function<void(int part, const T* records, qint64 n)>& batch = {})
{
    static_assert(std::is_trivially_copyable_v<T>, "records are read as bytes");
    constexpr qint64 Size = sizeof(T);
    const qint64 total = dev.size() / Size;
    out.clear();
    // The records are read straight into the table's memory, each batch as
    // it comes: the memory is written once, neither cleared first nor copied
    // from a buffer.
    QArrayDataPointer<T> table(QTypedArrayData<T>::allocate(total));
    if (total > 0 && !table.data()) {
        if (error) *error = QStringLiteral("mémoire insuffisante pour lire le fichier");
        return false;
    }
    adviseLargePages(table.data(), total * Size);
    // Reads of about a megabyte: smaller ones were measured slower (a third
    // slower at 200 kB), and a batch this size is still in the cache.
    constexpr qint64 Batch = std::max<qint64>(1, (qint64(1) << 20) / Size);

    const auto* file = qobject_cast<const QFileDevice*>(&dev);
    const int fd = file ? file->handle() : -1;
    const bool twoParts = fd >= 0 && total * Size >= TwoPartsFrom;
    struct Part {
        qint64 from = 0, to = 0;
        qint64 read = 0; // records read from `from` on
        QString error;
        bool failed = false;
    };
    Part parts[2];
    parts[0].to = twoParts ? total / 2 : total;
    parts[1].from = parts[1].to = parts[0].to;
    if (twoParts) parts[1].to = total;
    std::atomic<qint64> done{0};
    std::atomic<bool> stop{false};
    qint64 told = 0; // the count `step` was last told
    QString stopped;

    const auto readPart = [&](int k) {
        Part& p = parts[k];
        const qint64 count = p.to - p.from;
        while (p.read < count && !stop) {
            // A read never passes the end of a chunk.
            const qint64 chunkEnd = std::min(count, (p.read / chunkRecords + 1) * chunkRecords);
            const qint64 m = std::min(Batch, chunkEnd - p.read);
            T* const at = table.data() + p.from + p.read;
            qint64 whole = m;
            if (twoParts) {
                p.failed = !readAt(fd, reinterpret_cast<char*>(at), m * Size,
                                   (p.from + p.read) * Size, &p.error);
                if (p.failed) whole = 0;
            } else {
                const qint64 got = dev.read(reinterpret_cast<char*>(at), m * Size);
                whole = got > 0 ? got / Size : 0;
                if (got != m * Size) {
                    p.error = deviceErrorText(dev);
                    p.failed = true;
                }
            }
            p.read += whole;
            if (batch && whole > 0) batch(k, at, whole);
            if (p.failed) {
                stop = true;
                return;
            }
            done += whole;
            // The calling thread tells the progress of both parts.
            if (k == 0 && step && p.read == chunkEnd) {
                told = done;
                if (!step(told) && told < total) {
                    stopped = QStringLiteral("lecture interrompue");
                    stop = true;
                }
            }
        }
    };
    if (twoParts)
        alongside([&] { readPart(0); }, [&] { readPart(1); });
    else
        readPart(0);

    // The records read from the start without a gap.
    const bool firstWhole = parts[0].read == parts[0].to;
    table.size = parts[0].read + (firstWhole ? parts[1].read : 0);
    out = QList<T>(std::move(table));
    const QString failure = parts[0].failed   ? parts[0].error
                            : parts[1].failed ? parts[1].error
                                              : stopped;
    if (failure.isEmpty() && out.size() == total) {
        if (step && told != total) step(total);
        return true;
    }
    if (error) *error = failure.isEmpty() ? QStringLiteral("lecture interrompue") : failure;
    return false;
}

} // namespace recordfile
