// The booking wizard: the booking panel with its progress box, notes, the
// Back/Next/Cancel buttons and the five steps (dates, rooms, customer,
// payment, confirmation). It starts or resumes a booking, shows each step
// filled from the database, writes each step when it is left, keeps the
// payment amounts computed, and prints the confirmation.
#pragma once

#include "booking/bookingstatus.h"
#include "booking/charges.h"
#include "widgets/uiservices.h"

#include "data/sql/database.h"

#include <QFrame>
#include <QList>

#include <functional>
#include <memory>

class QCompleter;
class QLabel;
class QLineEdit;
class QModelIndex;
class QTableWidgetItem;
class QStandardItemModel;

namespace Ui {
class BookingWizard;
class DatesStep;
class RoomsStep;
class CustomerStep;
class PaymentStep;
class ConfirmStep;
}  // namespace Ui

namespace innkeld {

class RegionalTerms;

// What the operator chose of the bookings a run left unfinished.
struct UnfinishedOffer
{
    RecordId resume = 0;   // the booking to open and finish
    bool removed = false;  // they were removed
};

class BookingWizard : public QFrame, public ServiceClient
{
    Q_OBJECT
public:
    explicit BookingWizard(QWidget *parent = nullptr);
    ~BookingWizard() override;
    BookingWizard(const BookingWizard &) = delete;
    BookingWizard &operator=(const BookingWizard &) = delete;
    void setConnection(Database *db);
    void setTerms(RegionalTerms *terms);

    // The state of a program that has just started: no booking opened from
    // a list, the first step, Back disabled, no nights.
    void Reset();
    // The cost-per-night box shows the default rate.
    void ShowDefaultCostPerNight();

    // Add Booking: starts a new booking (its row is stored at once) or
    // resumes the one in progress at its step. Returns false when no booking
    // could be shown; the failure has then been shown to the operator.
    bool StartOrResume();
    // Add Booking for a stay chosen on the room chart: the room and the
    // dates are stored with the new booking (or with the one in progress,
    // while it has no guest), which is shown at its customer step. Returns
    // false when it could not be stored; the reason has been said.
    bool StartWithStay(RecordId room, const QDate &arrival, const QDate &departure);
    // Shows a stored booking at a step, as opening it from a list does.
    bool ResumeBooking(RecordId bookingId, int step);
    // The booking shown was opened from the arrivals or departures list.
    void MarkOpenedFromList();
    // Tells, on the last step, when each of the booking's papers was
    // e-mailed or where its message stands.
    void ShowMailed();
    // A booking opened from a list is let go, so that the next start makes
    // a new booking instead of showing it again.
    // Asked as the program closes: a new booking without a customer is kept
    // or removed; false when the operator goes back to it.
    bool SettleBeforeExit();
    // At the start: the bookings an earlier run left without a customer
    // offered to be finished or removed (or left for now).
    UnfinishedOffer OfferUnfinishedBookings();
    void ForgetOpenedBooking();
    // What leaving the box with the focus does is done now: the notes typed
    // are saved, an amount is formatted and the sum recomputed, a count
    // normalised. A button pressed by its accelerator, a menu or a panel
    // switch leaves the focus where it was, so this comes first in each.
    void CommitTypedEntry();

    // The payments dialog of any booking (a check-out elsewhere with a
    // balance due).
    void RecordPaymentFor(RecordId bookingId);

