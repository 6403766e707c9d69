#include "common/testfiles.h"

#include <cerrno>

namespace
{

// Writes what the budget allows through `write`; out of budget, the write
// fails as on a full disk.
template <class Write, class Full>
qint64 budgeted(qint64* budget, const char* data, qint64 len, Write write, Full full)
{
    if (*budget < 0) return write(data, len);
    const qint64 n = std::min(len, *budget);
    if (n == 0) {
        full(qt_error_string(ENOSPC));
        return -1;
    }
    const qint64 w = write(data, n);
    if (w > 0) *budget -= w;
    return w;
}

} // namespace

qint64 FailingFile::writeData(const char* data, qint64 len)
{
    return budgeted(
        budget_, data, len, [this](const char* d, qint64 n) { return QFile::writeData(d, n); },
        [this](const QString& why) { setErrorString(why); });
}

qint64 FailingSaveFile::writeData(const char* data, qint64 len)
{
    return budgeted(
        budget_, data, len, [this](const char* d, qint64 n) { return QSaveFile::writeData(d, n); },
        [this](const QString& why) { setErrorString(why); });
}

std::unique_ptr<QFile> TestStore::openFile(const QString& path)
{
    if (operationBudget >= 0) return std::make_unique<FailingFile>(path, &operationBudget);
    if (failingSuffix.isEmpty() || path.endsWith(failingSuffix))
        return std::make_unique<FailingFile>(path, fileBudget);
    return Store::openFile(path);
}

std::unique_ptr<QSaveFile> TestStore::saveFile(const QString& path)
{
    if (operationBudget >= 0) return std::make_unique<FailingSaveFile>(path, &operationBudget);
    if (failingSuffix.isEmpty() || path.endsWith(failingSuffix))
        return std::make_unique<FailingSaveFile>(path, saveBudget);
    return Store::saveFile(path);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

TSocieteRec makeSociete(qint32 id, const QString& nom, const char* categorie)
{
    TSocieteRec r{};
    r.nom = nom;
    r.id = id;
    r.categorie.setBytes(categorie, 1);
    prepareForWrite(r);
    return r;
}

TContactRec makeContact(qint32 id, qint32 societe, const QString& nom)
{
    TContactRec r{};
    r.nom = nom;
    r.id = id;
    r.id_societe = societe;
    prepareForWrite(r);
    return r;
}

TCandidatureRec makeCandidature(qint32 id, qint32 societe, const QString& intitule,
                                const QString& date)
{
    TCandidatureRec r = newCandidature();
    r.id = id;
    r.id_societe = societe;
    r.intitule = intitule;
    r.date = date;
    return r;
}
