// The wizard's logic without its window: free rooms, the steps' statements
// and their all-or-nothing writes, the amounts, the confirmation document.
#include "data/copies/backup.h"
#include "data/regional/regional.h"
#include "data/schema/schema.h"
#include "output/confirmation.h"
#include "testsupport.h"
#include "booking/availability.h"
#include "booking/bookingstatus.h"
#include "booking/bookingstore.h"
#include "booking/bookingview.h"
#include "booking/payment.h"
#include "booking/paymentrecords.h"
#include "output/csvexport.h"
#include "reports/reportsquery.h"

#include <QtTest>

#include <random>
#include <thread>

using namespace innkeld;
using namespace innkeld::test;

namespace {

QDateTime at(int m, int d, int h = 0)
{
    return QDateTime(QDate(2002, m, d), QTime(h, 0));
}

}  // namespace

class TestBookingStore : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void availability();
    void freeRoomsAgreeWithTheOneRoomTest();
    void twoDesksNeverBookARoomTwice();
    void eachStepReadsBackWhatItSaved();
    void stepStatements();
    void customerInsertThenUpdate();
    void failingStepWritesNothing();
    void confirmationDocument_data();
    void confirmationDocument();
    void desksRacingOverABookingsLife_data();
    void desksRacingOverABookingsLife();
};

void TestBookingStore::availability()
{
    QCOMPARE(OverlapSql(12, 3, QDate(2002, 5, 1), QDate(2002, 5, 4)),
             QStringLiteral("SELECT booking.id, fromdate, todate FROM booking, bookingroom WHERE booking.id<>12 AND "
                            "bookingroom.roomid=3 AND bookingroom.bookingid = booking.id AND ((#5/1/2002#>= fromdate "
                            "AND #5/1/2002#<= todate) OR (#5/4/2002#>= fromdate AND #5/4/2002#<= todate) OR "
                            "(fromdate>=#5/1/2002# AND todate<=#5/4/2002#));"));
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        TempDatabase t;
        const RecordId room = t.addRoom(QStringLiteral("Garden"));
        const RecordId other = t.addRoom(QStringLiteral("Loft"));
        const RecordId held = t.addGuest(at(5, 3, 10), at(5, 6, 10), QStringLiteral("A"), QStringLiteral("B"), {room});
        Database &db = t.db();
        QString status;
        // The other booking of the room, 3 to 6 May, made at 10:00.
        QVERIFY(!IsRoomAvailable(db, 0, room, at(5, 6), at(5, 8), &status));  // starts on its departure day
        QCOMPARE(status, QStringLiteral("Booked"));
        QVERIFY(IsRoomAvailable(db, 0, room, at(5, 1), at(5, 3), &status));   // ends on its arrival day
        QCOMPARE(status, QStringLiteral("Available"));
        QVERIFY(!IsRoomAvailable(db, 0, room, at(5, 4), at(5, 5)));
        QVERIFY(!IsRoomAvailable(db, 0, room, at(5, 1), at(5, 10)));
        QVERIFY(!IsRoomAvailable(db, 0, room, at(5, 5), at(5, 5)));
        QVERIFY(IsRoomAvailable(db, 0, room, at(5, 7), at(5, 9)));
        QVERIFY(IsRoomAvailable(db, held, room, at(5, 1), at(5, 10)));  // its own booking does not count
        QVERIFY(IsRoomAvailable(db, 0, other, at(5, 1), at(5, 10)));
        // Stored at midnight, both ends clash.
        const RecordId midnight = t.addRoom(QStringLiteral("Barn"));
        t.addGuest(at(6, 3), at(6, 6), QStringLiteral("C"), QStringLiteral("D"), {midnight});
        QVERIFY(!IsRoomAvailable(db, 0, midnight, at(6, 1), at(6, 3)));
        QVERIFY(!IsRoomAvailable(db, 0, midnight, at(6, 6), at(6, 8)));
        // A range that is no date fails loudly.
        QVERIFY_THROWS_EXCEPTION(DbError, IsRoomAvailable(db, 0, room, QVariant(), at(5, 8)));
    }
}

