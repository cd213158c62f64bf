// The rooms' calendars shared with booking channels, without a window: the
// feeds the house writes read back as its stays; a channel's feed stored,
// fetched again with an event moved, one cancelled and one clashing; feeds
// that are not iCalendar, cut short or in other time zones.
#include "channels/channelfeeds.h"
#include "data/schema/bookingtables.h"
#include "data/schema/houserules.h"
#include "data/regional/regional.h"
#include "data/schema/schema.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

class TestChannels : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void feedsOfTheSharedRooms();
    void channelFeedStoredAndFetchedAgain();
    void storedAsTheGuardJudges();
};

namespace {

QByteArray feed(const QStringList &events)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Channel//Test//EN\r\n";
    for (const QString &e : events)
        text += "BEGIN:VEVENT\r\n" + e.toUtf8() + "\r\nEND:VEVENT\r\n";
    return text + "END:VCALENDAR\r\n";
}

QString vevent(const char *uid, const char *from, const char *to, const char *summary = "Reserved")
{
    return QStringLiteral("UID:%1\r\nDTSTAMP:20261201T100000Z\r\nDTSTART;VALUE=DATE:%2\r\nDTEND;VALUE=DATE:%3\r\nSUMMARY:%4")
        .arg(QLatin1String(uid), QLatin1String(from), QLatin1String(to), QLatin1String(summary));
}

}  // namespace

void TestChannels::feedsOfTheSharedRooms()
{
    TempDatabase t;
    const QDate today(2026, 12, 7);
    const RecordId sea = t.addRoom(QStringLiteral("Sea View")), odd = t.addRoom(QStringLiteral("CON")),
                   slash = t.addRoom(QStringLiteral("Loft/2: *top*")), hidden = t.addRoom(QStringLiteral("Garden"));
    const RecordId past = t.addGuest(WallClock(QDate(2026, 11, 1), QTime(14, 0)), WallClock(QDate(2026, 11, 3), QTime(10, 0)),
                                     QStringLiteral("Old"), QStringLiteral("Guest"), {sea});
    const RecordId stay = t.addGuest(WallClock(QDate(2026, 12, 20), QTime(14, 0)), WallClock(QDate(2026, 12, 23), QTime(10, 0)),
                                     QStringLiteral("Anna"), QStringLiteral("Secret"), {sea, slash});
    t.addGuest(WallClock(QDate(2026, 12, 6), QTime(14, 0)), WallClock(QDate(2026, 12, 8), QTime(10, 0)),
               QStringLiteral("Bo"), QStringLiteral("Hidden"), {hidden});
    for (RecordId room : {sea, odd, slash})
        t.run(QStringLiteral("INSERT INTO channelroom (roomid, Shared) VALUES (%1, 1)").arg(room));
    QTemporaryDir folder;
    const QDateTime stamp(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
    const QStringList written = WriteRoomFeeds(t.db(), folder.filePath(QStringLiteral("feeds")), today, stamp);
    QStringList names;
    for (const QString &file : written)
        names << QFileInfo(file).fileName();
    QCOMPARE(names, (QStringList{QStringLiteral("Sea View.ics"), QStringLiteral("room-%1-CON.ics").arg(odd),
                                 QStringLiteral("Loft_2_ _top_.ics")}));
    QFile file(written.first());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(!text.contains("Anna") && !text.contains("Secret"));  // no guest data leaves the house
    QVERIFY(text.contains("UID:" + QByteArray::number(stay) + "-" + QByteArray::number(sea) + "@innkeld"));
    // Written again with no stay changed, the files are left as they were;
    // a stay moved writes the feeds of its rooms again.
    const auto contents = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QDateTime later = stamp.addSecs(3600);
    QCOMPARE(WriteRoomFeeds(t.db(), folder.filePath(QStringLiteral("feeds")), today, later), written);
    QCOMPARE(contents(written.first()), text);
    t.run(QStringLiteral("UPDATE booking SET FromDate = '2026-12-21 14:00:00' WHERE id = %1").arg(stay));
    WriteRoomFeeds(t.db(), folder.filePath(QStringLiteral("feeds")), today, later);
    QVERIFY(contents(written.first()).contains("DTSTART;VALUE=DATE:20261221"));
    QVERIFY(contents(written.last()).contains("DTSTAMP:20261207T100000Z"));
    t.run(QStringLiteral("UPDATE booking SET FromDate = '2026-12-20 14:00:00' WHERE id = %1").arg(stay));
    // Read back: the stays not ended, the room booked to the day after the
    // departure; with rooms free from the day the guest leaves, to it.
    ParsedFeed back = ParseFeed(text);
    QVERIFY2(back.ok(), qPrintable(back.problem));
    QCOMPARE(back.events.size(), 1);
    QCOMPARE(back.events.first().from, QDate(2026, 12, 20));
    QCOMPARE(back.events.first().to, QDate(2026, 12, 24));
    QCOMPARE(back.events.first().summary, QStringLiteral("Booked"));
    Q_UNUSED(past);
    SetDepartureDayFree(t.db(), true);
    QCOMPARE(ParseFeed(RoomFeed(t.db(), sea, today, stamp)).events.first().to, QDate(2026, 12, 23));
    // The same stays give the same feed.
    QCOMPARE(RoomFeed(t.db(), slash, today, stamp), RoomFeed(t.db(), slash, today, stamp));
    // The tool writes the same files.
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"),
               {QStringLiteral("--export-ics"), t.path(), folder.filePath(QStringLiteral("tool"))});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(QDir(folder.filePath(QStringLiteral("tool"))).entryList(QDir::Files).size(), 3);
}

