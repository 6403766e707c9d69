#include "store/store.h"

#include "store/journal.h"
#include "store/settings.h"
#include "store/systemerror.h"
#include "store/texts.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace
{
QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// A file that could not be deleted (text id 222) or moved away (223):
// the text, the file and the system's reason on lines of their own.
Result fileFailure(int textId, const QString& path, const QString& error)
{
    return Result::failure(GetTxt(textId) + CR + path + CR + CR + error);
}
} // namespace

Store::Store(const QString& programDir) : dir_(QDir(programDir).absolutePath()) {}

QString Store::path(const QString& name) const
{
    return dir_ + QLatin1Char('/') + name;
}

QStringList Store::Initialisation()
{
    QStringList failures;
    for (const char* name : {"societes.dat", "contacts.dat", "candidatures.dat", "favoris.dat"}) {
        const QString n = QString::fromLatin1(name);
        QFileInfo info(path(n));
        if (info.exists() || info.isSymLink()) continue;
        QFile f(path(n));
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            failures.append(QStringLiteral("Erreur lors de la création du fichier ") + quoted(n) +
                            CR + CR + deviceErrorText(f));
    }
    for (const char* name : {"txt", "backup", "Import"}) {
        const QString n = QString::fromLatin1(name);
        if (QFileInfo(path(n)).isDir()) continue;
        if (!QDir(dir_).mkdir(n))
            failures.append(
                QStringLiteral("Erreur lors de la création du répertoire ") + quoted(n) + CR + CR +
                (QFileInfo::exists(path(n)) ? QStringLiteral("Un fichier porte déjà ce nom.")
                                            : QStringLiteral("Accès refusé.")));
    }
    // A deletion of several files stopped in its middle is finished now,
    // before anything reads the files.
    failures += journal::recover(*this);
    return failures;
}

void Store::setLoadFailure(FileKind kind, const QString& error)
{
    loadErrors_[int(kind)] = error.isEmpty() ? QStringLiteral("erreur de lecture") : error;
}

namespace
{
const char* const DataFiles[4] = {"societes.dat", "contacts.dat", "candidatures.dat",
                                  "favoris.dat"};
}

void Store::stampFile(FileKind kind)
{
    stamps_[int(kind)] = fileStamp(path(QString::fromLatin1(DataFiles[int(kind)])));
}

bool Store::unchangedOnDisk(FileKind kind) const
{
    const FileStamp& known = stamps_[int(kind)];
    return !known.known || fileStamp(path(QString::fromLatin1(DataFiles[int(kind)]))) == known;
}

Result Store::overwritable(FileKind kind, const QString& fileName) const
{
    if (Result w = writable(kind, fileName); !w.ok) return w;
    if (unchangedOnDisk(kind)) return Result::success();
    return Result::failure(
        QStringLiteral("Le fichier ") + quoted(fileName) +
        QStringLiteral(" a été modifié sur le disque depuis son chargement, peut-être par "
                       "une autre copie du programme : cette modification n'y est pas "
                       "enregistrée, afin de ne rien écraser.") +
        CR + CR +
        QStringLiteral("Quittez le programme puis relancez-le pour travailler sur son contenu "
                       "actuel."));
}

Result Store::writable(FileKind kind, const QString& fileName) const
{
    if (!loadFailed(kind)) return Result::success();
    return Result::failure(
        QStringLiteral("Le fichier ") + quoted(fileName) +
        QStringLiteral(" n'a pas pu être lu en entier au démarrage : aucune modification "
                       "n'y est enregistrée, afin de ne rien perdre de ce qu'il contient.") +
        CR + CR + loadError(kind));
}

namespace
{
const char* const MaxIdSettings[3] = {"MaxIdSociete", "MaxIdContact", "MaxIdCandidature"};
}

Result Store::nextId(qint32& highest, const QString& what, qint32* id)
{
    if (highest == std::numeric_limits<qint32>::max())
        return Result::failure(
            QStringLiteral("Le plus grand numéro de %1 (%2) a déjà été donné : aucune nouvelle "
                           "fiche ne peut être ajoutée dans ce dossier.")
                .arg(what)
                .arg(highest));
    *id = ++highest;
    saveMaxIds();
    return Result::success();
}

Result Store::nextIdSociete(qint32* id)
{
    return nextId(MaxIdSociete, QStringLiteral("société"), id);
}

