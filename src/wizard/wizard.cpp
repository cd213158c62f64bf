// The booking wizard: starting or resuming a booking, moving between its five
// steps, showing each step from the database and writing it when it is left,
// the payment arithmetic of the amount boxes, and the printed confirmation.
#include "app/frmMain.h"
#include "app/uiservices.h"
#include "data/regional.h"
#include "output/confirmation.h"
#include "wizard/availability.h"
#include "wizard/bookingstore.h"
#include "wizard/payment.h"

#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace innkeld {

namespace {

QString B(RecordId id)
{
    return QString::number(id);
}

}  // namespace

// ---------------------------------------------------------------- controller

void frmMain::mnuReservationAdd_Click()
{
    const bool ok = guarded([this] {
        showPanel(picBooking);
        picBookingDates->raise();
        // A booking in progress that has gone meanwhile (its room was
        // removed, say) cannot be resumed: a new one is started.
        if (CurrentBookingId != 0 && !BookingExists(*m_db, CurrentBookingId)) {
            CurrentBookingId = 0;
            CurrentStep = 0;
            OpenedFromList = false;
        }
        if (CurrentBookingId == 0) {
            CurrentStep = 0;
            CurrentBookingId = CreateBooking(*m_db, QDateTime::currentDateTime());
        }
        HighlightStep(CurrentStep);
        ShowBookingStep(CurrentStep);
    });
    if (!ok && CurrentBookingId == 0)
        mnuReservationsArrivals_Click();  // no booking to show
}

void frmMain::cmdNext_Click()
{
    guarded([this] {
        if (CurrentStep == 0 && dtFromDate->dateTime() >= dtToDate->dateTime()) {
            m_context.ui->message(this,
                                  QStringLiteral("Departure date must be after the Arrival date. Please change the "
                                                 "Departure date and try again."),
                                  QMessageBox::Warning, QMessageBox::Ok);
            return;
        }
        // A step that cannot be written is not left.
        PerformBookingStep(CurrentStep);
        if (CurrentStep >= 4) {
            CurrentStep = 0;
            CurrentBookingId = 0;
            OpenedFromList = false;
            return;
        }
        ++CurrentStep;
        try {
            ShowBookingStep(CurrentStep);
        } catch (...) {
            --CurrentStep;
            throw;
        }
    });
}

void frmMain::cmdBack_Click()
{
    guarded([this] {
        if (CurrentStep <= 0)
            return;
        if (CurrentStep != 4)
            PerformBookingStep(CurrentStep);
        --CurrentStep;
        try {
            ShowBookingStep(CurrentStep);
        } catch (...) {
            ++CurrentStep;
            throw;
        }
    });
}

void frmMain::cmdCancel_Click()
{
    guarded([this] {
        if (CurrentBookingId != 0) {
            CancelBooking(*m_db, CurrentBookingId);
            CurrentBookingId = 0;
        }
        CurrentStep = 0;
        ShowArrivalsDepartures();
    });
}

void frmMain::HighlightStep(int step)
{
    for (QLabel *label : lblStep) {
        QFont f = label->font();
        f.setBold(false);
        label->setFont(f);
    }
    if (step >= 0 && step < lblStep.size()) {
        QFont f = lblStep[step]->font();
        f.setBold(true);
        lblStep[step]->setFont(f);
    }
}

void frmMain::ShowBookingStep(int step)
{
    switch (step) {
    case 0:
        showDatesStep();
        break;
    case 1:
        showRoomsStep();
        break;
    case 2:
        showCustomerStep();
        break;
    case 3:
        showPaymentStep();
        break;
    case 4:
        showConfirmStep();
        break;
    default:
        return;
    }
    HighlightStep(step);
}

