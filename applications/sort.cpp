#include "applications/sort.h"

#include <algorithm>

void PrepareTri(const QString& tri, OrdreCles& keys)
{
    using E = TElementListing;
    if (tri.size() != 1) return;
    switch (tri.at(0).unicode()) {
    case 'd':
        keys = {E::DateKey, E::Societe, E::Intitule, E::Statut, E::Marqueur, E::Categorie, E::Rdv};
        break;
    case 's':
        keys = {E::Societe, E::DateKey, E::Intitule, E::Statut, E::Marqueur, E::Categorie, E::Rdv};
        break;
    case 'i':
        keys = {E::Intitule, E::DateKey, E::Societe, E::Statut, E::Marqueur, E::Categorie, E::Rdv};
        break;
    case 'f':
        keys = {E::Statut, E::DateKey, E::Societe, E::Intitule, E::Marqueur, E::Categorie, E::Rdv};
        break;
    case 'c':
        keys = {E::Categorie, E::DateKey, E::Societe, E::Intitule, E::Statut, E::Marqueur, E::Rdv};
        break;
    case 'm':
        keys = {E::Marqueur, E::DateKey, E::Societe, E::Intitule, E::Statut, E::Categorie, E::Rdv};
        break;
    case 'r':
        keys = {E::Rdv, E::DateKey, E::Societe, E::Intitule, E::Marqueur, E::Categorie, E::Statut};
        break;
    default:
        break;
    }
}

int sortPosition(const QString& tri)
{
    if (tri.size() != 1) return -1;
    for (int i = 0; i < 7; ++i)
        if (tri.at(0) == QLatin1Char(SortLetters[i])) return i;
    return -1;
}

namespace
{

struct FoldTable {
    unsigned char t[256];
    FoldTable()
    {
        for (int i = 0; i < 256; ++i)
            t[i] = (i >= 'a' && i <= 'z') ? i - 32 : i;
    }
};
const FoldTable fold;

int compareInt(qint32 a, qint32 b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

template <int N> int compareShort(const ShortString<N>* a, const ShortString<N>* b)
{
    const int na = a ? a->length() : 0, nb = b ? b->length() : 0;
    return compareText(a ? reinterpret_cast<const unsigned char*>(a->chars) : nullptr, na,
                       b ? reinterpret_cast<const unsigned char*>(b->chars) : nullptr, nb);
}

// By the prefixes when they differ, otherwise by the whole texts.
template <int N>
int comparePrefixed(quint64 pa, const ShortString<N>* a, quint64 pb, const ShortString<N>* b)
{
    return pa != pb ? (pa < pb ? -1 : 1) : compareShort(a, b);
}

} // namespace

quint64 textPrefix(const unsigned char* text, int n)
{
    quint64 p = 0;
    for (int i = 0; i < 8; ++i)
        p = (p << 8) | (i < n ? fold.t[text[i]] : 0);
    return p;
}

int compareText(const unsigned char* a, int na, const unsigned char* b, int nb)
{
    const int n = std::min(na, nb);
    for (int i = 0; i < n; ++i) {
        const int d = int(fold.t[a[i]]) - int(fold.t[b[i]]);
        if (d) return d;
    }
    return na - nb;
}

int compareElements(const TElementListing& a, const TElementListing& b, const OrdreCles& keys)
{
    for (int i = 0; i < 6; ++i) {
        int r = 0;
        switch (keys[i]) {
        case TElementListing::Statut:
            r = compareInt(a.statut, b.statut);
            break;
        case TElementListing::DateKey:
            r = compareInt(a.date, b.date);
            break;
        case TElementListing::Categorie:
            r = comparePrefixed(a.categoriePrefix, a.categorie, b.categoriePrefix, b.categorie);
            break;
        case TElementListing::Societe:
            r = comparePrefixed(a.societePrefix, a.societe, b.societePrefix, b.societe);
            break;
        case TElementListing::Intitule:
            r = comparePrefixed(a.intitulePrefix, a.intitule, b.intitulePrefix, b.intitule);
            break;
        case TElementListing::Marqueur:
            r = compareInt(a.marqueur, b.marqueur);
            break;
        case TElementListing::Rdv:
            r = compareInt(a.rdv, b.rdv);
            break;
        }
        if (r) return r;
    }
    return 0;
}

void TListingMaListe::sort(const OrdreCles& keys)
{
    std::sort(elements_.begin(), elements_.end(),
              [&](const TElementListing& a, const TElementListing& b) {
                  return compareElements(a, b, keys) < 0;
              });
}
