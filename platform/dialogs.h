#pragma once
// Every modal dialog and file chooser of the program opens through here, so
// that tests can answer them the way they answer message boxes.

#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QFileDialog;
class QWidget;

namespace dialogs
{

// Runs a modal dialog; returns QDialog::Accepted or Rejected.
int exec(QDialog& dialog);

// The file the user picks to open, empty when cancelled. `filter` is in
// Qt's form ("Documents (*.doc *.pdf);;Tous les fichiers (*)").
QString openFile(QWidget* parent, const QString& title, const QString& filter);
// The file the user names to save to, empty when cancelled. A name typed
// without extension gets `suffix` ("pdf") before the dialog asks whether to
// replace an existing file, so the question is about the file written.
QString saveFile(QWidget* parent, const QString& title, const QString& filter,
                 const QString& suggested = QString(), const QString& suffix = QString());

// The chooser behind openFile and saveFile: every text of it in French,
// file types included ("Dossier", "Fichier PDF").
std::unique_ptr<QFileDialog> fileChooser(QWidget* parent, const QString& title,
                                         const QString& filter, bool saving,
                                         const QString& suggested = QString());

// Test hooks: while set, they answer in place of the user.
using ExecHook = std::function<int(QDialog&)>;
using FileHook = std::function<QString(const QString& title)>;
void setExecHook(ExecHook hook);
void setFileHook(FileHook hook);

} // namespace dialogs
