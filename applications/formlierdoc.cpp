#include "applications/formlierdoc.h"

#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/showresult.h"
#include "store/store.h"
#include "store/tables.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

TFormLierDoc::TFormLierDoc(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormLierDoc"));
    setWindowTitle(QStringLiteral("Attacher un document"));
    setModal(true);

    GroupDate = new QGroupBox(QStringLiteral("Date"), this);
    GroupDate->setObjectName(QStringLiteral("GroupDate"));
    DateTimePicker1 = new QDateEdit(GroupDate);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DateTimePicker1->setDate(QDate::currentDate());
    auto* dateLayout = new QHBoxLayout(GroupDate);
    dateLayout->addWidget(DateTimePicker1);
    dateLayout->addStretch();

    GroupChoix = new QGroupBox(QStringLiteral("Choix"), this);
    GroupChoix->setObjectName(QStringLiteral("GroupChoix"));
    RadioFichier = new QRadioButton(GroupChoix);
    RadioFichier->setObjectName(QStringLiteral("RadioFichier"));
    RadioFichier->setChecked(true);
    FichierDoc = new QLineEdit(GroupChoix);
    FichierDoc->setObjectName(QStringLiteral("FichierDoc"));
    Bt_Parcourir = new QPushButton(QStringLiteral("Parcourir..."), GroupChoix);
    Bt_Parcourir->setObjectName(QStringLiteral("Bt_Parcourir"));
    Bt_Parcourir->setAutoDefault(false);
    RadioMemo =
        new QRadioButton(QStringLiteral("Je souhaite insérer le contenu directement"), GroupChoix);
    RadioMemo->setObjectName(QStringLiteral("RadioMemo"));
    Bloc = new QPlainTextEdit(GroupChoix);
    Bloc->setObjectName(QStringLiteral("Bloc"));
    Bloc->setTabChangesFocus(false);
    Bloc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Bloc->setMinimumSize(460, 200);
    Bloc->setEnabled(false);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FichierDoc, 1);
    fileRow->addWidget(Bt_Parcourir);
    auto* choixLayout = new QVBoxLayout(GroupChoix);
    choixLayout->addWidget(RadioFichier);
    choixLayout->addLayout(fileRow);
    choixLayout->addWidget(RadioMemo);
    choixLayout->addWidget(Bloc);

    Bt_OK = new QPushButton(QStringLiteral("OK"), this);
    Bt_OK->setObjectName(QStringLiteral("Bt_OK"));
    Bt_OK->setDefault(true);
    Bt_Annuler = new QPushButton(QStringLiteral("Annuler"), this);
    Bt_Annuler->setObjectName(QStringLiteral("Bt_Annuler"));
    Bt_Annuler->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Bt_OK);
    buttons->addWidget(Bt_Annuler);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupDate);
    layout->addWidget(GroupChoix);
    layout->addLayout(buttons);
    // A fixed dialog border: the dialog keeps the size of its contents.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(RadioFichier, &QRadioButton::toggled, this, &TFormLierDoc::choiceChanged);
    connect(RadioMemo, &QRadioButton::toggled, this, &TFormLierDoc::choiceChanged);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TFormLierDoc::changed);
    connect(FichierDoc, &QLineEdit::textChanged, this, &TFormLierDoc::changed);
    connect(Bloc, &QPlainTextEdit::textChanged, this, &TFormLierDoc::changed);
    connect(Bt_Parcourir, &QPushButton::clicked, this, &TFormLierDoc::Bt_ParcourirClick);
    connect(Bt_OK, &QPushButton::clicked, this, &TFormLierDoc::Bt_OKClick);
    connect(Bt_Annuler, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFormLierDoc::filtre()
{
    // "Tous les fichiers" takes every file: "*.*" would leave out the names
    // without a dot here.
    return QStringLiteral("Documents (*.doc *.rtf *.pdf *.txt *.eml *.msg);;Tous les fichiers (*)");
}

LinkChoice TFormLierDoc::choice() const
{
    LinkChoice c;
    c.file = RadioFichier->isChecked();
    c.path = FichierDoc->text();
    c.text = Bloc->toPlainText();
    c.date = DateTimePicker1->date();
    return c;
}

void TFormLierDoc::choiceChanged()
{
    const bool file = RadioFichier->isChecked();
    FichierDoc->setEnabled(file);
    Bt_Parcourir->setEnabled(file);
    Bloc->setEnabled(!file);
    changed();
}

void TFormLierDoc::changed()
{
    if (rafraichir_) *rafraichir_ = true;
}

void TFormLierDoc::FormShow(const TCandidatureRec& rec, DocSlot slot, const QString& pastedText)
{
    Bloc->clear();
    FichierDoc->clear();
    RadioFichier->setText(radioCaption(slot));
    DateTimePicker1->setDate(initialLinkDate(rec, slot, QDate::currentDate()));
    const QString value = pathField(rec, slot).text();
    if (value != MarqueurTexte) {
        RadioFichier->setChecked(true);
        FichierDoc->setText(value);
    } else {
        RadioMemo->setChecked(true);
        Bloc->setPlainText(pastedText);
    }
    choiceChanged();
}

void TFormLierDoc::Bt_ParcourirClick()
{
    const QString chosen = dialogs::openFile(this, QStringLiteral("Fichier à attacher"), filtre());
    if (!chosen.isEmpty()) FichierDoc->setText(chosen);
}

void TFormLierDoc::Bt_OKClick()
{
    // A choice that cannot be stored keeps the dialog open, so that the user
    // can correct it.
    const QString problem = choiceProblem(choice());
    if (!problem.isEmpty()) {
        msg::error(problem);
        return;
    }
    accept();
}

bool TFormLierDoc::run(Store& store, qint32 id, int position, DocSlot slot, bool& rafraichirListing)
{
    position = findChosen(std::as_const(store).Candidatures, id, position);
    const TCandidatureRec* rec =
        position >= 0 ? &std::as_const(store).Candidatures[position] : nullptr;
    if (!rec) {
        msg::error(QStringLiteral("La candidature n° %1 est introuvable.").arg(id));
        return false;
    }
    // A pasted text that cannot be read is not shown as an empty one: OK
    // would then delete it.
    QString text;
    if (pathField(*rec, slot).text() == MarqueurTexte) {
        const QString textPath = pastedTextPath(store, slot, id);
        QString error;
        if (QFileInfo::exists(textPath) && !readTextFile(textPath, &text, &error)) {
            msg::error(QStringLiteral("Impossible de lire le fichier \"") + textPath +
                       QStringLiteral("\" :") + CR + CR + error);
            return false;
        }
    }
    FormShow(*rec, slot, text);

    rafraichir_ = &rafraichirListing;
    const int result = dialogs::exec(*this);
    rafraichir_ = nullptr;
    if (result != QDialog::Accepted) return false;
    const DocumentResult linked = linkDocument(store, id, slot, choice(), position);
    reported(linked.result);
    showErrors(linked.furtherErrors);
    if (!linked.result.ok) return false;
    rafraichirListing = true;
    return true;
}
