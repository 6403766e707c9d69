#include "shell/personnalisation.h"

#include "applications/editor.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/panels.h"
#include "platform/widgets.h"
#include "shell/formgeneral.h"
#include "shell/langmodule.h"
#include "shell/mdiparent.h"
#include "store/settings.h"
#include "store/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <exception>

namespace
{
const QString kLang = QStringLiteral("lang");
const QString kDefaultSource = QStringLiteral("DefaultSource");
const QString kRelance = QStringLiteral("Relance");

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

TPersonnalisation::TPersonnalisation(TFormGeneral& form)
    : QDialog(&form, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      f_(form)
{
    setObjectName(QStringLiteral("TPersonnalisation"));
    setWindowTitle(QStringLiteral("Options de personnalisation"));
    setModal(true);

    GroupBox1 = named(new QGroupBox(QStringLiteral("Langue"), this), "GroupBox1");
    ComboBox1 = named(new QComboBox(GroupBox1), "ComboBox1");
    ComboBox1->setEditable(false);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setMinimumContentsLength(24);
    auto* langue = new QVBoxLayout(GroupBox1);
    langue->addWidget(ComboBox1);

    GroupBox2 = named(new QGroupBox(QStringLiteral("Source par défaut"), this), "GroupBox2");
    Sources = named(new QComboBox(GroupBox2), "Sources");
    Sources->setEditable(false);
    Sources->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Sources->setMinimumContentsLength(24);
    auto* source = new QVBoxLayout(GroupBox2);
    source->addWidget(Sources);

    GroupBox3 = named(new QGroupBox(QStringLiteral("Relances"), this), "GroupBox3");
    Relances = named(new QCheckBox(QStringLiteral("Activer les relances"), GroupBox3), "Relances");
    Label1 =
        named(new QLabel(QStringLiteral("Candidatures à relancer après"), GroupBox3), "Label1");
    Edit1 = named(new QLineEdit(GroupBox3), "Edit1");
    Edit1->setMaxLength(2);
    // Digits only: any other key leaves the field as it was.
    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), Edit1));
    Edit1->setFixedWidth(Edit1->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
    Edit1->setAlignment(Qt::AlignRight);
    Label2 = named(new QLabel(QStringLiteral("jour(s)"), GroupBox3), "Label2");
    Label1->setBuddy(Edit1);
    auto* delai = new QHBoxLayout;
    delai->addSpacing(18);
    delai->addWidget(Label1);
    delai->addWidget(Edit1);
    delai->addWidget(Label2);
    delai->addStretch();
    auto* relances = new QVBoxLayout(GroupBox3);
    relances->addWidget(Relances);
    relances->addLayout(delai);
    connect(Relances, &QCheckBox::toggled, this, &TPersonnalisation::RelancesClick);

    BitBtn1 = named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = named(new QPushButton(QStringLiteral("Annuler"), this), "BitBtn2");
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TPersonnalisation::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(BitBtn1);
    boutons->addWidget(BitBtn2);

    auto* column = new QVBoxLayout(this);
    column->addWidget(GroupBox1);
    column->addWidget(GroupBox2);
    column->addWidget(GroupBox3);
    column->addSpacing(4);
    column->addLayout(boutons);

    // The modules installed with the program, once: a module added later is
    // seen at the next start.
    ComboBox1->addItems(availableLanguages(f_.state().store().programDir()));
    // Only a choice made by the user counts as a change of language.
    connect(ComboBox1, &QComboBox::activated, this, &TPersonnalisation::ComboBox1Change);

    setFixedSize(sizeHint());
}

void TPersonnalisation::openModal()
{
    FormShow();
    dialogs::exec(*this);
}

void TPersonnalisation::FormShow()
{
    LangueModifiee = false;
    Sources->clear();

    ComboBox1->setCurrentIndex(ComboBox1->findText(Readregistry(RegistryKey, kLang)));

    const QString defaultSource = Readregistry(RegistryKey, kDefaultSource);
    QString relance = Readregistry(RegistryKey, kRelance);
    if (relance.isEmpty()) relance = QStringLiteral("0");

    if (ApplicationEditor* editor = f_.editor()) Sources->addItems(editor->sources());
    Sources->setCurrentIndex(Sources->findText(defaultSource));

    const bool on = relance.toInt() != 0;
    Relances->setChecked(on);
    RelancesClick(on);
    if (on)
        Edit1->setText(relance);
    else
        Edit1->clear();
    BitBtn1->setFocus();
}

void TPersonnalisation::RelancesClick(bool checked)
{
    Label1->setEnabled(checked);
    Edit1->setEnabled(checked);
    Label2->setEnabled(checked);
}

void TPersonnalisation::ComboBox1Change()
{
    LangueModifiee = true;
}

void TPersonnalisation::BitBtn1Click()
{
    if (Edit1->isEnabled()) {
        if (Edit1->text().isEmpty()) {
            msg::error(QStringLiteral("Veuillez renseigner le nombre de jours à prendre en compte "
                                      "pour les relances."));
            Edit1->setFocus();
            return;
        }
        if (Edit1->text().toInt() == 0) {
            msg::error(QStringLiteral("La valeur doit être supérieure à 0."));
            Edit1->setFocus();
            Edit1->selectAll();
            return;
        }
        WriteRegistry(RegistryKey, kRelance, Edit1->text());
    } else {
        WriteRegistry(RegistryKey, kRelance, QStringLiteral("0"));
        // Nothing is to be followed up any more: the listing shows everything.
        f_.state().setRelancesSeules(false);
    }

    WriteRegistry(RegistryKey, kDefaultSource, Sources->currentText());

    if (LangueModifiee) {
        WriteRegistry(RegistryKey, kLang, ComboBox1->currentText());
        msg::information(
            QStringLiteral("Vous devez relancer ORVALDIS pour appliquer le changement de langue."));
    }
    accept();
}

void TPersonnalisation::done(int result)
{
    QDialog::done(result);
    // A new follow-up delay takes effect at once. The settings are written
    // whatever happens here: a listing that cannot be rebuilt now will be at
    // its next showing.
    try {
        f_.state().requestListing();
    } catch (const std::exception&) {
    }
}

void TPersonnalisation::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}
