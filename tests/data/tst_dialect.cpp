// The SQL dialect: every statement shape the program runs, in several
// regions, on a real database; the tokenizer's handling of string literals;
// text that does not convert.
#include "data/sql/database.h"
#include "data/regional/regional.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using innkeld::test::LocaleScope;
using innkeld::test::TempDatabase;

namespace {

QList<qlonglong> ids(Recordset rs)
{
    QList<qlonglong> out;
    for (; !rs.eof(); rs.moveNext())
        out << rs.value(0).toLongLong();
    std::sort(out.begin(), out.end());
    return out;
}

QDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min));
}

}  // namespace

class TestDialect : public QObject
{
    Q_OBJECT
private slots:
    void tokenizerKeepsStringsWhole();
    void dateLiterals();
    void catalogueQueries_data();
    void catalogueQueries();
    void stepUpdatesInRegion_data();
    void stepUpdatesInRegion();
    void dateComparisonsAcrossMonthAndYearEnds();
    void quotesInsideStrings();
    void textThatDoesNotConvertChangesNothing_data();
    void textThatDoesNotConvertChangesNothing();
    void oneStatementOnly();
    void otherStatementsPassThrough();
    void serverTerms_data();
    void serverTerms();
};

void TestDialect::tokenizerKeepsStringsWhole()
{
    const QVector<SqlToken> t = TokenizeSql(QStringLiteral("SELECT 'a''b#c=d;e' AS x FROM [my table] WHERE y<>#5/1/2002#;"));
    QStringList strings;
    for (const SqlToken &tok : t)
        if (tok.kind == SqlToken::String || tok.kind == SqlToken::DateLiteral || tok.kind == SqlToken::QuotedIdent)
            strings << tok.text;
    QCOMPARE(strings, QStringList({QStringLiteral("'a''b#c=d;e'"), QStringLiteral("[my table]"),
                                   QStringLiteral("#5/1/2002#")}));
    bool sawNotEqual = false;
    for (const SqlToken &tok : t)
        sawNotEqual |= tok.kind == SqlToken::Symbol && tok.text == QLatin1String("<>");
    QVERIFY(sawNotEqual);

    // Unterminated pieces are errors, not guesses.
    QVERIFY_THROWS_EXCEPTION(DbError, TokenizeSql(QStringLiteral("SELECT 'abc")));
    QVERIFY_THROWS_EXCEPTION(DbError, TokenizeSql(QStringLiteral("SELECT * FROM booking WHERE fromdate > #5/1/2002")));
    // A comment may hold a quote.
    QCOMPARE(TokenizeSql(QStringLiteral("SELECT 1 -- it's fine")).last().kind, SqlToken::Comment);
}

void TestDialect::dateLiterals()
{
    QCOMPARE(ParseDateLiteral(QStringLiteral("5/1/2002")), at(2002, 5, 1));
    QCOMPARE(ParseDateLiteral(QStringLiteral("5/1/2002 12:00 AM")), at(2002, 5, 1));
    QCOMPARE(ParseDateLiteral(QStringLiteral("5/1/2002 11:59PM")), at(2002, 5, 1, 23, 59));
    QCOMPARE(ParseDateLiteral(QStringLiteral("5/1/2002 12:30 pm")), at(2002, 5, 1, 12, 30));
    QCOMPARE(ParseDateLiteral(QStringLiteral("12/31/2002 23:15:09")), QDateTime(QDate(2002, 12, 31), QTime(23, 15, 9)));
    QCOMPARE(ParseDateLiteral(QStringLiteral("2002-05-01")), at(2002, 5, 1));
    QCOMPARE(ParseDateLiteral(QStringLiteral("1/2/03")), at(2003, 1, 2));
    QVERIFY(!ParseDateLiteral(QString()).isValid());
    QVERIFY(!ParseDateLiteral(QStringLiteral("13/1/2002")).isValid());
    QVERIFY(!ParseDateLiteral(QStringLiteral("2/29/2003")).isValid());
    QVERIFY(!ParseDateLiteral(QStringLiteral("5/1/2002 13:00 PM")).isValid());
    QVERIFY(!ParseDateLiteral(QStringLiteral("5/1/2002 0:10 AM")).isValid());

    // Month first whatever the region.
    for (const char *region : {"en_US", "en_GB", "de_DE"}) {
        LocaleScope scope(region);
        Schema none;
        QCOMPARE(TranslateSql(QStringLiteral("SELECT #5/1/2002 11:59PM#"), none),
                 QStringLiteral("SELECT '2002-05-01 23:59:00'"));
    }

    // A converted value written against its neighbour stays apart from it:
    // it neither runs into a word nor joins a text into one.
    TempDatabase t;
    const RecordId id = t.addBooking(at(2002, 1, 1), at(2002, 1, 2), 0);
    t.run(QStringLiteral("UPDATE booking SET BookedBy = 'x', NoAdults = '2'WHERE id = %1").arg(id));
    QCOMPARE(t.run(QStringLiteral("SELECT NoAdults FROM booking WHERE id = %1").arg(id)).value(0).toDouble(), 2.0);
    QCOMPARE(t.db().execute(QStringLiteral("SELECT id FROM booking WHERE BookedBy = 'x'OR FromDate = #1/1/2002#"))
                 .value(0).toLongLong(),
             id);
    QVERIFY_THROWS_EXCEPTION(DbError, t.db().execute(QStringLiteral("SELECT id FROM booking WHERE BookedBy = 'x'#1/1/2002#")));
}

