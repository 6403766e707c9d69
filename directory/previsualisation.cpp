#include "directory/previsualisation.h"

#include "directory/importrules.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

void PreviewModel::setContents(const QStringList& names, QList<QStringList> rows)
{
    beginResetModel();
    names_ = names;
    rows_ = std::move(rows);
    endResetModel();
}

int PreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(names_.size());
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size()) return {};
    return rows_[index.row()].value(index.column());
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return names_.value(section);
}

TPrevisualisation::TPrevisualisation(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TPrevisualisation"));
    setWindowTitle(QStringLiteral("Previsualisation"));
    model = new PreviewModel(this);
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(model);
    StringGrid1->setShowGrid(true);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(100);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Rows as low as the text allows.
    StringGrid1->verticalHeader()->setDefaultSectionSize(
        qMax(15, StringGrid1->fontMetrics().height() + 4));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StringGrid1);
    resize(640, 320);
}

void TPrevisualisation::fill(const QStringList& names, const QString& text, QChar separator,
                             QChar delimiter)
{
    const QList<QStringView> lines = readLines(text);
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (QStringView line : lines) {
        QStringList cells;
        cells.reserve(names.size());
        for (QStringView field :
             cutLine(line, int(names.size()), separator, delimiter, DelimiterRemoval::EitherEnd))
            cells.append(field.toString());
        rows.append(cells);
    }
    model->setContents(names, std::move(rows));
    for (int c = 0; c < names.size(); ++c)
        StringGrid1->setColumnWidth(c, 100);
}
