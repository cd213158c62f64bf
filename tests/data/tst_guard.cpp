// The database's own guard against a room held twice and links to nothing,
// on every road that writes, against the rooms step's rule on the same
// boundary cases; stays of any length and any year; an earlier database
// given the guard; and statement plans that never read the whole history.
#include "arrivals/arrivalsquery.h"
#include "calendar/calendarweek.h"
#include "config/roomlist.h"
#include "data/copies/backup.h"
#include "data/schema/houserules.h"
#include "data/regional/regional.h"
#include "data/schema/schema.h"
#include "output/confirmation.h"
#include "testsupport.h"
#include "booking/availability.h"
#include "booking/bookingstatus.h"
#include "booking/bookingstore.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <random>

using namespace innkeld;
using namespace innkeld::test;

class TestGuard : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void guardAgreesWithTheRoomsStep_data();
    void guardAgreesWithTheRoomsStep();
    void departureDayRule();
    void writeRoads();
    void staysOfAnyLengthAndYear();
    void earlierDatabaseGetsTheGuard();
    void plansNeverReadTheWholeHistory();
};

namespace {

// Whether a statement went through; the engine's text when it did not.
QString refusal(Database &db, const QString &sql)
{
    try {
        db.execute(sql);
        return QString();
    } catch (const DbError &e) {
        return e.message();
    }
}

QString storedText(const QDateTime &value)
{
    return CanonicalDateText(value);
}

}  // namespace

void TestGuard::guardAgreesWithTheRoomsStep_data()
{
    QTest::addColumn<bool>("departureDayFree");
    QTest::newRow("departure day booked") << false;
    QTest::newRow("departure day free") << true;
}

void TestGuard::guardAgreesWithTheRoomsStep()
{
    // Stays on every boundary: the same day, an arrival on another's
    // departure day, across a month end and a year end, at midnight, just
    // after it, at 11:00 and at the day's last second, stored as the rooms
    // step lets them be stored. Then each candidate stay and room: the step's
    // answer and the engine's (a link, and a change of dates) agree, under
    // either rule of the house.
    QFETCH(bool, departureDayFree);
    TempDatabase t;
    Database &db = t.db();
    SetDepartureDayFree(db, departureDayFree);
    QList<RecordId> rooms;
    for (int r = 0; r < 4; ++r)
        rooms << t.addRoom(QStringLiteral("R%1").arg(r));
    const QDate yearEnd(2025, 12, 30), monthEnd(2026, 1, 30);
    const QTime times[] = {QTime(0, 0), QTime(0, 0, 30), QTime(11, 0), QTime(23, 59, 59)};
    std::mt19937 random(11);
    int stored = 0;
    for (int i = 0; i < 120; ++i) {
        const QDate base = (i % 2 ? yearEnd : monthEnd).addDays(int(random() % 6) - 2);
        const QDateTime from = WallClock(base, times[random() % 4]);
        const QDateTime to = WallClock(base.addDays(int(random() % 3)), times[random() % 4]);
        const RecordId room = rooms[int(random() % 4)];
        const RecordId id = CreateBooking(db, from);
        SaveDatesStep(db, id, QString(), from, to);
        if (IsRoomAvailable(db, id, room, from, to)) {
            SaveRoomsStep(db, id, {room});
            ++stored;
        }
    }
    QVERIFY(stored > 30);
    QVERIFY(StoredClashes(db).isEmpty());

    const RecordId candidate = CreateBooking(db, WallClock(QDate(2030, 1, 1), QTime(12, 0)));
    const RecordId mover = CreateBooking(db, WallClock(QDate(2030, 1, 1), QTime(12, 0)));
    int agreed = 0;
    for (const QDate &centre : {yearEnd, monthEnd}) {
        for (int f = -4; f <= 4; ++f) {
            for (int length = 0; length <= 3; ++length) {
                for (const QTime &time : times) {
                    const QDateTime from = WallClock(centre.addDays(f), time);
                    const QDateTime to = WallClock(centre.addDays(f + length), times[(length + f + 8) % 4]);
                    SaveDatesStep(db, candidate, QString(), from, to);
                    for (RecordId room : rooms) {
                        const bool free = IsRoomAvailable(db, candidate, room, from, to);
                        const QString link = refusal(db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) "
                                                                        "VALUES (%1, %2)").arg(candidate).arg(room));
                        QVERIFY2(link.isEmpty() == free, qPrintable(RegionalDateTimeText(from) + QLatin1Char(' ') + link));
                        if (!free)
                            QCOMPARE(link, QStringLiteral("The room R%1 is booked by another guest on these dates.")
                                               .arg(rooms.indexOf(room)));
                        db.execute(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = %1").arg(candidate));
                        // A booking that holds the room moved onto those dates.
                        db.execute(QStringLiteral("UPDATE booking SET fromdate = #1/1/2030#, todate = #1/2/2030# "
                                                  "WHERE id = %1").arg(mover));
                        SaveRoomsStep(db, mover, {room});
                        const QString move = refusal(db, QStringLiteral("UPDATE booking SET fromdate = '%1', todate = '%2' "
                                                                        "WHERE id = %3")
                                                             .arg(RegionalDateTimeText(from), RegionalDateTimeText(to))
                                                             .arg(mover));
                        QCOMPARE(move.isEmpty(), free);
                        ++agreed;
                    }
                }
            }
        }
    }
    QCOMPARE(agreed, 2 * 9 * 4 * 4 * 4);
    QVERIFY(StoredClashes(db).isEmpty());
}