void TestBookingStore::freeRoomsAgreeWithTheOneRoomTest()
{
    // Stays on every boundary: the same day, arrival on another's departure
    // day, across a month end and a year end, at midnight, just after it and
    // at the day's last second; one long stay (the bound on how early a
    // clashing stay can start) and one stored ending before it starts.
    TempDatabase t;
    t.allowClashes(true);  // clashing stays are what is looked for
    QList<RecordId> rooms;
    for (int r = 0; r < 8; ++r)
        rooms << t.addRoom(QStringLiteral("R%1").arg(r));
    const QDate yearEnd(2025, 12, 30), monthEnd(2026, 1, 30);
    const QTime times[] = {QTime(0, 0), QTime(0, 0, 30), QTime(11, 0), QTime(23, 59, 59)};
    std::mt19937 random(7);
    QList<RecordId> bookings;
    for (int i = 0; i < 80; ++i) {
        const QDate base = (i % 2 ? yearEnd : monthEnd).addDays(int(random() % 6) - 2);
        const QDateTime from = WallClock(base, times[random() % 4]);
        const QDateTime to = WallClock(base.addDays(int(random() % 4)), times[random() % 4]);
        QList<RecordId> held{rooms[int(random() % 8)]};
        if (random() % 4 == 0)
            held << rooms[int(random() % 8)];
        bookings << t.addGuest(from, to, QStringLiteral("G"), QString::number(i), held);
    }
    t.addGuest(WallClock(yearEnd.addDays(-20), QTime(9, 0)), WallClock(yearEnd.addDays(1), QTime(9, 0)),
               QStringLiteral("Long"), QStringLiteral("Stay"), {rooms[0]});
    t.addGuest(WallClock(monthEnd.addDays(5), QTime(9, 0)), WallClock(monthEnd.addDays(-1), QTime(9, 0)),
               QStringLiteral("Back"), QStringLiteral("Wards"), {rooms[1]});
    Database &db = t.db();
    int compared = 0;
    for (const QDate &centre : {yearEnd, monthEnd}) {
        for (int f = -5; f <= 5; ++f) {
            for (int length = -1; length <= 4; ++length) {
                const QDateTime from = WallClock(centre.addDays(f), QTime(14, 0));
                const QDateTime to = WallClock(centre.addDays(f + length), QTime(10, 0));
                for (RecordId own : {RecordId(0), bookings[(f + 5) * 6 + length + 1]}) {
                    QList<RecordId> expected;
                    for (RecordId room : rooms)
                        if (IsRoomAvailable(db, own, room, from, to))
                            expected << room;
                    QList<RecordId> found;
                    for (const FreeRoom &room : FreeRooms(db, own, from, to))
                        found << room.id;
                    QVERIFY2(found == expected, qPrintable(QStringLiteral("%1 to %2 without %3")
                                                               .arg(RegionalDateTimeText(from), RegionalDateTimeText(to))
                                                               .arg(own)));
                    ++compared;
                }
            }
        }
    }
    QCOMPARE(compared, 2 * 11 * 6 * 2);
}

