#include "store/loader.h"

#include "store/recordfile.h"
#include "store/systemerror.h"

#include <QFile>
#include <QSet>

TExeThread::TExeThread(Store* store, LoaderTarget* target, QObject* context)
    : store_(store), target_(target), context_(context)
{
}

template <class F> void TExeThread::onInterface(F&& f)
{
    QMetaObject::invokeMethod(context_, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

namespace
{

// What a loaded file brings besides its records.
template <class T> qint32 highestId(const QList<T>& records)
{
    qint32 m = 0;
    for (const T& r : records)
        if (qint32(r.id) > m) m = r.id;
    return m;
}

QStringList distinctSources(const QList<TCandidatureRec>& records)
{
    QStringList sources;
    QSet<QByteArray> seen;
    for (const TCandidatureRec& r : records) {
        if (!isLive(r) || r.source.isEmpty()) continue;
        const QByteArray b = r.source.bytes();
        if (seen.contains(b)) continue;
        seen.insert(b);
        sources.append(r.source.text());
    }
    return sources;
}

} // namespace

template <class T> bool TExeThread::loadFile(FileKind kind, const QString& status, qint32* maxId)
{
    onInterface([&] { target_->loaderStatus(status); });
    QList<T> records;
    QString error;
    QFile file(store_->path(QString::fromLatin1(RecordInfo<T>::file)));
    bool ok = file.open(QIODevice::ReadOnly);
    if (!ok) error = deviceErrorText(file);
    qint64 reported = 0;
    if (ok) {
        ok = recordfile::readAll<T>(
            file, records, &error,
            [&](qint64 done) {
                if (isInterruptionRequested()) return false;
                const qint64 step = done - reported;
                reported = done;
                // The progress bar moves without holding up the reading.
                QMetaObject::invokeMethod(
                    context_, [target = target_, step] { target->loaderStep(step); },
                    Qt::QueuedConnection);
                return true;
            },
            StepRecords);
    }
    // Records not live keep their place; ids are taken from every record so
    // that a new record never shares an id with one the file already holds.
    qint32 highest = 0;
    QStringList sources;
    if constexpr (!std::is_same_v<T, TFavoriRec>) highest = highestId(records);
    if constexpr (std::is_same_v<T, TCandidatureRec>) sources = distinctSources(records);
    onInterface([&] {
        store_->table<T>() = std::move(records);
        if (maxId && highest > *maxId) *maxId = highest;
        if constexpr (std::is_same_v<T, TCandidatureRec>) store_->SourcesConnues = sources;
        if (!ok) store_->setLoadFailure(kind, error);
    });
    return !isInterruptionRequested();
}

void TExeThread::run()
{
    qint64 total = 0;
    total += recordfile::recordCount(store_->path(QStringLiteral("societes.dat")), 604);
    total += recordfile::recordCount(store_->path(QStringLiteral("contacts.dat")), 236);
    total += recordfile::recordCount(store_->path(QStringLiteral("candidatures.dat")), 1644);
    onInterface([&] {
        target_->loaderStatus(QStringLiteral("Initialisation..."));
        target_->loaderBegin(total);
    });
    if (!loadFile<TSocieteRec>(FileKind::Societes,
                               QStringLiteral("Chargement des informations sur les sociétés..."),
                               &store_->MaxIdSociete))
        return;
    if (!loadFile<TContactRec>(FileKind::Contacts,
                               QStringLiteral("Chargement des informations sur les contacts..."),
                               &store_->MaxIdContact))
        return;
    if (!loadFile<TCandidatureRec>(
            FileKind::Candidatures,
            QStringLiteral("Chargement des informations sur les candidatures..."),
            &store_->MaxIdCandidature))
        return;
    if (!loadFile<TFavoriRec>(FileKind::Favoris, QStringLiteral("Chargement des favoris..."),
                              nullptr))
        return;
    onInterface([&] { target_->loaderEnd(); });
}
