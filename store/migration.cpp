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
};

template <class Old, class New, New (*Convert)(const Old&)>
void convertBytes(const char* old, char* out)
{
    Old o;
    std::memcpy(&o, old, sizeof o);
    const New r = Convert(o);
    std::memcpy(out, &r, sizeof r);
}

template <class Old, class New, New (*Convert)(const Old&)> Layout layout()
{
    return {int(sizeof(Old)), int(sizeof(New)), &convertBytes<Old, New, Convert>};
}

struct DataFile {
    const char* name;  // file in the program directory
    const char* tag;   // its current tag
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
    {"candidatures.dat", VersionCandidature, CandidaturesErrorHead, &candidatureLayout},
    {"societes.dat", VersionSociete, SocietesErrorHead, &societeLayout},
    {"contacts.dat", VersionContact, ContactsErrorHead, &contactLayout},
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

// Converts X.dat from an old layout. The old content is first kept as
// backup/X.dat; the converted records are written to X.dat.new, which takes
// the place of X.dat in one rename once it is complete and on disk.
bool convertFile(Store& store, const QString& name, const Layout& l, QString* error)
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
    {
        auto backup = store.saveFile(store.path(backupName));
        QString sourceError, targetError;
        if (!recordfile::copyFile(source, *backup, &sourceError, &targetError)) {
            *error = sourceError.isEmpty() ? fileError(backupName, targetError)
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
            for (qint64 i = 0; i < n; ++i)
                l.convert(old.constData() + i * l.oldSize, chunk.data() + i * l.newSize);
            done += n;
            return true;
        },
        &writeError);
    in.close();
    if (readFailed) {
        *error = fileError(name, readError);
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

// Version of each file to convert, -1 for the others; false when a file is
// of a newer version.
bool outdatedVersions(const Store& store, int (&from)[3])
{
    for (int i = 0; i < 3; ++i) {
        from[i] = -1;
        const DataFile& f = Files[i];
        const QString path = store.path(QString::fromLatin1(f.name));
        if (!QFileInfo::exists(path)) continue;
        const QString t = LitEnteteFichier(path).left(6);
        if (t == QLatin1String("null") || t == QLatin1String(f.tag)) continue;
        const int current = tagVersion(QString::fromLatin1(f.tag));
        const int v = tagVersion(t);
        if (v > current) return false;
        // A negative number is no version this program ever wrote: the file
        // is left as it is.
        if (v < 0) continue;
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
        if (!error.isEmpty() || !convertFile(store, QString::fromLatin1(f.name), l, &error))
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
