#include "browser/pagecopy.h"

#include <QRegularExpression>
#include <algorithm>

namespace pagecopy
{

const QString ImageTagPattern = QStringLiteral(R"((?i)<img.*?src=(["|']).*?>)");
const QString LinkTagPattern = QStringLiteral(R"((?i)<link.*?href=(["|']).*?\.css(["|']).*?>)");
const QString ScriptTagPattern = QStringLiteral(R"((?i)<script.*?src=(["|']).*?\.js(["|']).*?>)");
const QString HrefPattern = QStringLiteral(R"((?i)href=(["|']).*?(["|']))");
const QString ScriptSrcPattern = QStringLiteral(R"((?i)src=(["|']).*?\.js(["|']))");
const QString ImageSrcPattern = QStringLiteral(R"((?i)src=(["|']).*?(["|']))");

namespace
{

// A tag longer than this is not a tag: a page cannot make one match run
// over the whole text.
constexpr int MaxTag = 65536;
// Longest safe name kept from the last segment of an address.
constexpr int MaxSegment = 80;

bool cancelled(const std::atomic_bool* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Calls f(start, length) for each tag of the text: from a "<" to the first
// ">" after it. Linear in the length of the text, whatever the text.
template <class F> void forEachTag(const QString& html, const std::atomic_bool* cancel, F f)
{
    qsizetype end = -1; // the first ">" after the last "<" looked at
    qsizetype i = html.indexOf(QLatin1Char('<'));
    int n = 0;
    while (i >= 0) {
        if ((++n & 1023) == 0 && cancelled(cancel)) return;
        if (end < i) {
            end = html.indexOf(QLatin1Char('>'), i + 1);
            if (end < 0) return;
        }
        if (end - i < MaxTag) {
            f(i, end - i + 1);
            i = html.indexOf(QLatin1Char('<'), end + 1);
        } else {
            i = html.indexOf(QLatin1Char('<'), i + 1);
        }
    }
}

bool tagIs(QStringView tag, QLatin1String name)
{
    return tag.size() > name.size() + 1 &&
           tag.mid(1, name.size()).compare(name, Qt::CaseInsensitive) == 0;
}

QStringList allMatches(const QRegularExpression& re, const QString& text)
{
    QStringList found;
    auto it = re.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured(0));
    return found;
}

// The text with each match of `re` replaced by what `with` makes of it.
template <class With>
QString replaceMatches(const QString& text, const QRegularExpression& re, With with)
{
    QString out;
    qsizetype last = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += with(m);
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

// The last match in a tag, empty when there is none.
QString lastMatch(const QRegularExpression& re, const QString& tag)
{
    const QStringList all = allMatches(re, tag);
    return all.isEmpty() ? QString() : all.last();
}

QRegularExpression tagPattern(const QString& pattern)
{
    // The patterns run on one tag at a time: "." may cross its line breaks.
    QRegularExpression re(pattern, QRegularExpression::DotMatchesEverythingOption);
    re.optimize();
    return re;
}

QString decodeReferences(QString v)
{
    if (!v.contains(QLatin1Char('&'))) return v;
    static const QRegularExpression ref(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|"
                                                       "amp|quot|apos|lt|gt);"));
    return replaceMatches(v, ref, [](const QRegularExpressionMatch& m) {
        const QString r = m.captured(1);
        char32_t c = 0;
        if (r == QLatin1String("amp"))
            c = '&';
        else if (r == QLatin1String("quot"))
            c = '"';
        else if (r == QLatin1String("apos"))
            c = '\'';
        else if (r == QLatin1String("lt"))
            c = '<';
        else if (r == QLatin1String("gt"))
            c = '>';
        else if (r.at(1) == QLatin1Char('x') || r.at(1) == QLatin1Char('X'))
            c = r.mid(2).toUInt(nullptr, 16);
        else
            c = r.mid(1).toUInt();
        return c > 0 && c <= 0x10FFFF ? QString::fromUcs4(&c, 1) : QString();
    });
}

// The attribute text with its name in lower case: "SRC='a'" and "src='a'"
// name the same address.
QString attributeKey(const QString& attributeText)
{
    const qsizetype eq = attributeText.indexOf(QLatin1Char('='));
    return attributeText.left(eq).toLower() + attributeText.mid(eq);
}

// A tag that opens an element of this name: "<style>" or "<style media=...>",
// not "<styles>".
bool opens(QStringView tag, QLatin1String name)
{
    if (!tagIs(tag, name)) return false;
    const QChar next = tag.at(name.size() + 1);
    return next.isSpace() || next == QLatin1Char('>') || next == QLatin1Char('/');
}

// Calls f(start, length, inAttribute) for the text of each <style> block
// and the value of each style attribute of a page.
template <class F> void forEachStyleText(const QString& html, F f)
{
    static const QRegularExpression styleAttribute(
        QStringLiteral(R"re((?i)\sstyle\s*=\s*(?:"([^"]*)"|'([^']*)'))re"));
    qsizetype block = -1; // where the text of an open <style> block starts
    forEachTag(html, nullptr, [&](qsizetype start, qsizetype length) {
        const QStringView tag = QStringView(html).mid(start, length);
        if (block >= 0) {
            // What looks like a tag inside the block is style text.
            if (!opens(tag, QLatin1String("/style"))) return;
            f(block, start - block, false);
            block = -1;
            return;
        }
        if (opens(tag, QLatin1String("style"))) block = start + length;
        if (!tag.contains(QLatin1String("style"), Qt::CaseInsensitive)) return;
        auto it = styleAttribute.globalMatch(tag);
        while (it.hasNext()) {
            const auto m = it.next();
            const int g = m.capturedStart(1) >= 0 ? 1 : 2;
            f(start + m.capturedStart(g), m.capturedLength(g), true);
        }
    });
}

// The style texts of a page rewritten with `names`: attributes in `tag`
// (a tag's text), or a whole block.
QString rewriteStyleAttributes(const QString& tag, const QHash<QString, QString>& names)
{
    QString out;
    qsizetype last = 0;
    forEachStyleText(tag, [&](qsizetype start, qsizetype length, bool inAttribute) {
        if (!inAttribute) return;
        out += QStringView(tag).mid(last, start - last);
        out += rewriteStyleUrls(tag.mid(start, length), names, true);
        last = start + length;
    });
    out += QStringView(tag).mid(last);
    return out;
}

// Plans the files of the url(...) of a style text, relative to `base`, and
// adds their values → local names to `names`.
void planStyleUrls(CopyPlan& plan, const QList<StyleUrl>& urls, const QUrl& base, int maxResources,
                   bool bytes, QHash<QString, QString>& names)
{
    for (const StyleUrl& u : urls) {
        if (names.contains(u.value)) continue;
        // A sheet's bytes are one per character: its addresses are UTF-8.
        const QUrl url =
            resolveAddress(bytes ? QString::fromUtf8(u.value.toLatin1()) : u.value, base);
        if (!url.isValid()) continue;
        if (!plan.names.has(url)) {
            if (plan.resources() >= maxResources) continue;
            plan.styleImages.append({url, plan.names.nameFor(url)});
        }
        names.insert(u.value, plan.names.nameFor(url));
    }
}

QString safeSegment(const QString& segment)
{
    QString s;
    for (QChar c : segment)
        s += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('.') ||
                     c == QLatin1Char('-') || c == QLatin1Char('_')
                 ? c
                 : QLatin1Char('_');
    while (s.contains(QLatin1String("..")))
        s.replace(QLatin1String(".."), QLatin1String("."));
    if (s.size() > MaxSegment) s = s.right(MaxSegment);
    // No hidden file, and no dot at the end that an added extension would
    // double ("a." + ".css").
    while (s.startsWith(QLatin1Char('.')))
        s.remove(0, 1);
    while (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s.isEmpty() ? QStringLiteral("fichier") : s;
}

} // namespace

QString RacineSite(const QString& address)
{
    QString s = address.trimmed();
    const qsizetype q = s.indexOf(QLatin1Char('?'));
    if (q >= 0) s.truncate(q);
    const qsizetype d = s.indexOf(QLatin1String("//"));
    const qsizetype slash = s.indexOf(QLatin1Char('/'), d >= 0 ? d + 2 : 1);
    return slash >= 0 ? s.left(slash + 1) : s + QLatin1Char('/');
}

PageLinks findLinks(const QString& html, const std::atomic_bool* cancel)
{
    static const QRegularExpression imageTag = tagPattern(ImageTagPattern);
    static const QRegularExpression linkTag = tagPattern(LinkTagPattern);
    static const QRegularExpression scriptTag = tagPattern(ScriptTagPattern);
    static const QRegularExpression href = tagPattern(HrefPattern);
    static const QRegularExpression scriptSrc = tagPattern(ScriptSrcPattern);
    static const QRegularExpression imageSrc = tagPattern(ImageSrcPattern);

    PageLinks links;
    forEachTag(html, cancel, [&](qsizetype start, qsizetype length) {
        const QStringView view = QStringView(html).mid(start, length);
        if (tagIs(view, QLatin1String("img")))
            links.imageTags += allMatches(imageTag, view.toString());
        else if (tagIs(view, QLatin1String("link")))
            links.linkTags += allMatches(linkTag, view.toString());
        else if (tagIs(view, QLatin1String("script")))
            links.scriptTags += allMatches(scriptTag, view.toString());
    });
    for (const QString& tag : std::as_const(links.imageTags))
        links.imageSrc += allMatches(imageSrc, tag);
    for (const QString& tag : std::as_const(links.linkTags))
        links.linkHref.append(lastMatch(href, tag));
    for (const QString& tag : std::as_const(links.scriptTags))
        links.scriptSrc.append(lastMatch(scriptSrc, tag));
    return links;
}

QString attributeValue(const QString& attributeText)
{
    const qsizetype eq = attributeText.indexOf(QLatin1Char('='));
    if (eq < 0 || attributeText.size() - eq < 3) return QString();
    return decodeReferences(attributeText.mid(eq + 2, attributeText.size() - eq - 3)).trimmed();
}

QUrl resolveAddress(const QString& value, const QUrl& base)
{
    if (value.isEmpty()) return QUrl();
    QUrl url = base.resolved(QUrl(value, QUrl::TolerantMode));
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    url.setFragment(QString());
    return url;
}

QUrl baseAddress(const QString& html, const QUrl& pageUrl)
{
    static const QRegularExpression base(
        QStringLiteral(R"((?i)<base\s[^>]*?href\s*=\s*(["'])([^"']*)\1)"));
    const auto m = base.match(html);
    if (!m.hasMatch()) return pageUrl;
    const QUrl b = resolveAddress(decodeReferences(m.captured(2)).trimmed(), pageUrl);
    return b.isValid() ? b : pageUrl;
}

QString LocalNames::nameFor(const QUrl& url, const QString& extension)
{
    auto known = names_.constFind(url);
    if (known != names_.cend()) return known.value();
    const QString path = url.path(QUrl::FullyDecoded);
    QString segment = safeSegment(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    if (!extension.isEmpty() && !segment.endsWith(extension, Qt::CaseInsensitive))
        segment += extension;
    QString name = stamp_ + QLatin1Char('_') + segment;
    // Another address that ends in the same segment gets a name of its own.
    const int seen = used_.value(name.toLower());
    used_.insert(name.toLower(), seen + 1);
    if (seen > 0) {
        const qsizetype dot = segment.lastIndexOf(QLatin1Char('.'));
        const QString stem = dot > 0 ? segment.left(dot) : segment;
        const QString ext = dot > 0 ? segment.mid(dot) : QString();
        int k = seen + 1;
        do {
            name = stamp_ + QLatin1Char('_') + stem + QLatin1Char('_') + QString::number(k++) + ext;
        } while (used_.contains(name.toLower()));
        used_.insert(name.toLower(), 1);
    }
    names_.insert(url, name);
    return name;
}

QList<StyleUrl> findStyleUrls(const QString& css, bool inPage)
{
    QList<StyleUrl> found;
    qsizetype i = 0;
    while ((i = css.indexOf(QLatin1String("url("), i, Qt::CaseInsensitive)) >= 0) {
        // The end of a longer name ("myurl(") is not a url(...).
        if (i > 0 && (css.at(i - 1).isLetterOrNumber() || css.at(i - 1) == QLatin1Char('-') ||
                      css.at(i - 1) == QLatin1Char('_'))) {
            i += 4;
            continue;
        }
        qsizetype j = i + 4;
        while (j < css.size() && css.at(j).isSpace())
            ++j;
        qsizetype close = -1;
        if (j < css.size() && (css.at(j) == QLatin1Char('"') || css.at(j) == QLatin1Char('\''))) {
            const qsizetype quote = css.indexOf(css.at(j), j + 1);
            if (quote < 0) break; // nothing further can close
            close = css.indexOf(QLatin1Char(')'), quote + 1);
        } else {
            close = css.indexOf(QLatin1Char(')'), j);
        }
        if (close < 0) break;
        QString v = css.mid(i + 4, close - i - 4);
        if (inPage) v = decodeReferences(v);
        v = v.trimmed();
        if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
            v.back() == v.front())
            v = v.mid(1, v.size() - 2).trimmed();
        found.append({i, close - i + 1, v});
        i = close + 1;
    }
    return found;
}

QString rewriteStyleUrls(const QString& css, const QHash<QString, QString>& names, bool inPage)
{
    if (names.isEmpty()) return css;
    QString out;
    qsizetype last = 0;
    for (const StyleUrl& u : findStyleUrls(css, inPage)) {
        const auto name = names.constFind(u.value);
        if (name == names.cend()) continue;
        out += QStringView(css).mid(last, u.start - last);
        out += QStringLiteral("url(") + name.value() + QLatin1Char(')');
        last = u.start + u.length;
    }
    out += QStringView(css).mid(last);
    return out;
}

QHash<QString, QString> planStyleSheet(CopyPlan& plan, const QString& css, const QUrl& sheetUrl,
                                       int maxResources)
{
    QHash<QString, QString> names;
    planStyleUrls(plan, findStyleUrls(css, false), sheetUrl, maxResources, true, names);
    return names;
}

CopyPlan planCopy(const QString& html, const QUrl& pageUrl, const QString& stamp, int maxResources,
                  const std::atomic_bool* cancel)
{
    CopyPlan plan;
    plan.names = LocalNames(stamp);
    plan.links = findLinks(html, cancel);
    const QUrl base = baseAddress(html, pageUrl);
    auto take = [&](const QString& attribute, QList<Resource>& list, const QString& extension) {
        if (attribute.isEmpty()) return;
        ++plan.attributes;
        const QUrl url = resolveAddress(attributeValue(attribute), base);
        if (!url.isValid()) return;
        if (!plan.names.has(url)) {
            if (plan.resources() >= maxResources) return;
            list.append({url, plan.names.nameFor(url, extension)});
        }
        const QString key = attributeKey(attribute);
        if (plan.replacements.contains(key)) return;
        plan.replacements.insert(key, key.left(key.indexOf(QLatin1Char('=')) + 1) +
                                          QLatin1Char('"') + plan.names.nameFor(url) +
                                          QLatin1Char('"'));
    };
    for (const QString& a : std::as_const(plan.links.imageSrc))
        take(a, plan.images, QString());
    // The images of the page's own styles, relative to the page.
    if (!cancelled(cancel))
        forEachStyleText(html, [&](qsizetype start, qsizetype length, bool inAttribute) {
            planStyleUrls(plan, findStyleUrls(html.mid(start, length), inAttribute), base,
                          maxResources, false, plan.pageStyleNames);
        });
    for (const QString& a : std::as_const(plan.links.linkHref))
        take(a, plan.styles, QStringLiteral(".css"));
    for (const QString& a : std::as_const(plan.links.scriptSrc))
        take(a, plan.scripts, QStringLiteral(".js"));
    return plan;
}

QString rewriteLinks(const QString& html, const QHash<QString, QString>& replacements,
                     const QHash<QString, QString>& styleNames)
{
    // One pattern for every attribute text, the longest first: a text that
    // holds another one is rewritten whole. The name of the attribute is
    // matched in any letter case, the address exactly.
    QStringList keys = replacements.keys();
    std::sort(keys.begin(), keys.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    QStringList pieces;
    for (const QString& k : std::as_const(keys)) {
        const qsizetype eq = k.indexOf(QLatin1Char('='));
        pieces.append(QStringLiteral("(?i:") + QRegularExpression::escape(k.left(eq + 1)) +
                      QLatin1Char(')') + QRegularExpression::escape(k.mid(eq + 1)));
    }
    QRegularExpression attributes(pieces.join(QLatin1Char('|')));
    attributes.optimize();
    static const QRegularExpression base(QStringLiteral("(?i)^<base[\\s>/]"));
    static const QRegularExpression srcset(
        QStringLiteral(R"((?i)\s(?<![-\w])srcset\s*=\s*("[^"]*"|'[^']*'|[^\s>]*))"));
    static const QRegularExpression lazy(
        QStringLiteral(R"((?i)\sloading\s*=\s*("lazy"|'lazy'|lazy\b))"));

    QString out;
    out.reserve(html.size() + html.size() / 8);
    qsizetype last = 0;
    bool inStyle = false; // between <style> and </style>
    forEachTag(html, nullptr, [&](qsizetype start, qsizetype length) {
        if (inStyle && !styleNames.isEmpty())
            out += rewriteStyleUrls(html.mid(last, start - last), styleNames, false);
        else
            out += QStringView(html).mid(last, start - last);
        last = start + length;
        QString tag = html.mid(start, length);
        if (inStyle && !opens(tag, QLatin1String("/style"))) {
            out += tag; // the text of the block
            return;
        }
        inStyle = opens(tag, QLatin1String("style"));
        if (base.match(tag).hasMatch()) return; // relative names are the copy's own
        if (!pieces.isEmpty() && (tag.contains(QLatin1String("src="), Qt::CaseInsensitive) ||
                                  tag.contains(QLatin1String("href="), Qt::CaseInsensitive))) {
            tag = replaceMatches(tag, attributes, [&](const QRegularExpressionMatch& m) {
                return replacements.value(attributeKey(m.captured(0)));
            });
        }
        if (!styleNames.isEmpty() && tag.contains(QLatin1String("url("), Qt::CaseInsensitive))
            tag = rewriteStyleAttributes(tag, styleNames);
        if (tagIs(tag, QLatin1String("img")) || tagIs(tag, QLatin1String("source"))) {
            tag.remove(srcset);
            tag.remove(lazy);
        }
        out += tag;
    });
    out += QStringView(html).mid(last);
    return out;
}

} // namespace pagecopy
