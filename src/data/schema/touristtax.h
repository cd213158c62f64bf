// The tourist tax many towns levy on a guest's nights, as the house has it
// set up: an amount per person and night, an age under which children pay
// none, and a cap on the nights of a stay that are taxed. Kept in the
// database (a table of one row, touristtax) so that every desk reports the
// same; none set up is an amount of nothing.
#pragma once

#include "schemapart.h"

namespace innkeld {

struct TouristTax
{
    qint64 cents = 0;      // per person and night, in hundredths
    int freeUnderAge = 0;  // 0: children pay as adults do
    int capNights = 0;     // 0: every night of a stay is taxed
    bool setUp() const { return cents > 0; }
};

SchemaPart TouristTaxPart();

// The tourist tax as the house has it; none set up when no desk stored it.
// Throws DbError.
TouristTax ReadTouristTax(Database &db);
// Stores it for every desk. Throws DbError (the engine refuses a negative
// amount, age or cap).
void WriteTouristTax(Database &db, const TouristTax &tax);

}  // namespace innkeld
