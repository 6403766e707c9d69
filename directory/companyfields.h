#pragma once
// The fourteen detail fields of a company with their labels and limits,
// shared by the directory editor and the adding dialog.

#include "store/records.h"

#include <QObject>

class QGridLayout;
class QLineEdit;
class QWidget;

class CompanyFields : public QObject
{
    Q_OBJECT
public:
    enum Field {
        Nom,
        Adresse_a,
        Adresse_b,
        Bp,
        Cp,
        Ville,
        Pays,
        Tela,
        Telb,
        Faxa,
        Faxb,
        Service,
        Email,
        Url,
        Count
    };

    // Lays the labels and fields into `grid` from `row` on; `row` is moved
    // past them. `beside` may hold a widget to put right of a field
    // (the "Mailer" and "Voir" buttons).
    CompanyFields(QWidget* parent, QGridLayout* grid, int& row, QWidget* besideEmail = nullptr,
                  QWidget* besideUrl = nullptr);

    QLineEdit* field(Field f) const { return fields_[f]; }
    QString text(Field f) const;

    void clear();
    void load(const TSocieteRec& r);
    // Writes the fields into a record, each cut to what the file holds.
    void saveInto(TSocieteRec& r) const;
    // Empty when every field can be stored; otherwise the message naming the
    // first field holding characters the data file cannot hold.
    QString unstorableText() const;

private:
    QLineEdit* fields_[Count] = {};
};
