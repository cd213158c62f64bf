// The booking panel of the main window: the progress box, the notes, the
// wizard's buttons and its five step panels with their controls.
#include "app/frmMain.h"
#include "app/widgets.h"
#include "data/regional.h"

#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace innkeld {

namespace {

// Panel geometry inside picBooking.
constexpr int kStepLeft = 150;
constexpr int kStepTop = 40;

QString captionName(const QString &controlName)
{
    // txtBookedBy -> lblBookedBy
    int i = 0;
    while (i < controlName.size() && controlName.at(i).isLower())
        ++i;
    return QStringLiteral("lbl") + controlName.mid(i);
}

template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *lineEdit(QWidget *parent, const char *name)
{
    return named(new QLineEdit(parent), name);
}

// A caption label for a control, announcing it (its buddy).
QLabel *caption(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(captionName(buddy->objectName()));
    label->setBuddy(buddy);
    return label;
}

// Puts a step's form under its heading, with the free space below it.
void addForm(QWidget *panel, QLayout *form)
{
    auto *column = static_cast<QVBoxLayout *>(panel->layout());
    column->addLayout(form);
    column->addStretch();
}

QLabel *valueLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *label = named(new QLabel(text, parent), name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

QFrame *frmMain::stepPanel(const char *name, const QString &heading)
{
    auto *panel = named(new QFrame(picBooking), name);
    panel->setGeometry(kStepLeft, kStepTop, picBooking->width() - kStepLeft - 8, picBooking->height() - kStepTop - 48);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(10, 8, 10, 8);
    auto *title = new QLabel(heading, panel);
    title->setObjectName(QLatin1String(name) + QStringLiteral("Heading"));
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    layout->addWidget(title);
    m_stepPanels << panel;
    return panel;
}

void frmMain::buildBookingPanel()
{
    addLabel1(14, QStringLiteral("Booking"), picBooking)->setGeometry(12, 4, 300, 32);

    fraProgress = named(new QGroupBox(QStringLiteral("Booking Progress"), picBooking), "fraProgress");
    fraProgress->setGeometry(8, kStepTop, kStepLeft - 14, 200);
    auto *progress = new QVBoxLayout(fraProgress);
    const char *const steps[] = {"Step 1 - Dates", "Step 2 - Select Rooms", "Step 3 - Customer Details",
                                 "Step 4 - Payment", "Step 5 - Confirmation"};
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(QLatin1String(steps[i]), fraProgress);
        label->setObjectName(QStringLiteral("lblStep_%1").arg(i));
        label->setWordWrap(true);
        progress->addWidget(label);
        lblStep << label;
    }

    // The regional terms beside the amounts: element 0 stands before the sub
    // total, 1 to 5 before the amount boxes.
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(picBooking);
        label->setObjectName(QStringLiteral("lblCurrencySymbol_%1").arg(i));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblCurrencySymbol << label;
    }
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(QStringLiteral("Sales Tax:"), picBooking);
        label->setObjectName(QStringLiteral("lblSalesTaxName_%1").arg(i));
        lblSalesTaxName << label;
    }
    auto *postCode = new QLabel(QStringLiteral("Post Code:"), picBooking);
    postCode->setObjectName(QStringLiteral("lblPostCode_0"));
    lblPostCode << postCode;

    // The step panels, each with its own controls.
    buildDatesStep();
    buildRoomsStep();
    buildCustomerStep();
    buildPaymentStep();
    buildConfirmStep();

    txtBookingNotes = named(new QPlainTextEdit(picBooking), "txtBookingNotes");
    txtBookingNotes->setToolTip(QStringLiteral("Notes for this booking."));
    txtBookingNotes->setTabChangesFocus(true);
    QLabel *notesCaption = caption(picBooking, QStringLiteral("Booking Notes"), txtBookingNotes);
    notesCaption->setGeometry(8, kStepTop + 206, kStepLeft - 14, 20);
    txtBookingNotes->setGeometry(8, kStepTop + 228, kStepLeft - 14, picBooking->height() - kStepTop - 228 - 48);
    txtBookingNotes->installEventFilter(this);

    const int buttonsTop = picBooking->height() - 38;
    cmdCancel = named(new QPushButton(QStringLiteral("&Cancel Booking"), picBooking), "cmdCancel");
    cmdCancel->setGeometry(kStepLeft, buttonsTop, 120, 30);
    cmdBack = named(new QPushButton(QStringLiteral("&Back"), picBooking), "cmdBack");
    cmdBack->setGeometry(picBooking->width() - 8 - 2 * 96 - 6, buttonsTop, 96, 30);
    cmdNext = named(new QPushButton(QStringLiteral("&Next"), picBooking), "cmdNext");
    cmdNext->setGeometry(picBooking->width() - 8 - 96, buttonsTop, 96, 30);
    for (QPushButton *b : {cmdCancel, cmdBack, cmdNext})
        b->setAutoDefault(false);
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Tab order: the step's controls, then the notes, then the buttons.
    setTabOrder(txtCreditCardExpiry, cmdConfirmation);
    setTabOrder(cmdConfirmation, txtBookingNotes);
    setTabOrder(txtBookingNotes, cmdCancel);
    setTabOrder(cmdCancel, cmdBack);
    setTabOrder(cmdBack, cmdNext);

    for (QFrame *panel : m_stepPanels)
        panel->hide();
}

