#pragma once
// TPrevisualisation: the lines of an import file cut into the fields chosen,
// one row per line read, under a header row of the field names.

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QWidget>

class QTableView;

// The cells of the preview: rows of texts under the field names.
class PreviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setContents(const QStringList& names, QList<QStringList> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList names_;
    QList<QStringList> rows_;
};

class TPrevisualisation : public QWidget
{
    Q_OBJECT
public:
    explicit TPrevisualisation(QWidget* parent);

    // Refills the grid from the text of a file: the lines read (empty lines
    // and comments left out) cut into `names.size()` fields, a field that
    // begins or ends with the delimiter losing its first and last character.
    void fill(const QStringList& names, const QString& text, QChar separator, QChar delimiter);

    QTableView* StringGrid1 = nullptr;
    PreviewModel* model = nullptr;
};
