// Moving a house between engines: every table of one database copied into
// another (a db.mdb to a server's database, or back).
#pragma once

#include "data/sql/database.h"

#include <functional>

namespace innkeld {

// Told of the rows copied so far and of all the rows to copy.
using CopyRowsProgress = std::function<void(qint64 done, qint64 total)>;

// Copies the rooms, customers, bookings and their rooms, the house's rule
// and the channels' settings, rooms, feeds and the bookings their feeds
// made from `source` into `target`, ids kept, in one transaction on the target, through the
// target's guard; then compares each table's count with the source's and
// sets the target's key counters past the copied keys. The target must hold
// none of them yet. Throws DbError (nothing is written then) with the
// engine's text, or naming the table whose count differs.
void CopyHouse(Database &source, Database &target, const CopyRowsProgress &progress = {});

}  // namespace innkeld
