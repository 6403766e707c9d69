#pragma once
// TCalendrier: where the user fixes the date of an appointment. It always
// opens on today's date, and however it is closed (its OK button, Escape, the
// window's close button) it reports the date shown, once per showing.

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QPushButton;

class TCalendrier : public QDialog
{
    Q_OBJECT
public:
    // The calendar's width is the dialog's. Its height leaves each of the
    // seven rows (day names, six weeks) about 20 pixels below the title bar;
    // it grows when the desktop's font needs more.
    static constexpr int CalendarWidth = 597;
    static constexpr int CalendarMinHeight = 190;

    explicit TCalendrier(QWidget* parent = nullptr);

    QDate date() const;

    // Every way of closing the dialog ends here.
    void done(int result) override;

signals:
    // The date shown when the dialog closes.
    void dateChosen(const QDate& date);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showToday();
    void reportDate();

    QCalendarWidget* MonthCalendar1;
    QPushButton* BitBtn1;
    bool m_reported = false;
};
