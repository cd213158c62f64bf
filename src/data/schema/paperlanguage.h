// The language a booking's papers (confirmation, invoice, receipt) are
// printed in, whatever the desk's: the guest's. Kept in the database (a
// row of bookinglanguage for each booking that has one; none: the
// printing desk's language).
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart PaperLanguagePart();

// The booking's papers' language ("de"), or empty: the desk's. Throws DbError.
QString BookingPaperLanguage(Database &db, RecordId bookingId);
// Sets it; empty: the desk's. Throws DbError (the engine refuses a booking
// that is not there, or a code that is no language's).
void SetBookingPaperLanguage(Database &db, RecordId bookingId, const QString &language);

}  // namespace innkeld
