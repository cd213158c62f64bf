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

}  // namespace innkeld
