// Whether a room is free for a stay: no other booking holds it on
// overlapping dates.
#pragma once

#include "data/sql/database.h"

namespace innkeld {

// The overlap query for a room and a range. Its bounds are inclusive: a
// stay that starts on another's departure day clashes.
QString OverlapSql(RecordId bookingId, RecordId roomId, const QVariant &arrival, const QVariant &departure);

// The rooms held by bookings other than bookingId whose stays clash with
// the range by the same three conditions (or, when rooms can be booked from
// the day the guest leaves, whose stays share a night with it), looked for
// only among the stays that touch the range's days (the stays index), so
// that the time depends on those stays and not on the years of history or
// the longest stay ever stored. `roomCondition` narrows the rooms ("" for
// all of them, or " AND bookingroom.roomid=3"). The database's guard
// applies exactly this rule to every write.
QString ClashingRoomsSql(RecordId bookingId, const QVariant &arrival, const QVariant &departure,
                         const QString &roomCondition = QString(), Engine engine = Engine::SQLite,
                         bool departureDayFree = false);

// True when no booking other than bookingId holds the room on dates that
// overlap the range, by the house's rule; status becomes "Available" or
// "Booked". Throws DbError.
bool IsRoomAvailable(Database &db, RecordId bookingId, RecordId roomId, const QVariant &arrival,
                     const QVariant &departure, QString *status = nullptr);

// A room of the house that is free for a stay.
struct FreeRoom
{
    RecordId id = 0;
    QString name;
};

// The rooms free for the range, in the order the database gives the rooms:
// exactly those for which IsRoomAvailable answers true, found in one
// statement. Throws DbError.
QVector<FreeRoom> FreeRooms(Database &db, RecordId bookingId, const QVariant &arrival, const QVariant &departure);

}  // namespace innkeld
