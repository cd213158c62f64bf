// Helpers shared by the tests: a locale for the length of a scope, and a
// fresh booking database in a temporary folder.
#pragma once

#include "data/sql/database.h"

#include <QHash>
#include <QLocale>
#include <QTemporaryDir>

#include <memory>
#include <utility>

namespace innkeld::test {

// Sets the default locale and restores the previous one at the end of the scope.
class LocaleScope
{
public:
    explicit LocaleScope(const char *name) : m_previous(QLocale()) { QLocale::setDefault(QLocale(QLatin1String(name))); }
    ~LocaleScope() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

// Sets the time zone (TZ) for the length of a scope.
class TimeZoneScope
{
public:
    explicit TimeZoneScope(const QByteArray &zone);
    ~TimeZoneScope();

private:
    bool m_had;
    QByteArray m_previous;
};

// A zone of no country whose daylight-saving time starts at midnight
// today, so that today has no 00:00 in it.
QByteArray ZoneWithoutMidnightToday();

// Zones in which a day of 2026 has no midnight, with that day.
struct ZoneAndDay
{
    QByteArray zone;
    QDate day;
};
QList<ZoneAndDay> ZonesWithoutAMidnight();

// A temporary folder holding a new empty db.mdb.
// Marks a booking without a customer as begun in the wizard just now.
void markBegunNow(Database &db, RecordId booking);

class TempDatabase
{
public:
    TempDatabase();
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("db.mdb")); }
    Database &db();
    // Closes its connection; db() opens the database again.
    void close() { m_db.reset(); }
    // Runs a statement, failing the test loudly when it fails.
    Recordset run(const QString &sql);
    // Rows added through the cursors, as the program adds them.
    RecordId addRoom(const QString &name);
    RecordId addCustomer(const QString &first, const QString &last);
    RecordId addBooking(const QDateTime &from, const QDateTime &to, RecordId customer,
                        const QList<RecordId> &rooms = {});
    // A booking with a customer of that name.
    RecordId addGuest(const QDateTime &from, const QDateTime &to, const QString &first, const QString &last,
                      const QList<RecordId> &rooms = {});
    int count(const QString &table);
    // Deletes a booking as another desk would delete its draft: its guest
    // taken off first (a booking with a guest is kept by the engine).
    void discard(RecordId booking);
    // Writes as an earlier version of the program could: without the
    // database's guard, so that clashing stays can be stored; the guard
    // comes back with allowClashes(false), the stored clashes kept.
    void allowClashes(bool allow);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};

// A new empty database on the test run's own PostgreSQL server (started by
// the run, its address in the file INNKELD_TEST_SERVER names), dropped at the
// end. When there is no server, address() is empty and failure() says why:
// a test that needs the server fails with it.
class ServerDatabase
{
public:
    ServerDatabase();
    ~ServerDatabase();
    QString address() const { return m_address; }
    QString failure() const { return m_failure; }
    // Runs statements in the server's own terms on a connection of its own
    // (another desk, or the server's administrator).
    QString admin(const QString &sql);

private:
    QString m_server;   // the server's maintenance database
    QString m_name;
    QString m_address;
    QString m_failure;
};

}  // namespace innkeld::test

// Fails the test, saying why, when the run's server is not there.
#define REQUIRE_SERVER(server)                                                                  \
    do {                                                                                        \
        if ((server).address().isEmpty())                                                       \
            QFAIL(qPrintable(QStringLiteral("This test needs the run's PostgreSQL server: ") + (server).failure())); \
    } while (0)

namespace innkeld::test {

// A small house for finding bookings by what a guest tells: names with
// accents, apostrophes and other scripts, a business, phones written every
// way, stays around 12 March 2026, and a booking with no guest yet. Each
// booking is named by its guest's key word.
QHash<QString, RecordId> AddFindHouse(Database &db);

// What the searches of the find house find, by the key words of the
// bookings, in the order found: the typed text and the expected bookings.
QList<std::pair<QString, QStringList>> FindHouseSearches(const QHash<QString, RecordId> &house);

}  // namespace innkeld::test

namespace innkeld::test {

// The boundary cases of the house's rule on rooms free from the day the
// guest leaves, under both rules, on every road that decides a room is free
// (the rooms step and its list, its save, the dates step's save, the
// guard's link and change of dates, and the calendar's cell of the stored
// stay's departure day), in a database with no rooms: one line per case
// and rule, "case rule: road=answer ...". Then the stays stored meeting on
// a day, counted and checked with the rule on and again once it is off.
QStringList DepartureDayCases(Database &db);
// The lines DepartureDayCases should give.
QStringList ExpectedDepartureDayCases();

// A channel's feed stored into a room of its own, under both rules: new
// events (two clashing with the desk's stay, one with another event, one
// arriving on the desk's departure day), the same again, moved and gone
// ones, none. One line per store with what it did, its clashes and the
// room's stays; the channel's bookings found by its name; the stored
// clashes counted.
QStringList ChannelStoreCases(Database &db);
// The lines ChannelStoreCases should give.
QStringList ExpectedChannelStoreCases();

}  // namespace innkeld::test
