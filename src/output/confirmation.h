// The printed booking confirmation: a plain-text document built line by
// line, written to a new file in the temporary folder.
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

// Writes the document to a new file named Con*.txt in the temporary folder,
// in the system's encoding, and returns its path. Each call makes a new
// file. Throws std::runtime_error with the system's text on failure.
QString WriteConfirmationFile(const QString &document);

}  // namespace innkeld
