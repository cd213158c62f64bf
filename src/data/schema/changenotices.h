// What tells the other desks that the house's bookings changed. On a
// server, the engine's own triggers send a notification on the channel
// kChangesChannel after each statement that writes one of the tables a desk
// shows (its payload the table's name), whatever road wrote it; a file
// needs nothing, its engine counting the changes itself.
#pragma once

#include "schemapart.h"

namespace innkeld {

inline constexpr char kChangesChannel[] = "innkeld_changes";

// The tables whose writes are told.
QStringList NoticedTables();

SchemaPart ChangeNoticesPart();

}  // namespace innkeld
