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
#include <vector>

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

// What the loading learns of a file's records, gathered batch by batch as
// they are read, while each batch is still in the processor's cache:
// - the highest id of any record, live or not, so that a new record never
//   shares an id with one the file already holds;
// - the ids of other files the records name: a deletion interrupted between
//   two rewrites leaves contacts or applications of a company that is gone,
//   or applications linked to a contact that is gone;
// - the distinct sources of the live applications, in table order;
// - the live records whose tag is not the current one (damaged: they are
//   shown as read), and the ids of the live records, to find those that
//   more than one holds.
// A file read in two parts has a scan for each, the second then added to
// the first.
template <class T> struct RecordScan {
    static constexpr bool HasId = !std::is_same_v<T, TFavoriRec>;

    void add(const T* records, qint64 n)
    {
        for (qint64 i = 0; i < n; ++i) {
            const T& r = records[i];
            if constexpr (HasId)
                if (qint32(r.id) > highest) highest = r.id;
            if constexpr (std::is_same_v<T, TContactRec>)
                used.societe = std::max(used.societe, qint32(r.id_societe));
            if constexpr (std::is_same_v<T, TCandidatureRec>) {
                used.societe = std::max(used.societe, qint32(r.id_societe));
                used.contact = std::max(used.contact, qint32(r.id_contact));
            }
            if constexpr (HasId) {
                if (!isLive(r)) continue;
                if (!r.version.equals(RecordInfo<T>::tag)) ++damaged;
                liveIds.push_back(r.id);
            }
            if constexpr (std::is_same_v<T, TCandidatureRec>)
                if (!r.source.isEmpty()) {
                    // Looked up without a copy: most applications repeat a
                    // known source.
                    const QByteArray raw =
                        QByteArray::fromRawData(r.source.chars, r.source.length());
                    if (!seen_.contains(raw)) noteSource(r.source.bytes());
                }
        }
    }

    // What a scan of the records that follow found.
    void add(const RecordScan& later)
    {
        highest = std::max(highest, later.highest);
        used.societe = std::max(used.societe, later.used.societe);
        used.contact = std::max(used.contact, later.used.contact);
        damaged += later.damaged;
        liveIds.insert(liveIds.end(), later.liveIds.begin(), later.liveIds.end());
        for (const QByteArray& source : later.sources)
            if (!seen_.contains(source)) noteSource(source);
    }

    qint32 highest = 0;
    Store::IdsInUse used;
    qint64 damaged = 0;
    std::vector<qint32> liveIds;
    QList<QByteArray> sources; // as stored, in table order

private:
    void noteSource(const QByteArray& source)
    {
        seen_.insert(source);
        sources.append(source);
    }

    QSet<QByteArray> seen_;
};

// The ids that more than one of `ids` holds, in increasing order.
QList<qint32> repeatedIds(std::vector<qint32>& ids)
{
    // Ids are given in increasing order: the sort mostly finds them sorted.
    if (!std::is_sorted(ids.begin(), ids.end())) std::sort(ids.begin(), ids.end());
    QList<qint32> repeated;
    for (size_t k = 1; k < ids.size(); ++k)
        if (ids[k] == ids[k - 1] && (repeated.isEmpty() || repeated.last() != ids[k]))
            repeated.append(ids[k]);
    return repeated;
}

// What is wrong in the records read, as one line naming the file; empty
// when nothing is.
template <class T> QString recordProblems(RecordScan<T>& scan)
{
    if constexpr (!RecordScan<T>::HasId) {
        return QString();
    } else {
        QStringList parts;
        if (scan.damaged == 1)
            parts.append(QStringLiteral("1 enregistrement endommagé, affiché tel qu'il a été lu"));
        else if (scan.damaged > 1)
            parts.append(QStringLiteral("%1 enregistrements endommagés, affichés tels qu'ils ont "
                                        "été lus")
                             .arg(scan.damaged));
        const QList<qint32> ids = repeatedIds(scan.liveIds);
        if (!ids.isEmpty()) {
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
    RecordScan<T> scans[2];
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
            StepRecords, [&](int part, const T* batch, qint64 n) { scans[part].add(batch, n); });
    }
    RecordScan<T>& scan = scans[0];
    scan.add(scans[1]);
    used_.societe = std::max(used_.societe, scan.used.societe);
    used_.contact = std::max(used_.contact, scan.used.contact);
    const QString problems = recordProblems(scan);
    QStringList sources;
    for (const QByteArray& source : scan.sources)
        sources.append(cp1252::decode(source));
    onInterface([&] {
        store_->table<T>() = std::move(records);
        if (maxId && scan.highest > *maxId) *maxId = scan.highest;
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
