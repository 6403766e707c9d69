#include "directory/importsoc.h"

#include "directory/importrules.h"
#include "directory/previsualisation.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/frameservices.h"
#include "platform/messages.h"
#include "platform/widgets.h"
#include "store/programstate.h"
#include "store/texts.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{
QListWidget* fieldList(const char* name, QWidget* parent)
{
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setMinimumSize(190, 220);
    return l;
}

// The progress bar is repainted once per this many lines.
constexpr int kProgressEvery = 256;
} // namespace

TImportSoc::TImportSoc(ProgramState& state, FrameServices& frame, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), s_(state), frame_(frame)
{
    setObjectName(QStringLiteral("TImportSoc"));
    setWindowTitle(QStringLiteral("Import"));
    auto* layout = new QVBoxLayout(this);

    auto* fichier = new QGroupBox(QStringLiteral("Fichier à importer"), this);
    auto* fl = new QHBoxLayout(fichier);
    ImportFile = new QLineEdit(fichier);
    ImportFile->setObjectName(QStringLiteral("ImportFile"));
    QPushButton* browse = namedButton(QStringLiteral("Parcourir..."), "BitBtn2", fichier);
    fl->addWidget(ImportFile, 1);
    fl->addWidget(browse);
    layout->addWidget(fichier);

    RadioVirgule = namedRadio(QStringLiteral("Virgule"), "RadioVirgule", this);
    RadioPointVirgule = namedRadio(QStringLiteral("Point virgule"), "RadioPointVirgule", this);
    RadioGuillemets = namedRadio(QStringLiteral("\""), "RadioGuillemets", this);
    RadioApostrophe = namedRadio(QStringLiteral("'"), "RadioApostrophe", this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(
        radioPair(QStringLiteral("Séparateur"), RadioVirgule, RadioPointVirgule, this, true));
    choices->addWidget(
        radioPair(QStringLiteral("Délimiteur"), RadioGuillemets, RadioApostrophe, this, true));
    layout->addLayout(choices);

    auto* champs =
        new QGroupBox(QStringLiteral("Champs à importer (en fonction de votre fichier)"), this);
    auto* grid = new QGridLayout(champs);
    grid->addWidget(new QLabel(QStringLiteral("Champs disponibles"), champs), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Champs à importer"), champs), 0, 2);
    ListeDispo = fieldList("ListeDispo", champs);
    ListeImport = fieldList("ListeImport", champs);
    grid->addWidget(ListeDispo, 1, 0);
    grid->addWidget(ListeImport, 1, 2);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    auto* order = new QVBoxLayout;
    order->addStretch(1);
    const struct {
        const char* caption;
        const char* name;
        void (TImportSoc::*click)();
        QVBoxLayout* column;
    } buttons[] = {{">", "Button1", &TImportSoc::Button1Click, moves},
                   {"<", "Button2", &TImportSoc::Button2Click, moves},
                   {">>", "Button3", &TImportSoc::Button3Click, moves},
                   {"<<", "Button4", &TImportSoc::Button4Click, moves},
                   {"Monter", "Button6", &TImportSoc::Button6Click, order},
                   {"Descendre", "Button5", &TImportSoc::Button5Click, order}};
    for (const auto& b : buttons) {
        QPushButton* p = namedButton(QString::fromLatin1(b.caption), b.name, champs);
        b.column->addWidget(p);
        connect(p, &QPushButton::clicked, this, b.click);
    }
    moves->addStretch(1);
    order->addStretch(1);
    grid->addLayout(moves, 1, 1);
    grid->addLayout(order, 1, 3);
    layout->addWidget(champs);

    auto* note1 = new QLabel(QStringLiteral("Note: Société_Catégorie doit être égal à \"Société\" "
                                            "ou \"Cabinet de recrutement\" ou \"Intérim\"."),
                             this);
    note1->setObjectName(QStringLiteral("Label1"));
    auto* note2 = new QLabel(
        QStringLiteral("Contact_Dénomination doit être égal à \"Mr\" ou \"Mme\" ou \"Mlle\"."),
        this);
    note2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(note1);
    layout->addWidget(note2);

    QPushButton* preview = namedButton(QStringLiteral("Prévisualiser"), "BitBtn4", this);
    QPushButton* go = namedButton(QStringLiteral("Importer"), "BitBtn1", this);
    QPushButton* cancel = namedButton(QStringLiteral("Annuler"), "BitBtn3", this);
    go->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(preview);
    bottom->addStretch(1);
    bottom->addWidget(go);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QPushButton::clicked, this, &TImportSoc::BitBtn2Click);
    connect(preview, &QPushButton::clicked, this, &TImportSoc::BitBtn4Click);
    connect(go, &QPushButton::clicked, this, &TImportSoc::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TImportSoc::open()
{
    FormShow();
    centreOnScreen(this);
    dialogs::exec(*this);
}

void TImportSoc::FormShow()
{
    ImportFile->clear();
    RadioPointVirgule->setChecked(true);
    RadioGuillemets->setChecked(true);
    Button4Click();
}

void TImportSoc::BitBtn2Click()
{
    const QString file = dialogs::openFile(this, QStringLiteral("Ouvrir"),
                                           QStringLiteral("Fichier Texte (*.csv *.txt)"));
    if (!file.isEmpty()) ImportFile->setText(file);
}

void TImportSoc::Button1Click()
{
    QListWidgetItem* item = ListeDispo->currentItem();
    if (!item || !item->isSelected()) return;
    ListeImport->addItem(ListeDispo->takeItem(ListeDispo->row(item)));
}

void TImportSoc::Button2Click()
{
    QListWidgetItem* item = ListeImport->currentItem();
    if (!item || !item->isSelected()) return;
    if (MonChamp(item->text()) == 0) {
        msg::error(QStringLiteral("Vous ne pouvez pas retirer le champ Société"));
        return;
    }
    ListeDispo->addItem(ListeImport->takeItem(ListeImport->row(item)));
}

void TImportSoc::Button3Click()
{
    ListeDispo->clear();
    ListeImport->clear();
    ListeImport->addItems(importFieldNames());
}

void TImportSoc::Button4Click()
{
    const QStringList& names = importFieldNames();
    ListeDispo->clear();
    ListeImport->clear();
    ListeImport->addItem(names.first());
    ListeDispo->addItems(names.mid(1));
}

void TImportSoc::Button5Click()
{
    moveImportItem(1);
}

void TImportSoc::Button6Click()
{
    moveImportItem(-1);
}

void TImportSoc::moveImportItem(int by)
{
    QListWidgetItem* item = ListeImport->currentItem();
    if (!item || !item->isSelected()) return;
    const int row = ListeImport->row(item);
    const int to = row + by;
    if (to < 0 || to >= ListeImport->count()) return;
    ListeImport->takeItem(row);
    ListeImport->insertItem(to, item);
    ListeImport->setCurrentItem(item);
}

QStringList TImportSoc::importNames() const
{
    QStringList names;
    for (int i = 0; i < ListeImport->count(); ++i)
        names.append(ListeImport->item(i)->text());
    return names;
}

ImportSettings TImportSoc::settings() const
{
    ImportSettings s;
    s.separator = RadioVirgule->isChecked() ? QLatin1Char(',') : QLatin1Char(';');
    s.delimiter = RadioApostrophe->isChecked() ? QLatin1Char('\'') : QLatin1Char('"');
    for (const QString& name : importNames())
        s.columns.append(MonChamp(name));
    return s;
}

bool TImportSoc::fileChosen()
{
    if (QFileInfo(ImportFile->text()).isFile()) return true;
    msg::error(QStringLiteral("Veuillez sélectionner un fichier à importer valide"));
    return false;
}

void TImportSoc::BitBtn4Click()
{
    if (!fileChosen()) return;
    ImportText file;
    {
        const BusyCursor busy;
        file = readImportFile(ImportFile->text());
    }
    if (!file.error.isEmpty()) {
        msg::error(file.error);
        return;
    }
    if (!preview_) preview_ = new TPrevisualisation(parentWidget() ? parentWidget() : this);
    const ImportSettings s = settings();
    {
        const BusyCursor busy;
        preview_->fill(importNames(), file.text, s.separator, s.delimiter);
    }
    centreOnScreen(preview_);
    preview_->show();
    preview_->raise();
}

void TImportSoc::BitBtn1Click()
{
    // The dialog closes whatever the outcome.
    accept();
    if (!fileChosen()) return;
    ImportOutcome outcome;
    {
        const BusyCursor busy;
        const ImportText file = readImportFile(ImportFile->text());
        if (!file.error.isEmpty()) {
            msg::error(file.error);
            return;
        }
        const QList<QStringView> lines = readLines(file.text);
        frame_.progressStart(lines.size());
        int pending = 0;
        outcome = importDirectory(s_.store(), lines, settings(), [&] {
            if (++pending < kProgressEvery) return;
            frame_.progressStep(pending);
            pending = 0;
        });
        frame_.progressHide();
    }
    if (outcome.counts.societes > 0 || outcome.counts.contacts > 0) emit imported();
    if (!outcome.result.ok)
        msg::error(outcome.result.error + CR + CR + importSummary(outcome.counts));
    else
        msg::information(importSummary(outcome.counts));
}