void TestGuard::departureDayRule()
{
    // Each boundary case under both rules, on every road that decides it.
    TempDatabase t;
    QCOMPARE(DepartureDayFree(t.db()), false);  // off in a new database
    QCOMPARE(DepartureDayCases(t.db()), ExpectedDepartureDayCases());
    // The check: the pair stored with the rule on is listed, and is no fault.
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"), {QStringLiteral("--check"), t.path()});
    QVERIFY(tool.waitForFinished());
    const QStringList out = QString::fromUtf8(tool.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(out.size(), 2);
    QVERIFY2(out.first().startsWith(QLatin1String("Room Turnover: booking ")) && out.first().endsWith(QLatin1String(
                 "(2026-05-06 to 2026-05-08) meet on 2026-05-06")), qPrintable(out.first()));
    QCOMPARE(out.last(), QStringLiteral("ok"));
}

void TestGuard::writeRoads()
{
    TempDatabase t;
    Database &db = t.db();
    const RecordId sea = t.addRoom(QStringLiteral("Sea View")), garden = t.addRoom(QStringLiteral("Garden")),
                   attic = t.addRoom(QStringLiteral("Attic"));
    const QDateTime may3 = WallClock(QDate(2026, 5, 3), QTime(10, 0));
    t.addGuest(may3, may3.addDays(3), QStringLiteral("Ann"), QStringLiteral("Lee"), {sea});
    t.addGuest(may3.addDays(10), may3.addDays(12), QStringLiteral("Bo"), QStringLiteral("Kim"), {attic});

    // The dates step: the rooms that clash on the new dates come off in the
    // same transaction, and are named; the rest stay.
    const RecordId mine = t.addGuest(may3.addDays(20), may3.addDays(22), QStringLiteral("Cy"), QStringLiteral("Ahn"),
                                     {sea, garden, attic});
    QStringList off = SaveDatesStep(db, mine, QStringLiteral("Cy"), may3.addDays(1), may3.addDays(11));
    QCOMPARE(off, (QStringList{QStringLiteral("Sea View"), QStringLiteral("Attic")}));
    QCOMPARE(RoomsTakenOffMessage(off),
             QStringLiteral("The rooms Sea View, Attic are booked by other guests on these dates and were taken off "
                            "this booking. Choose other rooms."));
    QCOMPARE(RoomsTakenOffMessage({QStringLiteral("Sea View")}),
             QStringLiteral("The room Sea View is booked by another guest on these dates and was taken off this "
                            "booking. Choose another room."));
    QCOMPARE(t.run(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(mine)).value(0).toLongLong(),
             garden);
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(mine)).value(0).toInt(), 1);
    QCOMPARE(DayOf(t.run(QStringLiteral("SELECT fromdate FROM booking WHERE id = %1").arg(mine)).value(0)),
             QDate(2026, 5, 4));

    // The rooms step: a room removed meanwhile is refused by the name the
    // step showed, and nothing is written.
    const RecordId gone = t.addRoom(QStringLiteral("Loft"));
    t.run(QStringLiteral("DELETE FROM room WHERE id = %1").arg(gone));
    try {
        SaveRoomsStep(db, mine, {garden, gone}, {QStringLiteral("Garden"), QStringLiteral("Loft")});
        QFAIL("a room that is gone was linked");
    } catch (const RoomsGone &e) {
        QCOMPARE(e.message(), QStringLiteral("The room Loft was removed from the house meanwhile. Choose another room."));
    }
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(mine)).value(0).toInt(), 1);

    // Any other road (a statement, another desk's tool): the engine refuses
    // a clash by the room's name, and links to nothing.
    QCOMPARE(refusal(db, QStringLiteral("UPDATE booking SET fromdate = #5/1/2026#, todate = #5/4/2026# WHERE id = %1")
                             .arg(mine)),
             QString());  // Garden is free then
    QCOMPARE(refusal(db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)").arg(mine).arg(sea)),
             QStringLiteral("The room Sea View is booked by another guest on these dates."));
    QCOMPARE(refusal(db, QStringLiteral("UPDATE bookingroom SET roomid = %1 WHERE bookingid = %2").arg(sea).arg(mine)),
             QStringLiteral("The room Sea View is booked by another guest on these dates."));
    QCOMPARE(refusal(db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)").arg(mine).arg(gone)),
             QStringLiteral("There is no room %1 in the house.").arg(gone));
    QCOMPARE(refusal(db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (9999, %1)").arg(garden)),
             QStringLiteral("There is no booking 9999."));
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"),
               {t.path(), QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)").arg(mine).arg(sea)});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(tool.readAllStandardError().contains("The room Sea View is booked by another guest on these dates."));

    // Deleting a booking or a room takes its links along.
    t.discard(mine);
    t.run(QStringLiteral("DELETE FROM room WHERE id = %1").arg(attic));
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);
    QVERIFY(StoredClashes(db).isEmpty());
}

