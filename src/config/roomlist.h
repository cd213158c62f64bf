// The rooms of the house as the rooms dialog edits them: a working list
// read from the database and applied back to it in one go.
#pragma once

#include "data/database.h"

#include <QString>
#include <QVector>

#include <optional>

namespace innkeld {

struct RoomEntry
{
    RecordId Id = 0;      // room.id; -1 for a room added and not yet stored
    QString Name;
    bool Booked = false;  // some booking held the room when the list was read
};

// The stored rooms in the order the database returns them.
QVector<RoomEntry> ReadRoomEntries(Database &db);

// The text a room shows in the dialog's list.
QString RoomListText(const RoomEntry &entry);

// Applies the operator's edits of a list that was read as `read`: every room
// of `read` that `entries` no longer holds is removed with the bookings that
// held it, their customers and all their room links; every entry with Id -1
// is added. A room stored since the list was read (at another desk) is none
// of this list's business and stays. `departureDayFree`, when given, is
// stored as the house's rule (rooms can be booked from the day the guest
// leaves). All of it in one transaction: on failure nothing is changed and
// DbError carries the engine's text.
void ApplyRoomEntries(Database &db, const QVector<RoomEntry> &read, const QVector<RoomEntry> &entries,
                      std::optional<bool> departureDayFree = std::nullopt);

}  // namespace innkeld
