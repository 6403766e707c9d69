#include "directory/importrules.h"

#include "store/cp1252.h"
#include "store/systemerror.h"
#include "store/texts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstring>
#include <limits>

namespace
{

// The largest file read: far more than any directory a person keeps.
constexpr qint64 kMaxFileSize = 256ll << 20;

QString quoted(const QString& s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// Stores the first N characters of a value; false when one of them could not
// be written in Windows-1252 and became '?'.
template <int N> bool put(ShortString<N>& field, QStringView value)
{
    bool lossless = true;
    const int n = cp1252::encodeInto(value, field.chars, N, &lossless);
    field.len = static_cast<unsigned char>(n);
    std::memset(field.chars + n, 0, size_t(N - n));
    return lossless;
}

// Letters a to z only: accented letters stay as they are.
void upperAscii(char* bytes, int n)
{
    for (int i = 0; i < n; ++i)
        if (bytes[i] >= 'a' && bytes[i] <= 'z') bytes[i] = char(bytes[i] - 'a' + 'A');
}

QString plural(int n)
{
    return n >= 2 ? QStringLiteral("s") : QString();
}

} // namespace

const QStringList& importFieldNames()
{
    static const QStringList names{
        QStringLiteral("Société"),          QStringLiteral("Société_Catégorie"),
        QStringLiteral("Société_Service"),  QStringLiteral("Société_Adresse1"),
        QStringLiteral("Société_Adresse2"), QStringLiteral("Société_BP"),
        QStringLiteral("Société_CP"),       QStringLiteral("Société_Ville"),
        QStringLiteral("Société_Pays"),     QStringLiteral("Société_Tél1"),
        QStringLiteral("Société_Tél2"),     QStringLiteral("Société_Fax1"),
        QStringLiteral("Société_Fax2"),     QStringLiteral("Société_Url"),
        QStringLiteral("Société_Email"),    QStringLiteral("Contact_Dénomination"),
        QStringLiteral("Contact_Nom"),      QStringLiteral("Contact_Fonction"),
        QStringLiteral("Contact_Tél"),      QStringLiteral("Contact_Fax"),
        QStringLiteral("Contact_GSM"),      QStringLiteral("Contact_Email")};
    return names;
}

int MonChamp(const QString& name)
{
    return int(importFieldNames().indexOf(name));
}

QList<QStringView> cutLine(QStringView line, int n, QChar separator, QChar delimiter,
                           DelimiterRemoval removal)
{
    QList<QStringView> fields(std::max(n, 0));
    if (n <= 0) return fields;
    // Every character but a separator outside delimiters belongs to the
    // current field, so each field is the text between two such separators.
    int field = 0;
    qsizetype start = 0;
    bool inside = false;
    bool complete = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == delimiter) {
            inside = !inside;
        } else if (c == separator && !inside) {
            fields[field] = line.sliced(start, i - start);
            start = i + 1;
            if (++field == n) {
                complete = true;
                break;
            }
        }
    }
    if (!complete) fields[field] = line.sliced(start);

    for (QStringView& f : fields) {
        if (f.isEmpty()) continue;
        const bool first = f.front() == delimiter;
        const bool last = f.back() == delimiter;
        const bool strip = removal == DelimiterRemoval::BothEnds ? first && last : first || last;
        if (strip) f = f.size() <= 2 ? QStringView() : f.sliced(1, f.size() - 2);
    }
    return fields;
}

ImportText decodeImportFile(const QByteArray& bytes, const QString& fileName)
{
    ImportText out;
    QByteArrayView b(bytes);
    if (b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF")) {
        // A text saved as UTF-16 by a spreadsheet program.
        QStringDecoder utf16(b.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                      : QStringDecoder::Utf16BE);
        out.text = utf16.decode(b.sliced(2));
    } else if (b.contains('\0')) {
        out.error = QStringLiteral("Le fichier ") + quoted(fileName) +
                    QStringLiteral(" n'est pas un fichier texte : il ne peut pas être importé.");
        return out;
    } else {
        if (b.startsWith("\xEF\xBB\xBF")) b = b.sliced(3);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        out.text = utf8.decode(b);
        if (utf8.hasError()) out.text = cp1252::decode(b.constData(), int(b.size()));
    }
    if (out.text.contains(QChar(0))) {
        out.text.clear();
        out.error = QStringLiteral("Le fichier ") + quoted(fileName) +
                    QStringLiteral(" n'est pas un fichier texte : il ne peut pas être importé.");
        return out;
    }
    // A line ends with a line feed; every carriage return is left out.
    if (out.text.contains(QLatin1Char('\r'))) out.text.remove(QLatin1Char('\r'));
    qsizetype start = 0;
    for (int number = 1; start <= out.text.size(); ++number) {
        qsizetype end = out.text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = out.text.size();
        if (end - start > ImportMaxLineLength) {
            out.text.clear();
            out.error = QStringLiteral("La ligne %1 du fichier ").arg(number) + quoted(fileName) +
                        QStringLiteral(" compte plus de %1 caractères : ce n'est pas un fichier "
                                       "de sociétés, il ne peut pas être importé.")
                            .arg(ImportMaxLineLength);
            return out;
        }
        start = end + 1;
    }
    return out;
}

