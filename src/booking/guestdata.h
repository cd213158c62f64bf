// A guest's own data, as the GDPR gives them: everything the house holds
// about a guest (the guest's details, bookings, payments, invoices and
// registration details) handed over, and the guest erased once no booking
// of theirs is still to come, the issued invoices kept as they were issued
// because the law keeps them.
#pragma once

#include "data/sql/database.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

namespace innkeld {

// The bookings of the guest of `bookingId`: the bookings whose guest has
// the same first and last name and the same e-mail address (the same town
// when there is no address), the given one first. Throws DbError.
QVector<RecordId> BookingsOfGuest(Database &db, RecordId bookingId);

// Everything the house holds about the guest of those bookings, as JSON
// (machine-readable) and as a page a person reads (HTML; the card numbers
// masked in both). Throws DbError.
struct GuestData
{
    QByteArray json;
    QString html;
    QString name;
};
GuestData ReadGuestData(Database &db, const QVector<RecordId> &bookings);

// Why the guest cannot be erased on `today` (a booking that has not ended:
// not checked out, cancelled or a no-show, and not departed before today),
// in plain words; empty when it can. Throws DbError.
QString EraseRefusal(Database &db, const QVector<RecordId> &bookings, const QDate &today);
// Replaces the guest's personal fields in every one of those bookings by
// an anonymous mark, deletes their registration details and masks their
// card numbers, in one transaction; issued invoices are left as issued.
// Throws DbError (with EraseRefusal's words when refused).
void EraseGuest(Database &db, const QVector<RecordId> &bookings, const QDate &today);

// The mark an erased guest's name is replaced by.
QString ErasedMark();

}  // namespace innkeld
