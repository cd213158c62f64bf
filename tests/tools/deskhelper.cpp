// A second desk for the tests, in a process of its own:
//   deskhelper write DATABASE        saves bookings step by step through the
//                                    program's own code, forever, telling
//                                    "done BOOKING STEP" after each step;
//   deskhelper hold DATABASE SECONDS takes the write lock and keeps it;
//   deskhelper book DATABASE ROOM DAY
//                                    books the room from DAY (yyyy-MM-dd) for
//                                    two nights;
//   deskhelper race DATABASE TRIALS  for each trial T, books room 1 + T % 3
//                                    for two nights from 1 March 2031 + 4T
//                                    days, as the other racers do: even
//                                    trials through the rooms step, odd ones
//                                    by a plain insert that only the engine's
//                                    guard stands against; tells "won T" or
//                                    "lost T MESSAGE";
//   deskhelper erase DATABASE BOOKING
//                                    erases the guest of the booking from all
//                                    of their bookings, telling "erasing N"
//                                    first and "erased" when it is done.
#include "booking/guestdata.h"
#include "mail/outbox.h"
#include "data/schema/schema.h"
#include "data/sql/database.h"
#include "data/regional/regional.h"
#include "booking/bookingstore.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace innkeld;

// The day and the room of the writer's booking of a key (the tests know them).
QDate DeskDay(RecordId id)
{
    return QDate(2030, 1, 1).addDays(4 * id);
}

RecordId DeskRoom(RecordId id, RecordId rooms)
{
    return 1 + id % rooms;
}

namespace {

// What the writer saves for a booking: every value follows from its id, so
// that a test can tell a whole step from a partial one.
void writeForever(Database &db)
{
    const RecordId rooms = db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toLongLong();
    for (;;) {
        // Keys only grow, so each booking's stay has days of its own.
        const RecordId next = db.execute(QStringLiteral("SELECT coalesce(max(seq), 0) + 1 FROM sqlite_sequence "
                                                        "WHERE name = 'booking'"))
                                  .value(0).toLongLong();
        const QDate day = DeskDay(next);
        const RecordId id = CreateBooking(db, WallClock(day, QTime(12, 0)));
        if (id != next)
            throw DbError(QStringLiteral("another writer"));
        std::printf("done %lld 9\n", static_cast<long long>(id));
        std::fflush(stdout);
        SaveDatesStep(db, id, QStringLiteral("Desk %1").arg(id), WallClock(day, QTime(12, 0)),
                      WallClock(day.addDays(2), QTime(12, 0)));
        std::printf("done %lld 0\n", static_cast<long long>(id));
        std::fflush(stdout);
        SaveRoomsStep(db, id, {DeskRoom(id, rooms)});
        std::printf("done %lld 1\n", static_cast<long long>(id));
        std::fflush(stdout);
        CustomerDetails c;
        for (size_t i = 0; i < c.size(); ++i)
            c[i] = QStringLiteral("C%1-%2").arg(id).arg(i);
        SaveCustomerStep(db, id, QString::number(id % 5 + 1), QString::number(id % 3), c);
        std::printf("done %lld 2\n", static_cast<long long>(id));
        std::fflush(stdout);
        const QString amount = FormatMoney(double(id % 100) + 0.5);
        SavePaymentStep(db, id, PaymentDetails{amount, QStringLiteral("M%1").arg(id), amount, amount, amount, amount,
                                               QStringLiteral("N%1").arg(id), QStringLiteral("E%1").arg(id),
                                               QStringLiteral("T%1").arg(id)});
        std::printf("done %lld 3\n", static_cast<long long>(id));
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return 2;
    try {
        auto db = OpenDatabase(args.at(1));
        if (args.at(0) == QLatin1String("write")) {
            writeForever(*db);
        } else if (args.at(0) == QLatin1String("hold") && args.size() == 3) {
            Database::Transaction tx(*db);
            std::printf("held\n");
            std::fflush(stdout);
            QThread::sleep(args.at(2).toULong());
        } else if (args.at(0) == QLatin1String("race") && args.size() == 3) {
            for (int t = 0; t < args.at(2).toInt(); ++t) {
                const QDate day = QDate(2031, 3, 1).addDays(4 * t);
                const RecordId room = 1 + t % 3;
                const RecordId id = CreateBooking(*db, WallClock(day, QTime(9, 0)));
                SaveDatesStep(*db, id, QStringLiteral("Racer"), WallClock(day, QTime(14, 0)),
                              WallClock(day.addDays(2), QTime(10, 0)));
                try {
                    if (t % 2 == 0)
                        SaveRoomsStep(*db, id, {room});
                    else
                        db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)")
                                        .arg(id)
                                        .arg(room));
                    std::printf("won %d\n", t);
                } catch (const DbError &e) {
                    std::printf("lost %d %s\n", t, qPrintable(e.message()));
                }
                std::fflush(stdout);
            }
        } else if (args.at(0) == QLatin1String("book") && args.size() == 4) {
            const QDate day = QDate::fromString(args.at(3), QStringLiteral("yyyy-MM-dd"));
            const RecordId id = CreateBooking(*db, WallClock(day, QTime(9, 0)));
            SaveDatesStep(*db, id, QStringLiteral("Other desk"), WallClock(day, QTime(9, 0)),
                          WallClock(day.addDays(2), QTime(9, 0)));
            SaveRoomsStep(*db, id, {args.at(2).toLongLong()});
            std::printf("booked %lld\n", static_cast<long long>(id));
        } else if (args.at(0) == QLatin1String("erase") && args.size() == 3) {
            const QVector<RecordId> bookings = BookingsOfGuest(*db, args.at(2).toLongLong());
            std::printf("erasing %lld\n", static_cast<long long>(bookings.size()));
            std::fflush(stdout);
            EraseGuest(*db, bookings, QDate::currentDate());
            std::printf("erased\n");
        } else if (args.at(0) == QLatin1String("mail") && args.size() == 5) {
            // The outbox sent at a given time, trusting the test's certificate.
            MailServer server = ReadMailServer(*db);
            server.extraCertificates = args.at(2);
            server.deadlineSeconds = 600;
            std::printf("sending\n");
            std::fflush(stdout);
            const OutboxRun run = SendDueMail(*db, args.at(3), QDateTime::fromString(args.at(4), Qt::ISODate),
                                              QStringLiteral("helper"), nullptr, &server);
            std::printf("sent %d\n", run.sent);
        } else {
            return 2;
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
