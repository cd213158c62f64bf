// Applying the rooms list to the database: the cascade of a removed room and
// the all-or-nothing of one OK.
#include "booking/bookingstatus.h"
#include "config/roomlist.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

QVector<RoomEntry> without(QVector<RoomEntry> entries, RecordId id)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(), [id](const RoomEntry &e) { return e.Id == id; }),
                  entries.end());
    return entries;
}

}  // namespace

class TestRoomList : public QObject
{
    Q_OBJECT
private slots:
    void readMarksBookedRooms();
    void removingABookedRoomTakesItsBookingsWhole();
    void additionsInOrder();
    void failureLeavesEverythingAsItWas();
    void roomsStoredElsewhereMeanwhileStay();
};

void TestRoomList::readMarksBookedRooms()
{
    TempDatabase t;
    const RecordId a = t.addRoom(QStringLiteral("Attic"));
    t.addRoom(QStringLiteral("Barn"));
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    t.addGuest(now, now.addDays(1), QStringLiteral("A"), QStringLiteral("B"), {a});
    const QVector<RoomEntry> entries = ReadRoomEntries(t.db());
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].Id, a);
    QVERIFY(entries[0].Booked);
    QVERIFY(!entries[1].Booked);
    QCOMPARE(RoomListText(entries[0]), QStringLiteral("Attic (is booked)"));
    QCOMPARE(RoomListText(entries[1]), QStringLiteral("Barn"));
}

void TestRoomList::removingABookedRoomTakesItsBookingsWhole()
{
    TempDatabase t;
    const RecordId a = t.addRoom(QStringLiteral("A"));
    const RecordId b = t.addRoom(QStringLiteral("B"));
    const RecordId c = t.addRoom(QStringLiteral("C"));
    const QDateTime now(QDate::currentDate(), QTime(12, 0));
    t.allowClashes(true);  // stored by an earlier version: two bookings hold B
    const RecordId both = t.addGuest(now, now.addDays(2), QStringLiteral("Two"), QStringLiteral("Rooms"), {a, b});
    const RecordId onlyB = t.addGuest(now, now.addDays(1), QStringLiteral("Only"), QStringLiteral("B"), {b});
    const RecordId keep = t.addGuest(now, now.addDays(1), QStringLiteral("Only"), QStringLiteral("C"), {c});
    t.addBooking(now, now.addDays(1), 0, {b});  // never reached its customer step
    t.allowClashes(false);
    // A guest checked in there: the room stays until they are moved or out.
    const RecordId inside = t.addGuest(now.addDays(5), now.addDays(6), QStringLiteral("In"), QStringLiteral("Side"), {b});
    t.run(QStringLiteral("UPDATE booking SET FromDate = #%1#, ToDate = #%2# WHERE id = %3")
              .arg(now.addDays(-1).toString(QStringLiteral("M/d/yyyy")), now.addDays(-1).toString(QStringLiteral("M/d/yyyy")))
              .arg(inside));
    ChangeBookingStatus(t.db(), inside, BookingStatus::Booked, StatusChange{BookingStatus::CheckedIn});
    QCOMPARE(RoomHoldersText(t.db(), b).count(QLatin1Char('\n')), 3);
    try {
        ApplyRoomEntries(t.db(), ReadRoomEntries(t.db()), without(ReadRoomEntries(t.db()), b));
        QFAIL("a room with a guest checked in was removed");
    } catch (const DbError &e) {
        QCOMPARE(e.message(), QStringLiteral("The room B is not removed: the guest of booking %1 (In Side) is checked in "
                                             "there. Check the guest out, or move them to another room, first.")
                                  .arg(inside));
    }
    ChangeBookingStatus(t.db(), inside, BookingStatus::CheckedIn, StatusChange{BookingStatus::CheckedOut});

    // The bookings that held it are kept, cancelled by the house with the
    // room named, their other rooms free; the draft goes; the stay that has
    // ended keeps its history without the room.
    ApplyRoomEntries(t.db(), ReadRoomEntries(t.db()), without(ReadRoomEntries(t.db()), b));
    QCOMPARE(t.count(QStringLiteral("room")), 2);
    QCOMPARE(t.count(QStringLiteral("booking")), 4);
    QCOMPARE(t.count(QStringLiteral("customer")), 4);
    for (const RecordId gone : {both, onlyB}) {
        const StatusEntry s = ReadBookingStatus(t.db(), gone);
        QVERIFY(s.status == BookingStatus::Cancelled);
        QVERIFY(s.reason == CancelReason::House);
        QCOMPARE(s.note, QStringLiteral("The room B was removed from the house."));
    }
    QVERIFY(ReadBookingStatus(t.db(), keep).status == BookingStatus::Booked);
    QVERIFY(ReadBookingStatus(t.db(), inside).status == BookingStatus::CheckedOut);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);
    QCOMPARE(t.run(QStringLiteral("SELECT roomid FROM releasedroom WHERE bookingid = %1").arg(both)).value(0).toLongLong(), a);
    QCOMPARE(t.count(QStringLiteral("releasedroom")), 1);
    const QVector<RoomEntry> after = ReadRoomEntries(t.db());
    QCOMPARE(after[0].Id, a);
    QVERIFY(!after[0].Booked);
    QVERIFY(after[1].Booked);
}