void TestBookingStore::eachStepReadsBackWhatItSaved()
{
    // Without a window: what each step saves, the step's load reads back,
    // and the printed confirmation reads what the confirmation step shows.
    LocaleScope scope("de_DE");
    TempDatabase t;
    Database &db = t.db();
    const RecordId garden = t.addRoom(QStringLiteral("Garden")), loft = t.addRoom(QStringLiteral("Loft"));
    const QDateTime from = WallClock(QDate(2027, 3, 1), QTime(14, 0)), to = from.addDays(3);
    const RecordId id = CreateBooking(db, from);
    QCOMPARE(LoadCustomerStep(db, id).hasCustomer, false);
    SaveDatesStep(db, id, QStringLiteral("Desk O'Hara"), from, to);
    SaveNotes(db, id, QStringLiteral("Cot"));
    const DatesView dates = LoadDatesStep(db, id);
    QVERIFY(dates.found);
    QCOMPARE(dates.from, from);
    QCOMPARE(dates.to, to);
    QCOMPARE(dates.bookedBy, QStringLiteral("Desk O'Hara"));
    QCOMPARE(dates.notes, QStringLiteral("Cot"));

    SaveRoomsStep(db, id, {loft, garden});
    const RoomsView rooms = LoadRoomsStep(db, id, QVariant(), QVariant());
    QCOMPARE(rooms.free.size(), 2);
    QCOMPARE(rooms.held, (QVector<RecordId>{loft, garden}));

    CustomerDetails customer;
    for (size_t i = 0; i < customer.size(); ++i)
        customer[i] = QStringLiteral("C%1").arg(i);
    SaveCustomerStep(db, id, QStringLiteral("2,5"), QStringLiteral("1"), customer);
    const CustomerView c = LoadCustomerStep(db, id);
    QVERIFY(c.found && c.hasCustomer);
    QCOMPARE(c.adults, QStringLiteral("2,5"));
    QCOMPARE(c.children, QStringLiteral("1"));
    QCOMPARE(c.customer, customer);

    const QString cost = FormatMoney(40), other = FormatMoney(10.5), tax = FormatMoney(13.05),
                  total = FormatMoney(263.55), paid = FormatMoney(100);
    SavePaymentStep(db, id, PaymentDetails{cost, QStringLiteral("Card"), other, tax, total, paid,
                                           QStringLiteral("4111"), QStringLiteral("12/29"), QStringLiteral("Visa")});
    const PaymentView pay = LoadPaymentStep(db, id);
    QVERIFY(pay.found);
    const PaymentDetails saved{cost, QStringLiteral("Card"), other, tax, total, paid, QStringLiteral("4111"),
                               QStringLiteral("12/29"), QStringLiteral("Visa")};
    for (size_t i = 0; i < saved.size(); ++i) {
        const bool amount = i == 0 || (i >= 2 && i <= 5);  // amounts read back as the same numbers
        bool read = false, written = false;
        if (amount)
            QCOMPARE(ParseRegionalNumber(pay.payment[i], &read), ParseRegionalNumber(saved[i], &written));
        else
            QCOMPARE(pay.payment[i], saved[i]);
    }
    QCOMPARE(pay.roomCount, 2);
    QCOMPARE(pay.roomNames.size(), 2);

    const ConfirmView confirm = LoadConfirmStep(db, id);
    QVERIFY(confirm.found && confirm.hasContact);
    QCOMPARE(confirm.amounts.nights, 3);
    QCOMPARE(confirm.amounts.rooms, 2);
    QCOMPARE(confirm.amounts.subTotal, 40.0 * 3 * 2 + 10.5);
    QCOMPARE(confirm.cardType, QStringLiteral("Visa"));
    QVERIFY(confirm.contact.startsWith(QStringLiteral("C10 C0 C1")));
    const QString document = ConfirmationDocument(db, id, QStringLiteral("€"), QStringLiteral("MwSt"));
    QVERIFY(document.contains(confirm.contact));
    QVERIFY(document.contains(QStringLiteral("Sub Total: \t\t") + MoneyWithSymbol(confirm.amounts.subTotal, QStringLiteral("€"))));
    QVERIFY(!LoadConfirmStep(db, id + 100).found);
}

