#include "frmMain.h"

#include "mail/outbox.h"
#include "ui_frmMain.h"

#include "arrivals/ArrivalsPanel.h"
#include "arrivals/FindPanel.h"
#include "reports/ReportsPanel.h"
#include "calendar/RoomChart.h"
#include "calendar/RoomChartView.h"
#include "data/sql/changewatch.h"
#include "channels/ChannelCycle.h"
#include "channels/frmChannels.h"
#include "calendar/Calendar.h"
#include "config/frmConfigRooms.h"
#include "config/frmTerminology.h"
#include "config/roomlist.h"
#include "booking/bookingstore.h"
#include "data/schema/houseterms.h"
#include "frmAbout.h"
#include "HelpWindow.h"
#include "data/copies/backup.h"
#include "data/copies/dailybackup.h"
#include "booking/privacy.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "data/regional/settings.h"
#include "data/schema/schema.h"
#include "output/invoices.h"
#include "output/showpapers.h"
#include "config/frmHouseDetails.h"
#include "config/frmRates.h"
#include "output/frmInvoices.h"
#include "output/csvexport.h"
#include "widgets/FramelessFrame.h"
#include "widgets/LongWork.h"
#include "widgets/uiservices.h"
#include "widgets/windowplacement.h"
#include "wizard/BookingWizard.h"

#include "innkeld_version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QShortcut>
#include <QTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QScopeGuard>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace innkeld {

namespace {

// The window is designed 10005 by 8265 twips; at 15 twips a pixel that is
// 667 by 551 pixels. The load sets the outer height to 8300 twips.
constexpr int kWidth = 667;
constexpr int kHeight = 551;
constexpr int kLoadHeight = 553;

void setTextColour(QLabel *label, const QString &colour)
{
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour));
}

}  // namespace

QString MenuHighlightTextColor()
{
    return QApplication::palette().color(QPalette::HighlightedText).name();
}

QString MenuHoverColor()
{
    return QStringLiteral("#000080");
}

