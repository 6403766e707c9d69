#pragma once
// TAboutBox: the version of the program and how to reach its authors.

#include <QDialog>

class TFormGeneral;
class LinkLabel;
class QLabel;
class QPushButton;

class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(TFormGeneral& form);

    void openModal();

    // Where the links lead.
    static const QString SupportAddress;
    static const QString SiteAddress;
    static const QString LogoAddress;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A new e-mail to the support address, its subject naming this version.
    void LienContactClick();
    void LienSiteClick();
    void LienLogoClick();

    TFormGeneral& f_;
    QLabel* Image1 = nullptr;
    QLabel* Version = nullptr;
    LinkLabel* LienContact = nullptr;
    LinkLabel* LienLogo = nullptr;
    LinkLabel* LienSite = nullptr;
    QPushButton* BitBtn1 = nullptr;
};