void frmMain::showStepPanel(QFrame *panel)
{
    const int step = int(m_stepPanels.indexOf(panel));
    for (QFrame *p : m_stepPanels)
        if (p != panel)
            p->hide();
    panel->show();
    panel->raise();
    cmdBack->setEnabled(step != 0);
    cmdNext->setEnabled(true);
    cmdNext->setText(step == 4 ? QStringLiteral("&Confirm") : QStringLiteral("&Next"));
    QWidget *focus = step == 0 ? static_cast<QWidget *>(dtFromDate)
        : step == 1            ? static_cast<QWidget *>(lstRooms)
        : step == 2            ? static_cast<QWidget *>(txtFirstname)
        : step == 3            ? static_cast<QWidget *>(txtCostPerNight)
                               : static_cast<QWidget *>(cmdConfirmation);
    focus->setFocus(Qt::OtherFocusReason);
    HighlightStep(step);
}

// ---------------------------------------------------------------- showing the steps

void frmMain::showDatesStep()
{
    Recordset rs = m_db->execute(QStringLiteral("SELECT notes, BookedBy, fromdate, todate FROM booking WHERE id = ")
                                 + B(CurrentBookingId));
    if (!rs.eof()) {
        dtFromDate->setDateTime(rs.value(QStringLiteral("fromdate")).toDateTime());
        dtToDate->setDateTime(rs.value(QStringLiteral("todate")).toDateTime());
        txtBookedBy->setText(rs.text(QStringLiteral("bookedby")));
        txtBookingNotes->setPlainText(rs.text(QStringLiteral("notes")));
    }
    showStepPanel(picBookingDates);
}

void frmMain::showRoomsStep()
{
    // The dates as stored; the pickers' when the booking is not there.
    QVariant arrival = dtFromDate->dateTime();
    QVariant departure = dtToDate->dateTime();
    Recordset dates = m_db->execute(QStringLiteral("SELECT fromdate, todate FROM booking WHERE id = ") + B(CurrentBookingId));
    if (!dates.eof()) {
        arrival = dates.value(QStringLiteral("fromdate"));
        departure = dates.value(QStringLiteral("todate"));
    }
    lstRooms->clear();
    for (Recordset rooms = m_db->execute(QStringLiteral("SELECT id, name FROM room")); !rooms.eof(); rooms.moveNext()) {
        const RecordId room = rooms.value(QStringLiteral("id")).toLongLong();
        if (!IsRoomAvailable(*m_db, CurrentBookingId, room, arrival, departure))
            continue;
        auto *item = new QListWidgetItem(rooms.text(QStringLiteral("name")), lstRooms);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(room));
    }
    for (Recordset links = m_db->execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = ") + B(CurrentBookingId));
         !links.eof(); links.moveNext()) {
        const RecordId room = links.value(QStringLiteral("roomid")).toLongLong();
        for (int i = 0; i < lstRooms->count(); ++i)
            if (lstRooms->item(i)->data(Qt::UserRole).toLongLong() == room)
                lstRooms->item(i)->setSelected(true);
    }
    if (lstRooms->count() == 0)
        m_context.ui->message(this,
                              QStringLiteral("No rooms are available for the booking dates entered. Go back to the "
                                             "previous step and change the Arrival/Departure dates. To see what dates "
                                             "are available click View Calendar."),
                              QMessageBox::Information, QMessageBox::Ok);
    showStepPanel(picSelectRooms);
}

QList<QLineEdit *> frmMain::customerBoxes() const
{
    // In the order of the customer's columns.
    return {txtFirstname, txtLastname, txtAddress1, txtAddress2, txtCity,        txtState,
            txtPostcode,  txtCountry,  txtPhone,    txtEmail,    txtBusinessName};
}

void frmMain::ResetCustomerForm()
{
    for (QLineEdit *box : customerBoxes())
        box->clear();
    txtNoAdults->setText(QStringLiteral("2"));
    txtNoChildren->setText(QStringLiteral("0"));
}

