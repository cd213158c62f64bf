#include "roomlist.h"

#include "booking/bookingstore.h"
#include "data/regional/regional.h"
#include "data/schema/houserules.h"

#include <QCoreApplication>

namespace innkeld {

QVector<RoomHolder> RoomHolders(Database &db, RecordId roomId, int limit)
{
    QVector<RoomHolder> out;
    for (Recordset rs = db.query(QStringLiteral("SELECT b.ID, b.FromDate, b.ToDate, b.CustomerID, b.Status, c.FirstName, "
                                                "c.LastName FROM bookingroom AS l JOIN booking AS b ON b.ID = l.bookingid "
                                                "LEFT JOIN customer AS c ON c.ID = b.CustomerID WHERE l.roomid = %1 "
                                                "ORDER BY b.FromDate, b.ID%2")
                                     .arg(roomId)
                                     .arg(limit < 0 ? QString() : QStringLiteral(" LIMIT %1").arg(limit)));
         !rs.eof(); rs.moveNext()) {
        RoomHolder h;
        h.id = rs.value(0).toLongLong();
        h.from = rs.value(1).toDateTime();
        h.to = rs.value(2).toDateTime();
        h.hasGuest = rs.value(3).toLongLong() != 0;
        h.status = StatusFromCode(rs.text(4));
        h.guest = (rs.text(5) + QLatin1Char(' ') + rs.text(6)).trimmed();
        out << h;
    }
    return out;
}

QString RoomHoldersText(Database &db, RecordId roomId)
{
    QStringList lines;
    int shown = 0;
    // Only what the removal changes: stays not yet ended, and drafts.
    for (const RoomHolder &h : RoomHolders(db, roomId, -1)) {
        if (h.hasGuest && h.status != BookingStatus::Booked && h.status != BookingStatus::CheckedIn)
            continue;
        if (++shown > 10)
            continue;
        lines << QCoreApplication::translate("Rooms", "Booking %1: %2, %3 to %4 (%5)")
                     .arg(h.id)
                     .arg(h.guest.isEmpty() ? QCoreApplication::translate("Rooms", "no guest yet") : h.guest,
                          RegionalShortDate(h.from.date()), RegionalShortDate(h.to.date()), StatusLabel(h.status));
    }
    if (shown > 10)
        lines << QCoreApplication::translate("Rooms", "and %1 more").arg(shown - 10);
    return lines.join(QLatin1Char('\n'));
}

bool HouseHasRooms(Database &db)
{
    return !db.execute(QStringLiteral("SELECT id FROM room WHERE id = (SELECT min(id) FROM room)")).eof();
}

QVector<RoomEntry> ReadRoomEntries(Database &db)
{
    // Whether a room has a link is asked of the index on bookingroom.roomid,
    // in the same statement: one probe a room, whatever the history (the
    // server is kept from reading every link for it by OFFSET 0).
    QVector<RoomEntry> out;
    for (Recordset rs = db.execute(QStringLiteral("SELECT id, name, EXISTS (SELECT id FROM BookingRoom WHERE roomid "
                                                  "= room.id")
                                   + (db.onServer() ? QStringLiteral(" OFFSET 0") : QString())
                                   + QStringLiteral(") AS booked FROM room"));
         !rs.eof(); rs.moveNext()) {
        RoomEntry e;
        e.Id = rs.value(QStringLiteral("id")).toLongLong();
        e.Name = rs.text(QStringLiteral("name"));
        e.Booked = rs.value(QStringLiteral("booked")).toLongLong() != 0;
        out.push_back(e);
    }
    return out;
}

QString RoomName(const QString &typed)
{
    return StoredText(typed, false).trimmed();
}

QString SameRoomName(const QString &name, const QVector<RoomEntry> &entries)
{
    const QString key = RoomName(name).toCaseFolded();
    for (const RoomEntry &e : entries)
        if (RoomName(e.Name).toCaseFolded() == key)
            return e.Name;
    return QString();
}

QString RoomNameTakenText(const QString &name)
{
    return QCoreApplication::translate("Rooms", "There is already a room named \"%1\". Give this room another name.").arg(name);
}

QString RoomListText(const RoomEntry &entry)
{
    return entry.Booked ? entry.Name + QCoreApplication::translate("Rooms", " (is booked)") : entry.Name;
}

void ApplyRoomEntries(Database &db, const QVector<RoomEntry> &read, const QVector<RoomEntry> &entries,
                      std::optional<bool> departureDayFree)
{
    Database::Transaction tx(db);
    if (departureDayFree)
        SetDepartureDayFree(db, *departureDayFree);

    // Removals: a stored room that the list no longer holds goes. The
    // bookings that held it are kept, cancelled by the house with the room
    // named (their other rooms are free with it, their payments stay); a
    // draft without a guest goes; a stay that has ended keeps its history
    // without the room. A guest checked in there is moved or checked out
    // first.
    for (Recordset rooms = db.execute(QStringLiteral("SELECT id, name FROM room")); !rooms.eof(); rooms.moveNext()) {
        const RecordId roomId = rooms.value(QStringLiteral("id")).toLongLong();
        bool seen = false;
        for (const RoomEntry &e : read)
            seen |= e.Id == roomId;
        bool listed = false;
        for (const RoomEntry &e : entries)
            listed |= e.Id == roomId;
        if (!seen || listed)
            continue;
        const QString room = QString::number(roomId);
        const QString name = rooms.text(QStringLiteral("name"));
        for (const RoomHolder &h : RoomHolders(db, roomId, -1)) {
            if (!h.hasGuest) {
                DiscardBooking(db, h.id);
            } else if (h.status == BookingStatus::CheckedIn) {
                throw DbError(QCoreApplication::translate("Rooms", "The room %1 is not removed: the guest of booking %2 "
                                                                   "(%3) is checked in there. Check the guest out, or "
                                                                   "move them to another room, first.")
                                  .arg(name)
                                  .arg(h.id)
                                  .arg(h.guest));
            } else if (h.status == BookingStatus::Booked) {
                StatusChange change{BookingStatus::Cancelled, CancelReason::House};
                change.note = QCoreApplication::translate("Rooms", "The room %1 was removed from the house.").arg(name);
                ChangeBookingStatus(db, h.id, h.status, change);
            }
        }
        db.execute(QStringLiteral("DELETE FROM bookingroom WHERE roomid = ") + room);
        db.execute(QStringLiteral("DELETE FROM room WHERE id = ") + room);
    }

    // Additions, in the order of the list; a name another room has (added
    // at another desk meanwhile, say) is refused, naming it: the channels'
    // calendars are files named after the rooms.
    TableCursor cursor = db.openTable(QStringLiteral("Room"));
    QVector<RoomEntry> named = ReadRoomEntries(db);
    for (const RoomEntry &e : entries) {
        if (e.Id != -1)
            continue;
        const QString taken = SameRoomName(e.Name, named);
        if (!taken.isNull())
            throw DbError(RoomNameTakenText(taken));
        cursor.addNew();
        cursor.setField(QStringLiteral("Name"), RoomName(e.Name));
        named.push_back(RoomEntry{-1, RoomName(e.Name), false});
        cursor.update();
    }
    tx.commit();
}

}  // namespace innkeld