void TestBookingStore::twoDesksNeverBookARoomTwice()
{
    // Two desks on one file both see the Loft free for the same stay; the
    // first to save takes it, the second is refused and writes nothing.
    TempDatabase t;
    const RecordId loft = t.addRoom(QStringLiteral("Loft")), barn = t.addRoom(QStringLiteral("Barn"));
    Database &first = t.db();
    std::unique_ptr<Database> second = OpenDatabase(t.path());
    const QDateTime from = WallClock(QDate(2027, 2, 1), QTime(14, 0)), to = from.addDays(2);
    const RecordId a = CreateBooking(first, from), b = CreateBooking(*second, from);
    SaveDatesStep(first, a, QStringLiteral("A"), from, to);
    SaveDatesStep(*second, b, QStringLiteral("B"), from, to);
    QCOMPARE(FreeRooms(first, a, from, to).size(), 2);
    QCOMPARE(FreeRooms(*second, b, from, to).size(), 2);
    SaveRoomsStep(first, a, {loft});
    try {
        SaveRoomsStep(*second, b, {barn, loft});
        QFAIL("the Loft was booked twice");
    } catch (const RoomsTaken &taken) {
        QCOMPARE(taken.rooms(), QStringList{QStringLiteral("Loft")});
        QCOMPARE(taken.message(),
                 QStringLiteral("The room Loft was booked meanwhile for these dates. Choose another room."));
    }
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(b)).value(0).toInt(), 0);
    SaveRoomsStep(*second, b, {barn});  // what is still free is taken as usual
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 2);
}

void TestBookingStore::stepStatements()
{
    CustomerDetails empty;
    QCOMPARE(CustomerUpdateSql(empty, 7),
             QStringLiteral("UPDATE Customer SET FirstName = '', LastName = '', Address1 = '', Address2 = '', City = '', "
                            "State = '', PostCode = '', Country = '', Phone = '', Email = '', BusinessName = '' WHERE ID=7;"));
    PaymentDetails pay{QStringLiteral("1,234.50"), QStringLiteral("O'Card")};
    QVERIFY(PaymentStepSql(pay, 9).startsWith(
        QStringLiteral("UPDATE Booking SET CostPerNight = '1,234.50', PaymentMethod = 'O''Card', OtherCharges = '', ")));
    QVERIFY(PaymentStepSql(pay, 9).endsWith(QStringLiteral("CreditCardType = '' WHERE ID=9")));
    QCOMPARE(NotesSql(QStringLiteral("it's"), 4), QStringLiteral("UPDATE booking SET notes = 'it''s' WHERE id = 4"));
    QCOMPARE(DatesStepSql(QStringLiteral("Ren"), QDateTime(QDate(2026, 12, 7), QTime(14, 30)), QDateTime(QDate(2026, 12, 8), QTime(0, 0)), 3),
             QStringLiteral("UPDATE booking SET bookedby = 'Ren', fromdate = '12/7/2026 2:30:00 PM', todate='12/8/2026' WHERE id = 3"));
    // The counts are numbers for the engine, whatever the boxes show.
    LocaleScope de("de_DE");
    QCOMPARE(CountsStepSql(FormatCount(QStringLiteral("2.5")), QStringLiteral("0"), 5),
             QStringLiteral("UPDATE booking SET noadults = 2.5, nokids = 0 WHERE id = 5"));  // the box shows 2,5
    QCOMPARE(CountsStepSql(QStringLiteral("3"), QStringLiteral("1.5"), 5),
             QStringLiteral("UPDATE booking SET noadults = 3, nokids = 1.5 WHERE id = 5"));
}

