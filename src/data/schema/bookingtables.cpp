#include "bookingtables.h"

#include "houserules.h"

#include <QCoreApplication>

#include <algorithm>

namespace innkeld {

namespace {

// Every write that can touch a room's stays takes this lock first, for the
// rest of its transaction: the guard's check and the write it allows are
// one step for every desk, as SQLite's write lock makes them.
constexpr qint64 kStaysLock = 0x496E6B6C;  // "Inkl"

QString dateCheck(const char *column)
{
    return QStringLiteral("CHECK (%1 IS NULL OR (typeof(%1) = 'text' AND datetime(%1) = %1))")
        .arg(QLatin1String(column));
}

QString numberCheck(const char *column)
{
    return QStringLiteral("CHECK (typeof(%1) IN ('integer', 'real'))").arg(QLatin1String(column));
}

QString integerCheck(const char *column)
{
    return QStringLiteral("CHECK (typeof(%1) = 'integer')").arg(QLatin1String(column));
}

// The indexes that keep every action's time independent of the years of
// history: links by booking and by room, stays by arrival, departure and
// customer.
QStringList indexStatements()
{
    return {
        QStringLiteral("CREATE INDEX IF NOT EXISTS bookingroom_bookingid ON bookingroom (bookingid)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS bookingroom_roomid ON bookingroom (roomid)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_fromdate ON booking (FromDate)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_todate ON booking (ToDate)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_customerid ON booking (CustomerID)"),
    };
}

// Indexes an earlier version made, which no statement reads since clashes
// are found through the stays index (the stays' lengths, the stays stored
// ending before they start): each write of a booking kept them for nothing.
const QStringList &unreadIndexes()
{
    static const QStringList names{QStringLiteral("booking_length"), QStringLiteral("booking_inverted")};
    return names;
}

QString dayNumber(const QString &date)
{
    return DayNumberSql(Engine::SQLite, date);
}

// The same, when an index is filled from every booking (a chain's twenty
// years: 2 s less to fill the stays by room).
QString filledDayNumber(const QString &date)
{
    return ManyDayNumbersSql(Engine::SQLite, date);
}

QString clashExists(const QString &booking, const QString &room, const QString &from, const QString &to)
{
    return ClashExistsSql(Engine::SQLite, booking, room, from, to);
}

QString stayRow(const QString &row)
{
    return QStringLiteral("SELECT %1.ID, min(%2, %3), max(%2, %3) WHERE %1.FromDate IS NOT NULL AND %1.ToDate IS NOT NULL")
        .arg(row, dayNumber(row + QStringLiteral(".FromDate")), dayNumber(row + QStringLiteral(".ToDate")));
}

const QString kStayTable = QStringLiteral("CREATE VIRTUAL TABLE %1booking_stay USING rtree_i32(id, firstday, lastday)");

// The stays index, kept in step with every write of a booking's dates, and
// the guard: no write, by any road, leaves a room held by two bookings whose
// stays clash, or a link to a room or booking that is not there. Deleting a
// booking or a room takes its links with it.
QStringList guardStatements()
{
    const QString refuseClash =
        QStringLiteral("SELECT innkeld_refuse('The room ' || r.name || ' is booked by another guest on these dates.') ");
    const QString linkChecks = QStringLiteral(
        "SELECT innkeld_refuse('There is no room ' || NEW.roomid || ' in the house.') "
        "WHERE NOT EXISTS (SELECT 1 FROM room WHERE id = NEW.roomid); "
        "SELECT innkeld_refuse('There is no booking ' || NEW.bookingid || '.') "
        "WHERE NOT EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid); ")
        + refuseClash
        + QStringLiteral("FROM booking AS b, room AS r WHERE b.ID = NEW.bookingid AND r.id = NEW.roomid AND ")
        + clashExists(QStringLiteral("b.ID"), QStringLiteral("NEW.roomid"), QStringLiteral("b.FromDate"),
                      QStringLiteral("b.ToDate"))
        + QStringLiteral("; ");
    return {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_stay_insert AFTER INSERT ON booking BEGIN "
                       "INSERT INTO booking_stay ")
            + stayRow(QStringLiteral("NEW")) + QStringLiteral("; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_stay_update AFTER UPDATE OF ID, FromDate, ToDate ON booking "
                       "BEGIN DELETE FROM booking_stay WHERE id = OLD.ID; INSERT INTO booking_stay ")
            + stayRow(QStringLiteral("NEW")) + QStringLiteral("; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_stay_delete AFTER DELETE ON booking BEGIN "
                       "DELETE FROM booking_stay WHERE id = OLD.ID; DELETE FROM bookingroom WHERE bookingid = OLD.ID; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS room_links_delete AFTER DELETE ON room BEGIN "
                       "DELETE FROM bookingroom WHERE roomid = OLD.id; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS bookingroom_guard_insert BEFORE INSERT ON bookingroom BEGIN ")
            + linkChecks + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS bookingroom_guard_update BEFORE UPDATE OF bookingid, roomid "
                       "ON bookingroom BEGIN ")
            + linkChecks + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_guard_dates BEFORE UPDATE OF FromDate, ToDate ON booking "
                       "BEGIN ")
            + refuseClash + QStringLiteral("FROM bookingroom AS l, room AS r WHERE l.bookingid = NEW.ID AND r.id = l.roomid AND ")
            + clashExists(QStringLiteral("NEW.ID"), QStringLiteral("l.roomid"), QStringLiteral("NEW.FromDate"),
                          QStringLiteral("NEW.ToDate"))
            + QStringLiteral("; END"),
    };
}

