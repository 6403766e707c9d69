#include "applications/sort.h"
#include "store/alongside.h"

#include <algorithm>
#include <vector>

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

QList<qint32> societeRanks(const QList<TSocieteRec>& societes)
{
    struct Name {
        quint64 prefix;
        int pos;
    };
    std::vector<Name> names;
    names.reserve(size_t(societes.size()));
    for (int i = 0; i < societes.size(); ++i)
        if (isLive(societes[i])) names.push_back({textPrefix(societes[i].nom), i});
    const auto compare = [&](const Name& a, const Name& b) {
        return comparePrefixed(a.prefix, &societes[a.pos].nom, b.prefix, &societes[b.pos].nom);
    };
    std::sort(names.begin(), names.end(),
              [&](const Name& a, const Name& b) { return compare(a, b) < 0; });
    QList<qint32> ranks(societes.size(), -1);
    qint32 rank = 0;
    for (size_t k = 0; k < names.size(); ++k) {
        if (k > 0 && compare(names[k - 1], names[k]) != 0) ++rank;
        ranks[names[k].pos] = rank;
    }
    return ranks;
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

namespace
{

// The first keys of an order packed into 128 bits that compare as the keys
// do: the sort moves small records and compares integers, and turns to the
// elements only when the packed keys are equal.
struct Packed {
    quint64 hi = 0, lo = 0;
    quint32 at = 0; // position in the unsorted list
};

class KeyPacker
{
public:
    // With `ranked`, every element has its company's rank.
    KeyPacker(const OrdreCles& keys, bool ranked) : ranked_(ranked)
    {
        for (int i = 0; i < 6; ++i) {
            const int bits = width(keys[i]);
            if (used_ + bits > 128) break;
            keys_[count_++] = keys[i];
            used_ += bits;
            // A text prefix that is equal says nothing of what follows it.
            if (isText(keys[i])) break;
        }
    }

    Packed pack(const TElementListing& e, quint32 at) const
    {
        Packed p;
        p.at = at;
        int free = 128;
        for (int i = 0; i < count_; ++i) {
            const int bits = width(keys_[i]);
            put(p, value(e, keys_[i]), bits, free);
            free -= bits;
        }
        return p;
    }

    // Packed keys decide alone up to here; a text prefix that is equal says
    // nothing of what follows it.
    bool isText(int key) const
    {
        return key == TElementListing::Intitule || (key == TElementListing::Societe && !ranked_);
    }
    int firstKey() const { return keys_[0]; }

private:
    int width(int key) const
    {
        if (isText(key)) return 64;
        return key == TElementListing::Categorie ? 16 : 32;
    }
    // Signed numbers with the sign bit flipped order as unsigned ones.
    static quint64 number(qint32 v) { return quint32(v) ^ 0x80000000u; }
    quint64 value(const TElementListing& e, int key) const
    {
        switch (key) {
        case TElementListing::Statut:
            return number(e.statut);
        case TElementListing::DateKey:
            return number(e.date);
        case TElementListing::Marqueur:
            return number(e.marqueur);
        case TElementListing::Rdv:
            return number(e.rdv);
        case TElementListing::Categorie: {
            // At most one letter: the empty code first, then the letters folded.
            if (!e.categorie || e.categorie->length() == 0) return 0;
            return 0x100u | quint64(textPrefix(*e.categorie) >> 56);
        }
        case TElementListing::Societe:
            if (ranked_) return quint32(e.societeRank);
            return e.societe && !e.societePrefix ? textPrefix(*e.societe) : e.societePrefix;
        default:
            return e.intitule && !e.intitulePrefix ? textPrefix(*e.intitule) : e.intitulePrefix;
        }
    }
    // Puts `bits` bits of `v` just below the `free` low bits still free.
    static void put(Packed& p, quint64 v, int bits, int free)
    {
        const int shift = free - bits; // position of the value's lowest bit
        if (shift >= 64) {
            p.hi |= v << (shift - 64);
        } else if (shift + bits <= 64) {
            p.lo |= v << shift;
        } else {
            p.lo |= v << shift;
            p.hi |= v >> (64 - shift);
        }
    }

    bool ranked_;
    int keys_[6] = {};
    int count_ = 0;
    int used_ = 0;
};

// Sorts the packed keys. A long list is sorted in two halves on two
// threads, which are then merged; the order is the same, every key being
// told apart by the comparison.
template <class Less> void sortPacked(std::vector<Packed>& packed, const Less& less)
{
    if (packed.size() < size_t(ListingTwoThreadsFrom)) {
        std::sort(packed.begin(), packed.end(), less);
        return;
    }
    const auto mid = packed.begin() + std::ptrdiff_t(packed.size() / 2);
    alongside([&] { std::sort(packed.begin(), mid, less); },
              [&] { std::sort(mid, packed.end(), less); });
    static thread_local std::vector<Packed> merged;
    merged.resize(packed.size());
    std::merge(packed.begin(), mid, mid, packed.end(), merged.begin(), less);
    packed.swap(merged);
}

} // namespace

void TListingMaListe::sort(const OrdreCles& keys)
{
    const qsizetype n = elements_.size();
    TElementListing* e = elements_.data();
    // Equal elements stay in the order of their table.
    const auto less = [&](const TElementListing& a, const TElementListing& b) {
        const int r = compareElements(a, b, keys);
        return r ? r < 0 : a.index < b.index;
    };
    bool ranked = true;
    for (qsizetype i = 0; i < n && ranked; ++i)
        ranked = e[i].societeRank >= 0;
    const KeyPacker packer(keys, ranked);
    // Sorted by a text first, most comparisons go to the texts anyway: the
    // elements are sorted where they are.
    if (packer.isText(packer.firstKey())) {
        std::sort(elements_.begin(), elements_.end(), less);
        return;
    }

    // Kept from one sort to the next: fresh memory costs a page fault per
    // page, more than the sort itself.
    static thread_local std::vector<Packed> packed;
    packed.clear();
    packed.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i)
        packed.push_back(packer.pack(e[i], quint32(i)));

    sortPacked(packed, [&](const Packed& a, const Packed& b) {
        if (a.hi != b.hi) return a.hi < b.hi;
        if (a.lo != b.lo) return a.lo < b.lo;
        return less(e[a.at], e[b.at]);
    });

    // The elements are gathered in their new order into a second list: the
    // reads of the unsorted list do not wait on one another, and with a
    // long list each thread gathers one half.
    static thread_local QList<TElementListing> spare;
    spare.resize(n);
    TElementListing* to = spare.data();
    // By address: on the second thread, `packed` would name that thread's own.
    const Packed* order = packed.data();
    const auto gather = [=](qsizetype from, qsizetype end) {
        for (qsizetype k = from; k < end; ++k)
            to[k] = e[order[k].at];
    };
    if (n < ListingTwoThreadsFrom)
        gather(0, n);
    else
        alongside([&] { gather(0, n / 2); }, [&] { gather(n / 2, n); });
    elements_.swap(spare);
}
