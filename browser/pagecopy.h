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
    explicit LocalNames(const QString& stamp) : stamp_(stamp) {}
    // `extension` is added when the segment does not end with it.
    QString nameFor(const QUrl& url, const QString& extension = QString());
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

// Everything a conversion does with a page: the files to fetch and the
// rewriting of the attribute texts.
struct CopyPlan {
    PageLinks links;
    QList<Resource> images, styles, scripts; // each address once, in order
    // Attribute text (its name in lower case) → the same attribute naming
    // the local file, always with double quotes.
    QHash<QString, QString> replacements;
    int attributes = 0; // attribute texts found, relinked or not
};

// Plans the copy of a page: at most `maxResources` files in all, the
// images first. Attributes beyond that stay as they are (and the renderer
// loads nothing from them).
CopyPlan planCopy(const QString& html, const QUrl& pageUrl, const QString& stamp,
                  int maxResources = 500, const std::atomic_bool* cancel = nullptr);

// The page text with every attribute of the plan rewritten, in one pass (a
// rewritten link is never rewritten again), the <base> element made inert,
// "srcset" dropped (the renderer takes the plain source) and lazy loading
// turned off (so that every image is in the PDF).
QString rewriteLinks(const QString& html, const QHash<QString, QString>& replacements);

} // namespace pagecopy