void TestChannels::channelFeedStoredAndFetchedAgain()
{
    TimeZoneScope zone("Europe/Berlin");
    TempDatabase t;
    const RecordId sea = t.addRoom(QStringLiteral("Sea View"));
    t.run(QStringLiteral("INSERT INTO channelfeed (roomid, Channel, Address) VALUES (%1, 'Bookit', 'x')").arg(sea));
    const RecordId feedId = t.run(QStringLiteral("SELECT max(id) FROM channelfeed")).value(0).toLongLong();
    const RecordId desk = t.addGuest(WallClock(QDate(2027, 1, 10), QTime(14, 0)), WallClock(QDate(2027, 1, 12), QTime(10, 0)),
                                     QStringLiteral("Desk"), QStringLiteral("Guest"), {sea});

    // Two events, one in another zone (23:30 UTC on the 4th is the 5th in
    // Berlin), one clashing with the desk's stay.
    const QByteArray first = feed({vevent("a@ch", "20270101", "20270103", "Smith"),
                                   QStringLiteral("UID:b@ch\r\nDTSTAMP:20261201T100000Z\r\nDTSTART:20270104T233000Z\r\n"
                                                  "DTEND:20270107T090000Z\r\nSUMMARY:Jones"),
                                   vevent("c@ch", "20270111", "20270113", "Clash")});
    ParsedFeed parsed = ParseFeed(first);
    QVERIFY2(parsed.ok(), qPrintable(parsed.problem));
    QCOMPARE(parsed.zoned, 1);
    QCOMPARE(parsed.events.at(1).from, QDate(2027, 1, 5));
    FeedOutcome outcome = StoreFeedEvents(t.db(), feedId, parsed.events);
    QCOMPARE(outcome.added, 2);
    QCOMPARE(outcome.clashes.size(), 1);
    QVERIFY2(outcome.clashes.first().startsWith(QStringLiteral("Room Sea View, 1/11/2027 to 1/13/2027, Bookit: booking %1 (Desk Guest)")
                                                    .arg(desk)),
             qPrintable(outcome.clashes.first()));
    QCOMPARE(t.count(QStringLiteral("booking")), 3);
    QCOMPARE(t.run(QStringLiteral("SELECT c.LastName, b.Notes FROM booking AS b JOIN customer AS c ON c.ID = b.CustomerID "
                                  "JOIN channelbooking AS x ON x.bookingid = b.ID WHERE x.uid = 'a@ch'"))
                 .text(0),
             QStringLiteral("Bookit"));

    // Fetched again: the same events change nothing; one moved, one gone.
    QCOMPARE(StoreFeedEvents(t.db(), feedId, parsed.events).unchanged, 2);
    parsed = ParseFeed(feed({vevent("a@ch", "20270102", "20270104", "Smith")}));
    outcome = StoreFeedEvents(t.db(), feedId, parsed.events);
    QCOMPARE(outcome.moved, 1);
    QCOMPARE(outcome.removed, 1);
    // The one gone is kept, cancelled on the channel: its room is free.
    QCOMPARE(t.count(QStringLiteral("booking")), 3);
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM booking WHERE Status = 'cancelled'")).value(0).toInt(), 1);
    QCOMPARE(t.count(QStringLiteral("channelbooking")), 1);
    QCOMPARE(DayOf(t.run(QStringLiteral("SELECT FromDate FROM booking AS b JOIN channelbooking AS x ON x.bookingid = b.ID"))
                       .value(0)),
             QDate(2027, 1, 2));
    // An empty feed cancels the channel's bookings, never the desk's.
    QCOMPARE(StoreFeedEvents(t.db(), feedId, ParseFeed(feed({})).events).removed, 1);
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM booking WHERE Status = 'cancelled'")).value(0).toInt(), 2);
    QCOMPARE(t.run(QStringLiteral("SELECT Status FROM booking WHERE ID = %1").arg(desk)).text(0), QStringLiteral("booked"));
    QVERIFY(BookingExists(t.db(), desk));

    // Feeds that are not to be used, each said for what it is.
    QByteArray withNul = first;
    withNul.replace("SUMMARY:Smith", QByteArray("SUMMARY:Sm\0ith", 14));
    QByteArray many = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int i = 0; i <= kMostFeedEvents; ++i)
        many += "BEGIN:VEVENT\r\nEND:VEVENT\r\n";
    many += "END:VCALENDAR\r\n";
    const std::pair<QByteArray, QString> bad[] = {
        {QByteArray("<!DOCTYPE html><html><body>502 Bad Gateway</body></html>"), QStringLiteral("This is not an iCalendar feed.")},
        {QByteArray(), QStringLiteral("The feed is empty.")},
        {first.left(first.size() / 2), QStringLiteral("The feed is cut short: it has no END:VCALENDAR")},
        {withNul, QStringLiteral("The feed holds a NUL character (at byte %1)").arg(withNul.indexOf('\0'))},
        {many, QStringLiteral("The feed holds %1 events, more than a room's feed can (%2).").arg(kMostFeedEvents + 1).arg(kMostFeedEvents)},
        {feed({QStringLiteral("DTSTART;VALUE=DATE:20270101\r\nDTEND;VALUE=DATE:20270102")}),
         QStringLiteral("An event of the feed has no UID")},
    };
    for (const auto &[data, said] : bad)
        QVERIFY2(ParseFeed(data).problem.startsWith(said), qPrintable(ParseFeed(data).problem));

    // Events left out are said, on one line: a UID given twice keeps its
    // first; a repeating event is never stored as its first stay.
    parsed = ParseFeed(feed({vevent("a@ch", "20270101", "20270103", "Smith"), vevent("a@ch", "20270201", "20270203", "Smith"),
                             vevent("r@ch", "20270301", "20270302", "Weekly") + QStringLiteral("\r\nRRULE:FREQ=WEEKLY;COUNT=2000000000")}));
    QVERIFY(parsed.ok());
    QCOMPARE(parsed.events.size(), 1);
    QCOMPARE(parsed.notes, QStringLiteral("  Not stored: event a@ch is given twice, its second (2027-02-01 to 2027-02-03) "
                                          "left out; event r@ch repeats (RRULE or RDATE), and a booking is one stay."));
}

