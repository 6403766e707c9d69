#include "applications/listingmodel.h"

#include "platform/cutstring.h"
#include "platform/pictures.h"
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
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const TLigneListing& l = rows_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        break;
    case AlarmRole:
        return l.alarme != 0;
    case FinishedRole:
        return l.en_cours == 0;
    case CategoryRole:
        return QChar(QLatin1Char(l.categorie));
    case FlagRole: {
        const qint32 flags[4] = {l.cv, l.lettre, l.accuse, l.suite};
        const int c = index.column() - 6;
        return c >= 0 && c < 4 && flags[c] != 0;
    }
    case AppointmentRole:
        return l.rdv != 0;
    case MarkerRole:
        return l.marqueur != 0;
    case BlinkPhaseRole:
        return blinkPhase_;
    default:
        return {};
    }
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
    auto flag = [&index](int role) { return index.data(role).toBool(); };
    const bool selected = option.state & QStyle::State_Selected;
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
        if (flag(ListingModel::AlarmRole)) {
            if (flag(ListingModel::BlinkPhaseRole))
                g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_Attention));
        } else {
            g->drawPixmap(r.topLeft(),
                          pictures::listingIcon(flag(ListingModel::FinishedRole)
                                                    ? ListingIcon::CandidatureTerminee
                                                    : ListingIcon::CandidatureEnCours));
        }
        break;
    case 1:
        g->drawText(r, Qt::AlignCenter, index.data().toString());
        break;
    case 2: {
        const QChar category = index.data(ListingModel::CategoryRole).toChar();
        if (category == QLatin1Char('S'))
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_societe));
        else if (category == QLatin1Char('C'))
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_cabinet));
        else if (category == QLatin1Char('I'))
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_interim));
        break;
    }
    case 3:
        g->drawText(r, Qt::AlignCenter, CutString(font, index.data().toString(), r.width() - 15));
        break;
    case 4:
        g->drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    CutString(font, index.data().toString(), r.width() - 10));
        break;
    case 5:
        if (flag(ListingModel::AppointmentRole))
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Img_rdv));
        break;
    case 6:
    case 7:
    case 8:
    case 9:
        if (flag(ListingModel::FlagRole)) {
            g->fillRect(r, kLetterColours[col - 6]);
            QFont bold = font;
            bold.setBold(true);
            g->setFont(bold);
            g->setPen(Qt::white);
            g->drawText(r, Qt::AlignCenter, index.data().toString());
        }
        break;
    case 10:
        if (flag(ListingModel::MarkerRole))
            g->drawPixmap(r.topLeft(), pictures::listingIcon(ListingIcon::Marqueur));
        break;
    default:
        break;
    }
    g->restore();
}