frmMain::frmMain(const AppContext &context, QWidget *parent)
    : QWidget(parent), ui(new Ui::frmMain), m_context(context), m_terms(std::make_unique<RegionalTerms>())
{
    ui->setupUi(this);
    ShowLabelsAsPlainText(this);  // the regional terms as typed
    // Moved and resized by its own surface and edges, as a framed window.
    new FramelessFrame(this, [this] { return topBandHeight(); }, [this] { DragWindow(); });
    setWindowTitle(QStringLiteral("Vantrel Innkeld v") + QLatin1String(INNKELD_VERSION));
    setAttribute(Qt::WA_DeleteOnClose, false);

    lblMenu = {ui->lblMenu_0, ui->lblMenu_1, ui->lblMenu_2, ui->lblMenu_3,
               ui->lblMenu_4, ui->lblMenu_5, ui->lblMenu_6, ui->lblMenu_7, ui->lblMenu_8, ui->lblMenu_9};
    // The system's highlight-text colour is known only when the program runs.
    for (int i : {1, 2, 3, 4, 7, 8, 9})
        setTextColour(lblMenu[i], MenuHighlightTextColor());
    // Each label as tall as its words take in the desktop's font.
    HoldWrappedText({lblMenu.begin(), lblMenu.end()}, ui->lblMenu_0->maximumWidth());
    for (int i = 0; i < lblMenu.size(); ++i) {
        ClickLabel *label = lblMenu[i];
        connect(label, &ClickLabel::clicked, this, [this, i] { lblMenu_Click(i); });
        connect(label, &ClickLabel::mouseMoved, this, [this, i] { lblMenu_MouseMove(i); });
    }
    connect(ui->picIcon_0, &ClickLabel::clicked, this, [this] { picIcon_Click(0); });
    connect(ui->picIcon_1, &ClickLabel::clicked, this, [this] { picIcon_Click(1); });
    connect(ui->picIcon_2, &ClickLabel::clicked, this, [this] { picIcon_Click(2); });

    const std::pair<QAction *, void (frmMain::*)()> menuItems[] = {
        {ui->mnuHelpContents, &frmMain::mnuHelpContents_Click}, {ui->mnuHelpIndex, &frmMain::mnuHelpIndex_Click},
        {ui->mnuHelpSearch, &frmMain::mnuHelpSearch_Click}, {ui->mnuAbout, &frmMain::mnuAbout_Click},
        {ui->mnuCalendar, &frmMain::mnuCalendar_Click},
        {ui->mnuReservationsArrivals, &frmMain::mnuReservationsArrivals_Click},
        {ui->mnuFileExportResCSV, &frmMain::mnuFileExportResCSV_Click},
        {ui->mnuFileBackup, &frmMain::mnuFileBackup_Click}, {ui->mnuFileExit, &frmMain::mnuFileExit_Click},
        {ui->mnuReservationAdd, &frmMain::mnuReservationAdd_Click},
        {ui->mnuReservationFind, &frmMain::mnuReservationFind_Click},
        {ui->mnuConfigureTerminology, &frmMain::mnuConfigureTerminology_Click},
        {ui->mnuConfigureRooms, &frmMain::mnuConfigureRooms_Click},
        {ui->mnuConfigureRates, &frmMain::mnuConfigureRates_Click},
        {ui->mnuConfigureChannels, &frmMain::mnuConfigureChannels_Click},
        {ui->mnuConfigureHouseDetails, &frmMain::mnuConfigureHouseDetails_Click},
        {ui->mnuReservationInvoices, &frmMain::mnuReservationInvoices_Click},
        {ui->mnuFileImportChannels, &frmMain::mnuFileImportChannels_Click}};
    for (const auto &[action, slot] : menuItems)
        connect(action, &QAction::triggered, this, slot);
    // Ctrl+F from every panel, as the menu item shows it.
    addAction(ui->mnuReservationFind);

    // With no menu bar, F10 opens File as a menu bar would; Left and Right
    // in an open pop-up move on to its neighbour.
    m_popups = {ui->mnuFile, ui->mnuReservations, ui->mnuConfigure, ui->mnuHelp};
    for (QMenu *menu : m_popups)
        menu->installEventFilter(this);
    // The labels that are no menus have keys of their own, from every
    // panel; a text box has no use of them. Each label's tooltip tells its key.
    const std::pair<int, QKeySequence> keys[] = {{1, QKeySequence(Qt::CTRL | Qt::Key_L)},
                                                 {5, QKeySequence(Qt::CTRL | Qt::Key_N)},
                                                 {6, QKeySequence(Qt::CTRL | Qt::Key_T)},
                                                 {7, QKeySequence(Qt::CTRL | Qt::Key_R)},
                                                 {8, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
                                                 {9, QKeySequence(Qt::CTRL | Qt::Key_M)}};
    for (const auto &[index, key] : keys) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setObjectName(lblMenu[index]->objectName() + QStringLiteral("_Shortcut"));
        connect(shortcut, &QShortcut::activated, this, [this, i = index] { lblMenu_Click(i); });
        const QString tip = lblMenu[index]->toolTip().isEmpty() ? lblMenu[index]->text().simplified()
                                                                 : lblMenu[index]->toolTip();
        lblMenu[index]->setToolTip(QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
    }
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] { popupMenu(ui->mnuFile, 0); });

    // Presses inside the content area stay there: only the window's own
    // surface and the three panel headings move the window, not a field's
    // caption or a panel's blank space. (An attribute a form cannot set.)
    ui->picBack->setAttribute(Qt::WA_NoMousePropagation);

    // The three panel headings move the window.
    connect(ui->picArrivals, &ArrivalsPanel::headingPressed, this, &frmMain::DragWindow);
    connect(ui->Label1_16, &ClickLabel::mousePressed, this, &frmMain::DragWindow);

    ui->MainCalendar->setServices(m_context.ui);
    connect(ui->MainCalendar, &Calendar::openBooking, this, &frmMain::openBooking);
    ui->picArrivals->setServices(m_context.ui);
    connect(ui->picArrivals, &ArrivalsPanel::openBooking, this, &frmMain::openBooking);
    connect(ui->picArrivals, &ArrivalsPanel::staysChanged, this, &frmMain::publishFeeds);
    connect(ui->picArrivals, &ArrivalsPanel::printRegistrationCards, this,
            [this](const QVector<RecordId> &bookings, const QString &title) {
                guarded([&] { ShowRegistrationCards(*m_db, *m_context.ui, this, bookings, title); });
            });
    ui->picArrivals->setPaymentsOpener([this](RecordId booking) { wizard()->RecordPaymentFor(booking); });
}

frmMain::~frmMain()
{
    // The work on other threads is stopped and waited for before the
    // window's parts go.
    delete m_dailyBackup;
    delete m_work;
}

