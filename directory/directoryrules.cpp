#include "directory/directoryrules.h"

#include "store/helpers.h"
#include "store/journal.h"
#include "store/texts.h"

#include <QCollator>

QString foldName(const QString& nom)
{
    QString s = nom;
    for (QChar& c : s)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
    return SansAccents(s);
}

bool inGroup(const QString& folded, QChar key)
{
    if (folded.isEmpty()) return false;
    const QChar first = folded.at(0);
    const bool letter = first >= QLatin1Char('a') && first <= QLatin1Char('z');
    if (key == QLatin1Char('9')) return !letter;
    if (key == QLatin1Char('_')) return true;
    return first == key || first.unicode() + 1 == key.unicode();
}

QChar groupKeyOf(const QString& nom)
{
    const QString folded = foldName(nom);
    if (folded.isEmpty()) return QLatin1Char('9');
    const QChar c = folded.at(0);
    if (c < QLatin1Char('a') || c > QLatin1Char('z')) return QLatin1Char('9');
    // a,b → b; c,d → d; ... y,z → z
    const int i = c.unicode() - 'a';
    return QChar('a' + (i | 1));
}

void sortNames(QStringList& names)
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
}

QStringList companiesOfGroup(const QList<TSocieteRec>& societes, QChar key)
{
    QStringList names;
    for (const TSocieteRec& s : societes) {
        if (!isLive(s)) continue;
        const QString nom = s.nom.text();
        if (inGroup(foldName(nom), key)) names.append(nom);
    }
    sortNames(names);
    return names;
}

QStringList allCompanyNames(const QList<TSocieteRec>& societes)
{
    return companiesOfGroup(societes, QLatin1Char('_'));
}

QStringList directoryFigureTexts(const KeyFigures& f, const QLocale& locale)
{
    auto s = [](int n) { return n >= 2 ? QStringLiteral("s") : QString(); };
    const int k = f.candidatures;
    QStringList t{QStringLiteral("Candidature%1: %2").arg(s(k)).arg(k)};
    if (k == 0) return t << QString() << QString() << QString();
    const FigureNumbers n = figureNumbers(f, locale);
    t << QStringLiteral("Réponse%1: %2 (Taux: %3%)")
             .arg(s(f.reponses))
             .arg(f.reponses)
             .arg(n.replyRate);
    t << QStringLiteral("Entretien%1: %2 (Taux: %3%)")
             .arg(s(f.entretiens))
             .arg(f.entretiens)
             .arg(n.interviewRate);
    if (n.meanDelay.isEmpty()) {
        t << QStringLiteral("Temps de réponse moyen non disponible");
    } else {
        t << QStringLiteral("Temps de réponse moyen: ") + n.meanDelay + QStringLiteral(" jour") +
                 (n.severalDays ? QStringLiteral("s") : QString());
    }
    return t;
}

QString companyDeletionRefusal(const QList<TCandidatureRec>& candidatures, qint32 id)
{
    int n = 0;
    for (const TCandidatureRec& c : candidatures)
        if (isLive(c) && qint32(c.id_societe) == id) ++n;
    if (n == 0) return QString();
    return QStringLiteral("Il existe %1 candidature%2 concernant cette société.")
               .arg(n)
               .arg(n > 1 ? QStringLiteral("s") : QString()) +
           CR +
           QStringLiteral("Veuillez supprimer toutes les candidatures liées avant de "
                          "supprimer cette société.");
}

RewriteResult DelSociete(Store& store, qint32 id)
{
    const bool contacts = !store.Contacts.isEmpty();
    // Both files are written beside the old ones first, then put in place
    // as one step: a stop between the two is finished at the next start.
    JournalStep step(store);
    Store::Progress first;
    first.maximum = store.Societes.size() + store.Contacts.size();
    first.hide = !contacts;
    RewriteResult r = step.prepareWithout<TSocieteRec>(
        [id](const TSocieteRec& s) { return qint32(s.id) == id; }, first);
    if (r.outcome == Rewrite::Done && contacts) {
        Store::Progress second;
        second.start = false;
        r = step.prepareWithout<TContactRec>(
            [id](const TContactRec& k) { return qint32(k.id_societe) == id; }, second);
    }
    if (r.outcome == Rewrite::Done) r = step.apply();
    if (r.outcome == Rewrite::Done) (void)step.finish();
    if (r.outcome != Rewrite::Done) store.ui().progressHide();
    return r;
}
