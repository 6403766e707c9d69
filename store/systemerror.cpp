#include "store/systemerror.h"

#include <QIODevice>
#include <cerrno>
#include <cstring>

namespace
{

struct Reason {
    int number;
    const char* text; // UTF-8
};

// The reasons a user may meet while the program reads and writes its files.
const Reason Reasons[] = {
    {ENOSPC, "Espace disque insuffisant"},
    {EDQUOT, "Quota d'espace disque dépassé"},
    {EFBIG, "Fichier trop volumineux"},
    {EROFS, "Le disque est en lecture seule"},
    {EACCES, "Accès refusé"},
    {EPERM, "Opération non permise"},
    {ENOENT, "Fichier ou dossier introuvable"},
    {ENOTDIR, "Un élément du chemin n'est pas un dossier"},
    {EISDIR, "Un dossier porte ce nom"},
    {EEXIST, "Le fichier existe déjà"},
    {ENOTEMPTY, "Le dossier n'est pas vide"},
    {EIO, "Erreur d'entrée-sortie du disque"},
    {EMFILE, "Trop de fichiers ouverts"},
    {ENFILE, "Trop de fichiers ouverts sur le système"},
    {ENAMETOOLONG, "Nom de fichier trop long"},
    {ELOOP, "Trop de liens symboliques dans le chemin"},
    {EBUSY, "Le fichier est occupé"},
    {ETXTBSY, "Le fichier est occupé"},
    {EXDEV, "Déplacement impossible d'un disque à un autre"},
    {ENODEV, "Périphérique introuvable"},
    {ENXIO, "Périphérique introuvable"},
    {ENOMEM, "Mémoire insuffisante"},
    {EAGAIN, "Ressource momentanément indisponible"},
    {EINTR, "Opération interrompue"},
    {EINVAL, "Opération impossible sur ce fichier"},
    {ESTALE, "Le fichier n'est plus accessible sur le réseau"},
    {ETIMEDOUT, "Délai d'attente dépassé"},
};

// Qt's own words for the failures of its file operations.
const struct {
    const char* qt;
    const char* text; // UTF-8
} QtTexts[] = {
    {"Source file does not exist.", "Le fichier d'origine n'existe pas"},
    {"Destination file exists", "Un fichier de ce nom existe déjà"},
    {"Destination file is the same file.",
     "Le fichier d'origine et la destination sont le même fichier"},
    {"Cannot remove source file", "Impossible de supprimer le fichier d'origine"},
    {"Filename refers to a directory", "Un dossier porte ce nom"},
    {"file to open is a directory", "Un dossier porte ce nom"},
    {"Writing canceled by application", "Écriture annulée"},
};

const QString Unknown = QStringLiteral("Erreur inconnue");

} // namespace

QString systemErrorText(int errorNumber)
{
    for (const Reason& r : Reasons)
        if (r.number == errorNumber) return QString::fromUtf8(r.text);
    if (errorNumber == 0) return Unknown;
    return Unknown + QStringLiteral(" (code %1)").arg(errorNumber);
}

QString frenchErrorText(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("Unknown error")) return Unknown;
    for (const auto& t : QtTexts)
        if (text == QLatin1String(t.qt)) return QString::fromUtf8(t.text);
    // A save file refuses a file it may not write before it tries.
    if (text.startsWith(QLatin1String("Existing file ")) &&
        text.endsWith(QLatin1String(" is not writable")))
        return QStringLiteral("Le fichier n'est pas accessible en écriture");
    for (const Reason& r : Reasons) {
        // Qt words a few reasons its own way; the others are the C library's.
        if (text == qt_error_string(r.number) ||
            text == QString::fromLocal8Bit(std::strerror(r.number)))
            return QString::fromUtf8(r.text);
    }
    return text;
}

QString deviceErrorText(const QIODevice& device)
{
    return frenchErrorText(device.errorString());
}
