#include "calendarweek.h"

#include "arrivals/arrivalsquery.h"
#include "booking/staychart.h"
#include "data/schema/bookingtables.h"
#include "data/schema/houserules.h"
#include "data/regional/regional.h"

#include <QHash>

#include <algorithm>

namespace innkeld {

QString CalendarWeekSql(const QDate &start, const QVector<RecordId> &rooms, Engine engine, int days)
{
    // The stays of the rooms shown that touch the days shown, from the
    // stays index by room: what is read follows the rooms and days shown,
    // not the house's rooms.
    QStringList ids;
    for (RecordId id : rooms)
        ids << QString::number(id);
    const QString shown = ids.isEmpty() ? QStringLiteral("NULL") : ids.join(QLatin1Char(','));
    const QString touching = RoomStaysTouchingSql(engine, QStringLiteral("s"), QString::number(start.toJulianDay()),
                                                  QString::number(start.addDays(days - 1).toJulianDay()), rooms);
    // The server looks up each stay's link, booking and guest by their keys
    // (a lateral query): without statistics its planner would read every
    // link.
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("SELECT w.id, fromdate, todate, baID, firstname, lastname FROM room_stay AS s "
                              "CROSS JOIN LATERAL (SELECT b.id, b.fromdate, b.todate, ba.roomid AS baID, c.firstname, "
                              "c.lastname FROM bookingroom AS ba JOIN booking AS b ON b.id = ba.bookingid "
                              "LEFT JOIN customer AS c ON c.id = b.customerid WHERE ba.id = s.id OFFSET 0) AS w WHERE ")
            + touching + QStringLiteral(" ORDER BY fromdate, todate;");
    return QStringLiteral("SELECT b.id, fromdate, todate, ba.roomid AS baID, c.firstname, c.lastname ")
        + QStringLiteral("FROM room_stay AS s CROSS JOIN bookingroom AS ba CROSS JOIN booking AS b ")
        + QStringLiteral("LEFT JOIN customer AS c ON c.id = b.customerid WHERE ") + touching
        + QStringLiteral(" AND ba.id = s.id AND b.id = ba.bookingid AND ba.roomid IN (") + shown
        + QStringLiteral(") ORDER BY fromdate, todate;");
}

HouseRooms ReadHouseRooms(Database &db)
{
    const ChartRooms rooms = ReadChartRooms(db);
    return HouseRooms{rooms.ids, rooms.names};
}

namespace {

// The cells of the week's rooms filled from the stays of the days shown.
void fillCells(Database &db, CalendarWeek &week)
{
    QHash<RecordId, int> columnOf;
    for (int c = 0; c < week.roomIds.size(); ++c)
        // A room listed twice (never by the program) keeps its first column.
        if (!columnOf.contains(week.roomIds.at(c)))
            columnOf.insert(week.roomIds.at(c), c);
    week.departureDayFree = DepartureDayFree(db);
    week.cells.resize(week.roomIds.size() * week.days);
    const QDate start = week.start;
    for (Recordset rs = db.execute(CalendarWeekSql(start, week.roomIds, db.engineKind(), week.days)); !rs.eof();
         rs.moveNext()) {
        const auto column = columnOf.constFind(rs.value(3).toLongLong());
        if (column == columnOf.constEnd())
            continue;
        const QDate from = rs.value(1).toDateTime().date();
        const QDate to = rs.value(2).toDateTime().date();
        // Whole days: from the arrival day to the departure day, both booked
        // (or the departure day departing, when it is free for an arrival).
        for (int day = 0; day < week.days; ++day) {
            const QDate date = start.addDays(day);
            if (date.daysTo(from) <= 0 && date.daysTo(to) >= 0) {
                CalendarCell &cell = week.cells[*column * week.days + day];
                if (week.departureDayFree && date == to && from < to) {
                    cell.departing << rs.value(0).toLongLong();
                    cell.departingGuests << GuestDisplayName(rs.value(4), rs.value(5));
                } else {
                    cell.bookings << rs.value(0).toLongLong();
                    cell.guests << GuestDisplayName(rs.value(4), rs.value(5));
                }
            }
        }
    }
}

}  // namespace

CalendarWeek ReadCalendarWeek(Database &db, const QDate &start, qint64 skipRooms, int shownRooms)
{
    CalendarWeek week;
    week.start = start;
    week.roomCount = db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toLongLong();
    QString rooms = QStringLiteral("SELECT id, name FROM room");
    // A window of rooms never starts past the last full one: rooms removed
    // meanwhile leave no blank columns.
    if (shownRooms >= 0)
        rooms += QStringLiteral(" LIMIT %1 OFFSET %2")
                     .arg(shownRooms)
                     .arg(std::clamp<qint64>(skipRooms, 0, std::max<qint64>(0, week.roomCount - shownRooms)));
    qint64 position = 0;
    for (Recordset rs = db.execute(rooms); !rs.eof(); rs.moveNext()) {
        if (shownRooms < 0 && ++position <= skipRooms)
            continue;
        week.roomIds << rs.value(0).toLongLong();
        week.roomNames << rs.text(1);
    }
    fillCells(db, week);
    return week;
}

CalendarWeek ReadCalendarDays(Database &db, const QDate &start, int days, const HouseRooms &rooms, int first, int count)
{
    CalendarWeek week;
    week.start = start;
    week.days = days;
    week.roomCount = rooms.ids.size();
    week.roomIds = rooms.ids.mid(first, count);
    week.roomNames = rooms.names.mid(first, count);
    fillCells(db, week);
    return week;
}

}  // namespace innkeld
