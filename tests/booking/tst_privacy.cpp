// What the house keeps of its guests, on both engines with a clock the test
// sets: the registration details erased when the house's rule says, the
// card numbers masked to their last four digits when the stay no longer
// needs them (at check-out at once), and exported masked; the program's
// own daily run on its thread.
#include "booking/bookingstatus.h"
#include "booking/bookingstore.h"
#include "booking/privacy.h"
#include "booking/guestdata.h"
#include "booking/paymentrecords.h"
#include "booking/registration.h"
#include "mail/outbox.h"
#include "data/schema/housedetails.h"
#include "output/invoices.h"
#include "data/schema/schema.h"
#include "output/csvexport.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

class TestPrivacy : public QObject
{
    Q_OBJECT
private slots:
    void keptAsLongAsTheRuleSaysOnBothEngines();
    void aGuestsOwnDataHandedOverAndErased();
    void killedWhileErasingErasesAllOrNothing();
    void anEarlierHousesCardNumbersMaskedAtTheUpgrade();
};

void TestPrivacy::keptAsLongAsTheRuleSaysOnBothEngines()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    TempDatabase file;
    auto onServer = OpenDatabase(server.address());
    const QDate today(2027, 3, 15);  // the test's clock, never the real date
    QCOMPARE(MaskedCardNumber(QStringLiteral("4111-1111-1111-1234")), QStringLiteral("**** 1234"));
    QCOMPARE(MaskedCardNumber(QStringLiteral("**** 1234")), QStringLiteral("**** 1234"));
    QCOMPARE(MaskedCardNumber(QStringLiteral("1234")), QStringLiteral("1234"));
    for (Database *db : {&file.db(), onServer.get()}) {
        QCOMPARE(ReadRetention(*db).registrationMonths, 12);
        QCOMPARE(ReadRetention(*db).cardDays, 7);
        Registration given;
        given.birth = QDate(1980, 2, 29);
        given.nationality = QStringLiteral("DE");
        given.documentKind = QStringLiteral("Passport");
        given.documentNumber = QStringLiteral("C01X00T47");
        given.companions << Companion{QStringLiteral("Eva Lee"), QDate(2015, 6, 1), QStringLiteral("AT")};
        int rooms = 0;
        const auto book = [&](const QDate &from, const QDate &to) {
            db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Room %1')").arg(++rooms));
            const RecordId room =
                db->execute(QStringLiteral("SELECT id FROM room WHERE name = 'Room %1'").arg(rooms)).value(0).toLongLong();
            const RecordId id = CreateBookingForStay(*db, QDateTime(from.addDays(-30), QTime(9, 0)), room, from, to);
            CustomerDetails guest;
            guest[0] = QStringLiteral("Ann");
            guest[1] = QStringLiteral("Lee");
            SaveCustomerStep(*db, id, QStringLiteral("2"), QStringLiteral("0"), guest);
            db->execute(QStringLiteral("UPDATE booking SET CreditCardNo = '4111 1111 1111 1234', CreditCardExpiry = '12/29' "
                                       "WHERE ID = %1")
                            .arg(id));
            WriteRegistration(*db, id, given);
            return id;
        };
        const auto card = [&](RecordId id) {
            return db->execute(QStringLiteral("SELECT CreditCardNo, CreditCardExpiry FROM booking WHERE ID = %1").arg(id))
                .text(0);
        };
        const RecordId old = book(QDate(2026, 1, 10), QDate(2026, 1, 14));      // left 14 months before
        const RecordId recent = book(QDate(2027, 1, 10), QDate(2027, 1, 14));   // 2 months before
        const RecordId lastWeek = book(QDate(2027, 3, 5), QDate(2027, 3, 10));  // 5 days before
        const RecordId coming = book(QDate(2027, 4, 1), QDate(2027, 4, 3));
        OutgoingMail confirmation;  // e-mailed to the guest who left long ago
        confirmation.booking = old;
        confirmation.to = QStringLiteral("ann@example.org");
        confirmation.subject = QStringLiteral("Your booking");
        confirmation.fileName = QStringLiteral("Confirmation.pdf");
        confirmation.attachment = QByteArray("%PDF");
        QueueMail(*db, confirmation, QStringLiteral("desk@example.org"), QDateTime(QDate(2025, 12, 1), QTime(9, 0)));

        RetentionDone done = ApplyRetention(*db, today);
        QCOMPARE(done.registrations, qint64(1));
        QCOMPARE(done.companions, qint64(1));
        QCOMPARE(done.cards, qint64(2));
        QCOMPARE(done.messages, qint64(1));
        QCOMPARE(ReadRegistration(*db, old), Registration());
        QCOMPARE(ReadRegistration(*db, recent), given);
        QCOMPARE(card(old), QStringLiteral("**** 1234"));
        QCOMPARE(card(recent), QStringLiteral("**** 1234"));
        QCOMPARE(card(lastWeek), QStringLiteral("4111 1111 1111 1234"));
        QCOMPARE(db->execute(QStringLiteral("SELECT CreditCardExpiry FROM booking WHERE ID = %1").arg(old)).text(0),
                 QStringLiteral("12/29"));
        // Checked out: masked at once, whatever the days.
        ChangeBookingStatus(*db, lastWeek, BookingStatus::Booked, StatusChange(BookingStatus::CheckedIn));
        QCOMPARE(card(lastWeek), QStringLiteral("4111 1111 1111 1234"));
        ChangeBookingStatus(*db, lastWeek, BookingStatus::CheckedIn, StatusChange(BookingStatus::CheckedOut));
        QCOMPARE(card(lastWeek), QStringLiteral("**** 1234"));
        // Run again the same day: nothing more.
        QCOMPARE(ApplyRetention(*db, today).total(), qint64(0));
        // The house keeps registrations a month: the recent one goes too.
        WriteRetention(*db, RetentionRules{1, 7});
        done = ApplyRetention(*db, today);
        QCOMPARE(done.registrations + done.companions, qint64(2));
        QCOMPARE(ReadRegistration(*db, recent), Registration());
        // The reservations export writes the number of a stay to come masked.
        QCOMPARE(card(coming), QStringLiteral("4111 1111 1111 1234"));
        RowReader row = db->read(ReservationsExportSql());
        QStringList exported;
        while (row.next())
            exported << QString::fromUtf8(row.text(12).toByteArray());
        QCOMPARE(exported, QStringList(4, QStringLiteral("**** 1234")));
        // Weeks later the stay that was to come has ended: its number masked
        // by the day's run, which reads the departures since the last.
        QCOMPARE(ApplyRetention(*db, QDate(2027, 4, 15)).cards, qint64(1));
        QCOMPARE(card(coming), QStringLiteral("**** 1234"));

        // The program's own run, on a thread and a connection of its own: a
        // stay of April and the one of the 1st erased in July, and a line in the log that says so.
        const RecordId april = book(QDate(2027, 4, 20), QDate(2027, 4, 25));
        RetentionJob job(db == onServer.get() ? server.address() : file.path(), [] { return QDate(2027, 7, 1); });
        QSignalSpy ran(&job, &RetentionJob::done), failed(&job, &RetentionJob::failed);
        QTest::ignoreMessage(QtInfoMsg, "Retention on 2027-07-01: 2 registrations and 2 companions erased, 1 card numbers "
                                        "masked.");
        job.start();
        QTRY_VERIFY_WITH_TIMEOUT(!ran.isEmpty() || !failed.isEmpty(), 60000);
        QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));
        QCOMPARE(ran.first().first().toLongLong(), qint64(5));
        QCOMPARE(ReadRegistration(*db, april), Registration());
        QCOMPARE(card(april), QStringLiteral("**** 1234"));
    }
}

