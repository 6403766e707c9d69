#include "browser/importercomme.h"

#include "platform/messages.h"
#include "platform/showresult.h"
#include "platform/widgets.h"
#include "store/programstate.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TImporterComme::TImporterComme(ProgramState& state, QWidget* parent) : ImportDialog(state, parent)
{
    setObjectName(QStringLiteral("ImporterComme"));
    setWindowTitle(QStringLiteral("Sélection"));
    auto* group = new QGroupBox(QStringLiteral("Importer comme"), this);
    auto* radios = new QVBoxLayout(group);
    RadioOffre = namedRadio(QStringLiteral("Offre"), "RadioOffre", group);
    RadioCV = namedRadio(QStringLiteral("CV"), "RadioCV", group);
    RadioLettre = namedRadio(QStringLiteral("Lettre de motivation"), "RadioLettre", group);
    RadioAccuse = namedRadio(QStringLiteral("Accusé de réception"), "RadioAccuse", group);
    RadioSuite = namedRadio(QStringLiteral("Suite ou refus"), "RadioSuite", group);
    for (QRadioButton* r : {RadioOffre, RadioCV, RadioLettre, RadioAccuse, RadioSuite})
        radios->addWidget(r);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    group->setMinimumWidth(200);
}

void TImporterComme::openNew()
{
    ModeImport = QStringLiteral("NEW");
    row_ = {};
    FormShow();
    openModal();
}

void TImporterComme::openJoin(const ImportRow& row)
{
    ModeImport = QStringLiteral("JOIN");
    row_ = row;
    FormShow();
    openModal();
}

void TImporterComme::FormShow()
{
    RadioOffre->setChecked(true);
    BitBtn1->setFocus();
}

DocSlot TImporterComme::chosenSlot() const
{
    const QRadioButton* radios[] = {RadioOffre, RadioCV, RadioLettre, RadioAccuse, RadioSuite};
    for (int i = 0; i < 5; ++i)
        if (radios[i]->isChecked()) return AllDocSlots[i];
    return DocSlot::Offre;
}

void TImporterComme::BitBtn1Click()
{
    const DocSlot slot = chosenSlot();
    hide();
    if (ModeImport == QLatin1String("NEW")) {
        // The wizard puts the page into this slot of the application it creates.
        done(QDialog::Accepted);
        s_.TypeImport = kindName(slot);
        s_.CandidatureModifiee = false;
        emit newApplicationRequested();
        return;
    }

    const DocumentResult joined =
        joinImport(s_.store(), row_, slot, s_.FichierImport, QDate::currentDate());
    done(QDialog::Accepted);
    if (!joined.result.ok) {
        msg::error(QStringLiteral("Erreur lors de l'ajout: ") + joined.result.error);
        return;
    }
    // The page is attached: nothing is pending any more, so no later
    // application can receive the same file.
    s_.FichierImport.clear();
    s_.TypeImport.clear();
    showErrors(joined.furtherErrors);
    emit applicationJoined(row_.id);
}
