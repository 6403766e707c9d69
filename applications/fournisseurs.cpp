#include "applications/fournisseurs.h"

#include "applications/documents.h"
#include "directory/contactops.h"
#include "platform/messages.h"
#include "platform/showresult.h"
#include "platform/widgets.h"
#include "store/cp1252.h"
#include "store/programstate.h"
#include "store/settings.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace
{
const QString Choix = QStringLiteral("-- Votre choix --");
} // namespace

TFournisseurs::TFournisseurs(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      s_(state)
{
    setObjectName(QStringLiteral("Fournisseurs"));
    setWindowTitle(QStringLiteral("Nouvelle candidature"));

    auto* groupSociete = new QGroupBox(QStringLiteral("Société"), this);
    ComboBox1 = new QComboBox(groupSociete);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(15);
    ComboBox1->setMinimumWidth(260);
    // The list drops down with the names that begin as typed, whatever
    // their letter case; the text itself stays as the user types it. The
    // completer is not the combo box's own: with one, the combo box would
    // replace the text by a name differing in case when editing ends, and
    // the exact comparison of "Valider" would never see what was typed.
    ComboBox1->setCompleter(nullptr);
    auto* completer = new QCompleter(ComboBox1->model(), this);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setMaxVisibleItems(15);
    completer->setWidget(ComboBox1->lineEdit());
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, completer,
            [completer](const QString& t) {
                completer->setCompletionPrefix(t);
                if (!t.isEmpty()) completer->complete();
            });
    connect(completer, qOverload<const QString&>(&QCompleter::activated), ComboBox1,
            [this](const QString& name) { ComboBox1->setEditText(name); });
    BitBtn2 = new QPushButton(QStringLiteral("Nouvelle"), groupSociete);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    auto* societeLayout = new QHBoxLayout(groupSociete);
    societeLayout->addWidget(ComboBox1, 1);
    societeLayout->addWidget(BitBtn2);

    auto* groupDate = new QGroupBox(QStringLiteral("Date"), this);
    DateTimePicker1 = new QDateEdit(groupDate);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    auto* dateLayout = new QHBoxLayout(groupDate);
    dateLayout->addWidget(DateTimePicker1);
    dateLayout->addStretch();

    auto* groupIntitule = new QGroupBox(QStringLiteral("Intitulé de la candidature"), this);
    intitule = new QLineEdit(groupIntitule);
    intitule->setObjectName(QStringLiteral("intitule"));
    intitule->setMaxLength(255);
    auto* intituleLayout = new QHBoxLayout(groupIntitule);
    intituleLayout->addWidget(intitule);

    BitBtn1 = new QPushButton(QStringLiteral("Valider"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn3 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(groupSociete);
    layout->addWidget(groupDate);
    layout->addWidget(groupIntitule);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TFournisseurs::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFournisseurs::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &QWidget::close);
}

void TFournisseurs::showWizard()
{
    if (!isVisible()) {
        FormShow();
        adjustSize();
        centreOnScreen(this);
        show();
    }
    raise();
    activateWindow();
}

void TFournisseurs::FormShow()
{
    fillCompanies();
    ComboBox1->setFocus();
    DateTimePicker1->setDate(QDate::currentDate());
    intitule->clear();
}

void TFournisseurs::fillCompanies(const QString& select)
{
    QStringList names;
    for (const TSocieteRec& s : std::as_const(s_.store().Societes))
        if (isLive(s)) names.append(s.nom.text());
    sortFrench(names);
    ComboBox1->clear();
    ComboBox1->addItem(Choix);
    ComboBox1->addItems(names);
    const int i = select.isEmpty() ? -1 : names.indexOf(select);
    ComboBox1->setCurrentIndex(i < 0 ? 0 : i + 1);
}

bool TFournisseurs::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TFournisseurs::FormActivate()
{
    emit activated();
}

void TFournisseurs::BitBtn2Click()
{
    emit newCompanyRequested();
}

void TFournisseurs::BitBtn1Click()
{
    // The text must be one of the names listed, letter case included.
    const QString text = ComboBox1->currentText();
    int chosen = -1;
    for (int i = 0; i < ComboBox1->count() && chosen < 0; ++i)
        if (ComboBox1->itemText(i) == text) chosen = i;
    if (chosen < 0) {
        msg::error(QStringLiteral("Cette société n'existe pas."));
        return;
    }
    ComboBox1->setCurrentIndex(chosen);
    if (chosen == 0) return;

    const QString nom = ComboBox1->itemText(chosen);
    qint32 societe = 0;
    for (const TSocieteRec& s : std::as_const(s_.store().Societes))
        if (isLive(s) && s.nom.text() == nom) {
            societe = s.id;
            break;
        }
    if (societe == 0) {
        // Deleted from the directory while the wizard was open.
        msg::error(QStringLiteral("Cette société n'existe pas."));
        return;
    }
    s_.IdSociete = societe;
    const QString title = intitule->text();
    if (title.isEmpty()) {
        msg::error(QStringLiteral("L'intitulé doit être renseigné."));
        return;
    }

    DocSlot slot = DocSlot::Offre;
    const bool pending = !s_.TypeImport.isEmpty() && slotFromKind(s_.TypeImport, &slot);
    const QString source = Readregistry(RegistryKey, QStringLiteral("DefaultSource")).left(20);
    const QString problem = cp1252::unstorableText(
        {{QStringLiteral("Intitulé de la candidature"), title},
         {QStringLiteral("Source par défaut"), source},
         {QStringLiteral("Page importée"), pending ? s_.FichierImport : QString()}});
    if (!problem.isEmpty()) {
        msg::error(problem);
        return;
    }

    Store& store = s_.store();
    TCandidatureRec r = newCandidature();
    r.intitule = title;
    r.source = source;
    const QString date = DateTimePicker1->date().toString(QStringLiteral("yyyyMMdd"));
    r.date = date;
    if (pending) {
        // The page waiting for its application goes into its slot, dated
        // as the application (the offer's date is the application's own).
        pathField(r, slot) = s_.FichierImport;
        dateField(r, slot) = date;
    }
    r.id_contact = 0;
    qint32 id = 0;
    if (!reported(store.nextIdCandidature(&id))) return;
    r.id = id;
    r.id_societe = s_.IdSociete;
    if (!reported(store.append(r))) return;
    s_.TypeImport.clear();
    s_.FichierImport.clear();

    s_.RafraichirListing = true;
    emit applicationCreated(r.id);
    close();
}
