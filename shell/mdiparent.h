#pragma once
// TMDIParent: the program's top-level window, with the menu bar, the status
// bar and the progress bar. Its one child is the main window TFormGeneral.

#include "shell/langmodule.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class TFormGeneral;

class TMDIParent : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMDIParent(const QString& programDir);
    ~TMDIParent() override;

    // Frame set-up: size, language module, caption, menu texts. False when
    // the language module could not be loaded: the program then ends.
    bool FormCreate();
    // Creates the main window; false when its set-up ended the program.
    bool createMainWindow();

    QString programDir() const { return programDir_; }
    TFormGeneral* formGeneral() const { return form_; }
    LanguageModule& language() { return language_; }
    QString helpFile() const { return helpFile_; }

    // Errors that no operation handles end here: an error box with their text.
    static void Gestion_Erreur(const QString& text);

    // Menu texts from the language module; every top-level menu 10 pixels
    // wider than its caption.
    void SetLang();

    // Checks one of the seven sort commands and unchecks the six others.
    void DeSelectMenu(QAction* sortCommand);

    // The caption: "ORVALDIS <version> :: <text 50> ::".
    QString caption() const;

    QLabel* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    QMenu* MenuFichier = nullptr;
    QMenu* MenuAffichage = nullptr;
    QMenu* MenuOptions = nullptr;
    QMenu* MenuAide = nullptr;
    QAction* MenuQuitter = nullptr;
    QAction* MenuTri[7] = {}; // date, company, category, title, appointment, status, marker
    QAction* MenuCroissant = nullptr;
    QAction* MenuDecroissant = nullptr;
    QAction* MenuPersonnaliser = nullptr;
    QAction* MenuAPropos = nullptr;

    // The size rule: a 1020 × 720 inner area on a screen wider than 1024 and
    // higher than 768 pixels; otherwise 800 × 600, maximised.
    struct FrameSize {
        QSize inner;
        bool maximised;
    };
    static FrameSize frameSizeFor(const QSize& screen);

    // Brings the window to the front, restoring it when minimised.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenus();
    void applySize();
    void FormClose();

    QString programDir_;
    QString helpFile_;
    LanguageModule language_;
    TFormGeneral* form_ = nullptr;
    bool closed_ = false;
};
