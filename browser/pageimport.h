#pragma once
// Where a web page made into a PDF goes: the companies that can receive it,
// the applications of the company chosen, and the writing of the PDF into a
// document slot of an existing application.

#include "applications/documents.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Store;

// The names of the companies that have at least one application, each name
// once, in alphabetical order.
QStringList importCompanies(const Store& store);

// One application offered to receive the page.
struct ImportRow {
    qint32 id = 0;     // the application's id
    int position = -1; // its place in the applications table
    QString date;      // "dd/mm/yyyy"
    QString intitule;
};

// The applications of every company named exactly `nom` (two companies may
// share a name), newest first; on equal dates in reverse alphabetical order
// of title.
QList<ImportRow> importApplications(const Store& store, const QString& nom);

// Puts the PDF `pdf` into `slot` of the application `row` designates, and
// for every slot but the offer dates the slot `today`. Once the record is
// written, the imported PDF the slot held before is deleted (a file of the
// user's own never is) and so is the text pasted into the slot. A failure
// to write leaves the table and the file as they were.
DocumentResult joinImport(Store& store, const ImportRow& row, DocSlot slot, const QString& pdf,
                          const QDate& today);
