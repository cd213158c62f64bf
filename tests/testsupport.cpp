#include "testsupport.h"

#include "arrivals/findquery.h"
#include "calendar/calendarweek.h"
#include "channels/channelfeeds.h"
#include "data/copies/backup.h"
#include "data/schema/houserules.h"
#include "data/regional/regional.h"
#include "data/schema/schema.h"
#include "booking/availability.h"
#include "booking/bookingstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <QtTest>

#include <ctime>
#include <functional>

namespace innkeld::test {

TimeZoneScope::TimeZoneScope(const QByteArray &zone)
    : m_had(qEnvironmentVariableIsSet("TZ")), m_previous(qgetenv("TZ"))
{
    qputenv("TZ", zone);
    tzset();
}

TimeZoneScope::~TimeZoneScope()
{
    if (m_had)
        qputenv("TZ", m_previous);
    else
        qunsetenv("TZ");
    tzset();
}

QByteArray ZoneWithoutMidnightToday()
{
    // POSIX: standard time 3 hours behind UTC, summer time from day n
    // (counted from 0) at 00:00 to a day half a year later.
    const int today = QDate::currentDate().dayOfYear() - 1;
    return "XST3XDT," + QByteArray::number(today) + "/0," + QByteArray::number((today + 180) % 365) + "/0";
}

QList<ZoneAndDay> ZonesWithoutAMidnight()
{
    return {{"America/Santiago", QDate(2026, 9, 6)},
            {"Asia/Beirut", QDate(2026, 3, 29)},
            {"Africa/Cairo", QDate(2026, 4, 24)},
            {ZoneWithoutMidnightToday(), QDate::currentDate()}};
}


TempDatabase::TempDatabase()
{
    CreateDatabase(path());
}

Database &TempDatabase::db()
{
    if (!m_db)
        m_db = OpenDatabase(path());
    return *m_db;
}

Recordset TempDatabase::run(const QString &sql)
{
    try {
        return db().execute(sql);
    } catch (const DbError &e) {
        qFatal("statement failed: %s\n%s", qPrintable(sql), qPrintable(e.message()));
    }
}

RecordId TempDatabase::addRoom(const QString &name)
{
    TableCursor r = db().openTable(QStringLiteral("Room"));
    r.addNew();
    r.setField(QStringLiteral("Name"), name);
    r.update();
    return r.field(QStringLiteral("id")).toLongLong();
}

RecordId TempDatabase::addCustomer(const QString &first, const QString &last)
{
    TableCursor c = db().openTable(QStringLiteral("Customer"));
    c.addNew();
    c.setField(QStringLiteral("FirstName"), first);
    c.setField(QStringLiteral("LastName"), last);
    c.update();
    return c.field(QStringLiteral("ID")).toLongLong();
}

void markBegunNow(Database &db, RecordId booking)
{
    db.execute(QStringLiteral("INSERT INTO bookingdraft (bookingid, started) VALUES (%1, '%2')")
                   .arg(booking)
                   .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))));
}

RecordId TempDatabase::addBooking(const QDateTime &from, const QDateTime &to, RecordId customer,
                                  const QList<RecordId> &rooms)
{
    TableCursor b = db().openTable(QStringLiteral("Booking"));
    b.addNew();
    b.setField(QStringLiteral("FromDate"), from);
    b.setField(QStringLiteral("ToDate"), to);
    b.setField(QStringLiteral("CustomerID"), customer);
    b.update();
    const RecordId id = b.field(QStringLiteral("ID")).toLongLong();
    for (RecordId room : rooms) {
        TableCursor br = db().openTable(QStringLiteral("BookingRoom"));
        br.addNew();
        br.setField(QStringLiteral("bookingid"), id);
        br.setField(QStringLiteral("roomid"), room);
        br.update();
    }
    // Without a customer: a booking being entered in the wizard just now.
    if (customer == 0)
        markBegunNow(db(), id);
    return id;
}

