// The house's rates, kept in the database so that every desk prices alike:
// the room categories with their prices and the beds of each room, the
// seasons with their prices per category (and a weekday price), the
// length-of-stay reductions. A room the house has not given a category
// belongs to the first one; a house that has set no rates yet has one
// category, "Standard", at its default cost per night.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart RateTablesPart();

}  // namespace innkeld
