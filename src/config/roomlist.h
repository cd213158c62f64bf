// The rooms of the house as the rooms dialog edits them: a working list
// read from the database and applied back to it in one go.
#pragma once

#include "booking/bookingstatus.h"
#include "data/sql/database.h"

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

// The bookings that hold a room, as its removal's question names them
// (at most `limit`, earliest stay first), and the text that names them.
struct RoomHolder
{
    RecordId id = 0;
    QString guest;
    QDateTime from, to;
    bool hasGuest = false;
    BookingStatus status = BookingStatus::Booked;
};
QVector<RoomHolder> RoomHolders(Database &db, RecordId roomId, int limit = 10);
QString RoomHoldersText(Database &db, RecordId roomId);

// Whether the house has a room. Throws DbError.
bool HouseHasRooms(Database &db);

// The stored rooms in the order the database returns them.
QVector<RoomEntry> ReadRoomEntries(Database &db);

// A room's name as stored: on one line, without control characters or
// surrounding blanks.
QString RoomName(const QString &typed);
// The name of the entry whose name is `name`'s, letter case and
// surrounding blanks aside; a null text when none is.
QString SameRoomName(const QString &name, const QVector<RoomEntry> &entries);
// The operator's message for a name another room has.
QString RoomNameTakenText(const QString &name);

// The text a room shows in the dialog's list.
QString RoomListText(const RoomEntry &entry);

// Applies the operator's edits of a list that was read as `read`: every room
// of `read` that `entries` no longer holds is removed with the bookings that
// held it, their customers and all their room links; every entry with Id -1
// is added, unless another room has its name (DbError names it). A room stored since the list was read (at another desk) is none
// of this list's business and stays. `departureDayFree`, when given, is
// stored as the house's rule (rooms can be booked from the day the guest
// leaves). All of it in one transaction: on failure nothing is changed and
// DbError carries the engine's text.
void ApplyRoomEntries(Database &db, const QVector<RoomEntry> &read, const QVector<RoomEntry> &entries,
                      std::optional<bool> departureDayFree = std::nullopt);

}  // namespace innkeld
