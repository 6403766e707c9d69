#include "directory/impressionsociete.h"

#include "platform/dialogs.h"
#include "platform/widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormImpressionSociete::TFormImpressionSociete(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FormImpressionSociete"));
    setWindowTitle(QStringLiteral("Choix d'impression"));
    auto* group = new QGroupBox(QStringLiteral("Sélection"), this);
    RadioSelection = namedRadio(QStringLiteral("Imprimer la fiche sélectionnée uniquement"),
                                "RadioSelection", group);
    RadioTout = namedRadio(QStringLiteral("Imprimer toutes les fiches"), "RadioTout", group);
    auto* g = new QVBoxLayout(group);
    g->addWidget(RadioSelection);
    g->addWidget(RadioTout);
    QPushButton* ok = namedButton(QStringLiteral("OK"), "BitBtn1", this);
    QPushButton* cancel = namedButton(QStringLiteral("Annuler"), "BitBtn2", this);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormImpressionSociete::choose(bool* all)
{
    RadioSelection->setChecked(true);
    centreOnScreen(this);
    const bool ok = dialogs::exec(*this) == QDialog::Accepted;
    *all = RadioTout->isChecked();
    return ok;
}
