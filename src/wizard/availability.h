// Whether a room is free for a stay: no other booking holds it on
// overlapping dates.
#pragma once

#include "data/database.h"

namespace innkeld {

// The overlap query for a room and a range. Its bounds are inclusive: a
// stay that starts on another's departure day clashes.
QString OverlapSql(RecordId bookingId, RecordId roomId, const QVariant &arrival, const QVariant &departure);

// True when no booking other than bookingId holds the room on dates that
// overlap the range; status becomes "Available" or "Booked". Throws DbError.
bool IsRoomAvailable(Database &db, RecordId bookingId, RecordId roomId, const QVariant &arrival,
                     const QVariant &departure, QString *status = nullptr);

// The longest stay on record in days (0 with none), from the index on the
// stay's length: a stay that touches a day arrives no earlier than that day
// less this.
double LongestStayDays(Database &db);

// A room of the house that is free for a stay.
struct FreeRoom
{
    RecordId id = 0;
    QString name;
};

// The rooms free for the range, in the order the database gives the rooms:
// exactly those for which IsRoomAvailable answers true, found in one
// statement. The clashing stays are looked for only among those that arrive
// between the range's first day less the longest stay on record and its
// last day, an index range on FromDate, so that the time does not grow with
// the years of history. Throws DbError.
QVector<FreeRoom> FreeRooms(Database &db, RecordId bookingId, const QVariant &arrival, const QVariant &departure);

}  // namespace innkeld
