// The main window, a shell: the caption-less window with the label menu and
// its pop-up menus, the window buttons, the content area picBack in which
// the arrivals, calendar and booking panels lie on top of each other, the
// switch between them, and the load that prepares the run. What happens on
// a panel is the panel's own business; the handlers the window is known by
// forward to it.
#pragma once

#include "widgets/LongWork.h"
#include "data/sql/database.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QFrame;
class QMenu;

namespace Ui {
class frmMain;
}

namespace innkeld {

class ArrivalsPanel;
class ChannelCycle;
class BookingWizard;
class FindPanel;
class ReportsPanel;
class RoomChart;
class ChangeWatcher;
class Calendar;
class HelpWindow;
class ClickLabel;
class DailyBackup;
class RetentionJob;
class OutboxJob;
class RegionalTerms;
class SettingsStore;
class UiServices;

// What the program is given from outside: where its database lies, its
// settings store and its way of asking the operator.
struct AppContext
{
    QString programFolder;      // the program's own folder
    QString dataFolder;         // the user's data folder, for an installed copy's database
    QString databaseGiven;      // a database named on the command line
    QString databasePath;       // the database chosen at start-up
    QString cacheFolder;        // where the help keeps its register and search index
    SettingsStore *settings = nullptr;
    UiServices *ui = nullptr;
};

class frmMain : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(const AppContext &context, QWidget *parent = nullptr);
    ~frmMain() override;
    frmMain(const frmMain &) = delete;
    frmMain &operator=(const frmMain &) = delete;

    // The load of the window, in its fixed order. Throws DbError when the
    // database cannot be opened; the window is then unusable.
    void Form_Load();
    bool isLoaded() const { return m_loaded; }

    // The first-run action: the rooms dialog, modal over this window.
    void FirstRun();
    // Whether the house has no room yet (false when that cannot be read).
    bool HouseHasNoRoom();
    // Offers the bookings left without a customer more than a day ago: the
    // first opened to finish it, or all removed, or left for now.
    void OfferUnfinishedBookings();
    // Starts the daily copy of the database (DailyBackup) and says what it
    // reports: a damaged database each time, another failure once.
    void StartDailyBackup();
    // The house's rule of how long guests' details are kept, applied once a
    // day off the window's thread.
    void StartRetention();
    // The outbox sent off the window's thread: at the start, every minute,
    // and as soon as a paper is e-mailed.
    void StartOutbox();
    OutboxJob *outbox() const { return m_outbox; }
    bool dailyBackupRunning() const;
    // A backup, export, daily copy or the channels' import or feeds are
    // running on their own thread.
    bool isWorking() const;
    // The help window, made at its first use.
    HelpWindow *helpWindow();

    // The panels and what they share, for those who drive the window. The
    // wizard, the find and the reports panels, hidden at the start, are
    // made once the window is loaded (after what it shows first), or at
    // their first use before that.
    ArrivalsPanel *arrivals() const;
    BookingWizard *wizard();
    Calendar *calendar() const;
    FindPanel *finder();
    ReportsPanel *reports();
    RoomChart *roomChart();
    RegionalTerms *terms() const { return m_terms.get(); }
    Database *db() const { return m_db.get(); }

signals:
    // The window is being moved as by its title bar.
    void windowMoveStarted();
    // A backup or an export started from the File menu has ended (and its
    // message, if any, has been shown).
    void longWorkFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private slots:
    // File
    void mnuFileExportResCSV_Click();
    void mnuFileBackup_Click();
    void mnuFileExit_Click();

