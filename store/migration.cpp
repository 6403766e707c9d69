#include "store/migration.h"

#include "store/helpers.h"
#include "store/recordfile.h"
#include "store/store.h"
#include "store/systemerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// ---------------------------------------------------------------------------
// One old record → one current record

// The fields both old application layouts share with the current one.
template <class Old> void copyCommonFields(TCandidatureRec& r, const Old& o)
{
    r.intitule = o.intitule;
    r.date = o.date;
    r.date_cv = o.date_cv;
    r.date_lettre = o.date_lettre;
    r.date_suite = o.date_suite;
    r.date_accuse = o.date_accuse;
    r.id_contact = o.id_contact;
    r.id = o.id;
    r.id_societe = o.id_societe;
    r.cv = o.cv;
    r.lettre = o.lettre;
    r.accuse = o.accuse;
    r.suite = o.suite;
    r.offre = o.offre;
    r.terminee = o.terminee;
    r.marqueur = o.marqueur;
}

TCandidatureRec convertCandidature(const TCandidatureRecV0& o)
{
    TCandidatureRec r{};
    copyCommonFields(r, o);
    // Version 0 knew neither appointments nor the kind of application.
    r.type.setBytes("R", 1);
    r.methode.setBytes("I", 1);
    prepareForWrite(r);
    return r;
}

TCandidatureRec convertCandidature(const TCandidatureRecV1& o)
{
    TCandidatureRec r{};
    copyCommonFields(r, o);
    r.date_rdv = o.date_rdv;
    r.alerte = o.alerte;
    r.type = o.type;
    r.methode = o.methode;
    prepareForWrite(r);
    return r;
}

TSocieteRec convertSociete(const TSocieteRecV0& o)
{
    TSocieteRec r{};
    r.nom = o.nom;
    r.service = o.service;
    r.email = o.email;
    r.adresse_a = o.adresse_a;
    r.adresse_b = o.adresse_b;
    r.bp = o.bp;
    r.cp = o.cp;
    r.ville = o.ville;
    r.pays = o.pays;
    r.tela = o.tela;
    r.telb = o.telb;
    r.faxa = o.faxa;
    r.faxb = o.faxb;
    r.url = o.url;
    r.id = o.id;
    // Version 0 had employers only.
    r.categorie.setBytes("S", 1);
    prepareForWrite(r);
    return r;
}

TContactRec convertContact(const TContactRecV0& o)
{
    TContactRec r{};
    r.nom = o.nom;
    r.fonction = o.fonction;
    r.email = o.email;
    r.tel = o.tel;
    r.fax = o.fax;
    r.gsm = o.gsm;
    r.civilite = o.civilite;
    r.id = o.id;
    r.id_societe = o.id_societe;
    prepareForWrite(r);
    return r;
}

int tagVersion(const QString& tag)
{
    const QString s = tag.mid(3);
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    if (i == s.size()) return 0;
    qint64 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return 0;
        v = v * 10 + (c - u'0');
        if (v > INT_MAX) return 0;
    }
    return int(negative ? -v : v);
}

// ---------------------------------------------------------------------------
// The check at start-up

