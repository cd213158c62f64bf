// Returning guests: the earlier guests whose last name begins as the
// operator types it on the customer step, to fill the step from.
#pragma once

#include "data/sql/database.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace innkeld {

// An earlier guest whose last name begins as typed: from that guest's most
// recent booking.
struct ReturningGuest
{
    RecordId customerId = 0;
    QString firstName;
    QString lastName;
    QString city;
    QDateTime lastStay;  // the arrival of that booking
};

// The earlier guests (other than the booking `exceptBooking`'s) whose last
// name begins with `typed`, each guest (first and last name and city) once,
// the most recent stay first, at most `limit`. Throws DbError.
QVector<ReturningGuest> FindReturningGuests(Database &db, const QString &typed, RecordId exceptBooking,
                                            int limit = 12);

}  // namespace innkeld
