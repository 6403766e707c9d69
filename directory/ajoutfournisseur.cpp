#include "directory/ajoutfournisseur.h"

#include "applications/fournisseurs.h"
#include "directory/companyfields.h"
#include "directory/directorypage.h"
#include "directory/directoryrules.h"
#include "platform/messages.h"
#include "shell/formgeneral.h"
#include "store/cp1252.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFormAjoutFournisseur* TFormGeneral::ajoutFournisseur()
{
    if (!ajoutFournisseur_) ajoutFournisseur_ = new TFormAjoutFournisseur(*this);
    return ajoutFournisseur_;
}

TFormAjoutFournisseur::TFormAjoutFournisseur(TFormGeneral& form)
    : QDialog(&form, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TFormAjoutFournisseur"));
    setWindowTitle(QStringLiteral("Ajout d'une société"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    auto* fields = new CompanyFields(this, grid, row);
    fields->setObjectName(QStringLiteral("fields"));
    layout->addLayout(grid);
    auto* cat = new QGroupBox(QStringLiteral("Catégorie"), this);
    cat->setObjectName(QStringLiteral("GroupBox1"));
    auto* cl = new QHBoxLayout(cat);
    auto* societe = new QRadioButton(QStringLiteral("Société"), cat);
    auto* cabinet = new QRadioButton(QStringLiteral("Cabinet de recrutement"), cat);
    auto* interim = new QRadioButton(QStringLiteral("Intérim"), cat);
    societe->setObjectName(QStringLiteral("RadioSociete"));
    cabinet->setObjectName(QStringLiteral("RadioCabinet"));
    interim->setObjectName(QStringLiteral("RadioInterim"));
    for (QRadioButton* r : {societe, cabinet, interim})
        cl->addWidget(r);
    layout->addWidget(cat);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Annu_save"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("Annu_delete"));
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, [this, &form, fields, societe, cabinet, interim] {
        // Annu_saveClick
        const QString nom = fields->text(CompanyFields::Nom);
        Store& store = form.store();
        if (nom.isEmpty()) {
            msg::error(QStringLiteral("Impossible d'ajouter cette société: Nom vide"));
            return;
        }
        const QByteArray bytes = cp1252::encode(nom.left(50));
        for (const TSocieteRec& s : store.Societes) {
            if (isLive(s) && s.nom.bytes() == bytes) {
                msg::error(QStringLiteral("Une société portant ce nom existe déjà"));
                return;
            }
        }
        if (fields->unstorableField() >= 0) {
            msg::error(QStringLiteral("Un des champs contient des caractères que le programme ne "
                                      "peut pas enregistrer. Remplacez-les, puis recommencez."));
            return;
        }
        TSocieteRec r{};
        fields->saveInto(r);
        r.id = store.nextIdSociete();
        r.categorie = cabinet->isChecked()   ? QStringLiteral("C")
                      : interim->isChecked() ? QStringLiteral("I")
                                             : QStringLiteral("S");
        if (!store.append(r)) return;
        // UpdateGestionFournisseur: the views that list companies follow.
        if (form.Tabulations->currentIndex() == 1 && form.directory())
            form.directory()->AnnuSelect(groupKeyOf(nom));
        if (TFormGeneral::onScreen(form.fournisseurs_)) form.fournisseurs()->fillCompanies(nom);
        accept();
        Q_UNUSED(societe);
    });
    parts_ = {fields, societe};
}

void TFormAjoutFournisseur::showAdd()
{
    parts_.fields->clear();
    parts_.societe->setChecked(true);
    show();
    raise();
    activateWindow();
    parts_.fields->field(CompanyFields::Nom)->setFocus();
}