ImportText readImportFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        ImportText out;
        out.error = QStringLiteral("Impossible de lire le fichier ") + quoted(path) +
                    QStringLiteral(" :") + CR + CR +
                    (QFileInfo(path).isFile()  ? deviceErrorText(f)
                     : QFileInfo::exists(path) ? QStringLiteral("ce n'est pas un fichier.")
                                               : QStringLiteral("ce fichier n'existe pas."));
        return out;
    }
    const QByteArray bytes = f.read(kMaxFileSize + 1);
    if (f.error() != QFileDevice::NoError) {
        ImportText out;
        out.error = QStringLiteral("Impossible de lire le fichier ") + quoted(path) +
                    QStringLiteral(" :") + CR + CR + deviceErrorText(f);
        return out;
    }
    if (bytes.size() > kMaxFileSize) {
        ImportText out;
        out.error = QStringLiteral("Le fichier ") + quoted(name) +
                    QStringLiteral(" est trop volumineux pour être importé (plus de %1 Mo).")
                        .arg(kMaxFileSize >> 20);
        return out;
    }
    return decodeImportFile(bytes, name);
}

QList<QStringView> readLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        const QStringView line = text.sliced(start, end - start);
        if (!line.isEmpty() && line.front() != QLatin1Char('#')) lines.append(line);
        start = end + 1;
    }
    return lines;
}

QString importSummary(const ImportCounts& c)
{
    const QString s = plural(c.societes);
    const QString k = plural(c.contacts);
    QString text = QString::number(c.societes) + QStringLiteral(" société") + s +
                   QStringLiteral(" ajoutée") + s + QStringLiteral(" et ") +
                   QString::number(c.contacts) + QStringLiteral(" contact") + k +
                   QStringLiteral(" ajouté") + k + QLatin1Char('.');
    if (c.replacedLines > 0)
        text +=
            CR + CR + QString::number(c.replacedLines) + QStringLiteral(" ligne") +
            plural(c.replacedLines) +
            (c.replacedLines >= 2 ? QStringLiteral(" contenaient") : QStringLiteral(" contenait")) +
            QStringLiteral(" des caractères que le programme ne peut pas enregistrer : ils "
                           "ont été remplacés par \"?\".");
    return text;
}

// ---- Adding the lines --------------------------------------------------------------------

SocieteImport::SocieteImport(Store& store, const ImportSettings& settings, int groupSize)
    : store_(store), settings_(settings), groupSize_(std::max(groupSize, 1))
{
    societes_.reserve(store.Societes.size());
    for (const TSocieteRec& s : store.Societes)
        if (isLive(s)) societes_.insert(s.nom.bytes(), s.id);
    contacts_.reserve(store.Contacts.size());
    for (const TContactRec& c : store.Contacts)
        if (isLive(c)) contacts_.insert(c.nom.bytes());
    maxSociete_ = store.MaxIdSociete;
    maxContact_ = store.MaxIdContact;
}

bool SocieteImport::AjoutSociete(TSocieteRec r)
{
    upperAscii(r.nom.chars, r.nom.length());
    const QByteArray name = r.nom.bytes();
    if (name.isEmpty() || societes_.contains(name)) return false;
    if (!r.categorie.equals("S") && !r.categorie.equals("C") && !r.categorie.equals("I"))
        r.categorie.setBytes("S", 1);
    qint32 id = 0;
    if (Result given = store_.nextIdSociete(&id); !given.ok) {
        idFailure_ = given;
        return false;
    }
    r.id = id;
    newSocietes_.append(r);
    societes_.insert(name, r.id);
    return true;
}

