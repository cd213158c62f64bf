// What the availability calendar shows for a week: the rooms as columns,
// seven days as rows, and in each cell the stays of that room that touch
// that day, arrival and departure days included. Read in one refresh; the
// control only displays it.
#pragma once

#include "data/database.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

namespace innkeld {

// The stays of one room on one day.
struct CalendarCell
{
    QVector<RecordId> bookings;
    QStringList guests;  // as the arrivals list names them
    bool booked() const { return !bookings.isEmpty(); }
};

struct CalendarWeek
{
    QDate start;                // the first day (row 1)
    qint64 roomCount = 0;       // every room of the house
    QVector<RecordId> roomIds;  // the room columns, after the rooms skipped
    QStringList roomNames;
    QVector<CalendarCell> cells;  // column-major: cells[column * 7 + day]

    const CalendarCell &cell(int column, int day) const { return cells.at(column * 7 + day); }
};

// The week query: every room link of every stay that touches one of the
// seven days from start, whatever its time of day (a stay arriving on the
// seventh day at 14:00 included), with the guest's names. The stays are
// looked for only among those arriving between start less the longest stay
// and the day after the week, an index range on FromDate.
QString CalendarWeekSql(const QDate &start, double longestStayDays);

// Reads the week: the rooms in the order the database gives them, the first
// skipRooms of them left out, and every cell of the rest filled. A stay
// marks the days from its arrival day to its departure day, both included.
// Throws DbError.
CalendarWeek ReadCalendarWeek(Database &db, const QDate &start, qint64 skipRooms);

}  // namespace innkeld
