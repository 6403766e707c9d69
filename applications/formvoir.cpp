#include "applications/formvoir.h"

#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/shellopen.h"
#include "store/store.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TFormVoir::TFormVoir(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormVoir"));
    setWindowTitle(QStringLiteral("Voir le document"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    resize(640, 480);
}

void VoirPJ(QWidget* parent, const Store& store, DocSlot slot, const QString& value, qint32 id)
{
    const QString notFound = QStringLiteral("Impossible de trouver ");
    if (value != MarqueurTexte) {
        if (QFileInfo(value).isFile())
            ExecuteFile(value);
        else
            msg::error(notFound + value);
        return;
    }
    const QString path = pastedTextPath(store, slot, id);
    if (!QFileInfo(path).isFile()) {
        msg::error(notFound + path);
        return;
    }
    QString text, error;
    if (!readTextFile(path, &text, &error)) {
        msg::error(QStringLiteral("Impossible de lire le fichier \"") + path +
                   QStringLiteral("\" :") + CR + CR + error);
        return;
    }
    TFormVoir voir(parent);
    voir.Memo1->setPlainText(text);
    dialogs::exec(voir);
}
