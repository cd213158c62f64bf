// What the house keeps of its guests, on both engines with a clock the test
// sets: the registration details erased when the house's rule says, the
// card numbers masked to their last four digits when the stay no longer
// needs them (at check-out at once), and exported masked.
#include "booking/bookingstatus.h"
#include "booking/bookingstore.h"
#include "booking/privacy.h"
#include "booking/registration.h"
#include "data/schema/schema.h"
#include "output/csvexport.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

class TestPrivacy : public QObject
{
    Q_OBJECT
private slots:
    void keptAsLongAsTheRuleSaysOnBothEngines();
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

        RetentionDone done = ApplyRetention(*db, today);
        QCOMPARE(done.registrations, qint64(1));
        QCOMPARE(done.companions, qint64(1));
        QCOMPARE(done.cards, qint64(2));
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
    }
}

QTEST_MAIN(TestPrivacy)
#include "tst_privacy.moc"