void frmMain::showCustomerStep()
{
    Recordset rs = m_db->execute(QStringLiteral("SELECT noadults, nokids, customerid FROM booking WHERE id = ")
                                 + B(CurrentBookingId));
    if (rs.eof()) {
        ResetCustomerForm();
    } else {
        txtNoAdults->setText(rs.text(QStringLiteral("noadults")));
        txtNoChildren->setText(rs.text(QStringLiteral("nokids")));
        const RecordId customerId = rs.value(QStringLiteral("customerid")).toLongLong();
        if (customerId == 0) {
            ResetCustomerForm();
        } else {
            Recordset c = m_db->execute(CustomerSql(customerId));
            const QList<QLineEdit *> boxes = customerBoxes();
            // A customer row that has gone shows empty fields; saving the
            // step makes a new one.
            for (int i = 0; i < boxes.size(); ++i)
                boxes[i]->setText(c.eof() ? QString() : c.text(QLatin1String(kCustomerColumns[size_t(i)])));
        }
    }
    showStepPanel(picCustomer);
}

void frmMain::showPaymentStep()
{
    Recordset rs = m_db->execute(
        QStringLiteral("SELECT FromDate, ToDate, CostPerNight, PaymentMethod, OtherCharges, SalesTax, TotalPayable, "
                       "AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType FROM Booking WHERE ID = ")
        + B(CurrentBookingId));
    if (!rs.eof()) {
        txtPaymentMethod->setText(rs.text(QStringLiteral("PaymentMethod")));
        txtOtherCharges->setText(rs.text(QStringLiteral("OtherCharges")));
        txtSalesTax->setText(rs.text(QStringLiteral("SalesTax")));
        txtTotalPayable->setText(rs.text(QStringLiteral("TotalPayable")));
        txtAmountPayed->setText(rs.text(QStringLiteral("AmountPayed")));
        txtCreditCardNo->setText(rs.text(QStringLiteral("CreditCardNo")));
        txtCreditCardExpiry->setText(rs.text(QStringLiteral("CreditCardExpiry")));
        txtCreditCardType->setText(rs.text(QStringLiteral("CreditCardType")));
        txtCostPerNight->setText(FormatMoney(rs.value(QStringLiteral("CostPerNight"))));
        dtFromDate->setDateTime(rs.value(QStringLiteral("FromDate")).toDateTime());
        dtToDate->setDateTime(rs.value(QStringLiteral("ToDate")).toDateTime());
    }
    NightCount = NightsBetween(dtFromDate->dateTime(), dtToDate->dateTime());
    lblPaymentNights->setText(QString::number(NightCount));
    RoomCount = BookingRoomCount(*m_db, CurrentBookingId);
    QString apartments;
    for (Recordset names = m_db->execute(QStringLiteral("SELECT room.name FROM room, bookingroom WHERE bookingroom.bookingid = ")
                                         + B(CurrentBookingId) + QStringLiteral(" AND bookingroom.roomid = room.id"));
         !names.eof(); names.moveNext()) {
        if (!apartments.isEmpty())
            apartments += QStringLiteral(", ");
        apartments += names.text(0);
    }
    lblPaymentApartments->setText(apartments);
    // A rate of nothing is replaced by the default rate; the amount is
    // compared, not its English text.
    bool costOk = false;
    if (ParseRegionalNumber(txtCostPerNight->text(), &costOk) == 0 && costOk)
        txtCostPerNight->setText(FormatMoney(DefaultCostPerNight));
    lblSalesTaxPercentage->setText(PercentText(SalesTaxPercent));
    txtOtherCharges_LostFocus();
    cmdRecalculateTotalPayable_Click();
    txtAmountPayed->setText(FormatMoney(txtAmountPayed->text()));
    showStepPanel(picPayment);
}

