#include "arrivalsquery.h"

namespace innkeld {

namespace {

// The whole day, from midnight to its last second: stored times keep their
// seconds, so a stay stored at 23:59:30 belongs to the day too.
QString dayQuery(const char *column, const QDate &day)
{
    const QString d = ToSQLDate(day);
    return QStringLiteral("SELECT booking.id, fromdate, firstname, lastname FROM booking, customer WHERE "
                          "booking.customerid = customer.id AND ")
        + QLatin1String(column) + QStringLiteral(" BETWEEN #") + d + QStringLiteral(" 12:00 AM# AND #") + d
        + QStringLiteral(" 11:59:59 PM# ORDER BY ") + QLatin1String(column) + QStringLiteral(", booking.id");
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
        return QStringLiteral("No name entered");
    return name;
}

QVector<DayListEntry> ReadDayList(Database &db, const QString &sql)
{
    QVector<DayListEntry> out;
    for (Recordset rs = db.execute(sql); !rs.eof(); rs.moveNext())
        out.push_back(DayListEntry{GuestDisplayName(rs.value(QStringLiteral("firstname")),
                                                    rs.value(QStringLiteral("lastname"))),
                                   rs.value(0).toLongLong()});
    return out;
}

}  // namespace innkeld
