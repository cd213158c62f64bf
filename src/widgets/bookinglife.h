// The desk's changes of a booking's status, as every window offers them:
// each asks what it must through the seam, says a refusal in plain words,
// and returns whether the booking was changed.
#pragma once

#include "booking/bookingstatus.h"
#include "widgets/uiservices.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;

namespace innkeld {

// Asks whether to cancel a booking: the reason, a note and a fee.
class CancelBookingDialog : public QDialog
{
    Q_OBJECT
public:
    CancelBookingDialog(QWidget *parent, RecordId bookingId, const QString &guest);
    // What the operator chose; the fee as typed is read by `change()`,
    // which says why it cannot be (empty: it can).
    StatusChange change(QString *why) const;

    void accept() override;

private:
    QComboBox *m_reason;
    QLineEdit *m_note;
    QLineEdit *m_fee;
};

struct BookingLife
{
    UiServices &ui;
    QWidget *parent;
    Database &db;

    bool checkIn(RecordId bookingId, BookingStatus shown) const;
    // A balance due is said first, with Record Payment offered:
    // `recordPayment` opens the payments of the booking (none: not offered).
    bool checkOut(RecordId bookingId, BookingStatus shown, const std::function<void(RecordId)> &recordPayment) const;
    bool cancel(RecordId bookingId, BookingStatus shown, const QString &guest) const;
    bool restore(RecordId bookingId, BookingStatus shown) const;
    bool noShow(const QVector<QPair<RecordId, BookingStatus>> &bookings) const;
};

}  // namespace innkeld
