#include "platform/report/prepare.h"

#include <QFontMetricsF>

namespace report
{
namespace
{

// Page markers while the page count is not known yet; values can never
// hold these characters (they are removed from them).
const QChar PageMark(0xE000);
const QChar TotalMark(0xE001);

QString cleanValue(QString v)
{
    v.remove(PageMark);
    v.remove(TotalMark);
    return v;
}

QString substitute(const QString& text, const QMap<QString, QString>& variables)
{
    QString out;
    out.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        const int open = text.indexOf(QLatin1Char('['), i);
        const int close = open < 0 ? -1 : text.indexOf(QLatin1Char(']'), open + 1);
        if (open < 0 || close < 0) {
            out += QStringView(text).mid(i);
            break;
        }
        out += QStringView(text).mid(i, open - i);
        const QString name = text.mid(open + 1, close - open - 1);
        if (name == QLatin1String("PAGE#"))
            out += PageMark;
        else if (name == QLatin1String("TOTALPAGES"))
            out += TotalMark;
        else
            out += cleanValue(variables.value(name));
        i = close + 1;
    }
    return out;
}

bool isFooter(const Object& o)
{
    return std::visit([](const auto& x) { return x.footer; }, o);
}

// Where the footer of the template begins: a flowing text stops above it.
qreal footerTop(const Page& templ)
{
    qreal top = PageHeight - 40;
    for (const Object& o : templ.objects) {
        if (!isFooter(o)) continue;
        if (const auto* t = std::get_if<TextBox>(&o)) top = qMin(top, t->rect.top());
        if (const auto* p = std::get_if<Picture>(&o)) top = qMin(top, p->rect.top());
        if (const auto* l = std::get_if<Line>(&o))
            top = qMin(top, qMin(l->line.y1(), l->line.y2()));
    }
    return top - 4;
}

int linesThatFit(const TextBox& box, qreal height)
{
    const qreal spacing = QFontMetricsF(fontOf(box)).lineSpacing();
    return qMax(1, int((height - box.gapTop) / spacing));
}

} // namespace

QFont fontOf(const TextBox& box)
{
    QFont f(box.family);
    f.setPixelSize(box.fontSize);
    f.setBold(box.bold);
    f.setItalic(box.italic);
    f.setUnderline(box.underline);
    return f;
}

QStringList wrapLines(const TextBox& box, const QString& text, qreal width)
{
    const QFontMetricsF fm(fontOf(box));
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines;
    for (const QString& paragraph : normal.split(QLatin1Char('\n'))) {
        QString line;
        int i = 0;
        while (i < paragraph.size()) {
            // A word with the spaces before it, so that indentation stays.
            int j = i;
            while (j < paragraph.size() && paragraph[j] == QLatin1Char(' '))
                ++j;
            while (j < paragraph.size() && paragraph[j] != QLatin1Char(' '))
                ++j;
            QString word = paragraph.mid(i, j - i);
            i = j;
            if (fm.horizontalAdvance(line + word) <= width) {
                line += word;
                continue;
            }
            if (!line.isEmpty()) {
                lines.append(line);
                line.clear();
                word = word.trimmed();
            }
            // A word wider than the box goes over several lines.
            while (word.size() > 1) {
                int n = 0;
                qreal used = 0;
                while (n < word.size() && used + fm.horizontalAdvance(word[n]) <= width)
                    used += fm.horizontalAdvance(word[n++]);
                if (n >= word.size()) break;
                n = qMax(1, n);
                lines.append(word.left(n));
                word = word.mid(n);
            }
            line = word;
        }
        lines.append(line);
    }
    return lines;
}

QList<Page> prepare(const Page& templ, const QMap<QString, QString>& variables)
{
    QList<Page> pages;
    Page first;
    QList<Object> footer;
    const TextBox* flowing = nullptr;
    QStringList rest;
    TextBox flowBox;
    for (const Object& o : templ.objects) {
        Object copy = o;
        if (auto* t = std::get_if<TextBox>(&copy)) {
            t->text = substitute(t->text, variables);
            if (t->flows && !flowing) {
                const QStringList lines = wrapLines(*t, t->text, t->rect.width() - 2 * t->gapLeft);
                const int fit = linesThatFit(*t, t->rect.height());
                t->text = QStringList(lines.mid(0, fit)).join(QLatin1Char('\n'));
                rest = lines.mid(fit);
                flowBox = *t;
                flowing = &flowBox;
            }
        }
        if (isFooter(o)) footer.append(copy);
        first.objects.append(copy);
    }
    pages.append(first);

    // The text that did not fit goes on over further pages.
    if (flowing && !rest.isEmpty()) {
        TextBox next = flowBox;
        next.rect = QRectF(flowBox.rect.left(), flowBox.flowTop, flowBox.rect.width(),
                           footerTop(templ) - flowBox.flowTop);
        const int fit = linesThatFit(next, next.rect.height());
        for (int from = 0; from < rest.size(); from += fit) {
            Page page;
            TextBox box = next;
            box.text = QStringList(rest.mid(from, fit)).join(QLatin1Char('\n'));
            page.objects.append(box);
            page.objects.append(footer);
            pages.append(page);
        }
    }

    // Now that the page count is known.
    const QString total = QString::number(pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        const QString number = QString::number(i + 1);
        for (Object& o : pages[i].objects)
            if (auto* t = std::get_if<TextBox>(&o)) {
                t->text.replace(PageMark, number);
                t->text.replace(TotalMark, total);
            }
    }
    return pages;
}

} // namespace report
