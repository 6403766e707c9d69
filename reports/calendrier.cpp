#include "reports/calendrier.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QTextCharFormat>
#include <QVBoxLayout>

TCalendrier::TCalendrier(QWidget* parent) : QDialog(parent, Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TCalendrier"));
    setWindowTitle(QStringLiteral("Calendrier"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setFirstDayOfWeek(Qt::Monday);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    MonthCalendar1->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    MonthCalendar1->setGridVisible(false);
    // Week-ends in the same colour as the other days.
    MonthCalendar1->setWeekdayTextFormat(Qt::Saturday, QTextCharFormat());
    MonthCalendar1->setWeekdayTextFormat(Qt::Sunday, QTextCharFormat());

    QPalette cal = MonthCalendar1->palette();
    cal.setColor(QPalette::Base, Qt::white);
    cal.setColor(QPalette::AlternateBase, Qt::white);
    cal.setColor(QPalette::Window, Qt::white);
    MonthCalendar1->setPalette(cal);
    // The calendar paints the days of the neighbouring months in the disabled
    // text colour of its grid.
    if (auto* grid =
            MonthCalendar1->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"))) {
        QPalette g = grid->palette();
        g.setColor(QPalette::Disabled, QPalette::Text, QColor(0, 0, 255));
        grid->setPalette(g);
    }
    // The title bar is filled with its highlight colour.
    if (auto* title =
            MonthCalendar1->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette t = title->palette();
        t.setColor(QPalette::Highlight, QColor(122, 150, 223));
        title->setPalette(t);
    }

    MonthCalendar1->setFixedSize(CalendarWidth,
                                 qMax(CalendarMinHeight, MonthCalendar1->sizeHint().height()));

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 6, 8, 8);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(MonthCalendar1);
    column->addLayout(buttons);
    setFixedSize(sizeHint());

    showToday();
}

QDate TCalendrier::date() const
{
    return MonthCalendar1->selectedDate();
}

void TCalendrier::showToday()
{
    const QDate today = QDate::currentDate();
    MonthCalendar1->setSelectedDate(today);
    MonthCalendar1->setCurrentPage(today.year(), today.month());
}

void TCalendrier::reportDate()
{
    if (m_reported) return;
    m_reported = true;
    emit dateChosen(date());
}

void TCalendrier::done(int result)
{
    // OK gives accept(), Escape and the window's close button reject(): both
    // come here, while the dialog is still on screen.
    reportDate();
    QDialog::done(result);
}

void TCalendrier::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is not a new showing.
    if (!event->spontaneous()) {
        m_reported = false;
        showToday();
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect g = s ? s->geometry() : QRect(0, 0, 1024, 768);
        move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
    }
    QDialog::showEvent(event);
}

void TCalendrier::hideEvent(QHideEvent* event)
{
    // Hidden by the program without being closed: the date still counts.
    if (!event->spontaneous()) reportDate();
    QDialog::hideEvent(event);
}