void TestPrivacy::aGuestsOwnDataHandedOverAndErased()
{
    // Ann Lee came twice and comes again; another Ann Lee (another e-mail
    // address) is someone else. Her data handed over; erasing refused while
    // a stay is to come, then done: her name, address and registration
    // gone, the country kept, the invoice as it was issued.
    ServerDatabase server;
    REQUIRE_SERVER(server);
    TempDatabase file;
    auto onServer = OpenDatabase(server.address());
    const QDate today = QDate::currentDate();
    for (Database *db : {&file.db(), onServer.get()}) {
        HouseDetails house;
        house.name = QStringLiteral("Pension Seeblick");
        house.address = QStringLiteral("Uferweg 3");
        WriteHouseDetails(*db, house);
        int rooms = 0;
        const auto book = [&](const QDate &from, const QString &email) {
            db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Room %1')").arg(++rooms));
            const RecordId room =
                db->execute(QStringLiteral("SELECT id FROM room WHERE name = 'Room %1'").arg(rooms)).value(0).toLongLong();
            const RecordId id = CreateBookingForStay(*db, QDateTime(from.addDays(-60), QTime(9, 0)), room, from, from.addDays(2));
            CustomerDetails guest;
            guest[0] = QStringLiteral("Ann");
            guest[1] = QStringLiteral("Lee");
            guest[4] = QStringLiteral("Cork");
            guest[7] = QStringLiteral("Ireland");
            guest[9] = email;
            SaveCustomerStep(*db, id, QStringLiteral("1"), QStringLiteral("0"), guest);
            db->execute(QStringLiteral("UPDATE booking SET CreditCardNo = '4111 1111 1111 1234', Notes = 'allergic to cats' "
                                       "WHERE ID = %1")
                            .arg(id));
            Registration r;
            r.documentNumber = QStringLiteral("C01X00T47");
            WriteRegistration(*db, id, r);
            return id;
        };
        const RecordId first = book(today.addDays(-400), QStringLiteral("ann@example.org"));
        const RecordId second = book(today.addDays(-30), QStringLiteral("ANN@example.org "));
        const RecordId coming = book(today.addDays(20), QStringLiteral("ann@example.org"));
        const RecordId someoneElse = book(today.addDays(-10), QStringLiteral("other@example.org"));
        RecordPayment(*db, Payment{0, second, today.addDays(-31), 12000, QStringLiteral("Cash"), QStringLiteral("deposit")});
        const RecordId invoice = IssueInvoice(*db, second, today.addDays(-28));
        const Invoice issued = ReadInvoice(*db, invoice);
        OutgoingMail mailed;
        mailed.booking = second;
        mailed.kind = PaperKind::Invoice;
        mailed.to = QStringLiteral("ann@example.org");
        mailed.subject = QStringLiteral("Your invoice %1").arg(issued.number);
        mailed.fileName = QStringLiteral("Invoice.pdf");
        mailed.attachment = QByteArray("%PDF");
        QueueMail(*db, mailed, QStringLiteral("desk@example.org"), QDateTime(today.addDays(-28), QTime(9, 0)));

        QVector<RecordId> hers = BookingsOfGuest(*db, second);
        std::sort(hers.begin(), hers.end());
        QCOMPARE(hers, (QVector<RecordId>{first, second, coming}));
        const GuestData data = ReadGuestData(*db, hers);
        const QJsonObject json = QJsonDocument::fromJson(data.json).object();
        QCOMPARE(json.value(QStringLiteral("guest")).toObject().value(QStringLiteral("LastName")).toString(), QStringLiteral("Lee"));
        const QJsonArray bookings = json.value(QStringLiteral("bookings")).toArray();
        QCOMPARE(bookings.size(), 3);
        QCOMPARE(bookings.at(0).toObject().value(QStringLiteral("cardNumber")).toString(), QStringLiteral("**** 1234"));
        QVERIFY(data.json.contains("C01X00T47") && data.json.contains("deposit") && data.json.contains(issued.number.toUtf8()));
        QVERIFY(data.html.contains(QStringLiteral("allergic to cats")) && !data.html.contains(QStringLiteral("4111")));
        QVERIFY(data.json.contains("\"subject\": \"Your invoice") && data.html.contains(QStringLiteral("Your invoice")));

        // A stay still to come: refused, nothing erased.
        QVERIFY(EraseRefusal(*db, hers, today).contains(QString::number(coming)));
        QVERIFY_THROWS_EXCEPTION(DbError, EraseGuest(*db, hers, today));
        QCOMPARE(ReadGuestData(*db, {first}).name, QStringLiteral("Ann Lee"));
        ChangeBookingStatus(*db, coming, BookingStatus::Booked, StatusChange(BookingStatus::Cancelled, CancelReason::Guest));
        EraseGuest(*db, hers, today);
        for (const RecordId id : hers) {
            const Recordset c = db->execute(QStringLiteral("SELECT c.FirstName, c.LastName, c.City, c.Email, c.Country, "
                                                           "b.Notes, b.CreditCardNo FROM booking AS b JOIN customer AS c ON "
                                                           "c.ID = b.CustomerID WHERE b.ID = %1")
                                                .arg(id));
            QCOMPARE(QStringList({c.text(0), c.text(1), c.text(2), c.text(3), c.text(4), c.text(5), c.text(6)}),
                     QStringList({QString(), ErasedMark(), QString(), QString(), QStringLiteral("Ireland"), QString(),
                                  QStringLiteral("**** 1234")}));
            QCOMPARE(ReadRegistration(*db, id), Registration());
        }
        QCOMPARE(ReadInvoice(*db, invoice).guest, issued.guest);  // as issued
        QCOMPARE(db->execute(QStringLiteral("SELECT count(*) FROM outbox")).value(0).toInt(), 0);  // its address and papers
        QCOMPARE(PaymentsOf(*db, second).value(0).cents, qint64(12000));
        QCOMPARE(ReadGuestData(*db, {someoneElse}).name, QStringLiteral("Ann Lee"));
        QCOMPARE(ReadRegistration(*db, someoneElse).documentNumber, QStringLiteral("C01X00T47"));
    }
}