void TestBookingStore::customerInsertThenUpdate()
{
    TempDatabase t;
    Database &db = t.db();
    const RecordId b = CreateBooking(db, QDateTime(QDate(2026, 12, 7), QTime(9, 15, 30, 250)));
    Recordset row = t.run(QStringLiteral("SELECT * FROM booking WHERE id = %1").arg(b));
    QCOMPARE(row.value(QStringLiteral("FromDate")).toDateTime(), QDateTime(QDate(2026, 12, 7), QTime(9, 15, 30)));
    QCOMPARE(row.value(QStringLiteral("ToDate")).toDateTime(), QDateTime(QDate(2026, 12, 8), QTime(9, 15, 30)));
    QCOMPARE(row.text(QStringLiteral("BookedBy")), QString());
    QCOMPARE(row.text(QStringLiteral("customerid")), QStringLiteral("0"));

    CustomerDetails c;
    c[0] = QStringLiteral("Seán");
    c[1] = QStringLiteral("O'Brien");
    SaveCustomerStep(db, b, QStringLiteral("2"), QStringLiteral("1"), c);
    const RecordId customer = t.run(QStringLiteral("SELECT customerid FROM booking WHERE id = %1").arg(b)).value(0).toLongLong();
    QVERIFY(customer > 0);
    c[1] = QStringLiteral("O'Brien-Walsh");
    SaveCustomerStep(db, b, QStringLiteral("3"), QStringLiteral("0"), c);
    QCOMPARE(t.count(QStringLiteral("customer")), 1);
    QCOMPARE(t.run(QStringLiteral("SELECT LastName FROM customer WHERE ID = %1").arg(customer)).text(0), QStringLiteral("O'Brien-Walsh"));
    QCOMPARE(t.run(QStringLiteral("SELECT noadults FROM booking WHERE id = %1").arg(b)).text(0), QStringLiteral("3"));

    // The customer row has gone: a new one is made and linked, nothing typed is lost.
    t.run(QStringLiteral("DELETE FROM customer"));
    SaveCustomerStep(db, b, QStringLiteral("3"), QStringLiteral("0"), c);
    const RecordId again = t.run(QStringLiteral("SELECT customerid FROM booking WHERE id = %1").arg(b)).value(0).toLongLong();
    QVERIFY(again != customer);
    QCOMPARE(t.run(QStringLiteral("SELECT FirstName FROM customer WHERE ID = %1").arg(again)).text(0), QStringLiteral("Seán"));

    // Rooms: exactly the rooms chosen now; cancelling keeps the customer.
    const RecordId r1 = t.addRoom(QStringLiteral("1")), r2 = t.addRoom(QStringLiteral("2"));
    SaveRoomsStep(db, b, {r1, r2});
    SaveRoomsStep(db, b, {r2});
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);
    SaveRoomsStep(db, b, {});
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 0);
    SaveRoomsStep(db, b, {r1});
    // A booking with a guest is never deleted: it is cancelled, kept with
    // its customer, its room free at once and taken back when restored.
    QVERIFY_THROWS_EXCEPTION(DbError, DiscardBooking(db, b));
    ChangeBookingStatus(db, b, BookingStatus::Booked, StatusChange{BookingStatus::Cancelled, CancelReason::Guest});
    QCOMPARE(t.count(QStringLiteral("booking")), 1);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 0);
    QCOMPARE(t.count(QStringLiteral("releasedroom")), 1);
    QCOMPARE(t.count(QStringLiteral("customer")), 1);
    ChangeBookingStatus(db, b, BookingStatus::Cancelled, StatusChange{BookingStatus::Booked});
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);
    QCOMPARE(t.count(QStringLiteral("releasedroom")), 0);
}