void TestDialect::catalogueQueries_data()
{
    QTest::addColumn<QString>("region");
    for (const char *r : {"en_US", "en_GB", "de_DE"})
        QTest::newRow(r) << QString::fromLatin1(r);
}

void TestDialect::catalogueQueries()
{
    QFETCH(QString, region);
    LocaleScope scope(region.toLatin1().constData());
    TempDatabase t;
    t.allowClashes(true);  // the catalogue's overlap query needs stays that clash
    Database &db = t.db();
    const RecordId r1 = t.addRoom(QStringLiteral("Garden"));
    const RecordId r2 = t.addRoom(QStringLiteral("Sea View"));
    const RecordId b1 = t.addGuest(at(2002, 5, 1, 14, 5), at(2002, 5, 4, 10, 0), QStringLiteral("Ann"),
                                   QStringLiteral("Lee"), {r1});
    const RecordId b2 = t.addGuest(at(2002, 5, 4, 9, 0), at(2002, 5, 6, 9, 0), QStringLiteral("Bo"),
                                   QStringLiteral("Kim"), {r1});
    const RecordId b3 = t.addGuest(at(2002, 5, 10), at(2002, 5, 10, 18, 0), QString(), QString(), {r2});

    // The arrivals and departures of a day, both ends of the day included.
    const QString arrivals = QStringLiteral(
        "SELECT booking.id, fromdate, firstname, lastname FROM booking, customer WHERE booking.customerid = "
        "customer.id AND fromdate BETWEEN #%1 12:00 AM# AND #%1 11:59PM#");
    const QString departures = QStringLiteral(
        "SELECT booking.id, fromdate, firstname, lastname FROM booking, customer WHERE booking.customerid = "
        "customer.id AND todate BETWEEN #%1 12:00 AM# AND #%1 11:59PM#");
    QCOMPARE(ids(db.execute(arrivals.arg(QStringLiteral("5/1/2002")))), QList<qlonglong>{b1});
    QCOMPARE(ids(db.execute(arrivals.arg(QStringLiteral("5/4/2002")))), QList<qlonglong>{b2});
    QCOMPARE(ids(db.execute(departures.arg(QStringLiteral("5/4/2002")))), QList<qlonglong>{b1});
    QCOMPARE(ids(db.execute(arrivals.arg(QStringLiteral("5/10/2002")))), QList<qlonglong>{b3});
    QCOMPARE(ids(db.execute(departures.arg(QStringLiteral("5/10/2002")))), QList<qlonglong>{b3});
    QCOMPARE(ids(db.execute(arrivals.arg(QStringLiteral("5/2/2002")))), QList<qlonglong>{});
    Recordset names = db.execute(arrivals.arg(QStringLiteral("5/10/2002")));
    QCOMPARE(names.text(QStringLiteral("firstname")), QString());
    QCOMPARE(names.value(QStringLiteral("FROMDATE")).toDateTime(), at(2002, 5, 10));

    // The room overlap query: inclusive bounds, so a stay that starts on
    // another's departure day clashes.
    const QString overlap = QStringLiteral(
        "SELECT booking.id, fromdate, todate FROM booking, bookingroom WHERE booking.id<>%1 AND "
        "bookingroom.roomid=%2 AND bookingroom.bookingid = booking.id AND ((#%3#>= fromdate AND #%3#<= todate) "
        "OR (#%4#>= fromdate AND #%4#<= todate) OR (fromdate>=#%3# AND todate<=#%4#));");
    QCOMPARE(ids(db.execute(overlap.arg(0).arg(r1).arg(QStringLiteral("5/2/2002"), QStringLiteral("5/3/2002")))),
             QList<qlonglong>{b1});
    QCOMPARE(ids(db.execute(overlap.arg(b1).arg(r1).arg(QStringLiteral("5/5/2002"), QStringLiteral("5/8/2002")))),
             QList<qlonglong>{b2});
    QCOMPARE(ids(db.execute(overlap.arg(0).arg(r1).arg(QStringLiteral("4/1/2002"), QStringLiteral("5/30/2002")))),
             (QList<qlonglong>{b1, b2}));
    QCOMPARE(ids(db.execute(overlap.arg(0).arg(r2).arg(QStringLiteral("5/1/2002"), QStringLiteral("5/4/2002")))),
             QList<qlonglong>{});

    // The calendar's week query, with aliases and ORDER BY.
    Recordset week = db.execute(QStringLiteral(
        "SELECT b.id, fromdate, todate, ba.roomid AS baID FROM booking as b, bookingroom as ba WHERE "
        "ba.bookingid = b.id AND ((#5/3/2002#>= fromdate AND #5/3/2002#<= todate) OR (#5/9/2002#>= fromdate "
        "AND #5/9/2002#<= todate) OR (fromdate>=#5/3/2002# AND todate<=#5/9/2002#)) ORDER BY fromdate, todate;"));
    QCOMPARE(week.rowCount(), 2);
    QCOMPARE(week.value(QStringLiteral("id")).toLongLong(), b1);
    QCOMPARE(week.value(QStringLiteral("baid")).toLongLong(), {r1});

    // Counts and room names of a booking.
    Recordset count = db.execute(QStringLiteral(
        "SELECT count(*) FROM room, bookingroom WHERE bookingroom.bookingid = %1 AND bookingroom.roomid = room.id")
                                     .arg(b1));
    QCOMPARE(count.value(0).toInt(), 1);
    Recordset roomName = db.execute(QStringLiteral(
        "SELECT room.name FROM room, bookingroom WHERE bookingroom.bookingid = %1 AND bookingroom.roomid = room.id")
                                        .arg(b3));
    QCOMPARE(roomName.text(0), QStringLiteral("Sea View"));
    QCOMPARE(db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toInt(), 2);

    // The booking read by the steps: numbers and money hold 0, not null.
    Recordset step = db.execute(QStringLiteral(
        "SELECT notes, customerid, noadults, nokids, FromDate, ToDate, CostPerNight, PaymentMethod, OtherCharges, "
        "SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType FROM Booking WHERE ID = %1")
                                    .arg(b1));
    QVERIFY(step.isNull(QStringLiteral("notes")));
    for (const char *column : {"noadults", "nokids", "CostPerNight", "OtherCharges", "SalesTax", "TotalPayable", "AmountPayed"})
        QCOMPARE(step.text(QLatin1String(column)), QStringLiteral("0"));
    QCOMPARE(step.value(QStringLiteral("FromDate")).toDateTime(), at(2002, 5, 1, 14, 5));
    QCOMPARE(step.text(QStringLiteral("ToDate")), RegionalDateTimeText(at(2002, 5, 4, 10, 0)));

    // The customer read and the export join.
    Recordset customer = db.execute(QStringLiteral(
        "SELECT ID, FirstName, LastName, Address1, Address2, City, State, PostCode, Country, Phone, Email, "
        "SubmittedDate, BusinessName FROM Customer WHERE ID = %1")
                                        .arg(step.value(QStringLiteral("customerid")).toLongLong()));
    QCOMPARE(customer.text(QStringLiteral("lastname")), QStringLiteral("Lee"));
    QVERIFY(customer.value(QStringLiteral("SubmittedDate")).toDateTime().isValid());
    Recordset exported = db.execute(QStringLiteral(
        "SELECT FromDate, ToDate, BookedBy, CustomerID, Notes, NoAdults, NoKids, PaymentMethod, OtherCharges, "
        "SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType, CostPerNight, "
        "FirstName, LastName, Address1, Address2, City, State, PostCode, Country, Phone, Email, SubmittedDate, "
        "BusinessName FROM Booking, Customer WHERE customer.id=booking.customerid;"));
    QCOMPARE(exported.rowCount(), 3);

    // The rooms dialog's reads and its cascade of deletes.
    Recordset holders = db.execute(QStringLiteral(
        "SELECT booking.id, customerid FROM booking, bookingroom WHERE booking.id = bookingroom.bookingid AND "
        "bookingroom.roomid = %1")
                                       .arg(r2));
    QCOMPARE(holders.value(0).toLongLong(), b3);
    QCOMPARE(db.execute(QStringLiteral("SELECT id FROM BookingRoom WHERE roomid = %1").arg(r2)).rowCount(), 1);
    db.execute(QStringLiteral("DELETE FROM customer WHERE id = %1").arg(holders.value(1).toLongLong()));
    db.execute(QStringLiteral("UPDATE booking SET CustomerID = 0 WHERE id = %1").arg(b3));
    db.execute(QStringLiteral("DELETE FROM booking WHERE id = %1").arg(b3));
    db.execute(QStringLiteral("DELETE FROM bookingroom WHERE roomid = %1").arg(r2));
    db.execute(QStringLiteral("DELETE FROM room WHERE id = %1").arg(r2));
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id, name FROM room"))), QList<qlonglong>{r1});
    QCOMPARE(db.execute(QStringLiteral("SELECT count(*) FROM customer")).value(0).toInt(), 2);

    // Cancel: the booking and its links.
    db.execute(QStringLiteral("UPDATE booking SET CustomerID = 0 WHERE id = %1").arg(b2));
    db.execute(QStringLiteral("DELETE FROM booking WHERE id = %1").arg(b2));
    db.execute(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = %1").arg(b2));
    QCOMPARE(db.execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(b2)).rowCount(), 0);
}

