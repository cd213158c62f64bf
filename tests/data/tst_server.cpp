// Several desks on one PostgreSQL server: the same statements, the same
// wizard road and export, the guard under racing desks, a house moved both
// ways, a server lost in the middle of a step, and the same bookings found. Against the run's own
// server (see the server_start test).
#include "app/frmMain.h"
#include "arrivals/findquery.h"
#include "channels/channelfeeds.h"
#include "data/copies/housecopy.h"
#include "data/schema/houserules.h"
#include "data/schema/houseterms.h"
#include "channels/frmChannels.h"
#include "config/frmConfigRooms.h"
#include "config/frmTerminology.h"
#include "data/regional/regionalterms.h"
#include "booking/availability.h"
#include "wizard/returningguests.h"
#include "wizard/BookingWizard.h"
#include "data/copies/backup.h"
#include "data/regional/regional.h"
#include "calendar/calendarweek.h"
#include "data/schema/schema.h"
#include "guisupport.h"
#include "output/csvexport.h"
#include "booking/bookingstatus.h"
#include "booking/pricing.h"
#include "booking/bookingstore.h"

#include <QBuffer>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QProcess>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// A house of years made by innkeld-gen.
bool generateHouse(const QString &path, int rooms, int bookings, bool departureDayFree = false)
{
    QProcess gen;
    QStringList args{path, QStringLiteral("--rooms"), QString::number(rooms), QStringLiteral("--bookings"),
                     QString::number(bookings)};
    if (departureDayFree)
        args << QStringLiteral("--departure-day-free");
    gen.start(qEnvironmentVariable("INNKELD_GEN"), args);
    return gen.waitForFinished(120000) && gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0;
}

// Each row of a statement as text, fields by tabs.
QStringList rowsOf(Database &db, const QString &sql)
{
    QStringList out;
    for (Recordset rs = db.execute(sql); !rs.eof(); rs.moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.fieldCount(); ++i)
            fields << rs.text(i);
        out << fields.join(QLatin1Char('\t'));
    }
    return out;
}

QString failureOf(Database &db, const QString &sql)
{
    try {
        db.execute(sql);
    } catch (const DbError &e) {
        return e.message();
    }
    return QStringLiteral("(no failure)");
}

QByteArray exportOf(Database &db)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteReservationsCsv(db, buffer);
    return buffer.data();
}

QByteArray exportOf(const QString &address)
{
    auto db = OpenDatabase(address);
    return exportOf(*db);
}

QString tool(const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.start(qEnvironmentVariable("INNKELD_SQL"), args);
    p.waitForFinished(300000);
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

}  // namespace

class TestServer : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void statementsAndGuardOnBothEngines();
    void wizardRoadAndExportAreTheSame();
    void racingDesksNeverDoubleBook();
    void houseMovesToTheServerAndBack();
    void lostServerInTheMiddleOfAStep();
    void findingIsTheSameOnBothEngines();
    void departureDayRuleIsTheHouses();
    void channelFeedsAsTheGuardJudges();
    void everyDialogAndTheHouseTermsOnAServer();
    void storedTextsAreAlikeOnBothEngines();
};

