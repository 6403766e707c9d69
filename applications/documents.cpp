#include "applications/documents.h"

#include "store/cp1252.h"
#include "store/recordfile.h"
#include "store/store.h"
#include "store/systemerror.h"
#include "store/tables.h"
#include "store/texts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <memory>
#include <optional>

namespace
{

const DocSlotInfo kSlots[] = {
    {"Offre", 173, 187, 0, 211, "Je souhaite attacher un fichier comme offre",
     &TCandidatureRec::offre, &TCandidatureRec::date},
    {"CV", 174, 189, 188, 205, "Je souhaite attacher un fichier comme CV", &TCandidatureRec::cv,
     &TCandidatureRec::date_cv},
    {"Lettre", 175, 190, 188, 206, "Je souhaite attacher un fichier comme lettre de motivation",
     &TCandidatureRec::lettre, &TCandidatureRec::date_lettre},
    {"Accuse", 176, 194, 193, 207, "Je souhaite attacher un fichier comme accusé de réception",
     &TCandidatureRec::accuse, &TCandidatureRec::date_accuse},
    {"Suite", 179, 195, 193, 208, "Je souhaite attacher un fichier comme suite ou refus",
     &TCandidatureRec::suite, &TCandidatureRec::date_suite},
};

QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

std::unique_ptr<QSaveFile> startTextFile(Store& store, const QString& path, const QString& text,
                                         QString* error)
{
    // The txt directory is made at start-up; the user may have removed it.
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto out = store.saveFile(path);
    if (!out->open(QIODevice::WriteOnly)) {
        *error = deviceErrorText(*out);
        return nullptr;
    }
    const QByteArray bytes = textFileBytes(text);
    if (!recordfile::writeAll(*out, bytes.constData(), bytes.size(), error)) {
        out->cancelWriting();
        out->commit();
        return nullptr;
    }
    return out;
}

QString textWriteFailure(const QString& path, const QString& error)
{
    return QStringLiteral("Impossible d'enregistrer le texte dans le fichier ") + quoted(path) +
           QStringLiteral(" : le document n'a pas été modifié.") + CR + CR + error;
}

} // namespace

bool stillLinked(const Store& store, const QString& path, std::optional<qint32> skipId)
{
    for (const TCandidatureRec& r : store.Candidatures) {
        if (!isLive(r) || (skipId && r.id == *skipId)) continue;
        for (DocSlot s : AllDocSlots)
            if (pathField(r, s).text() == path) return true;
    }
    return false;
}

const DocSlotInfo& slotInfo(DocSlot slot)
{
    return kSlots[int(slot)];
}

QString kindName(DocSlot slot)
{
    return QString::fromLatin1(slotInfo(slot).kind);
}

QString radioCaption(DocSlot slot)
{
    return QString::fromUtf8(slotInfo(slot).radioCaption);
}

bool slotFromKind(const QString& kind, DocSlot* slot)
{
    for (DocSlot s : AllDocSlots)
        if (kind == kindName(s)) {
            *slot = s;
            return true;
        }
    return false;
}

ShortString<255>& pathField(TCandidatureRec& r, DocSlot slot)
{
    return r.*(slotInfo(slot).pathField);
}
const ShortString<255>& pathField(const TCandidatureRec& r, DocSlot slot)
{
    return r.*(slotInfo(slot).pathField);
}
Date& dateField(TCandidatureRec& r, DocSlot slot)
{
    return r.*(slotInfo(slot).dateField);
}
const Date& dateField(const TCandidatureRec& r, DocSlot slot)
{
    return r.*(slotInfo(slot).dateField);
}

QString slotDescription(const TCandidatureRec& r, DocSlot slot)
{
    const QString value = pathField(r, slot).text();
    if (value.isEmpty()) return GetTxt(slotInfo(slot).noDocumentText);
    if (value == MarqueurTexte) return GetTxt(slotInfo(slot).pastedText);
    // Paths written on another system may use backslashes.
    const int cut =
        std::max(value.lastIndexOf(QLatin1Char('/')), value.lastIndexOf(QLatin1Char('\\')));
    return GetTxt(186) + QStringLiteral(" '") + value.mid(cut + 1) + QLatin1Char('\'');
}