void TestPrivacy::killedWhileErasingErasesAllOrNothing()
{
    // A guest of many stays erased by another program that is killed
    // meanwhile: every booking erased, or none, never some.
    TempDatabase t;
    const RecordId room = t.addRoom(QStringLiteral("Loft"));
    const QDateTime start(QDate(2020, 1, 1), QTime(14, 0));
    t.run(QStringLiteral("BEGIN"));
    for (int i = 0; i < 3000; ++i)
        t.addGuest(start.addDays(2 * i), start.addDays(2 * i + 1), QStringLiteral("Ann"), QStringLiteral("Lee"), {room});
    t.run(QStringLiteral("COMMIT"));
    const RecordId first = t.run(QStringLiteral("SELECT min(ID) FROM booking")).value(0).toLongLong();
    const QString erased = QStringLiteral("SELECT count(*) FROM customer WHERE LastName = '%1'").arg(ErasedMark());
    bool whole = false;
    for (int attempt = 0; attempt < 3 && !whole; ++attempt) {
        QProcess eraser;
        eraser.start(qEnvironmentVariable("INNKELD_DESK"), {QStringLiteral("erase"), t.path(), QString::number(first)});
        QVERIFY(eraser.waitForStarted());
        QVERIFY(eraser.waitForReadyRead(60000));  // "erasing 3000": under way
        QTest::qWait(attempt * 40);
        eraser.kill();
        eraser.waitForFinished();  // (false when it had finished before the kill)
        whole = eraser.readAllStandardOutput().contains("erased");
        const int count = t.run(erased).value(0).toInt();
        qInfo("kill %d: %s, %d of 3000 erased", attempt, whole ? "after the end" : "during the erase", count);
        QVERIFY2(count == 0 || count == 3000, qPrintable(QStringLiteral("%1 of 3000 erased").arg(count)));
        QCOMPARE(t.run(QStringLiteral("PRAGMA integrity_check")).text(0), QStringLiteral("ok"));
    }
}