// The four tables in SQLite's terms.
QStringList fileTables()
{
    // Money is kept as a number with four decimals, counts as numbers, dates
    // as "yyyy-MM-dd HH:mm:ss" text, so that they compare as dates do.
    const QString money = QStringLiteral(" CURRENCY NOT NULL DEFAULT 0 ");
    const QString count = QStringLiteral(" DOUBLE NOT NULL DEFAULT 0 ");
    const QString text = QStringLiteral(" TEXT DEFAULT '', ");
    const QStringList tables{
        QStringLiteral("CREATE TABLE booking ("
                       "ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "CustomerID INTEGER NOT NULL DEFAULT 0 %1, "
                       "FromDate DATETIME %2, "
                       "ToDate DATETIME %3, ")
                .arg(integerCheck("CustomerID"), dateCheck("FromDate"), dateCheck("ToDate"))
            + QStringLiteral("BookedBy") + text + QStringLiteral("Notes TEXT, ")
            + QStringLiteral("NoAdults") + count + numberCheck("NoAdults") + QStringLiteral(", ")
            + QStringLiteral("NoKids") + count + numberCheck("NoKids") + QStringLiteral(", ")
            + QStringLiteral("CostPerNight") + money + numberCheck("CostPerNight") + QStringLiteral(", ")
            + QStringLiteral("PaymentMethod") + text
            + QStringLiteral("OtherCharges") + money + numberCheck("OtherCharges") + QStringLiteral(", ")
            + QStringLiteral("SalesTax") + money + numberCheck("SalesTax") + QStringLiteral(", ")
            + QStringLiteral("TotalPayable") + money + numberCheck("TotalPayable") + QStringLiteral(", ")
            + QStringLiteral("AmountPayed") + money + numberCheck("AmountPayed") + QStringLiteral(", ")
            + QStringLiteral("CreditCardNo") + text + QStringLiteral("CreditCardExpiry") + text
            + QStringLiteral("CreditCardType TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE customer (ID INTEGER PRIMARY KEY AUTOINCREMENT, ")
            + QStringLiteral("FirstName") + text + QStringLiteral("LastName") + text
            + QStringLiteral("Address1") + text + QStringLiteral("Address2") + text
            + QStringLiteral("City") + text + QStringLiteral("State") + text
            + QStringLiteral("PostCode") + text + QStringLiteral("Country") + text
            + QStringLiteral("Phone") + text + QStringLiteral("Email") + text
            + QStringLiteral("SubmittedDate DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')) ")
            + dateCheck("SubmittedDate") + QStringLiteral(", BusinessName TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE room (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE bookingroom (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "bookingid INTEGER NOT NULL DEFAULT 0 %1, roomid INTEGER NOT NULL DEFAULT 0 %2)")
            .arg(integerCheck("bookingid"), integerCheck("roomid")),
    };
    return tables;
}

QString dateColumn(const char *name)
{
    return QStringLiteral("%1 timestamp(0) without time zone CHECK (%1 BETWEEN '0001-01-01' AND '9999-12-31 23:59:59')")
        .arg(QLatin1String(name));
}

QString moneyColumn(const char *name)
{
    return QStringLiteral("%1 numeric(19,4) NOT NULL DEFAULT 0").arg(QLatin1String(name));
}

QString countColumn(const char *name)
{
    return QStringLiteral("%1 double precision NOT NULL DEFAULT 0").arg(QLatin1String(name));
}

QString textColumns(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QStringLiteral("%1 text DEFAULT ''").arg(QLatin1String(n));
    return out.join(QLatin1String(", "));
}