void frmMain::showConfirmStep()
{
    Recordset rs = m_db->execute(
        QStringLiteral("SELECT notes, customerid, noadults, nokids, FromDate, ToDate, CostPerNight, PaymentMethod, "
                       "OtherCharges, SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, "
                       "CreditCardType FROM Booking WHERE ID = ")
        + B(CurrentBookingId));
    if (!rs.eof()) {
        txtBookingNotes->setPlainText(rs.text(QStringLiteral("notes")));
        const QDateTime from = rs.value(QStringLiteral("fromdate")).toDateTime();
        const QDateTime to = rs.value(QStringLiteral("todate")).toDateTime();
        NightCount = NightsBetween(from, to);
        // The same sub total as the payment step: the rooms count too.
        RoomCount = BookingRoomCount(*m_db, CurrentBookingId);
        lblConfirmDates->setText(QStringLiteral("Booking from ") + RegionalShortDate(from.date()) + QStringLiteral(" to ")
                                 + RegionalShortDate(to.date()));
        lblConfirmAdultsChildren->setText(rs.text(QStringLiteral("noadults")) + QStringLiteral(" Adults and ")
                                          + rs.text(QStringLiteral("nokids")) + QStringLiteral(" Children"));
        const QString S = lblCurrencySymbol[0]->text();
        const BookingAmounts a = AmountsOf(rs, RoomCount);
        lblConfirm[0]->setText(S + FormatMoney(a.costPerNight));
        lblConfirm[1]->setText(S + FormatMoney(a.otherCharges));
        lblConfirm[2]->setText(S + FormatMoney(a.subTotal));
        lblConfirm[3]->setText(S + FormatMoney(a.salesTax));
        lblConfirm[4]->setText(S + FormatMoney(a.total));
        lblConfirm[5]->setText(S + FormatMoney(a.amountPayed));
        lblConfirm[6]->setText(rs.text(QStringLiteral("PaymentMethod")));
        lblConfirm[7]->setText(rs.text(QStringLiteral("CreditCardType")));
        lblConfirm[8]->setText(rs.text(QStringLiteral("CreditCardNo")));
        lblConfirm[9]->setText(rs.text(QStringLiteral("CreditCardExpiry")));
        const RecordId customerId = rs.value(QStringLiteral("customerid")).toLongLong();
        if (customerId != 0) {
            Recordset c = m_db->execute(CustomerSql(customerId));
            if (!c.eof())
                lblConfirmContact->setText(ContactText(c));
        }
    }
    showStepPanel(picConfirm);
}

// ---------------------------------------------------------------- writing the steps

void frmMain::PerformBookingStep(int step)
{
    Database &db = *m_db;
    switch (step) {
    case 0:
        SaveDatesStep(db, CurrentBookingId, txtBookedBy->text(), dtFromDate->dateTime(), dtToDate->dateTime());
        break;
    case 1: {
        QVector<RecordId> rooms;
        for (int i = 0; i < lstRooms->count(); ++i)
            if (lstRooms->item(i)->isSelected())
                rooms << lstRooms->item(i)->data(Qt::UserRole).toLongLong();
        SaveRoomsStep(db, CurrentBookingId, rooms);
        break;
    }
    case 2: {
        txtNoAdults->setText(FormatCount(txtNoAdults->text()));
        txtNoChildren->setText(FormatCount(txtNoChildren->text()));
        CustomerDetails customer;
        const QList<QLineEdit *> boxes = customerBoxes();
        for (int i = 0; i < boxes.size(); ++i)
            customer[size_t(i)] = boxes[i]->text();
        SaveCustomerStep(db, CurrentBookingId, txtNoAdults->text(), txtNoChildren->text(), customer);
        break;
    }
    case 3: {
        const PaymentDetails payment{txtCostPerNight->text(),  txtPaymentMethod->text(), txtOtherCharges->text(),
                                     txtSalesTax->text(),      txtTotalPayable->text(),  txtAmountPayed->text(),
                                     txtCreditCardNo->text(), txtCreditCardExpiry->text(), txtCreditCardType->text()};
        SavePaymentStep(db, CurrentBookingId, payment);
        break;
    }
    case 4:
        cmdBack->setEnabled(false);
        cmdNext->setEnabled(false);
        ShowArrivalsDepartures();
        break;
    default:
        break;
    }
}

void frmMain::txtBookingNotes_LostFocus()
{
    if (CurrentBookingId == 0)
        return;
    guarded([this] { SaveNotes(*m_db, CurrentBookingId, txtBookingNotes->toPlainText()); });
}

