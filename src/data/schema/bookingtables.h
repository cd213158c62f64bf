// The booking tables (booking, customer, room and the links of bookings to
// rooms) with their indexes, the stays index and the guard, in both
// engines' terms; and the guard's conditions, for the statements that must
// agree with it.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart BookingTablesPart();
// The stays index by room (room_stay: one row a link of a booking to a
// room, the room and its stay's first and last day as Julian day numbers).
SchemaPart RoomStaysPart();

// The program's four tables, and the refusal of a database without one.
const QStringList &ProgramTables();
void RequireProgramTables(const Schema &schema, const QString &databaseName);
// The program's spelling of the columns of booking and customer (a server
// keeps names in lower case).
const QStringList &SpelledColumns();

// The statement each write's transaction begins with on a server: one
// writer at a time, as SQLite's write lock (empty for SQLite).
QString WriteLockSql(Engine engine);
// The statement the schema is made or upgraded under on a server: the same
// lock, which the writers then wait for.
QString SchemaLockSql();

// Whether the booking's row is there.
bool BookingExists(Database &db, RecordId bookingId);

// Within a transaction: the check of each link written to bookingroom set
// aside (`suspend`) or back in place, for writing very many links at once
// and checking them all in one statement (StoredClashes) before the commit.
void SuspendLinkGuard(Database &db, bool suspend);

// The rooms step's rule in the engine's terms, as the guard applies it: the
// stay stored from `from` to `to` (columns or expressions), taken from the
// midnight of its days, clashes with the other stay stored from `otherFrom`
// to `otherTo` when its first or last day lies within the other stay, both
// ends included, or the other stay lies wholly within it.
QString StaysClashSql(const QString &from, const QString &to, const QString &otherFrom, const QString &otherTo,
                      Engine engine = Engine::SQLite);

// The guard's condition that another booking than `booking` holds `room` for
// a stay that clashes with the stay from `from` to `to` (columns or
// expressions), by the house's rule as the statement runs, in the engine's
// terms: what every write is judged by, and what a check asked of many stays
// at once must use to agree with it.
QString ClashExistsSql(Engine engine, const QString &booking, const QString &room, const QString &from,
                       const QString &to);
// The same stays' holder: a scalar subquery giving the key of the first
// other booking that holds `room` on clashing days (NULL when none does).
QString ClashingBookingSql(Engine engine, const QString &booking, const QString &room, const QString &from,
                           const QString &to);

// The condition on the stays index `alias` that finds the stays sharing a
// night with the days from `firstDay` to `lastDay`: each one's first day is
// before the other's last day (whole days; a stay's first and last day are
// the earlier and the later of its two dates). The rule when rooms can be
// booked from the day the guest leaves.
QString StaysShareNightSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay);

// The condition on the stays index `alias` (booking_stay: one row a booking,
// its first and last day as Julian day numbers) that finds the stays
// touching the days from `firstDay` to `lastDay`, both included, in the
// engine's terms: an R*Tree search in SQLite, a range search over a GiST
// index in PostgreSQL.
QString StaysTouchingSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay);
// The condition on the stays index by room `alias` (room_stay) that finds
// the stays of the rooms `rooms` touching the days from `firstDay` to
// `lastDay`, both included, in the engine's terms: what it reads follows
// the rooms and days asked for.
QString RoomStaysTouchingSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay,
                             const QVector<RecordId> &rooms);
// The Julian day number of a stored date or date and time, in the engine's
// terms, as the stays index holds it.
QString DayNumberSql(Engine engine, const QString &date);
// The same for reading many rows: on a file, a date stored as the program
// stores it is read by the engine's own function (innkeld_day), anything
// else by that expression.
QString ManyDayNumbersSql(Engine engine, const QString &date);

}  // namespace innkeld
