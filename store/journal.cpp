#include "store/journal.h"

#include "store/recordfile.h"
#include "store/systemerror.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>

namespace
{

const char* const DataFiles[4] = {"societes.dat", "contacts.dat", "candidatures.dat",
                                  "favoris.dat"};
const QByteArray Header = QByteArrayLiteral("ORVALDIS journal 1\n");

QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

bool isDataFile(const QString& name)
{
    for (const char* f : DataFiles)
        if (name == QLatin1String(f)) return true;
    return false;
}

FileKind kindOfFile(const QString& name)
{
    for (int k = 0; k < 4; ++k)
        if (name == QLatin1String(DataFiles[k])) return FileKind(k);
    return FileKind::Candidatures;
}

// Renames `from` over `to` in one step: at every moment `to` is the old file
// or the new one (QFile::rename would remove `to` first).
bool replaceFile(const QString& from, const QString& to, QString* error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *error = systemErrorText(errno);
    return false;
}

QByteArray digest(const QByteArray& body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

// What a journal asks for.
struct Entries {
    QStringList installs;
    QList<qint32> links;
    QStringList deletions;
};

QByteArray encode(const Entries& e)
{
    QByteArray body = Header;
    for (const QString& f : e.installs)
        body += "install " + f.toUtf8() + '\n';
    if (!e.links.isEmpty()) {
        body += "links";
        for (qint32 id : e.links)
            body += ' ' + QByteArray::number(id);
        body += '\n';
    }
    for (const QString& p : e.deletions)
        body += "delete " + p.toUtf8() + '\n';
    return body + "end " + digest(body) + '\n';
}

// False when the text is not a whole journal of this program.
bool decode(const QByteArray& text, Entries* e)
{
    const qsizetype end = text.lastIndexOf("end ");
    if (!text.startsWith(Header) || end < 0 || !text.endsWith('\n')) return false;
    const QByteArray body = text.left(end);
    if (text.mid(end + 4).trimmed() != digest(body)) return false;
    const QList<QByteArray> lines = body.mid(Header.size()).split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty()) continue;
        if (line.startsWith("install ")) {
            const QString f = QString::fromUtf8(line.mid(8));
            if (!isDataFile(f)) return false;
            e->installs.append(f);
        } else if (line.startsWith("links ")) {
            for (const QByteArray& id : line.mid(6).split(' ')) {
                bool ok = false;
                const qint32 n = id.toInt(&ok);
                if (!ok) return false;
                e->links.append(n);
            }
        } else if (line.startsWith("delete ")) {
            e->deletions.append(QString::fromUtf8(line.mid(7)));
        } else {
            return false;
        }
    }
    return true;
}

// Clears the links in candidatures.dat itself, before its table is loaded.
bool clearLinksInFile(const QString& path, const QList<qint32>& ids, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        *error = deviceErrorText(f);
        return false;
    }
    QList<TCandidatureRec> records;
    if (!recordfile::readAll<TCandidatureRec>(f, records, error)) return false;
    for (qsizetype i = 0; i < records.size(); ++i) {
        TCandidatureRec& c = records[i];
        if (!ids.contains(qint32(c.id_contact))) continue;
        c.id_contact = 0;
        if (!recordfile::updateAt(f, sizeof c, i, &c, error)) return false;
    }
    return true;
}

QStringList moveDamagedJournal(Store& store)
{
    const QString journal = store.path(QString::fromLatin1(journal::FileName));
    QString error;
    QStringList moved{QString::fromLatin1(journal::FileName)};
    bool ok =
        replaceFile(journal, store.path(QStringLiteral("backup/journal-endommage.txt")), &error);
    for (const char* f : DataFiles) {
        const QString prepared = journal::preparedName(QString::fromLatin1(f));
        if (!QFileInfo::exists(store.path(prepared))) continue;
        moved.append(prepared);
        ok = replaceFile(store.path(prepared), store.path(QStringLiteral("backup/") + prepared),
                         &error) &&
             ok;
    }
    const QString head =
        QStringLiteral("Le journal de la dernière suppression (") +
        quoted(QString::fromLatin1(journal::FileName)) +
        QStringLiteral(") est endommagé : cette suppression n'a peut-être pas été menée à son "
                       "terme. Les fichiers de données sont entiers et n'ont pas été modifiés ; "
                       "vérifiez la dernière suppression et recommencez-la au besoin.");
    if (ok)
        return {head + CR + CR + QStringLiteral("Mis de côté dans le répertoire \"Backup\" : ") +
                moved.join(QStringLiteral(", "))};
    // The journal stays: every data file is kept from writing until it is gone.
    for (const char* f : DataFiles)
        store.setLoadFailure(kindOfFile(QString::fromLatin1(f)), head);
    return {head + CR + CR + error};
}

} // namespace