QDate initialLinkDate(const TCandidatureRec& r, DocSlot slot, const QDate& today)
{
    auto parse = [](const Date& d) {
        return QDate::fromString(d.text(), QStringLiteral("yyyyMMdd"));
    };
    const QDate own = parse(dateField(r, slot));
    if (own.isValid()) return own;
    if (slot == DocSlot::CV || slot == DocSlot::Lettre) {
        const QDate app = parse(r.date);
        if (app.isValid()) return app;
    }
    return today;
}

QString applicationTextPath(const Store& store, const QString& kind, qint32 id)
{
    return store.path(QStringLiteral("txt/") + kind + QLatin1Char('_') + QString::number(id) +
                      QStringLiteral(".txt"));
}

QString pastedTextPath(const Store& store, DocSlot slot, qint32 id)
{
    return applicationTextPath(store, kindName(slot), id);
}

bool isImportedPdf(const QString& programDir, const QString& path)
{
    if (!path.contains(programDir + QStringLiteral("/import"), Qt::CaseInsensitive)) return false;
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    const QString name = info.fileName();
    return name.size() == 19 && name.at(8) == QLatin1Char('_') &&
           name.right(4).toLower() == QStringLiteral(".pdf");
}

QByteArray textFileBytes(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A line break at the very end closes the last line; it opens no new one.
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    QString out;
    out.reserve(t.size() + t.size() / 16 + 2);
    if (!text.isEmpty()) {
        for (const QStringView line : QStringView(t).split(QLatin1Char('\n'))) {
            out += line;
            out += QStringLiteral("\r\n");
        }
    }
    return cp1252::encode(out);
}

QString textFromFileBytes(const QByteArray& bytes)
{
    QString t = cp1252::decode(bytes);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    return t;
}

bool readTextFile(const QString& path, QString* text, QString* error, qint64 limit)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = deviceErrorText(f);
        return false;
    }
    const QByteArray bytes = limit < 0 ? f.readAll() : f.read(limit);
    if (f.error() != QFileDevice::NoError) {
        *error = deviceErrorText(f);
        return false;
    }
    *text = textFromFileBytes(bytes);
    return true;
}

Result writeTextFile(Store& store, const QString& path, const QString& text)
{
    QString error;
    auto out = startTextFile(store, path, text, &error);
    if (!out) return Result::failure(error);
    if (!out->commit()) return Result::failure(deviceErrorText(*out));
    return Result::success();
}

QString choiceProblem(const LinkChoice& choice)
{
    if (choice.file) {
        if (choice.path == MarqueurTexte)
            return QStringLiteral("\"<TEXTE>\" n'est pas un chemin de fichier : choisissez un "
                                  "fichier, ou insérez le texte directement.");
        if (choice.path.size() > ShortString<255>::Max)
            return QStringLiteral("Le chemin du fichier compte %1 caractères, il ne peut pas en "
                                  "dépasser %2.")
                       .arg(choice.path.size())
                       .arg(ShortString<255>::Max) +
                   CR +
                   QStringLiteral("Placez le fichier dans un dossier dont le chemin est plus "
                                  "court, puis attachez-le de nouveau.");
        const QString bad = cp1252::unencodableCharacters(choice.path);
        if (!bad.isEmpty())
            return QStringLiteral("Le chemin du fichier contient des caractères qui ne peuvent "
                                  "pas être enregistrés : ") +
                   bad + CR +
                   QStringLiteral("Renommez le fichier ou son dossier, puis attachez-le de "
                                  "nouveau.");
        return QString();
    }
    const QString bad = cp1252::unencodableCharacters(choice.text);
    if (!bad.isEmpty())
        return QStringLiteral("Le texte contient des caractères qui ne peuvent pas être "
                              "enregistrés : ") +
               bad + CR +
               QStringLiteral("Remplacez-les ou supprimez-les, puis validez de nouveau.");
    return QString();
}

QString applicationNotFoundText(qint32 id)
{
    return QStringLiteral("La candidature n° %1 est introuvable : le document n'a pas été "
                          "modifié.")
        .arg(id);
}

