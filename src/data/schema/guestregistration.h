// What the law asks a house to register of its guests on arrival, kept
// apart from the customer's address so that it can be erased when the law
// no longer asks it kept: the guest's date of birth, nationality and
// identity document (registration), and the companions of a booking with
// theirs (companion). Each belongs to a booking and goes with it.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart GuestRegistrationPart();

}  // namespace innkeld
