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
class QLabel;
class QListWidget;
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
    QLineEdit *txtCostPerNight = nullptr;
    QPushButton *cmdBack = nullptr;
    QCalendarWidget *dtCalendar = nullptr;
    QListWidget *lstArrivals = nullptr;
    QListWidget *lstDepartures = nullptr;
    QPushButton *cmdViewDetails = nullptr;
    QMenu *mnuFile = nullptr;
    QMenu *mnuReservations = nullptr;
    QMenu *mnuConfigure = nullptr;

protected:
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
    QObject *m_calendarView = nullptr;  // the month view's own key target

    AppContext m_context;
    std::unique_ptr<Database> m_db;
    bool m_loaded = false;
};

// Captions and colours of the label menu.
QString MenuHighlightTextColor();
QString MenuHoverColor();

}  // namespace innkeld