    // Panels
    void ShowArrivalsDepartures();       // refill the day's lists and show them
    void mnuReservationsArrivals_Click();  // show the lists as they are
    void mnuCalendar_Click();
    void mnuReservationAdd_Click();        // start or resume a booking
    void mnuReservationFind_Click();       // the find panel, its box ready for typing
    void FindClosed();                     // back to the panel shown before
    void mnuReports_Click();               // the reports panel, its report counted again
    void mnuRoomChart_Click();             // the room chart, read again
    void mnuConfigureTerminology_Click();
    void mnuConfigureRooms_Click();
    void mnuConfigureRates_Click();
    void mnuConfigureChannels_Click();
    void mnuConfigureHouseDetails_Click();
    void mnuReservationInvoices_Click();
    // Fetches every channel's feed and stores its events (ChannelCycle).
    void mnuFileImportChannels_Click();
    // The shared rooms' feeds written again: what the house has sold changed.
    void publishFeeds();

    // Help
    void mnuHelpContents_Click();
    void mnuHelpIndex_Click();
    void mnuHelpSearch_Click();
    void mnuAbout_Click();

    // Label menu and window buttons
    void lblMenu_Click(int index);
    void lblMenu_MouseMove(int index);
    void picIcon_Click(int index);
    void ToggleMaximised();  // maximise the window, or give it back its size

private:
    void showPanel(QWidget *panel);
    void openBooking(RecordId bookingId);
    // Add Booking with a room and days chosen on the chart.
    void addBookingForStay(RecordId room, const QDate &arrival, const QDate &departure);
    void bookingClosed();
    // What another desk stored shown on the panels that show it.
    void showOtherDesksChanges();
    // What this desk stored shown on the other panels.
    void staysChangedHere();
    // The wizard's Print Confirmation: the document written and opened in
    // the desktop's program for it.
    void printConfirmation(RecordId bookingId, const QString &currencySymbol, const QString &taxName);
    // Issues the booking's invoice and shows it in the print preview.
    void issueInvoice(RecordId bookingId);
    // The wizard's E-mail Confirmation and E-mail Invoice (the invoice
    // issued last).
    void emailConfirmation(RecordId bookingId, const QString &currencySymbol, const QString &taxName);
    void emailInvoice(RecordId bookingId);
    void DragWindow();
    int topBandHeight() const;  // the blue band above the content area
    void popupMenu(QMenu *menu, int labelIndex);
    bool guarded(const std::function<void()> &action);
    // The panels made so far.
    QList<QWidget *> panels() const;
    // A panel placed over the content area as the others, hidden.
    void placePanel(QFrame *panel);
    template <typename Panel>
    Panel *makePanel(const char *name);
    void makePanels();
    // The file a backup or an export is to write, asked of the operator;
    // empty when cancelled or when it is the database itself (said).
    QString askTarget(const QString &filter, const QString &suffix);
    // Starts a backup or an export; its failure is said, and `completed`
    // runs on the window's thread when it is whole.
    bool startLongWork(const QString &label, const LongWork::Job &job, const std::function<void()> &completed = {});

    const std::unique_ptr<Ui::frmMain> ui;
    QList<ClickLabel *> lblMenu;
    QList<QMenu *> m_popups;  // File, Bookings, Configure, Help
    QWidget *m_beforeFind = nullptr;  // the panel the find panel came over
    HelpWindow *m_help = nullptr;
    DailyBackup *m_dailyBackup = nullptr;
    RetentionJob *m_retention = nullptr;
    OutboxJob *m_outbox = nullptr;
    LongWork *m_work = nullptr;
    AppContext m_context;
    std::unique_ptr<RegionalTerms> m_terms;
    std::unique_ptr<Database> m_db;
    bool m_loaded = false;
    ChannelCycle *m_channels = nullptr;  // the channels' fetch, store and write
    BookingWizard *m_wizard = nullptr;
    FindPanel *m_finder = nullptr;
    ReportsPanel *m_reports = nullptr;
    RoomChart *m_chart = nullptr;
    ChangeWatcher *m_watcher = nullptr;
    QWidget *m_beforeBooking = nullptr;  // the panel a booking was opened from
};

// Colours of the label menu.
QString MenuHighlightTextColor();
QString MenuHoverColor();

}  // namespace innkeld