    int CurrentStep() const { return m_currentStep; }
    RecordId CurrentBookingId() const { return m_currentBookingId; }
    bool OpenedFromList() const { return m_openedFromList; }

signals:
    // The booking was confirmed or cancelled: the host shows the refreshed
    // arrivals and departures.
    void bookingClosed();
    // The stay's dates or rooms were written: what the house has sold changed.
    void staysChanged();
    // A press on the panel's heading: the window is moved as by a title bar.
    void headingPressed();
    // Print Confirmation on the last step: the host makes the confirmation
    // of the booking with the regional words the labels show, and opens it.
    void printConfirmation(RecordId bookingId, const QString &currencySymbol, const QString &taxName);
    // Issue Invoice was pressed for the booking shown.
    void issueInvoice(RecordId bookingId);
    // E-mail Confirmation or E-mail Invoice was pressed for the booking shown.
    void emailConfirmation(RecordId bookingId, const QString &currencySymbol, const QString &taxName);
    void emailInvoice(RecordId bookingId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    // The controller (reached through the buttons and the boxes)
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void ShowBookingStep(int step);
    void PerformBookingStep(int step);
    void HighlightStep(int step);
    void ResetCustomerForm();
    void txtBookingNotes_LostFocus();
    void cmdConfirmation_Click();
    void cmdIssueInvoice_Click();
    void cboPaperLanguage_Click();
    void cmdRecordPayment_Click();

    // Returning guests: typing a last name offers the earlier guests of
    // that name; choosing one fills the step from their last booking.
    void txtLastname_Change(const QString &typed);
    void ReturningGuest_Click(const QModelIndex &index);

    // Payment amounts
    void txtCostPerNight_LostFocus();
    void txtOtherCharges_LostFocus();
    void txtSalesTax_LostFocus();
    void txtTotalPayable_LostFocus();
    void txtAmountPayed_LostFocus();
    void txtNoAdults_LostFocus();
    void txtNoChildren_LostFocus();
    void cmdRecalculateTotalPayable_Click();

private:
    bool writeStep(int step);
    void applyTerms();
    void showStepPanel(int step);
    void showDatesStep();
    void showRoomsStep();
    void showCustomerStep();
    void showPaymentStep();
    void showConfirmStep();
    // The booking's status on the confirmation step, with the changes the
    // desk may make from it.
    void showStatus();
    void changeStatus(BookingStatus to);
    void openPayments();
    void recomputeSubTotalAndTax();
    // The rooms' prices: by the rates for a booking not priced yet; the
    // stored ones, unless the stay changed since and the operator takes
    // the rates' price.
    void priceRooms();
    // The rooms' prices, the extras and the warnings as the charges hold them.
    void showCharges();
    void roomPriceEdited(QTableWidgetItem *item);
    void extraQuantityEdited(QTableWidgetItem *item);
    void cmdAddExtra_Click();
    void cmdRegistration_Click();
    void cmdRemoveExtra_Click();
    // The rooms' amount: their prices, or the cost per night times the
    // nights and rooms for a booking priced so.
    qint64 roomsCentsShown() const;
    QList<QLineEdit *> customerBoxes() const;
    bool focusOut(QObject *watched);

    const std::unique_ptr<Ui::BookingWizard> ui;
    const std::unique_ptr<Ui::DatesStep> dates;
    const std::unique_ptr<Ui::RoomsStep> rooms;
    const std::unique_ptr<Ui::CustomerStep> customer;
    const std::unique_ptr<Ui::PaymentStep> payment;
    const std::unique_ptr<Ui::ConfirmStep> confirm;
    QList<QLabel *> lblStep;
    QList<QLabel *> lblConfirm;
    QList<QLabel *> lblCurrencySymbol;
    QList<QLabel *> lblSalesTaxName;
    QList<QLabel *> lblPostCode;

    Database *m_db = nullptr;
    RegionalTerms *m_terms = nullptr;
    QCompleter *m_guestCompleter = nullptr;
    QStandardItemModel *m_returningGuests = nullptr;

    int m_currentStep = 0;
    StatusEntry m_shownStatus;  // as the confirmation step shows it
    RecordId m_currentBookingId = 0;
    bool m_openedFromList = false;
    // The amount paid as the payment step showed it.
    QString m_shownPaid;
    int m_nightCount = 0;
    int m_roomCount = 0;
    BookingCharges m_charges;       // as the payment step shows them
    QVector<Extra> m_extras;        // the house's list
    PricedStay m_pricedStay;        // what the booking's price followed when last shown
    RecordId m_pricedBooking = 0;   // the booking m_pricedStay is of
    QVector<RecordId> m_begunHere;  // the bookings begun in this wizard
    bool m_fillingCharges = false;
};

}  // namespace innkeld