ArrivalsPanel *frmMain::arrivals() const
{
    return ui->picArrivals;
}

// A hidden panel made: named, given what it reads through, moving the
// window by its heading, placed over the content area as the others.
template <typename Panel>
Panel *frmMain::makePanel(const char *name)
{
    auto *panel = new Panel(ui->picBack);
    panel->setObjectName(QLatin1String(name));
    panel->setServices(m_context.ui);
    panel->setConnection(m_db.get());
    connect(panel, &Panel::headingPressed, this, &frmMain::DragWindow);
    placePanel(panel);
    return panel;
}

BookingWizard *frmMain::wizard()
{
    if (m_wizard)
        return m_wizard;
    m_wizard = makePanel<BookingWizard>("picBooking");
    m_wizard->setTerms(m_terms.get());
    connect(m_wizard, &BookingWizard::bookingClosed, this, &frmMain::bookingClosed);
    connect(m_wizard, &BookingWizard::staysChanged, this, &frmMain::staysChangedHere);
    connect(m_wizard, &BookingWizard::bookingClosed, this, &frmMain::publishFeeds);
    connect(m_wizard, &BookingWizard::printConfirmation, this, &frmMain::printConfirmation);
    connect(m_wizard, &BookingWizard::issueInvoice, this, &frmMain::issueInvoice);
    connect(m_wizard, &BookingWizard::emailConfirmation, this, &frmMain::emailConfirmation);
    connect(m_wizard, &BookingWizard::emailInvoice, this, &frmMain::emailInvoice);
    // It starts at its first step, without nights, with the house's price.
    m_wizard->Reset();
    m_wizard->ShowDefaultCostPerNight();
    return m_wizard;
}

Calendar *frmMain::calendar() const
{
    return ui->MainCalendar;
}

FindPanel *frmMain::finder()
{
    if (m_finder)
        return m_finder;
    m_finder = makePanel<FindPanel>("picFind");
    connect(m_finder, &FindPanel::openBooking, this, &frmMain::openBooking);
    connect(m_finder, &FindPanel::issueInvoice, this, &frmMain::issueInvoice);
    connect(m_finder, &FindPanel::closed, this, &frmMain::FindClosed);
    return m_finder;
}

ReportsPanel *frmMain::reports()
{
    if (m_reports)
        return m_reports;
    m_reports = makePanel<ReportsPanel>("picReports");
    m_reports->setTerms(m_terms.get());
    return m_reports;
}

RoomChart *frmMain::roomChart()
{
    if (m_chart)
        return m_chart;
    m_chart = makePanel<RoomChart>("picRoomChart");
    m_chart->setPaymentsOpener([this](RecordId booking) { wizard()->RecordPaymentFor(booking); });
    connect(m_chart, &RoomChart::openBooking, this, &frmMain::openBooking);
    connect(m_chart, &RoomChart::addBooking, this, &frmMain::addBookingForStay);
    connect(m_chart, &RoomChart::issueInvoice, this, &frmMain::issueInvoice);
    connect(m_chart, &RoomChart::printConfirmation, this,
            [this](RecordId id) { printConfirmation(id, m_terms->CurrencySymbol(), m_terms->SalesTaxName()); });
    connect(m_chart, &RoomChart::staysChanged, this, &frmMain::staysChangedHere);
    return m_chart;
}

void frmMain::makePanels()
{
    wizard();
    finder();
    reports();
    roomChart();
}

QList<QWidget *> frmMain::panels() const
{
    QList<QWidget *> made{ui->picCalendar, ui->picArrivals};
    for (QWidget *panel : std::initializer_list<QWidget *>{m_wizard, m_finder, m_reports, m_chart})
        if (panel)
            made << panel;
    return made;
}

void frmMain::placePanel(QFrame *panel)
{
    ShowLabelsAsPlainText(panel);
    ui->panelStack->addWidget(panel, 0, 0);
    panel->hide();
    QSizePolicy policy = panel->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(policy);
    panel->setGeometry(0, 0, ui->picBack->width(), ui->picBack->height());
    panel->setFrameShape(QFrame::NoFrame);
}

