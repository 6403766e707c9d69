#pragma once
// The company sheet: the company's details placed by the template
// Reports/Societe.frf on page 1, then one framed box per contact, two per
// row from y 400, further pages as they fill, a footer on every page.

#include "platform/report/report.h"
#include "store/records.h"

#include <QDate>
#include <QMap>
#include <QStringList>

// The fourteen variables of a company.
QMap<QString, QString> companyVariables(const TSocieteRec& s);

report::Report CreationReport(const report::Page& templ, const QMap<QString, QString>& variables,
                              const QList<TContactRec>& contacts, qint32 societe,
                              const QString& title, const QDate& today);

// The body of the mail that gives a company's details, from the
// directory's fields as shown (the fourteen variables).
QStringList companyMailBody(const QMap<QString, QString>& v);
