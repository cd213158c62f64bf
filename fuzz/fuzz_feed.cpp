// Fuzz target: a channel's feed read by libical (ParseFeed) and stored
// (StoreFeedEvents) into a room that a desk's stay holds. Its promises:
// nothing crashes; a feed taken has only events with a UID, once each, and
// an arrival before the departure, in years of four digits; a feed refused
// has no events and says why; each event taken is stored once or listed as
// a clash, and nothing is stored twice for a room; stored again, nothing
// changes; emptied, the feed leaves only the desk's.
#include "channels/channelfeeds.h"
#include "data/copies/backup.h"
#include "data/schema/schema.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace innkeld;

namespace {

[[noreturn]] void broken(const char *promise)
{
    std::fprintf(stderr, "promise broken: %s\n", promise);
    std::abort();
}

// One house for every input: a room, a desk's stay in it and a feed.
struct House
{
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    RecordId feed = 0;
    House()
    {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("db.mdb"));
        CreateDatabase(path);
        db = OpenDatabase(path);
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Sea')"));
        db->execute(QStringLiteral("INSERT INTO booking (CustomerID, FromDate, ToDate) VALUES (0, #1/10/2027 14:00:00#, "
                                   "#1/12/2027 10:00:00#)"));
        db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (1, 1)"));
        db->execute(QStringLiteral("INSERT INTO channelfeed (roomid, Channel, Address) VALUES (1, 'Fuzz', 'x')"));
        feed = db->execute(QStringLiteral("SELECT max(id) FROM channelfeed")).value(0).toLongLong();
    }
};

int countOf(Database &db, const char *sql)
{
    return db.execute(QLatin1String(sql)).value(0).toInt();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ParsedFeed feed = ParseFeed(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    if (!feed.ok()) {
        if (!feed.events.isEmpty())
            broken("a feed refused has no events");
        return 0;
    }
    QSet<QString> uids;
    for (const FeedEvent &e : feed.events) {
        if (e.uid.isEmpty() || uids.contains(e.uid))
            broken("each event has its own UID");
        uids.insert(e.uid);
        if (!e.from.isValid() || !e.to.isValid() || e.to <= e.from)
            broken("an event arrives before it departs");
        if (e.from.year() < 1000 || e.to.year() > 9999)
            broken("an event's days are days of four-digit years");
    }
    // Dates the engine cannot hold are the engine's to refuse (a DbError).
    static House house;
    Database &db = *house.db;
    try {
        const FeedOutcome stored = StoreFeedEvents(db, house.feed, feed.events);
        if (stored.added + stored.clashes.size() != feed.events.size() || stored.moved + stored.removed + stored.unchanged != 0)
            broken("each event is stored once or listed as a clash");
        if (countOf(db, "SELECT count(*) FROM channelbooking") != stored.added || !StoredClashes(db).isEmpty())
            broken("nothing is stored twice for a room");
        const FeedOutcome again = StoreFeedEvents(db, house.feed, feed.events);
        if (again.unchanged != stored.added || again.added + again.moved + again.removed != 0)
            broken("stored again, nothing changes");
    } catch (const DbError &) {
    }
    StoreFeedEvents(db, house.feed, {});
    // Emptied, the feed's bookings are kept, cancelled (or left as they
    // were when their stay has ended): only the desk's holds a room still
    // to come.
    const QString today = QDate::currentDate().toString(QStringLiteral("M/d/yyyy"));
    if (countOf(db, "SELECT count(*) FROM channelbooking") != 0
        || db.execute(QStringLiteral("SELECT count(*) FROM bookingroom AS l JOIN booking AS b ON b.ID = l.bookingid "
                                     "WHERE b.ID <> 1 AND b.ToDate >= #%1#")
                          .arg(today))
                   .value(0)
                   .toInt()
            != 0
        || countOf(db, "SELECT count(*) FROM booking WHERE ID = 1") != 1)
        broken("emptied, the feed leaves only the desk's");
    return 0;
}