void frmMain::buildDatesStep()
{
    picBookingDates = stepPanel("picBookingDates", QStringLiteral("Select the booking date range."));
    auto *grid = new QGridLayout;
    auto picker = [this](const char *name) {
        auto *edit = named(new QDateTimeEdit(picBookingDates), name);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(RegionalPickerFormat());
        return edit;
    };
    dtFromDate = picker("dtFromDate");
    dtToDate = picker("dtToDate");
    txtBookedBy = lineEdit(picBookingDates, "txtBookedBy");
    grid->addWidget(caption(picBookingDates, QStringLiteral("Arrival Date:"), dtFromDate), 0, 0);
    grid->addWidget(dtFromDate, 0, 1);
    grid->addWidget(caption(picBookingDates, QStringLiteral("Departure Date:"), dtToDate), 1, 0);
    grid->addWidget(dtToDate, 1, 1);
    grid->addWidget(caption(picBookingDates, QStringLiteral("Booked By (your name):"), txtBookedBy), 2, 0);
    grid->addWidget(txtBookedBy, 2, 1);
    addForm(picBookingDates, grid);
}

void frmMain::buildRoomsStep()
{
    picSelectRooms = stepPanel("picSelectRooms", QStringLiteral("Select the rooms for this booking."));
    lstRooms = named(new QListWidget(picSelectRooms), "lstRooms");
    lstRooms->setSelectionMode(QAbstractItemView::MultiSelection);
    auto *layout = static_cast<QVBoxLayout *>(picSelectRooms->layout());
    layout->addWidget(caption(picSelectRooms, QStringLiteral("Rooms:"), lstRooms));
    layout->addWidget(lstRooms);
}

