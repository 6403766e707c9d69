#pragma once
// The listing report: the rows of the listing as it stands (sorted and
// filtered), with the legend and the key figures on the first page and a
// footer on every page. 46 rows go on the first page, 63 on each further one.

#include "applications/listingrules.h"
#include "platform/report/report.h"
#include "store/store.h"

#include <QDateTime>
#include <QStringList>

struct ListingReportInput {
    QList<TLigneListing> rows; // in display order
    QStringList figures;       // the seven key-figure texts as shown
    QDateTime now;
    // For the spreadsheet: the rows alone from the top, without header,
    // legend, figures, frames, pictures or colours; the pages are parts of
    // the one sheet that reportGrid() makes of them.
    bool exportMode = false;
};

// Rows of the first page and of each further page.
constexpr int FirstPageRows = 46;
constexpr int FurtherPageRows = 63;

report::Report ReportListing(const Store& store, const ListingReportInput& in);
