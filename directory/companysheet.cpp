#include "directory/companysheet.h"

#include "platform/report/prepare.h"

#include <QFont>
#include <QFontMetrics>

namespace
{

using report::Page;
using report::TextBox;

TextBox cell(qreal x, qreal y, qreal w, qreal h, const QString& text)
{
    TextBox b;
    b.rect = QRectF(x, y, w, h);
    b.text = text;
    b.fontSize = 12; // 9 points at 96 dpi
    b.family = QStringLiteral("Liberation Sans");
    b.align = Qt::AlignLeft | Qt::AlignVCenter;
    b.gapTop = 0;
    b.wrap = false;
    return b;
}

void footer(Page& page, const QDate& today)
{
    TextBox rule = cell(36, 1034, 684, 2, QString());
    rule.frame = report::Bottom;
    page.objects.append(rule);
    TextBox number = cell(36, 1036, 684, 20, QStringLiteral("Page [PAGE#]/[TOTALPAGES]"));
    number.align = Qt::AlignCenter;
    number.fill = Qt::white;
    page.objects.append(number);
    TextBox name = cell(36, 1036, 70, 20, QStringLiteral("ORVALDIS"));
    name.fill = Qt::white;
    page.objects.append(name);
    TextBox date = cell(570, 1036, 150, 20, today.toString(QStringLiteral("dd/MM/yyyy")));
    date.align = Qt::AlignRight | Qt::AlignVCenter;
    date.fill = Qt::white;
    page.objects.append(date);
}

void contactBox(Page& page, qreal x, qreal y, const TContactRec& k)
{
    TextBox frame = cell(x, y, 300, 135, QString());
    frame.frame = report::AllSides;
    page.objects.append(frame);
    TextBox title = cell(x, y, 300, 20, k.civilite.text() + QLatin1Char(' ') + k.nom.text());
    title.frame = report::AllSides;
    title.fill = QColor(228, 228, 228);
    title.align = Qt::AlignCenter;
    page.objects.append(title);
    const QString lines[5] = {
        QStringLiteral("Fonction: ") + k.fonction.text(), QStringLiteral("Tél: ") + k.tel.text(),
        QStringLiteral("Fax: ") + k.fax.text(), QStringLiteral("GSM: ") + k.gsm.text(),
        QStringLiteral("Email: ") + k.email.text()};
    for (int i = 0; i < 5; ++i) {
        TextBox line = cell(x, y + 30 + 20 * i, 300, 20, lines[i]);
        line.gapLeft = 10;
        page.objects.append(line);
    }
}

} // namespace

QMap<QString, QString> companyVariables(const TSocieteRec& s)
{
    return {{"societe", s.nom.text()},
            {"adresse_a", s.adresse_a.text()},
            {"adresse_b", s.adresse_b.text()},
            {"bp", s.bp.text()},
            {"cp", s.cp.text()},
            {"ville", s.ville.text()},
            {"pays", s.pays.text()},
            {"tela", s.tela.text()},
            {"telb", s.telb.text()},
            {"faxa", s.faxa.text()},
            {"faxb", s.faxb.text()},
            {"service", s.service.text()},
            {"email", s.email.text()},
            {"url", s.url.text()}};
}

report::Report CreationReport(const Page& templ, const QMap<QString, QString>& variables,
                              const QList<TContactRec>& contacts, qint32 societe,
                              const QString& title, const QDate& today)
{
    report::Report r;
    r.title = title;
    r.variables = variables;
    r.pages = report::prepare(templ, variables).mid(0, 1);
    if (r.pages.isEmpty()) r.pages.append(Page());
    footer(r.pages[0], today);
    int n = 0;
    qreal y = 400;
    for (const TContactRec& k : contacts) {
        if (!isLive(k) || qint32(k.id_societe) != societe) continue;
        const qreal x = n % 2 == 0 ? 56 : 400;
        if (n % 2 == 0 && n > 0) {
            y += 150;
            if (y > 985) {
                y = 90;
                r.pages.append(Page());
                footer(r.pages.last(), today);
            }
        }
        contactBox(r.pages.last(), x, y, k);
        ++n;
    }
    const QString total = QString::number(r.pages.size());
    for (int p = 0; p < r.pages.size(); ++p)
        for (report::Object& o : r.pages[p].objects)
            if (auto* t = std::get_if<TextBox>(&o);
                t && t->text == QLatin1String("Page [PAGE#]/[TOTALPAGES]"))
                t->text = QStringLiteral("Page %1/%2").arg(p + 1).arg(total);
    return r;
}

QStringList companyMailBody(const QMap<QString, QString>& v)
{
    QStringList b{QString(),
                  QStringLiteral("Coordonnées de la société sélectionnée:"),
                  QString(39, QLatin1Char('-')),
                  QString(),
                  QStringLiteral("  ") + v["societe"],
                  QStringLiteral("  ") + v["adresse_a"]};
    auto optional = [&b](const QString& prefix, const QString& value) {
        if (!value.isEmpty()) b.append(prefix + value);
    };
    optional(QStringLiteral("  "), v["adresse_b"]);
    optional(QStringLiteral("  BP "), v["bp"]);
    b.append(QStringLiteral("  ") + v["cp"] + QLatin1Char(' ') + v["ville"]);
    optional(QStringLiteral("  "), v["pays"]);
    b.append(QStringLiteral("  Tél: ") + v["tela"]);
    optional(QStringLiteral("       "), v["telb"]);
    b.append(QStringLiteral("  Fax: ") + v["faxa"]);
    optional(QStringLiteral("       "), v["faxb"]);
    optional(QStringLiteral("  Email: "), v["email"]);
    optional(QStringLiteral("  Site Internet: "), v["url"]);
    return b;
}
