// The tables of the booking channels, which every desk shares: where the
// rooms' feeds are written and whether channels are fetched by themselves
// (channelsettings, one row), which rooms are shared (channelroom), the
// channels' feeds of each room (channelfeed), and the bookings an import
// made, by the feed and the event they came from (channelbooking).
#pragma once

#include "data/database.h"

#include <QStringList>

namespace innkeld {

// The tables, their one settings row and what keeps them in step with the
// rooms and bookings, in the engine's terms.
QStringList ChannelTableStatements(Engine engine);

// A file's triggers refusing a link of these tables to a room, booking or
// feed that is not there (the server's foreign keys).
QStringList ChannelLinkGuards();

// The names of the tables and triggers a SQLite database needs of them.
QStringList ChannelTableParts();

}  // namespace innkeld
