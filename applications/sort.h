#pragma once
// Sorting the application listing: the sort element, the key priorities of
// each order and the comparison.

#include "store/records.h"

#include <QList>
#include <array>

// One listed application, with the keys it is sorted on.
struct TElementListing {
    enum Key {
        Statut = 0,
        DateKey = 1,
        Categorie = 2,
        Societe = 3,
        Intitule = 4,
        Marqueur = 5,
        Rdv = 6
    };

    qint32 statut = 0;   // 1 when finished
    qint32 date = 0;     // "yyyymmdd" as a number
    qint32 marqueur = 0; // 1 when marked
    qint32 rdv = 0;      // 1 when an appointment is set
    const Letter* categorie = nullptr;
    const ShortString<50>* societe = nullptr;
    const ShortString<255>* intitule = nullptr;
    // The start of each text as textPrefix() gives it: most comparisons are
    // decided by these without following the pointers into the records.
    // Left at 0, the texts themselves decide.
    quint64 categoriePrefix = 0;
    quint64 societePrefix = 0;
    quint64 intitulePrefix = 0;
    // The place of the company's name among all names (equal names, equal
    // places), from societeRanks(); the sort then needs no text for this
    // key. Left at -1, the texts decide.
    qint32 societeRank = -1;
    int index = 0; // position of the application in its table; not a key
};

// Seven key indexes by priority; the comparison consults the first six.
using OrdreCles = std::array<int, 7>;

// The priorities of a sort letter ("d", "s", "c", "i", "f", "m", "r"); any
// other letter leaves `keys` as it was.
void PrepareTri(const QString& tri, OrdreCles& keys);

// Texts compare byte by byte with only a to z folded to capitals; a text
// that is the start of another sorts first.
int compareText(const unsigned char* a, int na, const unsigned char* b, int nb);

// The first eight characters of a text folded as compareText folds them, as
// one number that orders as the texts do when the two numbers differ.
quint64 textPrefix(const unsigned char* text, int n);
template <int N> quint64 textPrefix(const ShortString<N>& s)
{
    return textPrefix(reinterpret_cast<const unsigned char*>(s.chars), s.length());
}

// The place of each company's name in the order of compareText, by
// position in the table; equal names share a place, companies that are not
// live get -1.
QList<qint32> societeRanks(const QList<TSocieteRec>& societes);

// Negative, 0 or positive, the first differing key of the six deciding.
int compareElements(const TElementListing& a, const TElementListing& b, const OrdreCles& keys);

// From this many applications, reading the table and sorting the listing
// each go on two threads; below it a second thread costs more than it saves.
inline constexpr int ListingTwoThreadsFrom = 20000;

// The list the listing sorts; it sorts ascending, equal elements in the
// order of their table (`index`), and reads backwards for the descending
// order.
class TListingMaListe
{
public:
    void reserve(int n) { elements_.reserve(n); }
    void add(const TElementListing& e) { elements_.append(e); }
    void append(const TListingMaListe& other) { elements_.append(other.elements_); }
    int size() const { return int(elements_.size()); }
    const TElementListing& at(int i) const { return elements_[i]; }
    void sort(const OrdreCles& keys);
    void clear() { elements_.clear(); }

private:
    QList<TElementListing> elements_;
};

// The sort letters in the order of the menus, and the letter of a position.
inline constexpr char SortLetters[7] = {'d', 's', 'c', 'i', 'r', 'f', 'm'};
int sortPosition(const QString& tri); // -1 for a letter outside the table