void TestRoomList::additionsInOrder()
{
    TempDatabase t;
    // An empty list on an empty table writes nothing.
    ApplyRoomEntries(t.db(), {}, {});
    QCOMPARE(t.count(QStringLiteral("room")), 0);

    // A name another room has (letter case and surrounding blanks aside)
    // is refused, naming it, and nothing of the list is stored.
    try {
        ApplyRoomEntries(t.db(), {}, {RoomEntry{-1, QStringLiteral("Twin"), false},
                                      RoomEntry{-1, QStringLiteral(" twin "), false}});
        QFAIL("a second Twin was stored");
    } catch (const DbError &e) {
        QCOMPARE(e.message(), RoomNameTakenText(QStringLiteral("Twin")));
    }
    QCOMPARE(t.count(QStringLiteral("room")), 0);

    // Stored in order, on one line, without surrounding blanks.
    ApplyRoomEntries(t.db(), {}, {RoomEntry{-1, QStringLiteral(" Twin "), false},
                                  RoomEntry{-1, QStringLiteral("Sea\nView\t"), false},
                                  RoomEntry{-1, QStringLiteral("O'Hara's"), false}});
    const QVector<RoomEntry> stored = ReadRoomEntries(t.db());
    QStringList names;
    for (const RoomEntry &e : stored)
        names << e.Name;
    QCOMPARE(names, (QStringList{QStringLiteral("Twin"), QStringLiteral("Sea View"), QStringLiteral("O'Hara's")}));
    // The stored rooms stay as they are when applied again; one of their
    // names is refused as a new room's.
    ApplyRoomEntries(t.db(), stored, stored);
    QCOMPARE(ReadRoomEntries(t.db()).size(), 3);
    QVERIFY_THROWS_EXCEPTION(DbError, ApplyRoomEntries(t.db(), stored, stored + QVector<RoomEntry>{RoomEntry{-1, QStringLiteral("SEA VIEW"), false}}));
    QCOMPARE(ReadRoomEntries(t.db()).size(), 3);
}

void TestRoomList::failureLeavesEverythingAsItWas()
{
    TempDatabase t;
    const RecordId a = t.addRoom(QStringLiteral("A"));
    const RecordId locked = t.addRoom(QStringLiteral("Locked"));
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    t.addGuest(now, now.addDays(2), QStringLiteral("X"), QStringLiteral("Y"), {a, locked});
    t.run(QStringLiteral("CREATE TRIGGER keep_locked BEFORE DELETE ON room WHEN old.name = 'Locked' "
                         "BEGIN SELECT RAISE(ABORT, 'room is locked'); END"));
    QVector<RoomEntry> entries{RoomEntry{-1, QStringLiteral("New"), false}};  // both stored rooms removed
    try {
        ApplyRoomEntries(t.db(), ReadRoomEntries(t.db()), entries);
        QFAIL("the trigger should have stopped it");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("room is locked")), qPrintable(e.message()));
    }
    QCOMPARE(t.count(QStringLiteral("room")), 2);
    QCOMPARE(t.count(QStringLiteral("booking")), 1);
    QCOMPARE(t.count(QStringLiteral("customer")), 1);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 2);
    // The connection is usable afterwards.
    ApplyRoomEntries(t.db(), ReadRoomEntries(t.db()), without(ReadRoomEntries(t.db()), a));
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 0);
    QCOMPARE(t.count(QStringLiteral("room")), 1);
}

void TestRoomList::roomsStoredElsewhereMeanwhileStay()
{
    // The dialog read A and B; another desk then added C with a booking.
    // Removing B and adding D here leaves C and its booking alone.
    TempDatabase t;
    const RecordId a = t.addRoom(QStringLiteral("A"));
    const RecordId b = t.addRoom(QStringLiteral("B"));
    const QVector<RoomEntry> read = ReadRoomEntries(t.db());
    const RecordId c = t.addRoom(QStringLiteral("C"));
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    const RecordId guest = t.addGuest(now, now.addDays(1), QStringLiteral("New"), QStringLiteral("Guest"), {c});
    ApplyRoomEntries(t.db(), read, without(read, b) << RoomEntry{-1, QStringLiteral("D"), false});
    QStringList names;
    for (const RoomEntry &e : ReadRoomEntries(t.db()))
        names << e.Name;
    QCOMPARE(names, (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")}));
    QCOMPARE(t.run(QStringLiteral("SELECT id FROM booking")).value(0).toLongLong(), guest);
    QCOMPARE(t.count(QStringLiteral("customer")), 1);
    Q_UNUSED(a);
}

QTEST_GUILESS_MAIN(TestRoomList)
#include "tst_roomlist.moc"
