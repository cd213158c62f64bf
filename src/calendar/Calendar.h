// The availability calendar: a week of days against the rooms of the house,
// each booked cell yellow. ScrollDate moves the week a day at a time,
// HScroll moves across the rooms, Command1 reads the week again. The host
// hands it the open database (objConn), then calls Setup and Refresh.
#pragma once

#include "widgets/uiservices.h"

#include "calendar/calendarweek.h"
#include "data/sql/database.h"

#include <QDate>
#include <QFont>
#include <QHash>
#include <QWidget>

#include <memory>

class QModelIndex;

namespace Ui {
class Calendar;
}

namespace innkeld {

class CalendarModel;

class Calendar : public QWidget, public ServiceClient
{
    Q_OBJECT
public:
    explicit Calendar(QWidget *parent = nullptr);
    ~Calendar() override;
    Calendar(const Calendar &) = delete;
    Calendar &operator=(const Calendar &) = delete;

    Database *objConn = nullptr;  // set by the host before the first refresh

    // The week starts today; the scroll bars at their starting places.
    void Setup();
    // Reads the week for dtStart and the rooms from the scroll position on.
    // Throws DbError; the grid then keeps what it showed.
    void Refresh();
    QString FormatSQLDate(const QDate &dtDate) const;

    // The first day shown (dtStart): moved by the day scroll bar, or set by
    // the host before a refresh.
    QDate startDate() const { return dtStart; }
    QSize minimumSizeHint() const override;
    void setStartDate(const QDate &day) { dtStart = day; }

signals:
    // The operator opens the booking of a booked cell, which is still there.
    void openBooking(RecordId bookingId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The rooms and days that fit are shown; the database is read only
    // when they change.
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void ScrollDate_Change(int value);
    void HScroll_Change(int value);
    void Command1_Click();

private:
    // What the grid shows: its first day, the rooms from `first` on
    // (`count` of them) and the days.
    struct Shown
    {
        QDate start;
        int first = 0, count = 0, days = 0;
        bool operator==(const Shown &o) const
        {
            return start == o.start && first == o.first && count == o.count && days == o.days;
        }
    };
    // Lays out the rooms (each column `widths` wide) and the days that fit
    // the control, reading the days shown when they changed or `read` asks.
    // Throws DbError; the grid then keeps what it showed.
    void showRooms(const HouseRooms &rooms, const QVector<int> &widths, bool read);
    int daysThatFit() const;
    int dateColumnWidth(int days) const;
    void cellActivated(const QModelIndex &index);

    QDate dtStart;
    int intLastScroll = 0;
    int intVisibleRooms = 10;  // the room columns shown
    HouseRooms m_rooms;        // as the last refresh read them
    QVector<int> m_widths;
    // Each room name's column width in the grid's font, measured once: a
    // refresh of a house of many rooms measures only new names.
    QHash<QString, int> m_nameWidths;
    QFont m_measuredFont;
    Shown m_shown;
    const std::unique_ptr<Ui::Calendar> ui;
    CalendarModel *m_model = nullptr;
};

}  // namespace innkeld
