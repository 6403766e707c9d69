#include "reports/listingreport.h"

#include "platform/pictures.h"
#include "store/helpers.h"

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

void row(Page& page, qreal y, const TLigneListing& l, const TCandidatureRec& c,
         const TSocieteRec& s)
{
    page.objects.append(icon(36, y, 15, 15,
                             l.alarme     ? ListingIcon::Img_Attention
                             : c.terminee ? ListingIcon::CandidatureTerminee
                                          : ListingIcon::CandidatureEnCours));
    TextBox date = text(51, y, 68, 15, SQL2Date(c.date.text()));
    date.align = Qt::AlignCenter;
    page.objects.append(date);
    page.objects.append(icon(119, y, 15, 15,
                             s.categorie.equals("C")   ? ListingIcon::Img_cabinet
                             : s.categorie.equals("I") ? ListingIcon::Img_interim
                                                       : ListingIcon::Img_societe));
    page.objects.append(text(134, y, 204, 15, s.nom.text()));
    page.objects.append(text(338, y, 284, 15, c.intitule.text()));
    if (l.rdv) page.objects.append(icon(622, y, 15, 15, ListingIcon::Img_rdv));
    page.objects.append(text(622, y, 15, 15, QString()));
    const qint32 flags[4] = {l.cv, l.lettre, l.accuse, l.suite};
    for (int k = 0; k < 4; ++k) {
        if (flags[k]) {
            TextBox b = letter(637 + 15 * k, y, 15, k);
            b.frame = report::AllSides;
            page.objects.append(b);
        } else {
            page.objects.append(text(637 + 15 * k, y, 15, 15, QString()));
        }
    }
    if (l.marqueur) page.objects.append(icon(697, y, 15, 15, ListingIcon::Marqueur));
    page.objects.append(text(697, y, 15, 15, QString()));
}

} // namespace

report::Report ReportListing(const Store& store, const ListingReportInput& in)
{
    report::Report r;
    r.title = QStringLiteral("Listing des candidatures");
    Page page;
    if (!in.exportMode) {
        footer(page, in.now);
        firstPageBlocks(page, in.figures);
    }
    qreal y = in.exportMode ? 0 : 320;
    for (int i = 0; i < in.rows.size(); ++i) {
        const TLigneListing& l = in.rows[i];
        const TCandidatureRec c =
            l.index < store.Candidatures.size() ? store.Candidatures[l.index] : TCandidatureRec{};
        const TSocieteRec s =
            l.societe < store.Societes.size() ? store.Societes[l.societe] : TSocieteRec{};
        row(page, y, l, c, s);
        y += 15;
        // A new page only when a row is still to come: a full page is the last.
        if (!in.exportMode && y > 1000 && i + 1 < in.rows.size()) {
            r.pages.append(page);
            page = Page();
            footer(page, in.now);
            y = 56;
        }
    }
    if (in.exportMode) {
        // Plain values: no frame, no picture, no colour.
        QList<report::Object> plain;
        for (report::Object& o : page.objects)
            if (auto* t = std::get_if<TextBox>(&o)) {
                t->frame = report::NoSide;
                t->fill = QColor();
                t->color = Qt::black;
                t->bold = false;
                plain.append(*t);
            }
        page.objects = plain;
    }
    r.pages.append(page);
    // The page numbers, now that the count is known.
    const QString total = QString::number(r.pages.size());
    for (int p = 0; p < r.pages.size(); ++p)
        for (report::Object& o : r.pages[p].objects)
            if (auto* t = std::get_if<TextBox>(&o);
                t && t->text == QLatin1String("Page [PAGE#]/[TOTALPAGES]"))
                t->text.replace(QLatin1String("[PAGE#]"), QString::number(p + 1))
                    .replace(QLatin1String("[TOTALPAGES]"), total);
    return r;
}
