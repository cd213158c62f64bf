#include "bookingdrafts.h"

namespace innkeld {

SchemaPart BookingDraftsPart()
{
    return TablesPart({QStringLiteral("CREATE TABLE bookingdraft (bookingid bigint PRIMARY KEY, started text NOT NULL)")},
                      QStringLiteral("bookingdraft"));
}

}  // namespace innkeld