RecordId TempDatabase::addGuest(const QDateTime &from, const QDateTime &to, const QString &first,
                                const QString &last, const QList<RecordId> &rooms)
{
    return addBooking(from, to, addCustomer(first, last), rooms);
}

void TempDatabase::discard(RecordId booking)
{
    run(QStringLiteral("UPDATE booking SET CustomerID = 0 WHERE ID = %1").arg(booking));
    run(QStringLiteral("DELETE FROM booking WHERE ID = %1").arg(booking));
}

int TempDatabase::count(const QString &table)
{
    return run(QStringLiteral("SELECT count(*) FROM ") + table).value(0).toInt();
}

void TempDatabase::allowClashes(bool allow)
{
    if (allow) {
        for (const char *trigger : {"bookingroom_guard_insert", "bookingroom_guard_update", "booking_guard_dates"})
            run(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(trigger)));
    } else {
        UpgradeDatabase(db());
    }
}

namespace {

// Runs statements on the server at `address` through a connection of its
// own: the first value of a query, or the error after "ERROR ".
QString runOnServer(const QString &address, const QString &sql)
{
    static int counter = 0;
    const QString name = QStringLiteral("test-admin-%1").arg(++counter);
    QString failure;
    {
        const QUrl url(address);
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        c.setHostName(url.host());
        c.setPort(url.port());
        c.setUserName(url.userName());
        c.setDatabaseName(url.path().mid(1));
        if (!c.open()) {
            failure = c.lastError().text();
        } else {
            QSqlQuery q(c);
            if (!q.exec(sql))
                failure = QStringLiteral("ERROR ") + q.lastError().text();
            else if (q.next())
                failure = q.value(0).toString();  // the first value, for a query
            c.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}

}  // namespace

ServerDatabase::ServerDatabase()
{
    const QString file = qEnvironmentVariable("INNKELD_TEST_SERVER");
    if (file.isEmpty()) {
        m_failure = QStringLiteral("INNKELD_TEST_SERVER is not set (ctest starts the server in its fixture).");
        return;
    }
    QFile url(file);
    if (!url.open(QIODevice::ReadOnly)) {
        m_failure = QStringLiteral("the server did not start (no %1; see the server_start test's output).").arg(file);
        return;
    }
    m_server = QString::fromUtf8(url.readAll()).trimmed();
    static int counter = 0;
    m_name = QStringLiteral("innkeld_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    const QString error = runOnServer(m_server, QStringLiteral("CREATE DATABASE %1").arg(m_name));
    if (!error.isEmpty()) {
        m_failure = QStringLiteral("the database could not be made: ") + error;
        return;
    }
    QUrl address(m_server);
    address.setPath(QLatin1Char('/') + m_name);
    m_address = address.toString();
}

ServerDatabase::~ServerDatabase()
{
    if (!m_address.isEmpty())
        runOnServer(m_server, QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(m_name));
}

QString ServerDatabase::admin(const QString &sql)
{
    return runOnServer(m_address, sql);
}

}  // namespace innkeld::test

namespace innkeld::test {

QHash<QString, RecordId> AddFindHouse(Database &db)
{
    Database::Transaction transaction(db);
    // A room each: the stays of the house do not clash.
    int rooms = 0;
    const auto addRoom = [&] {
        TableCursor room = db.openTable(QStringLiteral("Room"));
        room.addNew();
        room.setField(QStringLiteral("Name"), rooms++ == 0 ? QStringLiteral("Sea View") : QStringLiteral("Room %1").arg(rooms));
        room.update();
        return room.field(QStringLiteral("id")).toLongLong();
    };
    struct Guest
    {
        const char *key, *first, *last, *business, *email, *city, *phone;
        QDate from;
        int nights;
    };
    const Guest guests[] = {
        {"mueller", "Anna", "Müller", "Müller & Söhne GmbH", "anna.mueller@example.de", "Köln", "0221 123-4567",
         QDate(2026, 3, 10), 4},
        {"ohara", "Seán", "O'Hara", "", "sean@ohara.ie", "Dublin", "+353 (1) 555 0199", QDate(2025, 8, 1), 2},
        {"mullins", "Mark", "Mullins", "", "mark@mullins.co.uk", "London", "020 7946 0000", QDate(2026, 3, 12), 1},
        {"yamada", "太郎", "山田", "", "", "東京", "03-1234-5678", QDate(2024, 1, 5), 2},
        {"ivanov", "Дмитрий", "Иванов", "", "", "Москва", "", QDate(2023, 6, 1), 3},
        {"acme", "", "", "100% Tours_Ltd", "", "", "", QDate(2026, 3, 14), 2},
        {"quote", "D'Arcy \"Dee\"", "Back\\slash", "", "", "", "", QDate(2022, 2, 2), 1},
    };
    QHash<QString, RecordId> house;
    const auto addBooking = [&](RecordId customer, const QDate &from, int nights) {
        TableCursor b = db.openTable(QStringLiteral("Booking"));
        b.addNew();
        b.setField(QStringLiteral("FromDate"), QDateTime(from, QTime(14, 0)));
        b.setField(QStringLiteral("ToDate"), QDateTime(from.addDays(nights), QTime(10, 0)));
        b.setField(QStringLiteral("CustomerID"), customer);
        b.update();
        const RecordId id = b.field(QStringLiteral("ID")).toLongLong();
        TableCursor link = db.openTable(QStringLiteral("BookingRoom"));
        link.addNew();
        link.setField(QStringLiteral("bookingid"), id);
        link.setField(QStringLiteral("roomid"), addRoom());
        link.update();
        if (customer == 0)
            markBegunNow(db, id);
        return id;
    };
    for (const Guest &g : guests) {
        TableCursor c = db.openTable(QStringLiteral("Customer"));
        c.addNew();
        const std::pair<const char *, const char *> fields[] = {
            {"FirstName", g.first}, {"LastName", g.last}, {"BusinessName", g.business},
            {"Email", g.email},     {"City", g.city},     {"Phone", g.phone}};
        for (const auto &[name, value] : fields)
            c.setField(QLatin1String(name), QString::fromUtf8(value));
        c.update();
        house.insert(QLatin1String(g.key), addBooking(c.field(QStringLiteral("ID")).toLongLong(), g.from, g.nights));
    }
    // Still in the wizard: no guest, found by nothing.
    house.insert(QStringLiteral("noguest"), addBooking(0, QDate(2026, 3, 12), 1));
    transaction.commit();
    return house;
}

QList<std::pair<QString, QStringList>> FindHouseSearches(const QHash<QString, RecordId> &house)
{
    const QString ohara = QString::number(house.value(QStringLiteral("ohara")));
    const auto l = [](std::initializer_list<const char *> keys) {
        QStringList out;
        for (const char *key : keys)
            out << QLatin1String(key);
        return out;
    };
    return {
        // The start of any word, case and accents ignored; the most recent arrival first.
        {QStringLiteral("muller"), l({"mueller"})},
        {QStringLiteral("mul"), l({"mullins", "mueller"})},
        {QStringLiteral("MÜL"), l({"mullins", "mueller"})},
        {QStringLiteral("o'h"), l({"ohara"})},
        {QStringLiteral("hara"), l({"ohara"})},
        {QStringLiteral("sean"), l({"ohara"})},
        {QStringLiteral("sohne"), l({"mueller"})},
        {QStringLiteral("koln"), l({"mueller"})},
        {QStringLiteral("anna.mu"), l({"mueller"})},
        {QStringLiteral("example"), l({"mueller"})},
        {QStringLiteral("nna"), l({})},
        // Several words narrow.
        {QStringLiteral("anna köln"), l({"mueller"})},
        {QStringLiteral("anna dublin"), l({})},
        {QStringLiteral("m london"), l({"mullins"})},
        // Phones by their digits, whatever the blanks and dashes.
        {QStringLiteral("0221-1234"), l({"mueller"})},
        {QStringLiteral("0221 123 45"), l({"mueller"})},
        {QStringLiteral("(0221) 123"), l({"mueller"})},
        {QStringLiteral("+353 1 555"), l({"ohara"})},
        {QStringLiteral("4567"), l({})},
        {QStringLiteral("0"), l({"mullins", "mueller", "yamada"})},
        // A booking's number exactly, first.
        {ohara, l({"ohara"})},
        {ohara + QStringLiteral(" sean"), l({"ohara"})},
        {ohara + QStringLiteral(" anna"), l({})},
        // Other scripts.
        {QStringLiteral("山田"), l({"yamada"})},
        {QStringLiteral("東京"), l({"yamada"})},
        {QStringLiteral("дми"), l({"ivanov"})},
        {QStringLiteral("ИВАН"), l({"ivanov"})},
        // Typed signs are searched as they are, never as the engine's.
        {QStringLiteral("100%"), l({"acme"})},
        {QStringLiteral("tours_"), l({"acme"})},
        {QStringLiteral("m%r"), l({})},
        {QStringLiteral("%"), l({})},
        {QStringLiteral("_"), l({})},
        {QStringLiteral("'"), l({})},
        {QStringLiteral("\""), l({})},
        {QStringLiteral("\\"), l({})},
        {QStringLiteral("d'arcy \"dee"), l({"quote"})},
        {QStringLiteral("back\\s"), l({"quote"})},
        {QStringLiteral("' OR 1=1 --"), l({})},
        {QStringLiteral("\"); DROP TABLE booking; --"), l({})},
        {QStringLiteral("*"), l({})},
        {QStringLiteral("NEAR(a b)"), l({})},
        {QStringLiteral("m:*"), l({"mullins", "mueller"})},
        {QString(10000, QLatin1Char('x')), l({})},
        {QStringLiteral("lorem ipsum ").repeated(1000), l({})},
        {QStringLiteral("mul\tanna\n"), l({"mueller"})},
    };
}

}  // namespace innkeld::test

namespace innkeld::test {

namespace {

struct StayCase
{
    const char *name;
    QDateTime stored[2], candidate[2];
    bool clashOff, clashOn;
};

QList<StayCase> departureDayStays()
{
    const auto at = [](int y, int m, int d, int h = 0, int min = 0) { return WallClock(QDate(y, m, d), QTime(h, min)); };
    return {
        {"departs 10:00, arrives 14:00", {at(2026, 5, 3, 14), at(2026, 5, 6, 10)}, {at(2026, 5, 6, 14), at(2026, 5, 8, 10)}, true, false},
        {"both at midnight", {at(2026, 5, 3), at(2026, 5, 6)}, {at(2026, 5, 6), at(2026, 5, 8)}, true, false},
        {"ends on the arrival day", {at(2026, 5, 3, 14), at(2026, 5, 6, 10)}, {at(2026, 5, 1, 14), at(2026, 5, 3, 10)}, false, false},
        {"ends at its midnight", {at(2026, 5, 3), at(2026, 5, 6)}, {at(2026, 5, 1), at(2026, 5, 3)}, true, false},
        {"one night after one night", {at(2026, 6, 1, 15), at(2026, 6, 2, 9)}, {at(2026, 6, 2, 15), at(2026, 6, 3, 9)}, true, false},
        {"the same night", {at(2026, 6, 1, 15), at(2026, 6, 2, 9)}, {at(2026, 6, 1, 18), at(2026, 6, 2, 8)}, true, true},
        {"across the month end", {at(2026, 1, 30, 14), at(2026, 2, 1, 10)}, {at(2026, 2, 1, 14), at(2026, 2, 3, 10)}, true, false},
        {"a night at the month end", {at(2026, 1, 30, 14), at(2026, 2, 1, 10)}, {at(2026, 1, 31, 14), at(2026, 2, 2, 10)}, true, true},
        {"across the year end", {at(2025, 12, 30, 14), at(2026, 1, 1, 10)}, {at(2026, 1, 1, 14), at(2026, 1, 2, 10)}, true, false},
        {"new year's eve", {at(2025, 12, 30, 14), at(2026, 1, 1, 10)}, {at(2025, 12, 31, 14), at(2026, 1, 1, 9)}, true, true},
        {"within the stay", {at(2026, 7, 1, 14), at(2026, 7, 10, 10)}, {at(2026, 7, 4, 14), at(2026, 7, 5, 10)}, true, true},
        {"around the stay", {at(2026, 7, 1, 14), at(2026, 7, 10, 10)}, {at(2026, 6, 28, 14), at(2026, 7, 12, 10)}, true, true},
    };
}

QString yesNo(bool free)
{
    return free ? QStringLiteral("free") : QStringLiteral("taken");
}

// Whether a write goes through.
bool writes(const std::function<void()> &write)
{
    try {
        write();
        return true;
    } catch (const DbError &) {
        return false;
    }
}

}  // namespace

QStringList DepartureDayCases(Database &db)
{
    LocaleScope locale("en_US");
    QStringList lines;
    const QDateTime far = WallClock(QDate(2040, 1, 1), QTime(12, 0));
    const RecordId candidate = CreateBooking(db, far);
    const RecordId mover = CreateBooking(db, far);
    SaveDatesStep(db, mover, QString(), far, far.addDays(2));
    const auto text = [](const QDateTime &t) { return RegionalDateTimeText(t); };
    int n = 0;
    for (const StayCase &c : departureDayStays()) {
        db.execute(QStringLiteral("INSERT INTO room (name) VALUES ('Case %1')").arg(++n));
        const RecordId room = db.execute(QStringLiteral("SELECT max(id) FROM room")).value(0).toLongLong();
        const RecordId stored = CreateBooking(db, c.stored[0]);
        SaveDatesStep(db, stored, QString(), c.stored[0], c.stored[1]);
        SaveRoomsStep(db, stored, {room});
        for (const bool rule : {false, true}) {
            SetDepartureDayFree(db, rule);
            SaveDatesStep(db, candidate, QString(), c.candidate[0], c.candidate[1]);
            QStringList answers;
            answers << QStringLiteral("step=") + yesNo(IsRoomAvailable(db, candidate, room, c.candidate[0], c.candidate[1]));
            bool listed = false;
            for (const FreeRoom &f : FreeRooms(db, candidate, c.candidate[0], c.candidate[1]))
                listed |= f.id == room;
            answers << QStringLiteral("list=") + yesNo(listed);
            answers << QStringLiteral("save=") + yesNo(writes([&] { SaveRoomsStep(db, candidate, {room}); }));
            SaveRoomsStep(db, candidate, {});
            answers << QStringLiteral("link=")
                    + yesNo(writes([&] {
                          db.execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)")
                                         .arg(candidate)
                                         .arg(room));
                      }));
            SaveRoomsStep(db, candidate, {});
            // A booking of the room on other dates moved onto the candidate's.
            SaveRoomsStep(db, mover, {room});
            answers << QStringLiteral("dates=")
                    + yesNo(SaveDatesStep(db, mover, QString(), c.candidate[0], c.candidate[1]).isEmpty());
            SaveDatesStep(db, mover, QString(), far, far.addDays(2));
            SaveRoomsStep(db, mover, {room});
            answers << QStringLiteral("move=") + yesNo(writes([&] {
                           db.execute(QStringLiteral("UPDATE booking SET fromdate = '%1', todate = '%2' WHERE id = %3")
                                          .arg(text(c.candidate[0]), text(c.candidate[1]))
                                          .arg(mover));
                       }));
            SaveDatesStep(db, mover, QString(), far, far.addDays(2));
            SaveRoomsStep(db, mover, {});
            // The stored stay's departure day in the calendar, its room alone.
            const QDate departure = c.stored[1].date();
            const CalendarWeek week = ReadCalendarWeek(db, departure, n - 1, 1);
            const CalendarCell &cell = week.cell(0, 0);
            answers << QStringLiteral("calendar=")
                    + (cell.booked() ? QStringLiteral("booked")
                                     : !cell.departing.isEmpty() ? QStringLiteral("departs") : QStringLiteral("free"));
            lines << QStringLiteral("%1 %2: %3").arg(QLatin1String(c.name), rule ? QStringLiteral("on") : QStringLiteral("off"),
                                                    answers.join(QLatin1Char(' ')));
        }
        SetDepartureDayFree(db, false);
    }

    // Stays stored meeting on a day with the rule on are no clash, and stay
    // none when it is turned off; the check then lists them, and a new
    // write of such a pair is refused.
    db.execute(QStringLiteral("INSERT INTO room (name) VALUES ('Turnover')"));
    const RecordId room = db.execute(QStringLiteral("SELECT max(id) FROM room")).value(0).toLongLong();
    const StayCase c = departureDayStays().first();
    SetDepartureDayFree(db, true);
    RecordId pair[2];
    for (int i = 0; i < 2; ++i) {
        const QDateTime *dates = i == 0 ? c.stored : c.candidate;
        pair[i] = CreateBooking(db, dates[0]);
        SaveDatesStep(db, pair[i], QString(), dates[0], dates[1]);
        SaveRoomsStep(db, pair[i], {room});
    }
    for (const bool rule : {true, false}) {
        SetDepartureDayFree(db, rule);
        StoredStays stays;
        ReadStoredStays(db, stays, true);
        lines << QStringLiteral("stored %1: clashes=%2 meetings=%3 %4")
                     .arg(rule ? QStringLiteral("on") : QStringLiteral("off"))
                     .arg(stays.clashes.size())
                     .arg(stays.meetings)
                     .arg(stays.meetingLines.join(QLatin1Char('|'))
                              .replace(QStringLiteral("booking %1 ").arg(pair[0]), QStringLiteral("booking A "))
                              .replace(QStringLiteral("booking %1 ").arg(pair[1]), QStringLiteral("booking B ")));
    }
    SaveDatesStep(db, candidate, QString(), c.candidate[0], c.candidate[1]);
    lines << QStringLiteral("again off: save=") + yesNo(writes([&] { SaveRoomsStep(db, candidate, {room}); }));
    return lines;
}

QStringList ExpectedDepartureDayCases()
{
    QStringList lines;
    for (const StayCase &c : departureDayStays()) {
        for (const bool rule : {false, true}) {
            const QString free = yesNo(!(rule ? c.clashOn : c.clashOff));
            const QString calendar = rule ? QStringLiteral("departs") : QStringLiteral("booked");
            lines << QStringLiteral("%1 %2: step=%3 list=%3 save=%3 link=%3 dates=%3 move=%3 calendar=%4")
                         .arg(QLatin1String(c.name), rule ? QStringLiteral("on") : QStringLiteral("off"), free, calendar);
        }
    }
    const QString meeting = QStringLiteral("Room Turnover: booking A (2026-05-03 to 2026-05-06) and booking B "
                                           "(2026-05-06 to 2026-05-08) meet on 2026-05-06");
    lines << QStringLiteral("stored on: clashes=0 meetings=1 ") + meeting
          << QStringLiteral("stored off: clashes=0 meetings=1 ") + meeting << QStringLiteral("again off: save=taken");
    return lines;
}

QStringList ChannelStoreCases(Database &db)
{
    LocaleScope locale("en_US");
    QStringList lines;
    const auto day = [](int d) { return QDate(2041, 1, d); };
    const auto event = [&](const char *uid, int from, int to) {
        return FeedEvent{QLatin1String(uid), day(from), day(to), QStringLiteral("Reserved %1").arg(QLatin1String(uid))};
    };
    for (const bool rule : {false, true}) {
        SetDepartureDayFree(db, rule);
        const QString name = rule ? QStringLiteral("Ruled") : QStringLiteral("Plain");
        db.execute(QStringLiteral("INSERT INTO room (name) VALUES ('%1')").arg(name));
        const RecordId room = db.execute(QStringLiteral("SELECT max(id) FROM room")).value(0).toLongLong();
        const RecordId desk = CreateBooking(db, WallClock(day(1), QTime(9, 0)));
        SaveDatesStep(db, desk, QString(), WallClock(day(10), QTime(14, 0)), WallClock(day(12), QTime(10, 0)));
        SaveRoomsStep(db, desk, {room});
        db.execute(QStringLiteral("INSERT INTO channelfeed (roomid, Channel, Address) VALUES (%1, 'Bookit', 'x')").arg(room));
        const RecordId feed = db.execute(QStringLiteral("SELECT max(id) FROM channelfeed")).value(0).toLongLong();
        // Each store's outcome; its clashes and the room's stays after it
        // unless `brief`.
        const auto store = [&](const char *step, const QVector<FeedEvent> &events, bool brief = false) {
            const FeedOutcome o = StoreFeedEvents(db, feed, events);
            lines << QStringLiteral("%1 %2: added=%3 moved=%4 removed=%5 unchanged=%6")
                         .arg(name, QLatin1String(step))
                         .arg(o.added)
                         .arg(o.moved)
                         .arg(o.removed)
                         .arg(o.unchanged)
                  + (brief ? QStringLiteral(" clashes=%1").arg(o.clashes.size()) : QString());
            if (brief)
                return;
            for (const QString &clash : o.clashes)
                lines << QStringLiteral("  ")
                            + QString(clash).replace(QStringLiteral("booking %1 ").arg(desk), QStringLiteral("booking D "));
            for (Recordset rs = db.execute(QStringLiteral("SELECT b.FromDate, b.ToDate, c.LastName, b.Notes FROM bookingroom AS x "
                                                          "JOIN booking AS b ON b.ID = x.bookingid LEFT JOIN customer AS c ON "
                                                          "c.ID = b.CustomerID WHERE x.roomid = %1 ORDER BY b.FromDate")
                                               .arg(room));
                 !rs.eof(); rs.moveNext())
                lines << QStringLiteral("  %1 to %2 %3 %4").arg(rs.text(0), rs.text(1), rs.text(2), rs.text(3));
        };
        // Two clash with the desk's stay, one with another event; one
        // arrives on the desk's departure day.
        const QVector<FeedEvent> first{event("a", 1, 3),   event("b", 4, 7),   event("c", 11, 13),
                                       event("d", 20, 23), event("e", 22, 25), event("f", 12, 14)};
        store("new", first);
        lines << QStringLiteral("  found=%1").arg(FindBookings(db, QStringLiteral("Bookit")).bookings.size());
        store("again", first, true);
        // a moves onto days b leaves in the same feed; d is gone, which
        // frees e's days.
        store("moved", {event("a", 3, 5), event("b", 7, 9), event("e", 22, 25), event("f", 12, 14)});
        store("emptied", {});
        lines << QStringLiteral("  clashes stored=%1").arg(StoredClashes(db).size());
    }
    SetDepartureDayFree(db, false);
    return lines;
}

QStringList ExpectedChannelStoreCases()
{
    return {
        QStringLiteral("Plain new: added=3 moved=0 removed=0 unchanged=0"),
        QStringLiteral("  Room Plain, 1/11/2041 to 1/13/2041, Bookit: booking D (No name entered) holds it"),
        QStringLiteral("  Room Plain, 1/22/2041 to 1/25/2041, Bookit: booking 4 (Bookit) holds it"),
        QStringLiteral("  Room Plain, 1/12/2041 to 1/14/2041, Bookit: booking D (No name entered) holds it"),
        QStringLiteral("  1/1/2041 2:00:00 PM to 1/3/2041 10:00:00 AM Bookit Reserved a"),
        QStringLiteral("  1/4/2041 2:00:00 PM to 1/7/2041 10:00:00 AM Bookit Reserved b"),
        QStringLiteral("  1/10/2041 2:00:00 PM to 1/12/2041 10:00:00 AM  "),
        QStringLiteral("  1/20/2041 2:00:00 PM to 1/23/2041 10:00:00 AM Bookit Reserved d"),
        QStringLiteral("  found=3"),
        QStringLiteral("Plain again: added=0 moved=0 removed=0 unchanged=3 clashes=3"),
        QStringLiteral("Plain moved: added=1 moved=2 removed=1 unchanged=0"),
        QStringLiteral("  Room Plain, 1/12/2041 to 1/14/2041, Bookit: booking D (No name entered) holds it"),
        QStringLiteral("  1/3/2041 2:00:00 PM to 1/5/2041 10:00:00 AM Bookit Reserved a"),
        QStringLiteral("  1/7/2041 2:00:00 PM to 1/9/2041 10:00:00 AM Bookit Reserved b"),
        QStringLiteral("  1/10/2041 2:00:00 PM to 1/12/2041 10:00:00 AM  "),
        QStringLiteral("  1/22/2041 2:00:00 PM to 1/25/2041 10:00:00 AM Bookit Reserved e"),
        QStringLiteral("Plain emptied: added=0 moved=0 removed=3 unchanged=0"),
        QStringLiteral("  1/10/2041 2:00:00 PM to 1/12/2041 10:00:00 AM  "),
        QStringLiteral("  clashes stored=0"),
        QStringLiteral("Ruled new: added=4 moved=0 removed=0 unchanged=0"),
        QStringLiteral("  Room Ruled, 1/11/2041 to 1/13/2041, Bookit: booking D (No name entered) holds it"),
        QStringLiteral("  Room Ruled, 1/22/2041 to 1/25/2041, Bookit: booking 9 (Bookit) holds it"),
        QStringLiteral("  1/1/2041 2:00:00 PM to 1/3/2041 10:00:00 AM Bookit Reserved a"),
        QStringLiteral("  1/4/2041 2:00:00 PM to 1/7/2041 10:00:00 AM Bookit Reserved b"),
        QStringLiteral("  1/10/2041 2:00:00 PM to 1/12/2041 10:00:00 AM  "),
        QStringLiteral("  1/12/2041 2:00:00 PM to 1/14/2041 10:00:00 AM Bookit Reserved f"),
        QStringLiteral("  1/20/2041 2:00:00 PM to 1/23/2041 10:00:00 AM Bookit Reserved d"),
        QStringLiteral("  found=8"),  // with the four the plain room's feed dropped: kept, cancelled
        QStringLiteral("Ruled again: added=0 moved=0 removed=0 unchanged=4 clashes=2"),
        QStringLiteral("Ruled moved: added=1 moved=2 removed=1 unchanged=1"),
        QStringLiteral("  1/3/2041 2:00:00 PM to 1/5/2041 10:00:00 AM Bookit Reserved a"),
        QStringLiteral("  1/7/2041 2:00:00 PM to 1/9/2041 10:00:00 AM Bookit Reserved b"),
        QStringLiteral("  1/10/2041 2:00:00 PM to 1/12/2041 10:00:00 AM  "),
        QStringLiteral("  1/12/2041 2:00:00 PM to 1/14/2041 10:00:00 AM Bookit Reserved f"),
        QStringLiteral("  1/22/2041 2:00:00 PM to 1/25/2041 10:00:00 AM Bookit Reserved e"),
        QStringLiteral("Ruled emptied: added=0 moved=0 removed=4 unchanged=0"),
        QStringLiteral("  1/10/2041 2:00:00 PM to 1/12/2041 10:00:00 AM  "),
        QStringLiteral("  clashes stored=0"),
    };
}

}  // namespace innkeld::test
