#pragma once
// The application editor: opening an application from the listing, saving
// what the user changed, the appointment, the contact link, the documents,
// the deletion, and the way back to the listing.

#include "platform/report/report.h"

#include <QObject>
#include <QStringList>

class ApplicationsPage;
class FrameServices;
class MailSender;
class ProgramState;
class ZoneCandidature;
class TCalendrier;
class TFormLierDoc;
struct TCandidatureRec;

class ApplicationEditor : public QObject
{
    Q_OBJECT
public:
    ApplicationEditor(ApplicationsPage& page, ProgramState& state, FrameServices& frame,
                      MailSender& mail);

    bool isOpen() const;

    // Opens (or reloads) the application IdCandidature.
    void StringGrid1DblClick();
    void ResetCandidature();
    // Writes what the editor holds when it was changed; false when the
    // changes could not be written (they stay in the editor).
    bool SauveCandidature();
    void lien_RetourListingClick();
    void lien_SupprimerCandidatureClick();

    // The report of the open application: preview, print, PDF file.
    void lien_apercuRapportClick();
    void lien_printRapportClick();
    void lien_saveRapportClick();

    void DefinirDateClick();
    void RDVsupprimerClick();
    void CheckBoxAlerteClick();
    void CtajoutClick();
    void CtsupprimerClick();
    void CtemailClick();

    // The three buttons of the document slots (0 offer … 4 reply).
    void voirClick(int slot);
    void ajoutClick(int slot);
    void supprimerClick(int slot);

    // The list of known sources, sorted.
    void clearSources();
    void setSources(const QStringList& sources);
    QStringList sources() const;

    void SetLang();

    TCalendrier* calendrier() const { return calendrier_; }

    // Notes files longer than this are shown cut, read only, and never written.
    static constexpr qint64 NotesShownMax = qint64(1) << 20;

signals:
    // An application is about to be shown: the windows that add companies
    // or applications close.
    void aboutToOpen();
    // The windows that choose or add a contact of the open application close.
    void contactWindowsClosing();
    // The user asked to choose the contact of the open application.
    void contactChooserRequested();

private:
    const TCandidatureRec* current(int* position = nullptr) const;
    void showCompany(qint32 societeId);
    void showContact(qint32 contactId);
    void showDocuments(const TCandidatureRec& c);
    void showAppointment(const TCandidatureRec& c);
    void showFigures();
    void closeEditor();
    void closeContactWindows();
    void addSource(const QString& source);
    QString notesPath(qint32 id) const;
    // Shows the notes of an application as its file holds them.
    void showNotes(qint32 id);
    void setNotesText(const QString& text);

    void leaveToListing();
    // Saves the open application; false (with the message shown) when it
    // keeps changes that could not be written.
    bool savedForReport();
    // The report of the open application, prepared.
    report::Report applicationReport() const;

    ApplicationsPage& page_;
    ProgramState& s_;
    FrameServices& frame_;
    MailSender& mail_;
    ZoneCandidature* z_;
    TCalendrier* calendrier_ = nullptr;
    // The user changed the notes since they were shown: only then is their
    // file written, so that opening an application leaves it byte for byte.
    bool notesChanged_ = false;
    bool settingNotes_ = false;
};
