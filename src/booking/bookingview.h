// What each step of the booking wizard shows of a stored booking, read in
// the core beside the steps' writes (bookingstore): one load a step, each
// returning a plain record that the wizard maps to its controls. The
// printed confirmation reads through the same load as the confirmation step.
#pragma once

#include "data/sql/database.h"
#include "booking/availability.h"
#include "booking/bookingstore.h"
#include "booking/payment.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace innkeld {

// Step 1: the dates, the booked-by name and the notes.
struct DatesView
{
    bool found = false;  // false: the booking is not there
    QDateTime from;
    QDateTime to;
    QString bookedBy;
    QString notes;
};
DatesView LoadDatesStep(Database &db, RecordId bookingId);

// Step 2: the rooms free for the stay as stored (for `arrival` and
// `departure` when the booking is not there) and those it holds.
struct RoomsView
{
    QVector<FreeRoom> free;
    QVector<RecordId> held;
};
RoomsView LoadRoomsStep(Database &db, RecordId bookingId, const QVariant &arrival, const QVariant &departure);

// Step 3: the counts as stored and the customer's eleven fields (empty when
// the booking has no customer row, or its row is gone).
struct CustomerView
{
    bool found = false;
    QString adults;
    QString children;
    bool hasCustomer = false;  // the booking points at a customer (the row may be gone)
    CustomerDetails customer;
};
CustomerView LoadCustomerStep(Database &db, RecordId bookingId);
// The eleven fields of a customer row; false when there is no such row.
bool LoadCustomerDetails(Database &db, RecordId customerId, CustomerDetails *details);

// Step 4: the stay, the nine payment fields as stored (the cost per night
// formatted as money), and the rooms the booking holds.
struct PaymentView
{
    bool found = false;
    QDateTime from;
    QDateTime to;
    PaymentDetails payment;
    int roomCount = 0;
    QStringList roomNames;
};
PaymentView LoadPaymentStep(Database &db, RecordId bookingId);

// The names of the rooms the booking holds, in the order they were linked
// (as its papers list them).
QStringList BookedRoomNames(Database &db, RecordId bookingId);

// The parts that are there, trimmed, with the separator between them.
QString JoinedParts(const QStringList &parts, const QString &separator);

// The customer's contact block: name line, address line, phone line,
// joined by CR LF; only the parts that are there, with their separators
// ("Malmo. Sweden", not ", , Malmo,  . Sweden"), the phone after the
// desk's "ph:".
QString ContactText(const Recordset &customer);
// The customer's fields the block is made of (BusinessName, FirstName,
// LastName, Address1, Address2, City, State, PostCode, Country, Phone,
// Email), and the block made of them with the phone after `phoneLabel`.
QStringList ContactFields(const Recordset &customer);
QString ContactLines(const QStringList &fields, const QString &phoneLabel);

// Step 5 and the printed confirmation: the stay, the party, the amounts
// (with the rooms counted) and the customer's contact, when there is one.
struct ConfirmView
{
    bool found = false;
    QString notes;
    QDateTime from;
    QDateTime to;
    QVariant adults;    // as stored
    QVariant children;  // as stored
    BookingAmounts amounts;
    BookingCharges charges;  // the rooms' prices and extras, as stored
    QString paymentMethod;
    QString cardType;
    QString cardNo;
    QString cardExpiry;
    bool hasContact = false;
    QString contact;  // ContactText of the customer's row
    QStringList contactFields;  // ContactFields of it
};
ConfirmView LoadConfirmStep(Database &db, RecordId bookingId);

}  // namespace innkeld
