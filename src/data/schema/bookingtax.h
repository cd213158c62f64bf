// The sales tax a booking was priced with: its name and rate as the house's
// terms gave them when the payment step was stored, so that an invoice
// issued later shows the rate its amounts were worked out with, whatever
// the terms say by then. Kept in the database (a row of bookingtax for each
// booking priced since it was kept).
#pragma once

#include "schemapart.h"

#include <optional>

namespace innkeld {

SchemaPart BookingTaxPart();

struct BookingTax
{
    QString name;
    QString rate;  // the percentage as the terms store it ("19", "7.5")
};

// The tax the booking was priced with, when it was kept. Throws DbError.
std::optional<BookingTax> ReadBookingTax(Database &db, RecordId bookingId);
// Keeps it (in the caller's transaction, when there is one). Throws
// DbError (the engine refuses a booking that is not there).
void WriteBookingTax(Database &db, RecordId bookingId, const BookingTax &tax);

}  // namespace innkeld
