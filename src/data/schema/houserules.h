// The rules of the house that every desk on one database follows, kept in
// the database itself (a table of one row, houserules), and what the stays
// stored make of them.
#pragma once

#include "schemapart.h"

#include <QStringList>

#include <functional>

namespace innkeld {

// Whether a room can be booked from the day its guest leaves ("same-day
// turnover"): two stays of one room then clash only when they share a
// night. Off unless the house turned it on. Throws DbError.
bool DepartureDayFree(Database &db);

// Stores the rule, in the caller's transaction or in one of its own. On a
// server it first waits for the bookings being written at other desks, as
// their guard does, so that no write is judged by a rule half changed.
// Throws DbError.
void SetDepartureDayFree(Database &db, bool free);

// The table of the rules with its one row, the rule off, in the terms both
// engines read.
SchemaPart HouseRulesPart();

// The rule as a condition of a statement, read when the statement runs:
// true when rooms can be booked from the day the guest leaves.
QString DepartureDayFreeSql();

// What the stays stored make of the rules: the pairs of bookings that hold
// one room for stays that clash by the rule in force (for the rule off:
// whichever of them is saved, as the rooms step decides), the links to a
// room or booking that is not there, and the pairs of stays of one room
// that share a day but no night (one guest arrives on the day the other
// leaves): stored while the rule was on, or in the order the rule off lets
// them be, they are no clash, but a new write of either is judged by the
// rule in force.
struct StoredStays
{
    QStringList clashes;       // "Room ...: booking ... and booking ... clash", "Link ...: ..."
    qint64 meetings = 0;       // pairs that meet on a day
    QStringList meetingLines;  // "Room ...: booking ... and booking ... meet on ...", when asked for
};

// Reads every link once, in the order of each room's stays (the time grows
// with the links, not with the links times the stays of a day). `progress`
// is told of the links read and the links to read; when it returns false
// the reading stops and the answer is false. Throws DbError.
bool ReadStoredStays(Database &db, StoredStays &out, bool describeMeetings,
                     const std::function<bool(qint64 done, qint64 total)> &progress = {});

}  // namespace innkeld
