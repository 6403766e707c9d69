#include "applications/choixcontacts.h"
#include "platform/widgets.h"

#include "directory/contactops.h"
#include "platform/showresult.h"
#include "store/programstate.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{

// Two people side by side, in the blue of the side panels.
QPixmap contactsPicture()
{
    QPixmap pm(64, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor back(120, 150, 200), front(40, 80, 150);
    p.setBrush(back);
    p.drawEllipse(QRectF(34, 4, 16, 16));
    p.drawRoundedRect(QRectF(28, 22, 28, 24), 10, 10);
    p.setBrush(front);
    p.drawEllipse(QRectF(14, 8, 18, 18));
    p.drawRoundedRect(QRectF(7, 28, 32, 20), 10, 10);
    return pm;
}

} // namespace

TFormContacts::TFormContacts(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      s_(state)
{
    setObjectName(QStringLiteral("FormContacts"));
    setWindowTitle(QStringLiteral("Liste des contacts disponibles"));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(contactsPicture());
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    ListBoxContacts = new QListWidget(this);
    ListBoxContacts->setObjectName(QStringLiteral("ListBoxContacts"));
    ListBoxContacts->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxContacts->setMinimumSize(260, 220);

    BtListeOK = new QPushButton(QStringLiteral("OK"), this);
    BtListeOK->setObjectName(QStringLiteral("BtListeOK"));
    BtListeOK->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Nouveau"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    buttons->addWidget(BtListeOK);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(ListBoxContacts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtListeOK, &QPushButton::clicked, this, &TFormContacts::BtListeOKClick);
    connect(ListBoxContacts, &QListWidget::itemDoubleClicked, this, &TFormContacts::BtListeOKClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormContacts::BitBtn2Click);
}

void TFormContacts::showChooser(qint32 societe)
{
    societe_ = societe;
    if (!isVisible()) {
        fillContacts();
        adjustSize();
        centreOnScreen(this);
        show();
    }
    raise();
    activateWindow();
}

void TFormContacts::fillContacts()
{
    ListBoxContacts->clear();
    ListBoxContacts->addItems(contactDisplayTexts(s_.store().Contacts, societe_));
    ListBoxContacts->setFocus();
}

bool TFormContacts::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TFormContacts::FormActivate()
{
    emit activated();
}

void TFormContacts::BtListeOKClick()
{
    const QList<QListWidgetItem*> items = ListBoxContacts->selectedItems();
    if (items.isEmpty()) {
        close();
        return;
    }
    // Of several contacts with the same text, the last in the table is linked.
    const qint32 contact =
        contactByDisplayText(s_.store().Contacts, societe_, items.first()->text());
    if (contact != 0 &&
        !reported(linkContact(s_.store(), s_.IdCandidature, contact, s_.PositionCandidature)))
        return;
    emit contactLinked();
    close();
}

void TFormContacts::BitBtn2Click()
{
    emit addContactRequested();
}