// The four tables in PostgreSQL's terms (the same columns and checks as in
// SQLite: wall-clock timestamps, numeric money, 64-bit identity keys), the
// indexes, the stays index and the guard.
QStringList serverStatements()
{
    const QString lock = QString::number(kStaysLock);
    // The end of both guards: a clash found is refused by the room's name.
    const QString refuseClash = QStringLiteral(
        "IF FOUND THEN RAISE EXCEPTION 'The room % is booked by another guest on these dates.', clash; "
        "END IF; RETURN NEW; END $$");
    return QStringList{
        QStringLiteral("CREATE TABLE booking (ID bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                       "CustomerID bigint NOT NULL DEFAULT 0, ")
            + dateColumn("FromDate") + QStringLiteral(", ") + dateColumn("ToDate") + QStringLiteral(", ")
            + textColumns({"BookedBy"}) + QStringLiteral(", Notes text, ") + countColumn("NoAdults")
            + QStringLiteral(", ") + countColumn("NoKids") + QStringLiteral(", ") + moneyColumn("CostPerNight")
            + QStringLiteral(", ") + textColumns({"PaymentMethod"}) + QStringLiteral(", ")
            + moneyColumn("OtherCharges") + QStringLiteral(", ") + moneyColumn("SalesTax") + QStringLiteral(", ")
            + moneyColumn("TotalPayable") + QStringLiteral(", ") + moneyColumn("AmountPayed") + QStringLiteral(", ")
            + textColumns({"CreditCardNo", "CreditCardExpiry", "CreditCardType"}) + QStringLiteral(")"),
        QStringLiteral("CREATE TABLE customer (ID bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, ")
            + textColumns({"FirstName", "LastName", "Address1", "Address2", "City", "State", "PostCode", "Country",
                           "Phone", "Email"})
            + QStringLiteral(", ") + dateColumn("SubmittedDate")
            + QStringLiteral(" DEFAULT date_trunc('second', localtimestamp), ") + textColumns({"BusinessName"})
            + QStringLiteral(")"),
        QStringLiteral("CREATE TABLE room (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, name text DEFAULT '')"),
        QStringLiteral("CREATE TABLE bookingroom (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                       "bookingid bigint NOT NULL DEFAULT 0 REFERENCES booking (ID) ON DELETE CASCADE ON UPDATE CASCADE, "
                       "roomid bigint NOT NULL DEFAULT 0 REFERENCES room (id) ON DELETE CASCADE ON UPDATE CASCADE)"),
        QStringLiteral("CREATE INDEX bookingroom_bookingid ON bookingroom (bookingid)"),
        QStringLiteral("CREATE INDEX bookingroom_roomid ON bookingroom (roomid)"),
        QStringLiteral("CREATE INDEX booking_fromdate ON booking (FromDate)"),
        QStringLiteral("CREATE INDEX booking_todate ON booking (ToDate)"),
        QStringLiteral("CREATE INDEX booking_customerid ON booking (CustomerID)"),
        // The stays index: a booking's first and last day (Julian day
        // numbers) and the range of them, searched through a GiST index.
        QStringLiteral("CREATE TABLE booking_stay (id bigint PRIMARY KEY REFERENCES booking (ID) ON DELETE CASCADE "
                       "ON UPDATE CASCADE, firstday integer NOT NULL, lastday integer NOT NULL, "
                       "days int4range GENERATED ALWAYS AS (int4range(firstday, lastday, '[]')) STORED)"),
        QStringLiteral("CREATE INDEX booking_stay_days ON booking_stay USING gist (days)"),
        QStringLiteral("CREATE FUNCTION innkeld_keep_stay() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF TG_OP = 'UPDATE' THEN DELETE FROM booking_stay WHERE id IN (OLD.ID, NEW.ID); END IF; "
                       "IF NEW.FromDate IS NOT NULL AND NEW.ToDate IS NOT NULL THEN "
                       "INSERT INTO booking_stay (id, firstday, lastday) VALUES (NEW.ID, least(%1, %2), greatest(%1, %2)); "
                       "END IF; RETURN NULL; END $$")
            .arg(DayNumberSql(Engine::PostgreSQL, QStringLiteral("NEW.FromDate")),
                 DayNumberSql(Engine::PostgreSQL, QStringLiteral("NEW.ToDate"))),
        QStringLiteral("CREATE TRIGGER booking_stay_keep AFTER INSERT OR UPDATE OF ID, FromDate, ToDate ON booking "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_keep_stay()"),
        // A transaction that sees one snapshot throughout would not see
        // another desk's stays committed while it waited for the lock.
        QStringLiteral("CREATE FUNCTION innkeld_lock_stays() RETURNS void LANGUAGE plpgsql AS $$ BEGIN "
                       "IF current_setting('transaction_isolation') = 'repeatable read' THEN "
                       "RAISE EXCEPTION 'Bookings are written at the read committed or serializable isolation level.'; "
                       "END IF; PERFORM pg_advisory_xact_lock(%1); END $$")
            .arg(lock),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_guard_link() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "DECLARE clash text; BEGIN PERFORM innkeld_lock_stays(); "
                       "IF NOT EXISTS (SELECT 1 FROM room WHERE id = NEW.roomid) THEN "
                       "RAISE EXCEPTION 'There is no room % in the house.', NEW.roomid; END IF; "
                       "IF NOT EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid) THEN "
                       "RAISE EXCEPTION 'There is no booking %.', NEW.bookingid; END IF; "
                       "SELECT r.name INTO clash FROM booking AS b, room AS r WHERE b.ID = NEW.bookingid "
                       "AND r.id = NEW.roomid AND %1; ")
            .arg(ClashExistsSql(Engine::PostgreSQL, QStringLiteral("b.ID"), QStringLiteral("NEW.roomid"),
                                QStringLiteral("b.FromDate"), QStringLiteral("b.ToDate")))
            + refuseClash,
        QStringLiteral("CREATE TRIGGER bookingroom_guard BEFORE INSERT OR UPDATE OF bookingid, roomid ON bookingroom "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_guard_link()"),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_guard_dates() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "DECLARE clash text; BEGIN "
                       "IF NEW.FromDate IS NOT DISTINCT FROM OLD.FromDate AND NEW.ToDate IS NOT DISTINCT FROM OLD.ToDate "
                       "THEN RETURN NEW; END IF; PERFORM innkeld_lock_stays(); "
                       "SELECT r.name INTO clash FROM (SELECT id, roomid FROM bookingroom WHERE bookingid = NEW.ID "
                       "OFFSET 0) AS l, room AS r WHERE r.id = l.roomid AND %1 ORDER BY l.id LIMIT 1; ")
            .arg(ClashExistsSql(Engine::PostgreSQL, QStringLiteral("NEW.ID"), QStringLiteral("l.roomid"),
                                QStringLiteral("NEW.FromDate"), QStringLiteral("NEW.ToDate")))
            + refuseClash,
        QStringLiteral("CREATE TRIGGER booking_guard_dates BEFORE UPDATE OF FromDate, ToDate ON booking "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_guard_dates()"),
    };
}


// The statement that fills the stays index `prefix`booking_stay from the
// bookings stored.
QString fillStays(const QString &prefix, const QString &from = QString())
{
    return QStringLiteral("INSERT INTO %1booking_stay SELECT ID, min(%2, %3), max(%2, %3) FROM %4booking "
                          "WHERE FromDate IS NOT NULL AND ToDate IS NOT NULL")
        .arg(prefix, filledDayNumber(QStringLiteral("FromDate")), filledDayNumber(QStringLiteral("ToDate")), from);
}

// The stays index built aside: the stays taken from the database at once,
// then the tree built from them.
QStringList buildStaysAside()
{
    return {QStringLiteral("CREATE TABLE stays (id INTEGER PRIMARY KEY, firstday INTEGER, lastday INTEGER)"),
            fillStays(QString(), QStringLiteral("house.")).replace(QStringLiteral("INTO booking_stay"),
                                                                  QStringLiteral("INTO stays")),
            kStayTable.arg(QString()), QStringLiteral("INSERT INTO booking_stay SELECT * FROM stays")};
}

// The guard's triggers (SQLite) that read the house's rules: made again when
// they are not this version's (made before the rules, or by an earlier rule).
const QStringList &ruleGuards()
{
    static const QStringList names{QStringLiteral("bookingroom_guard_insert"), QStringLiteral("bookingroom_guard_update"),
                                   QStringLiteral("booking_guard_dates")};
    return names;
}

QStringList fileLacking(const Catalogue &catalogue)
{
    QStringList lacking;
    // An index added since the database was made; that changes no data.
    const QStringList indexes = indexStatements();
    for (const QString &sql : indexes)
        if (!catalogue.has(CreatedName(sql))) {
            lacking += indexes;
            break;
        }
    for (const QString &name : unreadIndexes())
        if (catalogue.has(name))
            lacking << QStringLiteral("DROP INDEX IF EXISTS ") + name;
    // A database made before the guard gets it now; clashes stored before
    // stay as they are (the check lists them).
    if (!catalogue.has(QStringLiteral("booking_stay")))
        lacking << kStayTable.arg(QString()) << fillStays(QString());
    for (const QString &sql : guardStatements()) {
        const QString name = CreatedName(sql);
        // The engine keeps the statement without its IF NOT EXISTS.
        if (!catalogue.has(name))
            lacking << sql;
        else if (ruleGuards().contains(name) && catalogue.text(name) != QString(sql).remove(QStringLiteral("IF NOT EXISTS ")))
            lacking << QStringLiteral("DROP TRIGGER IF EXISTS ") + name << sql;
    }
    return lacking;
}

QStringList serverLacking(const Catalogue &catalogue)
{
    // The guard's functions when they are not this version's (made before
    // the house's rules, or by an earlier rule).
    QStringList functions;
    bool stale = false;
    for (const QString &sql : serverStatements())
        if (sql.startsWith(QLatin1String("CREATE OR REPLACE FUNCTION innkeld_guard_"))) {
            functions << sql;
            stale |= catalogue.text(CreatedName(sql)) != sql.section(QStringLiteral("$$"), 1, 1);
        }
    return stale ? functions : QStringList();
}

// The stays index by room: one row a link of a booking to a room, the room
// and its stay's first and last day, so that what the calendar shows is read
// from the rooms and days shown alone. On a file, a table searched by room
// and last day (bounded by the longest stay, which its own index gives); on
// a server, a GiST over the room and day ranges.
QString fileRoomStays(const QString &link, const QString &booking, bool filling = false)
{
    const auto day = filling ? filledDayNumber : dayNumber;
    const QString from = day(booking + QStringLiteral(".FromDate"));
    const QString to = day(booking + QStringLiteral(".ToDate"));
    return QStringLiteral("SELECT %1.id, %1.roomid, min(%2, %3), max(%2, %3)").arg(link, from, to);
}

QString fillRoomStays(const QString &prefix)
{
    return QStringLiteral("INSERT INTO %1room_stay ").arg(prefix) + fileRoomStays(QStringLiteral("l"), QStringLiteral("b"), true)
        + QStringLiteral(" FROM bookingroom AS l JOIN booking AS b ON b.ID = l.bookingid "
                         "WHERE b.FromDate IS NOT NULL AND b.ToDate IS NOT NULL ORDER BY l.id");
}

// The table, filled by `fill` (none: empty) before its indexes are made:
// each index then sorts once rather than growing row by row.
QStringList fileRoomStayStatements(const QString &prefix, const QString &fill)
{
    const QString index = prefix.isEmpty() ? QString() : QStringLiteral("temp.");
    const QString linkRow = QStringLiteral("INSERT INTO room_stay ") + fileRoomStays(QStringLiteral("NEW"), QStringLiteral("b"))
        + QStringLiteral(" FROM booking AS b WHERE b.ID = NEW.bookingid AND b.FromDate IS NOT NULL AND b.ToDate IS NOT NULL; ");
    QStringList statements{QStringLiteral("CREATE %1TABLE room_stay (id INTEGER PRIMARY KEY, roomid INTEGER NOT NULL, "
                                          "firstday INTEGER NOT NULL, lastday INTEGER NOT NULL)")
                               .arg(prefix)};
    if (!fill.isEmpty())
        statements << fill;
    statements << QStringLiteral("CREATE INDEX %1room_stay_place ON room_stay (roomid, lastday, firstday)").arg(index)
               << QStringLiteral("CREATE INDEX %1room_stay_length ON room_stay ((lastday - firstday))").arg(index);
    if (!prefix.isEmpty())
        return statements;  // a file that cannot be written: nothing is kept in step
    return statements + QStringList{
        QStringLiteral("CREATE TRIGGER room_stay_link_insert AFTER INSERT ON bookingroom BEGIN ") + linkRow
            + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER room_stay_link_update AFTER UPDATE OF id, bookingid, roomid ON bookingroom BEGIN "
                       "DELETE FROM room_stay WHERE id = OLD.id; ")
            + linkRow + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER room_stay_link_delete AFTER DELETE ON bookingroom BEGIN "
                       "DELETE FROM room_stay WHERE id = OLD.id; END"),
        QStringLiteral("CREATE TRIGGER room_stay_dates AFTER UPDATE OF FromDate, ToDate ON booking BEGIN "
                       "DELETE FROM room_stay WHERE id IN (SELECT id FROM bookingroom WHERE bookingid = NEW.ID); "
                       "INSERT INTO room_stay ")
            + fileRoomStays(QStringLiteral("l"), QStringLiteral("NEW"))
            + QStringLiteral(" FROM bookingroom AS l WHERE l.bookingid = NEW.ID AND NEW.FromDate IS NOT NULL "
                             "AND NEW.ToDate IS NOT NULL; END"),
    };
}

