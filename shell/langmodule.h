#pragma once
// The language module: Lang/<name>.so beside the program, exporting
// `const char* GetTxt(int id)` that gives the Windows-1252 text of an id.

#include <QLibrary>
#include <QString>

class LanguageModule
{
public:
    // Picks the module named by the "lang" setting when its file exists in
    // Lang/, otherwise Lang/Francais.so; loads it and finds GetTxt. A failure
    // shows its messages and gives false: the program then ends.
    bool load(const QString& programDir, const QString& settingName);

    // Path of the module that `load` picks for a setting.
    static QString choose(const QString& programDir, const QString& settingName);

    // Base name of the loaded module ("Francais", "English").
    QString name() const { return name_; }

    QString text(int id) const;

    // Releases the module at shutdown; texts are then empty.
    void release();

private:
    using GetTxtFn = const char* (*)(int);
    QLibrary library_;
    GetTxtFn getTxt_ = nullptr;
    QString name_;
};

// Files of the available modules, without folder and extension, in the
// order the directory gives them.
QStringList availableLanguages(const QString& programDir);