void TestGuard::staysOfAnyLengthAndYear()
{
    // A stay to 12/10/9999, one of thirty years and one from 1900: every
    // week and every free-room list still works, and each stay holds its
    // room on every day it touches, and on no other.
    TempDatabase t;
    Database &db = t.db();
    const RecordId far = t.addRoom(QStringLiteral("Far")), long30 = t.addRoom(QStringLiteral("Long")),
                   old = t.addRoom(QStringLiteral("Old")), free = t.addRoom(QStringLiteral("Free"));
    t.addGuest(WallClock(QDate(2026, 12, 1), QTime(9, 0)), WallClock(QDate(9999, 12, 10), QTime(9, 0)),
               QStringLiteral("Far"), QStringLiteral("Future"), {far});
    t.addGuest(WallClock(QDate(2000, 1, 1), QTime(9, 0)), WallClock(QDate(2030, 1, 1), QTime(9, 0)),
               QStringLiteral("Thirty"), QStringLiteral("Years"), {long30});
    t.addGuest(WallClock(QDate(1900, 1, 1), QTime(0, 0)), WallClock(QDate(1900, 1, 3), QTime(0, 0)),
               QStringLiteral("Long"), QStringLiteral("Ago"), {old});
    const auto freeNames = [&db](const QDate &from, const QDate &to) {
        QStringList names;
        for (const FreeRoom &room : FreeRooms(db, 0, WallClock(from, QTime(14, 0)), WallClock(to, QTime(10, 0))))
            names << room.name;
        return names;
    };
    QCOMPARE(freeNames(QDate(2026, 12, 7), QDate(2026, 12, 9)), (QStringList{QStringLiteral("Old"), QStringLiteral("Free")}));
    QCOMPARE(freeNames(QDate(9999, 12, 10), QDate(9999, 12, 12)),
             (QStringList{QStringLiteral("Long"), QStringLiteral("Old"), QStringLiteral("Free")}));
    QCOMPARE(freeNames(QDate(9999, 12, 11), QDate(9999, 12, 12)).size(), 4);
    QCOMPARE(freeNames(QDate(1899, 12, 30), QDate(1900, 1, 1)),
             (QStringList{QStringLiteral("Far"), QStringLiteral("Long"), QStringLiteral("Free")}));
    QVERIFY(!IsRoomAvailable(db, 0, far, QDate(5000, 6, 1), QDate(5000, 6, 2)));
    QVERIFY(IsRoomAvailable(db, 0, free, QDate(5000, 6, 1), QDate(5000, 6, 2)));
    for (const QDate &monday : {QDate(2026, 12, 7), QDate(9999, 12, 6), QDate(1899, 12, 28)}) {
        const CalendarWeek week = ReadCalendarWeek(db, monday, 0, 10);
        QCOMPARE(week.roomIds.size(), 4);
        for (int day = 0; day < 7; ++day) {
            const QDate date = monday.addDays(day);
            QCOMPARE(week.cell(0, day).booked(), date >= QDate(2026, 12, 1) && date <= QDate(9999, 12, 10));
            QCOMPARE(week.cell(1, day).booked(), date >= QDate(2000, 1, 1) && date <= QDate(2030, 1, 1));
            QCOMPARE(week.cell(2, day).booked(), date >= QDate(1900, 1, 1) && date <= QDate(1900, 1, 3));
            QVERIFY(!week.cell(3, day).booked());
        }
    }
    // The rooms shown and no others are read.
    const CalendarWeek two = ReadCalendarWeek(db, QDate(2026, 12, 7), 1, 2);
    QCOMPARE(two.roomIds, (QVector<RecordId>{long30, old}));
}

