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
#include <QString>
#include <array>
#include <functional>
#include <memory>

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
// record fails, since what it holds is not the file.
template <class T>
bool readAll(QIODevice& dev, QList<T>& out, QString* error,
             const std::function<bool(qint64)>& step = {}, qint64 chunkRecords = 2048)
{
    const qint64 total = dev.size() / qint64(sizeof(T));
    out.clear();
    out.reserve(total);
    adviseLargePages(out.data(), total * qint64(sizeof(T)));
    // Read through a small buffer that stays in the processor's cache, then
    // appended: the table's memory is written once rather than cleared first.
    constexpr qint64 Batch = 64;
    const auto buffer = std::make_unique<std::array<T, Batch>>();
    qint64 done = 0;
    while (done < total) {
        const qint64 n = std::min(chunkRecords, total - done);
        for (qint64 k = 0; k < n; k += Batch) {
            const qint64 m = std::min(Batch, n - k);
            const qint64 want = m * qint64(sizeof(T));
            const qint64 got = dev.read(reinterpret_cast<char*>(buffer->data()), want);
            const qint64 whole = got > 0 ? got / qint64(sizeof(T)) : 0;
            for (qint64 i = 0; i < whole; ++i)
                out.append((*buffer)[i]);
            if (got != want) {
                if (error) *error = deviceErrorText(dev);
                return false;
            }
        }
        done += n;
        if (step && !step(done) && done < total) {
            out.resize(done);
            if (error) *error = QStringLiteral("lecture interrompue");
            return false;
        }
    }
    return true;
}

} // namespace recordfile
