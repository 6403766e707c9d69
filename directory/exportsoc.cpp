#include "directory/exportsoc.h"

#include "directory/exportrules.h"
#include "platform/busycursor.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/report/spreadsheet.h"
#include "platform/shellopen.h"
#include "platform/widgets.h"
#include "store/programstate.h"
#include "store/systemerror.h"
#include "store/texts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TExportSoc::TExportSoc(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), s_(state)
{
    setObjectName(QStringLiteral("TExportSoc"));
    setWindowTitle(QStringLiteral("Export"));
    RadioSocOnly = namedRadio(QStringLiteral("Sociétés seulement"), "RadioSocOnly", this);
    RadioSocContact = namedRadio(QStringLiteral("Sociétés et contacts"), "RadioSocContact", this);
    RadioExcel = namedRadio(QStringLiteral("Ms Excel"), "RadioExcel", this);
    RadioCSV = namedRadio(QStringLiteral("CSV"), "RadioCSV", this);
    RadioVirgule = namedRadio(QStringLiteral("Virgule"), "RadioVirgule", this);
    RadioPointVirgule = namedRadio(QStringLiteral("Point virgule"), "RadioPointVirgule", this);
    RadioGuillemets = namedRadio(QStringLiteral("\""), "RadioGuillemets", this);
    RadioApostrophe = namedRadio(QStringLiteral("'"), "RadioApostrophe", this);
    auto* data =
        radioPair(QStringLiteral("Données à exporter"), RadioSocOnly, RadioSocContact, this);
    auto* format = radioPair(QStringLiteral("Format"), RadioExcel, RadioCSV, this);
    GroupSeparateur =
        radioPair(QStringLiteral("Séparateur"), RadioVirgule, RadioPointVirgule, this);
    GroupSeparateur->setObjectName(QStringLiteral("GroupSeparateur"));
    GroupDelimiteur =
        radioPair(QStringLiteral("Délimiteur"), RadioGuillemets, RadioApostrophe, this);
    GroupDelimiteur->setObjectName(QStringLiteral("GroupDelimiteur"));
    QPushButton* go = namedButton(QStringLiteral("Exporter"), "BitBtn1", this);
    go->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(data);
    top->addWidget(format);
    auto* csv = new QHBoxLayout;
    csv->addWidget(GroupSeparateur);
    csv->addWidget(GroupDelimiteur);
    layout->addLayout(top);
    layout->addLayout(csv);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(go);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(RadioExcel, &QRadioButton::clicked, this, [this] {
        GroupSeparateur->hide();
        GroupDelimiteur->hide();
    });
    connect(RadioCSV, &QRadioButton::clicked, this, [this] {
        GroupSeparateur->show();
        GroupDelimiteur->show();
    });
    connect(go, &QPushButton::clicked, this, &TExportSoc::BitBtn1Click);
}

void TExportSoc::FormShow()
{
    RadioSocOnly->setChecked(true);
    RadioExcel->setChecked(true);
    GroupSeparateur->hide();
    GroupDelimiteur->hide();
    RadioPointVirgule->setChecked(true);
    RadioGuillemets->setChecked(true);
}

void TExportSoc::open()
{
    FormShow();
    centreOnScreen(this);
    dialogs::exec(*this);
}

void TExportSoc::BitBtn1Click()
{
    const bool excel = RadioExcel->isChecked();
    QString file =
        dialogs::saveFile(this, QStringLiteral("Exporter les données"),
                          excel ? QStringLiteral("Fichier Excel (*.xlsx)")
                                : QStringLiteral("Fichier Texte (*.txt *.csv)"),
                          QString(), excel ? QStringLiteral("xlsx") : QStringLiteral("csv"));
    // The dialog closes in every case, also when the choice was cancelled.
    accept();
    if (file.isEmpty()) return;
    const QString suffix = excel ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    if (excel ? !file.endsWith(suffix, Qt::CaseInsensitive)
              : !file.contains(QLatin1Char('.'))) // a name typed without extension
        file += suffix;
    exportTo(file);
}

void TExportSoc::exportTo(const QString& file)
{
    const Store& store = s_.store();
    QString error;
    bool ok;
    {
        const BusyCursor busy;
        if (RadioExcel->isChecked()) {
            ok = report::writeXlsx(
                exportGrid(store.Societes, store.Contacts, RadioSocContact->isChecked()), file,
                &error);
        } else {
            QSaveFile out(file);
            ok = writeExportText(out, store.Societes, store.Contacts,
                                 {RadioSocContact->isChecked(),
                                  RadioVirgule->isChecked() ? ',' : ';',
                                  RadioApostrophe->isChecked() ? '\'' : '"'},
                                 &error);
        }
    }
    if (!ok) {
        msg::error(QStringLiteral("Impossible d'enregistrer \"%1\" :").arg(file) + CR + CR +
                   frenchErrorText(error));
        return;
    }
    if (RadioExcel->isChecked())
        ExecuteFile(file); // opened with the desktop's spreadsheet program
    else
        msg::information(QStringLiteral("Exportation terminée."));
}
