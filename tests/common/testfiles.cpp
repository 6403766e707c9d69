#include "common/testfiles.h"

qint64 FailingFile::writeData(const char* data, qint64 len)
{
    if (budget_ < 0) return QFile::writeData(data, len);
    const qint64 n = std::min(len, budget_);
    if (n == 0) return -1;
    const qint64 w = QFile::writeData(data, n);
    if (w > 0) budget_ -= w;
    return w;
}

qint64 FailingSaveFile::writeData(const char* data, qint64 len)
{
    if (budget_ < 0) return QSaveFile::writeData(data, len);
    const qint64 n = std::min(len, budget_);
    if (n == 0) return -1;
    const qint64 w = QSaveFile::writeData(data, n);
    if (w > 0) budget_ -= w;
    return w;
}

std::unique_ptr<QFile> TestStore::openFile(const QString& path)
{
    if (failingSuffix.isEmpty() || path.endsWith(failingSuffix))
        return std::make_unique<FailingFile>(path, fileBudget);
    return Store::openFile(path);
}

std::unique_ptr<QSaveFile> TestStore::saveFile(const QString& path)
{
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
