// The applications page as the user sees it: the grid, the status bar, the
// filters, the sort menus, the marker toggle, the alarms and the legend, on
// data files loaded at start-up.
#include "applications/editorview.h"
#include "applications/listinggrid.h"
#include "applications/listingpage.h"
#include "common/programfolder.h"
#include "directory/directoryrules.h"
#include "platform/panels.h"
#include "platform/pictures.h"
#include "platform/report/spreadsheet.h"
#include "platform/shellopen.h"
#include "reports/legende.h"
#include "reports/listingreport.h"
#include "shell/formgeneral.h"
#include "shell/mdiparent.h"
#include "store/settings.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QString daysFromToday(int days)
{
    return QDate::currentDate().addDays(days).toString("yyyyMMdd");
}

struct Program : ProgramFolder {
    explicit Program(const QList<TCandidatureRec>& apps, const QString& relance = QString())
        : ProgramFolder({makeSociete(1, "ACME", "S"), makeSociete(2, "BETA", "C")}, {}, apps, {},
                        relance.isEmpty() ? QMap<QString, QString>()
                                          : QMap<QString, QString>{{"Relance", relance}})
    {
    }
    ListingPage* listing() const { return f()->listing(); }
    ListingGrid* grid() const { return f()->page()->StringGrid1; }
    QString status() const { return frame->StatusBar1->text(); }
    QString title(int row) const { return listing()->model()->candidature(row).intitule.text(); }
};

TCandidatureRec app(qint32 id, qint32 societe, const QString& title, const QString& date)
{
    return makeCandidature(id, societe, title, date);
}

// Every page of a report, as printed.
QList<report::Page> allPages(const report::Report& r)
{
    QList<report::Page> pages;
    for (int i = 0; i < r.pageCount(); ++i)
        pages.append(r.page(i));
    return pages;
}

} // namespace

class TestListingPage : public QObject
{
    Q_OBJECT
private slots:
    void emptyTableHidesTheGridAndTheFilters()
    {
        Program p({});
        QVERIFY(p.grid()->isHidden());
        QVERIFY(p.f()->page()->Label_ShowHide->isHidden());
        QVERIFY(p.f()->page()->Label_AlarmeOnly->isHidden());
        QCOMPARE(p.status(), QString());
        QCOMPARE(p.startupMessages, QStringList());
    }