void TestDialect::stepUpdatesInRegion_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("amount");    // 1234.5 as the region writes it
    QTest::addColumn<QString>("grouped");
    QTest::newRow("en_US") << "en_US" << "1234.50" << "1,234.50";
    QTest::newRow("en_GB") << "en_GB" << "1234.50" << "1,234.50";
    QTest::newRow("de_DE") << "de_DE" << "1234,50" << "1.234,50";
}

void TestDialect::stepUpdatesInRegion()
{
    QFETCH(QString, region);
    QFETCH(QString, amount);
    QFETCH(QString, grouped);
    LocaleScope scope(region.toLatin1().constData());
    TempDatabase t;
    Database &db = t.db();
    TableCursor b = db.openTable(QStringLiteral("Booking"));
    b.addNew();
    const QDateTime created = QDateTime(QDate::currentDate(), QTime(10, 11, 12));
    b.setField(QStringLiteral("FromDate"), created);
    b.setField(QStringLiteral("ToDate"), created.addDays(1));
    for (const char *text : {"PaymentMethod", "BookedBy", "CreditCardNo", "CreditCardExpiry", "CreditCardType"})
        b.setField(QLatin1String(text), QString());
    b.update();
    const RecordId id = b.field(QStringLiteral("ID")).toLongLong();
    QVERIFY(id > 0);
    QCOMPARE(b.field(QStringLiteral("CustomerID")).toLongLong(), 0);
    QCOMPARE(b.field(QStringLiteral("noadults")).toDouble(), 0.0);

    // The dates step writes the regional date text with the time of day.
    const QDateTime from(QDate(2026, 12, 7), QTime(14, 30, 5));
    const QDateTime to(QDate(2027, 1, 2), QTime(0, 0));
    db.execute(QStringLiteral("UPDATE booking SET bookedby = 'Ren''s', fromdate = '%1', todate='%2' WHERE id = %3")
                   .arg(RegionalDateTimeText(from), RegionalDateTimeText(to))
                   .arg(id));
    // The payment step writes the amounts as the boxes show them.
    db.execute(QStringLiteral("UPDATE Booking SET CostPerNight = '%1', PaymentMethod = 'Visa', OtherCharges = '%2', "
                              "SalesTax = '%3', TotalPayable = '0', AmountPayed = '', CreditCardNo = '', "
                              "CreditCardExpiry = '', CreditCardType = '' WHERE ID=%4")
                   .arg(FormatMoney(25), grouped, amount)
                   .arg(id)
                   .replace(QLatin1String("AmountPayed = ''"), QLatin1String("AmountPayed = '0'")));
    db.execute(QStringLiteral("UPDATE booking SET noadults = 2, nokids = 0.5 WHERE id = %1").arg(id));
    db.execute(QStringLiteral("UPDATE booking SET notes = 'line one\r\nline '' two' WHERE id = %1").arg(id));

    Recordset rs = db.execute(QStringLiteral("SELECT notes, BookedBy, fromdate, todate FROM booking WHERE id = %1").arg(id));
    QCOMPARE(rs.value(QStringLiteral("fromdate")).toDateTime(), from);
    QCOMPARE(rs.value(QStringLiteral("todate")).toDateTime(), to);
    QCOMPARE(rs.text(QStringLiteral("bookedby")), QStringLiteral("Ren's"));
    QCOMPARE(rs.text(QStringLiteral("notes")), QStringLiteral("line one\r\nline ' two"));
    Recordset pay = db.execute(QStringLiteral(
        "SELECT FromDate, ToDate, CostPerNight, PaymentMethod, OtherCharges, SalesTax, TotalPayable, AmountPayed, "
        "CreditCardNo, CreditCardExpiry, CreditCardType FROM Booking WHERE ID = %1")
                                   .arg(id));
    QCOMPARE(pay.value(QStringLiteral("CostPerNight")).toDouble(), 25.0);
    QCOMPARE(pay.value(QStringLiteral("OtherCharges")).toDouble(), 1234.5);
    QCOMPARE(pay.value(QStringLiteral("SalesTax")).toDouble(), 1234.5);
    QCOMPARE(FormatMoney(pay.text(QStringLiteral("OtherCharges"))), grouped);
    Recordset counts = db.execute(QStringLiteral("SELECT noadults, nokids, customerid FROM booking WHERE id = %1").arg(id));
    QCOMPARE(counts.text(QStringLiteral("noadults")), QStringLiteral("2"));
    QCOMPARE(counts.text(QStringLiteral("nokids")), NumberText(0.5));

    // A date compared with quoted regional text is compared as a date.
    QCOMPARE(db.execute(QStringLiteral("SELECT id FROM booking WHERE fromdate = '%1'").arg(RegionalDateTimeText(from)))
                 .rowCount(),
             1);
}