void TestGuard::earlierDatabaseGetsTheGuard()
{
    // A database of an earlier version: no stays index, no guard, a clash
    // and a link to a room that is gone stored. Opened, it gets both; what
    // was stored stays and is listed by the check, which exits 1.
    TempDatabase t;
    const RecordId barn = t.addRoom(QStringLiteral("Barn"));
    const QDateTime may3 = WallClock(QDate(2026, 5, 3), QTime(10, 0));
    t.allowClashes(true);
    const RecordId a = t.addGuest(may3, may3.addDays(3), QStringLiteral("A"), QStringLiteral("A"), {barn});
    const RecordId b = t.addGuest(may3.addDays(2), may3.addDays(5), QStringLiteral("B"), QStringLiteral("B"), {barn});
    t.run(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, 77)").arg(a));
    for (const char *trigger : {"booking_stay_insert", "booking_stay_update", "booking_stay_delete", "room_links_delete"})
        t.run(QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(trigger)));
    t.run(QStringLiteral("DROP TABLE booking_stay"));
    const QDateTime later = may3.addDays(30);
    const RecordId c = t.addGuest(later, later.addDays(2), QStringLiteral("C"), QStringLiteral("C"), {});
    // Nor the house's rules, and a guard of its own that knows nothing of them.
    t.run(QStringLiteral("DROP TABLE houserules"));
    t.run(QStringLiteral("DROP TRIGGER IF EXISTS booking_guard_dates"));
    t.run(QStringLiteral("CREATE TRIGGER booking_guard_dates BEFORE UPDATE OF FromDate, ToDate ON booking "
                         "BEGIN SELECT innkeld_refuse('an earlier guard'); END"));

    // Nor the stays index by room.
    t.run(QStringLiteral("DROP TABLE room_stay"));

    // The upgrade, told how far it is and what it does; stopped, it leaves
    // the database as it was, and the next one gives it all. Alone on the
    // file, it writes with a rollback journal, and the log again after.
    {
        std::unique_ptr<Database> old = OpenDatabase(t.path(), false);
        QVERIFY(DatabaseNeedsUpgrade(*old));
        QStringList said;
        QVERIFY_THROWS_EXCEPTION(DbError, UpgradeDatabase(*old, [&](int done, int, const QString &what) {
            said << what;
            return done < 1;
        }));
        QCOMPARE(said.size(), 2);
        QVERIFY(DatabaseNeedsUpgrade(*old));
        // The stays index is built aside (on a thread and a database of
        // its own) while the rest is, also while another desk has the file
        // open; the upgrade waits for it last, and a stop then leaves the
        // database as it was as well.
        const QString stays = QStringLiteral("Building the stays index and the guard");
        const auto journal = [&] { return old->query(QStringLiteral("PRAGMA journal_mode")).value(0).toString(); };
        QStringList journals;
        QVERIFY_THROWS_EXCEPTION(DbError, UpgradeDatabase(*old, [&](int done, int total, const QString &what) {
            if (journals.isEmpty())
                journals << journal();
            return !(what == stays && done == total - 1);
        }));
        QCOMPARE(journals, QStringList{QStringLiteral("wal")});
        QVERIFY(DatabaseNeedsUpgrade(*old));
        t.close();
        QCOMPARE(journal(), QStringLiteral("wal"));
        int last = -1, steps = 0;
        bool inOrder = true;
        journals.clear();
        UpgradeDatabase(*old, [&](int done, int total, const QString &what) -> bool {
            if (journals.isEmpty())
                journals << journal();
            inOrder &= done >= last && done <= total;
            last = done;
            steps = total;
            said << what;
            return true;
        });
        QVERIFY(inOrder);
        QCOMPARE(last, steps);
        QVERIFY(said.contains(QStringLiteral("Building the stays index by room")));
        QVERIFY(!DatabaseNeedsUpgrade(*old));
        QCOMPARE(journals, QStringList{QStringLiteral("delete")});
        QCOMPARE(journal(), QStringLiteral("wal"));
        // Carried over whole: every stay, in a tree that holds together.
        QCOMPARE(old->query(QStringLiteral("SELECT rtreecheck('booking_stay')")).value(0).toString(), QStringLiteral("ok"));
        QCOMPARE(old->query(QStringLiteral("SELECT group_concat(id || ':' || firstday || '-' || lastday) FROM "
                                           "(SELECT * FROM booking_stay ORDER BY id)"))
                     .value(0)
                     .toString(),
                 QStringLiteral("%1:2461164-2461167,%2:2461166-2461169,%3:2461194-2461196").arg(a).arg(b).arg(c));
    }
    std::unique_ptr<Database> reopened = OpenDatabase(t.path());
    Database &db = *reopened;
    QCOMPARE(ReadCalendarWeek(db, QDate(2026, 5, 4), 0).cell(0, 1).bookings, (QVector<RecordId>{a, b}));
    QCOMPARE(DepartureDayFree(db), false);
    SetDepartureDayFree(db, true);
    QVERIFY(refusal(db, QStringLiteral("UPDATE booking SET todate = #6/3/2026# WHERE id = %1").arg(c)).isEmpty());
    SetDepartureDayFree(db, false);
    QVERIFY(!IsRoomAvailable(db, 0, barn, may3.addDays(1), may3.addDays(2)));
    QVERIFY(refusal(db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)").arg(c).arg(barn)).isEmpty());
    QVERIFY(!IsRoomAvailable(db, 0, barn, later, later.addDays(1)));  // the new link is in the index
    QCOMPARE(refusal(db, QStringLiteral("UPDATE booking SET fromdate = #5/4/2026# WHERE id = %1").arg(c)),
             QStringLiteral("The room Barn is booked by another guest on these dates."));
    const QStringList expected{
        QStringLiteral("Room Barn: booking %1 (2026-05-03 to 2026-05-06) and booking %2 (2026-05-05 to 2026-05-08) clash")
            .arg(a)
            .arg(b),
        QStringLiteral("Link %1: booking %2 holds room 77, which is not there")
            .arg(db.execute(QStringLiteral("SELECT id FROM bookingroom WHERE roomid = 77")).value(0).toLongLong())
            .arg(a)};
    QCOMPARE(StoredClashes(db), expected);
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"), {QStringLiteral("--check"), t.path()});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).trimmed().split(QLatin1Char('\n')), expected);
}

