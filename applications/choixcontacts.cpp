#include "applications/choixcontacts.h"
#include "platform/widgets.h"

#include "applications/editor.h"
#include "directory/ajoutcontact.h"
#include "directory/contactops.h"
#include "shell/formgeneral.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

TFormContacts* TFormGeneral::formContacts()
{
    if (!formContacts_) formContacts_ = new TFormContacts(*this);
    return formContacts_;
}

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

TFormContacts::TFormContacts(TFormGeneral& form)
    : QDialog(&form, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      f_(form)
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

void TFormContacts::showChooser()
{
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
    // The application's company on the applications page, the company shown
    // on the directory page.
    societe_ =
        f_.Tabulations && f_.Tabulations->currentIndex() == 1 ? f_.IdSocieteAnnuaire : f_.IdSociete;
    ListBoxContacts->clear();
    ListBoxContacts->addItems(contactDisplayTexts(f_.store().Contacts, societe_));
    ListBoxContacts->setFocus();
}

bool TFormContacts::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TFormContacts::FormActivate()
{
    if (TFormGeneral::onScreen(f_.ajoutContact_)) f_.ajoutContact_->raise();
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
        contactByDisplayText(f_.store().Contacts, societe_, items.first()->text());
    if (contact != 0 && !linkContact(f_.store(), f_.IdCandidature, contact)) return;
    f_.Tabulations->setCurrentIndex(0);
    f_.editor()->StringGrid1DblClick();
    close();
}

void TFormContacts::BitBtn2Click()
{
    f_.ajoutContact()->openModeless(QStringLiteral("Ajout d'un contact"));
}
