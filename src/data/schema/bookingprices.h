// What the house charges beside the room and what each booking was priced
// at: the house's extras (breakfast a person and night, parking a night, a
// cleaning fee a stay), each with its own tax rate; each room's price of a
// booking as the rates gave it night by night, or as the operator set it by
// hand (who and when); the extras added to a booking, as they were priced
// then. A stored price is what the booking charges until the operator
// prices it again: the rates changing later do not touch it.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart BookingPricesPart();

}  // namespace innkeld
