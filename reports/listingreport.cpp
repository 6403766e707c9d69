#include "reports/listingreport.h"

#include "platform/pictures.h"
#include "store/helpers.h"

#include <memory>

namespace
{

using pictures::ListingIcon;
using report::Line;
using report::Page;
using report::Picture;
using report::TextBox;

const QColor Grey(228, 228, 228);
const QColor LetterColours[4] = {QColor(0, 168, 0), QColor(0, 128, 255), QColor(182, 7, 248),
                                 QColor(248, 7, 55)};
const char Letters[4] = {'C', 'L', 'A', 'S'};

TextBox text(qreal x, qreal y, qreal w, qreal h, const QString& t, bool framed = true)
{
    TextBox b;
    b.rect = QRectF(x, y, w, h);
    b.text = t;
    b.fontSize = 12; // 9 points at 96 dpi
    b.frame = framed ? report::AllSides : report::NoSide;
    b.align = Qt::AlignLeft | Qt::AlignVCenter;
    b.gapTop = 0;
    b.wrap = false; // one line per row, whatever the length of a name
    return b;
}

// The icons as images, converted once: a report holds hundreds of
// thousands of them, all sharing these.
const QImage& iconImage(ListingIcon which)
{
    static QImage images[int(ListingIcon::Marqueur) + 1];
    QImage& i = images[int(which)];
    if (i.isNull()) i = pictures::listingIcon(which).toImage();
    return i;
}

Picture icon(qreal x, qreal y, qreal w, qreal h, ListingIcon which, bool centred = false)
{
    Picture p;
    p.rect = QRectF(x, y, w, h);
    p.image = iconImage(which);
    p.centred = centred;
    return p;
}

TextBox letter(qreal x, qreal y, qreal size, int which)
{
    TextBox b = text(x, y, size, size, QString(QLatin1Char(Letters[which])), false);
    b.bold = true;
    b.color = Qt::white;
    b.fill = LetterColours[which];
    b.align = Qt::AlignCenter;
    b.gapLeft = 0;
    return b;
}

TextBox title(qreal x, qreal y, qreal w, const QString& t)
{
    TextBox b = text(x, y, w, 20, t);
    b.bold = true;
    b.fill = Grey;
    b.align = Qt::AlignCenter;
    return b;
}

void footer(Page& page, const QDateTime& now)
{
    Line rule;
    rule.line = QLineF(36, 1040, 36 + 685, 1040);
    page.objects.append(rule);
    TextBox name = text(36, 1040, 150, 20, QStringLiteral("ORVALDIS"), false);
    name.bold = true;
    page.objects.append(name);
    TextBox number = text(273, 1040, 200, 20, QStringLiteral("Page [PAGE#]/[TOTALPAGES]"), false);
    number.align = Qt::AlignCenter;
    page.objects.append(number);
    TextBox date =
        text(522, 1040, 200, 20, now.toString(QStringLiteral("dd/MM/yyyy - hh:mm")), false);
    date.align = Qt::AlignRight | Qt::AlignVCenter;
    page.objects.append(date);
}

void firstPageBlocks(Page& page, const QStringList& figures)
{
    TextBox heading = text(0, 45, 757, 24, QStringLiteral("Listing des candidatures"), false);
    heading.fontSize = 16;
    heading.bold = heading.underline = true;
    heading.align = Qt::AlignCenter;
    page.objects.append(heading);

    page.objects.append(text(36, 96, 190, 202, QString()));
    page.objects.append(title(36, 96, 190, QStringLiteral("Légende")));
    const struct {
        int y;
        ListingIcon icon;
        const char* label;
    } icons[] = {{118, ListingIcon::CandidatureEnCours, "Candidatures en cours"},
                 {133, ListingIcon::CandidatureTerminee, "Candidature terminée"},
                 {148, ListingIcon::Img_Attention, "Alarme"},
                 {163, ListingIcon::Img_societe, "Société"},
                 {178, ListingIcon::Img_cabinet, "Cabinet de recrutement"},
                 {193, ListingIcon::Img_interim, "Société intérimaire"},
                 {208, ListingIcon::Img_rdv, "Rendez-vous"},
                 {283, ListingIcon::Marqueur, "Marqueur"}};
    for (const auto& i : icons) {
        page.objects.append(icon(36, i.y, 20, 15, i.icon, true));
        page.objects.append(text(56, i.y, 170, 15, QString::fromUtf8(i.label), false));
    }
    const char* letterLabels[4] = {"CV envoyé", "Lettre de motivation envoyée",
                                   "Accusé de réception reçu", "Suite ou refus"};
    for (int k = 0; k < 4; ++k) {
        page.objects.append(letter(40, 224 + 15 * k, 13, k));
        page.objects.append(
            text(56, 223 + 15 * k, 170, 15, QString::fromUtf8(letterLabels[k]), false));
    }

    page.objects.append(text(245, 171, 196, 127, QString()));
    page.objects.append(title(245, 171, 196, QStringLiteral("Statistiques")));
    for (int k = 0; k < 7; ++k)
        page.objects.append(text(247, 193 + 15 * k, 196, 15, figures.value(k), false));
}

// What a printed row shows, taken from the records once: the pages are
// made from these only when they are painted or written.
struct PrintedRow {
    QString date, company, title;
    ListingIcon state = ListingIcon::CandidatureEnCours;
    ListingIcon category = ListingIcon::Img_societe;
    bool rdv = false, marqueur = false;
    bool letters[4] = {false, false, false, false};
};

// A row as printed, or plain for the spreadsheet: no frame, no picture, no
// colour, the letters as texts.
void row(Page& page, qreal y, const PrintedRow& l, bool plain = false)
{
    auto add = [&page, plain](TextBox b) {
        if (plain) {
            b.frame = report::NoSide;
            b.fill = QColor();
            b.color = Qt::black;
            b.bold = false;
        }
        page.objects.append(std::move(b));
    };
    auto addIcon = [&page, plain](Picture p) {
        if (!plain) page.objects.append(std::move(p));
    };
    addIcon(icon(36, y, 15, 15, l.state));
    TextBox date = text(51, y, 68, 15, l.date);
    date.align = Qt::AlignCenter;
    add(date);
    addIcon(icon(119, y, 15, 15, l.category));
    add(text(134, y, 204, 15, l.company));
    add(text(338, y, 284, 15, l.title));
    if (l.rdv) addIcon(icon(622, y, 15, 15, ListingIcon::Img_rdv));
    add(text(622, y, 15, 15, QString()));
    for (int k = 0; k < 4; ++k) {
        if (l.letters[k]) {
            TextBox b = letter(637 + 15 * k, y, 15, k);
            b.frame = report::AllSides;
            add(b);
        } else {
            add(text(637 + 15 * k, y, 15, 15, QString()));
        }
    }
    if (l.marqueur) addIcon(icon(697, y, 15, 15, ListingIcon::Marqueur));
    add(text(697, y, 15, 15, QString()));
}

QList<PrintedRow> printedRows(const Store& store, const QList<TLigneListing>& rows)
{
    QList<PrintedRow> out(rows.size());
    // A company's name is read once and shared by all its rows.
    QList<QString> names(store.Societes.size());
    QList<bool> named(store.Societes.size(), false);
    const TCandidatureRec none{};
    for (int i = 0; i < rows.size(); ++i) {
        const TLigneListing& l = rows[i];
        const TCandidatureRec& c = l.index >= 0 && l.index < store.Candidatures.size()
                                       ? store.Candidatures[l.index]
                                       : none;
        PrintedRow& p = out[i];
        p.date = SQL2Date(c.date.text());
        p.title = c.intitule.text();
        if (l.societe >= 0 && l.societe < store.Societes.size()) {
            const TSocieteRec& s = store.Societes[l.societe];
            if (!named[l.societe]) {
                names[l.societe] = s.nom.text();
                named[l.societe] = true;
            }
            p.company = names[l.societe];
            p.category = s.categorie.equals("C")   ? ListingIcon::Img_cabinet
                         : s.categorie.equals("I") ? ListingIcon::Img_interim
                                                   : ListingIcon::Img_societe;
        }
        p.state = l.alarme     ? ListingIcon::Img_Attention
                  : c.terminee ? ListingIcon::CandidatureTerminee
                               : ListingIcon::CandidatureEnCours;
        p.rdv = l.rdv;
        p.marqueur = l.marqueur;
        const qint32 flags[4] = {l.cv, l.lettre, l.accuse, l.suite};
        for (int k = 0; k < 4; ++k)
            p.letters[k] = flags[k] != 0;
    }
    return out;
}

// The rows of each page: the first holds fewer, under the legend and figures.
int firstRowOf(int page)
{
    return page == 0 ? 0 : FirstPageRows + (page - 1) * FurtherPageRows;
}

} // namespace