void frmMain::Form_Load()
{
    if (m_loaded)
        return;
    // 1. The outer height, then 2. no title bar. The window grows from its
    // designed size and is never smaller; it opens where it was left.
    // Neither the window nor its smallest size exceeds the screen's
    // available area (a small screen, or a large scale factor).
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, kWidth, kHeight);
    const QSize fitting = QSize(kWidth, kHeight).boundedTo(available.size());
    resize(QSize(kWidth, kLoadHeight).boundedTo(available.size()));
    setWindowFlag(Qt::FramelessWindowHint, true);
    setMinimumSize(fitting);
    resize(fitting);
    RestorePlacement(this, *m_context.settings, topBandHeight());
    if (width() > available.width() || height() > available.height())
        resize(size().boundedTo(available.size()));
    if (!available.contains(frameGeometry()))
        move(std::clamp(x(), available.left(), std::max(available.left(), available.right() - width() + 1)),
             std::clamp(y(), available.top(), std::max(available.top(), available.bottom() - height() + 1)));

    // 3. The one database connection, given to the panels that read it.
    const QString path = m_context.databasePath.isEmpty()
        ? QDir(m_context.programFolder).filePath(QStringLiteral("db.mdb"))
        : m_context.databasePath;
    m_db = OpenDatabase(path);
    m_context.ui->setFilePermissions(DataFilePermissions(*m_db));
    ui->picArrivals->setConnection(m_db.get());
    // (The other panels get it as they are made.)

    // 4. The calendar gets it too and sets itself up; it reads its week
    // each time it is shown (hidden at the start, it reads nothing now).
    ui->MainCalendar->objConn = m_db.get();
    ui->MainCalendar->Setup();

    // 5. No booking opened from a list: the wizard's reset at 10. does it.
    // 6.-8. Today's arrivals and departures in front.
    ui->picArrivals->setDate(QDate::currentDate());
    for (QWidget *panel : panels())
        panel->hide();
    ShowArrivalsDepartures();

    // 9. The panels fill the content area, without a border: placed now,
    // and by the area's layout as it grows, shown or not.
    for (QFrame *panel : std::initializer_list<QFrame *>{ui->picArrivals, ui->picCalendar}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
        panel->setGeometry(0, 0, ui->picBack->width(), ui->picBack->height());
        panel->setFrameShape(QFrame::NoFrame);
    }

    // 10.-11. The wizard starts at its first step, without nights (as it
    // is made, once what the window shows first is there).

    // 12.-17. The regional terms and defaults, the house's for every desk
    // (a database that keeps none yet takes this desk's settings); the
    // labels follow them.
    ApplyHouseTerms(*m_terms, HouseTermsOrFirst(*m_db, HouseTermsFromSettings(*m_context.settings)));

    m_loaded = true;
    // The hidden panels made as soon as the window is free: not before
    // what it shows first is painted.
    QTimer::singleShot(0, this, [this] { guarded([this] { makePanels(); }); });

    // The channels fetched at start-up and every hour, when the house asks;
    // what they stored is shown by the panel in front.
    m_channels = new ChannelCycle(*m_db, *m_context.ui, *m_context.settings, m_context.dataFolder, this);
    connect(m_channels, &ChannelCycle::stored, this, [this] {
        if (ui->picCalendar->isVisible())
            guarded([this] { ui->MainCalendar->Refresh(); });
        if (ui->picArrivals->isVisible())
            guarded([this] { ui->picArrivals->FillLists(); });
    });
    m_channels->start();

    // What other desks store, shown here without a key pressed.
    m_watcher = new ChangeWatcher(*m_db, this);
    connect(m_watcher, &ChangeWatcher::changed, this, &frmMain::showOtherDesksChanges);
    // The desk works on meanwhile; what others store shows when a panel is
    // read again.
    connect(m_watcher, &ChangeWatcher::failed, this, [](const QString &why) {
        qWarning("Other desks' changes are not shown until the server answers again: %s", qPrintable(why));
    });
    guarded([this] { m_watcher->start(); });
}

bool frmMain::guarded(const std::function<void()> &action)
{
    return RunGuarded(*m_context.ui, this, action);
}

bool frmMain::HouseHasNoRoom()
{
    bool none = false;
    guarded([&] { none = !HouseHasRooms(*m_db); });
    return none;
}

void frmMain::FirstRun()
{
    mnuConfigureRooms_Click();
}

