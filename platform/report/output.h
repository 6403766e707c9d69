#pragma once
// A prepared report on screen and on paper: the preview window (the whole
// page at first; zoom, print, close; it paints only the pages in sight) and
// printing, with the print dialog or straight to the default printer.

#include "platform/report/report.h"

#include <QDialog>

class QPrinter;
class QScrollArea;

namespace report
{

class PagesView;

class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(const Report& report, QWidget* parent = nullptr);

    double zoom() const;
    void setZoom(double zoom);
    // The zoom at which one whole page fits the window.
    double wholePageZoom() const;
    // How many pages were painted since the window opened (tests).
    int paintedPages() const;

signals:
    void printRequested();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QScrollArea* scroll_;
    PagesView* view_;
    bool fitted_ = false;
};

// The page set-up of a report on a printer: 212 × 299.83 mm, no margins.
void preparePrinter(QPrinter& printer, const Report& report);
// Paints every page of the report on a printer already set up.
bool paintOn(QPrinter& printer, const Report& report);

// Chooses the printer for several reports: false with an empty error when
// the user cancels, with the reason when there is no printer.
bool choosePrinter(QPrinter& printer, QWidget* parent, QString* error);

// Prints the report, after the print dialog when `withDialog`. False with an
// empty error when the user cancels; false with the reason when there is
// no printer or printing failed.
bool printReport(const Report& report, QWidget* parent, bool withDialog, QString* error);

} // namespace report