QStringList serverRoomStayStatements(bool fill)
{
    const QString day = QStringLiteral("least(%1, %2), greatest(%1, %2)");
    const QString linkDays = day.arg(DayNumberSql(Engine::PostgreSQL, QStringLiteral("b.FromDate")),
                                     DayNumberSql(Engine::PostgreSQL, QStringLiteral("b.ToDate")));
    QStringList statements{
        QStringLiteral("CREATE TABLE room_stay (id bigint PRIMARY KEY REFERENCES bookingroom (id) ON DELETE CASCADE "
                       "ON UPDATE CASCADE, roomid bigint NOT NULL, firstday integer NOT NULL, lastday integer NOT NULL, "
                       "rooms int8range GENERATED ALWAYS AS (int8range(roomid, roomid, '[]')) STORED, "
                       "days int4range GENERATED ALWAYS AS (int4range(firstday, lastday, '[]')) STORED)"),
        QStringLiteral("CREATE FUNCTION innkeld_keep_room_stay() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF TG_TABLE_NAME = 'bookingroom' THEN "
                       "IF TG_OP = 'UPDATE' THEN DELETE FROM room_stay WHERE id IN (OLD.id, NEW.id); END IF; "
                       "INSERT INTO room_stay (id, roomid, firstday, lastday) SELECT NEW.id, NEW.roomid, %1 "
                       "FROM booking AS b WHERE b.ID = NEW.bookingid AND b.FromDate IS NOT NULL AND b.ToDate IS NOT NULL; "
                       "ELSE DELETE FROM room_stay WHERE id = ANY (ARRAY(SELECT l.id FROM bookingroom AS l WHERE l.bookingid = NEW.ID)); "
                       "INSERT INTO room_stay (id, roomid, firstday, lastday) SELECT l.id, l.roomid, %2 "
                       "FROM bookingroom AS l WHERE l.bookingid = NEW.ID AND NEW.FromDate IS NOT NULL "
                       "AND NEW.ToDate IS NOT NULL; END IF; RETURN NULL; END $$")
            .arg(linkDays, day.arg(DayNumberSql(Engine::PostgreSQL, QStringLiteral("NEW.FromDate")),
                                   DayNumberSql(Engine::PostgreSQL, QStringLiteral("NEW.ToDate")))),
        QStringLiteral("CREATE TRIGGER room_stay_link AFTER UPDATE OF bookingid, roomid ON bookingroom "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_keep_room_stay()"),
        // Links added many at once (a channel's feed) are indexed in one
        // statement.
        QStringLiteral("CREATE FUNCTION innkeld_add_room_stays() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "INSERT INTO room_stay (id, roomid, firstday, lastday) SELECT l.id, l.roomid, %1 "
                       "FROM added AS l CROSS JOIN LATERAL (SELECT x.FromDate, x.ToDate FROM booking AS x "
                       "WHERE x.ID = l.bookingid OFFSET 0) AS b "
                       "WHERE b.FromDate IS NOT NULL AND b.ToDate IS NOT NULL; RETURN NULL; END $$")
            .arg(linkDays),
        QStringLiteral("CREATE TRIGGER room_stay_links_added AFTER INSERT ON bookingroom REFERENCING NEW TABLE AS added "
                       "FOR EACH STATEMENT EXECUTE FUNCTION innkeld_add_room_stays()"),
        QStringLiteral("CREATE TRIGGER room_stay_dates AFTER UPDATE OF FromDate, ToDate ON booking "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_keep_room_stay()"),
    };
    // Filled before its index is made: one pass that sorts, rather than a
    // search tree grown row by row.
    if (fill)
        statements << QStringLiteral("INSERT INTO room_stay (id, roomid, firstday, lastday) SELECT l.id, l.roomid, %1 "
                                     "FROM bookingroom AS l JOIN booking AS b ON b.ID = l.bookingid "
                                     "WHERE b.FromDate IS NOT NULL AND b.ToDate IS NOT NULL")
                              .arg(linkDays);
    statements << QStringLiteral("CREATE INDEX room_stay_place ON room_stay USING gist (rooms, days)");
    return statements;
}

}  // namespace

SchemaPart BookingTablesPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Building the stays index and the guard");
    part.make = [](Engine engine) {
        if (engine == Engine::PostgreSQL)
            return serverStatements();
        return fileTables() + indexStatements() + QStringList{kStayTable.arg(QString())} + guardStatements();
    };
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        return engine == Engine::PostgreSQL ? serverLacking(catalogue) : fileLacking(catalogue);
    };
    part.table = QStringLiteral("booking_stay");
    part.temporary = [] { return QStringList{kStayTable.arg(QStringLiteral("temp.")), fillStays(QStringLiteral("temp."))}; };
    part.hidden = QStringList{QStringLiteral("booking_stay")};
    // The R*Tree takes a row at a time (a chain's twenty years: 20 s); it is
    // built aside while the other indexes are.
    part.aside.replaces = fillStays(QString());
    part.aside.build = buildStaysAside();
    part.aside.tables = QStringList{QStringLiteral("booking_stay_node"), QStringLiteral("booking_stay_rowid"),
                                    QStringLiteral("booking_stay_parent")};
    part.aside.check = QStringLiteral("SELECT rtreecheck('booking_stay')");
    return part;
}

