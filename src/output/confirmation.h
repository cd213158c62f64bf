// The booking confirmation as plain text, built line by line: the lines
// every printed confirmation holds (papers.h lays them out for printing).
#pragma once

#include "data/sql/database.h"

#include <QString>

namespace innkeld {

// Appends one line and its CR LF.
void AddLine(QString &document, const QString &line);

// The confirmation of booking B, with the regional words given (the
// currency symbol and the sales-tax name as the labels show them). Lines 1
// and 2 only when the booking is not found; no contact section without a
// customer row.
QString ConfirmationDocument(Database &db, RecordId bookingId, const QString &currencySymbol,
                             const QString &taxName);


}  // namespace innkeld
