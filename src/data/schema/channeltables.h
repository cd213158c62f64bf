// The tables of the booking channels, which every desk shares: where the
// rooms' feeds are written and whether channels are fetched by themselves
// (channelsettings, one row), which rooms are shared (channelroom), the
// channels' feeds of each room (channelfeed), and the bookings an import
// made, by the feed and the event they came from (channelbooking).
#pragma once

#include "schemapart.h"

namespace innkeld {

// The tables, their one settings row and what keeps them in step with the
// rooms and bookings, in each engine's terms.
SchemaPart ChannelTablesPart();

}  // namespace innkeld