void TestServer::statementsAndGuardOnBothEngines()
{
    // A wall-clock time that does not exist in the desk's zone (the spring
    // change) is stored and read as written on both engines.
    TimeZoneScope zone("Europe/Berlin");
    ServerDatabase server;
    REQUIRE_SERVER(server);
    TempDatabase file;
    auto onServer = OpenDatabase(server.address());
    QCOMPARE(onServer->engineKind(), Engine::PostgreSQL);
    const QStringList queries{
        QStringLiteral("SELECT * FROM booking"),
        QStringLiteral("SELECT * FROM customer"),
        QStringLiteral("SELECT FirstName, [LastName], \"City\" FROM customer WHERE LastName LIKE 'o''h%'"),
        QStringLiteral("SELECT id FROM booking WHERE FromDate BETWEEN #3/29/2026# AND #3/29/2026 11:59:59 PM#"),
        QStringLiteral("SELECT max(CostPerNight, 2000), min(NoAdults, 1), CostPerNight * 2 FROM booking"),
        QStringLiteral("SELECT count(*) FROM booking WHERE CostPerNight = '1,234.50' AND ToDate > '3/30/2026'"),
        QStringLiteral("SELECT id, name FROM room LIMIT 2 OFFSET 1"),
        QStringLiteral("SELECT name FROM room WHERE name = 'Garden ''Nook''' OR name = 'x\\'"),
        QStringLiteral("SELECT b.id, r.name FROM booking AS b, bookingroom AS l, room AS r "
                       "WHERE l.bookingid = b.id AND r.id = l.roomid;"),
    };
    QList<QStringList> results[2];
    int engine = 0;
    for (Database *db : {&file.db(), onServer.get()}) {
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Sea View')"));
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Garden ''Nook''')"));
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('x\\')"));
        TableCursor c = db->openTable(QStringLiteral("Customer"));
        c.addNew();
        c.setField(QStringLiteral("FirstName"), QStringLiteral("Zoë"));
        c.setField(QStringLiteral("LastName"), QStringLiteral("O'Hara"));
        c.setField(QStringLiteral("City"), QStringLiteral("Köln ☃"));
        c.setField(QStringLiteral("SubmittedDate"), QStringLiteral("12/25/2002 2:30 PM"));
        c.update();
        QCOMPARE(c.field(QStringLiteral("ID")).toLongLong(), 1);
        for (int i = 0; i < 2; ++i) {
            TableCursor b = db->openTable(QStringLiteral("Booking"));
            b.addNew();
            b.setField(QStringLiteral("FromDate"), WallClock(QDate(2026, 3, 29), QTime(2, 30)));
            b.setField(QStringLiteral("ToDate"), WallClock(QDate(2026, 4, 1), QTime(10, 0)));
            b.setField(QStringLiteral("CustomerID"), 1);
            b.setField(QStringLiteral("CostPerNight"), QStringLiteral("1,234.5"));
            b.update();
            QCOMPARE(b.field(QStringLiteral("FromDate")).toDateTime().time(), QTime(2, 30));
        }
        db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (1, 1)"));
        for (const QString &sql : queries)
            results[engine] << rowsOf(*db, sql);
        // The guard: the same refusals in the same words.
        results[engine] << QStringList{
            failureOf(*db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (2, 1)")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (2, 9)")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (7, 2)")),
            failureOf(*db, QStringLiteral("UPDATE booking SET FromDate = '3/1/2026' WHERE id = 2")),
        };
        // Moving the other stay away lets the room be held; moving it back
        // onto the first is refused.
        db->execute(QStringLiteral("UPDATE booking SET FromDate = #4/2/2026#, ToDate = #4/5/2026# WHERE id = 2"));
        db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (2, 1)"));
        results[engine] << QStringList{
            failureOf(*db, QStringLiteral("UPDATE booking SET FromDate = #4/1/2026# WHERE id = 2")),
        } << StoredClashes(*db) << rowsOf(*db, QStringLiteral("SELECT roomid, bookingid FROM bookingroom"));
        // A booking with a guest is kept; its life changes only as the desk
        // changes it; its stay freezes when it has ended; its rooms go free
        // when it is cancelled.
        results[engine] << QStringList{
            failureOf(*db, QStringLiteral("DELETE FROM booking WHERE id = 1")),
            failureOf(*db, QStringLiteral("UPDATE booking SET Status = 'checkedin' WHERE id = 2")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingstatus (bookingid, Status) VALUES (2, 'checkedout')")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingstatus (bookingid, Status) VALUES (2, 'checkedin')")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingstatus (bookingid, Status) VALUES (2, 'cancelled')")),
            failureOf(*db, QStringLiteral("UPDATE booking SET ToDate = #4/9/2026# WHERE id = 2")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingstatus (bookingid, Status) VALUES (2, 'booked')")),
            failureOf(*db, QStringLiteral("UPDATE bookingstatus SET Note = 'x'")),
            failureOf(*db, QStringLiteral("DELETE FROM bookingstatus")),
            failureOf(*db, QStringLiteral("DELETE FROM booking WHERE id = 2")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingstatus (bookingid, Status) VALUES (1, 'checkedin')")),
            failureOf(*db, QStringLiteral("INSERT INTO bookingstatus (bookingid, Status) VALUES (1, 'checkedout')")),
            failureOf(*db, QStringLiteral("UPDATE booking SET ToDate = #4/9/2026# WHERE id = 1")),
            failureOf(*db, QStringLiteral("DELETE FROM booking WHERE id = 1")),
        } << rowsOf(*db, QStringLiteral("SELECT bookingid, Status FROM bookingstatus ORDER BY id"))
          << rowsOf(*db, QStringLiteral("SELECT bookingid, roomid FROM releasedroom"));
        // Deleting a draft (no guest) takes its links along.
        db->execute(QStringLiteral("INSERT INTO booking (CustomerID) VALUES (0)"));
        db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) SELECT max(id), 1 FROM booking"));
        db->execute(QStringLiteral("DELETE FROM booking WHERE id = (SELECT max(id) FROM booking)"));
        results[engine] << rowsOf(*db, QStringLiteral("SELECT count(*) FROM bookingroom"));
        // A row stored with its key given: the next key the engine gives
        // follows it, on the server as on the file.
        db->execute(QStringLiteral("INSERT INTO room (id, name) VALUES (40, 'Given')"));
        db->execute(QStringLiteral("INSERT INTO room (id, name) VALUES (7, 'Lower')"));
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Next')"));
        results[engine] << rowsOf(*db, QStringLiteral("SELECT id FROM room WHERE name = 'Next'"));
        ++engine;
    }
    QCOMPARE(results[0].size(), results[1].size());
    for (int i = 0; i < results[0].size(); ++i)
        QCOMPARE(results[1].at(i), results[0].at(i));
    QCOMPARE(results[1].at(queries.size()).first(),
             QStringLiteral("The room Sea View is booked by another guest on these dates."));
    QCOMPARE(results[1].at(queries.size()).at(1), QStringLiteral("There is no room 9 in the house."));
}

void TestServer::wizardRoadAndExportAreTheSame()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    QByteArray exports[2];
    QStringList confirmations[2];
    for (int engine = 0; engine < 2; ++engine) {
        ProgramRun p;
        p.notFirst();
        if (engine == 1) {
            p.databaseGiven = server.address();
            auto db = OpenDatabase(server.address());  // an empty database gets the tables
            for (const char *name : {"Garden", "Sea View"}) {
                TableCursor c = db->openTable(QStringLiteral("Room"));
                c.addNew();
                c.setField(QStringLiteral("Name"), QLatin1String(name));
                c.update();
            }
        } else {
            p.database.addRoom(QStringLiteral("Garden"));
            p.database.addRoom(QStringLiteral("Sea View"));
        }
        QCOMPARE(p.run(), 0);
        // The desk remembers where it was started, without a password.
        QCOMPARE(p.settings->ReadSetting(QStringLiteral("Database"), QString()).startsWith(QLatin1String("postgresql:")),
                 engine == 1);
        QTest::mouseClick(p.find("lblMenu_5"), Qt::LeftButton);
        const QDateTime arrival(QDate::currentDate().addDays(1), QTime(14, 0));
        p.find<QDateTimeEdit>("dtFromDate")->setDateTime(arrival);
        p.find<QDateTimeEdit>("dtToDate")->setDateTime(arrival.addDays(2).addSecs(-4 * 3600));
        typeInto(p.find<QLineEdit>("txtBookedBy"), QStringLiteral("Ren O'Neil"));
        QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
        auto *rooms = p.find<QListWidget>("lstRooms");
        QCOMPARE(rooms->count(), 2);
        QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {}, rooms->visualItemRect(rooms->item(1)).center());
        QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
        typeInto(p.find<QLineEdit>("txtFirstname"), QStringLiteral("Siobhán"));
        typeInto(p.find<QLineEdit>("txtLastname"), QStringLiteral("O'Brien"));
        typeInto(p.find<QLineEdit>("txtCity"), QStringLiteral("Cork"));
        QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
        typeInto(p.find<QLineEdit>("txtCostPerNight"), QStringLiteral("85.5"));
        typeInto(p.find<QLineEdit>("txtAmountPayed"), QStringLiteral("20"));
        QTest::mouseClick(p.find("cmdRecalculateTotalPayable"), Qt::LeftButton);
        QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
        QCOMPARE(p.main()->wizard()->CurrentStep(), 4);
        QVERIFY2(p.ui.messages.isEmpty(), qPrintable(p.ui.messages.isEmpty() ? QString() : p.ui.messages.last().text));
        for (const char *name : {"lblConfirmDates", "lblConfirmContact", "lblConfirmAdultsChildren",
                                 "lblPaymentApartments"})
            confirmations[engine] << p.find<QLabel>(name)->text();
        auto db = OpenDatabase(engine == 1 ? server.address() : p.database.path());
        // The customer's row is dated by the clock of its save.
        db->execute(QStringLiteral("UPDATE customer SET SubmittedDate = #1/2/2026 3:04:05 PM#"));
        exports[engine] = exportOf(*db);
    }
    QCOMPARE(confirmations[1], confirmations[0]);
    QVERIFY(exports[0].contains("\"Siobhán\",\"O'Brien\""));
    QCOMPARE(exports[1], exports[0]);
}

void TestServer::racingDesksNeverDoubleBook()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    auto db = OpenDatabase(server.address());
    for (int i = 1; i <= 3; ++i)
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Room %1')").arg(i));
    constexpr int kTrials = 200;
    QList<QProcess *> desks;
    for (int i = 0; i < 3; ++i) {
        auto *desk = new QProcess(this);
        desk->start(qEnvironmentVariable("INNKELD_DESK"),
                    {QStringLiteral("race"), server.address(), QString::number(kTrials)});
        desks << desk;
    }
    QMap<int, int> winners;
    for (QProcess *desk : desks) {
        QVERIFY(desk->waitForFinished(240000));
        QCOMPARE(desk->exitCode(), 0);
        for (const QByteArray &line : desk->readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.value(0) == "won") {
                ++winners[words.value(1).toInt()];
            } else if (words.value(0) == "lost") {
                // Told by the room's name, or to try again.
                const int trial = words.value(1).toInt();
                QVERIFY2(line.contains("Room " + QByteArray::number(1 + trial % 3)) || line.contains("try again"),
                         line.constData());
            }
        }
        delete desk;
    }
    // One desk wins each room for each stay, through the rooms step and
    // through the plain insert alike.
    for (int t = 0; t < kTrials; ++t)
        QVERIFY2(winners.value(t) <= 1, qPrintable(QStringLiteral("trial %1 won %2 times").arg(t).arg(winners.value(t))));
    QVERIFY(winners.size() >= kTrials * 9 / 10);
    QCOMPARE(db->execute(QStringLiteral("SELECT count(*) FROM bookingroom")).value(0).toInt(), winners.size());
    QCOMPARE(StoredClashes(*db), QStringList());
}

void TestServer::houseMovesToTheServerAndBack()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    QTemporaryDir dir;
    const QString house = dir.filePath(QStringLiteral("house.mdb"));
    // A house that books rooms from the day the guest leaves: its rule
    // comes along, and its stays that meet on a day are no clash.
    QVERIFY(generateHouse(house, 20, 3000, true));
    const QString statuses = QStringLiteral("SELECT Status, count(*) FROM booking GROUP BY Status ORDER BY Status");
    const QStringList generated = rowsOf(*OpenDatabase(house), statuses);
    QVERIFY2(generated.size() >= 2, qPrintable(generated.join(QLatin1Char(' '))));
    {
        // Its bookings' lives come along: a cancellation with its fee and
        // released room, a no-show.
        auto file = OpenDatabase(house);
        const Recordset coming = file->execute(QStringLiteral("SELECT ID FROM booking WHERE Status = 'booked' ORDER BY ID DESC"));
        const RecordId cancelled = coming.value(0).toLongLong();
        ChangeBookingStatus(*file, cancelled, BookingStatus::Booked,
                            StatusChange{BookingStatus::Cancelled, CancelReason::Guest, QStringLiteral("Flight gone"), 2500});
        ChangeBookingStatus(*file, cancelled - 1, BookingStatus::Booked, StatusChange{BookingStatus::NoShow, CancelReason::NoShow});
        // Its rates come along.
        RateCard card;
        card.categories << RateCategory{1, QStringLiteral("Double"), 9000, 0x30, 11000, 1500, 800}
                        << RateCategory{2, QStringLiteral("Single"), 6000, 0, 0, 0, 0};
        card.seasons << Season{0, QStringLiteral("Winter"), QDate(2000, 12, 1), QDate(2000, 2, 29), true, 3,
                               {{1, 10000, 0x20, 12000}, {2, 7000, 0, 0}}};
        card.lengths << StayLength{7, 10};
        card.beds.insert(1, RoomBeds{1, 2, 1, 1, 0});
        WriteRateCard(*file, card);
    }
    const QStringList lives{QStringLiteral("SELECT bookingid, Status, ChangedBy, Reason, Note, FeeCents FROM bookingstatus ORDER BY id"),
                            QStringLiteral("SELECT bookingid, roomid FROM releasedroom ORDER BY id"), statuses,
                            QStringLiteral("SELECT * FROM roomcategory ORDER BY id"), QStringLiteral("SELECT * FROM season ORDER BY id"),
                            QStringLiteral("SELECT * FROM seasonprice ORDER BY seasonid, categoryid"),
                            QStringLiteral("SELECT * FROM staylength ORDER BY MinNights"),
                            QStringLiteral("SELECT * FROM roombeds ORDER BY roomid")};
    int rc = -1;
    const QString copied = tool({QStringLiteral("--copy"), house, server.address()}, &rc);
    QVERIFY2(rc == 0, qPrintable(copied));
    const QString back = dir.filePath(QStringLiteral("back.mdb"));
    QCOMPARE(tool({QStringLiteral("--copy"), server.address(), back}, &rc), QStringLiteral("copied %1 to %2").arg(server.address(), back));
    QCOMPARE(rc, 0);
    const QByteArray original = exportOf(house);
    QVERIFY(original.count('\n') > 2990);
    QCOMPARE(exportOf(server.address()), original);
    QCOMPARE(exportOf(back), original);
    QCOMPARE(tool({QStringLiteral("--check"), server.address()}, &rc), QStringLiteral("ok"));
    QCOMPARE(rc, 0);
    QVERIFY(DepartureDayFree(*OpenDatabase(server.address())));
    QVERIFY(DepartureDayFree(*OpenDatabase(back)));
    // The server's copy is its own dump.
    const QString dump = dir.filePath(QStringLiteral("house.dump"));
    QCOMPARE(tool({QStringLiteral("--backup"), server.address(), dump}, &rc), QString());
    QCOMPARE(rc, 0);
    QFile dumped(dump);
    QVERIFY(dumped.open(QIODevice::ReadOnly));
    QCOMPARE(dumped.read(5), QByteArray("PGDMP"));
    // The same lists on both (rooms, a week, a day's arrivals).
    auto file = OpenDatabase(house);
    auto onServer = OpenDatabase(server.address());
    for (const QString &sql : QStringList{QStringLiteral("SELECT id, name FROM room"),
                                          QStringLiteral("SELECT * FROM bookingroom WHERE roomid = 3"),
                                          QStringLiteral("SELECT * FROM customer WHERE id < 50")}
                                  + lives) {
        QCOMPARE(rowsOf(*onServer, sql), rowsOf(*file, sql));
        QCOMPARE(rowsOf(*OpenDatabase(back), sql), rowsOf(*file, sql));
    }
    QVERIFY(rowsOf(*file, lives[1]).size() >= 2);  // the rooms the cancelled and the no-show released
    QCOMPARE(rowsOf(*onServer, QStringLiteral("SELECT * FROM seasonprice")).size(), 2);
    // The server prices alike, and stores new rates past the copied keys.
    QCOMPARE(PriceStay(ReadRateCard(*onServer), 1, QDate(2027, 2, 26), QDate(2027, 3, 1), 1, 0).totalCents,
             PriceStay(ReadRateCard(*file), 1, QDate(2027, 2, 26), QDate(2027, 3, 1), 1, 0).totalCents);
    WriteRateCard(*onServer, ReadRateCard(*onServer));
    // A copy goes into an empty database only; keys go on past the copied.
    QVERIFY(tool({QStringLiteral("--copy"), house, server.address()}, &rc).contains(QLatin1String("already holds")));
    QCOMPARE(rc, 1);
    const RecordId next = CreateBooking(*onServer, WallClock(QDate(2040, 1, 1), QTime(9, 0)));
    QCOMPARE(next, file->execute(QStringLiteral("SELECT max(id) FROM booking")).value(0).toLongLong() + 1);

    // A house on the server made before bookings had statuses: the owner's
    // upgrade gives each the status its stay tells, in a step of its own.
    onServer.reset();
    server.admin(QStringLiteral("DROP TABLE bookingstatus, releasedroom CASCADE; "
                                "DROP TRIGGER booking_frozen_and_kept ON booking; DROP TRIGGER bookingroom_frozen ON bookingroom; "
                                "DROP FUNCTION innkeld_status_change, innkeld_status_apply, innkeld_status_kept, "
                                "innkeld_booking_frozen_and_kept, innkeld_room_status CASCADE; "
                                "DELETE FROM booking WHERE ID = %1; ALTER TABLE booking DROP COLUMN Status")
                     .arg(next));
    const QString upgraded = tool({QStringLiteral("--upgrade"), server.address()}, &rc);
    QCOMPARE(rc, 0);
    QVERIFY2(upgraded.contains(QLatin1String("Giving each booking its status")), qPrintable(upgraded));
    QCOMPARE(rowsOf(*OpenDatabase(server.address()), statuses), generated);
    // And a file made before them: opened, it is upgraded alike.
    {
        auto old = OpenDatabase(back);
        QStringList drops;
        for (const char *trigger : {"bookingstatus_change", "bookingstatus_apply", "bookingstatus_kept",
                                    "bookingstatus_kept_delete", "booking_status_guard", "booking_status_new",
                                    "booking_stay_frozen", "bookingroom_status", "bookingroom_status_update",
                                    "releasedroom_link", "releasedroom_room_delete", "booking_kept"})
            drops << QStringLiteral("DROP TRIGGER ") + QLatin1String(trigger);
        drops << QStringLiteral("DROP TABLE bookingstatus") << QStringLiteral("DROP TABLE releasedroom")
              << QStringLiteral("DROP INDEX booking_status") << QStringLiteral("ALTER TABLE booking DROP COLUMN Status");
        for (const QString &sql : drops)
            old->run(sql);
    }
    QCOMPARE(rowsOf(*OpenDatabase(back), statuses), generated);
}

void TestServer::lostServerInTheMiddleOfAStep()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    const QString others = QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                                          "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    {
        auto db = OpenDatabase(server.address());
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Garden')"));
    }
    ProgramRun p;
    p.notFirst();
    p.databaseGiven = server.address();
    QCOMPARE(p.run(), 0);
    QTest::mouseClick(p.find("lblMenu_5"), Qt::LeftButton);
    const RecordId id = p.main()->wizard()->CurrentBookingId();
    QVERIFY(id > 0);
    typeInto(p.find<QLineEdit>("txtBookedBy"), QStringLiteral("Kept"));
    // The server ends the desk's session (a restart) while it waits for the
    // operator (its connection and the one that listens for other desks'
    // changes): the next action finds it, connects again and runs.
    QCOMPARE(server.admin(others), QStringLiteral("2"));
    QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
    QVERIFY2(p.ui.messages.isEmpty(), qPrintable(p.ui.messages.value(0).text));
    QCOMPARE(p.main()->wizard()->CurrentStep(), 1);
    QCOMPARE(server.admin(QStringLiteral("SELECT BookedBy FROM booking WHERE id = %1").arg(id)), QStringLiteral("Kept"));

    // Lost in the middle of an action: said in plain words with the
    // driver's below; nothing of it stored; the next action connects again.
    auto db = OpenDatabase(server.address());
    try {
        Database::Transaction tx(*db);
        db->execute(QStringLiteral("UPDATE booking SET BookedBy = 'Half' WHERE id = %1").arg(id));
        server.admin(others);
        db->execute(QStringLiteral("UPDATE booking SET Notes = 'Half' WHERE id = %1").arg(id));
        tx.commit();
        QFAIL("the lost connection was not found");
    } catch (const DbError &e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("The database server at 127.0.0.1:")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("closed the connection")) && e.message().contains(QStringLiteral("Nothing was half-stored"))
                     && !e.message().section(QStringLiteral("\n\n"), 1).trimmed().isEmpty(),
                 qPrintable(e.message()));
    }
    QCOMPARE(db->execute(QStringLiteral("SELECT BookedBy FROM booking WHERE id = %1").arg(id)).text(0), QStringLiteral("Kept"));
}

void TestServer::findingIsTheSameOnBothEngines()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    TempDatabase file;
    auto onServer = OpenDatabase(server.address());
    const QHash<QString, RecordId> house = AddFindHouse(file.db());
    QCOMPARE(AddFindHouse(*onServer), house);
    const auto ids = [](const FindResult &found) {
        QList<RecordId> out;
        for (const FoundBooking &b : found.bookings)
            out << b.bookingId;
        return out;
    };
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        // (What the file finds is the test of the finding rules.)
        QStringList searches{QLocale().toString(QDate(2026, 3, 12), QLocale::ShortFormat),
                             QLocale().toString(QDate(2026, 3, 14), QLocale::ShortFormat) + QStringLiteral(" anna")};
        for (const auto &search : FindHouseSearches(house))
            searches << search.first;
        for (const QString &text : searches)
            QVERIFY2(ids(FindBookings(*onServer, text)) == ids(FindBookings(file.db(), text)), qPrintable(text.left(40)));
    }

    // The server splits and folds words as the file's index does, for every
    // character of the basic plane and some beyond it.
    file.db().run(QStringLiteral("CREATE VIRTUAL TABLE temp.probe USING fts5(a, tokenize = 'unicode61 remove_diacritics 2')"));
    file.db().run(QStringLiteral("CREATE VIRTUAL TABLE temp.probe_words USING fts5vocab('temp', 'probe', 'instance')"));
    const QString points =
        QStringLiteral("(cp < 65536 AND cp NOT BETWEEN 55296 AND 57343) OR cp IN (66560, 69942, 119808, 128512, 131072)");
    file.db().run(QStringLiteral("WITH RECURSIVE c(cp) AS (SELECT 1 UNION ALL SELECT cp + 1 FROM c WHERE cp < 131072) "
                                 "INSERT INTO probe (rowid, a) SELECT cp, 'q' || char(cp) || 'q' FROM c WHERE %1")
                      .arg(points));
    QHash<qint64, QString> fileWords;
    for (Recordset rs = file.db().query(QStringLiteral("SELECT doc, term FROM probe_words ORDER BY doc, offset")); !rs.eof();
         rs.moveNext()) {
        QString &words = fileWords[rs.value(0).toLongLong()];
        words += (words.isEmpty() ? QString() : QStringLiteral("|")) + rs.text(1);
    }
    int compared = 0;
    for (Recordset rs = onServer->query(QStringLiteral("SELECT cp, array_to_string(innkeld_find_words('q' || chr(cp) || 'q'), '|') "
                                                       "FROM generate_series(1, 131072) AS cp WHERE %1 ORDER BY cp")
                                            .arg(points));
         !rs.eof(); rs.moveNext(), ++compared) {
        const qint64 cp = rs.value(0).toLongLong();
        if (rs.text(1) != fileWords.value(cp))
            QFAIL(qPrintable(QStringLiteral("U+%1: %2 on the server, %3 in the file")
                                 .arg(cp, 4, 16, QLatin1Char('0'))
                                 .arg(rs.text(1), fileWords.value(cp))));
    }
    QCOMPARE(compared, fileWords.size());

    // In a house of years the server finds words found often among the most
    // recent bookings and the rarer ones month by month: the same bookings,
    // in the same order, as the file's index.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("house.mdb"));
    QVERIFY(generateHouse(path, 40, 9000));
    ServerDatabase years;
    REQUIRE_SERVER(years);
    {
        auto target = OpenDatabase(years.address());
        auto source = OpenDatabase(path);
        CopyHouse(*source, *target);
    }
    auto yearsFile = OpenDatabase(path);
    auto yearsServer = OpenDatabase(years.address());
    for (const QString &text : {QStringLiteral("m"), QStringLiteral("müller"), QStringLiteral("o'h madrid"),
                                QStringLiteral("zzxq"), QStringLiteral("555 1"), QStringLiteral("lee berlin"),
                                QStringLiteral("3/15/2010"), QStringLiteral("ex 3/15/2010"), QStringLiteral("4000")}) {
        const FindResult onFile = FindBookings(*yearsFile, text);
        QVERIFY2(ids(FindBookings(*yearsServer, text)) == ids(onFile), qPrintable(text));
        QVERIFY2(text == QStringLiteral("zzxq") || !onFile.bookings.isEmpty(), qPrintable(text));
    }
    const auto guests = [](const QVector<ReturningGuest> &found) {
        QList<RecordId> out;
        for (const ReturningGuest &g : found)
            out << g.customerId;
        return out;
    };
    QCOMPARE(guests(FindReturningGuests(*yearsServer, QStringLiteral("schm"), 0)),
             guests(FindReturningGuests(*yearsFile, QStringLiteral("schm"), 0)));
}

QTEST_MAIN(TestServer)
void TestServer::departureDayRuleIsTheHouses()
{
    // The boundary cases on the server, its guard included; the rule set at
    // one desk is the rule of the next; a database made before the rules
    // gets them, off, and a guard that reads them.
    ServerDatabase server;
    REQUIRE_SERVER(server);
    {
        auto db = OpenDatabase(server.address());
        QCOMPARE(DepartureDayCases(*db), ExpectedDepartureDayCases());
        SetDepartureDayFree(*db, true);
    }
    auto other = OpenDatabase(server.address());
    QVERIFY(DepartureDayFree(*other));
    other->run(QStringLiteral("DROP TABLE houserules"));
    other->run(QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_guard_dates() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$ BEGIN RAISE EXCEPTION 'an earlier guard'; END $$"));
    // Nor the stays index by room: given again, filled from the links.
    QVector<RecordId> rooms;
    for (RecordId id = 1; id <= 40; ++id)
        rooms << id;
    const QString week = CalendarWeekSql(QDate(2000, 1, 1), rooms, Engine::PostgreSQL, 20000);
    const auto stays = [&week](Database &db) {
        QStringList rows;
        for (Recordset rs = db.query(week.chopped(1)); !rs.eof(); rs.moveNext())
            rows << rs.text(0) + QLatin1Char(':') + rs.text(3);
        return rows;
    };
    const QStringList before = stays(*other);
    QVERIFY(!before.isEmpty());
    other->run(QStringLiteral("DROP TABLE room_stay"));
    other.reset();
    auto upgraded = OpenDatabase(server.address());
    QCOMPARE(stays(*upgraded), before);
    QCOMPARE(DepartureDayFree(*upgraded), false);
    QCOMPARE(failureOf(*upgraded, QStringLiteral("UPDATE booking SET todate = #1/1/2041# WHERE id = 2")),
             QStringLiteral("(no failure)"));
}

void TestServer::channelFeedsAsTheGuardJudges()
{
    // A channel's feed stored, moved and emptied on the server, as on a
    // file; and the bookings of a feed of 1,000 events stored at one desk
    // are seen, found and guarded at the next.
    ServerDatabase server;
    REQUIRE_SERVER(server);
    auto db = OpenDatabase(server.address());
    QCOMPARE(ChannelStoreCases(*db), ExpectedChannelStoreCases());
    db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Busy')"));
    const RecordId room = db->execute(QStringLiteral("SELECT max(id) FROM room")).value(0).toLongLong();
    db->execute(QStringLiteral("INSERT INTO channelfeed (roomid, Channel, Address) VALUES (%1, 'Stayly', 'x')").arg(room));
    const RecordId feed = db->execute(QStringLiteral("SELECT max(id) FROM channelfeed")).value(0).toLongLong();
    QVector<FeedEvent> events;
    for (int i = 0; i < 1000; ++i)
        events << FeedEvent{QStringLiteral("%1@stayly").arg(i), QDate(2050, 1, 1).addDays(2 * i),
                            QDate(2050, 1, 1).addDays(2 * i + 1), QStringLiteral("Reserved")};
    QCOMPARE(StoreFeedEvents(*db, feed, events).added, 1000);
    auto next = OpenDatabase(server.address());
    QCOMPARE(next->execute(QStringLiteral("SELECT count(*) FROM bookingroom WHERE roomid = %1").arg(room)).value(0).toInt(), 1000);
    QCOMPARE(FindBookings(*next, QStringLiteral("Stayly"), 5000).bookings.size(), 1000);
    QVERIFY(!IsRoomAvailable(*next, 0, room, QDate(2050, 1, 1), QDate(2050, 1, 2)));
    QVERIFY(StoredClashes(*next).isEmpty());

    // Moved to a file, the feeds and what they made come along: fetched
    // again there, nothing is new.
    SaveChannelSetup(*next, [&] {
        ChannelSetup setup = ReadChannelSetup(*next);
        setup.settings.folder = QStringLiteral("/srv/feeds");
        return setup;
    }());
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("copy.mdb"));
    CreateDatabase(file);
    auto copy = OpenDatabase(file);
    CopyHouse(*next, *copy);
    QCOMPARE(ReadChannelSettings(*copy).folder, QStringLiteral("/srv/feeds"));
    QCOMPARE(rowsOf(*copy, QStringLiteral("SELECT feedid, uid, bookingid FROM channelbooking ORDER BY bookingid")),
             rowsOf(*next, QStringLiteral("SELECT feedid, uid, bookingid FROM channelbooking ORDER BY bookingid")));
    QCOMPARE(StoreFeedEvents(*copy, feed, events).unchanged, 1000);
}

void TestServer::everyDialogAndTheHouseTermsOnAServer()
{
    // Two desks on one server price alike: the first desk's terms become
    // the house's; the Regional Settings, Rooms and Channels dialogs work on
    // the server as on a file, through the real window.
    ServerDatabase server;
    REQUIRE_SERVER(server);
    {
        auto db = OpenDatabase(server.address());
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Garden')"));
    }
    ProgramRun first;
    first.databaseGiven = server.address();
    first.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("17.5"));
    first.settings->WriteSetting(QStringLiteral("CurrencySymbol"), QString::fromUtf8("£"));
    QCOMPARE(first.run(), 0);
    QVERIFY(!first.roomsDialogSeen());  // a first start in a house that has rooms
    QCOMPARE(first.main()->terms()->SalesTaxPercent(), 17.5);

    ProgramRun second;  // another desk, settings of its own (the defaults)
    second.notFirst();
    second.databaseGiven = server.address();
    QCOMPARE(second.run(), 0);
    QCOMPARE(second.main()->terms()->SalesTaxPercent(), 17.5);
    QCOMPARE(second.main()->terms()->CurrencySymbol(), QString::fromUtf8("£"));

    // Regional Settings at the second desk: stored for the house.
    auto regional = whenModal<frmTerminology>([](frmTerminology *d) {
        typeInto(child<QLineEdit>(d, "txtSalesTax"), QStringLiteral("7.25"));
        typeInto(child<QLineEdit>(d, "txtCurrencySymbol"), QString::fromUtf8("€"));
        QTest::mouseClick(child(d, "cmdOk"), Qt::LeftButton);
    });
    second.main()->findChild<QAction *>(QStringLiteral("mnuConfigureTerminology"))->trigger();
    QVERIFY(regional->seen);
    QVERIFY2(second.ui.messages.isEmpty(), qPrintable(second.ui.messages.value(0).text));
    auto db = OpenDatabase(server.address());
    QCOMPARE(ReadHouseTerms(*db)->salesTaxPercentage, QStringLiteral("7.25"));
    QCOMPARE(ReadHouseTerms(*db)->currencySymbol, QString::fromUtf8("€"));
    ProgramRun third;
    third.notFirst();
    third.databaseGiven = server.address();
    QCOMPARE(third.run(), 0);
    QCOMPARE(third.main()->terms()->SalesTaxPercent(), 7.25);

    // Rooms: a name another room has is refused; a new one is stored.
    auto rooms = whenModal<frmConfigRooms>([](frmConfigRooms *d) {
        typeInto(child<QLineEdit>(d, "txtName"), QStringLiteral(" garden"));
        QTest::mouseClick(child(d, "cmdAdd"), Qt::LeftButton);
        typeInto(child<QLineEdit>(d, "txtName"), QStringLiteral("Attic"));
        QTest::mouseClick(child(d, "cmdAdd"), Qt::LeftButton);
        QTest::mouseClick(child(d, "cmdOk"), Qt::LeftButton);
    });
    second.main()->findChild<QAction *>(QStringLiteral("mnuConfigureRooms"))->trigger();
    QVERIFY(rooms->seen);
    QCOMPARE(second.ui.messages.size(), 1);
    QVERIFY(second.ui.messages.takeFirst().text.contains(QLatin1String("\"Garden\"")));
    QCOMPARE(db->execute(QStringLiteral("SELECT count(*) FROM room WHERE name = 'Attic'")).value(0).toInt(), 1);

    // Channels: a feed added to a room is stored.
    auto channels = whenModal<frmChannels>([](frmChannels *d) {
        QTest::mouseClick(child(d, "cmdAddFeed"), Qt::LeftButton);
        auto *feeds = child<QTableWidget>(d, "tblFeeds");
        feeds->item(0, 0)->setText(QStringLiteral("Stayly"));
        feeds->item(0, 1)->setText(QStringLiteral("http://127.0.0.1:9/garden.ics"));
        QTest::mouseClick(child(d, "cmdOk"), Qt::LeftButton);
    });
    second.main()->findChild<QAction *>(QStringLiteral("mnuConfigureChannels"))->trigger();
    QVERIFY(channels->seen);
    QVERIFY2(second.ui.messages.isEmpty(), qPrintable(second.ui.messages.value(0).text));
    QCOMPARE(db->execute(QStringLiteral("SELECT Channel FROM channelfeed")).text(0), QStringLiteral("Stayly"));
}

void TestServer::storedTextsAreAlikeOnBothEngines()
{
    // Control characters typed or pasted are dropped the same way on both
    // engines (line breaks kept in notes only), a leading byte order mark
    // too; a booking written without dates is stored on both.
    ServerDatabase server;
    REQUIRE_SERVER(server);
    TempDatabase file;
    auto serverDb = OpenDatabase(server.address());
    QStringList stored[2];
    for (Database *db : {&file.db(), serverDb.get()}) {
        const RecordId id = CreateBooking(*db, QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        CustomerDetails customer;
        customer[0] = QString::fromUtf8("\xEF\xBB\xBFZo\xC3\xAB");
        customer[1] = QStringLiteral("O'Ha") + QChar(0) + QStringLiteral("ra\t\x1b[31m");
        customer[6] = QStringLiteral("AB1\r\n2CD");
        SaveCustomerStep(*db, id, QStringLiteral("2"), QStringLiteral("0"), customer);
        SaveNotes(*db, id, QStringLiteral("Late\r\narrival") + QChar(0) + QStringLiteral("\x07"));
        db->execute(QStringLiteral("INSERT INTO booking (BookedBy) VALUES ('no dates')"));
        Recordset rs = db->execute(QStringLiteral("SELECT c.FirstName, c.LastName, c.PostCode, b.Notes FROM booking AS b "
                                                  "JOIN customer AS c ON c.ID = b.CustomerID WHERE b.ID = %1").arg(id));
        for (int i = 0; i < 4; ++i)
            stored[db == serverDb.get()] << rs.text(i);
        stored[db == serverDb.get()] << db->execute(QStringLiteral("SELECT count(*) FROM booking WHERE FromDate IS NULL"))
                                              .text(0);
    }
    QCOMPARE(stored[1], stored[0]);
    QCOMPARE(stored[0], (QStringList{QString::fromUtf8("Zoë"), QStringLiteral("O'Hara[31m"), QStringLiteral("AB1 2CD"),
                                     QStringLiteral("Late\r\narrival"), QStringLiteral("1")}));

    // A NUL an earlier version stored in a file does not stop the house's
    // copy to a server (which cannot hold one).
    TempDatabase old;
    old.db().run(QStringLiteral("INSERT INTO customer (FirstName) VALUES ('A' || char(0) || 'B')"));
    ServerDatabase empty;
    REQUIRE_SERVER(empty);
    auto target = OpenDatabase(empty.address());
    CopyHouse(old.db(), *target);
    QCOMPARE(target->execute(QStringLiteral("SELECT FirstName FROM customer")).text(0), QStringLiteral("AB"));
}

#include "tst_server.moc"