// ---------------------------------------------------------------- amounts

namespace {

// The number in a box or caption, read by the region; false when it is none.
bool amountOf(const QString &text, double *value)
{
    bool ok = false;
    *value = ParseRegionalNumber(text, &ok);
    return ok;
}

}  // namespace

// Sub total and tax, each skipped when its inputs are not numbers.
static void recomputeSubTotalAndTax(frmMain &w)
{
    double cost = 0, other = 0, subTotal = 0;
    if (amountOf(w.txtCostPerNight->text(), &cost) && amountOf(w.txtOtherCharges->text(), &other))
        w.lblSubTotal->setText(FormatMoney(SubTotal(cost, w.NightCount, w.RoomCount, other)));
    if (amountOf(w.lblSubTotal->text(), &subTotal))
        w.txtSalesTax->setText(FormatMoney(subTotal * w.SalesTaxPercent / 100));
}

void frmMain::txtCostPerNight_LostFocus()
{
    recomputeSubTotalAndTax(*this);
    txtCostPerNight->setText(FormatMoney(txtCostPerNight->text()));
}

void frmMain::txtOtherCharges_LostFocus()
{
    recomputeSubTotalAndTax(*this);
    txtOtherCharges->setText(FormatMoney(txtOtherCharges->text()));
}

void frmMain::txtSalesTax_LostFocus()
{
    txtSalesTax->setText(FormatMoney(txtSalesTax->text()));
}

void frmMain::txtTotalPayable_LostFocus()
{
    txtTotalPayable->setText(FormatMoney(txtTotalPayable->text()));
}

void frmMain::txtAmountPayed_LostFocus()
{
    txtAmountPayed->setText(FormatMoney(txtAmountPayed->text()));
}

void frmMain::txtNoAdults_LostFocus()
{
    txtNoAdults->setText(FormatCount(txtNoAdults->text()));
}

void frmMain::txtNoChildren_LostFocus()
{
    txtNoChildren->setText(FormatCount(txtNoChildren->text()));
}

void frmMain::cmdRecalculateTotalPayable_Click()
{
    double subTotal = 0, tax = 0;
    if (!amountOf(lblSubTotal->text(), &subTotal))
        subTotal = 0;
    if (!amountOf(txtSalesTax->text(), &tax))
        tax = 0;
    txtTotalPayable->setText(FormatMoney(subTotal + tax));
}

bool frmMain::wizardFocusOut(QObject *watched)
{
    if (watched == txtBookingNotes)
        txtBookingNotes_LostFocus();
    else if (watched == txtCostPerNight)
        txtCostPerNight_LostFocus();
    else if (watched == txtOtherCharges)
        txtOtherCharges_LostFocus();
    else if (watched == txtSalesTax)
        txtSalesTax_LostFocus();
    else if (watched == txtTotalPayable)
        txtTotalPayable_LostFocus();
    else if (watched == txtAmountPayed)
        txtAmountPayed_LostFocus();
    else if (watched == txtNoAdults)
        txtNoAdults_LostFocus();
    else if (watched == txtNoChildren)
        txtNoChildren_LostFocus();
    else
        return false;
    return true;
}

// ---------------------------------------------------------------- confirmation document

void frmMain::cmdConfirmation_Click()
{
    if (CurrentBookingId == 0)
        return;
    guarded([this] {
        const QString document =
            ConfirmationDocument(*m_db, CurrentBookingId, lblCurrencySymbol[0]->text(), lblSalesTaxName[0]->text());
        const QString path = WriteConfirmationFile(document);
        if (!m_context.ui->openUrl(QUrl::fromLocalFile(path)))
            m_context.ui->message(this,
                                  QStringLiteral("The confirmation was written to %1, but no program to show it "
                                                 "could be started.")
                                      .arg(path),
                                  QMessageBox::Warning, QMessageBox::Ok);
    });
}

}  // namespace innkeld
