#pragma once
// Files for tests: devices that fail after a number of bytes, a store whose
// writes go through them, and record files built in memory.

#include "store/store.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

// A file whose writes stop after `budget` bytes (a full disk, a pulled key),
// with the reason of a full disk. The budget is its own, or one shared by
// every device of an operation.
class FailingFile : public QFile
{
public:
    FailingFile(const QString& path, qint64 budget) : QFile(path), own_(budget) {}
    FailingFile(const QString& path, qint64* shared) : QFile(path), budget_(shared) {}

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    qint64 own_ = -1;
    qint64* budget_ = &own_;
};

class FailingSaveFile : public QSaveFile
{
public:
    FailingSaveFile(const QString& path, qint64 budget) : QSaveFile(path), own_(budget) {}
    FailingSaveFile(const QString& path, qint64* shared) : QSaveFile(path), budget_(shared) {}

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    qint64 own_ = -1;
    qint64* budget_ = &own_;
};

// A store whose next writes fail after a number of bytes (-1: never).
class TestStore : public Store
{
public:
    using Store::Store;
    qint64 fileBudget = -1;
    qint64 saveBudget = -1;
    // When 0 or more: the bytes left to every write of the store together,
    // whatever the device (fileBudget and saveBudget are then not used).
    qint64 operationBudget = -1;
    // Only writes to paths ending with this fail (empty: every path).
    QString failingSuffix;

    std::unique_ptr<QFile> openFile(const QString& path) override;
    std::unique_ptr<QSaveFile> saveFile(const QString& path) override;
};

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

template <class T> QByteArray recordBytes(const T& r)
{
    return QByteArray(reinterpret_cast<const char*>(&r), sizeof(T));
}

TSocieteRec makeSociete(qint32 id, const QString& nom, const char* categorie = "S");
TContactRec makeContact(qint32 id, qint32 societe, const QString& nom);
TCandidatureRec makeCandidature(qint32 id, qint32 societe, const QString& intitule,
                                const QString& date = QStringLiteral("20260115"));

// A time limit of a test that tells linear work from quadratic: the build
// with the sanitizers runs several times slower, and gets ten times longer.
constexpr int timeLimitMs(int ms)
{
#if defined(__SANITIZE_ADDRESS__)
    return ms * 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return ms * 10;
#else
    return ms;
#endif
#else
    return ms;
#endif
}
