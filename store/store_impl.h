#pragma once
// Template parts of Store; included by store.h only.

#include "store/recordfile.h"

template <> inline QList<TSocieteRec>& Store::table<TSocieteRec>()
{
    ++tableChanges_[int(FileKind::Societes)];
    return Societes;
}
template <> inline QList<TContactRec>& Store::table<TContactRec>()
{
    ++tableChanges_[int(FileKind::Contacts)];
    return Contacts;
}
template <> inline QList<TCandidatureRec>& Store::table<TCandidatureRec>()
{
    ++tableChanges_[int(FileKind::Candidatures)];
    return Candidatures;
}
template <> inline QList<TFavoriRec>& Store::table<TFavoriRec>()
{
    ++tableChanges_[int(FileKind::Favoris)];
    return Favoris;
}

template <> inline FileKind Store::kindOf<TSocieteRec>()
{
    return FileKind::Societes;
}
template <> inline FileKind Store::kindOf<TContactRec>()
{
    return FileKind::Contacts;
}
template <> inline FileKind Store::kindOf<TCandidatureRec>()
{
    return FileKind::Candidatures;
}
template <> inline FileKind Store::kindOf<TFavoriRec>()
{
    return FileKind::Favoris;
}

// The fatal messages of a failed rewrite name the file and the backup directory.
template <> inline QString Store::rewriteFailureText<TCandidatureRec>(const QString& error) const
{
    return GetTxt(225) + CR + GetTxt(226) + QLatin1Char(' ') + GetTxt(227) + CR + CR + error;
}

inline QString companyRewriteFailure(const QString& what, const QString& file, const QString& error)
{
    return QStringLiteral("Une erreur critique est survenue lors de la regénération du fichier ") +
           what + QLatin1Char('.') + CR +
           QStringLiteral("L'application va se terminer maintenant. Si au prochain lancement vous "
                          "constatez des erreurs dans le listing, restaurez manuellement le "
                          "fichier \"") +
           file + QStringLiteral("\" qui se trouve dans le répertoire \"Backup\"") + CR + CR +
           error;
}

template <> inline QString Store::rewriteFailureText<TSocieteRec>(const QString& error) const
{
    return companyRewriteFailure(QStringLiteral("sociétés"), QStringLiteral("societes.dat"), error);
}

template <> inline QString Store::rewriteFailureText<TContactRec>(const QString& error) const
{
    return companyRewriteFailure(QStringLiteral("contacts"), QStringLiteral("contacts.dat"), error);
}

template <> inline QString Store::rewriteFailureText<TFavoriRec>(const QString& error) const
{
    return GetTxt(221) + QStringLiteral(": ") + error;
}

template <class T> Result Store::append(T record)
{
    return appendAll(QList<T>{record});
}

template <class T> Result Store::appendAll(QList<T> records)
{
    const QString name = QString::fromLatin1(RecordInfo<T>::file);
    if (Result w = writable(kindOf<T>(), name); !w.ok) return w;
    if (records.isEmpty()) return Result::success();
    // A file changed by someone else stays so after the append.
    const bool current = unchangedOnDisk(kindOf<T>());
    for (T& r : records)
        prepareForWrite(r);
    QList<T>& t = table<T>();
    auto file = openFile(path(name));
    QString error;
    bool ok = file->open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered);
    if (!ok) {
        error = deviceErrorText(*file);
    } else if (file->size() / qint64(sizeof(T)) != t.size()) {
        // Someone else changed the file since it was loaded: appending now
        // would put the records at other positions than in the table.
        error = QStringLiteral("le fichier a été modifié en dehors du programme");
        ok = false;
    } else {
        ok = recordfile::appendTo(*file, sizeof(T), records.constData(), records.size(), &error);
    }
    // Even a failed append went through this program (the file was cut back).
    if (current && file->isOpen()) stamps_[int(kindOf<T>())] = fileStamp(file->handle());
    if (!ok)
        return Result::failure(QStringLiteral("Impossible d'enregistrer dans \"%1\" :").arg(name) +
                               CR + CR + error);
    t.append(records);
    return Result::success();
}

template <class T> Result Store::update(int i, const T& record, const QString& failureText)
{
    const QString name = QString::fromLatin1(RecordInfo<T>::file);
    if (Result w = overwritable(kindOf<T>(), name); !w.ok) return w;
    QList<T>& t = table<T>();
    T rec = record;
    prepareForWrite(rec);
    const Busy busy(*this);
    auto file = openFile(path(name));
    QString error;
    bool ok = i >= 0 && i < t.size();
    if (!ok) error = QStringLiteral("Enregistrement %1 absent de la table").arg(i + 1);
    if (ok &&
        !(ok = file->open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)))
        error = deviceErrorText(*file);
    if (ok && !(ok = recordfile::updateAt(*file, sizeof(T), i, &rec, &error))) {
        // Put back what part of the record may have been written.
        file->close();
        QFile again(file->fileName());
        if (again.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
            recordfile::updateAt(again, sizeof(T), i, &t[i], nullptr);
    }
    file->close();
    stampFile(kindOf<T>());
    if (!ok) return Result::failure(failureText + CR + CR + error);
    t[i] = rec;
    return Result::success();
}

template <class T>
RewriteResult Store::rewriteWithout(const std::function<bool(const T&)>& drop, Progress progress)
{
    QList<T> kept;
    RewriteResult r =
        writeWithout<T>(drop, progress, path(QString::fromLatin1(RecordInfo<T>::file)), &kept);
    if (r.outcome == Rewrite::Done) {
        table<T>() = std::move(kept);
        stampFile(kindOf<T>());
    }
    return r;
}

template <class T>
RewriteResult Store::writeWithout(const std::function<bool(const T&)>& drop, Progress progress,
                                  const QString& target, QList<T>* kept)
{
    const QString name = QString::fromLatin1(RecordInfo<T>::file);
    if (Result w = overwritable(kindOf<T>(), name); !w.ok) return {Rewrite::Unchanged, w.error};
    const Busy busy(*this);
    if (Result copy = safetyCopy(name); !copy.ok) return {Rewrite::Unchanged, copy.error};
    const QList<T>& old = table<T>();
    if (progress.start) ui().progressStart(progress.maximum >= 0 ? progress.maximum : old.size());
    kept->clear();
    kept->reserve(old.size());
    qint64 walked = 0;
    for (const T& r : old) {
        if (++walked % 4096 == 0) ui().progressStep(4096);
        if (!drop(r)) kept->append(r);
    }
    ui().progressStep(walked % 4096);

    auto out = saveFile(target);
    QString error;
    const bool ok =
        recordfile::replaceContent(*out, reinterpret_cast<const char*>(kept->constData()),
                                   qint64(kept->size()) * qint64(sizeof(T)), &error);
    if (!ok) {
        ui().progressHide();
        return {Rewrite::Failed, rewriteFailureText<T>(error)};
    }
    if (progress.hide) ui().progressHide();
    return {Rewrite::Done, QString()};
}
