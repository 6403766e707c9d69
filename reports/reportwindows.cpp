#include "reports/reportwindows.h"

#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/report/output.h"
#include "store/systemerror.h"

void printReportWithDialog(const report::Report& r, QWidget* parent)
{
    QString error;
    if (!report::printReport(r, parent, true, &error) && !error.isEmpty())
        msg::error(frenchErrorText(error));
}

void previewReport(const report::Report& r, QWidget* parent)
{
    report::ReportPreview preview(r, parent);
    QObject::connect(&preview, &report::ReportPreview::printRequested, &preview,
                     [&r, &preview] { printReportWithDialog(r, &preview); });
    dialogs::exec(preview);
}
