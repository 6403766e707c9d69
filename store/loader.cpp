#include "store/loader.h"

#include "store/recordfile.h"
#include "store/systemerror.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <limits>

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

// What is wrong in the records read: live records whose tag is not the
// current one (damaged: they are shown as read), and ids that more than one
// live record holds. Empty when nothing is.
template <class T> QString recordProblems(const QList<T>& records)
{
    if constexpr (std::is_same_v<T, TFavoriRec>) {
        return QString();
    } else {
        const QByteArray tag = QByteArray(RecordInfo<T>::tag);
        qint64 damaged = 0;
        QSet<qint32> seen, shared;
        seen.reserve(records.size());
        for (const T& r : records) {
            if (!isLive(r)) continue;
            if (r.version.bytes() != tag) ++damaged;
            const qint32 id = r.id;
            if (seen.contains(id))
                shared.insert(id);
            else
                seen.insert(id);
        }
        QStringList parts;
        if (damaged == 1)
            parts.append(QStringLiteral("1 enregistrement endommagé, affiché tel qu'il a été lu"));
        else if (damaged > 1)
            parts.append(QStringLiteral("%1 enregistrements endommagés, affichés tels qu'ils ont "
                                        "été lus")
                             .arg(damaged));
        if (!shared.isEmpty()) {
            QList<qint32> ids = shared.values();
            std::sort(ids.begin(), ids.end());
            QStringList numbers;
            for (int i = 0; i < std::min<int>(ids.size(), 10); ++i)
                numbers.append(QString::number(ids[i]));
            if (ids.size() > 10) numbers.append(QStringLiteral("..."));
            parts.append(QStringLiteral("plusieurs enregistrements portent le même numéro (%1)")
                             .arg(numbers.join(QStringLiteral(", "))));
        }
        if (parts.isEmpty()) return QString();
        return QStringLiteral("\"%1\" : ").arg(QLatin1String(RecordInfo<T>::file)) +
               parts.join(QStringLiteral(" ; "));
    }
}

// Ids of other files that these records name: a deletion interrupted
// between two rewrites leaves contacts or applications of a company that is
// gone, or applications linked to a contact that is gone.
void noteReferences(const QList<TContactRec>& records, Store::IdsInUse& used)
{
    for (const TContactRec& r : records)
        used.societe = std::max(used.societe, qint32(r.id_societe));
}

void noteReferences(const QList<TCandidatureRec>& records, Store::IdsInUse& used)
{
    for (const TCandidatureRec& r : records) {
        used.societe = std::max(used.societe, qint32(r.id_societe));
        used.contact = std::max(used.contact, qint32(r.id_contact));
    }
}

// Highest application id named by a text file of txt/ ("BN_12.txt"): the
// notes or documents of an application whose deletion did not finish.
qint32 highestTextFileId(const QString& txtDir)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z]+_([0-9]{1,10})\\.txt$"),
                                         QRegularExpression::CaseInsensitiveOption);
    qint32 highest = 0;
    QDirIterator it(txtDir, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = name.match(it.nextFileInfo().fileName());
        if (!m.hasMatch()) continue;
        bool ok = false;
        const qint64 id = m.capturedView(1).toLongLong(&ok);
        if (ok && id > highest && id <= std::numeric_limits<qint32>::max()) highest = qint32(id);
    }
    return highest;
}

} // namespace

QString TExeThread::refusal(const QString& path)
{
    const QFileInfo info(path);
    // A missing file fails at its opening, with the system's reason.
    if (!info.exists()) return QString();
    // A pipe would block the reading for ever, a device would never end.
    if (!info.isFile())
        return QStringLiteral("ce n'est pas un fichier de données (un dossier, un tube ou un "
                              "périphérique porte ce nom) : il n'a pas été lu");
    if (info.size() > MaxFileSize)
        return QStringLiteral("le fichier fait %1 Go, plus que les %2 Go qu'un fichier de données "
                              "peut faire : il n'a pas été lu")
            .arg(info.size() / (qint64(1) << 30))
            .arg(MaxFileSize / (qint64(1) << 30));
    return QString();
}

template <class T> bool TExeThread::loadFile(FileKind kind, const QString& status, qint32* maxId)
{
    onInterface([&] { target_->loaderStatus(status); });
    QList<T> records;
    QString error;
    QFile file(store_->path(QString::fromLatin1(RecordInfo<T>::file)));
    error = refusal(file.fileName());
    bool ok = error.isEmpty() && file.open(QIODevice::ReadOnly);
    if (!ok && error.isEmpty()) error = deviceErrorText(file);
    // Taken before the reading: a change made while it runs shows later.
    const FileStamp stamp = ok ? fileStamp(file.handle()) : FileStamp{};
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
    const QString problems = recordProblems(records);
    if constexpr (std::is_same_v<T, TContactRec> || std::is_same_v<T, TCandidatureRec>)
        noteReferences(records, used_);
    onInterface([&] {
        store_->table<T>() = std::move(records);
        if (maxId && highest > *maxId) *maxId = highest;
        if constexpr (std::is_same_v<T, TCandidatureRec>) store_->SourcesConnues = sources;
        if (!ok) store_->setLoadFailure(kind, error);
        store_->setStamp(kind, stamp);
        if (!problems.isEmpty()) store_->addLoadWarning(problems);
    });
    return !isInterruptionRequested();
}

void TExeThread::run()
{
    qint64 total = 0;
    for (const auto& [name, size] : {std::pair{"societes.dat", 604}, std::pair{"contacts.dat", 236},
                                     std::pair{"candidatures.dat", 1644}}) {
        const QString p = store_->path(QString::fromLatin1(name));
        if (refusal(p).isEmpty()) total += recordfile::recordCount(p, size);
    }
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
    used_.candidature = highestTextFileId(store_->path(QStringLiteral("txt")));
    onInterface([&] {
        store_->noteIdsInUse(used_);
        target_->loaderEnd();
    });
}