SchemaPart RoomStaysPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Building the stays index by room");
    part.make = [](Engine engine) {
        return engine == Engine::PostgreSQL ? serverRoomStayStatements(false)
                                            : fileRoomStayStatements(QString(), QString());
    };
    // A database made before the index gets it, filled from the links stored
    // (a file's made again whole when a part of it is gone).
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        if (engine == Engine::PostgreSQL) {
            if (!catalogue.has(QStringLiteral("room_stay_place")) || !catalogue.has(QStringLiteral("room_stay_links_added")))
                return QStringList{QStringLiteral("DROP TABLE IF EXISTS room_stay"),
                                   QStringLiteral("DROP FUNCTION IF EXISTS innkeld_keep_room_stay, innkeld_add_room_stays "
                                                  "CASCADE")}
                    + serverRoomStayStatements(true);
            // Functions an earlier version wrote are replaced by this one's.
            QStringList stale;
            for (const QString &sql : serverRoomStayStatements(false))
                if (sql.startsWith(QLatin1String("CREATE FUNCTION"))
                    && catalogue.text(CreatedName(sql)) != sql.section(QStringLiteral("$$"), 1, 1))
                    stale << QString(sql).replace(0, 15, QStringLiteral("CREATE OR REPLACE FUNCTION"));
            return stale;
        }
        QStringList names, drops;
        for (const QString &sql : fileRoomStayStatements(QString(), QString())) {
            const QString name = CreatedName(sql);
            names << name;
            if (sql.startsWith(QLatin1String("CREATE TRIGGER")))
                drops << QStringLiteral("DROP TRIGGER IF EXISTS ") + name;
        }
        for (const QString &name : names)
            if (!catalogue.has(name))
                return QStringList{QStringLiteral("DROP TABLE IF EXISTS room_stay")} + drops
                    + fileRoomStayStatements(QString(), fillRoomStays(QString()));
        return QStringList();
    };
    part.table = QStringLiteral("room_stay");
    part.temporary = [] { return fileRoomStayStatements(QStringLiteral("TEMP "), fillRoomStays(QStringLiteral("temp."))); };
    part.hidden = QStringList{QStringLiteral("room_stay")};
    return part;
}

