#pragma once
// A program folder for the interface tests: the language module, the data
// files, the settings, the frame started and the files loaded. Modal dialogs
// are answered by object name.

#include "applications/applicationspage.h"
#include "applications/editor.h"
#include "applications/listingpage.h"
#include "common/fakemessages.h"
#include "common/testfiles.h"
#include "directory/directorypage.h"
#include "platform/dialogs.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QDialog>
#include <QListWidget>
#include <QMap>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

struct ProgramFolder {
    QTemporaryDir dir;
    FakeMessages messages;
    std::unique_ptr<TMDIParent> frame;
    // The answer to a modal dialog: it is shown as exec would show it, and
    // its result is what the answer left.
    QMap<QString, std::function<void(QDialog&)>> answers;
    QStringList opened;
    QStringList startupMessages; // what the start showed, before any test step

    ProgramFolder(const QList<TSocieteRec>& societes, const QList<TContactRec>& contacts,
                  const QList<TCandidatureRec>& apps, const QString& defaultSource = {},
                  const QMap<QString, QString>& settings = {})
    {
        QDir(dir.path()).mkdir("Lang");
        QFile::copy(QStringLiteral(LANG_DIR "/Francais.so"), dir.filePath("Lang/Francais.so"));
        setRegistryFile(dir.filePath("ORVALDIS.ini"));
        if (!defaultSource.isEmpty())
            WriteRegistry(RegistryKey, QStringLiteral("DefaultSource"), defaultSource);
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            WriteRegistry(RegistryKey, it.key(), it.value());
        writeBytes(dir.filePath("societes.dat"), bytesOf(societes));
        writeBytes(dir.filePath("contacts.dat"), bytesOf(contacts));
        writeBytes(dir.filePath("candidatures.dat"), bytesOf(apps));
        frame = std::make_unique<TMDIParent>(dir.path());
        frame->FormCreate();
        frame->createMainWindow();
        QSignalSpy loaded(f(), &TFormGeneral::loaded);
        loaded.wait(10000);
        frame->show();
        startupMessages = messages.texts();
        messages.clear();
        dialogs::setExecHook([this](QDialog& d) {
            opened.append(d.objectName());
            auto a = answers.find(d.objectName());
            if (a == answers.end()) return int(QDialog::Rejected);
            d.setResult(QDialog::Rejected);
            d.show();
            a.value()(d);
            d.hide();
            return d.result();
        });
    }
    ~ProgramFolder()
    {
        dialogs::setExecHook({});
        if (frame) frame->close();
    }
    template <class T> static QByteArray bytesOf(const QList<T>& t)
    {
        QByteArray b;
        for (const T& r : t)
            b += recordBytes(r);
        return b;
    }
    TFormGeneral* f() const { return frame->formGeneral(); }
    DirectoryPage* page() const { return f()->directory(); }
    QByteArray contactsFile() const { return readBytes(dir.filePath("contacts.dat")); }
    QByteArray applications() const { return readBytes(dir.filePath("candidatures.dat")); }
    QByteArray record(int position) const { return applications().mid(position * 1644, 1644); }
    TCandidatureRec onDisk(int position) const
    {
        TCandidatureRec c;
        std::memcpy(&c, record(position).constData(), sizeof c);
        return c;
    }
    // The user picks a company in the directory.
    void chooseCompany(const QString& name)
    {
        f()->Tabulations->setCurrentIndex(1);
        page()->AnnuSelect(QLatin1Char('_'));
        page()->ListeSocietes->setCurrentItem(
            page()->ListeSocietes->findItems(name, Qt::MatchExactly).value(0));
        page()->ListeSocietesClick();
    }
    // Opens an application in the editor, as a double click in the listing does.
    void open(qint32 id)
    {
        f()->state().IdCandidature = id;
        f()->editor()->StringGrid1DblClick();
    }
};

template <class W> W* child(QObject* parent, const char* name)
{
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    if (!w) qWarning("no control %s", name);
    return w;
}

inline QStringList items(const QListWidget* list)
{
    QStringList s;
    for (int i = 0; i < list->count(); ++i)
        s.append(list->item(i)->text());
    return s;
}

inline void select(QListWidget* list, const QString& text)
{
    list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
}

inline TContactRec person(qint32 id, qint32 societe, const QString& nom,
                          const char* civilite = "Mr", const QString& fonction = {})
{
    TContactRec k = makeContact(id, societe, nom);
    k.civilite = QString::fromLatin1(civilite);
    k.fonction = fonction;
    return k;
}

inline TCandidatureRec linkedApplication(qint32 id, qint32 societe, qint32 contact)
{
    TCandidatureRec c = makeCandidature(id, societe, QStringLiteral("Poste %1").arg(id));
    c.id_contact = contact;
    return c;
}
