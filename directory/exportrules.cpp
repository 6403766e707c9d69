#include "directory/exportrules.h"

#include "store/cp1252.h"
#include "store/recordfile.h"

#include <QHash>

namespace
{

const char* const kTextHeader =
    "#Société,Catégorie,Service,Adresse1,Adresse2,BP,CP,Ville,Pays,Tel1,Tel2,Fax1,Fax2,Url,Email";
const char* const kTextContactHeader = ",Dénomination_Contact,Nom_Contact,Fonction_Contact,"
                                       "Tel_Contact,Fax_Contact,GSM_Contact,Email_Contact";

// The live contacts of every company, in table order, found in one walk.
QHash<qint32, QList<int>> contactsByCompany(const QList<TContactRec>& contacts)
{
    QHash<qint32, QList<int>> byCompany;
    for (int i = 0; i < contacts.size(); ++i)
        if (isLive(contacts[i])) byCompany[qint32(contacts[i].id_societe)].append(i);
    return byCompany;
}

void quote(QByteArray& out, const QByteArray& value, char delimiter)
{
    out += delimiter;
    for (char c : value) {
        if (c == delimiter) out += '\\';
        out += c;
    }
    out += delimiter;
}

QByteArray companyValues(const TSocieteRec& s, char separator, char delimiter)
{
    const QByteArray values[15] = {s.nom.bytes(),       cp1252::encode(categoryWord(s.categorie)),
                                   s.service.bytes(),   s.adresse_a.bytes(),
                                   s.adresse_b.bytes(), s.bp.bytes(),
                                   s.cp.bytes(),        s.ville.bytes(),
                                   s.pays.bytes(),      s.tela.bytes(),
                                   s.telb.bytes(),      s.faxa.bytes(),
                                   s.faxb.bytes(),      s.url.bytes(),
                                   s.email.bytes()};
    QByteArray out;
    for (int i = 0; i < 15; ++i) {
        if (i > 0) out += separator;
        quote(out, values[i], delimiter);
    }
    return out;
}

void contactValues(QByteArray& out, const TContactRec* c, char separator, char delimiter)
{
    const QByteArray values[7] = {
        c ? c->civilite.bytes() : QByteArray(), c ? c->nom.bytes() : QByteArray(),
        c ? c->fonction.bytes() : QByteArray(), c ? c->tel.bytes() : QByteArray(),
        c ? c->fax.bytes() : QByteArray(),      c ? c->gsm.bytes() : QByteArray(),
        c ? c->email.bytes() : QByteArray()};
    for (const QByteArray& v : values) {
        out += separator;
        quote(out, v, delimiter);
    }
}

QStringList companyCells(const TSocieteRec& s)
{
    return {s.nom.text(),       categoryWord(s.categorie),
            s.service.text(),   s.adresse_a.text(),
            s.adresse_b.text(), s.bp.text(),
            s.cp.text(),        s.ville.text(),
            s.pays.text(),      s.tela.text(),
            s.telb.text(),      s.faxa.text(),
            s.faxb.text(),      s.url.text(),
            s.email.text()};
}

} // namespace

QString categoryWord(const Letter& categorie)
{
    if (categorie.equals("S")) return QStringLiteral("Société");
    if (categorie.equals("C")) return QStringLiteral("Cabinet de recrutement");
    if (categorie.equals("I")) return QStringLiteral("Intérim");
    return QString();
}

bool writeExportText(QSaveFile& out, const QList<TSocieteRec>& societes,
                     const QList<TContactRec>& contacts, const ExportChoice& choice, QString* error)
{
    const char s = choice.separator;
    const char d = choice.delimiter;
    QString header = QString::fromUtf8(kTextHeader);
    if (choice.contacts) header += QString::fromUtf8(kTextContactHeader);
    header.replace(QLatin1Char(','), QLatin1Char(s));
    const QHash<qint32, QList<int>> byCompany =
        choice.contacts ? contactsByCompany(contacts) : QHash<qint32, QList<int>>();

    qsizetype next = 0;
    bool headerDone = false;
    constexpr qsizetype chunkSize = 1 << 20;
    return recordfile::replaceContent(
        out,
        [&](QByteArray& chunk) {
            chunk.clear();
            if (!headerDone) {
                chunk += cp1252::encode(header) + "\r\n";
                headerDone = true;
            }
            for (; next < societes.size() && chunk.size() < chunkSize; ++next) {
                const TSocieteRec& soc = societes[next];
                if (!isLive(soc)) continue;
                const QByteArray company = companyValues(soc, s, d);
                if (!choice.contacts) {
                    chunk += company + "\r\n";
                    continue;
                }
                const QList<int> mine = byCompany.value(qint32(soc.id));
                if (mine.isEmpty()) {
                    chunk += company;
                    contactValues(chunk, nullptr, s, d);
                    chunk += "\r\n";
                }
                for (int k : mine) {
                    chunk += company;
                    contactValues(chunk, &contacts[k], s, d);
                    chunk += "\r\n";
                }
            }
            return !chunk.isEmpty();
        },
        error);
}

QList<QStringList> exportGrid(const QList<TSocieteRec>& societes,
                              const QList<TContactRec>& contacts, bool withContacts)
{
    QList<QStringList> grid;
    QStringList header{
        QStringLiteral("Société"),  QStringLiteral("Catégorie"), QStringLiteral("Service"),
        QStringLiteral("Adresse1"), QStringLiteral("Adresse2"),  QStringLiteral("BP"),
        QStringLiteral("CP"),       QStringLiteral("Ville"),     QStringLiteral("Pays"),
        QStringLiteral("Tel1"),     QStringLiteral("Tel2"),      QStringLiteral("Fax1"),
        QStringLiteral("Fax2"),     QStringLiteral("URL"),       QStringLiteral("Email")};
    if (withContacts)
        header << QStringLiteral("Dénomination_Contact") << QStringLiteral("Nom_Contact")
               << QStringLiteral("Fonction_Contact") << QStringLiteral("Tél_Contact")
               << QStringLiteral("Fax_Contact") << QStringLiteral("GSM_Contact")
               << QStringLiteral("Email_Contact");
    grid.append(header);
    const QHash<qint32, QList<int>> byCompany =
        withContacts ? contactsByCompany(contacts) : QHash<qint32, QList<int>>();
    for (const TSocieteRec& s : societes) {
        if (!isLive(s)) continue;
        const QStringList company = companyCells(s);
        const QList<int> mine = byCompany.value(qint32(s.id));
        if (mine.isEmpty()) grid.append(company);
        for (int k : mine) {
            const TContactRec& c = contacts[k];
            grid.append(company + QStringList{c.civilite.text(), c.nom.text(), c.fonction.text(),
                                              c.tel.text(), c.fax.text(), c.gsm.text(),
                                              c.email.text()});
        }
    }
    return grid;
}
