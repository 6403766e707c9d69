#include "browser/ajoutfavori.h"

#include "browser/favoris.h"
#include "platform/dialogs.h"
#include "platform/showresult.h"
#include "platform/widgets.h"
#include "store/programstate.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TAjoutFavori::TAjoutFavori(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      s_(state)
{
    setObjectName(QStringLiteral("AjoutFavori"));
    setWindowTitle(QStringLiteral("Nom du favori à ajouter"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(255);
    Edit1->setMinimumWidth(360);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(BitBtn1, &QPushButton::clicked, this, &TAjoutFavori::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

bool TAjoutFavori::openModal(const QString& url)
{
    url_ = url;
    FormShow();
    adjustSize();
    centreOnScreen(this);
    return dialogs::exec(*this) == QDialog::Accepted;
}

void TAjoutFavori::FormShow()
{
    Edit1->setText(url_);
    Edit1->selectAll();
    Edit1->setFocus();
}

void TAjoutFavori::BitBtn1Click()
{
    // A refused or failed addition keeps the dialog open with its message.
    if (reported(favoris::ajoute(s_.store(), Edit1->text(), url_))) accept();
}
