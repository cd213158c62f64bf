#include "bookingdrafts.h"

namespace innkeld {

QStringList BookingDraftStatements()
{
    return {QStringLiteral("CREATE TABLE bookingdraft (bookingid bigint PRIMARY KEY, started text NOT NULL)")};
}

}  // namespace innkeld
