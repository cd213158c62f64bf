#include "availability.h"

#include "data/regional.h"

#include <cmath>

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

bool IsRoomAvailable(Database &db, RecordId bookingId, RecordId roomId, const QVariant &arrival,
                     const QVariant &departure, QString *status)
{
    if (status)
        *status = QStringLiteral("Available");
    if (db.execute(OverlapSql(bookingId, roomId, arrival, departure)).eof())
        return true;
    if (status)
        *status = QStringLiteral("Booked");
    return false;
}

double LongestStayDays(Database &db)
{
    const Recordset longest =
        db.execute(QStringLiteral("SELECT max(julianday(ToDate) - julianday(FromDate)) FROM booking"));
    return longest.isNull(0) ? 0.0 : std::max(0.0, longest.value(0).toDouble());
}

QVector<FreeRoom> FreeRooms(Database &db, RecordId bookingId, const QVariant &arrival, const QVariant &departure)
{
    const QString F = ToSQLDate(arrival);
    const QString T = ToSQLDate(departure);
    // A stay that clashes ends on or after the range's earlier day (at its
    // midnight) and so arrives no earlier than that day less the longest
    // stay; it arrives no later than the range's later day.
    const double longestDays = LongestStayDays(db);
    const QDate from = DayOf(arrival), to = DayOf(departure);
    QString lo, hi;
    if (from.isValid() && to.isValid()) {
        lo = ToSQLDate(std::min(from, to).addDays(-qint64(std::ceil(longestDays)) - 1));
        hi = ToSQLDate(std::max(from, to));
    }
    const QString others = QStringLiteral("SELECT bookingroom.roomid FROM booking, bookingroom WHERE booking.id<>")
        + QString::number(bookingId) + QStringLiteral(" AND bookingroom.bookingid = booking.id AND ")
        + overlapConditions(F, T);
    // A stay stored ending before it starts (never by the program) does not
    // follow the bounds; it is looked for on its own, through a partial index.
    const QString sql = QStringLiteral("SELECT id, name FROM room WHERE id NOT IN (") + others
        + QStringLiteral(" AND booking.FromDate BETWEEN #") + lo + QStringLiteral("# AND #") + hi
        + QStringLiteral("# UNION ") + others + QStringLiteral(" AND booking.FromDate > booking.ToDate)");
    QVector<FreeRoom> free;
    for (Recordset rs = db.execute(sql); !rs.eof(); rs.moveNext())
        free.push_back(FreeRoom{rs.value(0).toLongLong(), rs.text(1)});
    return free;
}

}  // namespace innkeld
