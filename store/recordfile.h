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

#include "store/systemerror.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QScopeGuard>
#include <QString>
#include <array>
#include <functional>
#include <memory>
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

// Reads the whole records of a device into `out`. `step` is told the count read so far after every
// chunk and may return false to stop early: a read stopped before the last
// record fails, since what it holds is not the file. `batch` is shown the
// whole records of each read, about a megabyte, while they are still in the
// processor's cache: a look at every record then costs no second pass
// through memory.
template <class T>
bool readAll(QIODevice& dev, QList<T>& out, QString* error,
             const std::function<bool(qint64)>& step = {}, qint64 chunkRecords = 2048,
             const std::function<void(const T* records, qint64 n)>& batch = {})
{
    static_assert(std::is_trivially_copyable_v<T>, "records are read as bytes");
    const qint64 total = dev.size() / qint64(sizeof(T));
    out.clear();
    // The records are read straight into the table's memory, each batch as
    // it comes: the memory is written once, neither cleared first nor copied
    // from a buffer. The list takes the memory with the records read so
    // far, whatever ends the reading.
    QArrayDataPointer<T> table(QTypedArrayData<T>::allocate(total));
    const auto handOver = qScopeGuard([&] { out = QList<T>(std::move(table)); });
    if (total > 0 && !table.data()) {
        if (error) *error = QStringLiteral("mémoire insuffisante pour lire le fichier");
        return false;
    }
    adviseLargePages(table.data(), total * qint64(sizeof(T)));
    // Reads of about a megabyte: smaller ones were measured slower (a third
    // slower at 200 kB), and a batch this size is still in the cache when
    // `batch` looks at it.
    constexpr qint64 Batch = std::max<qint64>(1, (qint64(1) << 20) / qint64(sizeof(T)));
    qint64 done = 0;
    while (done < total) {
        const qint64 n = std::min(chunkRecords, total - done);
        for (qint64 k = 0; k < n; k += Batch) {
            const qint64 m = std::min(Batch, n - k);
            const qint64 want = m * qint64(sizeof(T));
            T* const at = table.data() + table.size;
            const qint64 got = dev.read(reinterpret_cast<char*>(at), want);
            const qint64 whole = got > 0 ? got / qint64(sizeof(T)) : 0;
            table.size += whole;
            if (batch && whole > 0) batch(at, whole);
            if (got != want) {
                if (error) *error = deviceErrorText(dev);
                return false;
            }
        }
        done += n;
        if (step && !step(done) && done < total) {
            if (error) *error = QStringLiteral("lecture interrompue");
            return false;
        }
    }
    return true;
}

} // namespace recordfile