void TestChannels::storedAsTheGuardJudges()
{
    // New, moved and gone events stored together where they touch nothing
    // and one at a time where they do, under both rules (the server runs
    // the same cases).
    TempDatabase t;
    const QStringList lines = ChannelStoreCases(t.db());
    if (lines != ExpectedChannelStoreCases())
        qWarning().noquote() << lines.join(QLatin1Char('\n'));
    QCOMPARE(lines, ExpectedChannelStoreCases());

    // No link to a room, booking or feed that is not there, also in a file
    // whose channels' tables were made before their links were guarded.
    for (int i = 0; i < 6; ++i)
        t.run(QStringLiteral("DROP TRIGGER IF EXISTS %1")
                  .arg(QStringList{"channel_room_link", "channel_room_relink", "channel_feed_link", "channel_feed_relink",
                                   "channel_booking_link", "channel_booking_relink"}
                           .at(i)));
    auto db = OpenDatabase(t.path());
    const auto refused = [&](const QString &sql) {
        try {
            db->execute(sql);
        } catch (const DbError &e) {
            return e.message();
        }
        return QStringLiteral("(stored)");
    };
    QCOMPARE(refused(QStringLiteral("INSERT INTO channelroom (roomid, Shared) VALUES (999, 1)")),
             QStringLiteral("There is no room 999 in the house."));
    QCOMPARE(refused(QStringLiteral("INSERT INTO channelfeed (roomid, Channel, Address) VALUES (999, 'A', 'x')")),
             QStringLiteral("There is no room 999 in the house."));
    QCOMPARE(refused(QStringLiteral("INSERT INTO channelbooking (bookingid, feedid, uid) VALUES (999, 1, 'u')")),
             QStringLiteral("There is no booking 999."));
    QCOMPARE(refused(QStringLiteral("INSERT INTO channelbooking (bookingid, feedid, uid) VALUES (1, 999, 'u')")),
             QStringLiteral("There is no channel feed 999."));
}

QTEST_GUILESS_MAIN(TestChannels)
#include "tst_channels.moc"
