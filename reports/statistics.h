#pragma once
// Key figures: the three counting rules (replied to, interviewed, response
// delay), the figures of a set of applications, and their label texts. The
// key-figures panel, the editor and the directory all count with these.

#include "store/records.h"

#include <QList>
#include <QLocale>
#include <QStringList>
#include <optional>

namespace counting
{

// Replied to: the reply document slot is not empty.
bool replied(const TCandidatureRec& c);
// Interviewed: an appointment date is set.
bool interviewed(const TCandidatureRec& c);
// Days between the application and the first reaction (appointment or reply
// date, the earlier one when both are set); none without either. Throws
// DateError on a date that is not one.
std::optional<qint32> responseDelay(const TCandidatureRec& c);

} // namespace counting

struct KeyFigures {
    int candidatures = 0;
    int societes = 0;
    int entretiens = 0;
    int reponses = 0;
    int delays = 0;      // applications with a response delay
    qint64 delaySum = 0; // sum of their delays in days
};

// Counts the live applications of a table (`societes` is given as it is).
// Throws DateError on a date that is not one.
KeyFigures countFigures(const QList<TCandidatureRec>& candidatures, int societes);

// The figures of the live applications sent to one company. A date that is
// not one leaves out that application's response delay.
KeyFigures companyFigures(const QList<TCandidatureRec>& candidatures, qint32 societeId);

// The four figure lines of the application editor for one company:
// applications, replies with their rate, interviews with their rate, mean
// response time. The last three are empty without applications.
QStringList companyFigureTexts(const KeyFigures& f, const QLocale& locale);

// num / den rounded to `decimals` places, an exact half going to the even
// neighbour, computed on integers; written with the locale's decimal point,
// without grouping or trailing zeros.
QString ratioText(qint64 num, qint64 den, int decimals, const QLocale& locale);

// k / n × 100 rounded to two decimals.
QString rateText(int k, int n, const QLocale& locale);

// The numbers that every view of the key figures shows, formatted once:
// both rates, and the mean response time with one decimal.
struct FigureNumbers {
    QString replyRate; // "0" without replies
    QString interviewRate;
    QString meanDelay;        // empty without any response delay
    bool severalDays = false; // the mean is over one day: "jours"
};
FigureNumbers figureNumbers(const KeyFigures& f, const QLocale& locale);

// The seven labels of the key-figures panel, top to bottom.
QStringList keyFigureTexts(const KeyFigures& f, const QLocale& locale);
