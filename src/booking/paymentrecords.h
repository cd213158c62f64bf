// The payments a booking received, one by one: recorded (a refund is a
// negative amount), listed, and read for a receipt. The booking's amount
// paid is their sum; the engine keeps it so.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QVariant>
#include <QHash>
#include <QVector>

namespace innkeld {

struct Payment
{
    RecordId id = 0;
    RecordId bookingId = 0;
    QDate paidOn;
    qint64 cents = 0;
    QString method;
    QString note;
};

// Records a payment; refused (DbError, in the operator's words) for no
// amount, an amount past what can be kept, or a booking that is gone.
// Returns its key.
RecordId RecordPayment(Database &db, const Payment &payment);
// The booking's payments, in the order received.
QVector<Payment> PaymentsOf(Database &db, RecordId bookingId);
// The payments of many bookings at once, by booking.
QHash<RecordId, QVector<Payment>> PaymentsOfBookings(Database &db, const QVector<RecordId> &bookings);
// One payment. Throws DbError when there is none.
Payment ReadPayment(Database &db, RecordId paymentId);

// The booking's amount paid as stored (the sum of its payments); null
// when the booking is gone. Throws DbError.
QVariant AmountPaidOf(Database &db, RecordId bookingId);

}  // namespace innkeld