void TestPrivacy::anEarlierHousesCardNumbersMaskedAtTheUpgrade()
{
    // A house an earlier version kept: its card numbers whole. Opened, the
    // stays that ended have theirs masked; a stay to come keeps its own.
    TempDatabase t;
    const RecordId room = t.addRoom(QStringLiteral("Loft"));
    const QDate today = QDate::currentDate();
    const RecordId ended = t.addGuest(QDateTime(today.addDays(-30), QTime(14, 0)), QDateTime(today.addDays(-28), QTime(10, 0)),
                                      QStringLiteral("Ann"), QStringLiteral("Lee"), {room});
    const RecordId coming = t.addGuest(QDateTime(today.addDays(30), QTime(14, 0)), QDateTime(today.addDays(32), QTime(10, 0)),
                                       QStringLiteral("Bo"), QStringLiteral("Kim"), {room});
    t.run(QStringLiteral("UPDATE booking SET CreditCardNo = '4111-1111-1111-1234'"));
    for (const char *sql : {"DROP TABLE registration", "DROP TABLE companion", "DROP TABLE retention",
                            "DROP TRIGGER IF EXISTS registration_booking_delete", "DROP TRIGGER IF EXISTS companion_booking_delete"})
        t.run(QLatin1String(sql));
    t.close();
    const auto card = [&t](RecordId id) {
        return t.run(QStringLiteral("SELECT CreditCardNo FROM booking WHERE ID = %1").arg(id)).text(0);
    };
    QCOMPARE(card(ended), QStringLiteral("**** 1234"));
    QCOMPARE(card(coming), QStringLiteral("4111-1111-1111-1234"));
    QCOMPARE(ReadRetention(t.db()).registrationMonths, 12);
}

QTEST_MAIN(TestPrivacy)
#include "tst_privacy.moc"