namespace
{

using namespace migrationtexts;

// How the records of one old layout become current records.
struct Layout {
    int oldSize = 0;
    int newSize = 0;
    void (*convert)(const char* old, char* out) = nullptr;
    // False when a converted record cannot be what the old program wrote.
    bool (*plausible)(const char* out) = nullptr;
};

template <class Old, class New, New (*Convert)(const Old&)>
void convertBytes(const char* old, char* out)
{
    Old o;
    std::memcpy(&o, old, sizeof o);
    const New r = Convert(o);
    std::memcpy(out, &r, sizeof r);
}

bool isStoredDate(const Date& d)
{
    if (d.isEmpty()) return true;
    if (d.length() != 8) return false;
    for (int i = 0; i < 8; ++i)
        if (d.chars[i] < '0' || d.chars[i] > '9') return false;
    return true;
}

// Every record the old program kept has an id above zero, and an
// application its date.
template <class New> bool plausibleRecord(const char* out)
{
    New r;
    std::memcpy(&r, out, sizeof r);
    if (!isLive(r)) return true;
    if (qint32(r.id) <= 0) return false;
    if constexpr (std::is_same_v<New, TCandidatureRec>) return isStoredDate(r.date);
    return true;
}

template <class Old, class New, New (*Convert)(const Old&)> Layout layout()
{
    return {int(sizeof(Old)), int(sizeof(New)), &convertBytes<Old, New, Convert>,
            &plausibleRecord<New>};
}

struct DataFile {
    const char* name;  // file in the program directory
    const char* tag;   // its current tag
    int size;          // its current record size
    QString errorHead; // start of the message of a failed conversion
    Layout (*layoutOf)(int version);
};

Layout candidatureLayout(int version)
{
    if (version == 0) return layout<TCandidatureRecV0, TCandidatureRec, &convertCandidature>();
    if (version == 1) return layout<TCandidatureRecV1, TCandidatureRec, &convertCandidature>();
    return {};
}

Layout societeLayout(int version)
{
    if (version == 0) return layout<TSocieteRecV0, TSocieteRec, &convertSociete>();
    return {};
}

Layout contactLayout(int version)
{
    if (version == 0) return layout<TContactRecV0, TContactRec, &convertContact>();
    return {};
}

const DataFile Files[] = {
    {"candidatures.dat", VersionCandidature, int(sizeof(TCandidatureRec)), CandidaturesErrorHead,
     &candidatureLayout},
    {"societes.dat", VersionSociete, int(sizeof(TSocieteRec)), SocietesErrorHead, &societeLayout},
    {"contacts.dat", VersionContact, int(sizeof(TContactRec)), ContactsErrorHead, &contactLayout},
};

QString systemError()
{
    return systemErrorText(errno);
}

QString fileError(const QString& name, const QString& error)
{
    return name + QStringLiteral(" : ") +
           (error.isEmpty() ? QStringLiteral("erreur d'entrée-sortie") : error);
}

// Makes a rename in `dir` survive a power cut; nothing to report when the
// system cannot do it, the rename itself has been done.
void syncDirectory(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The name the old content of a converted file keeps for good:
// backup/X-version0.dat, or with a number when that name is taken.
QString oldCopyName(const Store& store, const QString& name, int version)
{
    const QString base = QStringLiteral("backup/") + QFileInfo(name).completeBaseName() +
                         QStringLiteral("-version%1").arg(version);
    QString copy = base + QStringLiteral(".dat");
    for (int n = 2; QFileInfo::exists(store.path(copy)); ++n)
        copy = base + QStringLiteral("-%1.dat").arg(n);
    return copy;
}

// Converts X.dat from an old layout. The old content is first kept as
// backup/X.dat; the converted records are written to X.dat.new, which takes
// the place of X.dat in one rename once it is complete and on disk.
bool convertFile(Store& store, const QString& name, int version, const Layout& l, QString* error)
{
    const QString source = store.path(name);
    const QString backupName = QStringLiteral("backup/") + name;

    // The backup directory is made at start-up; it may have failed there.
    if (!QFileInfo(store.path(QStringLiteral("backup"))).isDir() &&
        !QDir(store.programDir()).mkpath(QStringLiteral("backup"))) {
        *error = fileError(QStringLiteral("backup"),
                           QStringLiteral("impossible de créer le répertoire"));
        return false;
    }
    // backup/X.dat is taken again by every later deletion: the old file is
    // also kept under a name of its own that nothing overwrites.
    for (const QString& copyName : {backupName, oldCopyName(store, name, version)}) {
        auto backup = store.saveFile(store.path(copyName));
        QString sourceError, targetError;
        if (!recordfile::copyFile(source, *backup, &sourceError, &targetError)) {
            *error = sourceError.isEmpty() ? fileError(copyName, targetError)
                                           : fileError(name, sourceError);
            return false;
        }
    }

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = fileError(name, deviceErrorText(in));
        return false;
    }
    // Only whole records: an incomplete last record is dropped.
    const qint64 count = in.size() / l.oldSize;
    const qint64 chunkRecords = 1024;
    qint64 done = 0;
    bool readFailed = false;
    QString readError;
    qint64 implausible = 0; // the first record that did not convert to a sane one

    const QString newName = name + QStringLiteral(".new");
    const QString target = store.path(newName);
    auto out = store.saveFile(target);
    QString writeError;
    const bool written = recordfile::replaceContent(
        *out,
        [&](QByteArray& chunk) {
            if (done >= count) return false;
            const qint64 n = std::min(chunkRecords, count - done);
            const QByteArray old = in.read(n * l.oldSize);
            if (old.size() != n * l.oldSize) {
                readFailed = true;
                readError = deviceErrorText(in);
                out->cancelWriting();
                return false;
            }
            chunk.resize(n * l.newSize);
            for (qint64 i = 0; i < n; ++i) {
                char* converted = chunk.data() + i * l.newSize;
                l.convert(old.constData() + i * l.oldSize, converted);
                if (!l.plausible(converted)) {
                    implausible = done + i + 1;
                    out->cancelWriting();
                    return false;
                }
            }
            done += n;
            return true;
        },
        &writeError);
    in.close();
    if (readFailed) {
        *error = fileError(name, readError);
        return false;
    }
    if (implausible > 0) {
        *error = fileError(name, QStringLiteral("l'enregistrement %1 ne peut pas être converti "
                                                "(identifiant ou date invalide) ; le fichier "
                                                "n'a pas été modifié")
                                     .arg(implausible));
        return false;
    }
    if (!written) {
        *error = fileError(newName, writeError);
        return false;
    }

    // The converted file gets the access rights of the one it replaces.
    QFile::setPermissions(target, QFile::permissions(source));
    if (::rename(QFile::encodeName(target).constData(), QFile::encodeName(source).constData()) !=
        0) {
        *error = fileError(name, systemError());
        QFile::remove(target);
        return false;
    }
    syncDirectory(store.programDir());
    return true;
}

// A file whose later records carry the current tag is a current file whose
// first record is damaged, whatever that record's tag says.
bool laterRecordsAreCurrent(QFile& file, const DataFile& f)
{
    const qint64 count = file.size() / f.size;
    const QByteArray tag = QByteArray(1, char(std::strlen(f.tag))) + f.tag;
    for (qint64 k = 1; k < std::min<qint64>(count, 64); ++k) {
        if (!file.seek(k * f.size)) return false;
        if (file.read(tag.size()) == tag) return true;
    }
    return false;
}

// Version of each file to convert, -1 for the others; false when a file is
// of a newer version. Only a file that reads as a whole old layout is taken
// for one: a file that cannot be read, or a current file with a damaged
// record, is left to the loading, which reports it.
bool outdatedVersions(const Store& store, int (&from)[3])
{
    for (int i = 0; i < 3; ++i) {
        from[i] = -1;
        const DataFile& f = Files[i];
        const QString path = store.path(QString::fromLatin1(f.name));
        const QFileInfo info(path);
        if (!info.exists() || !info.isFile() || info.size() < 7) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        ShortString<6> head;
        if (file.read(reinterpret_cast<char*>(&head), 7) != 7) continue;
        const QString t = head.text();
        if (t == QLatin1String(f.tag) || laterRecordsAreCurrent(file, f)) continue;
        const int current = tagVersion(QString::fromLatin1(f.tag));
        const int v = tagVersion(t);
        if (v > current) return false;
        // A negative number is no version this program ever wrote: the file
        // is left as it is.
        if (v < 0) continue;
        // A version without a layout was never written; whole current
        // records that are not whole old ones: a current file whose first
        // tag is damaged.
        const Layout l = f.layoutOf(v);
        if (!l.convert || (info.size() % f.size == 0 && info.size() % l.oldSize != 0)) continue;
        from[i] = v;
    }
    return true;
}

} // namespace

