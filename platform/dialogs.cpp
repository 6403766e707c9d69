#include "platform/dialogs.h"

#include <QDialog>
#include <QFileDialog>

namespace dialogs
{
namespace
{
ExecHook& execHook()
{
    static ExecHook h;
    return h;
}
FileHook& fileHook()
{
    static FileHook h;
    return h;
}
} // namespace

void setExecHook(ExecHook hook)
{
    execHook() = std::move(hook);
}
void setFileHook(FileHook hook)
{
    fileHook() = std::move(hook);
}

int exec(QDialog& dialog)
{
    if (execHook()) return execHook()(dialog);
    return dialog.exec();
}

QString openFile(QWidget* parent, const QString& title, const QString& filter)
{
    if (fileHook()) return fileHook()(title);
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString saveFile(QWidget* parent, const QString& title, const QString& filter,
                 const QString& suggested)
{
    if (fileHook()) return fileHook()(title);
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

} // namespace dialogs