DocumentResult linkDocument(Store& store, qint32 id, DocSlot slot, const LinkChoice& choice,
                            int position)
{
    const QString problem = choiceProblem(choice);
    if (!problem.isEmpty()) return {Result::failure(problem), {}};
    const int pos = findChosen(std::as_const(store).Candidatures, id, position);
    if (pos < 0) return {Result::failure(applicationNotFoundText(id)), {}};

    const bool keepText = !choice.file && !choice.text.isEmpty();
    const QString value = choice.file ? choice.path : (keepText ? MarqueurTexte : QString());
    const QString textPath = pastedTextPath(store, slot, id);
    const TCandidatureRec before = store.Candidatures[pos];
    TCandidatureRec rec = before;
    pathField(rec, slot) = value;
    // The date is written whatever the value, an empty one included.
    dateField(rec, slot) = choice.date.toString(QStringLiteral("yyyyMMdd"));

    // The text and the record must change together. The text is written
    // first, in full, to the save file's temporary file, where a full disk
    // shows; it takes the place of the previous text file only once the
    // record is written. A failed record write thus leaves the previous text
    // file as it was, and a text that cannot be written leaves the record.
    std::unique_ptr<QSaveFile> text;
    if (keepText) {
        QString error;
        text = startTextFile(store, textPath, choice.text, &error);
        if (!text) return {Result::failure(textWriteFailure(textPath, error)), {}};
    }
    // On failure the temporary file is dropped.
    if (Result written = store.UpdateCandidature(pos, rec); !written.ok) return {written, {}};

    DocumentResult done;
    if (keepText) {
        if (!text->commit()) {
            done.result = Result::failure(textWriteFailure(textPath, deviceErrorText(*text)));
            // Put the record back so that it does not announce a text that is not there.
            if (Result back = store.UpdateCandidature(pos, before); !back.ok)
                done.furtherErrors.append(back.error);
        }
    } else if (QFileInfo::exists(textPath)) {
        // The slot no longer holds a pasted text; a file that cannot be
        // deleted is reported and stays unused.
        if (Result gone = store.DeleteFichier(textPath); !gone.ok)
            done.furtherErrors.append(gone.error);
    }
    return done;
}

DocumentResult unlinkDocument(Store& store, qint32 id, DocSlot slot, int position)
{
    const int pos = findChosen(std::as_const(store).Candidatures, id, position);
    if (pos < 0) return {Result::failure(applicationNotFoundText(id)), {}};
    TCandidatureRec rec = std::as_const(store.Candidatures)[pos];
    const QString old = pathField(rec, slot).text();
    const bool importedPdf = isImportedPdf(store.programDir(), old);
    pathField(rec, slot).clear();
    // The offer has no date of its own: its date is the application's.
    if (slot != DocSlot::Offre) dateField(rec, slot).clear();
    if (Result written = store.UpdateCandidature(pos, rec); !written.ok) return {written, {}};

    // Files go only once the record no longer points to them, so that a
    // failed write never leaves a link to a deleted file. An imported PDF
    // that another slot still links to is kept.
    DocumentResult done;
    if (importedPdf && !stillLinked(store, old, std::nullopt))
        if (Result gone = store.DeleteFichier(old); !gone.ok) done.furtherErrors.append(gone.error);
    const QString textPath = pastedTextPath(store, slot, id);
    if (QFileInfo::exists(textPath))
        if (Result gone = store.DeleteFichier(textPath); !gone.ok)
            done.furtherErrors.append(gone.error);
    return done;
}

QStringList applicationFiles(const Store& store, const TCandidatureRec& deleted)
{
    QStringList paths;
    for (DocSlot slot : AllDocSlots) {
        const QString value = pathField(deleted, slot).text();
        if (isImportedPdf(store.programDir(), value) && !stillLinked(store, value, deleted.id))
            paths.append(value);
    }
    for (const char* kind : {"CV", "Lettre", "Accuse", "Suite", "BN", "Offre"})
        paths.append(applicationTextPath(store, QString::fromLatin1(kind), deleted.id));
    return paths;
}

QStringList deleteApplicationFiles(Store& store, const TCandidatureRec& deleted)
{
    QStringList failures;
    for (const QString& p : applicationFiles(store, deleted)) {
        if (isImportedPdf(store.programDir(), p)) {
            if (Result gone = store.DeleteFichier(p); !gone.ok) failures.append(gone.error);
            continue;
        }
        QFile f(p);
        if (!f.exists() || f.remove()) continue;
        failures.append(GetTxt(228) + QLatin1Char(' ') + p + CR + CR + deviceErrorText(f));
    }
    return failures;
}
