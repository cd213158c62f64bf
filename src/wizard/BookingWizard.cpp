#include "BookingWizard.h"

#include "mail/outbox.h"
#include "ui_BookingWizard.h"
#include "frmRecordPayment.h"
#include "frmRegistration.h"
#include "ui_ConfirmStep.h"
#include "ui_CustomerStep.h"
#include "ui_DatesStep.h"
#include "ui_PaymentStep.h"
#include "ui_RoomsStep.h"

#include "widgets/bookinglife.h"
#include "widgets/uiservices.h"
#include "data/regional/language.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "data/schema/bookingtables.h"
#include "data/schema/paperlanguage.h"
#include "booking/availability.h"
#include "booking/bookingstore.h"
#include "booking/paymentrecords.h"
#include "booking/bookingview.h"
#include "booking/payment.h"
#include "booking/pricing.h"
#include "booking/privacy.h"
#include "booking/registration.h"
#include "wizard/returningguests.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QCompleter>
#include <QStandardItemModel>
#include <QStyle>
#include <QFocusEvent>

namespace innkeld {

namespace {

// The number in a box or caption, read by the region; false when it is none.
bool amountOf(const QString &text, double *value)
{
    bool ok = false;
    *value = ParseRegionalNumber(text, &ok);
    return ok;
}

}  // namespace

BookingWizard::BookingWizard(QWidget *parent)
    : QFrame(parent),
      ServiceClient(this),
      ui(new Ui::BookingWizard),
      dates(new Ui::DatesStep),
      rooms(new Ui::RoomsStep),
      customer(new Ui::CustomerStep),
      payment(new Ui::PaymentStep),
      confirm(new Ui::ConfirmStep)
{
    ui->setupUi(this);
    dates->setupUi(ui->picBookingDates);
    rooms->setupUi(ui->picSelectRooms);
    customer->setupUi(ui->picCustomer);
    m_returningGuests = new QStandardItemModel(this);
    m_guestCompleter = new QCompleter(m_returningGuests, this);
    m_guestCompleter->setObjectName(QStringLiteral("cmpReturningGuests"));
    m_guestCompleter->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_guestCompleter->setWidget(customer->txtLastname);
    m_guestCompleter->setMaxVisibleItems(12);
    connect(customer->txtLastname, &QLineEdit::textEdited, this, &BookingWizard::txtLastname_Change);
    connect(m_guestCompleter, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            &BookingWizard::ReturningGuest_Click);
    payment->setupUi(ui->picPayment);
    confirm->setupUi(ui->picConfirm);
    ShowLabelsAsPlainText(this);  // names, terms and notes as typed
    KeepTextLengths(this);

    lblStep = {ui->lblStep_0, ui->lblStep_1, ui->lblStep_2, ui->lblStep_3, ui->lblStep_4};
    // The steps as tall as their words take in the desktop's font, bold or not.
    const QMargins inside = ui->progressLayout->contentsMargins();
    HoldWrappedText({lblStep.begin(), lblStep.end()},
                    ui->fraProgress->maximumWidth() - inside.left() - inside.right()
                        - 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    lblConfirm = {confirm->lblConfirm_0, confirm->lblConfirm_1, confirm->lblConfirm_2, confirm->lblConfirm_3,
                  confirm->lblConfirm_4, confirm->lblConfirm_5, confirm->lblConfirm_6, confirm->lblConfirm_7,
                  confirm->lblConfirm_8, confirm->lblConfirm_9};
    // Element 0 stands before the sub total, 1 to 5 before the amount boxes.
    lblCurrencySymbol = {payment->lblCurrencySymbol_0, payment->lblCurrencySymbol_1, payment->lblCurrencySymbol_2,
                         payment->lblCurrencySymbol_3, payment->lblCurrencySymbol_4, payment->lblCurrencySymbol_5};
    lblSalesTaxName = {payment->lblSalesTaxName_0, confirm->lblSalesTaxName_1};
    lblPostCode = {customer->lblPostCode_0};

    // The pickers show the region's date with a four-digit year and the
    // time; the form cannot know the region.
    dates->dtFromDate->setDisplayFormat(RegionalPickerFormat());
    dates->dtToDate->setDisplayFormat(RegionalPickerFormat());

    // The step forms are filled after this one, so their controls would
    // come after the buttons in the tab chain: the notes and the buttons
    // follow the step's controls.
    setTabOrder(confirm->cmdCheckIn, confirm->cmdCheckOut);
    setTabOrder(confirm->cmdCheckOut, confirm->cmdNoShow);
    setTabOrder(confirm->cmdNoShow, confirm->cmdRestore);
    setTabOrder(confirm->cmdRestore, confirm->cmdConfirmation);
    setTabOrder(confirm->cmdConfirmation, confirm->cmdIssueInvoice);
    setTabOrder(confirm->cmdIssueInvoice, confirm->cmdEmailConfirmation);
    setTabOrder(confirm->cmdEmailConfirmation, confirm->cmdEmailInvoice);
    setTabOrder(confirm->cmdEmailInvoice, confirm->cboPaperLanguage);
    setTabOrder(confirm->cboPaperLanguage, ui->txtBookingNotes);
    // The papers' languages, each by its own name.
    for (const QString &code : SpokenLanguages())
        confirm->cboPaperLanguage->addItem(LanguageName(code), code);
    setTabOrder(ui->txtBookingNotes, ui->cmdCancel);
    setTabOrder(ui->cmdCancel, ui->cmdBack);
    setTabOrder(ui->cmdBack, ui->cmdNext);

    connect(ui->Label1_14, &ClickLabel::mousePressed, this, &BookingWizard::headingPressed);
    connect(ui->cmdNext, &QPushButton::clicked, this, &BookingWizard::cmdNext_Click);
    connect(ui->cmdBack, &QPushButton::clicked, this, &BookingWizard::cmdBack_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &BookingWizard::cmdCancel_Click);
    connect(payment->cmdRecordPayment, &QPushButton::clicked, this, &BookingWizard::cmdRecordPayment_Click);
    connect(payment->cmdRecalculateTotalPayable, &QPushButton::clicked, this,
            &BookingWizard::cmdRecalculateTotalPayable_Click);
    connect(confirm->cmdConfirmation, &QPushButton::clicked, this, &BookingWizard::cmdConfirmation_Click);
    connect(confirm->cmdIssueInvoice, &QPushButton::clicked, this, &BookingWizard::cmdIssueInvoice_Click);
    connect(confirm->cmdEmailConfirmation, &QPushButton::clicked, this, [this] {
        if (m_currentBookingId != 0)
            emit emailConfirmation(m_currentBookingId, lblCurrencySymbol[0]->text(), lblSalesTaxName[0]->text());
    });
    connect(confirm->cmdEmailInvoice, &QPushButton::clicked, this, [this] {
        if (m_currentBookingId != 0)
            emit emailInvoice(m_currentBookingId);
    });
    connect(confirm->cmdCheckIn, &QPushButton::clicked, this, [this] { changeStatus(BookingStatus::CheckedIn); });
    connect(confirm->cmdCheckOut, &QPushButton::clicked, this, [this] { changeStatus(BookingStatus::CheckedOut); });
    connect(confirm->cmdNoShow, &QPushButton::clicked, this, [this] { changeStatus(BookingStatus::NoShow); });
    connect(confirm->cmdRestore, &QPushButton::clicked, this, [this] { changeStatus(BookingStatus::Booked); });
    connect(confirm->cboPaperLanguage, qOverload<int>(&QComboBox::activated), this,
            &BookingWizard::cboPaperLanguage_Click);
    connect(customer->cmdRegistration, &QPushButton::clicked, this, &BookingWizard::cmdRegistration_Click);
    connect(payment->cmdAddExtra, &QPushButton::clicked, this, &BookingWizard::cmdAddExtra_Click);
    connect(payment->cmdRemoveExtra, &QPushButton::clicked, this, &BookingWizard::cmdRemoveExtra_Click);
    connect(payment->grdRoomPrices, &QTableWidget::itemChanged, this, &BookingWizard::roomPriceEdited);
    connect(payment->grdExtras, &QTableWidget::itemChanged, this, &BookingWizard::extraQuantityEdited);
    payment->grdRoomPrices->setColumnCount(3);
    payment->grdRoomPrices->setHorizontalHeaderLabels({tr("Room"), tr("Nights and rates"), tr("Price")});
    payment->grdExtras->setColumnCount(4);
    payment->grdExtras->setHorizontalHeaderLabels({tr("Extra"), tr("Quantity"), tr("Amount"), tr("Tax")});
    for (QTableWidget *grid : {payment->grdRoomPrices, payment->grdExtras}) {
        grid->verticalHeader()->hide();
        // A line a row: the whole breakdown is in its tooltip.
        grid->setWordWrap(false);
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        grid->horizontalHeader()->setSectionResizeMode(grid == payment->grdRoomPrices ? 1 : 0, QHeaderView::Stretch);
        grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed);
    }
    // Leaving these boxes formats, recomputes or saves what they hold.
    for (QWidget *box : std::initializer_list<QWidget *>{
             ui->txtBookingNotes, customer->txtNoAdults, customer->txtNoChildren, payment->txtCostPerNight,
             payment->txtOtherCharges, payment->txtSalesTax, payment->txtTotalPayable, payment->txtAmountPayed})
        box->installEventFilter(this);
}

BookingWizard::~BookingWizard() = default;

void BookingWizard::setConnection(Database *db)
{
    m_db = db;
}

void BookingWizard::setTerms(RegionalTerms *terms)
{
    m_terms = terms;
    connect(terms, &RegionalTerms::changed, this, &BookingWizard::applyTerms);
    applyTerms();
}

void BookingWizard::applyTerms()
{
    for (QLabel *label : lblCurrencySymbol)
        label->setText(m_terms->CurrencySymbol());
    for (QLabel *label : lblSalesTaxName)
        label->setText(m_terms->SalesTaxName());
    for (QLabel *label : lblPostCode)
        label->setText(m_terms->PostCode());
}

void BookingWizard::Reset()
{
    m_openedFromList = false;
    m_currentStep = 0;
    ui->cmdBack->setEnabled(false);
    m_nightCount = 0;
}

void BookingWizard::ShowDefaultCostPerNight()
{
    payment->txtCostPerNight->setText(FormatMoney(m_terms->DefaultCostPerNight()));
}

// ---------------------------------------------------------------- controller

bool BookingWizard::StartOrResume()
{
    CommitTypedEntry();
    const bool ok = guarded([this] {
        // A booking in progress that has gone meanwhile (its room was
        // removed, say) cannot be resumed: a new one is started.
        if (m_currentBookingId != 0 && !BookingExists(*m_db, m_currentBookingId)) {
            m_currentBookingId = 0;
            m_currentStep = 0;
            m_openedFromList = false;
        }
        if (m_currentBookingId == 0) {
            m_currentStep = 0;
            m_currentBookingId = CreateBooking(*m_db, WallClockNow());
            m_begunHere << m_currentBookingId;
        }
        // What the booking's price follows as it was opened: a change of
        // its stay offers the rates' price.
        if (m_pricedBooking != m_currentBookingId) {
            m_pricedBooking = m_currentBookingId;
            m_pricedStay = ReadPricedStay(*m_db, m_currentBookingId);
        }
        HighlightStep(m_currentStep);
        ShowBookingStep(m_currentStep);
    });
    return ok || m_currentBookingId != 0;
}

bool BookingWizard::StartWithStay(RecordId room, const QDate &arrival, const QDate &departure)
{
    CommitTypedEntry();
    ForgetOpenedBooking();
    RecordId made = 0;
    guarded([&] {
        const RecordId draft = m_currentBookingId != 0 && BookingExists(*m_db, m_currentBookingId)
                && !BookingHasCustomer(*m_db, m_currentBookingId)
            ? m_currentBookingId
            : 0;
        made = CreateBookingForStay(*m_db, WallClockNow(), room, arrival, departure, draft);
        m_begunHere << made;
    });
    if (made == 0)
        return false;
    emit staysChanged();
    m_currentBookingId = made;
    m_currentStep = 2;
    m_openedFromList = false;
    return StartOrResume();
}

bool BookingWizard::ResumeBooking(RecordId bookingId, int step)
{
    m_currentBookingId = bookingId;
    m_currentStep = step;
    return StartOrResume();
}

void BookingWizard::MarkOpenedFromList()
{
    m_openedFromList = true;
}

bool BookingWizard::SettleBeforeExit()
{
    const RecordId booking = m_currentBookingId;
    if (booking == 0 || m_openedFromList || !m_db || !m_ui)
        return true;
    bool unfinished = false;
    if (!guarded([&] { unfinished = !BookingHasCustomer(*m_db, booking); }) || !unfinished)
        return true;
    const QMessageBox::StandardButton answer = m_ui->message(
        window(),
        tr("The new booking has no customer yet. Kept, it holds its rooms but shows in no list and no search until it "
           "is finished.\n\nKeep it to finish later? (No removes it, as Cancel Booking does.)"),
        QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No && !guarded([&] { DiscardBooking(*m_db, booking); }))
        return false;  // said; the program stays open with the booking
    if (answer == QMessageBox::No)
        Reset();
    return true;
}

UnfinishedOffer BookingWizard::OfferUnfinishedBookings()
{
    UnfinishedOffer offer;
    guarded([&] {
        const QVector<UnfinishedBooking> left = UnfinishedBookings(*m_db, QDateTime::currentDateTime());
        if (left.isEmpty())
            return;
        QStringList lines;
        for (const UnfinishedBooking &b : left.mid(0, 10))
            lines << tr("Booking %1: %2 to %3").arg(b.id).arg(RegionalShortDate(b.from.date()), RegionalShortDate(b.to.date()));
        if (left.size() > 10)
            lines << tr("and %1 more").arg(left.size() - 10);
        const QString text = left.size() == 1
            ? tr("A booking was left unfinished, without a customer: it holds its rooms but shows in no list and no "
                 "search.\n\n%1\n\nYes opens it to finish it; No removes it; Cancel leaves it for now.")
                  .arg(lines.join(QLatin1Char('\n')))
            : tr("%1 bookings were left unfinished, without a customer: they hold their rooms but show in no list and "
                 "no search.\n\n%2\n\nYes opens the first to finish it; No removes them all; Cancel leaves them for "
                 "now.")
                  .arg(left.size())
                  .arg(lines.join(QLatin1Char('\n')));
        const QMessageBox::StandardButton answer =
            m_ui->message(window(), text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                          tr("Unfinished Bookings"));
        if (answer == QMessageBox::Yes) {
            offer.resume = left.first().id;
        } else if (answer == QMessageBox::No) {
            QVector<RecordId> ids;
            for (const UnfinishedBooking &b : left)
                ids << b.id;
            RemoveBookings(*m_db, ids);
            offer.removed = true;
        }
    });
    return offer;
}

void BookingWizard::ForgetOpenedBooking()
{
    // A booking opened from a list stays as it is; a new one is started
    // straight away. Running Next on the emptied wizard first would write
    // to no booking and could only bring up a message about dates or rooms
    // that have nothing to do with the new booking.
    if (!m_openedFromList)
        return;
    m_currentStep = 0;
    m_currentBookingId = 0;
    m_openedFromList = false;
}

void BookingWizard::CommitTypedEntry()
{
    if (!isVisible())
        return;
    QWidget *focus = window()->focusWidget();
    if (focus && isAncestorOf(focus))
        focusOut(focus);
}

bool BookingWizard::writeStep(int step)
{
    try {
        PerformBookingStep(step);
        return true;
    } catch (const BookingGone &gone) {
        // Deleted under the wizard (with its room, or at another desk):
        // nothing was written; the wizard lets it go and the day's lists
        // show what is there now.
        m_ui->message(window(), gone.message(), QMessageBox::Information);
        m_currentBookingId = 0;
        m_currentStep = 0;
        m_openedFromList = false;
        emit bookingClosed();
        return false;
    } catch (const PaidMeanwhile &paid) {
        // Another desk recorded a payment: the step shows the amount now,
        // and the operator decides again.
        payment->txtAmountPayed->setText(paid.paidNow());
        m_shownPaid = paid.paidNow();
        m_ui->message(window(), paid.message(), QMessageBox::Information);
        return false;
    } catch (const RoomsRefused &taken) {
        // Booked or removed at another desk since the list was shown: the
        // step stays, with the rooms free now.
        m_ui->message(window(), taken.message(), QMessageBox::Information);
        showRoomsStep();
        return false;
    }
}

void BookingWizard::cmdNext_Click()
{
    CommitTypedEntry();
    guarded([this] {
        if (m_currentStep == 0 && dates->dtFromDate->dateTime() >= dates->dtToDate->dateTime()) {
            m_ui->message(window(),
                          tr("Departure date must be after the Arrival date. Please change the "
                                         "Departure date and try again."),
                          QMessageBox::Warning, QMessageBox::Ok);
            return;
        }
        // A step that cannot be written is not left.
        if (!writeStep(m_currentStep))
            return;
        if (m_currentStep >= 4) {
            m_currentStep = 0;
            m_currentBookingId = 0;
            m_openedFromList = false;
            return;
        }
        ++m_currentStep;
        try {
            ShowBookingStep(m_currentStep);
        } catch (...) {
            --m_currentStep;
            throw;
        }
    });
}

void BookingWizard::cmdBack_Click()
{
    CommitTypedEntry();
    guarded([this] {
        if (m_currentStep <= 0)
            return;
        if (m_currentStep != 4 && !writeStep(m_currentStep))
            return;
        --m_currentStep;
        try {
            ShowBookingStep(m_currentStep);
        } catch (...) {
            ++m_currentStep;
            throw;
        }
    });
}

void BookingWizard::cmdCancel_Click()
{
    CommitTypedEntry();
    // A booking with a guest is kept as cancelled, asked first; a draft
    // without one goes.
    bool hasGuest = false;
    if (m_currentBookingId != 0 && !guarded([&] { hasGuest = BookingHasCustomer(*m_db, m_currentBookingId); }))
        return;
    if (hasGuest) {
        StatusEntry now;
        QString guest;
        if (!guarded([&] {
                now = ReadBookingStatus(*m_db, m_currentBookingId);
                guest = GuestOf(*m_db, m_currentBookingId);
            }))
            return;
        if (!BookingLife{*m_ui, window(), *m_db}.cancel(m_currentBookingId, now.status, guest))
            return;
        m_currentBookingId = 0;
        m_currentStep = 0;
        m_openedFromList = false;
        emit staysChanged();
        emit bookingClosed();
        return;
    }
    guarded([this] {
        if (m_currentBookingId != 0) {
            DiscardBooking(*m_db, m_currentBookingId);
            m_currentBookingId = 0;
        }
        m_currentStep = 0;
        emit bookingClosed();
    });
}

void BookingWizard::HighlightStep(int step)
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

void BookingWizard::ShowBookingStep(int step)
{
    // Cancel is offered on every step; the confirmation step takes it away
    // from a booking that may not be cancelled (and Cancel says why anyway).
    ui->cmdCancel->setEnabled(true);
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

void BookingWizard::showStepPanel(int step)
{
    ui->stkSteps->setCurrentIndex(step);
    ui->cmdBack->setEnabled(step != 0);
    ui->cmdNext->setEnabled(true);
    ui->cmdNext->setText(step == 4 ? tr("&Confirm") : tr("&Next"));
    QWidget *const focus[] = {dates->dtFromDate, rooms->lstRooms, customer->txtFirstname, payment->txtCostPerNight,
                              confirm->cmdConfirmation};
    focus[step]->setFocus(Qt::OtherFocusReason);
    HighlightStep(step);
}

// ---------------------------------------------------------------- showing the steps

void BookingWizard::showDatesStep()
{
    const DatesView v = LoadDatesStep(*m_db, m_currentBookingId);
    if (v.found) {
        dates->dtFromDate->setDateTime(v.from);
        dates->dtToDate->setDateTime(v.to);
        dates->txtBookedBy->setText(v.bookedBy);
        ui->txtBookingNotes->setPlainText(v.notes);
    }
    showStepPanel(0);
}

void BookingWizard::showRoomsStep()
{
    QListWidget *list = rooms->lstRooms;
    // The dates as stored; the pickers' when the booking is not there.
    const RoomsView v = LoadRoomsStep(*m_db, m_currentBookingId, dates->dtFromDate->dateTime(),
                                      dates->dtToDate->dateTime());
    list->clear();
    for (const FreeRoom &room : v.free) {
        auto *item = new QListWidgetItem(room.name, list);
        item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(room.id));
        item->setSelected(v.held.contains(room.id));
    }
    if (list->count() == 0)
        m_ui->message(window(),
                      tr("No rooms are available for the booking dates entered. Go back to the "
                                     "previous step and change the Arrival/Departure dates. To see what dates "
                                     "are available click View Calendar."),
                      QMessageBox::Information, QMessageBox::Ok);
    showStepPanel(1);
}

QList<QLineEdit *> BookingWizard::customerBoxes() const
{
    // In the order of the customer's columns.
    const Ui::CustomerStep &c = *customer;
    return {c.txtFirstname, c.txtLastname, c.txtAddress1, c.txtAddress2, c.txtCity,        c.txtState,
            c.txtPostcode,  c.txtCountry,  c.txtPhone,    c.txtEmail,    c.txtBusinessName};
}

void BookingWizard::ResetCustomerForm()
{
    for (QLineEdit *box : customerBoxes())
        box->clear();
    customer->txtNoAdults->setText(QStringLiteral("2"));
    customer->txtNoChildren->setText(QStringLiteral("0"));
}

void BookingWizard::showCustomerStep()
{
    const CustomerView v = LoadCustomerStep(*m_db, m_currentBookingId);
    if (!v.found) {
        ResetCustomerForm();
    } else {
        customer->txtNoAdults->setText(v.adults);
        customer->txtNoChildren->setText(v.children);
        if (!v.hasCustomer) {
            ResetCustomerForm();
        } else {
            // A customer row that has gone shows empty fields; saving the
            // step makes a new one.
            const QList<QLineEdit *> boxes = customerBoxes();
            for (int i = 0; i < boxes.size(); ++i)
                boxes[i]->setText(v.customer[size_t(i)]);
        }
    }
    showStepPanel(2);
}

void BookingWizard::txtLastname_Change(const QString &typed)
{
    if (!m_db)
        return;
    guarded([&] {
        const QVector<ReturningGuest> guests = FindReturningGuests(*m_db, typed, m_currentBookingId);
        m_returningGuests->clear();
        for (const ReturningGuest &g : guests) {
            const QString name = (g.firstName + QLatin1Char(' ') + g.lastName).simplified();
            QStringList parts{name};
            if (!g.city.trimmed().isEmpty())
                parts << g.city.trimmed();
            if (g.lastStay.isValid())
                parts << QStringLiteral("last stay %1").arg(RegionalShortDate(g.lastStay.date()));
            auto *item = new QStandardItem(parts.join(QStringLiteral(", ")));
            item->setData(QVariant::fromValue<qlonglong>(g.customerId), Qt::UserRole);
            item->setEditable(false);
            m_returningGuests->appendRow(item);
        }
        if (guests.isEmpty())
            m_guestCompleter->popup()->hide();
        else {
            // Wide enough for name, town and last stay, against the box's right edge.
            QLineEdit *box = customer->txtLastname;
            const int width = std::max(box->width(), 360);
            m_guestCompleter->complete(QRect(box->width() - width, 0, width, box->height()));
        }
    });
}

void BookingWizard::ReturningGuest_Click(const QModelIndex &index)
{
    const RecordId customerId = index.data(Qt::UserRole).toLongLong();
    guarded([&] {
        // The booking keeps a customer row of its own: the fields are
        // filled, and saved with the step as typed ones are.
        CustomerDetails details;
        if (!LoadCustomerDetails(*m_db, customerId, &details))
            return;
        const QList<QLineEdit *> boxes = customerBoxes();
        for (int i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(details[size_t(i)]);
        customer->txtLastname->setFocus();
    });
}

void BookingWizard::showPaymentStep()
{
    Ui::PaymentStep &p = *payment;
    const PaymentView v = LoadPaymentStep(*m_db, m_currentBookingId);
    if (v.found) {
        // In the order of the payment columns: CostPerNight ... CreditCardType.
        const QList<QLineEdit *> boxes{p.txtCostPerNight, p.txtPaymentMethod, p.txtOtherCharges,
                                       p.txtSalesTax,     p.txtTotalPayable,  p.txtAmountPayed,
                                       p.txtCreditCardNo, p.txtCreditCardExpiry, p.txtCreditCardType};
        for (int i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(v.payment[size_t(i)]);
        dates->dtFromDate->setDateTime(v.from);
        dates->dtToDate->setDateTime(v.to);
    }
    m_nightCount = NightsBetween(dates->dtFromDate->dateTime(), dates->dtToDate->dateTime());
    p.lblPaymentNights->setText(QString::number(m_nightCount));
    m_roomCount = v.roomCount;
    p.lblPaymentApartments->setText(v.roomNames.join(QStringLiteral(", ")));
    priceRooms();
    // A rate of nothing is replaced by the default rate; the amount is
    // compared, not its English text.
    bool costOk = false;
    if (!m_charges.priced && ParseRegionalNumber(p.txtCostPerNight->text(), &costOk) == 0 && costOk)
        ShowDefaultCostPerNight();
    p.lblSalesTaxPercentage->setText(PercentText(m_terms->SalesTaxPercent()));
    showCharges();
    txtOtherCharges_LostFocus();
    cmdRecalculateTotalPayable_Click();
    p.txtAmountPayed->setText(FormatMoney(p.txtAmountPayed->text()));
    m_shownPaid = p.txtAmountPayed->text();
    showStepPanel(3);
}

void BookingWizard::showConfirmStep()
{
    Ui::ConfirmStep &c = *confirm;
    const ConfirmView v = LoadConfirmStep(*m_db, m_currentBookingId);
    if (v.found) {
        ui->txtBookingNotes->setPlainText(v.notes);
        m_nightCount = NightsBetween(v.from, v.to);
        m_roomCount = v.amounts.rooms;
        c.lblConfirmDates->setText(
            tr("Booking from %1 to %2").arg(RegionalShortDate(v.from.date()), RegionalShortDate(v.to.date())));
        c.lblConfirmAdultsChildren->setText(
            tr("%1 Adults and %2 Children").arg(Recordset::TextOf(v.adults), Recordset::TextOf(v.children)));
        const QString S = lblCurrencySymbol[0]->text();
        const BookingAmounts &a = v.amounts;
        lblConfirm[0]->setText(MoneyWithSymbol(a.costPerNight, S));
        lblConfirm[1]->setText(MoneyWithSymbol(a.otherCharges, S));
        lblConfirm[2]->setText(MoneyWithSymbol(a.subTotal, S));
        lblConfirm[3]->setText(MoneyWithSymbol(a.salesTax, S));
        lblConfirm[4]->setText(MoneyWithSymbol(a.total, S));
        lblConfirm[5]->setText(MoneyWithSymbol(a.amountPayed, S));
        lblConfirm[6]->setText(v.paymentMethod);
        lblConfirm[7]->setText(v.cardType);
        lblConfirm[8]->setText(MaskedCardNumber(v.cardNo));
        lblConfirm[9]->setText(v.cardExpiry);
        if (v.hasContact)
            c.lblConfirmContact->setText(v.contact);
        const int language = c.cboPaperLanguage->findData(BookingPaperLanguage(*m_db, m_currentBookingId));
        c.cboPaperLanguage->setCurrentIndex(language < 0 ? 0 : language);
    }
    showStatus();
    ShowMailed();
    showStepPanel(4);
}

void BookingWizard::ShowMailed()
{
    if (!m_db || m_currentBookingId == 0)
        return;
    // One line, as wide as the step; the whole of it in its tooltip.
    guarded([this] {
        const QString said = MailedLine(OutboxOfBooking(*m_db, m_currentBookingId));
        QLabel *line = confirm->lblMailed;
        const int width = std::max(line->width(), line->parentWidget()->width() - 24);
        line->setText(line->fontMetrics().elidedText(QString(said).replace(QLatin1Char('\n'), QStringLiteral("; ")),
                                                    Qt::ElideRight, width));
        line->setToolTip(PlainToolTip(said));
    });
}

void BookingWizard::showStatus()
{
    Ui::ConfirmStep &c = *confirm;
    bool hasGuest = false;
    m_shownStatus = StatusEntry{};
    if (m_currentBookingId != 0 && BookingExists(*m_db, m_currentBookingId)) {
        m_shownStatus = ReadBookingStatus(*m_db, m_currentBookingId);
        hasGuest = BookingHasCustomer(*m_db, m_currentBookingId);
    }
    QString text = StatusLabel(m_shownStatus.status);
    if (m_shownStatus.at.isValid())
        text = tr("%1 since %2").arg(text, RegionalShortDate(m_shownStatus.at.date()) + QLatin1Char(' ')
                                               + QLocale().toString(m_shownStatus.at.time(), QLocale::ShortFormat));
    if (!m_shownStatus.by.isEmpty())
        text += tr(" by %1").arg(m_shownStatus.by);
    if (m_shownStatus.status == BookingStatus::Cancelled || m_shownStatus.status == BookingStatus::NoShow) {
        QStringList why;
        if (const QString reason = ReasonLabel(m_shownStatus.reason); !reason.isEmpty())
            why << reason;
        if (!m_shownStatus.note.isEmpty())
            why << m_shownStatus.note;
        if (m_shownStatus.feeCents != 0)
            why << tr("fee %1").arg(MoneyWithSymbol(double(m_shownStatus.feeCents) / 100.0, lblCurrencySymbol[0]->text()));
        if (!why.isEmpty())
            text += QStringLiteral(": ") + why.join(QStringLiteral("; "));
    }
    c.lblStatus->setText(hasGuest ? text : tr("Not yet booked: the booking has no guest."));
    const QVector<BookingStatus> allowed = hasGuest ? ChangesFrom(m_shownStatus.status) : QVector<BookingStatus>();
    c.cmdCheckIn->setVisible(allowed.contains(BookingStatus::CheckedIn));
    c.cmdCheckOut->setVisible(allowed.contains(BookingStatus::CheckedOut));
    c.cmdNoShow->setVisible(allowed.contains(BookingStatus::NoShow));
    c.cmdRestore->setVisible(allowed.contains(BookingStatus::Booked));
    // What holds no room is not cancelled again.
    ui->cmdCancel->setEnabled(!hasGuest || allowed.contains(BookingStatus::Cancelled));
}

void BookingWizard::changeStatus(BookingStatus to)
{
    if (m_currentBookingId == 0 || !m_db || !m_ui)
        return;
    const BookingLife life{*m_ui, window(), *m_db};
    bool changed = false;
    switch (to) {
    case BookingStatus::CheckedIn:
        changed = life.checkIn(m_currentBookingId, m_shownStatus.status);
        break;
    case BookingStatus::CheckedOut:
        changed = life.checkOut(m_currentBookingId, m_shownStatus.status, [this](RecordId) { openPayments(); });
        break;
    case BookingStatus::NoShow:
        changed = life.noShow({{m_currentBookingId, m_shownStatus.status}});
        break;
    case BookingStatus::Booked:
        changed = life.restore(m_currentBookingId, m_shownStatus.status);
        break;
    case BookingStatus::Cancelled:
        break;
    }
    guarded([this] { showConfirmStep(); });
    if (changed)
        emit staysChanged();
}

// ---------------------------------------------------------------- writing the steps

void BookingWizard::PerformBookingStep(int step)
{
    Database &db = *m_db;
    switch (step) {
    case 0:
    {
        const QStringList takenOff = SaveDatesStep(db, m_currentBookingId, dates->txtBookedBy->text(),
                                                   dates->dtFromDate->dateTime(), dates->dtToDate->dateTime());
        // The wizard goes on to the rooms step, where the rest stay selected.
        emit staysChanged();
        if (!takenOff.isEmpty())
            m_ui->message(window(), RoomsTakenOffMessage(takenOff), QMessageBox::Information);
        break;
    }
    case 1: {
        QVector<RecordId> selected;
        QStringList names;
        for (int i = 0; i < rooms->lstRooms->count(); ++i)
            if (rooms->lstRooms->item(i)->isSelected()) {
                selected << rooms->lstRooms->item(i)->data(Qt::UserRole).toLongLong();
                names << rooms->lstRooms->item(i)->text();
            }
        SaveRoomsStep(db, m_currentBookingId, selected, names);
        emit staysChanged();
        break;
    }
    case 2: {
        customer->txtNoAdults->setText(FormatCount(customer->txtNoAdults->text()));
        customer->txtNoChildren->setText(FormatCount(customer->txtNoChildren->text()));
        CustomerDetails details;
        const QList<QLineEdit *> boxes = customerBoxes();
        for (int i = 0; i < boxes.size(); ++i)
            details[size_t(i)] = boxes[i]->text();
        SaveCustomerStep(db, m_currentBookingId, customer->txtNoAdults->text(), customer->txtNoChildren->text(),
                         details);
        // The companions registered and the guests counted: said, not refused.
        double adults = 0, children = 0;
        if (amountOf(customer->txtNoAdults->text(), &adults) && amountOf(customer->txtNoChildren->text(), &children))
            if (const QString warning = CompanionsWarning(ReadRegistration(db, m_currentBookingId), int(adults), int(children));
                !warning.isEmpty())
                m_ui->message(window(), warning, QMessageBox::Information);
        break;
    }
    case 3: {
        const Ui::PaymentStep &p = *payment;
        const PaymentDetails amounts{p.txtCostPerNight->text(),  p.txtPaymentMethod->text(),
                                     p.txtOtherCharges->text(),  p.txtSalesTax->text(),
                                     p.txtTotalPayable->text(),  p.txtAmountPayed->text(),
                                     p.txtCreditCardNo->text(), p.txtCreditCardExpiry->text(),
                                     p.txtCreditCardType->text()};
        SavePaymentStep(db, m_currentBookingId, amounts, m_shownPaid,
                        BookingTax{m_terms->SalesTaxName(), QString::number(m_terms->SalesTaxPercent(), 'g', 15)},
                        &m_charges);
        m_shownPaid = p.txtAmountPayed->text();
        break;
    }
    case 4:
        ui->cmdBack->setEnabled(false);
        ui->cmdNext->setEnabled(false);
        emit bookingClosed();
        break;
    default:
        break;
    }
}

void BookingWizard::txtBookingNotes_LostFocus()
{
    if (m_currentBookingId == 0)
        return;
    guarded([this] { SaveNotes(*m_db, m_currentBookingId, ui->txtBookingNotes->toPlainText()); });
}

// ---------------------------------------------------------------- amounts

// Sub total and tax, each skipped when its inputs are not numbers: the
// rooms, the extras and the other charges; the tax of each rate.
void BookingWizard::recomputeSubTotalAndTax()
{
    Ui::PaymentStep &p = *payment;
    double cost = 0, other = 0;
    if (!amountOf(p.txtOtherCharges->text(), &other) || (!m_charges.priced && !amountOf(p.txtCostPerNight->text(), &cost)))
        return;
    const qint64 otherCents = std::llround(other * 100.0);
    BookingCharges shown = m_charges;
    if (!shown.priced)
        shown.rooms = {RoomCharge::Amount(roomsCentsShown())};
    const qint64 subTotal = shown.roomsCents() + shown.extrasCents() + otherCents;
    p.lblSubTotal->setText(FormatMoney(double(subTotal) / 100.0));
    const QVector<TaxLine> taxes = TaxesByRate(shown, otherCents, QString::number(m_terms->SalesTaxPercent(), 'g', 15));
    qint64 tax = 0;
    QStringList byRate;
    for (const TaxLine &t : taxes) {
        tax += t.taxCents;
        byRate << tr("%1 at %2%: %3").arg(FormatMoney(double(t.netCents) / 100.0), NumberText(t.rate.toDouble()),
                                          FormatMoney(double(t.taxCents) / 100.0));
    }
    p.txtSalesTax->setText(FormatMoney(double(tax) / 100.0));
    p.lblTaxesByRate->setText(taxes.size() > 1 ? byRate.join(QStringLiteral("; ")) : QString());
}

qint64 BookingWizard::roomsCentsShown() const
{
    if (m_charges.priced)
        return m_charges.roomsCents();
    double cost = 0;
    if (!amountOf(payment->txtCostPerNight->text(), &cost))
        return 0;
    return std::llround(cost * 100.0) * m_nightCount * m_roomCount;
}

void BookingWizard::priceRooms()
{
    Database &db = *m_db;
    const PricedStay stay = ReadPricedStay(db, m_currentBookingId);
    const BookingCharges stored = ReadCharges(db, m_currentBookingId);
    m_extras = ReadExtras(db);
    QVector<std::pair<RecordId, QString>> held;
    for (const RoomCharge &r : stored.rooms)
        held << std::make_pair(r.room, r.name);
    RateCard card = ReadRateCard(db);
    double standard = 0;
    // A house without rates prices at the default cost per night the desk shows.
    if (card.categories.size() == 1 && card.categories.first().id == 0
        && amountOf(m_terms->DefaultCostPerNight(), &standard) && IsStorableAmount(standard) && standard >= 0)
        card.categories.first().priceCents = std::llround(standard * 100.0);
    const BookingCharges fresh = PriceRooms(card, held, stay.arrival, stay.departure, stay.adults, stay.children);
    double cost = 0;
    const bool hasPrice = stored.priced || (amountOf(payment->txtCostPerNight->text(), &cost) && cost != 0);
    const bool changed = m_pricedBooking == m_currentBookingId && m_pricedStay != stay;
    BookingCharges chosen = stored;
    if (!hasPrice) {
        chosen = fresh;
    } else if (changed) {
        bool byHand = !stored.priced || !m_begunHere.contains(m_currentBookingId);
        for (const RoomCharge &r : stored.rooms)
            byHand = byHand || r.overridden();
        const qint64 storedCents = stored.priced ? stored.roomsCents() : std::llround(cost * 100.0) * m_nightCount * m_roomCount;
        if (!byHand || storedCents == fresh.roomsCents()) {
            chosen = fresh;
        } else {
            QStringList breakdown;
            for (const RoomCharge &r : fresh.rooms)
                breakdown << tr("%1: %2").arg(r.name, BreakdownText(StayPrice{r.lines, r.cents, {}}));
            const QMessageBox::StandardButton answer = m_ui->message(
                window(),
                tr("The dates, rooms or guests of booking %1 changed since it was priced. Its stored price for the "
                   "rooms is %2; the house's rates give %3:\n%4\n\nTake the rates' price? (No keeps the stored price.)")
                    .arg(m_currentBookingId)
                    .arg(FormatMoney(double(storedCents) / 100.0), FormatMoney(double(fresh.roomsCents()) / 100.0),
                         breakdown.join(QLatin1Char('\n'))),
                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
            if (answer == QMessageBox::Yes)
                chosen = fresh;
        }
    }
    // Rooms added since keep no stored price: the rates give theirs.
    if (chosen.priced)
        for (int i = 0; i < chosen.rooms.size() && i < fresh.rooms.size(); ++i) {
            if (!stored.priced || chosen.rooms[i].lines.isEmpty())
                chosen.rooms[i] = fresh.rooms[i];
            chosen.rooms[i].warnings = fresh.rooms[i].warnings;
        }
    // The extras follow the nights.
    chosen.extras = stored.extras;
    for (ExtraCharge &e : chosen.extras)
        e.cents = ExtraCents(e.per, e.unitCents, e.quantity, m_nightCount);
    if (stored.rooms.isEmpty() && !stored.priced)
        chosen.priced = false;
    m_charges = chosen;
    m_pricedBooking = m_currentBookingId;
    m_pricedStay = stay;
}

void BookingWizard::showCharges()
{
    Ui::PaymentStep &p = *payment;
    m_fillingCharges = true;
    QTableWidget *grid = p.grdRoomPrices;
    grid->setRowCount(int(m_charges.rooms.size()));
    double cost = 0;
    const bool costOk = amountOf(p.txtCostPerNight->text(), &cost);
    for (int i = 0; i < m_charges.rooms.size(); ++i) {
        const RoomCharge &r = m_charges.rooms.at(i);
        QString how;
        if (!m_charges.priced)
            how = tr("%1 nights x %2, the cost per night").arg(m_nightCount).arg(FormatMoney(costOk ? cost : 0.0));
        else {
            how = BreakdownText(StayPrice{r.lines, r.rateCents, {}});
            if (r.overridden()) {
                const QString when = RegionalShortDate(r.overrideAt.date()) + QLatin1Char(' ')
                    + QLocale().toString(r.overrideAt.time(), QLocale::ShortFormat);
                const QString rates = FormatMoney(double(r.rateCents) / 100.0);
                how = r.overrideBy.isEmpty()
                    ? tr("Set by hand on %1 (the rates gave %2: %3)").arg(when, rates, how)
                    : tr("Set by hand by %1 on %2 (the rates gave %3: %4)").arg(r.overrideBy, when, rates, how);
            }
        }
        const qint64 cents = m_charges.priced ? r.cents : (costOk ? std::llround(cost * 100.0) * m_nightCount : 0);
        auto *name = new QTableWidgetItem(r.name);
        auto *what = new QTableWidgetItem(how);
        auto *price = new QTableWidgetItem(FormatMoney(double(cents) / 100.0));
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        what->setFlags(what->flags() & ~Qt::ItemIsEditable);
        what->setToolTip(how);
        price->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        price->setToolTip(tr("Type another price to set the room's price by hand."));
        grid->setItem(i, 0, name);
        grid->setItem(i, 1, what);
        grid->setItem(i, 2, price);
    }
    p.lblPriceWarnings->setText(m_charges.warnings().join(QLatin1Char('\n')));
    p.lblPriceWarnings->setVisible(!p.lblPriceWarnings->text().isEmpty());
    QTableWidget *extras = p.grdExtras;
    extras->setRowCount(int(m_charges.extras.size()));
    for (int i = 0; i < m_charges.extras.size(); ++i) {
        const ExtraCharge &e = m_charges.extras.at(i);
        auto *name = new QTableWidgetItem(tr("%1, %2 %3").arg(e.name, FormatMoney(double(e.unitCents) / 100.0), PerText(e.per)));
        auto *quantity = new QTableWidgetItem(QString::number(e.quantity));
        auto *amount = new QTableWidgetItem(FormatMoney(double(e.cents) / 100.0));
        auto *tax = new QTableWidgetItem(PercentText(e.taxPercent.toDouble()));
        for (QTableWidgetItem *item : {name, amount, tax})
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        for (QTableWidgetItem *item : {quantity, amount, tax})
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        extras->setItem(i, 0, name);
        extras->setItem(i, 1, quantity);
        extras->setItem(i, 2, amount);
        extras->setItem(i, 3, tax);
    }
    p.cboExtra->clear();
    for (const Extra &e : m_extras)
        p.cboExtra->addItem(tr("%1, %2 %3").arg(e.name, FormatMoney(double(e.priceCents) / 100.0), PerText(e.per)),
                            QVariant::fromValue<qlonglong>(e.id));
    p.cboExtra->setEnabled(!m_extras.isEmpty());
    p.cmdAddExtra->setEnabled(!m_extras.isEmpty());
    p.cmdRemoveExtra->setEnabled(!m_charges.extras.isEmpty());
    // Priced room by room, the cost per night is what the rooms come to a night.
    if (m_charges.priced && m_nightCount > 0 && !m_charges.rooms.isEmpty()) {
        const qint64 roomNights = qint64(m_nightCount) * m_charges.rooms.size();
        const qint64 sum = m_charges.roomsCents();
        p.txtCostPerNight->setText(FormatMoney(double((2 * sum + roomNights) / (2 * roomNights)) / 100.0));
    }
    m_fillingCharges = false;
}

void BookingWizard::roomPriceEdited(QTableWidgetItem *item)
{
    if (m_fillingCharges || item->column() != 2 || item->row() >= m_charges.rooms.size())
        return;
    bool ok = false;
    const double typed = ParseRegionalNumber(item->text(), &ok);
    const qint64 cents = std::llround(typed * 100.0);
    if (!ok || !IsStorableAmount(typed) || typed < 0) {
        QTimer::singleShot(0, this, [this] { showCharges(); });
        return;
    }
    if (!m_charges.priced) {
        // The first room priced by hand prices the others as they were.
        const qint64 each = m_roomCount > 0 ? roomsCentsShown() / m_roomCount : 0;
        for (RoomCharge &r : m_charges.rooms)
            r.cents = r.rateCents = each;
        m_charges.priced = true;
    }
    RoomCharge &r = m_charges.rooms[item->row()];
    if (cents != r.cents) {
        r.cents = cents;
        r.byHand = true;
        r.overrideBy = DeskUser();
        r.overrideAt = WallClockNow();
    }
    QTimer::singleShot(0, this, [this] {
        showCharges();
        recomputeSubTotalAndTax();
        cmdRecalculateTotalPayable_Click();
    });
}

void BookingWizard::extraQuantityEdited(QTableWidgetItem *item)
{
    if (m_fillingCharges || item->column() != 1 || item->row() >= m_charges.extras.size())
        return;
    bool ok = false;
    const int quantity = item->text().trimmed().toInt(&ok);
    if (ok && quantity >= 1 && quantity <= 9999) {
        ExtraCharge &e = m_charges.extras[item->row()];
        e.quantity = quantity;
        e.cents = ExtraCents(e.per, e.unitCents, e.quantity, m_nightCount);
    }
    QTimer::singleShot(0, this, [this] {
        showCharges();
        recomputeSubTotalAndTax();
        cmdRecalculateTotalPayable_Click();
    });
}

void BookingWizard::cmdRegistration_Click()
{
    if (m_currentBookingId == 0 || !m_db || !m_ui)
        return;
    guarded([this] {
        frmRegistration dialog(*m_db, *m_ui, m_currentBookingId, window());
        dialog.Setup();
        dialog.exec();
    });
}

void BookingWizard::cmdAddExtra_Click()
{
    const int at = payment->cboExtra->currentIndex();
    if (at < 0 || at >= m_extras.size())
        return;
    const Extra &e = m_extras.at(at);
    ExtraCharge charge{e.id, e.name, e.per, 1, e.priceCents, 0, e.taxPercent};
    // A person's extra for each guest.
    double adults = 0, children = 0;
    if (e.per == QLatin1String("person-night") && amountOf(customer->txtNoAdults->text(), &adults)
        && amountOf(customer->txtNoChildren->text(), &children))
        charge.quantity = std::max(1, int(adults) + int(children));
    charge.cents = ExtraCents(charge.per, charge.unitCents, charge.quantity, m_nightCount);
    m_charges.extras << charge;
    showCharges();
    recomputeSubTotalAndTax();
    cmdRecalculateTotalPayable_Click();
    payment->grdExtras->setCurrentCell(int(m_charges.extras.size()) - 1, 1);
}

void BookingWizard::cmdRemoveExtra_Click()
{
    const int row = payment->grdExtras->currentRow();
    if (row < 0 || row >= m_charges.extras.size())
        return;
    m_charges.extras.removeAt(row);
    showCharges();
    recomputeSubTotalAndTax();
    cmdRecalculateTotalPayable_Click();
}

void BookingWizard::txtCostPerNight_LostFocus()
{
    double cost = 0;
    if (m_charges.priced && amountOf(payment->txtCostPerNight->text(), &cost) && IsStorableAmount(cost) && cost >= 0) {
        // A cost per night typed over the rooms' prices sets each room's by hand.
        const qint64 each = std::llround(cost * 100.0) * m_nightCount;
        bool changed = false;
        for (const RoomCharge &r : m_charges.rooms)
            changed = changed || r.cents != each;
        const qint64 roomNights = qint64(m_nightCount) * m_charges.rooms.size();
        const qint64 shownAverage = roomNights ? (2 * m_charges.roomsCents() + roomNights) / (2 * roomNights) : 0;
        if (changed && std::llround(cost * 100.0) != shownAverage)
            for (RoomCharge &r : m_charges.rooms)
                if (r.cents != each) {
                    r.cents = each;
                    r.byHand = true;
                    r.overrideBy = DeskUser();
                    r.overrideAt = WallClockNow();
                }
        showCharges();
    } else if (!m_charges.priced) {
        showCharges();
    }
    recomputeSubTotalAndTax();
    payment->txtCostPerNight->setText(FormatMoney(payment->txtCostPerNight->text()));
}

void BookingWizard::txtOtherCharges_LostFocus()
{
    recomputeSubTotalAndTax();
    payment->txtOtherCharges->setText(FormatMoney(payment->txtOtherCharges->text()));
}

void BookingWizard::txtSalesTax_LostFocus()
{
    payment->txtSalesTax->setText(FormatMoney(payment->txtSalesTax->text()));
}

void BookingWizard::txtTotalPayable_LostFocus()
{
    payment->txtTotalPayable->setText(FormatMoney(payment->txtTotalPayable->text()));
}

void BookingWizard::txtAmountPayed_LostFocus()
{
    payment->txtAmountPayed->setText(FormatMoney(payment->txtAmountPayed->text()));
}

void BookingWizard::txtNoAdults_LostFocus()
{
    customer->txtNoAdults->setText(FormatCount(customer->txtNoAdults->text()));
}

void BookingWizard::txtNoChildren_LostFocus()
{
    customer->txtNoChildren->setText(FormatCount(customer->txtNoChildren->text()));
}

void BookingWizard::cmdRecordPayment_Click()
{
    if (m_currentBookingId == 0 || !m_db || !m_ui)
        return;
    // What the step holds is stored first: an amount typed there is a
    // payment among the others the dialog lists.
    CommitTypedEntry();
    bool stored = false;
    if (!guarded([&] { stored = writeStep(3); }) || !stored)
        return;
    openPayments();
}

void BookingWizard::RecordPaymentFor(RecordId bookingId)
{
    if (!m_db || !m_ui)
        return;
    guarded([&] {
        frmRecordPayment dialog(*m_db, *m_ui, bookingId, lblCurrencySymbol[0]->text(), QString(), window());
        dialog.Setup();
        dialog.exec();
    });
}

void BookingWizard::openPayments()
{
    guarded([this] {
        frmRecordPayment dialog(*m_db, *m_ui, m_currentBookingId, lblCurrencySymbol[0]->text(),
                                payment->txtPaymentMethod->text(), this);
        dialog.Setup();
        dialog.exec();
        // The amount paid is now the payments' sum: the box shows it, so
        // that leaving the step stores no other.
        const QVariant paid = AmountPaidOf(*m_db, m_currentBookingId);
        if (paid.isValid())
            payment->txtAmountPayed->setText(FormatMoney(paid));
        m_shownPaid = payment->txtAmountPayed->text();
    });
}

void BookingWizard::cmdRecalculateTotalPayable_Click()
{
    double subTotal = 0, tax = 0;
    if (!amountOf(payment->lblSubTotal->text(), &subTotal))
        subTotal = 0;
    if (!amountOf(payment->txtSalesTax->text(), &tax))
        tax = 0;
    payment->txtTotalPayable->setText(FormatMoney(subTotal + tax));
}

bool BookingWizard::focusOut(QObject *watched)
{
    if (watched == ui->txtBookingNotes)
        txtBookingNotes_LostFocus();
    else if (watched == payment->txtCostPerNight)
        txtCostPerNight_LostFocus();
    else if (watched == payment->txtOtherCharges)
        txtOtherCharges_LostFocus();
    else if (watched == payment->txtSalesTax)
        txtSalesTax_LostFocus();
    else if (watched == payment->txtTotalPayable)
        txtTotalPayable_LostFocus();
    else if (watched == payment->txtAmountPayed)
        txtAmountPayed_LostFocus();
    else if (watched == customer->txtNoAdults)
        txtNoAdults_LostFocus();
    else if (watched == customer->txtNoChildren)
        txtNoChildren_LostFocus();
    else
        return false;
    return true;
}

bool BookingWizard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving a box for another control of the program; not a pop-up
        // menu over the box, nor a switch to another window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            focusOut(watched);
    }
    return QFrame::eventFilter(watched, event);
}

// ---------------------------------------------------------------- confirmation document

void BookingWizard::cmdConfirmation_Click()
{
    if (m_currentBookingId == 0)
        return;
    emit printConfirmation(m_currentBookingId, lblCurrencySymbol[0]->text(), lblSalesTaxName[0]->text());
}

void BookingWizard::cboPaperLanguage_Click()
{
    // Kept at once: the papers printed from here on are in it.
    if (m_db && m_currentBookingId)
        guarded([this] {
            SetBookingPaperLanguage(*m_db, m_currentBookingId, confirm->cboPaperLanguage->currentData().toString());
        });
}

void BookingWizard::cmdIssueInvoice_Click()
{
    if (m_currentBookingId == 0)
        return;
    emit issueInvoice(m_currentBookingId);
}

}  // namespace innkeld