void frmMain::buildCustomerStep()
{
    picCustomer = stepPanel("picCustomer", QStringLiteral("Enter your customer's details."));
    QWidget *p = picCustomer;
    txtFirstname = lineEdit(p, "txtFirstname");
    txtLastname = lineEdit(p, "txtLastname");
    txtBusinessName = lineEdit(p, "txtBusinessName");
    txtAddress1 = lineEdit(p, "txtAddress1");
    txtAddress2 = lineEdit(p, "txtAddress2");
    txtCity = lineEdit(p, "txtCity");
    txtState = lineEdit(p, "txtState");
    txtCountry = lineEdit(p, "txtCountry");
    txtPostcode = lineEdit(p, "txtPostcode");
    txtPhone = lineEdit(p, "txtPhone");
    txtEmail = lineEdit(p, "txtEmail");
    txtNoAdults = lineEdit(p, "txtNoAdults");
    txtNoChildren = lineEdit(p, "txtNoChildren");

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    // First and last name side by side.
    auto *names = new QGridLayout;
    names->addWidget(caption(p, QStringLiteral("First Name:"), txtFirstname), 0, 0);
    names->addWidget(caption(p, QStringLiteral("Last Name:"), txtLastname), 0, 1);
    names->addWidget(txtFirstname, 1, 0);
    names->addWidget(txtLastname, 1, 1);
    grid->addLayout(names, 0, 0, 1, 2);
    int row = 1;
    auto add = [&](const QString &text, QLineEdit *box) {
        grid->addWidget(caption(p, text, box), row, 0);
        grid->addWidget(box, row++, 1);
    };
    add(QStringLiteral("Business Name:"), txtBusinessName);
    add(QStringLiteral("Address:"), txtAddress1);
    add(QStringLiteral("Address:"), txtAddress2);
    add(QStringLiteral("City:"), txtCity);
    add(QStringLiteral("State:"), txtState);
    add(QStringLiteral("Country:"), txtCountry);
    lblPostCode[0]->setBuddy(txtPostcode);
    grid->addWidget(lblPostCode[0], row, 0);
    grid->addWidget(txtPostcode, row++, 1);
    add(QStringLiteral("Phone:"), txtPhone);
    add(QStringLiteral("Email:"), txtEmail);
    add(QStringLiteral("No Adults:"), txtNoAdults);
    add(QStringLiteral("No Children:"), txtNoChildren);
    addForm(p, grid);
    for (QLineEdit *box : {txtNoAdults, txtNoChildren})
        box->installEventFilter(this);
}

void frmMain::buildPaymentStep()
{
    picPayment = stepPanel("picPayment", QStringLiteral("Payment details."));
    QWidget *p = picPayment;
    lblPaymentNights = valueLabel(p, "lblPaymentNights");
    lblPaymentApartments = valueLabel(p, "lblPaymentApartments");
    lblPaymentApartments->setWordWrap(true);
    txtCostPerNight = lineEdit(p, "txtCostPerNight");
    txtOtherCharges = lineEdit(p, "txtOtherCharges");
    txtOtherCharges->setToolTip(QStringLiteral("Enter any other charges this booking has."));
    lblSubTotal = valueLabel(p, "lblSubTotal", QStringLiteral("0.00"));
    txtSalesTax = lineEdit(p, "txtSalesTax");
    lblSalesTaxPercentage = valueLabel(p, "lblSalesTaxPercentage");
    txtTotalPayable = lineEdit(p, "txtTotalPayable");
    txtTotalPayable->setToolTip(QStringLiteral("Total amount the customer should pay."));
    txtAmountPayed = lineEdit(p, "txtAmountPayed");
    txtAmountPayed->setToolTip(QStringLiteral("Total amount payed by the customer."));
    cmdRecalculateTotalPayable = named(new QPushButton(QStringLiteral("&Update Total Payable"), p),
                                       "cmdRecalculateTotalPayable");
    cmdRecalculateTotalPayable->setToolTip(QStringLiteral("Recalculate the total."));
    cmdRecalculateTotalPayable->setAutoDefault(false);
    txtPaymentMethod = lineEdit(p, "txtPaymentMethod");
    txtPaymentMethod->setToolTip(QStringLiteral("Credit Card, Cheque etc."));
    txtCreditCardType = lineEdit(p, "txtCreditCardType");
    txtCreditCardNo = lineEdit(p, "txtCreditCardNo");
    txtCreditCardExpiry = lineEdit(p, "txtCreditCardExpiry");

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(2, 1);
    int row = 0;
    auto add = [&](QLabel *captionLabel, QLabel *symbol, QWidget *field, QWidget *extra = nullptr) {
        grid->addWidget(captionLabel, row, 0);
        if (symbol)
            grid->addWidget(symbol, row, 1);
        grid->addWidget(field, row, 2);
        if (extra)
            grid->addWidget(extra, row, 3);
        ++row;
    };
    add(caption(p, QStringLiteral("No of nights:"), lblPaymentNights), nullptr, lblPaymentNights);
    add(caption(p, QStringLiteral("Apartments:"), lblPaymentApartments), nullptr, lblPaymentApartments);
    add(caption(p, QStringLiteral("Cost per night:"), txtCostPerNight), lblCurrencySymbol[1], txtCostPerNight);
    add(caption(p, QStringLiteral("Other Charges:"), txtOtherCharges), lblCurrencySymbol[2], txtOtherCharges);
    add(caption(p, QStringLiteral("Sub Total:"), lblSubTotal), lblCurrencySymbol[0], lblSubTotal);
    lblSalesTaxName[0]->setBuddy(txtSalesTax);
    auto *taxRate = new QWidget(p);
    auto *rate = new QHBoxLayout(taxRate);
    rate->setContentsMargins(0, 0, 0, 0);
    auto *at = new QLabel(QStringLiteral("at"), taxRate);
    at->setObjectName(QStringLiteral("lblAt"));
    rate->addWidget(at);
    rate->addWidget(lblSalesTaxPercentage);
    add(lblSalesTaxName[0], lblCurrencySymbol[3], txtSalesTax, taxRate);
    add(caption(p, QStringLiteral("Total Payable:"), txtTotalPayable), lblCurrencySymbol[4], txtTotalPayable);
    add(caption(p, QStringLiteral("Amount Payed:"), txtAmountPayed), lblCurrencySymbol[5], txtAmountPayed);
    grid->addWidget(cmdRecalculateTotalPayable, row++, 2, 1, 2);
    add(caption(p, QStringLiteral("Payment Method:"), txtPaymentMethod), nullptr, txtPaymentMethod);
    add(caption(p, QStringLiteral("Credit Card Type:"), txtCreditCardType), nullptr, txtCreditCardType);
    add(caption(p, QStringLiteral("Credit Card No:"), txtCreditCardNo), nullptr, txtCreditCardNo);
    add(caption(p, QStringLiteral("Credit Card Expiry:"), txtCreditCardExpiry), nullptr, txtCreditCardExpiry);
    addForm(p, grid);

    for (QLineEdit *box : {txtCostPerNight, txtOtherCharges, txtSalesTax, txtTotalPayable, txtAmountPayed})
        box->installEventFilter(this);
    connect(cmdRecalculateTotalPayable, &QPushButton::clicked, this, [this] { cmdRecalculateTotalPayable_Click(); });
}

