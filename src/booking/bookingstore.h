// Writing a booking step by step: each step's statements run in one
// transaction, so a failure leaves nothing of the step half-written.
#pragma once

#include "booking/charges.h"
#include "data/schema/bookingtax.h"
#include "data/sql/database.h"

#include <QStringList>

#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace innkeld {

// The customer's eleven fields, in this order.
using CustomerDetails = std::array<QString, 11>;
extern const std::array<const char *, 11> kCustomerColumns;  // FirstName ... BusinessName

// The payment step's nine fields, in this order.
using PaymentDetails = std::array<QString, 9>;
extern const std::array<const char *, 9> kPaymentColumns;  // CostPerNight ... CreditCardType

// The customer row of a booking, as the steps and the confirmation read it.
QString CustomerSql(RecordId customerId);

// A new booking row: arrival now, departure a day later, empty texts.
// Returns its key.
RecordId CreateBooking(Database &db, const QDateTime &now);

// A new booking for a stay chosen by hand (free days of a room on the
// chart): made as CreateBooking makes one, with those dates (arrival and
// departure at the time of day `now` has) and that room, in one
// transaction; the draft is `draft` instead when given (a booking begun
// and not yet given a guest). Throws RoomsTaken or RoomsGone, storing
// nothing, when the room was booked or removed meanwhile.
RecordId CreateBookingForStay(Database &db, const QDateTime &now, RecordId room, const QDate &arrival,
                              const QDate &departure, RecordId draft = 0);



// Rooms chosen on the rooms step that cannot be linked: nothing of the
// step is written.
class RoomsRefused : public DbError
{
public:
    RoomsRefused(const QString &message, const QStringList &names) : DbError(message), m_names(names) {}
    QStringList rooms() const { return m_names; }

private:
    QStringList m_names;
};

// A message naming one room or several: `one` and `many` hold %1 for the
// room's name or the names.
QString RoomsMessage(const QStringList &names, const char *one, const char *many);

// Booked at another desk for the same dates since the step was shown.
class RoomsTaken : public RoomsRefused
{
public:
    explicit RoomsTaken(const QStringList &names)
        : RoomsRefused(RoomsMessage(names, "The room %1 was booked meanwhile for these dates. Choose another room.",
                                    "The rooms %1 were booked meanwhile for these dates. Choose other rooms."),
                       names)
    {
    }
};

// Removed from the house at another desk since the step was shown.
class RoomsGone : public RoomsRefused
{
public:
    explicit RoomsGone(const QStringList &names)
        : RoomsRefused(RoomsMessage(names, "The room %1 was removed from the house meanwhile. Choose another room.",
                                    "The rooms %1 were removed from the house meanwhile. Choose other rooms."),
                       names)
    {
    }
};

// What the operator is told of the rooms a change of dates took off the
// booking (empty text for none).
QString RoomsTakenOffMessage(const QStringList &names);

// Deletes a booking that has no guest yet (the wizard's draft) and its
// room links; the engine refuses any other (it is cancelled instead).
void DiscardBooking(Database &db, RecordId bookingId);

// Whether the booking's customer is stored (a new booking has none until
// the customer step is saved).
bool BookingHasCustomer(Database &db, RecordId bookingId);

// A booking left without a customer: it holds its rooms but is in no list
// and no search.
struct UnfinishedBooking
{
    RecordId id = 0;
    QDateTime from, to;
};
// The bookings without a customer begun more than a day before `now` (or
// by an earlier version), in the order they were made. Throws DbError.
QVector<UnfinishedBooking> UnfinishedBookings(Database &db, const QDateTime &now);
// Removes the bookings as Cancel does, all in one transaction.
void RemoveBookings(Database &db, const QVector<RecordId> &bookingIds);

QString DatesStepSql(const QString &bookedBy, const QDateTime &from, const QDateTime &to, RecordId bookingId);
// Writes the dates and the booked-by name. Each room the booking holds that
// another booking holds on clashing days of the new dates (the rooms step's
// rule) is taken off the booking in the same transaction; returns their
// names, in the order the booking holds them.
QStringList SaveDatesStep(Database &db, RecordId bookingId, const QString &bookedBy, const QDateTime &from,
                          const QDateTime &to);

// Replaces the booking's room links with exactly these rooms; `names` are
// the rooms' names as the step showed them (for a room gone meanwhile).
// Throws RoomsGone or RoomsTaken, writing nothing, when a room was removed
// or booked for clashing days since.
void SaveRoomsStep(Database &db, RecordId bookingId, const QVector<RecordId> &rooms,
                   const QStringList &names = QStringList());

// The counts enter the statement as plain numbers with "." as decimal
// point, whatever the region writes in the boxes.
QString CountsStepSql(const QString &adults, const QString &children, RecordId bookingId);
QString CustomerUpdateSql(const CustomerDetails &customer, RecordId customerId);
// Writes the counts, then updates the booking's own customer row, or inserts
// one and links it when the booking has none (or its customer row is gone).
void SaveCustomerStep(Database &db, RecordId bookingId, const QString &adults, const QString &children,
                      const CustomerDetails &customer);

// The amount paid was changed at another desk (a payment recorded) since
// the step showed it: nothing of the step is written.
class PaidMeanwhile : public DbError
{
public:
    PaidMeanwhile(const QString &message, const QString &paidNow) : DbError(message), m_paid(paidNow) {}
    // The amount paid now, as the step shows an amount.
    QString paidNow() const { return m_paid; }

private:
    QString m_paid;
};

// `withPaid` false leaves the amount paid as it is stored.
QString PaymentStepSql(const PaymentDetails &payment, RecordId bookingId, bool withPaid = true);
// Writes the step. The amount paid is written only when the operator
// changed it from `shownPaid`, what the step showed; when it was changed
// meanwhile at another desk, throws PaidMeanwhile and writes nothing.
// `tax`, when given, is kept as the tax the booking was priced with;
// `charges`, when given, replace what the booking charges room by room and
// its extras, in the same transaction.
void SavePaymentStep(Database &db, RecordId bookingId, const PaymentDetails &payment,
                     const QString &shownPaid = QString(), const std::optional<BookingTax> &tax = std::nullopt,
                     const BookingCharges *charges = nullptr);

QString NotesSql(const QString &notes, RecordId bookingId);
void SaveNotes(Database &db, RecordId bookingId, const QString &notes);

}  // namespace innkeld
