#include "platform/dialogs.h"

#include <QAbstractFileIconProvider>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>

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
// The type column of the chooser, which Qt's own translation leaves in English.
class FrenchFileTypes : public QAbstractFileIconProvider
{
public:
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir()) return QStringLiteral("Dossier");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Fichier")
                                : QStringLiteral("Fichier ") + suffix.toUpper();
    }
};

QString chosen(QFileDialog& d)
{
    if (d.exec() != QDialog::Accepted) return QString();
    return d.selectedFiles().value(0);
}
} // namespace

std::unique_ptr<QFileDialog> fileChooser(QWidget* parent, const QString& title,
                                         const QString& filter, bool saving,
                                         const QString& suggested)
{
    static FrenchFileTypes types;
    auto d = std::make_unique<QFileDialog>(parent, title, suggested, filter);
    d->setIconProvider(&types);
    d->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    return d;
}

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
    return chosen(*fileChooser(parent, title, filter, false));
}

QString saveFile(QWidget* parent, const QString& title, const QString& filter,
                 const QString& suggested, const QString& suffix)
{
    if (fileHook()) return fileHook()(title);
    const auto chooser = fileChooser(parent, title, filter, true, suggested);
    chooser->setDefaultSuffix(suffix);
    return chosen(*chooser);
}

} // namespace dialogs
