#include "directory/ajoutfournisseur.h"

#include "directory/companyfields.h"
#include "platform/messages.h"
#include "platform/showresult.h"
#include "store/cp1252.h"
#include "store/programstate.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

TFormAjoutFournisseur::TFormAjoutFournisseur(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      s_(state)
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
    connect(ok, &QPushButton::clicked, this, &TFormAjoutFournisseur::Annu_saveClick);
    cabinet_ = cabinet;
    interim_ = interim;
    parts_ = {fields, societe};
}

void TFormAjoutFournisseur::refuse(const QString& text)
{
    QWidget* typing = focusWidget();
    msg::error(text);
    raise();
    activateWindow();
    (typing ? typing : parts_.fields->field(CompanyFields::Nom))->setFocus();
}

void TFormAjoutFournisseur::Annu_saveClick()
{
    const QString nom = parts_.fields->text(CompanyFields::Nom);
    if (nom.isEmpty()) {
        refuse(QStringLiteral("Impossible d'ajouter cette société: Nom vide"));
        return;
    }
    Store& store = s_.store();
    const QByteArray bytes = cp1252::encode(nom.left(50));
    for (const TSocieteRec& s : std::as_const(store.Societes)) {
        if (isLive(s) && s.nom.bytes() == bytes) {
            refuse(QStringLiteral("Une société portant ce nom existe déjà"));
            return;
        }
    }
    if (const QString problem = parts_.fields->unstorableText(); !problem.isEmpty()) {
        refuse(problem);
        return;
    }
    TSocieteRec r{};
    parts_.fields->saveInto(r);
    qint32 id = 0;
    if (!reported(store.nextIdSociete(&id))) return;
    r.id = id;
    r.categorie = cabinet_->isChecked()   ? QStringLiteral("C")
                  : interim_->isChecked() ? QStringLiteral("I")
                                          : QStringLiteral("S");
    if (!reported(store.append(r))) {
        raise();
        activateWindow();
        return;
    }
    accept();
    // The views that list companies follow.
    s_.companyAdded(nom);
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
