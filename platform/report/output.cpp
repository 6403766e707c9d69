#include "platform/report/output.h"

#include "platform/report/painter.h"

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace report
{

namespace
{
constexpr int Gap = 12; // between two pages on screen
} // namespace

// The pages one under the other, painted only where they are in sight.
class PagesView : public QWidget
{
public:
    explicit PagesView(const Report& report) : report_(report)
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(128, 128, 128));
        setPalette(p);
    }
    void setZoom(double zoom)
    {
        zoom_ = zoom;
        const int pages = qMax(1, report_.pageCount());
        resize(int(PageWidth * zoom_) + 2 * Gap, pages * (pageHeight() + Gap) + Gap);
        update();
    }
    double zoom() const { return zoom_; }
    int pageHeight() const { return int(PageHeight * zoom_); }
    int painted = 0;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        const int step = pageHeight() + Gap;
        const int first = qMax(0, (e->rect().top() - Gap) / step);
        const int last = qMin(report_.pageCount() - 1, e->rect().bottom() / step);
        for (int i = first; i <= last; ++i) {
            const QRect page(Gap, Gap + i * step, int(PageWidth * zoom_), pageHeight());
            p.fillRect(page, Qt::white);
            p.save();
            p.translate(page.topLeft());
            p.scale(zoom_, zoom_);
            p.setClipRect(QRectF(0, 0, PageWidth, PageHeight));
            paintPage(p, report_.page(i));
            p.restore();
            ++painted;
        }
    }

private:
    const Report& report_;
    double zoom_ = 1;
};

ReportPreview::ReportPreview(const Report& report, QWidget* parent)
    : QDialog(parent, Qt::Window), view_(new PagesView(report))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Aperçu avant impression"));
    auto* buttons = new QHBoxLayout;
    auto* zoomOut = new QPushButton(QStringLiteral("Zoom -"), this);
    auto* zoomIn = new QPushButton(QStringLiteral("Zoom +"), this);
    auto* whole = new QPushButton(QStringLiteral("Page entière"), this);
    auto* print = new QPushButton(QStringLiteral("Imprimer"), this);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    zoomOut->setObjectName(QStringLiteral("ZoomOut"));
    zoomIn->setObjectName(QStringLiteral("ZoomIn"));
    whole->setObjectName(QStringLiteral("WholePage"));
    print->setObjectName(QStringLiteral("Print"));
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* b : {zoomOut, zoomIn, whole, print})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(view_);
    scroll_->setAlignment(Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(scroll_, 1);
    connect(zoomIn, &QPushButton::clicked, this, [this] { setZoom(zoom() * 1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { setZoom(zoom() / 1.25); });
    connect(whole, &QPushButton::clicked, this, [this] { setZoom(wholePageZoom()); });
    connect(print, &QPushButton::clicked, this, &ReportPreview::printRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(900, 900);
    view_->setZoom(wholePageZoom());
}

double ReportPreview::zoom() const
{
    return view_->zoom();
}

void ReportPreview::setZoom(double zoom)
{
    view_->setZoom(qBound(0.1, zoom, 4.0));
}

double ReportPreview::wholePageZoom() const
{
    const QSize room = scroll_->viewport()->size() - QSize(2 * Gap, 2 * Gap);
    return qMax(0.1, qMin(room.width() / PageWidth, room.height() / PageHeight));
}

int ReportPreview::paintedPages() const
{
    return view_->painted;
}

void ReportPreview::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!fitted_) {
        fitted_ = true;
        setZoom(wholePageZoom());
    }
}

void preparePrinter(QPrinter& printer, const Report& report)
{
    printer.setPageSize(QPageSize(QSizeF(PageWidthMm, PageHeightMm), QPageSize::Millimeter,
                                  QString(), QPageSize::ExactMatch));
    printer.setFullPage(true);
    printer.setDocName(report.title);
}

bool paintOn(QPrinter& printer, const Report& report)
{
    QPainter p;
    if (!p.begin(&printer)) return false;
    const double scale = printer.resolution() / Dpi;
    for (int i = 0; i < report.pageCount(); ++i) {
        if (i > 0 && !printer.newPage()) return false;
        p.save();
        p.scale(scale, scale);
        paintPage(p, report.page(i));
        p.restore();
    }
    return p.end();
}

bool choosePrinter(QPrinter& printer, QWidget* parent, QString* error)
{
    error->clear();
    // Without a printer Qt would offer only a file: say so instead.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        *error = QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.");
        return false;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool printReport(const Report& report, QWidget* parent, bool withDialog, QString* error)
{
    error->clear();
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        *error = QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.");
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    if (withDialog) {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    if (!paintOn(printer, report)) {
        *error = QStringLiteral("L'impression n'a pas pu être faite.");
        return false;
    }
    return true;
}

} // namespace report