    void gridStatusBarAndAlarmMessage()
    {
        TCandidatureRec finished = app(1, 1, "Comptable", daysFromToday(-30));
        finished.terminee = 1;
        TCandidatureRec alarm = app(2, 2, "Juriste", daysFromToday(-10));
        alarm.date_rdv = daysFromToday(2);
        alarm.alerte = QStringLiteral("3");
        alarm.cv = QStringLiteral("<TEXTE>");
        TCandidatureRec orphan = app(3, 99, "Sans société", daysFromToday(-1));
        Program p({finished, alarm, orphan, app(4, 1, "Acheteur", daysFromToday(-5))});
        QAbstractItemModelTester tester(p.listing()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(p.listing()->model()->rowCount(), 3);
        // The stored order is by date, ascending: the oldest first.
        QCOMPARE(p.title(0), QStringLiteral("Comptable"));
        QCOMPARE(p.title(2), QStringLiteral("Acheteur"));
        // The company not found is counted only among the finished ones.
        QCOMPARE(p.status(),
                 QStringLiteral("2 candidatures en cours - 2 candidatures terminées - 1 alarme"));
        QCOMPARE(p.startupMessages, QStringList("Vous avez 1 alarme déclenchée !"));
        // Answering the message builds nothing again.
        QCOMPARE(p.listing()->buildCount(), 1);
        const QModelIndex date = p.listing()->model()->index(1, 1);
        QCOMPARE(date.data().toString(), QDate::currentDate().addDays(-10).toString("dd/MM/yyyy"));
        QCOMPARE(p.listing()->model()->index(1, 3).data().toString(), QStringLiteral("BETA"));
        QCOMPARE(p.grid()->columnWidth(4), 342);
        QVERIFY(p.f()->page()->Label_RelancesOnly->isHidden()); // follow-ups are off
        // Rebuilding does not show the message again.
        p.f()->listing()->AfficheCandidatures();
        QCOMPARE(p.messages.count(), 0);
    }

    void filtersAndTheirCaptions()
    {
        TCandidatureRec finished = app(1, 1, "Comptable", daysFromToday(-30));
        finished.terminee = 1;
        TCandidatureRec alarm = app(2, 1, "Juriste", daysFromToday(-10));
        alarm.date_rdv = daysFromToday(-1);
        alarm.alerte = QStringLiteral("1");
        Program p({finished, alarm, app(3, 1, "Acheteur", daysFromToday(-40))}, "15");
        QCOMPARE(p.status(), QStringLiteral("2 candidatures en cours - 1 candidature terminée - 1 "
                                            "alarme - 1 candidature à relancer"));
        QVERIFY(p.f()->page()->Label_RelancesOnly->isVisible());

        p.listing()->Label_ShowHideClick();
        QCOMPARE(p.listing()->model()->rowCount(), 2);
        QCOMPARE(p.f()->page()->Label_ShowHide->caption(), p.frame->language().text(209));
        p.listing()->Label_AlarmeOnlyClick();
        QCOMPARE(p.listing()->model()->rowCount(), 1);
        QCOMPARE(p.title(0), QStringLiteral("Juriste"));
        QCOMPARE(p.f()->page()->Label_AlarmeOnly->caption(), p.frame->language().text(215));
        p.listing()->Label_RelancesOnlyClick();
        QCOMPARE(p.listing()->model()->rowCount(), 1);
        QCOMPARE(p.title(0), QStringLiteral("Acheteur"));
        QCOMPARE(p.f()->page()->Label_AlarmeOnly->caption(),
                 QStringLiteral("Voir les alarmes uniquement"));
        QVERIFY(!p.f()->state().AlarmesSeules);
        p.listing()->Label_RelancesOnlyClick();
        QCOMPARE(p.f()->page()->Label_RelancesOnly->caption(),
                 QStringLiteral("Voir les candidatures à relancer uniquement"));
        QCOMPARE(p.listing()->model()->rowCount(), 2); // finished ones still hidden
    }

    void everythingFilteredOutKeepsTheStatusBar()
    {
        Program p({app(1, 1, "Comptable", daysFromToday(-3))});
        const QString before = p.status();
        p.listing()->Label_AlarmeOnlyClick();
        QVERIFY(p.grid()->isHidden());
        QCOMPARE(p.status(), before);
        QVERIFY(p.f()->page()->Label_AlarmeOnly->isVisible());
    }

    void bothSortMenusStayInStepAndTheChoiceIsStored()
    {
        Program p({app(1, 2, "Zeta", "20260101"), app(2, 1, "Alpha", "20260301")});
        p.listing()->popupSortClick(3); // by title
        QCOMPARE(Readregistry(RegistryKey, "tri"), QStringLiteral("i"));
        QVERIFY(p.frame->MenuTri[3]->isChecked());
        QCOMPARE(p.title(0), QStringLiteral("Alpha"));
        p.frame->MenuDecroissant->trigger();
        QCOMPARE(Readregistry(RegistryKey, "sens"), QStringLiteral("desc"));
        QVERIFY(p.listing()->Ordredcroissant1->isChecked());
        QCOMPARE(p.title(0), QStringLiteral("Zeta"));
        p.frame->MenuTri[1]->trigger(); // by company, still descending
        QVERIFY(p.listing()->popupTri[1]->isChecked());
        QCOMPARE(Readregistry(RegistryKey, "tri"), QStringLiteral("s"));
        QCOMPARE(p.title(0), QStringLiteral("Zeta")); // BETA before ACME when descending
        p.listing()->popupDirectionClick(false);
        QVERIFY(p.frame->MenuCroissant->isChecked() && !p.frame->MenuDecroissant->isChecked());
        QCOMPARE(Readregistry(RegistryKey, "sens"), QString());
        QCOMPARE(p.title(0), QStringLiteral("Alpha"));
        QVERIFY(!p.frame->MenuTri[3]->isChecked());
    }

    void markerToggleIsSavedAtOnceAndPutBackWhenTheWriteFails()
    {
        Program p({app(1, 1, "Comptable", "20260101"), app(2, 1, "Juriste", "20260102")});
        const QString file = p.dir.filePath("candidatures.dat");
        p.listing()->StringGrid1SelectCell(10, 1);
        QCOMPARE(p.f()->state().IdCandidature, 2);
        QCOMPARE(int(readBytes(file).at(1644 + 1625)), 1);
        QVERIFY(p.listing()->model()->rows()[1].marqueur);
        QVERIFY(p.f()->store().Candidatures[1].marqueur);
        p.listing()->StringGrid1SelectCell(10, 1);
        QCOMPARE(int(readBytes(file).at(1644 + 1625)), 0);
        // The file can no longer be written: the flag comes back, with the message.
        QFile::remove(file);
        QDir(p.dir.path()).mkdir("candidatures.dat");
        p.messages.clear();
        p.listing()->StringGrid1SelectCell(10, 0);
        QVERIFY(!p.listing()->model()->rows()[0].marqueur);
        QVERIFY(!p.f()->store().Candidatures[0].marqueur);
        QCOMPARE(p.messages.count(), 1);
        QVERIFY(p.messages.shown[0].text.contains("\"candidatures.dat\""));
        QDir(p.dir.path()).rmdir("candidatures.dat");
    }

    void theListingReportPagesAtFortySixThenSixtyThreeRows()
    {
        auto apps = [](int n) {
            QList<TCandidatureRec> l;
            for (int i = 1; i <= n; ++i)
                l.append(app(i, 1 + i % 2, QStringLiteral("P%1").arg(i), "20260105"));
            return l;
        };
        auto pagesOf = [](const Program& p) {
            ListingReportInput in{p.listing()->model()->rows(), {}, QDateTime::currentDateTime()};
            return allPages(ReportListing(p.f()->store(), in));
        };
        auto texts = [](const report::Page& page) {
            QStringList t;
            for (const report::Object& o : page.objects)
                if (const auto* b = std::get_if<report::TextBox>(&o)) t.append(b->text);
            return t;
        };
        for (int n : {45, 46}) {
            Program p(apps(n));
            QCOMPARE(pagesOf(p).size(), 1); // a full page is the last one
        }
        Program p(apps(47));
        const auto pages = pagesOf(p);
        QCOMPARE(pages.size(), 2);
        QVERIFY(texts(pages[0]).contains(QStringLiteral("Légende")));
        QVERIFY(texts(pages[0]).contains(QStringLiteral("Page 1/2")));
        QVERIFY(!texts(pages[1]).contains(QStringLiteral("Légende")));
        QVERIFY(texts(pages[1]).contains(QStringLiteral("Page 2/2")));
        // The 47th row of the listing starts the second page at y 56.
        const QString last = p.title(46);
        for (const report::Object& o : pages[1].objects)
            if (const auto* b = std::get_if<report::TextBox>(&o); b && b->text == last)
                QCOMPARE(b->rect.top(), 56.0);
        QVERIFY(texts(pages[1]).contains(last));

        // The preview opens from the panel; an empty listing says so instead.
        int shown = 0;
        p.answers["ReportPreview"] = [&shown](QDialog&) { ++shown; };
        p.listing()->LienApercuListingClick();
        QCOMPARE(shown, 1);
        Program none({});
        none.listing()->LienApercuListingClick();
        QCOMPARE(none.messages.texts(),
                 QStringList(QStringLiteral("Veuillez créer au moins une candidature.")));
    }

    void theStartBuildsTheListingOnceInTheStoredOrder()
    {
        // Stored: by title, ascending.
        const QMap<QString, QString> settings{{"tri", "i"}, {"sens", ""}};
        ProgramFolder p({makeSociete(1, "ACME", "S")}, {},
                        {app(1, 1, "Juriste", "20260105"), app(2, 1, "Comptable", "20260107")}, {},
                        settings);
        ListingPage* l = p.f()->listing();
        QCOMPARE(l->buildCount(), 1);
        QVERIFY(l->popupTri[3]->isChecked());
        QVERIFY(l->Ordrecroissant1->isChecked());
        QCOMPARE(l->model()->candidature(0).intitule.text(), QStringLiteral("Comptable"));
    }

    void ordersAndFiltersReuseWhatWasReadUntilARecordChanges()
    {
        TCandidatureRec done = app(3, 1, "Archiviste", "20260103");
        done.terminee = 1;
        Program p({app(1, 1, "Juriste", "20260105"), app(2, 2, "Comptable", "20260107"), done});
        ListingPage* l = p.listing();
        auto titles = [&p] {
            QStringList t;
            for (int r = 0; r < p.listing()->model()->rowCount(); ++r)
                t.append(p.title(r));
            return t;
        };
        QCOMPARE(titles(), QStringList({"Archiviste", "Juriste", "Comptable"}));
        l->popupDirectionClick(true);
        QCOMPARE(titles(), QStringList({"Comptable", "Juriste", "Archiviste"}));
        l->Label_ShowHideClick();
        QCOMPARE(titles(), QStringList({"Comptable", "Juriste"}));
        l->popupSortClick(3); // by title
        QCOMPARE(titles(), QStringList({"Juriste", "Comptable"}));
        l->Label_ShowHideClick();
        QCOMPARE(titles(), QStringList({"Juriste", "Comptable", "Archiviste"}));

        // A changed record is read again: the marker is a key of its sort.
        l->popupSortClick(6); // by marker, then date
        QCOMPARE(titles(), QStringList({"Comptable", "Juriste", "Archiviste"}));
        Store& store = p.f()->store();
        TCandidatureRec marked = store.Candidatures[0]; // Juriste
        marked.marqueur = 1;
        QVERIFY(store.UpdateCandidature(0, marked).ok);
        l->popupDirectionClick(true);
        QCOMPARE(titles().first(), QStringLiteral("Juriste"));
    }

    void aChangedOrDeletedCompanyIsReadAgain()
    {
        Program p({app(1, 1, "Juriste", "20260105"), app(2, 2, "Comptable", "20260107")});
        ListingPage* l = p.listing();
        l->popupSortClick(1); // by company
        QCOMPARE(p.title(0), QStringLiteral("Juriste"));
        // The order by company follows a renamed company.
        Store& store = p.f()->store();
        TSocieteRec renamed = store.Societes[0];
        renamed.nom = QStringLiteral("ZETA");
        QVERIFY(store.UpdateSociete(0, renamed).ok);
        l->AfficheCandidatures();
        QCOMPARE(p.title(0), QStringLiteral("Comptable"));
        QCOMPARE(p.title(1), QStringLiteral("Juriste"));
        // The other company moves up a place in its table when the first
        // is deleted; its application is still found.
        QCOMPARE(DelSociete(store, 1).outcome, Rewrite::Done);
        l->AfficheCandidatures();
        QCOMPARE(l->model()->rowCount(), 1);
        QCOMPARE(p.title(0), QStringLiteral("Comptable"));
        QCOMPARE(l->model()->rows()[0].societe, 0);
    }

    void noBuildCopiesATableThatAWorkerHolds()
    {
        Program p({app(1, 1, "Juriste", "20260105"), app(2, 2, "Comptable", "20260107")});
        const Store& store = p.f()->store();
        // Shared as the key-figures worker shares them while it counts.
        const QList<TCandidatureRec> held = store.Candidatures;
        const QList<TSocieteRec> heldSocietes = store.Societes;
        ListingPage* l = p.listing();
        l->AfficheCandidatures();
        l->popupSortClick(1);
        l->popupDirectionClick(false);
        l->Label_ShowHideClick();
        l->Label_AlarmeOnlyClick();
        l->Label_RelancesOnlyClick();
        l->Label_RelancesOnlyClick();
        l->StringGrid1SelectCell(2, 0);
        p.grid()->viewport()->repaint();
        ListingReportInput in{l->model()->rows(), {}, QDateTime()};
        QCOMPARE(ReportListing(store, in).page(0).objects.isEmpty(), false);
        QCOMPARE(store.Candidatures.constData(), held.constData());
        QCOMPARE(store.Societes.constData(), heldSocietes.constData());
    }

    void theExportSheetHasEveryRowOnceInTheListingsOrder()
    {
        // More rows than one part of the export: no gap, no repeat at the joins.
        QList<TCandidatureRec> l;
        for (int i = 1; i <= 4100; ++i)
            l.append(app(i, 1 + i % 2, QStringLiteral("P%1").arg(i), "20260105"));
        Program p(l);
        ListingReportInput in{p.listing()->model()->rows(), {}, QDateTime(), true};
        const QList<QStringList> grid = report::reportGrid(ReportListing(p.f()->store(), in));
        QCOMPARE(grid.size(), 4100);
        for (int row : {0, 1999, 2000, 4099})
            QCOMPARE(grid[row].value(2), p.title(row));
    }

    void theExportWritesTheRowsAsPlainCellsAndOpensTheFile()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xlsx2csv")).isEmpty())
            QSKIP("xlsx2csv is not installed");
        TCandidatureRec a = app(1, 1, "Comptable", "20260105");
        a.cv = QStringLiteral("/home/moi/cv.pdf");
        a.date_cv = QStringLiteral("20260105");
        Program p({a, app(2, 2, "Juriste", "20260107")});
        const QString file = p.dir.filePath("listing");
        QString opened;
        dialogs::setFileHook([&](const QString&) { return file; });
        setExecuteFileHook([&](const QString& f) { opened = f; });
        p.listing()->LienExportListingClick();
        dialogs::setFileHook({});
        setExecuteFileHook({});
        QCOMPARE(opened, file + ".xlsx");
        QProcess csv;
        csv.start(QStringLiteral("xlsx2csv"), {file + ".xlsx"});
        QVERIFY(csv.waitForFinished(20000));
        const QStringList lines =
            QString::fromUtf8(csv.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        // In the listing's order, the letters as plain texts after the
        // appointment's empty column.
        QCOMPARE(lines[0].trimmed(), QStringLiteral("05/01/2026,ACME,Comptable,,C"));
        QVERIFY2(lines[1].startsWith(QStringLiteral("07/01/2026,BETA,Juriste")),
                 qPrintable(lines[1]));
        QVERIFY(!lines[1].contains(QLatin1Char('C')));
    }

    void anAlarmShowsOverAFinishedApplicationInTheReport()
    {
        TCandidatureRec c = app(1, 2, "Juriste", "20260105");
        c.terminee = 1;
        Program p({c});
        // A row flagged with an alarm whose application is finished.
        QList<TLigneListing> rows = p.listing()->model()->rows();
        rows[0].alarme = 1;
        const auto pages = allPages(ReportListing(p.f()->store(), {rows, {}, QDateTime()}));
        QImage first;
        for (const report::Object& o : pages[0].objects)
            if (const auto* pic = std::get_if<report::Picture>(&o); pic && pic->rect.top() == 320) {
                first = pic->image;
                break;
            }
        QCOMPARE(first, pictures::listingIcon(pictures::ListingIcon::Img_Attention).toImage());
        rows[0].alarme = 0;
        const auto again = allPages(ReportListing(p.f()->store(), {rows, {}, QDateTime()}));
        for (const report::Object& o : again[0].objects)
            if (const auto* pic = std::get_if<report::Picture>(&o); pic && pic->rect.top() == 320) {
                QCOMPARE(
                    pic->image,
                    pictures::listingIcon(pictures::ListingIcon::CandidatureTerminee).toImage());
                break;
            }
    }

    void theGridGrowsWithTheWindow()
    {
        QList<TCandidatureRec> apps;
        for (int i = 1; i <= 80; ++i)
            apps.append(app(i, 1, QStringLiteral("P%1").arg(i), "20260105"));
        Program p(apps);
        ListingGrid* g = p.grid();
        p.frame->resize(1020, 720);
        QApplication::processEvents();
        const QSize small = g->size();
        const int title = g->columnWidth(4);
        const int rows = g->visibleRows();
        p.frame->resize(1400, 1000);
        QApplication::processEvents();
        QVERIFY(g->width() >= small.width() + 300);
        QVERIFY(g->height() >= small.height() + 200);
        QCOMPARE(g->columnWidth(4), title + g->width() - small.width());
        QVERIFY(g->visibleRows() >= rows + 200 / ListingGrid::RowHeight);
        // The editor takes the same room.
        p.open(1);
        QApplication::processEvents();
        QVERIFY(p.f()->page()->Zone->width() >= small.width() + 300);
    }

    void clicksAndKeysMoveOneRow()
    {
        QList<TCandidatureRec> apps;
        for (int i = 1; i <= 40; ++i)
            apps.append(app(i, 1, QStringLiteral("P%1").arg(i),
                            QStringLiteral("202601%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0'))));
        Program p(apps);
        ListingGrid* g = p.grid();
        QCOMPARE(g->columnWidth(4), 324); // room for the scroll bar
        QCOMPARE(g->selectedRow(), -1);
        QTest::keyClick(g, Qt::Key_PageDown);
        QCOMPARE(g->selectedRow(), 0);
        QTest::keyClick(g, Qt::Key_PageDown);
        QCOMPARE(g->selectedRow(), 1);
        QTest::keyClick(g, Qt::Key_End);
        QCOMPARE(g->selectedRow(), 2);
        QTest::keyClick(g, Qt::Key_Home);
        QCOMPARE(g->selectedRow(), 1);
        for (int i = 0; i < 38; ++i)
            QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(g->selectedRow(), 39);
        QCOMPARE(g->topRow(), 39 - (g->visibleRows() - 1));
        QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(g->selectedRow(), 39);            // the last row
        QCOMPARE(p.f()->state().IdCandidature, 0); // only a click chooses the application
        const QRect cell = g->visualRect(p.listing()->model()->index(g->selectedRow(), 4));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(p.f()->state().IdCandidature, qint32(p.listing()->model()->candidature(39).id));
    }

    void dueAlarmsBlinkAndTheLegendShowsOnce()
    {
        TCandidatureRec alarm = app(1, 1, "Juriste", daysFromToday(-10));
        alarm.date_rdv = daysFromToday(0);
        alarm.alerte = QStringLiteral("2");
        Program p({alarm});
        QVERIFY(!p.f()->listing()->model()->blinkPhase());
        p.listing()->blink();
        QVERIFY(p.f()->listing()->model()->blinkPhase());
        p.listing()->blink();
        QVERIFY(!p.f()->listing()->model()->blinkPhase());

        p.listing()->Label_LegendeClick();
        TLegende* legend = p.listing()->legende();
        QVERIFY(legend && legend->isVisible());
        QCOMPARE(legend->findChildren<QLabel*>(QRegularExpression("^Legende")).size(), 12);
        p.listing()->Label_LegendeClick();
        QCOMPARE(p.f()->findChildren<TLegende*>().size(), 1);
        QVERIFY(legend->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void noBlinkingWithoutAlarms()
    {
        Program p({app(1, 1, "Comptable", daysFromToday(-3))});
        p.listing()->blink();
        QVERIFY(!p.f()->listing()->model()->blinkPhase());
    }
};

QTEST_MAIN(TestListingPage)
#include "tst_listingpage.moc"