void TestDialect::dateComparisonsAcrossMonthAndYearEnds()
{
    LocaleScope us("en_US");
    TempDatabase t;
    Database &db = t.db();
    const RecordId dec = t.addGuest(at(2025, 12, 31, 22, 0), at(2026, 1, 2, 10, 0), QStringLiteral("A"), QStringLiteral("A"));
    const RecordId feb = t.addGuest(at(2026, 2, 28, 15, 0), at(2026, 3, 1, 10, 0), QStringLiteral("B"), QStringLiteral("B"));
    const RecordId sep = t.addGuest(at(2026, 9, 30, 15, 0), at(2026, 10, 10, 10, 0), QStringLiteral("C"), QStringLiteral("C"));
    // Text comparison of m/d/yyyy would put 10/1 before 9/30 and 1/1/2026 before 12/31/2025.
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id FROM booking WHERE fromdate < #1/1/2026#"))), QList<qlonglong>{dec});
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id FROM booking WHERE todate >= #1/2/2026# AND fromdate < #3/1/2026#"))),
             (QList<qlonglong>{dec, feb}));
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id FROM booking WHERE #10/1/2026# BETWEEN fromdate AND todate"))),
             QList<qlonglong>{sep});
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id FROM booking WHERE todate BETWEEN #3/1/2026 12:00 AM# AND #3/1/2026 11:59PM#"))),
             QList<qlonglong>{feb});
    // Midnight literals against stored times of day.
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id FROM booking WHERE fromdate >= #12/31/2025#"))),
             (QList<qlonglong>{dec, feb, sep}));
    QCOMPARE(ids(db.execute(QStringLiteral("SELECT id FROM booking WHERE #2/28/2026# >= fromdate"))), QList<qlonglong>{dec});
    // Sorting follows the dates.
    Recordset sorted = db.execute(QStringLiteral("SELECT id FROM booking ORDER BY todate DESC;"));
    QCOMPARE(sorted.value(0).toLongLong(), sep);
}

