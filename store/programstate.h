#pragma once
// The state of the program between its windows: the data tables (through the
// store), the application and companies being worked on, the listing's sort
// and filters, and the web page waiting for its application. It holds no
// widget; the windows read it, change it through its setters and follow its
// signals.

#include "store/store.h"

#include <QObject>
#include <memory>

class ProgramState : public QObject
{
    Q_OBJECT
public:
    explicit ProgramState(const QString& programDir, QObject* parent = nullptr);
    // For tests: a store whose devices can fail.
    ProgramState(std::unique_ptr<Store> store, QObject* parent = nullptr);
    ~ProgramState() override;

    Store& store() { return *store_; }
    const Store& store() const { return *store_; }

    // The application open in the editor (or chosen in the listing), its
    // company, and the company shown in the directory.
    qint32 IdCandidature = 0;
    // Its position in the applications table, -1 when unknown. Two records
    // of a damaged file may share an id: the one the user chose is the one
    // at this position.
    int PositionCandidature = -1;
    void chooseCandidature(qint32 id, int position)
    {
        IdCandidature = id;
        PositionCandidature = position;
    }
    // Position of the application chosen: PositionCandidature while it still
    // holds IdCandidature, else the first live record with that id; -1 when
    // there is none.
    int chosenCandidature() const;
    qint32 IdSociete = 0;
    qint32 IdSocieteAnnuaire = 0;
    // The editor holds changes not written yet.
    bool CandidatureModifiee = false;
    // The listing must be rebuilt when it is next shown.
    bool RafraichirListing = false;

    // Sort letter ("d", "s", "c", "i", "r", "t", "m") and direction ("" or "desc").
    QString Tri, Sens;
    void setSort(const QString& tri, const QString& sens);

    // The three filters of the listing; at most one of the last two is on.
    bool MasquerTerminees = false;
    bool AlarmesSeules = false;
    bool RelancesSeules = false;
    void setMasquerTerminees(bool on);
    void setAlarmesSeules(bool on);
    void setRelancesSeules(bool on);

    // The sort menu of the frame is shown on the listing, not in the editor.
    bool MenuAffichageVisible = true;

    // A web page made into a PDF, waiting for the application it goes into,
    // and the document slot it fills ("OFFRE", "CV", ...).
    QString FichierImport;
    QString TypeImport;

    // Asks the listing to be rebuilt now.
    void requestListing() { emit listingRequested(); }
    // Tells every view that companies or contacts changed.
    void companyAdded(const QString& nom) { emit companiesChanged(nom); }
    void contactAdded(qint32 societe, const QString& nom) { emit contactsChanged(societe, nom); }
    void contactsRemoved(qint32 societe) { emit contactsChanged(societe, QString()); }
    // A data file could not be rewritten: everything on disk is whole, and
    // the program must end once its workers have stopped.
    void requestEnd() { emit endRequested(); }

signals:
    void sortChanged();
    void filtersChanged();
    void listingRequested();
    // `added` is the name of a company just added, or empty.
    void companiesChanged(const QString& added);
    // `added` is the name of a contact just added to `societe`, or empty.
    void contactsChanged(qint32 societe, const QString& added);
    void endRequested();

private:
    std::unique_ptr<Store> store_;
};
