#include "paymentrecords.h"

#include "data/regional/regional.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

Payment paymentOf(const Recordset &r)
{
    return Payment{r.value(0).toLongLong(), r.value(1).toLongLong(), QDate::fromString(r.text(2), Qt::ISODate),
                   r.value(3).toLongLong(), r.text(4), r.text(5)};
}

const char *const kColumns = "SELECT id, BookingID, PaidOn, AmountCents, Method, Note FROM payment ";

QString literal(const QString &text)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, false)) + QLatin1Char('\'');
}

}  // namespace

RecordId RecordPayment(Database &db, const Payment &p)
{
    if (p.cents == 0)
        throw DbError(QCoreApplication::translate("Payments", "A payment has an amount: enter what the guest paid (a refund as a negative amount)."));
    if (!IsStorableAmount(double(p.cents) / 100.0))
        throw DbError(QCoreApplication::translate("Payments", "%1 is more than an amount this program keeps.").arg(FormatMoney(double(p.cents) / 100.0)));
    if (!p.paidOn.isValid())
        throw DbError(QCoreApplication::translate("Payments", "A payment has the day it was received."));
    Database::Transaction tx(db);
    if (db.execute(QStringLiteral("SELECT ID FROM booking WHERE ID = %1").arg(p.bookingId)).eof())
        throw BookingGone();
    const Recordset made = db.query(QStringLiteral("INSERT INTO payment (BookingID, PaidOn, AmountCents, Method, Note) "
                                                   "VALUES (%1, %2, %3, %4, %5) RETURNING id")
                                        .arg(QString::number(p.bookingId), literal(p.paidOn.toString(Qt::ISODate)),
                                             QString::number(p.cents), literal(p.method), literal(p.note)));
    const RecordId id = made.value(0).toLongLong();
    tx.commit();
    return id;
}

QVector<Payment> PaymentsOf(Database &db, RecordId bookingId)
{
    return PaymentsOfBookings(db, {bookingId}).value(bookingId);
}

QHash<RecordId, QVector<Payment>> PaymentsOfBookings(Database &db, const QVector<RecordId> &bookings)
{
    QHash<RecordId, QVector<Payment>> payments;
    for (int at = 0; at < bookings.size(); at += 500) {
        QStringList ids;
        for (const RecordId id : bookings.mid(at, 500))
            ids << QString::number(id);
        for (Recordset r = db.query(QLatin1String(kColumns)
                                    + QStringLiteral("WHERE BookingID IN (%1) ORDER BY BookingID, PaidOn, id").arg(ids.join(QLatin1Char(','))));
             !r.eof(); r.moveNext()) {
            const Payment p = paymentOf(r);
            payments[p.bookingId] << p;
        }
    }
    return payments;
}

Payment ReadPayment(Database &db, RecordId paymentId)
{
    const Recordset r = db.query(QLatin1String(kColumns) + QStringLiteral("WHERE id = %1").arg(paymentId));
    if (r.eof())
        throw DbError(QCoreApplication::translate("Payments", "There is no payment %1.").arg(paymentId));
    return paymentOf(r);
}

QVariant AmountPaidOf(Database &db, RecordId bookingId)
{
    const Recordset paid = db.execute(QStringLiteral("SELECT AmountPayed FROM booking WHERE ID = %1").arg(bookingId));
    return paid.eof() ? QVariant() : paid.value(0);
}

}  // namespace innkeld