void TestDialect::quotesInsideStrings()
{
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        TempDatabase t;
        Database &db = t.db();
        const RecordId room = t.addRoom(QStringLiteral("x"));
        const QStringList tricky{QStringLiteral("O'Brien"), QStringLiteral("#5/1/2002#"), QStringLiteral("a = b; DROP TABLE room"),
                                 QStringLiteral("''"), QStringLiteral("it's #1; 'quoted'"), QStringLiteral("--not a comment"),
                                 QStringLiteral("12/7/26"), QStringLiteral("1,234.50")};
        for (const QString &value : tricky) {
            db.execute(QStringLiteral("UPDATE room SET name = '%1' WHERE id = %2").arg(SqlText(value)).arg(room));
            Recordset rs = db.execute(QStringLiteral("SELECT id, name FROM room WHERE name = '%1'").arg(SqlText(value)));
            QCOMPARE(rs.rowCount(), 1);
            QCOMPARE(rs.text(QStringLiteral("name")), value);
        }
        QCOMPARE(db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toInt(), 1);
    }
}

void TestDialect::textThatDoesNotConvertChangesNothing_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("assignment");
    QTest::newRow("letters as amount") << "en_US" << "CostPerNight = 'ten'";
    QTest::newRow("empty amount") << "en_US" << "SalesTax = ''";
    QTest::newRow("german amount in US") << "en_US" << "OtherCharges = '1.234,50'";
    QTest::newRow("letters as date") << "en_US" << "fromdate = 'tomorrow'";
    QTest::newRow("impossible date") << "en_US" << "todate = '2/30/2026'";
    QTest::newRow("day first in US") << "en_US" << "todate = '31/12/2026'";
    QTest::newRow("empty date") << "de_DE" << "fromdate = ''";
    QTest::newRow("letters as count") << "de_DE" << "noadults = 'zwei'";
    QTest::newRow("bad date literal") << "de_DE" << "fromdate = #31/12/2026#";
    QTest::newRow("empty date literal") << "en_GB" << "fromdate = ##";
    QTest::newRow("number as date") << "en_GB" << "fromdate = 5";
}