void TestBookingStore::failingStepWritesNothing()
{
    TempDatabase t;
    Database &db = t.db();
    const RecordId ok = t.addRoom(QStringLiteral("Fine")), bad = t.addRoom(QStringLiteral("Refused"));
    const RecordId b = CreateBooking(db, QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    SaveRoomsStep(db, b, {ok});
    t.run(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON bookingroom WHEN new.roomid = %1 "
                         "BEGIN SELECT RAISE(ABORT, 'that room is closed'); END").arg(bad));
    QVERIFY_THROWS_EXCEPTION(DbError, SaveRoomsStep(db, b, {ok, bad}));
    // The links deleted before the failing insert are back.
    QCOMPARE(t.run(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(b)).value(0).toLongLong(), ok);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);

    t.run(QStringLiteral("CREATE TRIGGER nocustomer BEFORE INSERT ON customer BEGIN SELECT RAISE(ABORT, 'no'); END"));
    CustomerDetails c;
    QVERIFY_THROWS_EXCEPTION(DbError, SaveCustomerStep(db, b, QStringLiteral("5"), QStringLiteral("5"), c));
    QCOMPARE(t.run(QStringLiteral("SELECT noadults FROM booking WHERE id = %1").arg(b)).text(0), QStringLiteral("0"));

    PaymentDetails p{QStringLiteral("12.00"), QStringLiteral("Cash"), QStringLiteral("not an amount")};
    QVERIFY_THROWS_EXCEPTION(DbError, SavePaymentStep(db, b, p));
    QCOMPARE(t.run(QStringLiteral("SELECT PaymentMethod FROM booking WHERE id = %1").arg(b)).text(0), QString());

    // A new booking holds empty texts, not NULL; so does a customer saved
    // with empty boxes.
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM booking WHERE BookedBy = '' AND PaymentMethod = '' AND "
                                  "CreditCardNo = '' AND CreditCardExpiry = '' AND CreditCardType = ''"))
                 .value(0).toInt(), 1);
    t.run(QStringLiteral("DROP TRIGGER nocustomer"));
    SaveCustomerStep(db, b, QStringLiteral("2"), QStringLiteral("0"), CustomerDetails{});
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM customer WHERE FirstName IS NULL OR Email IS NULL")).value(0).toInt(), 0);

    // A booking gone since the wizard opened it: no step writes anything.
    const RecordId room = t.addRoom(QStringLiteral("Spare"));
    t.discard(b);
    const int links = t.count(QStringLiteral("bookingroom")), customers = t.count(QStringLiteral("customer"));
    QVERIFY_THROWS_EXCEPTION(BookingGone, SaveDatesStep(db, b, QStringLiteral("X"), WallClockNow(), WallClockNow()));
    QVERIFY_THROWS_EXCEPTION(BookingGone, SaveRoomsStep(db, b, {room}));
    QVERIFY_THROWS_EXCEPTION(BookingGone, SaveCustomerStep(db, b, QStringLiteral("1"), QStringLiteral("0"), c));
    QVERIFY_THROWS_EXCEPTION(BookingGone, SavePaymentStep(db, b, PaymentDetails{}));
    QCOMPARE(t.count(QStringLiteral("bookingroom")), links);
    QCOMPARE(t.count(QStringLiteral("customer")), customers);
}

void TestBookingStore::confirmationDocument_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QStringList>("amounts");  // cost, other, sub total, tax, total, paid
    QTest::addColumn<QString>("dates");
    QTest::newRow("en_US") << "en_US" << "$"
                           << QStringList{"25.00", "10.00", "160.00", "16.00", "176.00", "1,000.00"}
                           << "Booking from 5/1/2002 to 5/4/2002";
    QTest::newRow("de_DE") << "de_DE" << "€"
                           << QStringList{"25,00", "10,00", "160,00", "16,00", "176,00", "1.000,00"}
                           << "Booking from 01.05.2002 to 04.05.2002";
}

void TestBookingStore::confirmationDocument()
{
    QFETCH(QString, region);
    QFETCH(QString, symbol);
    QFETCH(QStringList, amounts);
    QFETCH(QString, dates);
    LocaleScope scope(region.toLatin1().constData());
    TempDatabase t;
    const RecordId r1 = t.addRoom(QStringLiteral("A")), r2 = t.addRoom(QStringLiteral("B"));
    const RecordId b = t.addGuest(at(5, 1, 14), at(5, 4, 10), QStringLiteral("Ann"), QStringLiteral("Lee"), {r1, r2});
    t.run(QStringLiteral("UPDATE booking SET CostPerNight = 25, OtherCharges = 10, SalesTax = 16, TotalPayable = 999, "
                         "AmountPayed = 1000, PaymentMethod = 'Visa', noadults = 0 WHERE id = %1").arg(b));
    t.run(QStringLiteral("UPDATE customer SET Address1 = '1 Quay', City = 'Cork', Phone = '555'"));
    const QString doc = ConfirmationDocument(t.db(), b, symbol, QStringLiteral("VAT"));
    // The symbol where the region puts it (after the amount in Germany).
    const auto withSymbol = [&](const QString &amount) { return MoneyWithSymbol(amount, symbol); };
    QCOMPARE(withSymbol(amounts[0]), region == QLatin1String("de_DE") ? QStringLiteral("25,00\u00a0€") : QStringLiteral("$25.00"));
    const QStringList expected{
        QStringLiteral("Booking Confirmation"), QString(), dates, QStringLiteral("0 Adults and 0 Children"), QString(),
        QStringLiteral("Cost per night: \t") + withSymbol(amounts[0]),
        QStringLiteral("Other Charges: \t\t") + withSymbol(amounts[1]),
        QStringLiteral("Sub Total: \t\t") + withSymbol(amounts[2]),  // 25 x 3 nights x 2 rooms + 10
        QStringLiteral("VAT \t\t\t") + withSymbol(amounts[3]),
        QStringLiteral("Total Payable: \t\t") + withSymbol(amounts[4]),  // not the stored 999
        QStringLiteral("Amount Payed: \t\t") + withSymbol(amounts[5]),
        QStringLiteral("Payment Method: \tVisa"), QString(), QStringLiteral("Contact Details:"),
        QStringLiteral("Ann Lee"), QStringLiteral("1 Quay, Cork"), QStringLiteral("ph: 555"), QString()};
    QCOMPARE(doc.split(QStringLiteral("\r\n")), expected);
    QVERIFY(!doc.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));

    // No customer row: no contact section; no booking: the heading alone.
    t.run(QStringLiteral("DELETE FROM customer"));
    QVERIFY(!ConfirmationDocument(t.db(), b, symbol, QStringLiteral("VAT")).contains(QStringLiteral("Contact")));
    QCOMPARE(ConfirmationDocument(t.db(), b + 100, symbol, QStringLiteral("VAT")), QStringLiteral("Booking Confirmation\r\n\r\n"));
}

