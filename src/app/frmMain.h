// The main window: a caption-less window with the label menu at its left and
// the content area picBack, in which the arrivals, calendar and booking
// panels lie on top of each other. It holds the values that several parts
// of the program share for the whole run.
#pragma once

#include "data/database.h"

#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class QCalendarWidget;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QLineEdit;
class QPushButton;

namespace innkeld {

class ClickLabel;
class SettingsStore;
class UiServices;

// What the program is given from outside: where its database lies, its
// settings store and its way of asking the operator.
struct AppContext
{
    QString programFolder;      // the folder that holds db.mdb
    SettingsStore *settings = nullptr;
    UiServices *ui = nullptr;
};

class frmMain : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(const AppContext &context, QWidget *parent = nullptr);
    ~frmMain() override;

    // The load of the window, in its fixed order. Throws DbError when the
    // database cannot be opened; the window is then unusable.
    void Form_Load();
    bool isLoaded() const { return m_loaded; }

    // The first-run action: the rooms dialog, modal over this window.
    void FirstRun();
    void mnuFileExit_Click();

    // Panels
    void ShowArrivalsDepartures();
    void mnuReservationsArrivals_Click();
    void mnuCalendar_Click();
    void mnuReservationAdd_Click();
    void mnuConfigureRooms_Click();

    // Arrivals and departures
    void dtCalendar_DateClick(const QDate &date);
    void dtCalendar_KeyUp();
    void lstArrivals_DblClick();
    void lstDepartures_DblClick();
    void cmdViewDetails_Click();
    void lstArrivals_GotFocus();
    void lstDepartures_GotFocus();

    // Booking wizard
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void ShowBookingStep(int step);
    void PerformBookingStep(int step);
    void HighlightStep(int step);
    void ResetCustomerForm();
    void txtBookingNotes_LostFocus();
    void cmdConfirmation_Click();

    // Payment amounts
    void txtCostPerNight_LostFocus();
    void txtOtherCharges_LostFocus();
    void txtSalesTax_LostFocus();
    void txtTotalPayable_LostFocus();
    void txtAmountPayed_LostFocus();
    void txtNoAdults_LostFocus();
    void txtNoChildren_LostFocus();
    void cmdRecalculateTotalPayable_Click();

    // Label menu and window buttons
    void lblMenu_Click(int index);
    void lblMenu_MouseMove(int index);
    void picIcon_Click(int index);

    Database *db() const { return m_db.get(); }
    const AppContext &context() const { return m_context; }

    // Runs an operator action; a failure is shown with its own text and the
    // program goes on. Returns false when the action failed.
    bool guarded(const std::function<void()> &action);

    // Values shared for the whole run
    int CurrentStep = 0;
    RecordId CurrentBookingId = 0;
    bool OpenedFromList = false;
    int NightCount = 0;
    int RoomCount = 0;
    QString DefaultCostPerNight;
    double SalesTaxPercent = 0;

    // Controls
    QWidget *picBack = nullptr;
    QFrame *picBooking = nullptr;
    QFrame *picArrivals = nullptr;
    QFrame *picCalendar = nullptr;
    QVector<ClickLabel *> lblMenu;
    QVector<ClickLabel *> picIcon;
    QVector<QLabel *> Label1;  // headings and captions; 8, 14 and 16 move the window
    QVector<QLabel *> lblCurrencySymbol;
    QVector<QLabel *> lblSalesTaxName;
    QVector<QLabel *> lblPostCode;
    QMenu *mnuReservations = nullptr;

    // Booking panel: progress, notes and the buttons around the steps
    QGroupBox *fraProgress = nullptr;
    QVector<QLabel *> lblStep;
    QPlainTextEdit *txtBookingNotes = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdCancel = nullptr;
    QFrame *picBookingDates = nullptr;
    QFrame *picSelectRooms = nullptr;
    QFrame *picCustomer = nullptr;
    QFrame *picPayment = nullptr;
    QFrame *picConfirm = nullptr;
    // Step 1 - Dates
    QDateTimeEdit *dtFromDate = nullptr;
    QDateTimeEdit *dtToDate = nullptr;
    QLineEdit *txtBookedBy = nullptr;
    // Step 2 - Select Rooms
    QListWidget *lstRooms = nullptr;
    // Step 3 - Customer Details
    QLineEdit *txtFirstname = nullptr, *txtLastname = nullptr, *txtBusinessName = nullptr;
    QLineEdit *txtAddress1 = nullptr, *txtAddress2 = nullptr, *txtCity = nullptr, *txtState = nullptr;
    QLineEdit *txtCountry = nullptr, *txtPostcode = nullptr, *txtPhone = nullptr, *txtEmail = nullptr;
    QLineEdit *txtNoAdults = nullptr, *txtNoChildren = nullptr;
    // Step 4 - Payment
    QLabel *lblPaymentNights = nullptr;
    QLabel *lblPaymentApartments = nullptr;
    QLineEdit *txtCostPerNight = nullptr;
    QLineEdit *txtOtherCharges = nullptr;
    QLabel *lblSubTotal = nullptr;
    QLineEdit *txtSalesTax = nullptr;
    QLabel *lblSalesTaxPercentage = nullptr;
    QLineEdit *txtTotalPayable = nullptr;
    QLineEdit *txtAmountPayed = nullptr;
    QPushButton *cmdRecalculateTotalPayable = nullptr;
    QLineEdit *txtPaymentMethod = nullptr;
    QLineEdit *txtCreditCardType = nullptr;
    QLineEdit *txtCreditCardNo = nullptr;
    QLineEdit *txtCreditCardExpiry = nullptr;
    // Step 5 - Confirmation
    QLabel *lblConfirmDates = nullptr;
    QLabel *lblConfirmContact = nullptr;
    QLabel *lblConfirmAdultsChildren = nullptr;
    QVector<QLabel *> lblConfirm;
    QPushButton *cmdConfirmation = nullptr;
    QCalendarWidget *dtCalendar = nullptr;
    QListWidget *lstArrivals = nullptr;
    QListWidget *lstDepartures = nullptr;
    QPushButton *cmdViewDetails = nullptr;
    QMenu *mnuFile = nullptr;
    QMenu *mnuConfigure = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildShell();
    void buildArrivalsPanel();
    void buildBookingPanel();
    void buildCalendarPanel();
    void showPanel(QFrame *panel);
    void DragWindow();
    QLabel *addLabel1(int index, const QString &caption, QWidget *parent);
    void popupMenu(QMenu *menu, int labelIndex);
    void openFromList(QListWidget *list);
    void buildDatesStep();
    void buildRoomsStep();
    void buildCustomerStep();
    void buildPaymentStep();
    void buildConfirmStep();
    QFrame *stepPanel(const char *name, const QString &heading);
    QList<QLineEdit *> customerBoxes() const;
    void showStepPanel(QFrame *panel);
    void showDatesStep();
    void showRoomsStep();
    void showCustomerStep();
    void showPaymentStep();
    void showConfirmStep();
    bool wizardFocusOut(QObject *watched);
    QVector<QFrame *> m_stepPanels;
    QObject *m_calendarView = nullptr;  // the month view's own key target

    AppContext m_context;
    std::unique_ptr<Database> m_db;
    bool m_loaded = false;
};

// Captions and colours of the label menu.
QString MenuHighlightTextColor();
QString MenuHoverColor();

}  // namespace innkeld