bool frmMain::startLongWork(const QString &label, const LongWork::Job &job, const std::function<void()> &completed)
{
    if (m_work && m_work->running()) {
        m_context.ui->message(this, tr("A copy or an export is being made; try again when it is done."),
                              QMessageBox::Information);
        return false;
    }
    delete m_work;
    m_work = new LongWork(this, label, job);
    // A failure is said in its own words; a stopped job says nothing.
    connect(m_work, &LongWork::finished, this, [this, completed](bool whole, const QString &failure) {
        if (!failure.isEmpty())
            m_context.ui->message(this, failure, QMessageBox::Critical);
        else if (whole && completed)
            guarded(completed);
        emit longWorkFinished();
    });
    m_work->start();
    return true;
}

bool frmMain::isWorking() const
{
    return (m_work && m_work->running()) || dailyBackupRunning() || (m_channels && m_channels->running());
}

QString frmMain::askTarget(const QString &filter, const QString &suffix)
{
    const QString path = m_context.ui->saveFileName(this, QString(), QString(), filter, suffix);
    if (path.isEmpty())
        return QString();  // cancelled: nothing runs, no file is touched
    // Refused before anything is touched: the database itself.
    if (!guarded([&] { RequireOtherThanDatabase(m_db->path(), path); }))
        return QString();
    return path;
}

