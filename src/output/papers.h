// The papers a guest is handed, as markup laid out once (by the print
// preview, the printer and the PDF alike): the booking's confirmation and
// an invoice or credit note as it was issued. Each has the house's
// letterhead at its head (the logo is the image "logo:house", given by
// whoever lays it out) and its footer at its foot.
#pragma once

#include "data/schema/housedetails.h"
#include "data/sql/database.h"

#include <QString>

namespace innkeld {

struct Invoice;

// Where the markup shows the house's logo.
inline constexpr char kLogoName[] = "logo:house";

// The papers' word `text` (of the context "Paper") in `language` (empty:
// the desk's), English where there is no translation.
QString PaperWord(const char *text, const QString &language);

// A paper of the house: its letterhead, `body` (markup), its footer.
QString LetterheadPaper(const HouseDetails &house, const QString &body);

// The confirmation of a booking: every line of the plain confirmation (the
// stay, the party, the charges, the payment, the guest's contact details),
// with the letterhead, the booking's number, its rooms by name, the nights
// and the balance due. The booking not found gives the heading alone.
// Each paper is in `language` ("de"; empty: the desk's).
QString ConfirmationPaper(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName,
                          const QString &language = QString());

// An invoice or credit note, from what was stored at its issue.
QString InvoicePaper(const Invoice &invoice, const QString &language = QString());

// The receipt of a payment: the letterhead, the payment (its day, amount,
// method and note), the guest and the booking, what the booking costs, what
// it received in all and what is still due. Throws DbError when the payment
// or its booking is gone.
// The registration cards of these bookings, one a page in one paper, each
// in its booking's papers' language: what the law asks of a guest on
// arrival, filled in where it is known, a blank line where it is not, and a
// line for the guest's signature; the law of `houseCountry` (an ISO code)
// named when the program knows it. Throws DbError (BookingGone).
QString RegistrationCardsPaper(Database &db, const QVector<RecordId> &bookings, const QString &houseCountry);

QString ReceiptPaper(Database &db, RecordId paymentId, const QString &currencySymbol,
                     const QString &language = QString());

}  // namespace innkeld
