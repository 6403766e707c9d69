#pragma once
// The self-contained copy of a web page: which images, style sheets and
// scripts a page's HTML names, where each one is fetched from, the local
// file each one is saved as, and the HTML rewritten to name those files.
// Plain functions of the page text, without any browser, run on a worker.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <atomic>

namespace pagecopy
{

// The six patterns of the tags and attributes that name a resource.
extern const QString ImageTagPattern;
extern const QString LinkTagPattern;
extern const QString ScriptTagPattern;
extern const QString HrefPattern;
extern const QString ScriptSrcPattern;
extern const QString ImageSrcPattern;

// The site root of an address: scheme, "//", host and one "/".
QString RacineSite(const QString& address);

// The tags and attribute texts found in a page, in the order of the text.
// A tag may be written over several lines.
struct PageLinks {
    QStringList imageTags, linkTags, scriptTags;
    QStringList imageSrc;  // every src attribute of every image tag, e.g. src="a.png"
    QStringList linkHref;  // the last href attribute of each link tag
    QStringList scriptSrc; // the last src attribute of each script tag
};
PageLinks findLinks(const QString& html, const std::atomic_bool* cancel = nullptr);

// What lies between the quotes of an attribute text (src="a.png" → a.png),
// with the character references of HTML decoded.
QString attributeValue(const QString& attributeText);

// The address relative ones are taken from: the page's <base href> when it
// has one that is http or https, else the page's own address.
QUrl baseAddress(const QString& html, const QUrl& pageUrl);

// The absolute address of an attribute value; invalid when it is not an
// http or https address (data:, javascript:, file:, mail addresses...).
QUrl resolveAddress(const QString& value, const QUrl& base);

// Local file names of one conversion: the stamp, "_", and the last segment
// of the address made safe (no separators, no "..", no query characters).
// Two addresses never share a name; one address always gets the same one.
class LocalNames
{
public:
    LocalNames() = default;
    explicit LocalNames(const QString& stamp) : stamp_(stamp) {}
    // `extension` is added when the segment does not end with it.
    QString nameFor(const QUrl& url, const QString& extension = QString());
    bool has(const QUrl& url) const { return names_.contains(url); }
    // The name of the page copy itself.
    QString pageName() const { return stamp_ + QStringLiteral(".htm"); }

private:
    QString stamp_;
    QHash<QUrl, QString> names_;
    QHash<QString, int> used_;
};

// A file to fetch: its address and the local name it is saved under.
struct Resource {
    QUrl url;
    QString localName;
};

// A url(...) of a style text: where it lies in the text, and what it names
// (quotes taken off; in a page, character references decoded).
struct StyleUrl {
    qsizetype start = 0, length = 0;
    QString value;
};
// The url(...) of a style text, in order. `inPage`: the text is a <style>
// block or a style attribute of a page, where "&quot;" stands for a quote.
QList<StyleUrl> findStyleUrls(const QString& css, bool inPage);
// The style text with each url(...) whose value `names` holds naming the
// local file instead: url(name), without quotes (local names need none, and
// so a style attribute keeps its own quotes).
QString rewriteStyleUrls(const QString& css, const QHash<QString, QString>& names, bool inPage);

// Everything a conversion does with a page: the files to fetch and the
// rewriting of the attribute texts.
struct CopyPlan {
    PageLinks links;
    QList<Resource> images, styles, scripts; // each address once, in order
    // Images named by url(...) in the page's own styles and, once they are
    // fetched, in its style sheets.
    QList<Resource> styleImages;
    // Attribute text (its name in lower case) → the same attribute naming
    // the local file, always with double quotes.
    QHash<QString, QString> replacements;
    // Value of a url(...) of the page's <style> blocks and style attributes
    // → local name.
    QHash<QString, QString> pageStyleNames;
    int attributes = 0; // attribute texts found, relinked or not
    LocalNames names;   // every local name of the conversion

    // Files planned, all lists together.
    int resources() const
    {
        return int(images.size() + styles.size() + scripts.size() + styleImages.size());
    }
};

// Plans the copy of a page: at most `maxResources` files in all, the
// images first. Attributes beyond that stay as they are (and the renderer
// loads nothing from them).
CopyPlan planCopy(const QString& html, const QUrl& pageUrl, const QString& stamp,
                  int maxResources = 500, const std::atomic_bool* cancel = nullptr);

// The images a fetched style sheet names, relative to the sheet's own
// address: those not planned yet are added to plan.styleImages, within
// `maxResources` files for the whole plan. Returns the url(...) values of
// the sheet → local names, to rewrite it with rewriteStyleUrls.
QHash<QString, QString> planStyleSheet(CopyPlan& plan, const QString& css, const QUrl& sheetUrl,
                                       int maxResources = 500);

// The page text with every attribute of the plan rewritten, in one pass (a
// rewritten link is never rewritten again), the url(...) of its <style>
// blocks and style attributes that `styleNames` holds naming local files,
// the <base> element made inert, "srcset" dropped (the renderer takes the
// plain source) and lazy loading turned off (so that every image is in the
// PDF).
QString rewriteLinks(const QString& html, const QHash<QString, QString>& replacements,
                     const QHash<QString, QString>& styleNames = {});

} // namespace pagecopy
