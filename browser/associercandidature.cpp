#include "browser/associercandidature.h"

#include "browser/importercomme.h"
#include "store/programstate.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace
{

constexpr int RowHeight = 15;
constexpr int VisibleRows = 24;
constexpr int DateWidth = 65;
constexpr int TitleWidth = 603;
// Room for the vertical scroll bar once the rows outgrow the grid.
constexpr int TitleWidthScrolled = 585;

// Date and title of each application, on alternating backgrounds.
class ApplicationsModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<ImportRow>* rows)
    {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !rows_ ? 0 : int(rows_->size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 2;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
        const ImportRow& r = rows_->at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return index.column() == 0 ? r.date : r.intitule;
        case Qt::TextAlignmentRole:
            return index.column() == 0 ? int(Qt::AlignCenter)
                                       : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return index.row() % 2 ? QColor(Qt::white) : QColor(0xE9, 0xEF, 0xFC);
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        default:
            return {};
        }
    }

private:
    const QList<ImportRow>* rows_ = nullptr;
};

// The chosen row is one coloured band, without the frame of a current cell.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem o(option);
        o.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, o, index);
    }
};

} // namespace

TAssocierCandidature::TAssocierCandidature(ProgramState& state, TImporterComme& importerComme,
                                           QWidget* parent)
    : ImportDialog(state, parent), importerComme_(importerComme)
{
    setObjectName(QStringLiteral("AssocierCandidature"));
    Listing = new QTableView(this);
    Listing->setObjectName(QStringLiteral("Listing"));
    Listing->setModel(new ApplicationsModel(Listing));
    Listing->setItemDelegate(new RowDelegate(Listing));
    Listing->horizontalHeader()->hide();
    Listing->verticalHeader()->hide();
    Listing->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Listing->verticalHeader()->setMinimumSectionSize(RowHeight);
    Listing->verticalHeader()->setDefaultSectionSize(RowHeight);
    Listing->setSelectionBehavior(QAbstractItemView::SelectRows);
    Listing->setSelectionMode(QAbstractItemView::SingleSelection);
    Listing->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Listing->setShowGrid(false);
    Listing->setWordWrap(false);
    Listing->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Listing->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    Listing->setFont(font);
    QPalette palette = Listing->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0xFF, 0xC8, 0x91));
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    Listing->setPalette(palette);
    const int frame = 2 * Listing->frameWidth();
    Listing->setFixedSize(DateWidth + TitleWidth + frame, VisibleRows * RowHeight + frame);
    connect(Listing, &QTableView::clicked, this,
            [this](const QModelIndex& index) { ListingSelectCell(index.row()); });
    // The keyboard moves the choice as the mouse does.
    connect(Listing->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) ListingSelectCell(current.row());
            });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Listing);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAssocierCandidature::openModal(const QString& societe)
{
    societe_ = societe;
    setWindowTitle(QStringLiteral("Candidatures en cours pour la société ") + societe);
    FormShow();
    ImportDialog::openModal();
}

void TAssocierCandidature::FormShow()
{
    rows_ = importApplications(s_.store(), societe_);
    static_cast<ApplicationsModel*>(Listing->model())->setRows(&rows_);
    Listing->setColumnWidth(0, DateWidth);
    Listing->setColumnWidth(1, rows_.size() > VisibleRows ? TitleWidthScrolled : TitleWidth);
    chosen_ = -1;
    if (!rows_.isEmpty()) {
        Listing->selectRow(0);
        ListingSelectCell(0);
    }
    Listing->setFocus();
}

void TAssocierCandidature::ListingSelectCell(int row)
{
    if (row >= 0 && row < rows_.size()) chosen_ = row;
}

void TAssocierCandidature::BitBtn1Click()
{
    if (rows_.isEmpty()) {
        done(QDialog::Rejected);
        return;
    }
    const ImportRow row = rows_.value(chosen_ < 0 ? 0 : chosen_);
    hide();
    done(QDialog::Accepted);
    importerComme_.openJoin(row);
}
