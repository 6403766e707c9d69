#include "reports/applicationreport.h"

#include "applications/documents.h"
#include "store/helpers.h"
#include "store/tables.h"
#include "store/texts.h"

#include <QFileInfo>

namespace
{

const QString CRLF = QStringLiteral("\r\n");

// "<prefix>: a / b", as the report writes telephone and fax numbers: with
// only the second number the text starts with " / ".
QString numbers(int prefix, const QString& a, const QString& b)
{
    QString t;
    if (!a.isEmpty()) t = GetTxt(prefix) + QStringLiteral(": ") + a;
    if (!b.isEmpty()) t += QStringLiteral(" / ") + b;
    return t;
}

} // namespace

QString reportMemo(const Store& store, const TCandidatureRec& c)
{
    struct Section {
        const char* kind;
        const char* heading;
        int slot; // -1: the notes, whatever the slots hold
    };
    const Section sections[6] = {
        {"BN", "Bloc-Notes", -1},
        {"Offre", "Offre", int(DocSlot::Offre)},
        {"CV", "CV envoyé pour cette candidature", int(DocSlot::CV)},
        {"Lettre", "Lettre de motivation envoyée pour cette candidature", int(DocSlot::Lettre)},
        {"Accuse", "Accusé de réception", int(DocSlot::Accuse)},
        {"Suite", "Suite ou refus", int(DocSlot::Suite)}};
    QString memo;
    for (const Section& s : sections) {
        if (s.slot >= 0 && pathField(c, DocSlot(s.slot)).text() != MarqueurTexte) continue;
        const QString path = applicationTextPath(store, QString::fromLatin1(s.kind), c.id);
        QString text, error;
        if (!QFileInfo(path).isFile() || !readTextFile(path, &text, &error)) continue;
        memo += CRLF + CRLF + QString::fromUtf8(s.heading) + CRLF + QString(156, QLatin1Char('-')) +
                CRLF;
        if (!text.isEmpty()) {
            for (const QString& line : text.split(QLatin1Char('\n')))
                memo += line + CRLF;
        }
    }
    memo.replace(QLatin1Char('\t'), QStringLiteral("    "));
    return memo;
}

QMap<QString, QString> RapportCandidature(const Store& store, qint32 id,
                                          const EditorCaptions& captions, const QDate& today,
                                          int position)
{
    QMap<QString, QString> v;
    const int i = findChosen(store.Candidatures, id, position);
    const TCandidatureRec c = i >= 0 ? store.Candidatures[i] : TCandidatureRec{};
    v["madate"] = today.toString(QStringLiteral("dd/MM/yyyy"));
    v["Titre"] = GetTxt(212) + QLatin1Char(' ') + SQL2Date(c.date.text());
    v["Intitule"] = c.intitule.text();

    const int si = findById(store.Societes, qint32(c.id_societe));
    const TSocieteRec s = si >= 0 ? store.Societes[si] : TSocieteRec{};
    v["societe"] = s.nom.text();
    v["adresse_a"] = s.adresse_a.text();
    v["adresse_b"] = s.adresse_b.text();
    v["bp"] = s.bp.isEmpty() ? QString() : QStringLiteral("BP ") + s.bp.text();
    v["cpville"] = s.cp.text() + QLatin1Char(' ') + s.ville.text();
    v["pays"] = s.pays.text();
    v["tel"] = numbers(182, s.tela.text(), s.telb.text());
    v["fax"] = numbers(183, s.faxa.text(), s.faxb.text());
    v["service"] = s.service.text();
    v["email"] = s.email.text();
    v["url"] = s.url.text();

    const int ki = qint32(c.id_contact) >= 1 ? findById(store.Contacts, qint32(c.id_contact)) : -1;
    const TContactRec k = ki >= 0 ? store.Contacts[ki] : TContactRec{};
    v["Contact_nom"] = ki >= 0 ? k.civilite.text() + QLatin1Char(' ') + k.nom.text() : QString();
    v["Contact_fonction"] = k.fonction.text();
    v["Contact_email"] = k.email.text();
    v["Contact_tel"] = k.tel.text();
    v["Contact_fax"] = k.fax.text();
    v["Contact_gsm"] = k.gsm.text();

    const char* names[5] = {"Offre", "CV", "Lettre", "Accuse", "Suite"};
    for (int slot = 0; slot < 5; ++slot) {
        const QString name = QString::fromLatin1(names[slot]);
        v[name] = pathField(c, DocSlot(slot)).text() == MarqueurTexte ? QStringLiteral("Oui")
                                                                      : QStringLiteral("Non");
        v[name + QLatin1Char('1')] = captions.description[slot];
        v[name + QLatin1Char('2')] = captions.date[slot];
    }
    v["RDV"] = captions.rdv;
    v["Memo"] = i >= 0 ? reportMemo(store, c) : QString();
    return v;
}