void TestDialect::textThatDoesNotConvertChangesNothing()
{
    QFETCH(QString, region);
    QFETCH(QString, assignment);
    LocaleScope scope(region.toLatin1().constData());
    TempDatabase t;
    Database &db = t.db();
    const RecordId id = t.addGuest(at(2026, 12, 7, 9), at(2026, 12, 8, 9), QStringLiteral("A"), QStringLiteral("B"));
    const QString before = db.execute(QStringLiteral("SELECT * FROM booking")).text(QStringLiteral("fromdate"));
    QString message;
    try {
        db.execute(QStringLiteral("UPDATE booking SET bookedby = 'changed', %1 WHERE id = %2").arg(assignment).arg(id));
    } catch (const DbError &e) {
        message = e.message();
    }
    QVERIFY2(!message.isEmpty(), "the statement should have failed");
    Recordset rs = db.execute(QStringLiteral("SELECT * FROM booking"));
    QCOMPARE(rs.text(QStringLiteral("bookedby")), QString());
    QCOMPARE(rs.text(QStringLiteral("fromdate")), before);
    QCOMPARE(rs.text(QStringLiteral("CostPerNight")), QStringLiteral("0"));
}

void TestDialect::oneStatementOnly()
{
    TempDatabase t;
    Database &db = t.db();
    QCOMPARE(db.execute(QStringLiteral("SELECT count(*) FROM room;")).value(0).toInt(), 0);
    QCOMPARE(db.execute(QStringLiteral("SELECT count(*) FROM room ;  ")).value(0).toInt(), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, db.execute(QStringLiteral("DELETE FROM room; DROP TABLE room")));
    QVERIFY_THROWS_EXCEPTION(DbError, db.execute(QStringLiteral("   ")));
    QCOMPARE(db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toInt(), 0);  // still there
}