void frmMain::mnuFileExportResCSV_Click()
{
    const QString path = askTarget(QStringLiteral("CSV(*.CSV)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const QString database = m_db->address();
    // On its own thread and connection: the window goes on answering, the
    // progress shows at once, and a stopped export leaves any old file as it was.
    startLongWork(
        tr("Exporting reservations..."),
        [database, path](const LongWork::Progress &progress) {
            auto db = OpenDatabase(database);
            return ExportReservationsCsv(*db, path, progress);
        });
}

void frmMain::mnuFileBackup_Click()
{
    // A server's database is copied as the server's own dump.
    const QString path = m_db->onServer()
        ? askTarget(tr("PostgreSQL dump(*.dump)"), QStringLiteral("dump"))
        : askTarget(QStringLiteral("Database(*.mdb)"), QStringLiteral("mdb"));
    if (path.isEmpty())
        return;
    const QString database = m_db->address();
    startLongWork(
        tr("Copying the bookings..."),
        [database, path](const LongWork::Progress &progress) {
            auto db = OpenDatabase(database);
            return BackUpDatabase(*db, path, progress);
        },
        [this, path] {
            m_context.ui->message(this, tr("The bookings were copied to %1.").arg(QDir::toNativeSeparators(path)),
                                  QMessageBox::Information);
        });
}

void frmMain::StartDailyBackup()
{
    // The daily copy is of a database file; a server's is the house's
    // server administration's (pg_dump, the manual says how).
    if (!m_db || m_dailyBackup || m_db->onServer())
        return;
    m_dailyBackup = new DailyBackup(m_db->path(), this);
    // A damaged database is said each time; another failure once, and the
    // program goes on all the same.
    connect(m_dailyBackup, &DailyBackup::damaged, this,
            [this](const QString &message) { m_context.ui->message(this, message, QMessageBox::Critical); });
    connect(m_dailyBackup, &DailyBackup::failed, this,
            [this](const QString &message) { m_context.ui->message(this, message, QMessageBox::Warning); });
    m_dailyBackup->start();
}

void frmMain::StartRetention()
{
    if (!m_db || m_retention)
        return;
    m_retention = new RetentionJob(m_db->address(), [] { return QDate::currentDate(); }, this);
    // A failure is the log's: the rule is applied again the next day.
    connect(m_retention, &RetentionJob::failed, this,
            [](const QString &why) { qWarning("Guests' details could not be erased as the house's rule asks: %s", qPrintable(why)); });
    m_retention->start();
}

void frmMain::StartOutbox()
{
    if (!m_db || m_outbox)
        return;
    m_outbox = new OutboxJob(m_db->address(), [] { return QDateTime::currentDateTime(); }, this);
    UiServices &ui = *m_context.ui;
    // The password known at this desk for this start: the keyring's, read
    // now when the house's server asks for one; else asked when a paper is
    // first e-mailed.
    guarded([&] {
        const MailServer server = ReadMailServer(*m_db);
        if (server.user.isEmpty() || server.host.isEmpty())
            return;
        bool found = false;
        const QString kept = ui.readSecret(MailSecretKey(server), &found, nullptr);
        if (found)
            ui.keepSecret(MailSecretKey(server), kept);
    });
    m_outbox->setPasswordSource([this] {
        QString password;
        guarded([&] { password = m_context.ui->keptSecret(MailSecretKey(ReadMailServer(*m_db))); });
        return password;
    });
    ui.setMailQueuedHandler([this] {
        if (m_outbox)
            m_outbox->sendNow();
    });
    connect(m_outbox, &OutboxJob::ran, this, [this] {
        if (m_wizard)
            m_wizard->ShowMailed();
    });
    // A failure is the log's: the outbox is tried again in a minute.
    connect(m_outbox, &OutboxJob::failedToRun, this,
            [](const QString &why) { qWarning("The outbox could not be sent: %s", qPrintable(why)); });
    m_outbox->start();
}

bool frmMain::dailyBackupRunning() const
{
    return m_dailyBackup && m_dailyBackup->running();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::showPanel(QWidget *panel)
{
    // Notes being typed when the booking panel goes are kept, as if the
    // operator had left the box.
    if (m_wizard && panel != m_wizard)
        m_wizard->CommitTypedEntry();
    for (QWidget *p : panels())
        if (p != panel)
            p->hide();
    panel->show();
    panel->raise();
}

void frmMain::ShowArrivalsDepartures()
{
    showPanel(ui->picArrivals);
    ui->picArrivals->FillLists();
    showPanel(ui->picArrivals);
}

void frmMain::mnuReservationsArrivals_Click()
{
    showPanel(ui->picArrivals);
}

void frmMain::mnuCalendar_Click()
{
    // The other panels go first; the grid then shows the database as it is
    // now (or, when it cannot be read, what it showed, after the message).
    if (m_wizard) {
        m_wizard->CommitTypedEntry();
        m_wizard->hide();
    }
    ui->picArrivals->hide();
    guarded([this] { ui->MainCalendar->Refresh(); });
    showPanel(ui->picCalendar);
}

void frmMain::mnuReservationAdd_Click()
{
    showPanel(wizard());
    if (!m_wizard->StartOrResume())
        mnuReservationsArrivals_Click();  // no booking to show
}

void frmMain::mnuReservationFind_Click()
{
    if (!finder()->isVisible()) {
        m_beforeFind = nullptr;
        for (QWidget *panel : panels())
            if (panel->isVisible())
                m_beforeFind = panel;
    }
    showPanel(m_finder);
    m_finder->Activate();
}

void frmMain::mnuReports_Click()
{
    showPanel(reports());
    m_reports->Activate();
}

void frmMain::mnuRoomChart_Click()
{
    showPanel(roomChart());
    m_chart->Activate();
}

void frmMain::FindClosed()
{
    showPanel(m_beforeFind ? m_beforeFind : ui->picArrivals);
    if (m_beforeFind == ui->picCalendar)
        guarded([this] { ui->MainCalendar->Refresh(); });
}

void frmMain::openBooking(RecordId bookingId)
{
    // The booking opens at its confirmation step; closing it goes back to
    // the chart when it was opened there.
    m_beforeBooking = m_chart && m_chart->isVisible() ? m_chart : nullptr;
    showPanel(wizard());
    if (!m_wizard->ResumeBooking(bookingId, 4))
        mnuReservationsArrivals_Click();
    m_wizard->MarkOpenedFromList();
}

void frmMain::printConfirmation(RecordId bookingId, const QString &currencySymbol, const QString &taxName)
{
    guarded([&] { ShowConfirmation(*m_db, *m_context.ui, this, bookingId, currencySymbol, taxName); });
}

void frmMain::issueInvoice(RecordId bookingId)
{
    // The house's name and address head every invoice: asked for first.
    bool named = false;
    if (!guarded([&] { named = HouseNamedForInvoices(ReadHouseDetails(*m_db)); }))
        return;
    if (!named) {
        if (m_context.ui->message(this, HouseUnnamedMessage() + QStringLiteral("\n\n") + tr("Enter them now?"),
                                  QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
            return;
        mnuConfigureHouseDetails_Click();
        if (!guarded([&] { named = HouseNamedForInvoices(ReadHouseDetails(*m_db)); }) || !named)
            return;
    }
    guarded([&] { ShowInvoice(*m_db, *m_context.ui, this, IssueInvoice(*m_db, bookingId, QDate::currentDate())); });
}

void frmMain::emailConfirmation(RecordId bookingId, const QString &currencySymbol, const QString &taxName)
{
    guarded([&] {
        EmailPaper(*m_db, *m_context.ui, this, ConfirmationMail(*m_db, bookingId, currencySymbol, taxName));
        if (m_wizard)
            m_wizard->ShowMailed();
    });
}

void frmMain::emailInvoice(RecordId bookingId)
{
    guarded([&] {
        const RecordId invoice = LatestInvoiceOf(*m_db, bookingId);
        if (invoice == 0) {
            m_context.ui->message(this, tr("No invoice has been issued for this booking yet: issue it first (Issue Invoice)."),
                                  QMessageBox::Information);
            return;
        }
        EmailPaper(*m_db, *m_context.ui, this, InvoiceMail(*m_db, invoice));
        if (m_wizard)
            m_wizard->ShowMailed();
    });
}

void frmMain::mnuReservationInvoices_Click()
{
    guarded([this] {
        frmInvoices dialog(*m_db, *m_context.ui, this);
        dialog.Setup();
        dialog.exec();
    });
}

void frmMain::mnuConfigureHouseDetails_Click()
{
    guarded([this] {
        frmHouseDetails dialog(*m_db, *m_context.ui, this);
        dialog.Setup();
        dialog.exec();
    });
}

void frmMain::bookingClosed()
{
    QWidget *back = std::exchange(m_beforeBooking, nullptr);
    if (back && back == m_chart) {
        showPanel(m_chart);
        m_chart->Refresh();
        m_chart->view()->setFocus();
        return;
    }
    guarded([this] { ShowArrivalsDepartures(); });
}

void frmMain::addBookingForStay(RecordId room, const QDate &arrival, const QDate &departure)
{
    showPanel(wizard());
    if (!m_wizard->StartWithStay(room, arrival, departure)) {
        showPanel(m_chart);
        m_chart->Refresh();
        return;
    }
    m_beforeBooking = m_chart;
}

void frmMain::staysChangedHere()
{
    publishFeeds();
    // The home view's lists and the chart show it the next time they are
    // in front; the one in front now shows it at once.
    if (ui->picArrivals->isVisible())
        guarded([this] { ui->picArrivals->FillLists(); });
    if (m_chart && m_chart->isVisible())
        m_chart->Refresh();
}

void frmMain::showOtherDesksChanges()
{
    // The day's lists always (the home view comes back as it was left);
    // the calendar and the chart when in front, as they read themselves
    // when brought forward. A failure here is said when the operator next
    // acts.
    try {
        ui->picArrivals->FillLists();
        if (ui->picCalendar->isVisible())
            ui->MainCalendar->Refresh();
    } catch (const DbError &) {
    }
    if (m_chart && m_chart->isVisible())
        m_chart->Refresh();
}

void frmMain::mnuConfigureTerminology_Click()
{
    if (m_wizard)
        m_wizard->CommitTypedEntry();
    guarded([this] {
        frmTerminology dialog(*m_db, *m_terms, *m_context.settings, *m_context.ui, this);
        dialog.Fill();
        dialog.exec();
    });
}

void frmMain::mnuConfigureRooms_Click()
{
    guarded([this] {
        frmConfigRooms dialog(*m_db, *m_context.ui, this);
        dialog.Setup();
        if (dialog.exec() == QDialog::Accepted)
            publishFeeds();
    });
}

void frmMain::mnuConfigureRates_Click()
{
    guarded([this] {
        frmRates dialog(*m_db, *m_context.ui, this);
        dialog.Setup();
        dialog.exec();
    });
}

void frmMain::mnuConfigureChannels_Click()
{
    guarded([this] {
        frmChannels dialog(*m_db, *m_context.ui, this);
        dialog.Setup();
        if (dialog.exec() != QDialog::Accepted)
            return;
        m_channels->setHourly(dialog.setup().settings.autoImport);
        publishFeeds();
    });
}

void frmMain::publishFeeds()
{
    if (m_channels)
        m_channels->publishFeeds();
}

void frmMain::mnuFileImportChannels_Click()
{
    if (m_channels)
        m_channels->importChannels(true);
}

void frmMain::popupMenu(QMenu *menu, int labelIndex)
{
    QLabel *label = lblMenu.at(labelIndex);
    menu->popup(mapToGlobal(QPoint(label->x() + label->width(), label->y())));
}

void frmMain::lblMenu_Click(int index)
{
    switch (index) {
    case 0:
        popupMenu(ui->mnuFile, 0);
        break;
    case 1:
        mnuCalendar_Click();
        break;
    case 2:
        popupMenu(ui->mnuReservations, 2);
        break;
    case 3:
        popupMenu(ui->mnuConfigure, 3);
        break;
    case 4:
        popupMenu(ui->mnuHelp, 4);
        break;
    case 5:
        wizard()->ForgetOpenedBooking();
        mnuReservationAdd_Click();
        break;
    case 6:
        // The lists keep what they show; only the date moves.
        ui->picArrivals->setDate(QDate::currentDate());
        mnuReservationsArrivals_Click();
        break;
    case 7:
        mnuReservationsArrivals_Click();
        break;
    case 8:
        mnuReports_Click();
        break;
    case 9:
        mnuRoomChart_Click();
        break;
    default:
        break;
    }
}

void frmMain::lblMenu_MouseMove(int index)
{
    for (int i = 0; i < lblMenu.size(); ++i)
        setTextColour(lblMenu[i], i == index ? MenuHoverColor() : MenuHighlightTextColor());
}

void frmMain::picIcon_Click(int index)
{
    if (index == 0)
        showMinimized();
    else if (index == 1)
        mnuFileExit_Click();
    else if (index == 2)
        ToggleMaximised();
}

void frmMain::ToggleMaximised()
{
    setWindowState(windowState() ^ Qt::WindowMaximized);
}

int frmMain::topBandHeight() const
{
    return ui->picBack->mapTo(this, QPoint(0, 0)).y();
}

void frmMain::DragWindow()
{
    emit windowMoveStarted();
    if (QWindow *w = windowHandle())
        w->startSystemMove();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    const int popup = int(m_popups.indexOf(static_cast<QMenu *>(watched)));
    if (popup >= 0 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            const int next = (popup + (key == Qt::Key_Right ? 1 : m_popups.size() - 1)) % m_popups.size();
            static_cast<QMenu *>(watched)->close();
            const int label[] = {0, 2, 3, 4};
            // Once this pop-up's own loop has ended.
            QTimer::singleShot(0, this, [this, next, label] { popupMenu(m_popups[next], label[next]); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

HelpWindow *frmMain::helpWindow()
{
    if (!m_help)
        m_help = HelpWindow::ForProgram(m_context.programFolder, m_context.cacheFolder, this);
    return m_help;
}

void frmMain::mnuHelpContents_Click()
{
    helpWindow()->showContents();
}

void frmMain::mnuHelpIndex_Click()
{
    helpWindow()->showIndex();
}

void frmMain::mnuHelpSearch_Click()
{
    helpWindow()->showSearch();
}

void frmMain::mnuAbout_Click()
{
    frmAbout about(*m_context.ui, this);
    about.exec();
}

void frmMain::OfferUnfinishedBookings()
{
    if (!m_db)
        return;
    const UnfinishedOffer offer = wizard()->OfferUnfinishedBookings();
    if (offer.resume != 0) {
        showPanel(wizard());
        if (!m_wizard->ResumeBooking(offer.resume, 0))
            mnuReservationsArrivals_Click();
    } else if (offer.removed) {
        publishFeeds();
        ShowArrivalsDepartures();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_loaded) {
        if (m_wizard)
            m_wizard->CommitTypedEntry();
        if (m_wizard && !m_wizard->SettleBeforeExit()) {
            event->ignore();
            return;
        }
        guarded([this] { SavePlacement(this, *m_context.settings); });
        // The day's bookings are in a copy before the program ends: made
        // again if the database changed since (the window already gone).
        if (m_dailyBackup) {
            hide();
            FinishCopyBeforeExit(*m_dailyBackup, *m_db, tr("Keeping today's copy of the bookings before Innkeld ends..."));
        }
    }
    QWidget::closeEvent(event);
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const bool maximised = isMaximized();
        ui->picIcon_2->setText(maximised ? QStringLiteral("❐") : QStringLiteral("□"));
        ui->picIcon_2->setToolTip(maximised ? tr("Restore") : tr("Maximise"));
    }
    QWidget::changeEvent(event);
}

void frmMain::mouseMoveEvent(QMouseEvent *event)
{
    for (ClickLabel *label : lblMenu)
        setTextColour(label, MenuHighlightTextColor());
    QWidget::mouseMoveEvent(event);
}

}  // namespace innkeld
