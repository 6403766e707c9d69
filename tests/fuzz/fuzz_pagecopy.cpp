// The page copy on arbitrary text: the first line is the page's address,
// the rest its HTML (and, read again, a style sheet). Every rule runs, and
// what a hostile page must never obtain is checked: a local name that
// leaves the conversion's folder, more files than the cap, a file of
// another scheme than http or https.

#include "browser/pagecopy.h"

#include <cstdlib>

namespace
{

constexpr int MaxResources = 40;

void check(bool ok)
{
    if (!ok) std::abort();
}

void checkResource(const pagecopy::Resource& r)
{
    const QString& n = r.localName;
    check(n.startsWith(QLatin1String("S_")));
    check(!n.contains(QLatin1Char('/')) && !n.contains(QLatin1Char('\\')));
    check(!n.contains(QLatin1String("..")));
    const QString scheme = r.url.scheme();
    check(scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype eol = text.indexOf(QLatin1Char('\n'));
    const QUrl page(eol < 0 ? text : text.left(eol));
    const QString html = eol < 0 ? QString() : text.mid(eol + 1);

    pagecopy::CopyPlan plan = pagecopy::planCopy(html, page, QStringLiteral("S"), MaxResources);
    const QString copy = pagecopy::rewriteLinks(html, plan.replacements, plan.pageStyleNames);
    (void)copy;
    // The same text as a style sheet of the page.
    const QHash<QString, QString> names = pagecopy::planStyleSheet(plan, html, page, MaxResources);
    (void)pagecopy::rewriteStyleUrls(html, names, false);
    (void)pagecopy::baseAddress(html, page);

    check(plan.resources() <= MaxResources);
    for (const auto* list : {&plan.images, &plan.styles, &plan.scripts, &plan.styleImages})
        for (const pagecopy::Resource& r : *list)
            checkResource(r);
    // Every rewritten attribute and url(...) names a file of the plan.
    for (const QString& local : plan.pageStyleNames)
        check(!local.contains(QLatin1Char('/')) && local.startsWith(QLatin1String("S_")));
    for (const QString& local : names)
        check(!local.contains(QLatin1Char('/')) && local.startsWith(QLatin1String("S_")));
    return 0;
}