QString RoomStaysTouchingSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay,
                             const QVector<RecordId> &rooms)
{
    QStringList ids;
    for (RecordId id : rooms)
        ids << QString::number(id);
    const QString touching = StaysTouchingSql(engine, alias, firstDay, lastDay);
    if (rooms.isEmpty())
        return touching + QStringLiteral(" AND %1.roomid IS NULL").arg(alias);
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("%1.rooms && int8range(%2, %3, '[]') AND %4 AND %1.roomid IN (%5)")
            .arg(alias)
            .arg(*std::min_element(rooms.cbegin(), rooms.cend()))
            .arg(*std::max_element(rooms.cbegin(), rooms.cend()))
            .arg(touching, ids.join(QLatin1Char(',')));
    // Each room's stays by their last day, from the first day shown to the
    // last one shown and the longest stay after it, as far as a stay of
    // 400 days; the few longer ones (a lease, or a stay typed to the year
    // 9999) by their own length's index, so that one of them does not make
    // every room's later stays read.
    const QString shown = ids.join(QLatin1Char(','));
    return touching
        + QStringLiteral(" AND %1.id IN (SELECT r.id FROM room_stay AS r WHERE r.roomid IN (%2) AND r.lastday >= %3 "
                         "AND r.lastday <= %4 + (SELECT min(400, coalesce(max(lastday - firstday), 0)) FROM room_stay) "
                         "AND r.firstday <= %4 UNION ALL SELECT r.id FROM room_stay AS r WHERE (r.lastday - r.firstday) "
                         "> 400 AND +r.roomid IN (%2) AND +r.firstday <= %4 AND +r.lastday >= %3)")
              .arg(alias, shown, firstDay, lastDay);
}

