// What the law asks a house to register of its guests on arrival, kept
// apart from the customer's address so that it can be erased when the law
// no longer asks it kept: the guest's date of birth, nationality and
// identity document (registration), and the companions of a booking with
// theirs (companion). Each belongs to a booking and goes with it.
#pragma once

#include "schemapart.h"

#include <QDate>

namespace innkeld {

// Also the house's rule of how long they are kept (retention: the months
// after the departure, default 12; the days a full card number is kept
// after the departure, default 7), and the card numbers of the stays that
// ended masked as the part is added.
SchemaPart GuestRegistrationPart();

// The statement that masks the full card numbers of the bookings meeting
// `condition` (on booking's columns), keeping their last four digits
// ("**** 1234"); a number masked already, or of four digits or fewer, is
// left as it is.
QString MaskCardsSql(Engine engine, const QString &condition);
// The same mask as an expression of a column, for what is read out.
QString MaskedCardSql(const QString &column);
// The condition on booking of a card number kept longer than the stay
// needs on `today`: checked out, or departed more than `days` days before.
QString CardKeptTooLongSql(Engine engine, const QDate &today, int days);

}  // namespace innkeld
