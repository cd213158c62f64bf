#include "bookingdrafts.h"

namespace innkeld {

SchemaPart BookingDraftsPart()
{
    return TablesPart(QStringLiteral("Adding the bookings being begun"), {QStringLiteral("CREATE TABLE bookingdraft (bookingid bigint PRIMARY KEY, started text NOT NULL)")},
                      QStringLiteral("bookingdraft"));
}

}  // namespace innkeld
