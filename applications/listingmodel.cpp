#include "applications/listingmodel.h"

#include "platform/cutstring.h"
#include "shell/pictures.h"
#include "store/helpers.h"

#include <QPainter>

ListingModel::ListingModel(const Store& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store)
{
}

void ListingModel::setRows(QList<TLigneListing> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const TCandidatureRec& ListingModel::candidature(int r) const
{
    return store_.Candidatures[rows_[r].index];
}

void ListingModel::cellsChanged(int row, int column)
{
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i);
}

int ListingModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int ListingModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ListingModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size()) return {};
    const TLigneListing& l = rows_[index.row()];
    // A row refers to a table position; a table changed since the build
    // (a deletion) shows nothing rather than another record.
    if (l.index >= store_.Candidatures.size()) return {};
    const TCandidatureRec& c = store_.Candidatures[l.index];
    switch (index.column()) {
    case 0:
        return QString::number(qint32(c.id));
    case 1:
        return SQL2Date(c.date.text());
    case 3:
        return l.societe < store_.Societes.size() ? store_.Societes[l.societe].nom.text()
                                                  : QString();
    case 4:
        return c.intitule.text();
    case 6:
        return QStringLiteral("C");
    case 7:
        return QStringLiteral("L");
    case 8:
        return QStringLiteral("A");
    case 9:
    case 10:
        return QStringLiteral("S");
    default:
        return QString();
    }
}

ListingDelegate::ListingDelegate(const ListingModel& model, const bool& phase, int& selectedRow,
                                 QObject* parent)
    : QStyledItemDelegate(parent), model_(model), phase_(phase), selectedRow_(selectedRow)
{
}

QColor ListingDelegate::background(int row, bool selected)
{
    if (selected) return QColor(255, 200, 145);
    return row % 2 == 0 ? QColor(233, 239, 252) : QColor(Qt::white);
}

namespace
{

const QColor kLetterColours[4] = {QColor(0, 168, 0), QColor(0, 128, 255), QColor(182, 7, 248),
                                  QColor(248, 7, 55)};

} // namespace

void ListingDelegate::paint(QPainter* g, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    const int row = index.row(), col = index.column();
    if (row >= model_.rows().size()) return;
    const TLigneListing& l = model_.rows()[row];
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) selectedRow_ = row;
    const QRect r = option.rect;
    g->save();
    g->fillRect(r, background(row, selected));
    QFont font = option.font;
    font.setFamily(QStringLiteral("Arial"));
    g->setFont(font);
    g->setPen(Qt::black);
    using pictures::ListingIcon;
    switch (col) {
    case 0:
        if (l.alarme) {
            if (phase_)
                g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_Attention));
        } else {
            g->drawPixmap(r.topLeft(),
                          pictures::listingIcon(l.en_cours ? ListingIcon::CandidatureEnCours
                                                           : ListingIcon::CandidatureTerminee));
        }
        break;
    case 1:
        g->drawText(r, Qt::AlignCenter, index.data().toString());
        break;
    case 2:
        if (l.categorie == 'S')
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_societe));
        else if (l.categorie == 'C')
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_cabinet));
        else if (l.categorie == 'I')
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_interim));
        break;
    case 3:
        g->drawText(r, Qt::AlignCenter, CutString(font, index.data().toString(), r.width() - 15));
        break;
    case 4:
        g->drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    CutString(font, index.data().toString(), r.width() - 10));
        break;
    case 5:
        if (l.rdv) g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_rdv));
        break;
    case 6:
    case 7:
    case 8:
    case 9: {
        const qint32 flags[4] = {l.cv, l.lettre, l.accuse, l.suite};
        if (flags[col - 6]) {
            g->fillRect(r, kLetterColours[col - 6]);
            QFont bold = font;
            bold.setBold(true);
            g->setFont(bold);
            g->setPen(Qt::white);
            g->drawText(r, Qt::AlignCenter, index.data().toString());
        }
        break;
    }
    case 10:
        if (l.marqueur) g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Marqueur));
        break;
    default:
        break;
    }
    g->restore();
}
