#pragma once
// Small routines shared by every part of the program: stored dates, day
// counts, accent folding for the letter groups, shortening texts to a width,
// company look-ups and the version tag at the head of a data file.

#include "store/records.h"

#include <QList>
#include <QString>
#include <functional>
#include <stdexcept>

// Raised for a stored date that is not a valid "yyyymmdd" date; the error box
// of the frame shows its text when nothing else handles it.
class DateError : public std::runtime_error
{
public:
    explicit DateError(const QString& text);
};

// "yyyymmdd" → "dd/mm/yyyy"; a text of any other length is returned as it is.
QString SQL2Date(const QString& date);

// "yyyymmdd" → days since 1899-12-30. Throws DateError.
double SQL2DateTime(const QString& date);
// Same, on the stored bytes of a date field.
qint64 dateDays(const Date& date);

// Whole days between two stored dates, whatever their order. Throws DateError.
qint32 CompteJours(const QString& a, const QString& b);

// Folds the French accented letters to their base letter, in lower case.
QString SansAccents(const QString& text);

// Shortens a text to a width: the longest prefix narrower than `maximum` by
// at least one pixel, followed by "..."; a text that fits is returned whole.
// `width` gives the pixel width of a text in the font of the drawing.
QString cutToWidth(const QString& text, int maximum,
                   const std::function<int(const QString&)>& width);

// Name and category letter of the first company with this id; empty when none.
QString GetSocietyName(const QList<TSocieteRec>& societes, qint32 id);
QString GetSocietyType(const QList<TSocieteRec>& societes, qint32 id);

// Version tag at the head of a data file: empty for a missing file, "null"
// for a file shorter than 7 bytes.
QString LitEnteteFichier(const QString& path);