BaseState baseState(const Store& store)
{
    int from[3];
    if (!outdatedVersions(store, from)) return BaseState::Newer;
    for (int v : from)
        if (v >= 0) return BaseState::NeedsConversion;
    return BaseState::UpToDate;
}

Result convertOldFiles(Store& store)
{
    int from[3];
    if (!outdatedVersions(store, from)) return Result::failure(NewerText);
    for (int i = 0; i < 3; ++i) {
        if (from[i] < 0) continue;
        const DataFile& f = Files[i];
        const Layout l = f.layoutOf(from[i]);
        QString error;
        // Every version below the current one has its layout.
        if (!l.convert) error = QStringLiteral("version %1 inconnue").arg(from[i]);
        if (!error.isEmpty() ||
            !convertFile(store, QString::fromLatin1(f.name), from[i], l, &error))
            return Result::failure(f.errorHead + error);
    }
    return Result::success();
}

VersionCheck CheckBaseVersion(Store& store, const BaseCheckDialogue& dialogue)
{
    switch (baseState(store)) {
    case BaseState::UpToDate:
        return VersionCheck::UpToDate;
    case BaseState::Newer:
        dialogue.error(NewerText);
        return VersionCheck::Stop;
    case BaseState::NeedsConversion:
        break;
    }
    if (!dialogue.warningYesNo(QuestionText)) {
        dialogue.information(CancelledText);
        return VersionCheck::Stop;
    }
    Result r;
    {
        // The busy phase ends before any message, however the conversion ends.
        struct BusyPhase {
            const std::function<void(bool)>& busy;
            explicit BusyPhase(const std::function<void(bool)>& b) : busy(b)
            {
                if (busy) busy(true);
            }
            ~BusyPhase()
            {
                if (busy) busy(false);
            }
        } phase(dialogue.busy);
        r = convertOldFiles(store);
    }
    if (!r.ok) {
        dialogue.error(r.error);
        return VersionCheck::Stop;
    }
    dialogue.information(DoneText);
    return VersionCheck::Converted;
}
