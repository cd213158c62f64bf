#include "calendarweek.h"

#include "arrivals/arrivalsquery.h"
#include "data/regional.h"
#include "wizard/availability.h"

#include <QHash>

#include <cmath>

namespace innkeld {

QString CalendarWeekSql(const QDate &start, double longestStayDays)
{
    // A stay touches the week when it arrives before the day after the week
    // and departs on or after the week's first day (its midnight). So it
    // arrives no earlier than the first day less the longest stay.
    const QDate end = start.addDays(7);
    const QDate earliest = start.addDays(-qint64(std::ceil(std::max(0.0, longestStayDays))) - 1);
    return QStringLiteral("SELECT b.id, fromdate, todate, ba.roomid AS baID, c.firstname, c.lastname ")
        + QStringLiteral("FROM booking as b JOIN bookingroom as ba ON ba.bookingid = b.id ")
        + QStringLiteral("LEFT JOIN customer as c ON c.id = b.customerid WHERE ")
        + QStringLiteral("b.FromDate >= #") + ToSQLDate(earliest) + QStringLiteral("# AND b.FromDate < #")
        + ToSQLDate(end) + QStringLiteral("# AND b.ToDate >= #") + ToSQLDate(start) + QStringLiteral("# ")
        // A stay stored ending before it starts marks nothing, but its
        // arrival day when both fall on one day; it has an index of its own.
        + QStringLiteral("UNION SELECT b.id, fromdate, todate, ba.roomid AS baID, c.firstname, c.lastname ")
        + QStringLiteral("FROM booking as b JOIN bookingroom as ba ON ba.bookingid = b.id ")
        + QStringLiteral("LEFT JOIN customer as c ON c.id = b.customerid WHERE b.FromDate > b.ToDate ")
        + QStringLiteral("ORDER BY fromdate, todate;");
}

CalendarWeek ReadCalendarWeek(Database &db, const QDate &start, qint64 skipRooms)
{
    CalendarWeek week;
    week.start = start;
    week.roomCount = db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toLongLong();
    QHash<RecordId, int> columnOf;
    qint64 position = 0;
    for (Recordset rooms = db.execute(QStringLiteral("SELECT id, name FROM room")); !rooms.eof(); rooms.moveNext()) {
        if (++position <= skipRooms)
            continue;
        const RecordId id = rooms.value(0).toLongLong();
        // A room listed twice (never by the program) keeps its first column.
        if (!columnOf.contains(id))
            columnOf.insert(id, int(week.roomIds.size()));
        week.roomIds << id;
        week.roomNames << rooms.text(1);
    }
    week.cells.resize(week.roomIds.size() * 7);

    const double longestDays = LongestStayDays(db);
    for (Recordset rs = db.execute(CalendarWeekSql(start, longestDays)); !rs.eof(); rs.moveNext()) {
        const auto column = columnOf.constFind(rs.value(3).toLongLong());
        if (column == columnOf.constEnd())
            continue;  // a room before the scroll position
        const QDate from = rs.value(1).toDateTime().date();
        const QDate to = rs.value(2).toDateTime().date();
        // Whole days: from the arrival day to the departure day, both booked.
        for (int day = 0; day < 7; ++day) {
            const QDate date = start.addDays(day);
            if (date.daysTo(from) <= 0 && date.daysTo(to) >= 0) {
                CalendarCell &cell = week.cells[*column * 7 + day];
                cell.bookings << rs.value(0).toLongLong();
                cell.guests << GuestDisplayName(rs.value(4), rs.value(5));
            }
        }
    }
    return week;
}

}  // namespace innkeld
