#include "browser/favoris.h"

#include "store/cp1252.h"
#include "store/texts.h"

#include <QCollator>
#include <QUrl>
#include <algorithm>

namespace favoris
{

QStringList noms(const QList<TFavoriRec>& table)
{
    QStringList names;
    names.reserve(table.size());
    for (const TFavoriRec& f : table)
        names.append(f.nom.text());
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

int indexOf(const QList<TFavoriRec>& table, const QString& nom)
{
    for (int i = 0; i < table.size(); ++i)
        if (table[i].nom.text() == nom) return i;
    return -1;
}

Result ajoute(Store& store, const QString& nom, const QString& url)
{
    const QString name = nom.left(255);
    if (indexOf(store.Favoris, name) >= 0)
        return Result::failure(QStringLiteral("Un favori portant ce nom existe déjà."));
    if (!cp1252::canEncode(name))
        return Result::failure(
            QStringLiteral("Impossible d'enregistrer le favori: le nom contient des caractères "
                           "que le fichier des favoris ne peut pas contenir. Veuillez les "
                           "remplacer."));
    // An address with other characters is kept in its encoded form, which
    // the browser reads the same.
    QString address = url;
    if (!cp1252::canEncode(address))
        address = QString::fromLatin1(QUrl::fromUserInput(url).toEncoded());
    TFavoriRec f{};
    f.nom = name;
    f.url = address.left(255);
    const Result r = store.append(f);
    // The store's message ends with the reason, after an empty line.
    if (!r.ok)
        return Result::failure(QStringLiteral("Impossible d'enregistrer le favori: ") +
                               r.error.section(CR + CR, -1));
    return r;
}

Result supprime(Store& store, const QString& nom)
{
    const QString file = QStringLiteral("favoris.dat");
    if (Result w = store.overwritable(FileKind::Favoris, file); !w.ok) return w;
    const RewriteResult r =
        store.rewriteWithout<TFavoriRec>([&](const TFavoriRec& f) { return f.nom.text() == nom; });
    if (r.outcome == Rewrite::Done) return Result::success();
    // Nothing was rewritten: the previous file could not be put in backup/.
    if (r.outcome == Rewrite::Unchanged)
        return Result::failure(GetTxt(219) + QLatin1Char('.') + CR + GetTxt(220) +
                               QLatin1Char('.'));
    return Result::failure(r.error);
}

} // namespace favoris