namespace journal
{

QString preparedName(const QString& dataFile)
{
    return dataFile + QStringLiteral(".new");
}

QStringList recover(Store& store)
{
    const QString path = store.path(QString::fromLatin1(FileName));
    QFile file(path);
    if (!file.exists()) {
        // New contents of a step stopped before its journal: it never began.
        for (const char* f : DataFiles)
            QFile::remove(store.path(preparedName(QString::fromLatin1(f))));
        return {};
    }
    Entries e;
    if (!file.open(QIODevice::ReadOnly) || !decode(file.read(1 << 20), &e))
        return moveDamagedJournal(store);
    file.close();

    QStringList failures;
    auto failed = [&](const QString& name, const QString& what, const QString& error) {
        failures.append(QStringLiteral("La dernière suppression n'a pas pu être terminée : ") +
                        what + CR + CR + error);
        store.setLoadFailure(kindOfFile(name),
                             QStringLiteral("suppression inachevée (") + error + QLatin1Char(')'));
    };
    for (const QString& f : std::as_const(e.installs)) {
        const QString prepared = store.path(preparedName(f));
        QString error;
        if (QFileInfo::exists(prepared) && !replaceFile(prepared, store.path(f), &error))
            failed(f, QStringLiteral("remplacement de ") + quoted(f), error);
    }
    if (!e.links.isEmpty()) {
        const QString f = QStringLiteral("candidatures.dat");
        QString error;
        if (!clearLinksInFile(store.path(f), e.links, &error))
            failed(f, QStringLiteral("liens des candidatures vers les contacts supprimés"), error);
    }
    // A file left over is told about but does not keep the journal: the
    // data files agree whatever becomes of it.
    QStringList leftOver;
    for (const QString& p : std::as_const(e.deletions)) {
        QFile gone(p);
        if (gone.exists() && !gone.remove())
            leftOver.append(GetTxt(228) + QLatin1Char(' ') + p + CR + CR + deviceErrorText(gone));
    }
    if (failures.isEmpty() && !file.remove())
        failures.append(QStringLiteral("Impossible de supprimer ") + quoted(path) + CR + CR +
                        deviceErrorText(file));
    return failures + leftOver;
}

Result write(Store& store, const QStringList& installs, const QList<qint32>& links,
             const QStringList& deletions)
{
    const QString path = store.path(QString::fromLatin1(FileName));
    auto out = store.saveFile(path);
    const QByteArray text = encode({installs, links, deletions});
    QString error;
    if (recordfile::replaceContent(*out, text.constData(), text.size(), &error))
        return Result::success();
    return Result::failure(QStringLiteral("Impossible d'écrire ") + quoted(path) + CR + CR + error);
}

Result clearLinks(Store& store, const QList<qint32>& contactIds)
{
    if (contactIds.isEmpty()) return Result::success();
    const QList<TCandidatureRec>& table = store.Candidatures;
    for (int i = 0; i < table.size(); ++i) {
        if (!contactIds.contains(qint32(table[i].id_contact))) continue;
        TCandidatureRec c = table[i];
        c.id_contact = 0;
        if (Result written = store.UpdateCandidature(i, c); !written.ok) return written;
    }
    return Result::success();
}

} // namespace journal

JournalStep::~JournalStep()
{
    if (!applied_) dropPrepared();
}

void JournalStep::dropPrepared()
{
    for (const Prepared& p : std::as_const(prepared_))
        QFile::remove(store_.path(journal::preparedName(p.file)));
    prepared_.clear();
}

Result JournalStep::ready() const
{
    if (!QFileInfo::exists(store_.path(QString::fromLatin1(journal::FileName))))
        return Result::success();
    return Result::failure(QStringLiteral("Une suppression précédente n'a pas pu être terminée "
                                          "et le sera au prochain lancement du programme. "
                                          "Quittez le programme et relancez-le avant de "
                                          "supprimer autre chose."));
}

bool JournalStep::writePrepared(const QString& file, const char* data, qint64 size, QString* error)
{
    auto out = store_.saveFile(store_.path(journal::preparedName(file)));
    return recordfile::replaceContent(*out, data, size, error);
}

QString JournalStep::stoppedText(qsizetype failed, const QString& error) const
{
    // What is already done stays done: the journal finishes the rest at the
    // next start, so the user is not sent to the safety copies.
    QString text = QStringLiteral("Une erreur critique est survenue lors du remplacement du "
                                  "fichier ") +
                   quoted(prepared_[failed].file) + QLatin1Char('.') + CR;
    QStringList done;
    for (qsizetype j = 0; j < failed; ++j)
        done.append(quoted(prepared_[j].file));
    if (done.size() == 1)
        text +=
            QStringLiteral("Le fichier ") + done.first() + QStringLiteral(" est déjà remplacé. ");
    else if (!done.isEmpty())
        text += QStringLiteral("Les fichiers ") + done.join(QStringLiteral(", ")) +
                QStringLiteral(" sont déjà remplacés. ");
    return text +
           QStringLiteral("L'application va se terminer maintenant ; l'opération commencée sera "
                          "terminée à son prochain lancement.") +
           CR + CR + error;
}

RewriteResult JournalStep::apply()
{
    const QString journalPath = store_.path(QString::fromLatin1(journal::FileName));
    QStringList installs;
    for (const Prepared& p : std::as_const(prepared_))
        installs.append(p.file);
    if (Result w = journal::write(store_, installs, links_, deletions_); !w.ok)
        return {Rewrite::Unchanged, w.error};
    applied_ = true;
    for (qsizetype i = 0; i < prepared_.size(); ++i) {
        const Prepared& p = prepared_[i];
        QString error;
        if (replaceFile(store_.path(journal::preparedName(p.file)), store_.path(p.file), &error)) {
            p.toTable();
            // The file in place is this program's: later writes may follow it.
            store_.stampFile(kindOfFile(p.file));
            continue;
        }
        // Nothing in place yet: the step can still be dropped whole.
        if (i == 0 && QFile::remove(journalPath)) {
            applied_ = false;
            return {Rewrite::Unchanged,
                    QStringLiteral("Impossible de remplacer ") + quoted(p.file) + CR + CR + error};
        }
        return {Rewrite::Failed, stoppedText(i, error)};
    }
    return {Rewrite::Done, QString()};
}

Result JournalStep::finish()
{
    QFile f(store_.path(QString::fromLatin1(journal::FileName)));
    if (!f.exists() || f.remove()) return Result::success();
    return Result::failure(QStringLiteral("Impossible de supprimer ") + quoted(f.fileName()) + CR +
                           CR + deviceErrorText(f));
}
