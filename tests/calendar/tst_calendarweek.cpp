// The calendar's week without a window: which cells a stay marks on every
// boundary of the week, the rooms skipped by the scroll position, and the
// query's bounds.
#include "calendar/calendarweek.h"
#include "data/regional/regional.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// The days (0 to 6) a room's column shows booked.
QList<int> bookedDays(const CalendarWeek &week, RecordId room)
{
    QList<int> days;
    const int column = int(week.roomIds.indexOf(room));
    if (column < 0)
        return {-1};  // no column for the room
    for (int day = 0; day < 7; ++day)
        if (week.cell(column, day).booked())
            days << day;
    return days;
}

}  // namespace

class TestCalendarWeek : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void staysOnEveryBoundaryOfTheWeek();
};

void TestCalendarWeek::staysOnEveryBoundaryOfTheWeek()
{
    TempDatabase t;
    const QDate monday(2026, 12, 28);  // the week runs across the year's end
    const auto at = [&](int day, int hour) { return WallClock(monday.addDays(day), QTime(hour, 0)); };
    QList<RecordId> rooms;
    for (int r = 0; r < 9; ++r)
        rooms << t.addRoom(QStringLiteral("R%1").arg(r));
    t.addGuest(at(-3, 14), at(0, 10), QStringLiteral("Leaves"), QStringLiteral("Monday"), {rooms[0]});
    t.addGuest(at(6, 14), at(9, 10), QStringLiteral("Comes"), QStringLiteral("Sunday"), {rooms[1]});
    t.addGuest(at(0, 14), at(2, 10), QStringLiteral("Mon"), QStringLiteral("Wed"), {rooms[2]});
    t.addGuest(at(-10, 14), at(20, 10), QStringLiteral("Long"), QStringLiteral("Stay"), {rooms[3]});
    t.addGuest(at(3, 14), at(4, 10), QStringLiteral("Two"), QStringLiteral("Rooms"), {rooms[4], rooms[5]});
    t.addGuest(at(7, 0), at(8, 10), QStringLiteral("Next"), QStringLiteral("Week"), {rooms[6]});
    t.addGuest(at(-5, 14), at(-1, 10), QStringLiteral("Last"), QStringLiteral("Week"), {rooms[6]});
    t.addGuest(at(1, 14), at(3, 10), QStringLiteral("No"), QStringLiteral("Rooms"));  // no links: marks nothing
    const RecordId gone = t.addGuest(at(2, 14), at(3, 10), QStringLiteral("Soon"), QStringLiteral("Gone"), {rooms[7]});
    t.addBooking(at(4, 14), at(5, 10), 0, {rooms[8]});  // no customer yet: still booked

    CalendarWeek week = ReadCalendarWeek(t.db(), monday, 0);
    QCOMPARE(week.roomCount, qint64(9));
    QCOMPARE(week.roomNames.first(), QStringLiteral("R0"));
    QCOMPARE(bookedDays(week, rooms[0]), QList<int>{0});            // departs on the first day
    QCOMPARE(bookedDays(week, rooms[1]), QList<int>{6});            // arrives on the seventh at 14:00
    QCOMPARE(bookedDays(week, rooms[2]), (QList<int>{0, 1, 2}));    // Monday to Wednesday
    QCOMPARE(bookedDays(week, rooms[3]), (QList<int>{0, 1, 2, 3, 4, 5, 6}));  // longer than the week
    QCOMPARE(bookedDays(week, rooms[4]), (QList<int>{3, 4}));       // each of its rooms
    QCOMPARE(bookedDays(week, rooms[5]), (QList<int>{3, 4}));
    QCOMPARE(bookedDays(week, rooms[6]), QList<int>{});              // the weeks before and after
    QCOMPARE(bookedDays(week, rooms[7]), (QList<int>{2, 3}));
    QCOMPARE(bookedDays(week, rooms[8]), (QList<int>{4, 5}));
    QCOMPARE(week.cell(2, 1).guests, QStringList{QStringLiteral("Mon Wed")});
    QCOMPARE(week.cell(8, 4).guests, QStringList{QStringLiteral("No name entered")});

    // Rooms before the scroll position have no column and mark nothing.
    week = ReadCalendarWeek(t.db(), monday, 3);
    QCOMPARE(week.roomIds.size(), 6);
    QCOMPARE(week.roomIds.first(), rooms[3]);
    QCOMPARE(bookedDays(week, rooms[2]), QList<int>{-1});
    QCOMPARE(bookedDays(week, rooms[3]), (QList<int>{0, 1, 2, 3, 4, 5, 6}));

    // A booking removed before a refresh: its cells are free again.
    t.discard(gone);
    t.run(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = %1").arg(gone));
    QCOMPARE(bookedDays(ReadCalendarWeek(t.db(), monday, 0), rooms[7]), QList<int>{});

    // The query looks only at the stays that touch the week, of the rooms shown.
    const QString sql = CalendarWeekSql(monday, {rooms[0], rooms[1]});
    QVERIFY(sql.contains(QStringLiteral("s.firstday <= %1 AND s.lastday >= %2")
                             .arg(monday.addDays(6).toJulianDay())
                             .arg(monday.toJulianDay())));
    QVERIFY(sql.contains(QStringLiteral("ba.roomid IN (%1,%2)").arg(rooms[0]).arg(rooms[1])));
    QVERIFY(sql.endsWith(QStringLiteral("ORDER BY fromdate, todate;")));
}

QTEST_GUILESS_MAIN(TestCalendarWeek)
#include "tst_calendarweek.moc"