void frmMain::buildConfirmStep()
{
    picConfirm = stepPanel("picConfirm", QStringLiteral("Booking confirmation details."));
    QWidget *p = picConfirm;
    auto *layout = static_cast<QVBoxLayout *>(p->layout());
    lblConfirmDates = valueLabel(p, "lblConfirmDates");
    lblConfirmContact = valueLabel(p, "lblConfirmContact");
    lblConfirmContact->setWordWrap(true);
    lblConfirmAdultsChildren = valueLabel(p, "lblConfirmAdultsChildren");
    layout->addWidget(lblConfirmDates);
    layout->addWidget(lblConfirmContact);
    layout->addWidget(lblConfirmAdultsChildren);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    const char *const captions[] = {"Cost per night:", "Other Charges:", "Sub Total:", nullptr, "Total Payable:",
                                    "Amount Payed:", "Payment Method:", "Credit Card Type:", "Credit Card No:",
                                    "Credit Card Expiry:"};
    for (int i = 0; i < 10; ++i) {
        auto *value = new QLabel(p);
        value->setObjectName(QStringLiteral("lblConfirm_%1").arg(i));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lblConfirm << value;
        QLabel *left = nullptr;
        if (captions[i]) {
            left = new QLabel(QLatin1String(captions[i]), p);
            left->setObjectName(QStringLiteral("lblConfirmCaption_%1").arg(i));
        } else {
            left = lblSalesTaxName[1];  // the tax's own name
        }
        left->setBuddy(value);
        grid->addWidget(left, i, 0);
        grid->addWidget(value, i, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    cmdConfirmation = named(new QPushButton(QStringLiteral("Print &Confirmation"), p), "cmdConfirmation");
    cmdConfirmation->setAutoDefault(false);
    layout->addWidget(cmdConfirmation, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(cmdConfirmation, &QPushButton::clicked, this, [this] { cmdConfirmation_Click(); });
}

}  // namespace innkeld