bool SocieteImport::AjoutContact(TContactRec r, QByteArray societeNom)
{
    upperAscii(societeNom.data(), int(societeNom.size()));
    const auto company = societes_.constFind(societeNom);
    if (company == societes_.cend()) return false;
    if (!r.civilite.equals("Mr") && !r.civilite.equals("Mme") && !r.civilite.equals("Mlle"))
        r.civilite.setBytes("Mr", 2);
    const QByteArray name = r.nom.bytes();
    if (name.isEmpty() || contacts_.contains(name)) return false;
    qint32 id = 0;
    if (Result given = store_.nextIdContact(&id); !given.ok) {
        idFailure_ = given;
        return false;
    }
    r.id = id;
    r.id_societe = company.value();
    newContacts_.append(r);
    contacts_.insert(name);
    return true;
}

Result SocieteImport::addLine(QStringView line)
{
    const QList<QStringView> fields =
        cutLine(line, int(settings_.columns.size()), settings_.separator, settings_.delimiter,
                DelimiterRemoval::BothEnds);
    QStringView v[ImportFieldCount];
    for (int k = 0; k < fields.size(); ++k) {
        const int slot = settings_.columns[k];
        if (slot >= 0 && slot < ImportFieldCount) v[slot] = fields[k];
    }
    TSocieteRec s{};
    bool ok = put(s.nom, v[0]);
    ok &= put(s.categorie, v[1]);
    ok &= put(s.service, v[2]);
    ok &= put(s.adresse_a, v[3]);
    ok &= put(s.adresse_b, v[4]);
    ok &= put(s.bp, v[5]);
    ok &= put(s.cp, v[6]);
    ok &= put(s.ville, v[7]);
    ok &= put(s.pays, v[8]);
    ok &= put(s.tela, v[9]);
    ok &= put(s.telb, v[10]);
    ok &= put(s.faxa, v[11]);
    ok &= put(s.faxb, v[12]);
    ok &= put(s.url, v[13]);
    ok &= put(s.email, v[14]);
    const bool societeLossless = ok;
    TContactRec c{};
    ok = put(c.civilite, v[15]);
    ok &= put(c.nom, v[16]);
    ok &= put(c.fonction, v[17]);
    ok &= put(c.tel, v[18]);
    ok &= put(c.fax, v[19]);
    ok &= put(c.gsm, v[20]);
    ok &= put(c.email, v[21]);
    const bool contactLossless = ok;

    if (s.nom.isEmpty()) return Result::success();
    const bool societeAdded = AjoutSociete(s);
    const bool contactAdded = !c.nom.isEmpty() && AjoutContact(c, s.nom.bytes());
    if ((societeAdded && !societeLossless) || (contactAdded && !contactLossless))
        ++replacedPending_;
    if (!idFailure_.ok || newSocietes_.size() + newContacts_.size() >= groupSize_) return flush();
    return Result::success();
}

Result SocieteImport::flush()
{
    // What was queued before the ids ran out is written, then the import stops.
    const Result stop = idFailure_;
    if (!stop.ok) idFailure_ = Result::success();
    if (Result written = flushQueued(); !written.ok) return written;
    return stop;
}

Result SocieteImport::flushQueued()
{
    // The ids of records that could not be written are given back.
    if (!newSocietes_.isEmpty()) {
        if (Result r = store_.appendAll(newSocietes_); !r.ok) {
            store_.MaxIdSociete = maxSociete_;
            store_.MaxIdContact = maxContact_;
            return r;
        }
        counts_.societes += int(newSocietes_.size());
        newSocietes_.clear();
        maxSociete_ = store_.MaxIdSociete;
    }
    if (!newContacts_.isEmpty()) {
        if (Result r = store_.appendAll(newContacts_); !r.ok) {
            store_.MaxIdContact = maxContact_;
            return r;
        }
        counts_.contacts += int(newContacts_.size());
        newContacts_.clear();
        maxContact_ = store_.MaxIdContact;
    }
    counts_.replacedLines += replacedPending_;
    replacedPending_ = 0;
    return Result::success();
}

ImportOutcome importDirectory(Store& store, const QList<QStringView>& lines,
                              const ImportSettings& settings, const std::function<void()>& step)
{
    const Store::Busy busy(store);
    // Every line adds at most one company and one contact: the ids they may
    // take are kept in the settings file once, before any is given.
    store.reserveIds(qint32(std::min<qsizetype>(lines.size(), std::numeric_limits<qint32>::max())),
                     qint32(std::min<qsizetype>(lines.size(), std::numeric_limits<qint32>::max())),
                     0);
    SocieteImport import(store, settings);
    for (QStringView line : lines) {
        const Result r = import.addLine(line);
        if (step) step();
        if (!r.ok) return {import.counts(), r};
    }
    const Result r = import.flush();
    return {import.counts(), r};
}