void TestDialect::otherStatementsPassThrough()
{
    LocaleScope de("de_DE");
    TempDatabase t;
    Database &db = t.db();
    db.execute(QStringLiteral("INSERT INTO booking (FromDate, ToDate, CostPerNight, BookedBy) VALUES "
                              "('07.12.2026 14:00:00', #12/8/2026#, '1.234,50', '12,5')"));
    Recordset rs = db.execute(QStringLiteral("SELECT max(ID) AS top, upper(BookedBy) AS who, CostPerNight * 2 AS twice FROM booking"));
    QCOMPARE(rs.text(QStringLiteral("who")), QStringLiteral("12,5"));
    QCOMPARE(rs.value(QStringLiteral("twice")).toDouble(), 2469.0);
    Recordset row = db.execute(QStringLiteral("SELECT FROMDATE, todate FROM BOOKING"));
    QCOMPARE(row.value(0).toDateTime(), at(2026, 12, 7, 14));
    QCOMPARE(row.value(1).toDateTime(), at(2026, 12, 8));
    // An unknown table or column is the engine's own error.
    try {
        db.execute(QStringLiteral("SELECT nosuch FROM booking"));
        QFAIL("expected an error");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("nosuch")), qPrintable(e.message()));
    }
}

// What the server is given where the engines differ (the server's own
// tests run these on a real one).
void TestDialect::serverTerms_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("server");
    QTest::newRow("date literal typed") << QStringLiteral("SELECT id FROM booking WHERE FromDate >= #12/25/2002 2:30 PM#;")
                                        << QStringLiteral("SELECT id FROM booking WHERE FromDate >= TIMESTAMP '2002-12-25 14:30:00' ORDER BY booking.id");
    QTest::newRow("quoted names") << QStringLiteral("SELECT [LastName], `City`, \"FirstName\", \"Other\" FROM [Customer] AS c")
                                  << QStringLiteral("SELECT \"lastname\", \"city\", \"firstname\", \"Other\" FROM \"customer\" AS c");
    QTest::newRow("like and several values")
        << QStringLiteral("SELECT max(CostPerNight, 10), min(1, 2, 3), max(ID) FROM booking WHERE Notes LIKE 'a%'")
        << QStringLiteral("SELECT greatest(CostPerNight, 10), least(1, 2, 3), max(ID) FROM booking WHERE Notes ILIKE 'a%'");
    QTest::newRow("key order before limit") << QStringLiteral("SELECT id, name FROM room AS r LIMIT 5 OFFSET 2")
                                            << QStringLiteral("SELECT id, name FROM room AS r ORDER BY r.id LIMIT 5 OFFSET 2");
    QTest::newRow("own order kept") << QStringLiteral("SELECT id FROM room ORDER BY name")
                                    << QStringLiteral("SELECT id FROM room ORDER BY name");
    QTest::newRow("text kept") << QStringLiteral("UPDATE booking SET Notes = '[x] LIKE min(a, b) #1/1/2002#' WHERE ID == 1")
                               << QStringLiteral("UPDATE booking SET Notes = '[x] LIKE min(a, b) #1/1/2002#' WHERE ID = 1");
}

void TestDialect::serverTerms()
{
    QFETCH(QString, sql);
    QFETCH(QString, server);
    TempDatabase t;
    QCOMPARE(TranslateSql(sql, t.db().schema(), Engine::PostgreSQL), server);
}

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_dialect.moc"
