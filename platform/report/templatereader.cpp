#include "platform/report/templatereader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace report
{
namespace
{

QRectF rectOf(const QJsonObject& o)
{
    return QRectF(o.value("x").toDouble(), o.value("y").toDouble(), o.value("w").toDouble(),
                  o.value("h").toDouble());
}

QColor colourOf(const QJsonObject& o, const char* key, const QColor& otherwise)
{
    const QString name = o.value(QLatin1String(key)).toString();
    const QColor c(name);
    return name.isEmpty() || !c.isValid() ? otherwise : c;
}

Qt::Alignment alignmentOf(const QJsonObject& o)
{
    const QString h = o.value("align").toString(), v = o.value("valign").toString();
    Qt::Alignment a = h == QLatin1String("center")  ? Qt::AlignHCenter
                      : h == QLatin1String("right") ? Qt::AlignRight
                                                    : Qt::AlignLeft;
    a |= v == QLatin1String("center")   ? Qt::AlignVCenter
         : v == QLatin1String("bottom") ? Qt::AlignBottom
                                        : Qt::AlignTop;
    return a;
}

int framesOf(const QString& sides)
{
    int f = NoSide;
    for (QChar c : sides.toUpper()) {
        if (c == QLatin1Char('L')) f |= Left;
        if (c == QLatin1Char('T')) f |= Top;
        if (c == QLatin1Char('R')) f |= Right;
        if (c == QLatin1Char('B')) f |= Bottom;
    }
    return f;
}

TextBox textOf(const QJsonObject& o)
{
    TextBox t;
    t.rect = rectOf(o);
    t.text = o.value("text").toString();
    t.fontSize = qBound(1, o.value("size").toInt(13), 400);
    if (o.contains("family")) t.family = o.value("family").toString();
    t.bold = o.value("bold").toBool();
    t.italic = o.value("italic").toBool();
    t.underline = o.value("underline").toBool();
    t.align = alignmentOf(o);
    t.frame = framesOf(o.value("frame").toString());
    t.fill = colourOf(o, "fill", QColor());
    t.color = colourOf(o, "color", Qt::black);
    t.frameColor = colourOf(o, "frameColor", Qt::black);
    t.gapLeft = o.value("gapLeft").toDouble(t.gapLeft);
    t.gapTop = o.value("gapTop").toDouble(t.gapTop);
    t.flows = o.value("flow").toBool();
    t.wrap = o.value("wrap").toBool(true);
    t.flowTop = o.value("flowTop").toDouble(t.flowTop);
    t.footer = o.value("footer").toBool();
    return t;
}

} // namespace

bool readTemplate(const QString& path, Page* page, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return false;
    }
    // A template is a few kilobytes: anything far larger is not one.
    if (f.size() > 4 * 1024 * 1024) {
        *error = QStringLiteral("fichier trop grand");
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = parse.error != QJsonParseError::NoError ? parse.errorString()
                                                         : QStringLiteral("pas un modèle");
        return false;
    }
    const QDir dir = QFileInfo(path).absoluteDir();
    Page p;
    for (const QJsonValue& v : doc.object().value("objects").toArray()) {
        const QJsonObject o = v.toObject();
        const QString type = o.value("type").toString();
        if (type == QLatin1String("text")) {
            p.objects.append(textOf(o));
        } else if (type == QLatin1String("line")) {
            Line l;
            l.line = QLineF(o.value("x1").toDouble(), o.value("y1").toDouble(),
                            o.value("x2").toDouble(), o.value("y2").toDouble());
            l.width = o.value("width").toDouble(1);
            l.color = colourOf(o, "color", Qt::black);
            l.footer = o.value("footer").toBool();
            p.objects.append(l);
        } else if (type == QLatin1String("picture")) {
            Picture pic;
            pic.rect = rectOf(o);
            const QString file = o.value("file").toString();
            // Only a plain name beside the template: a template never reaches elsewhere.
            if (!file.isEmpty() && !file.contains(QLatin1Char('/')) && file != QLatin1String(".."))
                pic.image.load(dir.filePath(file));
            pic.centred = o.value("centred").toBool();
            pic.footer = o.value("footer").toBool();
            p.objects.append(pic);
        }
    }
    *page = std::move(p);
    return true;
}

Page templateOrEmpty(const QString& path)
{
    Page page;
    QString error;
    if (!readTemplate(path, &page, &error))
        std::fprintf(stderr, "ORVALDIS: modèle de rapport ignoré \"%s\" : %s\n", qPrintable(path),
                     qPrintable(error));
    return page;
}

} // namespace report
