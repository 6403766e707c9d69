#include "directory/directorypage.h"

#include "directory/companyfields.h"
#include "directory/companysheet.h"
#include "directory/contactops.h"
#include "directory/directoryrules.h"
#include "directory/exportsoc.h"
#include "directory/importsoc.h"
#include "directory/impressionsociete.h"
#include "platform/busycursor.h"
#include "platform/frameservices.h"
#include "platform/mailsender.h"
#include "platform/messages.h"
#include "platform/panels.h"
#include "platform/report/output.h"
#include "platform/report/templatereader.h"
#include "platform/shellopen.h"
#include "platform/showresult.h"
#include "platform/widgets.h"
#include "reports/reportwindows.h"
#include "store/programstate.h"
#include "store/texts.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

namespace
{

struct GroupButton {
    const char* name;
    const char* caption;
};
const GroupButton kGroups[15] = {
    {"Bt_Annu09", "0-9"}, {"Bt_AnnuAB", "A-B"}, {"Bt_AnnuCD", "C-D"},     {"Bt_AnnuEF", "E-F"},
    {"Bt_AnnuGH", "G-H"}, {"Bt_AnnuIJ", "I-J"}, {"Bt_AnnuKL", "K-L"},     {"Bt_AnnuMN", "M-N"},
    {"Bt_AnnuOP", "O-P"}, {"Bt_AnnuQR", "Q-R"}, {"Bt_AnnuST", "S-T"},     {"Bt_AnnuUV", "U-V"},
    {"Bt_AnnuWX", "W-X"}, {"Bt_AnnuYZ", "Y-Z"}, {"Bt_AnnuAll_", "Toutes"}};

} // namespace

DirectoryPage::DirectoryPage(ProgramState& state, FrameServices& frame, MailSender& mail,
                             QWidget* parent)
    : QWidget(parent), s_(state), frame_(frame), mail_(mail)
{
    setObjectName(QStringLiteral("TabSheet2"));
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 8);
    auto* column = new QVBoxLayout;
    buildPanel();
    column->addWidget(Panel_Societes);
    column->addStretch(1);
    page->addLayout(column);
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("DirectoryArea"));
    page->addWidget(area, 1);
    build(area);

    ResetAnnuaire();
    // At start the categories can be chosen, until the first group is listed.
    for (QRadioButton* r : {RadioAnnuSociete, RadioAnnuCabinet, RadioAnnuInterim})
        r->setEnabled(true);
    connect(lien_NouvelleSociete, &LinkLabel::clicked, this,
            &DirectoryPage::lien_NouvelleSocieteClick);
    installEventFilter(this);
    Panel_Societes->installEventFilter(this);
}

void DirectoryPage::buildPanel()
{
    Panel_Societes =
        new SidePanel(QStringLiteral("Panel_Societes"), QStringLiteral("Titre_Societes"), this);
    lien_NouvelleSociete =
        Panel_Societes->addLink(QStringLiteral("lien_NouvelleSociete"), QString(), "new");
    lien_ApercuSociete =
        Panel_Societes->addLink(QStringLiteral("lien_ApercuSociete"), QString(), "preview");
    lien_ImprimerSociete =
        Panel_Societes->addLink(QStringLiteral("lien_ImprimerSociete"), QString(), "print");
    lien_MailerSociete =
        Panel_Societes->addLink(QStringLiteral("lien_MailerSociete"), QString(), "export");
    lien_exportSoc = Panel_Societes->addLink(QStringLiteral("lien_exportSoc"), QString(), "export");
    lien_importSoc = Panel_Societes->addLink(QStringLiteral("lien_importSoc"), QString(), "new");
    connect(lien_importSoc, &LinkLabel::clicked, this, &DirectoryPage::lien_importSocClick);
    connect(lien_exportSoc, &LinkLabel::clicked, this, &DirectoryPage::lien_exportSocClick);
    connect(lien_ApercuSociete, &LinkLabel::clicked, this, &DirectoryPage::lien_ApercuSocieteClick);
    connect(lien_ImprimerSociete, &LinkLabel::clicked, this,
            &DirectoryPage::lien_ImprimerSocieteClick);
    connect(lien_MailerSociete, &LinkLabel::clicked, this, &DirectoryPage::lien_MailerSocieteClick);
}

