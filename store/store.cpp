#include "store/store.h"

#include "platform/messages.h"
#include "store/texts.h"

#include <QDir>
#include <QFileInfo>

namespace
{
QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}
} // namespace

Store::Store(const QString& programDir) : dir_(QDir(programDir).absolutePath()) {}

QString Store::path(const QString& name) const
{
    return dir_ + QLatin1Char('/') + name;
}

void Store::Initialisation()
{
    for (const char* name : {"societes.dat", "contacts.dat", "candidatures.dat", "favoris.dat"}) {
        const QString n = QString::fromLatin1(name);
        QFileInfo info(path(n));
        if (info.exists() || info.isSymLink()) continue;
        QFile f(path(n));
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            msg::error(QStringLiteral("Erreur lors de la création du fichier ") + quoted(n) + CR +
                       CR + f.errorString());
    }
    for (const char* name : {"txt", "backup", "Import"}) {
        const QString n = QString::fromLatin1(name);
        if (QFileInfo(path(n)).isDir()) continue;
        if (!QDir(dir_).mkdir(n))
            msg::error(QStringLiteral("Erreur lors de la création du répertoire ") + quoted(n) +
                       CR + CR +
                       (QFileInfo::exists(path(n)) ? QStringLiteral("Un fichier porte déjà ce nom.")
                                                   : QStringLiteral("Accès refusé.")));
    }
}

void Store::setLoadFailure(FileKind kind, const QString& error)
{
    loadErrors_[int(kind)] = error.isEmpty() ? QStringLiteral("erreur de lecture") : error;
}

bool Store::refuseIfNotLoaded(FileKind kind, const QString& fileName) const
{
    if (!loadFailed(kind)) return false;
    msg::error(QStringLiteral("Le fichier ") + quoted(fileName) +
               QStringLiteral(" n'a pas pu être lu en entier au démarrage : aucune modification "
                              "n'y est enregistrée, afin de ne rien perdre de ce qu'il contient.") +
               CR + CR + loadError(kind));
    return true;
}

bool Store::UpdateCandidature(int i, const TCandidatureRec& record)
{
    return update(i, record,
                  GetTxt(229) + QLatin1Char(' ') + quoted(QStringLiteral("candidatures.dat")));
}

bool Store::UpdateSociete(int i, const TSocieteRec& record)
{
    ui().busyCursor(true);
    const bool ok = update(i, record,
                           QStringLiteral("Une erreur est survenue lors de la mise à jour de ") +
                               quoted(QStringLiteral("societes.dat")));
    ui().busyCursor(false);
    return ok;
}

bool Store::updateContact(int i, const TContactRec& record, const QString& failureText)
{
    return update(i, record, failureText);
}

bool Store::DeplaceFichier(const QString& source, const QString& target)
{
    QFile t(target);
    if (t.exists() && !t.remove()) {
        msg::error(GetTxt(222) + CR + target + CR + CR + t.errorString());
        return false;
    }
    QFile s(source);
    if (!s.rename(target)) {
        msg::error(GetTxt(223) + CR + source + CR + CR + s.errorString());
        return false;
    }
    return true;
}

bool Store::DeleteFichier(const QString& p)
{
    QFile f(p);
    if (!f.exists()) return true;
    if (f.remove()) return true;
    msg::error(GetTxt(222) + CR + p + CR + CR + f.errorString());
    return false;
}

bool Store::safetyCopy(const QString& fileName)
{
    const QString source = path(fileName);
    const QString target = path(QStringLiteral("backup/") + fileName);
    auto out = saveFile(target);
    QString sourceError, targetError;
    if (recordfile::copyFile(source, *out, &sourceError, &targetError)) return true;
    if (!sourceError.isEmpty())
        msg::error(GetTxt(223) + CR + source + CR + CR + sourceError);
    else
        msg::error(GetTxt(222) + CR + target + CR + CR + targetError);
    return false;
}

std::unique_ptr<QFile> Store::openFile(const QString& p)
{
    return std::make_unique<QFile>(p);
}

std::unique_ptr<QSaveFile> Store::saveFile(const QString& p)
{
    return std::make_unique<QSaveFile>(p);
}