QString WriteLockSql(Engine engine)
{
    return engine == Engine::PostgreSQL ? QStringLiteral("SELECT innkeld_lock_stays()") : QString();
}

QString SchemaLockSql()
{
    return QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kStaysLock);
}

// The program's spelling of each column (the server's are lower case).
const QStringList &SpelledColumns()
{
    static const QStringList names{
        QStringLiteral("ID"), QStringLiteral("CustomerID"), QStringLiteral("FromDate"), QStringLiteral("ToDate"),
        QStringLiteral("BookedBy"), QStringLiteral("Notes"), QStringLiteral("NoAdults"), QStringLiteral("NoKids"),
        QStringLiteral("CostPerNight"), QStringLiteral("PaymentMethod"), QStringLiteral("OtherCharges"),
        QStringLiteral("SalesTax"), QStringLiteral("TotalPayable"), QStringLiteral("AmountPayed"),
        QStringLiteral("CreditCardNo"), QStringLiteral("CreditCardExpiry"), QStringLiteral("CreditCardType"),
        QStringLiteral("Status"), QStringLiteral("FirstName"), QStringLiteral("LastName"), QStringLiteral("Address1"),
        QStringLiteral("Address2"), QStringLiteral("City"), QStringLiteral("State"), QStringLiteral("PostCode"),
        QStringLiteral("Country"), QStringLiteral("Phone"), QStringLiteral("Email"),
        QStringLiteral("SubmittedDate"), QStringLiteral("BusinessName")};
    return names;
}

const QStringList &ProgramTables()
{
    static const QStringList tables{QStringLiteral("booking"), QStringLiteral("customer"), QStringLiteral("room"),
                                    QStringLiteral("bookingroom")};
    return tables;
}

void RequireProgramTables(const Schema &schema, const QString &databaseName)
{
    for (const QString &table : ProgramTables())
        if (!schema.hasTable(table))
            throw DbError(QStringLiteral("The database '%1' has no table '%2'.").arg(databaseName, table));
}

void SuspendLinkGuard(Database &db, bool suspend)
{
    if (db.onServer()) {
        db.run(QStringLiteral("ALTER TABLE bookingroom %1 TRIGGER bookingroom_guard")
                   .arg(suspend ? QStringLiteral("DISABLE") : QStringLiteral("ENABLE")));
        return;
    }
    if (suspend) {
        db.run(QStringLiteral("DROP TRIGGER IF EXISTS bookingroom_guard_insert"));
        return;
    }
    for (const QString &sql : guardStatements())
        if (sql.contains(QLatin1String(" bookingroom_guard_insert ")))
            db.run(sql);
}

bool BookingExists(Database &db, RecordId bookingId)
{
    return !db.execute(QStringLiteral("SELECT id FROM booking WHERE id = ") + QString::number(bookingId)).eof();
}

QString StaysClashSql(const QString &from, const QString &to, const QString &otherFrom, const QString &otherTo,
                      Engine engine)
{
    const QString midnight = engine == Engine::PostgreSQL ? QStringLiteral("date_trunc('day', %1)")
                                                          : QStringLiteral("(date(%1) || ' 00:00:00')");
    const QString F = midnight.arg(from);
    const QString T = midnight.arg(to);
    return QStringLiteral("((%1 >= %3 AND %1 <= %4) OR (%2 >= %3 AND %2 <= %4) OR (%3 >= %1 AND %4 <= %2))")
        .arg(F, T, otherFrom, otherTo);
}