namespace {

// A row added as the program adds one; its key.
RecordId added(Database &db, const QString &table, const QList<std::pair<QString, QVariant>> &fields)
{
    TableCursor c = db.openTable(table);
    c.addNew();
    for (const auto &[name, value] : fields)
        c.setField(name, value);
    c.update();
    return c.field(QStringLiteral("ID")).toLongLong();
}

}  // namespace

void TestBookingStore::desksRacingOverABookingsLife_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

void TestBookingStore::desksRacingOverABookingsLife()
{
    // Desks on one database, each with its own connection, change the same
    // bookings at once: of a check-in and two cancellations of one booking
    // one wins and the others are told; of a restore and a new booking of
    // the same room exactly one holds it. Then what follows the status.
    QFETCH(bool, onServer);
    TempDatabase file;
    ServerDatabase server;
    QString address = file.path();
    if (onServer) {
        REQUIRE_SERVER(server);
        address = server.address();
    }
    auto db = OpenDatabase(address);
    constexpr int kTrials = 30;
    QVector<RecordId> bookings, cancelled, rooms;
    const QDate first(2030, 3, 1);
    for (int i = 0; i < kTrials; ++i) {
        rooms << added(*db, QStringLiteral("Room"), {{QStringLiteral("name"), QStringLiteral("Room %1").arg(i)}});
        for (int k = 0; k < 2; ++k) {
            const RecordId guest = added(*db, QStringLiteral("Customer"),
                                         {{QStringLiteral("FirstName"), QStringLiteral("Guest")},
                                          {QStringLiteral("LastName"), QStringLiteral("%1-%2").arg(i).arg(k)}});
            const QDate from = first.addDays(10 * i + 5 * k);
            const RecordId b = added(*db, QStringLiteral("Booking"),
                                     {{QStringLiteral("CustomerID"), guest},
                                      {QStringLiteral("FromDate"), WallClock(from, QTime(14, 0))},
                                      {QStringLiteral("ToDate"), WallClock(from.addDays(2), QTime(10, 0))},
                                      {QStringLiteral("CostPerNight"), 80}});
            db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)").arg(b).arg(rooms.last()));
            (k == 0 ? bookings : cancelled) << b;
        }
        ChangeBookingStatus(*db, cancelled.last(), BookingStatus::Booked,
                            StatusChange{BookingStatus::Cancelled, CancelReason::Guest, QString(), 1500});
    }
    RecordPayment(*db, Payment{0, bookings.first(), first, 5000, QStringLiteral("Cash"), QString()});

    std::atomic<int> won[kTrials] = {}, held[kTrials] = {};
    QStringList told[3];
    std::vector<std::thread> desks;
    for (int d = 0; d < 3; ++d)
        desks.emplace_back([&, d] {
            auto desk = OpenDatabase(address);
            for (int i = 0; i < kTrials; ++i) {
                try {
                    ChangeBookingStatus(*desk, bookings[i], BookingStatus::Booked,
                                        StatusChange{d == 0 ? BookingStatus::CheckedIn : BookingStatus::Cancelled});
                    ++won[i];
                } catch (const DbError &e) {
                    told[d] << e.message();
                }
                if (d == 2)
                    continue;
                RecordId made = 0;
                try {
                    if (d == 0) {
                        ChangeBookingStatus(*desk, cancelled[i], BookingStatus::Cancelled, StatusChange{BookingStatus::Booked});
                    } else {
                        const QDate from = first.addDays(10 * i + 5);
                        made = CreateBooking(*desk, WallClock(from, QTime(14, 0)));
                        SaveDatesStep(*desk, made, QString(), WallClock(from, QTime(14, 0)), WallClock(from.addDays(2), QTime(10, 0)));
                        SaveRoomsStep(*desk, made, {rooms[i]});
                    }
                    ++held[i];
                } catch (const DbError &e) {
                    told[d] << e.message();
                    if (made != 0)
                        DiscardBooking(*desk, made);
                }
            }
        });
    for (std::thread &desk : desks)
        desk.join();
    for (int i = 0; i < kTrials; ++i) {
        QCOMPARE(won[i].load(), 1);
        QCOMPARE(held[i].load(), 1);
        QCOMPARE(db->execute(QStringLiteral("SELECT count(*) FROM bookingstatus WHERE bookingid = %1").arg(bookings[i])).value(0).toInt(), 1);
    }
    QCOMPARE(StoredClashes(*db), QStringList());
    // Each desk that lost was told in plain words.
    for (const QStringList &messages : told)
        for (const QString &m : messages)
            QVERIFY2(m.contains(QLatin1String("meanwhile")) || m.contains(QLatin1String("cannot be restored until the room is free")),
                     qPrintable(m));

    // No road deletes a booking that has a guest, payments or a status.
    for (const RecordId b : {bookings.first(), cancelled.first()})
        QVERIFY_THROWS_EXCEPTION(DbError, db->execute(QStringLiteral("DELETE FROM booking WHERE ID = %1").arg(b)));
    QCOMPARE(AmountPaidOf(*db, bookings.first()).toDouble(), 50.0);

    // What follows the status: the reports count the cancelled bookings'
    // fees and none of their nights; the export leaves them out.
    const QDate last = first.addDays(10 * kTrials);
    qint64 fees = 0, nights = 0, counted = 0;
    for (const RevenueRow &r : RevenueReport(*db, first, last))
        fees += r.feeCents;
    const CancellationsRows lost = CancellationsReport(*db, first, last);
    for (const LostRow &r : lost.months) {
        nights += r.nights;
        counted += r.cancelled;
    }
    const qint64 stillCancelled = db->execute(QStringLiteral("SELECT count(*) FROM booking WHERE Status = 'cancelled'")).value(0).toLongLong();
    const qint64 withFee = db->execute(QStringLiteral("SELECT count(*) FROM booking WHERE Status = 'cancelled' AND ID IN (%1)")
                                           .arg([&] {
                                               QStringList ids;
                                               for (RecordId c : cancelled)
                                                   ids << QString::number(c);
                                               return ids.join(QLatin1Char(','));
                                           }()))
                               .value(0)
                               .toLongLong();
    QCOMPARE(counted, stillCancelled);
    QCOMPARE(nights, 2 * stillCancelled);
    QCOMPARE(fees, 1500 * withFee);
    QCOMPARE(db->execute(ReservationsExportSql()).rowCount(),
             db->execute(QStringLiteral("SELECT count(*) FROM booking WHERE Status <> 'cancelled' AND CustomerID <> 0")).value(0).toInt());
}

QTEST_GUILESS_MAIN(TestBookingStore)
#include "tst_bookingstore.moc"
