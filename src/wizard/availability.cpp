#include "availability.h"

namespace innkeld {

QString OverlapSql(RecordId bookingId, RecordId roomId, const QVariant &arrival, const QVariant &departure)
{
    const QString F = ToSQLDate(arrival);
    const QString T = ToSQLDate(departure);
    return QStringLiteral("SELECT booking.id, fromdate, todate FROM booking, bookingroom WHERE booking.id<>")
        + QString::number(bookingId) + QStringLiteral(" AND bookingroom.roomid=") + QString::number(roomId)
        + QStringLiteral(" AND bookingroom.bookingid = booking.id AND ((#") + F + QStringLiteral("#>= fromdate AND #")
        + F + QStringLiteral("#<= todate) OR (#") + T + QStringLiteral("#>= fromdate AND #") + T
        + QStringLiteral("#<= todate) OR (fromdate>=#") + F + QStringLiteral("# AND todate<=#") + T
        + QStringLiteral("#));");
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

}  // namespace innkeld
