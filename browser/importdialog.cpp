#include "browser/importdialog.h"

#include "platform/dialogs.h"
#include "platform/showresult.h"
#include "platform/widgets.h"
#include "store/programstate.h"

#include <QCloseEvent>
#include <QPushButton>

ImportDialog::ImportDialog(ProgramState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), s_(state)
{
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = namedButton(QStringLiteral("Annuler"), "BitBtn2", this);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &ImportDialog::BitBtn2Click);
}

int ImportDialog::openModal()
{
    centreOnScreen(this);
    return dialogs::exec(*this);
}

void ImportDialog::BitBtn2Click()
{
    if (!s_.FichierImport.isEmpty()) {
        if (!reported(s_.store().DeleteFichier(s_.FichierImport))) return;
        s_.FichierImport.clear();
    }
    done(QDialog::Rejected);
}

void ImportDialog::closeEvent(QCloseEvent* e)
{
    e->ignore();
}