Result Store::nextIdContact(qint32* id)
{
    return nextId(MaxIdContact, QStringLiteral("contact"), id);
}

Result Store::nextIdCandidature(qint32* id)
{
    return nextId(MaxIdCandidature, QStringLiteral("candidature"), id);
}

void Store::noteIdsInUse(const IdsInUse& used)
{
    qint32* const maxima[3] = {&MaxIdSociete, &MaxIdContact, &MaxIdCandidature};
    const qint32 inUse[3] = {used.societe, used.contact, used.candidature};
    const bool kept = !registryFile().isEmpty();
    for (int k = 0; k < 3; ++k) {
        if (kept) {
            bool ok = false;
            const qint32 given =
                Readregistry(RegistryKey, QString::fromLatin1(MaxIdSettings[k])).toInt(&ok);
            if (ok && given > 0) savedMax_[k] = given;
        }
        *maxima[k] = std::max({*maxima[k], inUse[k], savedMax_[k]});
    }
}

void Store::saveMaxIds()
{
    saveMaxIds({MaxIdSociete, MaxIdContact, MaxIdCandidature});
}

void Store::reserveIds(qint32 societes, qint32 contacts, qint32 candidatures)
{
    const qint32 maxima[3] = {MaxIdSociete, MaxIdContact, MaxIdCandidature};
    const qint32 counts[3] = {societes, contacts, candidatures};
    std::array<qint32, 3> reserved;
    for (int k = 0; k < 3; ++k)
        reserved[k] = qint32(std::min<qint64>(qint64(maxima[k]) + std::max(counts[k], 0),
                                              std::numeric_limits<qint32>::max()));
    saveMaxIds(reserved);
}

void Store::saveMaxIds(const std::array<qint32, 3>& maxima)
{
    if (registryFile().isEmpty()) return;
    // Only a maximum that grew is written: ids given back after a failed
    // write do not lower what the file keeps.
    QList<std::pair<QString, QString>> grown;
    for (int k = 0; k < 3; ++k)
        if (maxima[k] > savedMax_[k])
            grown.append({QString::fromLatin1(MaxIdSettings[k]), QString::number(maxima[k])});
    if (grown.isEmpty() || !WriteRegistry(RegistryKey, grown)) return;
    for (int k = 0; k < 3; ++k)
        savedMax_[k] = std::max(savedMax_[k], maxima[k]);
}

Result Store::UpdateCandidature(int i, const TCandidatureRec& record)
{
    return update(i, record,
                  GetTxt(229) + QLatin1Char(' ') + quoted(QStringLiteral("candidatures.dat")));
}

Result Store::UpdateSociete(int i, const TSocieteRec& record)
{
    return update(i, record,
                  QStringLiteral("Une erreur est survenue lors de la mise à jour de ") +
                      quoted(QStringLiteral("societes.dat")));
}

Result Store::updateContact(int i, const TContactRec& record, const QString& failureText)
{
    return update(i, record, failureText);
}

Result Store::DeplaceFichier(const QString& source, const QString& target)
{
    QFile t(target);
    if (t.exists() && !t.remove()) return fileFailure(222, target, deviceErrorText(t));
    QFile s(source);
    if (!s.rename(target)) return fileFailure(223, source, deviceErrorText(s));
    return Result::success();
}

Result Store::DeleteFichier(const QString& p)
{
    QFile f(p);
    if (!f.exists() || f.remove()) return Result::success();
    return fileFailure(222, p, deviceErrorText(f));
}

Result Store::safetyCopy(const QString& fileName)
{
    const QString source = path(fileName);
    const QString target = path(QStringLiteral("backup/") + fileName);
    auto out = saveFile(target);
    QString sourceError, targetError;
    if (recordfile::copyFile(source, *out, &sourceError, &targetError)) return Result::success();
    // Either way the safety copy could not be made: the message says so for
    // the data file, and names the copy's place when that is what failed.
    if (!sourceError.isEmpty()) return fileFailure(223, source, sourceError);
    return fileFailure(223, source, target + QStringLiteral(" : ") + targetError);
}

std::unique_ptr<QFile> Store::openFile(const QString& p)
{
    return std::make_unique<QFile>(p);
}

std::unique_ptr<QSaveFile> Store::saveFile(const QString& p)
{
    return std::make_unique<QSaveFile>(p);
}
