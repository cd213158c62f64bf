#include "bookinglife.h"

#include "data/regional/regional.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace innkeld {

CancelBookingDialog::CancelBookingDialog(QWidget *parent, RecordId bookingId, const QString &guest)
    : QDialog(parent), m_reason(new QComboBox(this)), m_note(new QLineEdit(this)), m_fee(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmCancelBooking"));
    setWindowTitle(tr("Cancel Booking"));
    auto *column = new QVBoxLayout(this);
    auto *question = new QLabel(
        tr("Cancel booking %1 for %2?\n\nThe booking is kept as cancelled, with its payments; its rooms are free at once. "
           "A cancellation fee is charged on its invoice.")
            .arg(bookingId)
            .arg(guest),
        this);
    question->setObjectName(QStringLiteral("lblQuestion"));
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    column->addWidget(question);
    auto *form = new QFormLayout;
    m_reason->setObjectName(QStringLiteral("cboReason"));
    for (CancelReason r : CancelReasons())
        m_reason->addItem(ReasonLabel(r), ReasonCode(r));
    m_note->setObjectName(QStringLiteral("txtReasonNote"));
    m_note->setMaxLength(4000);
    m_fee->setObjectName(QStringLiteral("txtFee"));
    m_fee->setPlaceholderText(FormatMoney(0));
    const auto row = [&](const QString &caption, QWidget *field, const char *name) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(QLatin1String(name));
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(tr("&Reason:"), m_reason, "lblReason");
    row(tr("&Note:"), m_note, "lblReasonNote");
    row(tr("Cancellation &fee:"), m_fee, "lblFee");
    column->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::No)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    m_reason->setFocus();
}

StatusChange CancelBookingDialog::change(QString *why) const
{
    StatusChange c;
    c.to = BookingStatus::Cancelled;
    c.reason = ReasonFromCode(m_reason->currentData().toString());
    c.note = m_note->text().trimmed();
    why->clear();
    if (!m_fee->text().trimmed().isEmpty()) {
        const std::optional<qint64> cents = ReadAmountCents(m_fee->text(), why);
        if (!cents)
            return c;
        if (*cents < 0) {
            *why = tr("A cancellation fee is never below nothing.");
            return c;
        }
        c.feeCents = *cents;
    }
    return c;
}

void CancelBookingDialog::accept()
{
    QString why;
    change(&why);
    if (!why.isEmpty()) {
        m_fee->setFocus();
        m_fee->selectAll();
        m_fee->setToolTip(why);
        return;
    }
    QDialog::accept();
}

namespace {

QString money(qint64 cents)
{
    return FormatMoney(double(cents) / 100.0);
}

}  // namespace

bool BookingLife::checkIn(RecordId bookingId, BookingStatus shown) const
{
    return RunGuarded(ui, parent, [&] { ChangeBookingStatus(db, bookingId, shown, StatusChange{BookingStatus::CheckedIn}); });
}

bool BookingLife::checkOut(RecordId bookingId, BookingStatus shown,
                           const std::function<void(RecordId)> &recordPayment) const
{
    qint64 due = 0;
    if (!RunGuarded(ui, parent, [&] { due = BalanceDueCents(db, bookingId); }))
        return false;
    if (due > 0) {
        const QString owes = QCoreApplication::translate("BookingLife", "The guest still owes %1.").arg(money(due));
        if (recordPayment) {
            const QMessageBox::StandardButton answer = ui.message(
                parent,
                owes + QStringLiteral("\n\n")
                    + QCoreApplication::translate("BookingLife", "Record a payment before checking out? Yes opens the "
                                                                 "payments, then checks out; No checks out with the "
                                                                 "balance due; Cancel goes back."),
                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel)
                return false;
            if (answer == QMessageBox::Yes)
                recordPayment(bookingId);
        } else if (ui.message(parent, owes + QStringLiteral("\n\n") + QCoreApplication::translate("BookingLife", "Check out with the balance due?"),
                              QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
                   != QMessageBox::Yes) {
            return false;
        }
    }
    return RunGuarded(ui, parent, [&] { ChangeBookingStatus(db, bookingId, shown, StatusChange{BookingStatus::CheckedOut}); });
}

bool BookingLife::cancel(RecordId bookingId, BookingStatus shown, const QString &guest) const
{
    if (!StatusChangeAllowed(shown, BookingStatus::Cancelled)) {
        ui.message(parent,
                   QCoreApplication::translate("BookingLife", "The booking %1 is %2: only a booking not yet checked in can "
                                                              "be cancelled.")
                       .arg(bookingId)
                       .arg(StatusLabel(shown).toLower()),
                   QMessageBox::Information);
        return false;
    }
    CancelBookingDialog dialog(parent, bookingId, guest);
    if (ui.askDialog(dialog) != QDialog::Accepted)
        return false;
    QString why;
    const StatusChange change = dialog.change(&why);
    if (!why.isEmpty()) {
        ui.message(parent, why, QMessageBox::Warning);
        return false;
    }
    return RunGuarded(ui, parent, [&] { ChangeBookingStatus(db, bookingId, shown, change); });
}

bool BookingLife::restore(RecordId bookingId, BookingStatus shown) const
{
    return RunGuarded(ui, parent, [&] { ChangeBookingStatus(db, bookingId, shown, StatusChange{BookingStatus::Booked}); });
}

bool BookingLife::noShow(const QVector<QPair<RecordId, BookingStatus>> &bookings) const
{
    if (bookings.isEmpty())
        return false;
    const QString question = bookings.size() == 1
        ? QCoreApplication::translate("BookingLife", "Mark booking %1 a no-show? Its rooms are free at once; its payments "
                                                     "stay as they are.")
              .arg(bookings.first().first)
        : QCoreApplication::translate("BookingLife", "Mark these %1 bookings no-shows? Their rooms are free at once; their "
                                                     "payments stay as they are.")
              .arg(bookings.size());
    if (ui.message(parent, question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    StatusChange change{BookingStatus::NoShow};
    change.reason = CancelReason::NoShow;
    return RunGuarded(ui, parent, [&] { ChangeBookingStatuses(db, bookings, change); });
}

}  // namespace innkeld