QString StaysShareNightSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay)
{
    // The touching stays are found through the index; whether they share a
    // night is read from the same row.
    const QString night = QStringLiteral("%1.firstday < %3 AND %1.lastday > %2").arg(alias, firstDay, lastDay);
    if (engine == Engine::PostgreSQL)
        return StaysTouchingSql(engine, alias, firstDay, lastDay) + QStringLiteral(" AND ") + night;
    return night;
}

QString StaysTouchingSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay)
{
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("%1.days && int4range(%2, %3, '[]')").arg(alias, firstDay, lastDay);
    return QStringLiteral("%1.firstday <= %3 AND %1.lastday >= %2").arg(alias, firstDay, lastDay);
}

QString DayNumberSql(Engine engine, const QString &date)
{
    // 2000-01-01 is Julian day 2451545.
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("((%1)::date - DATE '2000-01-01' + 2451545)").arg(date);
    return QStringLiteral("CAST(julianday(date(%1)) + 0.5 AS INTEGER)").arg(date);
}

QString ManyDayNumbersSql(Engine engine, const QString &date)
{
    if (engine == Engine::PostgreSQL)
        return DayNumberSql(engine, date);
    return QStringLiteral("coalesce(innkeld_day(%1), %2)").arg(date, DayNumberSql(engine, date));
}

// Whether another booking than `booking` holds `room` for a stay that clashes
// with the stay from `from` to `to` by the house's rule, read as the
// statement runs: with rooms free from the day the guest leaves, when the
// stays share a night (StaysShareNightSql); else by the rooms step's rule: the stay's first or
// last day (at midnight) lies within the other stay, both ends included, or
// the other stay lies wholly within them. The stays index finds the few
// stays that touch those days; the rule is then applied to them.
namespace {

// The stays of other bookings than `booking` that hold `room` on days that
// clash with the stay from `from` to `to`, as ClashExistsSql reads them:
// `what` is selected of each (on a server, of the lateral row `c`, which
// holds the room and the holding booking as `holder`).
QString clashingStays(Engine engine, const QString &what, const QString &booking, const QString &room,
                      const QString &from, const QString &to, bool holder)
{
    const bool server = engine == Engine::PostgreSQL;
    const QString first = QStringLiteral("%1(%2, %3)").arg(server ? QStringLiteral("least") : QStringLiteral("min"),
                                                            DayNumberSql(engine, from), DayNumberSql(engine, to));
    const QString last = QStringLiteral("%1(%2, %3)").arg(server ? QStringLiteral("greatest") : QStringLiteral("max"),
                                                           DayNumberSql(engine, from), DayNumberSql(engine, to));
    const QString clash = QStringLiteral("CASE WHEN %1 THEN %2 ELSE %3 END")
                              .arg(DepartureDayFreeSql(), StaysShareNightSql(engine, QStringLiteral("s"), first, last),
                                   StaysClashSql(from, to, QStringLiteral("o.FromDate"), QStringLiteral("o.ToDate"), engine));
    // The server's planner, without statistics, would read every link to
    // join them to the stays, or a room's every link; the lateral query
    // makes it look up each stay's links and booking by their keys, the
    // room asked of what it finds.
    // The room's own stays are searched (the stays index by room, its
    // GiST over the room and the days), and the subquery is kept apart
    // (OFFSET 0) so that it is asked for each room rather than read for
    // every room at once.
    if (server)
        return QStringLiteral("SELECT %5 FROM room_stay AS s CROSS JOIN LATERAL (SELECT x.roomid%6 FROM "
                              "bookingroom AS x JOIN booking AS o ON o.ID = x.bookingid WHERE x.id = s.id "
                              "AND x.bookingid <> %3 AND %4 OFFSET 0) AS c WHERE s.rooms && int8range(%2, %2, '[]') "
                              "AND %1 AND s.roomid = %2")
            .arg(StaysTouchingSql(engine, QStringLiteral("s"), first, last), room, booking, clash, what,
                 holder ? QStringLiteral(", x.bookingid AS holder") : QString());
    return QStringLiteral("SELECT %5 FROM booking_stay AS s CROSS JOIN bookingroom AS x CROSS JOIN booking AS o "
                          "WHERE %1 AND x.bookingid = s.id AND x.roomid = %2 AND x.bookingid <> %3 AND o.ID = s.id "
                          "AND %4")
        .arg(StaysTouchingSql(engine, QStringLiteral("s"), first, last), room, booking, clash, what);
}

}  // namespace

QString ClashExistsSql(Engine engine, const QString &booking, const QString &room, const QString &from,
                       const QString &to)
{
    return (engine == Engine::PostgreSQL ? QStringLiteral("EXISTS (%1 OFFSET 0)") : QStringLiteral("EXISTS (%1)"))
        .arg(clashingStays(engine, QStringLiteral("1"), booking, room, from, to, false));
}

QString ClashingBookingSql(Engine engine, const QString &booking, const QString &room, const QString &from,
                           const QString &to)
{
    const bool server = engine == Engine::PostgreSQL;
    return QStringLiteral("(%1 ORDER BY 1 LIMIT 1)")
        .arg(clashingStays(engine, server ? QStringLiteral("c.holder") : QStringLiteral("x.bookingid"), booking, room,
                           from, to, server));
}

}  // namespace innkeld
