#include "availability.h"

#include "data/schema/bookingtables.h"
#include "data/schema/houserules.h"
#include "data/regional/regional.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace innkeld {

namespace {

// The three overlap conditions of a stay with the range from F to T, both
// ends included.
QString overlapConditions(const QString &F, const QString &T)
{
    return QStringLiteral("((#") + F + QStringLiteral("#>= fromdate AND #") + F + QStringLiteral("#<= todate) OR (#")
        + T + QStringLiteral("#>= fromdate AND #") + T + QStringLiteral("#<= todate) OR (fromdate>=#") + F
        + QStringLiteral("# AND todate<=#") + T + QStringLiteral("#))");
}

}  // namespace

QString OverlapSql(RecordId bookingId, RecordId roomId, const QVariant &arrival, const QVariant &departure)
{
    const QString F = ToSQLDate(arrival);
    const QString T = ToSQLDate(departure);
    return QStringLiteral("SELECT booking.id, fromdate, todate FROM booking, bookingroom WHERE booking.id<>")
        + QString::number(bookingId) + QStringLiteral(" AND bookingroom.roomid=") + QString::number(roomId)
        + QStringLiteral(" AND bookingroom.bookingid = booking.id AND ") + overlapConditions(F, T)
        + QStringLiteral(";");
}

QString ClashingRoomsSql(RecordId bookingId, const QVariant &arrival, const QVariant &departure,
                         const QString &roomCondition, Engine engine, bool departureDayFree)
{
    const QDate from = DayOf(arrival), to = DayOf(departure);
    const bool valid = from.isValid() && to.isValid();
    const qint64 first = valid ? std::min(from, to).toJulianDay() : 0;
    const qint64 last = valid ? std::max(from, to).toJulianDay() : 0;
    // With rooms free from the day the guest leaves: the stays that share a
    // night with the range, found by the stays index alone. (A range that is
    // no date fails as the three conditions do.)
    const bool nights = departureDayFree && valid;
    const QString stays = nights ? StaysShareNightSql(engine, QStringLiteral("s"), QString::number(first), QString::number(last))
                                 : StaysTouchingSql(engine, QStringLiteral("s"), QString::number(first), QString::number(last));
    const QString clash = nights ? QStringLiteral("1 = 1") : overlapConditions(ToSQLDate(arrival), ToSQLDate(departure));
    // The server looks up each stay's links and booking by their keys (a
    // lateral query): without statistics its planner would read every link.
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("SELECT bookingroom.roomid FROM booking_stay AS s CROSS JOIN LATERAL (SELECT bookingroom.roomid "
                              "FROM bookingroom JOIN booking ON booking.id = bookingroom.bookingid "
                              "WHERE bookingroom.bookingid = s.id AND booking.id<>")
            + QString::number(bookingId) + QStringLiteral(" AND ") + clash + QStringLiteral(" OFFSET 0) AS bookingroom WHERE ")
            + stays + roomCondition;
    return QStringLiteral("SELECT bookingroom.roomid FROM booking_stay AS s CROSS JOIN bookingroom CROSS JOIN booking "
                          "WHERE ")
        + stays + QStringLiteral(" AND bookingroom.bookingid = s.id AND booking.id = s.id AND booking.id<>")
        + QString::number(bookingId) + roomCondition + QStringLiteral(" AND ") + clash;
}

bool IsRoomAvailable(Database &db, RecordId bookingId, RecordId roomId, const QVariant &arrival,
                     const QVariant &departure, QString *status)
{
    if (status)
        *status = QCoreApplication::translate("Rooms", "Available");
    if (db.execute(ClashingRoomsSql(bookingId, arrival, departure,
                                    QStringLiteral(" AND bookingroom.roomid=") + QString::number(roomId),
                                    db.engineKind(), DepartureDayFree(db)))
            .eof())
        return true;
    if (status)
        *status = QCoreApplication::translate("Rooms", "Booked");
    return false;
}

QVector<FreeRoom> FreeRooms(Database &db, RecordId bookingId, const QVariant &arrival, const QVariant &departure)
{
    // The server would plan the rooms taken, asked inside NOT IN, for a
    // first row only (reading every stay): they are asked for on their own.
    const bool departureDayFree = DepartureDayFree(db);
    if (db.onServer()) {
        QSet<RecordId> taken;
        for (Recordset rs = db.execute(
                 ClashingRoomsSql(bookingId, arrival, departure, QString(), db.engineKind(), departureDayFree));
             !rs.eof(); rs.moveNext())
            taken.insert(rs.value(0).toLongLong());
        QVector<FreeRoom> free;
        for (Recordset rs = db.execute(QStringLiteral("SELECT id, name FROM room ORDER BY id")); !rs.eof(); rs.moveNext())
            if (!taken.contains(rs.value(0).toLongLong()))
                free.push_back(FreeRoom{rs.value(0).toLongLong(), rs.text(1)});
        return free;
    }
    const QString sql = QStringLiteral("SELECT id, name FROM room WHERE id NOT IN (")
        + ClashingRoomsSql(bookingId, arrival, departure, QString(), db.engineKind(), departureDayFree)
        + QStringLiteral(") ORDER BY id");
    QVector<FreeRoom> free;
    for (Recordset rs = db.execute(sql); !rs.eof(); rs.moveNext())
        free.push_back(FreeRoom{rs.value(0).toLongLong(), rs.text(1)});
    return free;
}

}  // namespace innkeld
