// What the availability calendar shows for a week: the rooms as columns,
// seven days as rows, and in each cell the stays of that room that touch
// that day, arrival and departure days included. Read in one refresh; the
// control only displays it.
#pragma once

#include "data/sql/database.h"

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
    // With rooms free from the day the guest leaves: the stays that end on
    // this day, which leave the room free for an arrival.
    QVector<RecordId> departing;
    QStringList departingGuests;
    bool booked() const { return !bookings.isEmpty(); }
};

struct CalendarWeek
{
    QDate start;                // the first day (row 1)
    int days = 7;               // the days shown from it (rows 1 to days)
    bool departureDayFree = false;  // the house's rule when the week was read
    qint64 roomCount = 0;       // every room of the house
    QVector<RecordId> roomIds;  // the room columns, after the rooms skipped
    QStringList roomNames;
    QVector<CalendarCell> cells;  // column-major: cells[column * days + day]

    const CalendarCell &cell(int column, int day) const { return cells.at(column * days + day); }
};

// The rooms of the house, in the order the database gives them.
struct HouseRooms
{
    QVector<RecordId> ids;
    QStringList names;
};
HouseRooms ReadHouseRooms(Database &db);

// The week query: every link to one of the given rooms of every stay that
// touches one of the seven days from start, whatever its time of day (a
// stay arriving on the seventh day at 14:00 included), with the guest's
// names; the stays are found through the stays index, so the time depends
// on the stays of the week, not on the history or the longest stay.
QString CalendarWeekSql(const QDate &start, const QVector<RecordId> &rooms, Engine engine = Engine::SQLite,
                        int days = 7);

// Reads the week: the rooms in the order the database gives them, the first
// skipRooms of them left out and at most shownRooms of the rest (all for
// -1; with a window of rooms, skipRooms is first clamped to the last full
// window of the house as it is now), and every cell of those filled. A stay
// marks the days from its arrival day to its departure day, both included;
// when rooms can be booked from the day the guest leaves, its departure day
// is marked departing instead of booked. Throws DbError.
CalendarWeek ReadCalendarWeek(Database &db, const QDate &start, qint64 skipRooms, int shownRooms = -1);

// Reads `days` days from start for the rooms given (`first` and the
// `count` after it of the house's rooms), the house having `roomCount`
// rooms in all; each cell filled as ReadCalendarWeek fills it. Throws
// DbError.
CalendarWeek ReadCalendarDays(Database &db, const QDate &start, int days, const HouseRooms &rooms, int first, int count);

}  // namespace innkeld
