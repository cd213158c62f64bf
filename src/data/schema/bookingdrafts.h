// When each new booking was begun, kept until its customer is stored: a
// booking left without a customer (the program closed in the middle, or a
// desk gone) is told from one being entered at another desk right now.
#pragma once

#include "schemapart.h"

namespace innkeld {

// The table, empty, in the terms both engines read: the booking's key and
// the wall-clock time it was begun (ISO 8601 text).
SchemaPart BookingDraftsPart();

}  // namespace innkeld
