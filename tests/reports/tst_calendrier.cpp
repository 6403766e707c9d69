// The appointment calendar: opens on today, reports the date shown once
// however it is closed, and shows weeks the way the user expects.
#include "reports/calendrier.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace
{

QCalendarWidget* calendarOf(TCalendrier& d)
{
    return d.findChild<QCalendarWidget*>(QStringLiteral("MonthCalendar1"));
}

QAbstractItemModel* gridOf(TCalendrier& d)
{
    auto* view = d.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    return view ? view->model() : nullptr;
}

void pick(TCalendrier& d, const QDate& date)
{
    calendarOf(d)->setSelectedDate(date);
    calendarOf(d)->setCurrentPage(date.year(), date.month());
}

QDate reported(const QSignalSpy& spy, int i)
{
    return spy.at(i).at(0).toDate();
}

} // namespace

class TestCalendrier : public QObject
{
    Q_OBJECT
private slots:
    void opensOnTodayWhateverWasPickedBefore()
    {
        TCalendrier d;
        QSignalSpy spy(&d, &TCalendrier::dateChosen);
        QCOMPARE(d.date(), QDate::currentDate()); // already when created
        const QDate next = QDate::currentDate().addMonths(1).addDays(3);

        d.show();
        pick(d, next);
        QCOMPARE(d.date(), next);
        d.accept();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(reported(spy, 0), next);

        d.show();
        QCOMPARE(d.date(), QDate::currentDate());
        QCOMPARE(calendarOf(d)->monthShown(), QDate::currentDate().month());
        QCOMPARE(calendarOf(d)->yearShown(), QDate::currentDate().year());
        d.accept();
        QCOMPARE(spy.size(), 2);
        QCOMPARE(reported(spy, 1), QDate::currentDate());
    }

    void okReportsTheDateShown()
    {
        TCalendrier d;
        QSignalSpy spy(&d, &TCalendrier::dateChosen);
        const QDate when(2031, 2, 14);
        QTimer::singleShot(0, &d, [&] {
            pick(d, when);
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(reported(spy, 0), when);
        QVERIFY(!d.isVisible());
    }

    void everyOtherWayOfClosingReportsOnce_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Escape") << 0;
        QTest::newRow("window close button") << 1;
        QTest::newRow("hidden by the program") << 2;
    }
    void everyOtherWayOfClosingReportsOnce()
    {
        QFETCH(int, how);
        TCalendrier d;
        QSignalSpy spy(&d, &TCalendrier::dateChosen);
        const QDate when = QDate::currentDate().addDays(-40);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        pick(d, when);
        QWidget* grid = d.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(grid);
        switch (how) {
        case 0:
            QTest::keyClick(grid, Qt::Key_Escape);
            break;
        case 1:
            QVERIFY(d.close());
            break;
        default:
            d.hide();
        }
        QVERIFY(!d.isVisible());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(reported(spy, 0), when);

        // Closing what is already closed adds nothing.
        d.close();
        d.reject();
        QCOMPARE(spy.size(), 1);
    }

    void weeksStartOnMondayWithTheirIsoNumber()
    {
        TCalendrier d;
        d.show();
        pick(d, QDate(2026, 3, 18));
        QAbstractItemModel* grid = gridOf(d);
        QVERIFY(grid);
        QCOMPARE(grid->columnCount(), 8); // week number, then seven days
        // March 2026 starts on a Sunday: the first row runs from Monday 23
        // February, week 9, to Sunday 1 March.
        QCOMPARE(grid->index(1, 1).data().toInt(), 23);
        QCOMPARE(grid->index(1, 7).data().toInt(), 1);
        QCOMPARE(grid->index(1, 0).data().toInt(), 9);
        for (int row = 2; row <= 6; ++row) {
            const QDate monday(2026, 3, grid->index(row, 1).data().toInt());
            QCOMPARE(monday.dayOfWeek(), 1);
            QCOMPARE(grid->index(row, 0).data().toInt(), monday.weekNumber());
        }
    }

    void neighbouringMonthsInBlueWeekEndsLikeOtherDays()
    {
        TCalendrier d;
        d.show();
        pick(d, QDate(2026, 3, 18));
        QAbstractItemModel* grid = gridOf(d);
        QVERIFY(grid);
        auto colour = [&](int row, int col) {
            return grid->index(row, col).data(Qt::ForegroundRole).value<QBrush>().color();
        };
        const QColor blue(0, 0, 255);
        QCOMPARE(colour(1, 1), blue);         // 23 February
        QCOMPARE(colour(6, 7), blue);         // 5 April
        QVERIFY(colour(3, 3) != blue);        // 11 March
        QCOMPARE(colour(3, 7), colour(3, 3)); // Sunday 15 March
        QCOMPARE(colour(3, 6), colour(3, 3)); // Saturday 14 March
    }

    void whiteFixedDialogCentredWithTheBlueTitleBar()
    {
        TCalendrier d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), QStringLiteral("Calendrier"));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCalendarWidget* cal = calendarOf(d);
        QCOMPARE(cal->width(), 597);
        QCOMPARE(d.width(), 597);
        QVERIFY(d.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->text() ==
                QStringLiteral("OK"));

        // The six weeks fit, each row at least one line of text high.
        auto* view = d.findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(view);
        const QRect lastDay = view->visualRect(view->model()->index(6, 7));
        QVERIFY(view->viewport()->rect().contains(lastDay));
        QVERIFY(lastDay.height() >= view->fontMetrics().height());

        const QRect screen = d.screen()->geometry();
        QCOMPARE(d.x(), screen.x() + (screen.width() - d.width()) / 2);
        QCOMPARE(d.y(), screen.y() + (screen.height() - d.height()) / 2);

        const QImage shot = d.grab().toImage();
        // Below the calendar, left of the button: the dialog's own white.
        QCOMPARE(QColor(shot.pixel(2, d.height() - 3)), QColor(Qt::white));
        auto* title = cal->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
        QVERIFY(title);
        const QPoint inTitle = title->mapTo(&d, QPoint(1, 1));
        QCOMPARE(QColor(shot.pixel(inTitle)), QColor(122, 150, 223));
    }
};

QTEST_MAIN(TestCalendrier)
#include "tst_calendrier.moc"