report::Report ReportListing(const Store& store, const ListingReportInput& in)
{
    report::Report r;
    r.title = QStringLiteral("Listing des candidatures");
    const auto rows = std::make_shared<const QList<PrintedRow>>(printedRows(store, in.rows));
    const int n = int(rows->size());
    if (in.exportMode) {
        // Every row from the top, one under the other. The spreadsheet
        // filter sets the pages end to end, so they are made in parts of a
        // few thousand rows rather than as one page of a million objects.
        constexpr int Part = 2000;
        r.madePageCount = qMax(1, (n + Part - 1) / Part);
        r.makePage = [rows, n](int p) {
            Page page;
            const int to = qMin(n, (p + 1) * Part);
            page.objects.reserve(9 * (to - p * Part));
            for (int i = p * Part; i < to; ++i)
                row(page, 15 * (i - p * Part), rows->at(i), true);
            return page;
        };
        return r;
    }
    // A full page is the last one: a new page only when a row is still to come.
    r.madePageCount = n <= FirstPageRows ? 1 : 2 + (n - FirstPageRows - 1) / FurtherPageRows;
    const QString total = QString::number(r.madePageCount);
    r.makePage = [rows, n, total, figures = in.figures, now = in.now](int p) {
        Page page;
        const int from = firstRowOf(p);
        const int to = qMin(n, p == 0 ? FirstPageRows : from + FurtherPageRows);
        page.objects.reserve(40 + 12 * qMax(0, to - from));
        footer(page, now);
        for (report::Object& o : page.objects)
            if (auto* t = std::get_if<TextBox>(&o); t && t->text.contains(QLatin1String("[PAGE#]")))
                t->text = QStringLiteral("Page %1/%2").arg(p + 1).arg(total);
        if (p == 0) firstPageBlocks(page, figures);
        qreal y = p == 0 ? 320 : 56;
        for (int i = from; i < to; ++i, y += 15)
            row(page, y, rows->at(i));
        return page;
    };
    return r;
}
