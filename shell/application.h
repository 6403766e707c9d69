#pragma once
// The application object: every event goes through notify(), where an error
// that no handler dealt with is shown in an error box and the program goes on.

#include <QApplication>

class OrvaldisApplication : public QApplication
{
public:
    OrvaldisApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Directory of the executable: the program's data live there.
    static QString programDir();
};

// Qt's own texts (buttons, file and print dialogs) in the language of the
// module: French unless the English module is in use.
void installQtTranslations(const QString& languageModule);
