#pragma once
// A report: a title, named text variables, and pages of positioned objects
// (text boxes, pictures, lines) in report units. One unit is one pixel at
// 96 dpi; a page is 212 × 299.8273 mm. The engine knows nothing of the
// program that fills it.

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QRectF>
#include <QString>
#include <functional>
#include <variant>

namespace report
{

constexpr double PageWidthMm = 212.0;
constexpr double PageHeightMm = 299.8273015873016;
constexpr double Dpi = 96.0;
// The page in report units.
constexpr double PageWidth = PageWidthMm / 25.4 * Dpi;
constexpr double PageHeight = PageHeightMm / 25.4 * Dpi;

// Sides of a text box that carry a frame line.
enum Side { NoSide = 0, Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };

struct TextBox {
    QRectF rect;
    QString text;      // "[name]" stands for the variable of that name
    int fontSize = 13; // pixels, in report units
    QString family = QStringLiteral("Liberation Sans");
    bool bold = false, italic = false, underline = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    int frame = NoSide;
    QColor fill;              // invalid: no fill
    QColor color = Qt::black; // of the text
    QColor frameColor = Qt::black;
    qreal gapLeft = 2, gapTop = 1; // between the box and its text
    // The text goes on over further pages when it does not fit; on those
    // pages the box starts at flowTop and ends where the footer begins.
    bool flows = false;
    // Otherwise the text stays on one line, cut at the box's edge.
    bool wrap = true;
    qreal flowTop = 40;
    // Repeated on every page that a flowing box adds.
    bool footer = false;
};

struct Picture {
    QRectF rect;
    QImage image;
    bool centred = false; // otherwise at the top left of the rectangle
    bool footer = false;
};

struct Line {
    QLineF line;
    QColor color = Qt::black;
    qreal width = 1;
    bool footer = false;
};

using Object = std::variant<TextBox, Picture, Line>;

struct Page {
    QList<Object> objects;
};

struct Report {
    QString title;
    QMap<QString, QString> variables;
    QList<Page> pages;
    // A long report can make each page only when it is painted or written:
    // then makePage gives page i of madePageCount, and pages stays empty.
    int madePageCount = 0;
    std::function<Page(int)> makePage;

    int pageCount() const { return makePage ? madePageCount : int(pages.size()); }
    Page page(int i) const { return makePage ? makePage(i) : pages.value(i); }
};

} // namespace report