void DirectoryPage::SetLang()
{
    Panel_Societes->title()->setText(GetTxt(113));
    lien_NouvelleSociete->setCaption(GetTxt(114));
    lien_ApercuSociete->setCaption(GetTxt(105));
    lien_ImprimerSociete->setCaption(GetTxt(115));
    lien_importSoc->setCaption(GetTxt(116));
    lien_exportSoc->setCaption(GetTxt(117));
    lien_MailerSociete->setCaption(GetTxt(118));
    Panel_Societes->fitHeight();
}

bool DirectoryPage::eventFilter(QObject* watched, QEvent* e)
{
    if ((watched == this || watched == Panel_Societes) &&
        (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        emit panelsMoved();
    return QWidget::eventFilter(watched, e);
}

void DirectoryPage::build(QWidget* area)
{
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    auto* left = new QVBoxLayout;
    auto* rapide = new QGroupBox(QStringLiteral("Accès rapide"), area);
    rapide->setObjectName(QStringLiteral("Grp_AnnuRapide"));
    auto* grid = new QGridLayout(rapide);
    grid->setSpacing(3);
    for (int i = 0; i < 15; ++i) {
        QPushButton* b =
            namedButton(QString::fromLatin1(kGroups[i].caption), kGroups[i].name, rapide);
        b->setMinimumWidth(40);
        grid->addWidget(b, i / 5, i % 5);
        const QString name = QString::fromLatin1(kGroups[i].name);
        const QChar key = name.at(name.size() - 1).toLower();
        connect(b, &QPushButton::clicked, this, [this, key] { AnnuSelect(key); });
    }
    left->addWidget(rapide);
    auto* liste = new QGroupBox(QStringLiteral("Liste des sociétés"), area);
    auto* lv = new QVBoxLayout(liste);
    ListeSocietes = new QListWidget(liste);
    ListeSocietes->setObjectName(QStringLiteral("ListeSocietes"));
    ListeSocietes->setUniformItemSizes(true);
    lv->addWidget(ListeSocietes);
    connect(ListeSocietes, &QListWidget::itemClicked, this, &DirectoryPage::ListeSocietesClick);
    connect(ListeSocietes, &QListWidget::currentRowChanged, this, [this] { ListeSocietesClick(); });
    left->addWidget(liste, 1);
    layout->addLayout(left, 4);

    auto* details = new QGroupBox(QStringLiteral("Détails de la sélection"), area);
    auto* form = new QGridLayout(details);
    form->setVerticalSpacing(3);
    Bt_AnnuMailer = namedButton(QStringLiteral("Mailer"), "Bt_AnnuMailer", details);
    Bt_AnnuVoir = namedButton(QStringLiteral("Voir"), "Bt_AnnuVoir", details);
    int row = 0;
    fields = new CompanyFields(details, form, row, Bt_AnnuMailer, Bt_AnnuVoir);

    auto* cat = new QGroupBox(QStringLiteral("Catégorie"), details);
    cat->setObjectName(QStringLiteral("GroupBox1"));
    auto* cl = new QHBoxLayout(cat);
    RadioAnnuSociete = new QRadioButton(QStringLiteral("Société"), cat);
    RadioAnnuCabinet = new QRadioButton(QStringLiteral("Cabinet de recrutement"), cat);
    RadioAnnuInterim = new QRadioButton(QStringLiteral("Intérim"), cat);
    RadioAnnuSociete->setObjectName(QStringLiteral("RadioAnnuSociete"));
    RadioAnnuCabinet->setObjectName(QStringLiteral("RadioAnnuCabinet"));
    RadioAnnuInterim->setObjectName(QStringLiteral("RadioAnnuInterim"));
    categories_ = new QButtonGroup(this);
    for (QRadioButton* r : {RadioAnnuSociete, RadioAnnuCabinet, RadioAnnuInterim}) {
        categories_->addButton(r);
        cl->addWidget(r);
    }
    form->addWidget(cat, row++, 0, 1, 3);

    Bt_AnnuContacts = namedButton(QString(), "Bt_AnnuContacts", details);
    // The button keeps its room while hidden: the buttons below never move.
    QSizePolicy keep = Bt_AnnuContacts->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Bt_AnnuContacts->setSizePolicy(keep);
    form->addWidget(Bt_AnnuContacts, row++, 1, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    Annu_save = namedButton(QStringLiteral("Enregistrer les modifications"), "Annu_save", details);
    Annu_delete = namedButton(QStringLiteral("Supprimer cette société"), "Annu_delete", details);
    buttons->addStretch(1);
    buttons->addWidget(Annu_save);
    buttons->addWidget(Annu_delete);
    form->addLayout(buttons, row++, 0, 1, 3);

    auto* figures = new QGroupBox(QStringLiteral("Quelques chiffres..."), details);
    figures->setObjectName(QStringLiteral("GroupBox4"));
    auto* fl = new QVBoxLayout(figures);
    LabelAnnuStatCandidatures = new QLabel(figures);
    LabelAnnuStatsReponses = new QLabel(figures);
    LabelAnnuEntretiens = new QLabel(figures);
    LabelAnnuTempsReponses = new QLabel(figures);
    LabelAnnuStatCandidatures->setObjectName(QStringLiteral("LabelAnnuStatCandidatures"));
    LabelAnnuStatsReponses->setObjectName(QStringLiteral("LabelAnnuStatsReponses"));
    LabelAnnuEntretiens->setObjectName(QStringLiteral("LabelAnnuEntretiens"));
    LabelAnnuTempsReponses->setObjectName(QStringLiteral("LabelAnnuTempsReponses"));
    for (QLabel* l : {LabelAnnuStatCandidatures, LabelAnnuStatsReponses, LabelAnnuEntretiens,
                      LabelAnnuTempsReponses})
        fl->addWidget(l);
    form->addWidget(figures, row++, 0, 1, 3);
    form->setRowStretch(row, 1);
    layout->addWidget(details, 6);

    connect(Annu_save, &QPushButton::clicked, this, &DirectoryPage::Annu_saveClick);
    connect(Annu_delete, &QPushButton::clicked, this, &DirectoryPage::Annu_deleteClick);
    connect(Bt_AnnuMailer, &QPushButton::clicked, this, &DirectoryPage::Bt_AnnuMailerClick);
    connect(Bt_AnnuVoir, &QPushButton::clicked, this, &DirectoryPage::Bt_AnnuVoirClick);
    connect(Bt_AnnuContacts, &QPushButton::clicked, this, &DirectoryPage::Bt_AnnuContactsClick);
}

void DirectoryPage::TabSheet2Show()
{
    frame_.setSortMenuVisible(false);
    frame_.placePanels();
}

// ---- Groups and selection ---------------------------------------------------------

void DirectoryPage::AnnuSelect(QChar key)
{
    group_ = key;
    const QStringList names = companiesOfGroup(s_.store().Societes, key);
    const QSignalBlocker block(ListeSocietes);
    ListeSocietes->clear();
    ListeSocietes->addItems(names);
    ResetAnnuaire();
}

void DirectoryPage::ResetAnnuaire()
{
    Annu_save->setEnabled(false);
    Annu_delete->setEnabled(false);
    Bt_AnnuContacts->hide();
    for (LinkLabel* l : {lien_MailerSociete, lien_ApercuSociete, lien_ImprimerSociete})
        l->setEnabled(false);
    fields->clear();
    categories_->setExclusive(false);
    for (QRadioButton* r : {RadioAnnuSociete, RadioAnnuCabinet, RadioAnnuInterim}) {
        r->setChecked(false);
        r->setEnabled(false);
    }
    categories_->setExclusive(true);
    for (QLabel* l : {LabelAnnuStatCandidatures, LabelAnnuStatsReponses, LabelAnnuEntretiens,
                      LabelAnnuTempsReponses})
        l->clear();
}

void DirectoryPage::ListeSocietesClick()
{
    QListWidgetItem* item = ListeSocietes->currentItem();
    if (!item || !item->isSelected()) return;
    const QString name = item->text();
    const QList<TSocieteRec>& socs = s_.store().Societes;
    for (const TSocieteRec& s : socs) {
        if (!isLive(s) || s.nom.text() != name) continue;
        fields->load(s);
        s_.IdSocieteAnnuaire = s.id;
        if (s.categorie.equals("S"))
            RadioAnnuSociete->setChecked(true);
        else if (s.categorie.equals("C"))
            RadioAnnuCabinet->setChecked(true);
        else if (s.categorie.equals("I"))
            RadioAnnuInterim->setChecked(true);
        updateContactsButton();
        showFigures(s.id);
        break;
    }
    for (QRadioButton* r : {RadioAnnuSociete, RadioAnnuCabinet, RadioAnnuInterim})
        r->setEnabled(true);
    Annu_save->setEnabled(true);
    Annu_delete->setEnabled(true);
    Bt_AnnuContacts->show();
    for (LinkLabel* l : {lien_MailerSociete, lien_ApercuSociete, lien_ImprimerSociete})
        l->setEnabled(true);
}

void DirectoryPage::updateContactsButton()
{
    int n = 0;
    for (const TContactRec& k : s_.store().Contacts)
        if (isLive(k) && qint32(k.id_societe) == s_.IdSocieteAnnuaire) ++n;
    Bt_AnnuContacts->setText(contactsCaption(n));
}

QString DirectoryPage::annuNom() const
{
    return fields->text(CompanyFields::Nom);
}

void DirectoryPage::showFigures(qint32 societeId)
{
    const QStringList t =
        directoryFigureTexts(companyFigures(s_.store().Candidatures, societeId), QLocale::system());
    QLabel* labels[4] = {LabelAnnuStatCandidatures, LabelAnnuStatsReponses, LabelAnnuEntretiens,
                         LabelAnnuTempsReponses};
    for (int i = 0; i < 4; ++i)
        labels[i]->setText(t.value(i));
}

// ---- Saving and deleting -----------------------------------------------------------------

void DirectoryPage::Annu_saveClick()
{
    QListWidgetItem* item = ListeSocietes->currentItem();
    if (!item) return;
    // A company without a name would be lost at the next start.
    if (annuNom().trimmed().isEmpty()) {
        msg::error(QStringLiteral("Impossible d'enregistrer cette société : Nom vide"));
        return;
    }
    if (const QString problem = fields->unstorableText(); !problem.isEmpty()) {
        msg::error(problem);
        return;
    }
    Store& store = s_.store();
    const QString name = item->text();
    for (int i = 0; i < store.Societes.size(); ++i) {
        const TSocieteRec& s = store.Societes[i];
        if (!isLive(s) || s.nom.text() != name) continue;
        if (!msg::confirm(
                QStringLiteral("Etes-vous sûr de vouloir enregistrer les modifications ?")))
            continue;
        TSocieteRec copy = s;
        fields->saveInto(copy);
        if (RadioAnnuSociete->isChecked())
            copy.categorie = QStringLiteral("S");
        else if (RadioAnnuCabinet->isChecked())
            copy.categorie = QStringLiteral("C");
        else if (RadioAnnuInterim->isChecked())
            copy.categorie = QStringLiteral("I");
        std::optional<BusyCursor> busy(std::in_place);
        const Result written = store.UpdateSociete(i, copy);
        busy.reset();
        if (reported(written)) {
            item->setText(annuNom());
            s_.RafraichirListing = true;
            msg::information(QStringLiteral("Modifications enregistrées."));
        }
        return;
    }
}

void DirectoryPage::Annu_deleteClick()
{
    const QString refusal = companyDeletionRefusal(s_.store().Candidatures, s_.IdSocieteAnnuaire);
    if (!refusal.isEmpty()) {
        msg::error(refusal);
        return;
    }
    if (!msg::confirm(CompanyDeletionQuestion)) return;
    std::optional<BusyCursor> busy(std::in_place);
    const RewriteResult deleted = DelSociete(s_.store(), s_.IdSocieteAnnuaire);
    busy.reset();
    if (deleted.outcome != Rewrite::Done) {
        if (!deleted.error.isEmpty()) msg::error(deleted.error);
        if (deleted.outcome == Rewrite::Failed) s_.requestEnd();
        return;
    }
    delete ListeSocietes->takeItem(ListeSocietes->currentRow());
    s_.IdSocieteAnnuaire = 0;
    ResetAnnuaire();
}

// ---- E-mail, web site, contacts ------------------------------------------------------------

void DirectoryPage::Bt_AnnuMailerClick()
{
    const QString email = fields->text(CompanyFields::Email);
    if (email.isEmpty()) return;
    mail_.clear();
    mail_.setTo({email});
    mail_.sendAndReport();
}

void DirectoryPage::Bt_AnnuVoirClick()
{
    const QString url = fields->text(CompanyFields::Url);
    if (!url.isEmpty()) ExecuteFile(url);
}

void DirectoryPage::Bt_AnnuContactsClick()
{
    if (Bt_AnnuContacts->text() != contactsCaption(0)) {
        emit contactListRequested();
        return;
    }
    if (msg::confirm(QStringLiteral("Il n'existe pas de contact pour cette société.") + CR +
                     QStringLiteral("Voulez-vous en ajouter un ?")))
        emit firstContactRequested();
}

// ---- Company sheet -------------------------------------------------------------------------

report::Report DirectoryPage::sheet(const QMap<QString, QString>& variables, qint32 societe) const
{
    return CreationReport(
        report::templateOrEmpty(s_.store().path(QStringLiteral("Reports/Societe.frf"))), variables,
        s_.store().Contacts, societe, QStringLiteral("Fiche de ") + variables.value("societe"),
        QDate::currentDate());
}

report::Report DirectoryPage::shownSheet() const
{
    const char* names[CompanyFields::Count] = {"societe", "adresse_a", "adresse_b", "bp",   "cp",
                                               "ville",   "pays",      "tela",      "telb", "faxa",
                                               "faxb",    "service",   "email",     "url"};
    QMap<QString, QString> v;
    for (int i = 0; i < CompanyFields::Count; ++i)
        v[QString::fromLatin1(names[i])] = fields->text(CompanyFields::Field(i));
    return sheet(v, s_.IdSocieteAnnuaire);
}

report::Report DirectoryPage::sheetOf(const TSocieteRec& s) const
{
    return sheet(companyVariables(s), s.id);
}

void DirectoryPage::lien_ApercuSocieteClick()
{
    std::optional<BusyCursor> busy(std::in_place);
    const report::Report r = shownSheet();
    busy.reset();
    previewReport(r, this);
}

void DirectoryPage::lien_ImprimerSocieteClick()
{
    TFormImpressionSociete choice(this);
    bool all = false;
    if (!choice.choose(&all)) return;
    if (!all) {
        printReportWithDialog(shownSheet(), this);
        return;
    }
    // One print job per company, on the printer chosen once.
    QPrinter printer(QPrinter::HighResolution);
    QString error;
    if (!report::choosePrinter(printer, this, &error)) {
        if (!error.isEmpty()) msg::error(error);
        return;
    }
    const BusyCursor busy;
    const qint32 shown = s_.IdSocieteAnnuaire;
    const QList<TSocieteRec>& societes = s_.store().Societes;
    frame_.progressStart(societes.size());
    for (const TSocieteRec& s : societes) {
        frame_.progressStep(1);
        if (!isLive(s)) continue;
        s_.IdSocieteAnnuaire = s.id;
        const report::Report r = sheetOf(s);
        report::preparePrinter(printer, r);
        if (!report::paintOn(printer, r)) {
            msg::error(QStringLiteral("L'impression n'a pas pu être faite."));
            break;
        }
    }
    frame_.progressHide();
    s_.IdSocieteAnnuaire = shown;
}

void DirectoryPage::lien_MailerSocieteClick()
{
    const report::Report r = shownSheet();
    mail_.clear();
    mail_.setSubject(QStringLiteral("Coordonnées de société"));
    mail_.setBody(companyMailBody(r.variables));
    mail_.sendAndReport();
}

void DirectoryPage::lien_NouvelleSocieteClick()
{
    emit newCompanyRequested();
}

void DirectoryPage::lien_exportSocClick()
{
    if (!export_) export_ = new TExportSoc(s_, this);
    export_->open();
}

TImportSoc* DirectoryPage::importDialog()
{
    if (import_) return import_;
    import_ = new TImportSoc(s_, frame_, this);
    connect(import_, &TImportSoc::imported, this, [this] {
        // The list shows the new companies; the company being edited stays
        // as it is, with whatever the user typed.
        if (!group_.isNull()) {
            const QString current =
                ListeSocietes->currentItem() ? ListeSocietes->currentItem()->text() : QString();
            const QSignalBlocker block(ListeSocietes);
            ListeSocietes->clear();
            ListeSocietes->addItems(companiesOfGroup(s_.store().Societes, group_));
            if (!current.isEmpty())
                ListeSocietes->setCurrentItem(
                    ListeSocietes->findItems(current, Qt::MatchExactly).value(0));
        }
        // Views that count or list contacts read them again.
        emit s_.contactsChanged(0, QString());
    });
    return import_;
}

void DirectoryPage::lien_importSocClick()
{
    importDialog()->open();
}
