#include "roomlist.h"

#include "data/schema/houserules.h"

#include <QCoreApplication>

namespace innkeld {

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

    // Removals: a stored room that the list no longer holds goes, and with it
    // every booking that held it, the booking's customer and all the
    // booking's room links (not only those of this room, or other rooms would
    // stay marked as booked by bookings that no longer exist).
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
        Recordset holders = db.execute(
            QStringLiteral("SELECT booking.id, customerid FROM booking, bookingroom WHERE booking.id = "
                           "bookingroom.bookingid AND bookingroom.roomid = ")
            + room);
        for (; !holders.eof(); holders.moveNext()) {
            const QString booking = QString::number(holders.value(0).toLongLong());
            db.execute(QStringLiteral("DELETE FROM customer WHERE id = ")
                       + QString::number(holders.value(QStringLiteral("customerid")).toLongLong()));
            db.execute(QStringLiteral("DELETE FROM booking WHERE id = ") + booking);
            db.execute(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = ") + booking);
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
