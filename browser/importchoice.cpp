#include "browser/importchoice.h"

#include "browser/associercandidature.h"
#include "browser/importercomme.h"
#include "browser/pageimport.h"
#include "platform/messages.h"
#include "platform/widgets.h"
#include "store/programstate.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
constexpr int Largeur = 380;
constexpr int Pas = 3; // pixels per tick while unrolling
const QString Choix = QStringLiteral("-- Votre choix --");
} // namespace

TImportChoice::TImportChoice(ProgramState& state, TAssocierCandidature& associer,
                             TImporterComme& importerComme, QWidget* parent)
    : ImportDialog(state, parent), associer_(associer), importerComme_(importerComme)
{
    setObjectName(QStringLiteral("ImportChoice"));
    setWindowTitle(QStringLiteral("Sélection"));

    // Fixed places: the company group lies below the bottom edge until the
    // dialog unrolls over it.
    RadioNew = namedRadio(QStringLiteral("Créer une nouvelle candidature"), "RadioNew", this);
    RadioAdd = namedRadio(QStringLiteral("Associer à une candidature existante"), "RadioAdd", this);
    QGroupBox* choix = radioPair(QStringLiteral("Choix"), RadioNew, RadioAdd, this);
    choix->setGeometry(8, 8, 262, HauteurReduite - 20);

    GroupeSociete = new QGroupBox(QStringLiteral("Société"), this);
    GroupeSociete->setObjectName(QStringLiteral("GroupeSociete"));
    ComboBox1 = new QComboBox(GroupeSociete);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMaxVisibleItems(20);
    auto* societe = new QVBoxLayout(GroupeSociete);
    societe->addWidget(ComboBox1);
    GroupeSociete->setGeometry(8, HauteurReduite + 2, Largeur - 16,
                               HauteurComplete - HauteurReduite - 8);

    BitBtn1->setGeometry(Largeur - 100, 16, 92, 28);
    BitBtn2->setGeometry(Largeur - 100, 52, 92, 28);

    Timer1 = new QTimer(this);
    Timer1->setInterval(10);
    Timer2 = new QTimer(this);
    Timer2->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &TImportChoice::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TImportChoice::Timer2Timer);
    connect(RadioNew, &QRadioButton::clicked, this, &TImportChoice::RadioNewClick);
    connect(RadioAdd, &QRadioButton::clicked, this, &TImportChoice::RadioAddClick);

    setFixedSize(Largeur, HauteurReduite);
}

void TImportChoice::openModal()
{
    FormShow();
    ImportDialog::openModal();
}

void TImportChoice::FormShow()
{
    Timer1->stop();
    Timer2->stop();
    setFixedHeight(HauteurReduite);
    RadioNew->setChecked(true);
    ComboBox1->clear();
    ComboBox1->addItem(Choix);
    ComboBox1->addItems(importCompanies(s_.store()));
    ComboBox1->setCurrentIndex(0);
    BitBtn1->setFocus();
}

void TImportChoice::RadioAddClick()
{
    Timer2->stop();
    Timer1->start();
}

void TImportChoice::RadioNewClick()
{
    Timer1->stop();
    if (height() > HauteurReduite) Timer2->start();
}

void TImportChoice::Timer1Timer()
{
    setFixedHeight(std::min(height() + Pas, HauteurComplete));
    if (height() >= HauteurComplete) Timer1->stop();
}

void TImportChoice::Timer2Timer()
{
    setFixedHeight(std::max(height() - Pas, HauteurReduite));
    if (height() <= HauteurReduite) Timer2->stop();
}

void TImportChoice::BitBtn1Click()
{
    if (RadioNew->isChecked()) {
        hide();
        done(QDialog::Accepted);
        importerComme_.openNew();
        return;
    }
    if (ComboBox1->currentIndex() <= 0) {
        msg::information(QStringLiteral("Veuillez sélectionner une société."));
        return;
    }
    hide();
    SocieteImport = ComboBox1->currentText();
    done(QDialog::Accepted);
    associer_.openModal(SocieteImport);
}
