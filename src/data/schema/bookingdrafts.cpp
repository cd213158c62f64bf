#include "bookingdrafts.h"

#include <QCoreApplication>

namespace innkeld {

SchemaPart BookingDraftsPart()
{
    return TablesPart(QCoreApplication::translate("Upgrade", "Adding the bookings being begun"), {QStringLiteral("CREATE TABLE bookingdraft (bookingid bigint PRIMARY KEY, started text NOT NULL)")},
                      QStringLiteral("bookingdraft"));
}

}  // namespace innkeld
