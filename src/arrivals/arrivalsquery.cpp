#include "arrivalsquery.h"

#include <QCoreApplication>

#include <algorithm>
#include <numeric>

namespace innkeld {

namespace {

// The whole day, from midnight to its last second: stored times keep their
// seconds, so a stay stored at 23:59:30 belongs to the day too.
QString dayQuery(const char *column, const QDate &day)
{
    const QString d = ToSQLDate(day);
    return QStringLiteral("SELECT booking.id, fromdate, firstname, lastname, booking.status FROM booking, customer WHERE "
                          "booking.customerid = customer.id AND ")
        + QLatin1String(column) + QStringLiteral(" BETWEEN #") + d + QStringLiteral(" 12:00 AM# AND #") + d
        + QStringLiteral(" 11:59:59 PM#");
}

}  // namespace

QString ArrivalsSql(const QDate &day)
{
    return dayQuery("fromdate", day);
}

QString DeparturesSql(const QDate &day)
{
    return dayQuery("todate", day);
}

QString GuestDisplayName(const QVariant &firstName, const QVariant &lastName)
{
    const QString name = Recordset::TextOf(firstName) + QLatin1Char(' ') + Recordset::TextOf(lastName);
    if (name == QLatin1String(" "))
        return QCoreApplication::translate("Arrivals", "No name entered");
    return name;
}

QVector<DayListEntry> ReadDayList(Database &db, const QString &sql)
{
    QVector<DayListEntry> out;
    QVector<QDateTime> arrivals;
    for (Recordset rs = db.execute(sql); !rs.eof(); rs.moveNext()) {
        out.push_back(DayListEntry{GuestDisplayName(rs.value(QStringLiteral("firstname")),
                                                    rs.value(QStringLiteral("lastname"))),
                                   rs.value(0).toLongLong(), StatusFromCode(rs.text(4))});
        arrivals << rs.value(1).toDateTime();
    }
    for (DayListEntry &e : out) {
        if (e.status == BookingStatus::Booked)
            continue;
        QString status = StatusLabel(e.status);
        if (!HoldsRooms(e.status))
            if (const QString reason = ReasonLabel(ReadBookingStatus(db, e.bookingId).reason);
                !reason.isEmpty() && reason != status)
                status += QStringLiteral(": ") + reason;
        e.text += QStringLiteral(" (%1)").arg(status);
    }
    // SQLite gives the day's stays by the time of day (its index), then by
    // booking; the server is asked for the booking order and sorted so.
    if (db.onServer()) {
        QVector<int> order(out.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return arrivals[a] < arrivals[b]; });
        QVector<DayListEntry> sorted;
        for (int i : order)
            sorted << out[i];
        out.swap(sorted);
    }
    return out;
}

}  // namespace innkeld
