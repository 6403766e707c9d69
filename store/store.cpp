#include "store/store.h"

#include "store/journal.h"
#include "store/systemerror.h"
#include "store/texts.h"

#include <QDir>
#include <QFileInfo>

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

Result Store::writable(FileKind kind, const QString& fileName) const
{
    if (!loadFailed(kind)) return Result::success();
    return Result::failure(
        QStringLiteral("Le fichier ") + quoted(fileName) +
        QStringLiteral(" n'a pas pu être lu en entier au démarrage : aucune modification "
                       "n'y est enregistrée, afin de ne rien perdre de ce qu'il contient.") +
        CR + CR + loadError(kind));
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