void TestGuard::plansNeverReadTheWholeHistory()
{
    // A house grown by use: years of stays, no planner statistics. No
    // statement of an operator action reads every booking, link or customer.
    TempDatabase t;
    Database &db = t.db();
    QList<RecordId> rooms;
    for (int r = 0; r < 20; ++r)
        rooms << t.addRoom(QStringLiteral("Room %1").arg(r));
    {
        Database::Transaction tx(db);
        QSqlQuery customer(db.connection()), booking(db.connection()), link(db.connection());
        customer.prepare(QStringLiteral("INSERT INTO customer (ID, FirstName, LastName) VALUES (?, 'Ann', ?)"));
        booking.prepare(QStringLiteral("INSERT INTO booking (ID, CustomerID, FromDate, ToDate) VALUES (?, ?, ?, ?)"));
        link.prepare(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (?, ?)"));
        const QDate first(2010, 1, 1);
        for (int i = 1; i <= 8000; ++i) {
            const QDate day = first.addDays(i / 20 * 5);
            customer.addBindValue(i);
            customer.addBindValue(QStringLiteral("Lee %1").arg(i));
            QVERIFY(customer.exec());
            booking.addBindValue(i);
            booking.addBindValue(i);
            booking.addBindValue(storedText(WallClock(day, QTime(14, 0))));
            booking.addBindValue(storedText(WallClock(day.addDays(3), QTime(10, 0))));
            QVERIFY(booking.exec());
            link.addBindValue(i);
            link.addBindValue(rooms[i % 20]);
            QVERIFY2(link.exec(), qPrintable(link.lastError().text()));
        }
        tx.commit();
    }
    QVERIFY(db.execute(QStringLiteral("SELECT name FROM sqlite_master WHERE name = 'sqlite_stat1'")).eof());

    QStringList statements;
    db.setStatementLog(&statements);
    const QDate day(2020, 12, 7);
    const QDateTime from = WallClock(day, QTime(14, 0)), to = from.addDays(2);
    ReadDayList(db, ArrivalsSql(day));
    ReadDayList(db, DeparturesSql(day));
    ReadCalendarWeek(db, day, 5, 10);
    const RecordId id = CreateBooking(db, from);
    SaveDatesStep(db, id, QStringLiteral("Desk"), from, to);
    const QVector<FreeRoom> free = FreeRooms(db, id, from, to);
    QVERIFY(!free.isEmpty());
    SaveRoomsStep(db, id, {free.first().id});
    SaveDatesStep(db, id, QStringLiteral("Desk"), from.addDays(1), to.addDays(1));
    CustomerDetails details;
    details[1] = QStringLiteral("Berg");
    SaveCustomerStep(db, id, QStringLiteral("2"), QStringLiteral("0"), details);
    const QString zero = FormatMoney(0);
    SavePaymentStep(db, id, PaymentDetails{zero, QString(), zero, zero, zero, zero, QString(), QString(), QString()});
    ConfirmationDocument(db, id, QStringLiteral("$"), QStringLiteral("Tax"));
    ReadRoomEntries(db);
    // The booking's life: cancelled, restored, checked in; the guests not
    // arrived.
    ChangeBookingStatus(db, id, BookingStatus::Booked, StatusChange{BookingStatus::Cancelled, CancelReason::Guest});
    ChangeBookingStatus(db, id, BookingStatus::Cancelled, StatusChange{BookingStatus::Booked});
    ChangeBookingStatus(db, id, BookingStatus::Booked, StatusChange{BookingStatus::CheckedIn});
    QVERIFY(!NotArrivedBookings(db, day).isEmpty());
    db.setStatementLog(nullptr);

    QVERIFY(statements.size() > 15);
    const QRegularExpression scan(QStringLiteral("^SCAN (\\w+)"));
    for (const QString &sql : statements) {
        QSqlQuery plan(db.connection());
        QVERIFY2(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql), qPrintable(sql));
        while (plan.next()) {
            const QString detail = plan.value(3).toString();
            const QRegularExpressionMatch m = scan.match(detail);
            if (!m.hasMatch() || detail.contains(QLatin1String("VIRTUAL TABLE")))
                continue;
            // The rooms of the house are read whole, and nothing else is.
            const QString table = m.captured(1);
            QVERIFY2(table.compare(QLatin1String("room"), Qt::CaseInsensitive) == 0 || table == QLatin1String("CONSTANT"),
                     qPrintable(detail + QStringLiteral(" in ") + sql));
        }
    }
}

QTEST_GUILESS_MAIN(TestGuard)
#include "tst_guard.moc"
