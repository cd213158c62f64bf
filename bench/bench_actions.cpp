// Speed of the operator's actions in a small house (10 rooms, 200 bookings)
// and a large one with twenty years behind it (200 rooms, 400,000 bookings),
// and, to tell the cost of history from the cost of the house's size, the
// large house with one month behind it (200 rooms, the same trade a day,
// 1,667 bookings). Each action runs through the program's own classes,
// windows included (on the offscreen platform), as the operator starts it.
// Each benchmark is named BM_<Action>/small, /month and /large; the console
// output ends with a table of the times and the ratios large/small and
// large/month (the growth with the years alone).
//
// The large database is made once by innkeld-gen and reused: its path is
// INNKELD_BENCH_DB, or innkeld-bench-200x400000.mdb in the temporary folder.
//
// When INNKELD_BENCH_PG names a PostgreSQL server (postgresql://user@host/db,
// a database it may make others from), the three houses are also copied to
// databases of that server (innkeld_bench_small, _month, _large; made once
// and reused, without planner statistics: the server's automatic ANALYZE is
// off for them) and every action runs on them too, as /small-pg, /month-pg
// and /large-pg; the table then gives both engines side by side.
#include "app/frmMain.h"
#include "widgets/uiservices.h"
#include "arrivals/ArrivalsPanel.h"
#include "arrivals/FindPanel.h"
#include "calendar/Calendar.h"
#include "calendar/RoomChart.h"
#include "calendar/RoomChartView.h"
#include "booking/staychart.h"
#include "booking/guestdata.h"
#include "mail/outbox.h"
#include "booking/privacy.h"
#include "booking/pricing.h"
#include "config/frmConfigRooms.h"
#include "channels/channelfeeds.h"
#include "data/copies/backup.h"
#include "booking/availability.h"
#include "data/schema/schema.h"
#include "data/sql/database.h"
#include "data/copies/housecopy.h"
#include "data/schema/houserules.h"
#include "data/regional/regionalterms.h"
#include "data/regional/settings.h"
#include "output/confirmation.h"
#include "output/invoices.h"
#include "output/papers.h"
#include "reports/reportsquery.h"
#include "reports/ReportsPanel.h"
#include "output/frmInvoices.h"
#include "data/schema/housedetails.h"
#include "data/schema/invoicetables.h"
#include "widgets/paper.h"
#include "output/csvexport.h"
#include "wizard/BookingWizard.h"
#include "booking/bookingstatus.h"
#include "booking/bookingstore.h"
#include "booking/bookingview.h"
#include "wizard/returningguests.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextDocument>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QComboBox>
#include <QDateEdit>
#include <QTreeWidget>
#include <QLocale>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>
#include <QTemporaryDir>
#include <QTimer>
#include <QRandomGenerator>
#include <QMouseEvent>
#include <QScrollBar>

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

using namespace innkeld;

namespace {

// Message boxes answered at once, the confirmation not opened anywhere.
class QuietUi : public UiServices
{
public:
    QString lastOpened;
    QMessageBox::StandardButton message(QWidget *, const QString &, QMessageBox::Icon, QMessageBox::StandardButtons,
                                        const QString &) override
    {
        return QMessageBox::Ok;
    }
    QString saveAnswer;
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return saveAnswer;
    }
    QString existingFolder(QWidget *, const QString &, const QString &) override { return QString(); }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return QString(); }
    bool startProgram(const QString &, const QStringList &) override { return true; }
    bool openUrl(const QUrl &url) override
    {
        lastOpened = url.toLocalFile();
        return true;
    }
    void showPaper(QWidget *, const QString &, QTextDocument &, const QString &) override {}
};

// One house: its database and a booking in the middle of its history.
struct House
{
    QString folder;  // holds db.mdb
    QString address;  // a server's database, else empty
    std::unique_ptr<Database> db;
    RecordId booking = 0;
    QDate busyDay;
    // How a file's house was made: kept where, and innkeld-gen's measures.
    QString kept;
    int rooms = 0, bookings = 0, days = 0;
};

// `bare`: the same house with the first version's four tables alone.
bool generate(const QString &path, int rooms, int bookings, int days, bool bare = false)
{
    QProcess gen;
    gen.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList args{path, QStringLiteral("--rooms"), QString::number(rooms), QStringLiteral("--bookings"),
                     QString::number(bookings), QStringLiteral("--days"), QString::number(days)};
    if (bare)
        args << QStringLiteral("--bare");
    gen.start(QStringLiteral(INNKELD_GEN), args);
    return gen.waitForFinished(-1) && gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0;
}

// A database as the program leaves it: no planner statistics, whatever made
// it. And two stays no history has: thirty years, and one to 12/10/9999,
// after the generated years, written through the program's own steps.
void addLongStays(Database &db)
{
    db.execute(QStringLiteral("DROP TABLE IF EXISTS sqlite_stat1"));
    db.execute(QStringLiteral("DROP TABLE IF EXISTS sqlite_stat4"));
    if (!db.execute(QStringLiteral("SELECT id FROM booking WHERE BookedBy = 'Long stay'")).eof())
        return;
    const RecordId firstRoom = db.execute(QStringLiteral("SELECT min(id) FROM room")).value(0).toLongLong();
    const QDateTime start(QDate(2040, 1, 1), QTime(12, 0));
    const std::pair<QDateTime, QDateTime> stays[] = {
        {start, start.addYears(30)},
        {start.addYears(31), QDateTime(QDate(9999, 12, 10), QTime(12, 0))},
    };
    for (const auto &[from, to] : stays) {
        const RecordId id = CreateBooking(db, from);
        SaveDatesStep(db, id, QStringLiteral("Long stay"), from, to);
        SaveRoomsStep(db, id, {firstRoom});
    }
}

// The program finds its database as db.mdb in its folder: the large one is
// linked there from wherever it is kept.
std::unique_ptr<House> openHouse(const QString &folder, const QString &kept, int rooms, int bookings, int days = 0)
{
    if (!QFile::exists(kept) && !generate(kept, rooms, bookings, days))
        return nullptr;
    const QString linked = QDir(folder).filePath(QStringLiteral("db.mdb"));
    if (!QFile::link(QFileInfo(kept).absoluteFilePath(), linked) && !QFile::copy(kept, linked))
        return nullptr;
    auto house = std::make_unique<House>();
    house->folder = folder;
    house->kept = kept;
    house->rooms = rooms;
    house->bookings = bookings;
    house->days = days;
    house->db = OpenDatabase(linked);
    addLongStays(*house->db);
    // The house is named, as a house issuing invoices is.
    if (ReadHouseDetails(*house->db).name.isEmpty()) {
        HouseDetails named;
        named.name = QStringLiteral("Bench House");
        named.address = QStringLiteral("1 Bench Road");
        WriteHouseDetails(*house->db, named);
    }
    Recordset middle = house->db->execute(
        QStringLiteral("SELECT ID, FromDate FROM booking WHERE CustomerID <> 0 ORDER BY ID LIMIT 1 OFFSET ")
        + QString::number(bookings / 2));
    house->booking = middle.value(0).toLongLong();
    house->busyDay = middle.value(1).toDateTime().date();
    return house;
}

// The same house on a database of the server: made from the file's house
// once (the server's automatic statistics off for its tables), then reused.
std::unique_ptr<House> serverHouse(const QString &server, const QString &name, House &file)
{
    QUrl address(server);
    address.setPath(QLatin1Char('/') + name);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        const QUrl url(server);
        admin.setHostName(url.host());
        admin.setPort(url.port());
        admin.setUserName(url.userName());
        admin.setPassword(url.password());
        admin.setDatabaseName(url.path().mid(1));
        if (!admin.open())
            throw DbError(admin.lastError().text());
        QSqlQuery q(admin);
        q.exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name));
        const bool there = q.next();
        if (!there && !q.exec(QStringLiteral("CREATE DATABASE %1").arg(name)))
            throw DbError(q.lastError().text());
        q.finish();
        admin.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
    auto house = std::make_unique<House>();
    house->folder = file.folder;
    house->address = address.toString();
    house->db = OpenDatabase(house->address);
    // No statistics on any table, those a later version added included:
    // the server's automatic ANALYZE is off for each, and what it gathered
    // before is taken away (the server's superuser may).
    QStringList tables;
    for (Recordset rs = house->db->query(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = 'public'"));
         !rs.eof(); rs.moveNext())
        tables << rs.text(0);
    for (const QString &table : tables)
        house->db->run(QStringLiteral("ALTER TABLE %1 SET (autovacuum_enabled = false)").arg(table));
    try {
        house->db->run(QStringLiteral("DELETE FROM pg_statistic WHERE starelid IN (SELECT c.oid FROM pg_class AS c JOIN "
                                      "pg_namespace AS n ON n.oid = c.relnamespace WHERE n.nspname = 'public')"));
    } catch (const DbError &e) {
        if (house->db->query(QStringLiteral("SELECT count(*) FROM pg_stats WHERE schemaname = 'public'")).value(0).toLongLong() > 0)
            std::fprintf(stderr, "%s has planner statistics: %s\n", qPrintable(name), qPrintable(e.message()));
    }
    if (house->db->execute(QStringLiteral("SELECT count(*) FROM booking")).value(0).toLongLong() == 0) {
        std::fprintf(stderr, "copying the %s house to the server...\n", qPrintable(name));
        CopyHouse(*file.db, *house->db);
        // The copy is a run of its own (innkeld --copy): the desks that use
        // the house later have sessions whose plans were not made on the
        // tables the copy began with, empty.
        house->db.reset();
        house->db = OpenDatabase(house->address);
    }
    house->booking = file.booking;
    house->busyDay = file.busyDay;
    return house;
}

std::map<QString, std::unique_ptr<House>> houses;
QuietUi quietUi;
QTemporaryDir scratch;

// A wizard on the house's database, as the main window sets it up.
struct Wizard
{
    RegionalTerms terms;
    BookingWizard wizard;
    explicit Wizard(House &h)
    {
        wizard.setServices(&quietUi);
        wizard.setConnection(h.db.get());
        wizard.setTerms(&terms);
        terms.setCurrencySymbol(QStringLiteral("$"));
        terms.setSalesTaxName(QStringLiteral("Sales Tax"));
        terms.setSalesTaxPercent(10);
        terms.setDefaultCostPerNight(QStringLiteral("10.00"));
        wizard.Reset();
    }
};

// What the program is given at start-up, on the house's database.
AppContext startContext(House &h, SettingsStore &settings)
{
    AppContext context;
    context.programFolder = h.folder;
    context.databasePath = h.address;
    context.cacheFolder = scratch.filePath(QStringLiteral("cache"));
    context.settings = &settings;
    context.ui = &quietUi;
    return context;
}

// The main window made, loaded and painted; `withPanels`: then the hidden
// panels made as the window's thread is free again, all it does before the
// operator's first action.
void startUp(benchmark::State &state, House &h, bool withPanels)
{
    SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    const AppContext context = startContext(h, settings);
    for (auto _ : state) {
        auto window = std::make_unique<frmMain>(context);
        window->Form_Load();
        window->show();
        benchmark::DoNotOptimize(window->grab());  // painted
        if (withPanels)
            QCoreApplication::processEvents();
        // Closing the window is not part of the start.
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void BM_StartUp(benchmark::State &state, House &h)
{
    startUp(state, h, false);
}

void BM_StartUpWithPanels(benchmark::State &state, House &h)
{
    startUp(state, h, true);
}

// The window dragged larger with the calendar in front, laid out and
// painted: `step` pixels a move, so that each move shows other rooms and
// days (40) or the same (1).
void resizeWindow(benchmark::State &state, House &h, int step)
{
    SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    const AppContext context = startContext(h, settings);
    frmMain window(context);
    window.Form_Load();
    window.show();
    QMetaObject::invokeMethod(&window, "mnuCalendar_Click");
    int i = 0;
    for (auto _ : state) {
        const int grow = (i++ % 2) * step;
        window.resize(900 + grow * 2, 650 + grow);
        benchmark::DoNotOptimize(window.grab());  // laid out and painted
    }
}

void BM_ResizeWindow(benchmark::State &state, House &h)
{
    resizeWindow(state, h, 40);
}

void BM_ResizeWindowByAPixel(benchmark::State &state, House &h)
{
    resizeWindow(state, h, 1);
}

// A channel's feed of 1,000 events read and stored as bookings of one room
// (far in the future, so that none clashes); taken away again untimed.
// A channel's feed of 1,000 stays of two nights, from 2090 on.
QByteArray benchFeed()
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//Bench//EN\r\n";
    for (int i = 0; i < 1000; ++i) {
        const QDate from = QDate(2090, 1, 1).addDays(3 * i);
        text += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) + "@bench\r\nDTSTAMP:20261201T100000Z\r\n"
            + "DTSTART;VALUE=DATE:" + from.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "\r\nDTEND;VALUE=DATE:"
            + from.addDays(2).toString(QStringLiteral("yyyyMMdd")).toLatin1() + "\r\nSUMMARY:Reserved\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

// A feed of the channel "Bench" from `address` for a room that no stay
// holds in those years (the suite's long stays hold some); any earlier one
// taken away with its bookings.
RecordId benchFeedOf(Database &db, const QString &address)
{
    for (Recordset rs = db.execute(QStringLiteral("SELECT id FROM channelfeed WHERE Channel = 'Bench'")); !rs.eof(); rs.moveNext())
        StoreFeedEvents(db, rs.value(0).toLongLong(), {});
    db.execute(QStringLiteral("DELETE FROM channelfeed WHERE Channel = 'Bench'"));
    RecordId room = 0;
    for (Recordset rs = db.execute(QStringLiteral("SELECT id FROM room ORDER BY id")); !rs.eof() && room == 0; rs.moveNext())
        if (IsRoomAvailable(db, 0, rs.value(0).toLongLong(), QDate(2090, 1, 1), QDate(2099, 1, 1)))
            room = rs.value(0).toLongLong();
    db.execute(QStringLiteral("INSERT INTO channelfeed (roomid, Channel, Address) VALUES (%1, 'Bench', '%2')")
                   .arg(room)
                   .arg(SqlText(address)));
    return db.execute(QStringLiteral("SELECT max(id) FROM channelfeed")).value(0).toLongLong();
}

void BM_ImportFeed1000(benchmark::State &state, House &h)
{
    Database &db = *h.db;
    const RecordId feed = benchFeedOf(db, QStringLiteral("bench"));
    const QByteArray text = benchFeed();
    for (auto _ : state) {
        const FeedOutcome outcome = StoreFeedEvents(db, feed, ParseFeed(text).events);
        if (outcome.added != 1000) {
            state.SkipWithError("not every event was stored");
            break;
        }
        state.PauseTiming();
        StoreFeedEvents(db, feed, {});
        // What the server's own vacuuming does in a house between two
        // imports (the bench's houses keep it off, for want of statistics):
        // the rows removed are not left for the next round to read through.
        if (db.onServer())
            db.run(QStringLiteral("VACUUM booking, bookingroom, booking_stay, room_stay, booking_find, customer, "
                                  "channelbooking"));
        state.ResumeTiming();
    }
    db.execute(QStringLiteral("DELETE FROM channelfeed WHERE id = %1").arg(feed));
}

// Every room shared: its feed written (the stays from today on).
void BM_WriteFeeds200(benchmark::State &state, House &h)
{
    Database &db = *h.db;
    db.execute(QStringLiteral("DELETE FROM channelroom"));
    db.execute(QStringLiteral("INSERT INTO channelroom (roomid, Shared) SELECT id, 1 FROM room"));
    const QString folder = scratch.filePath(QStringLiteral("feeds"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteRoomFeeds(db, folder, QDate::currentDate(), QDateTime::currentDateTimeUtc()));
    db.execute(QStringLiteral("DELETE FROM channelroom"));
}

void BM_ArrivalsDepartures(benchmark::State &state, House &h)
{
    ArrivalsPanel panel;
    panel.setServices(&quietUi);
    panel.setConnection(h.db.get());
    panel.setDate(h.busyDay);
    panel.resize(640, 480);
    for (auto _ : state) {
        panel.FillLists();
        benchmark::DoNotOptimize(panel.grab());  // painted
    }
}

// A keystroke in the find panel: the list found for the text and painted.
void findBooking(benchmark::State &state, House &h, const QString &typed)
{
    FindPanel panel;
    panel.setServices(&quietUi);
    panel.setConnection(h.db.get());
    panel.resize(487, 481);
    auto *box = panel.findChild<QLineEdit *>(QStringLiteral("txtFind"));
    for (auto _ : state) {
        state.PauseTiming();
        box->clear();
        state.ResumeTiming();
        box->setText(typed);
        benchmark::DoNotOptimize(panel.grab());  // painted
    }
    // The rows listed: a house with more guests of the name lists more (up
    // to the list's length), and its keystroke costs what they cost.
    state.counters["listed"] = panel.findChild<QTreeWidget *>(QStringLiteral("lstFound"))->topLevelItemCount();
}

void BM_FindBookingOneLetter(benchmark::State &state, House &h)
{
    findBooking(state, h, QStringLiteral("m"));
}

void BM_FindBookingCommonName(benchmark::State &state, House &h)
{
    findBooking(state, h, QStringLiteral("müller"));
}

void BM_FindBookingNoMatch(benchmark::State &state, House &h)
{
    findBooking(state, h, QStringLiteral("zzxq"));
}

void BM_FindBookingPhone(benchmark::State &state, House &h)
{
    findBooking(state, h, QStringLiteral("555-12"));
}

void BM_FindBookingNameAndDay(benchmark::State &state, House &h)
{
    findBooking(state, h, QStringLiteral("m ") + h.busyDay.toString(QStringLiteral("M/d/yyyy")));
}

// A paste of 10 kB of words into the find box (only its beginning is read).
void BM_FindBookingPaste(benchmark::State &state, House &h)
{
    QString pasted;
    for (int i = 0; pasted.size() < 10000; ++i)
        pasted += (i % 3 == 0 ? QStringLiteral("m") : QStringLiteral("word%1").arg(i)) + QLatin1Char(' ');
    findBooking(state, h, pasted);
}

// A keystroke in the customer step's last name: the earlier guests offered.
void BM_ReturningGuests(benchmark::State &state, House &h)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FindReturningGuests(*h.db, QStringLiteral("mül"), 0));
}

// A refresh of the week: the rooms, the week's stays and the colouring, on
// the week of the house's busy day.
void BM_CalendarWeek(benchmark::State &state, House &h)
{
    Calendar calendar;
    calendar.setServices(&quietUi);
    calendar.objConn = h.db.get();
    calendar.Setup();
    calendar.setStartDate(h.busyDay);
    for (auto _ : state) {
        calendar.Refresh();
        benchmark::DoNotOptimize(calendar.grab());  // painted
    }
}


// The room chart as the desk sees it (a window of 1000 by 700 pixels at
// the house's busiest day): each action read and painted.
struct ChartBench
{
    RoomChart panel;
    RoomChartView *view;
    explicit ChartBench(House &h)
    {
        panel.setServices(&quietUi);
        panel.setConnection(h.db.get());
        panel.resize(1000, 700);
        panel.show();
        view = panel.view();
        view->reload();
        view->goToDate(h.busyDay);
    }
    void paint() { benchmark::DoNotOptimize(view->viewport()->grab()); }
    // A bar of the view's first rows, for the mouse.
    QPoint someBar() const
    {
        for (const ChartStay &s : view->stays())
            if (!view->barRect(s).isEmpty() && view->barRect(s).width() > 30)
                return view->barRect(s).center();
        return QPoint(300, 100);
    }
};

void BM_ChartOpen(benchmark::State &state, House &h)
{
    ChartBench c(h);
    for (auto _ : state) {
        c.panel.Activate();
        c.paint();
    }
}

void BM_ChartScrollRooms(benchmark::State &state, House &h)
{
    ChartBench c(h);
    int key = Qt::Key_PageDown;
    for (auto _ : state) {
        // Down a screen of rooms, and up again at the end of the house.
        if (c.view->cursorRow() + 2 * (c.view->firstRow() + 1) >= c.view->rowCount())
            key = Qt::Key_PageUp;
        else if (c.view->cursorRow() < 30)
            key = Qt::Key_PageDown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(c.view, &press);
        c.paint();
    }
}

void BM_ChartScrollDay(benchmark::State &state, House &h)
{
    ChartBench c(h);
    int step = 1;
    for (auto _ : state) {
        QScrollBar *days = c.view->horizontalScrollBar();
        step = days->value() > days->maximum() - 400 ? -1 : step;
        days->setValue(days->value() + step);
        c.paint();
    }
}

void BM_ChartZoom(benchmark::State &state, House &h)
{
    ChartBench c(h);
    const int zooms[] = {14, 31, 91};
    int i = 0;
    for (auto _ : state) {
        c.view->setDaysShown(zooms[++i % 3]);
        c.paint();
    }
}

void BM_ChartHover(benchmark::State &state, House &h)
{
    ChartBench c(h);
    const QPoint bar = c.someBar();
    int i = 0;
    for (auto _ : state) {
        const QPoint at = ++i % 2 ? bar : QPoint(bar.x(), 10);
        QMouseEvent move(QEvent::MouseMove, at, c.view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(c.view->viewport(), &move);
        c.paint();
    }
}

void BM_ChartDragStep(benchmark::State &state, House &h)
{
    ChartBench c(h);
    const QPoint bar = c.someBar();
    QMouseEvent press(QEvent::MouseButtonPress, bar, c.view->viewport()->mapToGlobal(bar), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(c.view->viewport(), &press);
    int i = 0;
    for (auto _ : state) {
        const QPoint at = bar + QPoint(++i % 2 ? 40 : 10, 0);
        QMouseEvent move(QEvent::MouseMove, at, c.view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(c.view->viewport(), &move);
        c.paint();
    }
}

// A stay moved a day on and back, stored through the guard, the chart read
// again and painted.
void BM_ChartStoredMove(benchmark::State &state, House &h)
{
    ChartBench c(h);
    // The last room (other actions keep long drafts in the first), a day of
    // its own.
    const RecordId room = c.view->roomAt(c.view->rowCount() - 1);
    const QDate far = QDate(2030, 1, 1).addDays(QRandomGenerator::global()->bounded(3000));
    const RecordId booking = CreateBookingForStay(*h.db, QDateTime(far, QTime(14, 0)), room, far, far.addDays(2));
    CustomerDetails guest;
    guest[0] = QStringLiteral("Bench");
    SaveCustomerStep(*h.db, booking, QStringLiteral("1"), QStringLiteral("0"), guest);
    int i = 0;
    for (auto _ : state) {
        const int d = ++i % 2;
        MoveStay(*h.db, StayMove{booking, room, room, far.addDays(d), far.addDays(2 + d)}, false);
        c.view->refresh();
        c.paint();
    }
    h.db->execute(QStringLiteral("UPDATE booking SET CustomerID = 0 WHERE ID = %1").arg(booking));
    DiscardBooking(*h.db, booking);
}


// A stay of a year priced night by night by a card of 50 seasons, each
// with prices for 5 categories and a weekend price, and length-of-stay
// reductions (the card read once, as the wizard reads it).
void BM_PriceStayYear(benchmark::State &state, House &h)
{
    RateCard card;
    for (int c = 0; c < 5; ++c)
        card.categories << RateCategory{c + 1, QStringLiteral("Category %1").arg(c), 8000 + 1000 * c, 0x30, 9900, 1500, 800};
    for (int i = 0; i < 50; ++i) {
        Season s;
        s.id = i + 1;
        s.name = QStringLiteral("Season %1").arg(i);
        s.from = QDate(2000, 1, 1).addDays(7 * i);
        s.to = s.from.addDays(10);
        s.everyYear = true;
        for (int c = 0; c < 5; ++c)
            s.prices << SeasonPrice{c + 1, 10000 + 100 * i, 0x20, 12000};
        card.seasons << s;
    }
    card.lengths << StayLength{7, 10} << StayLength{28, 20};
    const RecordId room = h.db->execute(QStringLiteral("SELECT min(id) FROM room")).value(0).toLongLong();
    for (auto _ : state)
        benchmark::DoNotOptimize(PriceStay(card, room, QDate(2027, 3, 1), QDate(2028, 3, 1), 3, 1).totalCents);
}

void BM_RoomsStep(benchmark::State &state, House &h)
{
    Wizard w(h);
    for (auto _ : state) {
        w.wizard.ResumeBooking(h.booking, 1);
        benchmark::DoNotOptimize(w.wizard.grab());  // painted
    }
}

// Next from the rooms step: the rooms chosen checked again and written.
void BM_RoomsStepSave(benchmark::State &state, House &h)
{
    Wizard w(h);
    w.wizard.ResumeBooking(h.booking, 1);
    for (auto _ : state)
        QMetaObject::invokeMethod(&w.wizard, "PerformBookingStep", Q_ARG(int, 1));
}

// Next from the dates step: the dates written and the rooms held checked.
void BM_DatesStepSave(benchmark::State &state, House &h)
{
    Wizard w(h);
    w.wizard.ResumeBooking(h.booking, 0);
    for (auto _ : state)
        QMetaObject::invokeMethod(&w.wizard, "PerformBookingStep", Q_ARG(int, 0));
}

// What each step shows, read without a window: the five step loads.
void BM_StepLoads(benchmark::State &state, House &h)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadDatesStep(*h.db, h.booking));
        benchmark::DoNotOptimize(LoadRoomsStep(*h.db, h.booking, QVariant(), QVariant()));
        benchmark::DoNotOptimize(LoadCustomerStep(*h.db, h.booking));
        benchmark::DoNotOptimize(LoadPaymentStep(*h.db, h.booking));
        benchmark::DoNotOptimize(LoadConfirmStep(*h.db, h.booking));
    }
}

void BM_RoomsDialog(benchmark::State &state, House &h)
{
    frmConfigRooms dialog(*h.db, quietUi);
    for (auto _ : state) {
        dialog.Setup();
        benchmark::DoNotOptimize(dialog.grab());  // painted
    }
}

// The house's rates as a chain keeps them: 5 categories (the rooms spread
// over them), 50 seasons each with their prices and a weekend price,
// length-of-stay reductions and three extras; written once into the house.
void setRates(Database &db)
{
    if (db.execute(QStringLiteral("SELECT count(*) FROM season")).value(0).toInt() >= 50)
        return;
    RateCard card;
    for (int c = 0; c < 5; ++c)
        card.categories << RateCategory{-1 - c, QStringLiteral("Category %1").arg(c), 8000 + 1000 * c, 0x30, 9900, 1500, 800};
    for (int i = 0; i < 50; ++i) {
        Season s;
        s.name = QStringLiteral("Season %1").arg(i);
        s.from = QDate(2000, 1, 1).addDays(7 * i);
        s.to = s.from.addDays(10);
        for (int c = 0; c < 5; ++c)
            s.prices << SeasonPrice{-1 - c, 10000 + 100 * i, 0x20, 12000};
        card.seasons << s;
    }
    card.lengths << StayLength{7, 10} << StayLength{28, 20};
    Database::Transaction tx(db);
    WriteRateCard(db, card);
    const RateCard stored = ReadRateCard(db);
    QVector<RoomBeds> beds;
    int i = 0;
    for (Recordset r = db.execute(QStringLiteral("SELECT id FROM room ORDER BY id")); !r.eof(); r.moveNext(), ++i)
        beds << RoomBeds{r.value(0).toLongLong(), stored.categories.at(i % 5).id, 2, 3, 2};
    WriteRoomBeds(db, beds);
    WriteExtras(db, {Extra{0, QStringLiteral("Breakfast"), 1250, QStringLiteral("person-night"), QStringLiteral("19")},
                     Extra{0, QStringLiteral("Parking"), 800, QStringLiteral("night"), QStringLiteral("19")},
                     Extra{0, QStringLiteral("Cleaning"), 4000, QStringLiteral("stay"), QStringLiteral("7")}});
    tx.commit();
}

// The payment step shown: the booking's rooms priced by the rates.
void BM_PaymentStep(benchmark::State &state, House &h)
{
    setRates(*h.db);
    Wizard w(h);
    for (auto _ : state) {
        w.wizard.ResumeBooking(h.booking, 3);
        benchmark::DoNotOptimize(w.wizard.grab());  // painted
    }
}

void BM_StepSave(benchmark::State &state, House &h)
{
    setRates(*h.db);
    Wizard w(h);
    w.wizard.ResumeBooking(h.booking, 3);
    for (auto _ : state)
        QMetaObject::invokeMethod(&w.wizard, "PerformBookingStep", Q_ARG(int, 3));  // one transaction, on the disk when it returns
}

void BM_ConfirmationDocument(benchmark::State &state, House &h)
{
    // What Print Confirmation does before the preview shows it: the paper
    // read, laid out and its pages painted.
    for (auto _ : state) {
        const auto paper = MakePaper(ConfirmationPaper(*h.db, h.booking, QStringLiteral("$"), QStringLiteral("Sales Tax")),
                                     ReadHouseDetails(*h.db).logo);
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QPdfWriter writer(&pdf);
        PrintPaper(*paper, writer);
    }
}

// E-mail Confirmation before its message shows: the house's text filled in
// for the booking and the paper's markup read (its PDF/A attachment is made
// on a thread of its own while the message is shown: BM_ConfirmationDocument).
void BM_EmailConfirmation(benchmark::State &state, House &h)
{
    for (auto _ : state) {
        const MailTemplate text = ReadMailTemplate(*h.db, PaperKind::Confirmation, QStringLiteral("en"));
        benchmark::DoNotOptimize(FillMailText(*h.db, h.booking, text.subject, QStringLiteral("$")));
        benchmark::DoNotOptimize(FillMailText(*h.db, h.booking, text.body, QStringLiteral("$")));
        benchmark::DoNotOptimize(ConfirmationPaper(*h.db, h.booking, QStringLiteral("$"), QStringLiteral("Sales Tax")));
    }
}

// The booking's last step telling when its papers were e-mailed, and the
// outbox's run finding nothing due (every minute, off the window's thread),
// with a message of each paper in the outbox.
void BM_OutboxOfBooking(benchmark::State &state, House &h)
{
    if (OutboxOfBooking(*h.db, h.booking).isEmpty()) {
        MailServer server;
        server.host = QStringLiteral("127.0.0.1");
        server.port = 1;
        server.senderAddress = QStringLiteral("desk@bench.example");
        server.security = MailSecurity::None;
        WriteMailServer(*h.db, server);
        OutgoingMail mail;
        mail.booking = h.booking;
        mail.to = QStringLiteral("guest@bench.example");
        mail.subject = QStringLiteral("Your booking");
        mail.fileName = QStringLiteral("Confirmation.pdf");
        mail.attachment = QByteArray(30000, 'x');
        const RecordId queued = QueueMail(*h.db, mail, server.senderAddress, QDateTime(QDate(2000, 1, 1), QTime(9, 0)));
        h.db->execute(QStringLiteral("UPDATE outbox SET Status = 'sent', SentAt = '2000-01-01T09:00:01' WHERE id = %1").arg(queued));
    }
    const QDateTime now(QDate(2000, 1, 1), QTime(10, 0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(MailedLine(OutboxOfBooking(*h.db, h.booking)));
        benchmark::DoNotOptimize(SendDueMail(*h.db, QString(), now, QStringLiteral("bench")));
    }
}

// A report of a year (and of a month) around the house's busy day, worked
// out by the engine.
void report(benchmark::State &state, House &h, int months, const std::function<void(const QDate &, const QDate &)> &work)
{
    const QDate first(h.busyDay.year(), months == 12 ? 1 : h.busyDay.month(), 1);
    const QDate last = first.addMonths(months).addDays(-1);
    for (auto _ : state)
        work(first, last);
}

void BM_OccupancyYearByDay(benchmark::State &state, House &h)
{
    report(state, h, 12, [&](const QDate &f, const QDate &l) {
        benchmark::DoNotOptimize(OccupancyReport(*h.db, f, l, ReportGrouping::Day));
    });
}

// The rooms by category over a month (off the window's thread, as every report).
void BM_CategoriesMonth(benchmark::State &state, House &h)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CategoryReport(*h.db, h.busyDay.addDays(-15), h.busyDay.addDays(14)));
}

void BM_OccupancyMonthByDay(benchmark::State &state, House &h)
{
    report(state, h, 1, [&](const QDate &f, const QDate &l) {
        benchmark::DoNotOptimize(OccupancyReport(*h.db, f, l, ReportGrouping::Day));
    });
}

void BM_GuestsByCountryYear(benchmark::State &state, House &h)
{
    report(state, h, 12, [&](const QDate &f, const QDate &l) {
        benchmark::DoNotOptimize(GuestsByCountry(*h.db, f, l, QStringLiteral("Austria")));
    });
}

void BM_GuestsByCountryMonth(benchmark::State &state, House &h)
{
    report(state, h, 1, [&](const QDate &f, const QDate &l) {
        benchmark::DoNotOptimize(GuestsByCountry(*h.db, f, l, QStringLiteral("Austria")));
    });
}

// A report shown in the panel, painted: counted, its table filled and its
// chart drawn (the year's January to December, or the busy day's month).
template <int Kind, int Months>
void BM_ReportShown(benchmark::State &state, House &h)
{
    if (Kind == 3 && !ReadTouristTax(*h.db).setUp()) {
        TouristTax tax;
        tax.cents = 150;
        tax.freeUnderAge = 12;
        tax.capNights = 7;
        WriteTouristTax(*h.db, tax);
    }
    ReportsPanel panel;
    panel.setConnection(h.db.get());
    panel.resize(800, 600);
    panel.findChild<QComboBox *>(QStringLiteral("cboReport"))->setCurrentIndex(Kind);
    panel.findChild<QComboBox *>(QStringLiteral("cboPeriod"))->setCurrentIndex(Months == 12 ? 2 : 0);
    panel.findChild<QDateEdit *>(QStringLiteral("dtpReportFrom"))->setDate(h.busyDay);
    for (auto _ : state) {
        panel.FillNow();
        benchmark::DoNotOptimize(panel.grab());
    }
}

// An invoice opened in the print preview: read as issued, laid out, and
// its first page shown in the preview's widget, painted.
void BM_InvoicePreview(benchmark::State &state, House &h)
{
    const QVector<RecordId> issued = InvoicesOfBooking(*h.db, h.booking);
    const RecordId invoice = issued.isEmpty() ? IssueInvoice(*h.db, h.booking, QDate::currentDate()) : issued.first();
    for (auto _ : state) {
        const Invoice read = ReadInvoice(*h.db, invoice);
        const auto paper = MakePaper(InvoicePaper(read), read.house.logo);
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                         [&](QPrinter *device) { PrintPaper(*paper, *device); });
        preview.resize(800, 600);
        preview.updatePreview();
        benchmark::DoNotOptimize(preview.grab());  // painted
    }
}

// Every booking with a guest invoiced once (made once, kept with the house;
// the numbers of a series of the bench's own).
void invoiceEveryBooking(Database &db)
{
    if (db.query(QStringLiteral("SELECT 1 FROM invoiceseries WHERE Series = 'bench'")).eof() == false)
        return;
    Database::Transaction tx(db);
    for (const QString &sql : InvoiceGuardsSuspended(db.engineKind()))
        db.run(sql);
    db.query(QStringLiteral("INSERT INTO invoiceseries (Series, LastNumber) SELECT 'bench', max(ID) FROM booking"));
    db.query(QStringLiteral("INSERT INTO invoice (Number, Series, Sequence, Kind, IssuedOn, BookingID, CreditOf, Guest, "
                            "GuestAddress, House, LogoDigest, Currency, TaxName, TaxRate, Lines, NetCents, TaxCents, "
                            "TotalCents, PaidCents) SELECT 'B-' || b.ID, 'bench', b.ID, 'invoice', '2026-01-01', b.ID, NULL, "
                            "coalesce(c.FirstName, '') || ' ' || coalesce(c.LastName, ''), '', '{}', '', '$', 'Tax', '10', "
                            "'{}', 10000, 1000, 11000, 0 FROM booking AS b JOIN customer AS c ON c.ID = b.CustomerID "
                            "WHERE NOT EXISTS (SELECT 1 FROM invoice AS i WHERE i.BookingID = b.ID)"));
    for (const QString &sql : InvoiceGuardsRestored(db.engineKind()))
        db.run(sql);
    tx.commit();
}

// A keystroke in the invoices dialog, every booking invoiced: the list found
// for the text and painted.
void invoiceList(benchmark::State &state, House &h, const QString &typed)
{
    invoiceEveryBooking(*h.db);
    frmInvoices dialog(*h.db, quietUi);
    dialog.resize(720, 480);
    dialog.Setup();
    auto *box = dialog.findChild<QLineEdit *>(QStringLiteral("txtFindInvoice"));
    for (auto _ : state) {
        state.PauseTiming();
        box->clear();
        state.ResumeTiming();
        box->setText(typed);
        benchmark::DoNotOptimize(dialog.grab());  // painted
    }
    state.counters["listed"] = dialog.findChild<QTreeWidget *>(QStringLiteral("lstInvoices"))->topLevelItemCount();
}

void BM_InvoiceListName(benchmark::State &state, House &h)
{
    invoiceList(state, h, QStringLiteral("müller"));
}

void BM_InvoiceListNumber(benchmark::State &state, House &h)
{
    invoiceList(state, h, QStringLiteral("B-12"));
}

// Issue Invoice on a booking with a guest and no standing invoice (the
// bench's houses keep every invoice issued: none is ever removed; a booking
// invoiced by an earlier round has its invoice credited first, untimed).
void BM_IssueInvoice(benchmark::State &state, House &h)
{
    RecordId last = h.booking;
    const auto next = [&](RecordId after) {
        return h.db->execute(QStringLiteral("SELECT min(ID) FROM booking WHERE ID > %1 AND CustomerID <> 0").arg(after))
            .value(0)
            .toLongLong();
    };
    for (auto _ : state) {
        state.PauseTiming();
        last = next(last);
        if (last == 0)
            last = next(0);
        const QVector<RecordId> issued = InvoicesOfBooking(*h.db, last);
        if (!issued.isEmpty() && !ReadInvoice(*h.db, issued.first()).credit)
            IssueCreditNote(*h.db, issued.first(), QDate::currentDate());
        state.ResumeTiming();
        benchmark::DoNotOptimize(IssueInvoice(*h.db, last, QDate::currentDate()));
    }
}

// A booking's life at the desk, each change stored and the home view's
// lists (the day's arrivals and departures, the guests not arrived) filled
// again and painted, as after Check In, Check Out, Cancel and Restore.
void lifeChanges(benchmark::State &state, House &h, bool checkInOut)
{
    ArrivalsPanel panel;
    panel.setServices(&quietUi);
    panel.setConnection(h.db.get());
    panel.setDate(h.busyDay);
    panel.resize(640, 480);
    const QDateTime far(QDate(9990, 1, 1), QTime(14, 0));
    RecordId booking = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A new guest each time for the check-in, one kept for the rest.
        if (checkInOut || booking == 0) {
            booking = CreateBooking(*h.db, far);
            CustomerDetails guest;
            guest[0] = QStringLiteral("Bench");
            guest[1] = QStringLiteral("Guest");
            SaveCustomerStep(*h.db, booking, QStringLiteral("1"), QStringLiteral("0"), guest);
        }
        state.ResumeTiming();
        if (checkInOut) {
            ChangeBookingStatus(*h.db, booking, BookingStatus::Booked, StatusChange{BookingStatus::CheckedIn});
            ChangeBookingStatus(*h.db, booking, BookingStatus::CheckedIn, StatusChange{BookingStatus::CheckedOut});
        } else {
            ChangeBookingStatus(*h.db, booking, BookingStatus::Booked,
                                StatusChange{BookingStatus::Cancelled, CancelReason::Guest, QString(), 1000});
            ChangeBookingStatus(*h.db, booking, BookingStatus::Cancelled, StatusChange{BookingStatus::Booked});
        }
        panel.FillLists();
        benchmark::DoNotOptimize(panel.grab());  // painted
    }
}

void BM_CheckInAndOut(benchmark::State &state, House &h)
{
    lifeChanges(state, h, true);
}

void BM_CancelAndRestore(benchmark::State &state, House &h)
{
    lifeChanges(state, h, false);
}

// A guest's own data from Find. Erase Guest, before it asks: the guest's
// bookings found and whether the guest may be erased.
void BM_EraseGuestAsks(benchmark::State &state, House &h)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(EraseRefusal(*h.db, BookingsOfGuest(*h.db, h.booking), h.busyDay));
}

// Export Guest's Data reads what the house holds (on its own thread): the
// cost follows the guest's bookings (the generator's guests come back
// hundreds of times).
void BM_GuestDataRead(benchmark::State &state, House &h)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadGuestData(*h.db, BookingsOfGuest(*h.db, h.booking)));
    state.counters["bookings"] = double(BookingsOfGuest(*h.db, h.booking).size());
}

// The day's retention run (off the window's thread): each run a day later,
// so each reads that day's departures, as the program's run does.
void BM_RetentionDay(benchmark::State &state, House &h)
{
    QDate day = h.busyDay;
    for (auto _ : state)
        benchmark::DoNotOptimize(ApplyRetention(*h.db, day = day.addDays(1)));
}

// The check that every series of invoices is as it was issued (the line
// under the invoices' list, off the window's thread; innkeld-sql
// --verify-invoices): every invoice read and its digest worked out.
void BM_VerifyInvoices(benchmark::State &state, House &h)
{
    invoiceEveryBooking(*h.db);
    for (auto _ : state)
        benchmark::DoNotOptimize(VerifyInvoices(*h.db).whole);
}

// What the export of all reservations reads: every booking with its
// customer, each value as text. Its time grows with the history, as a file
// of all of it must; its memory must not.
void BM_ReadAllReservations(benchmark::State &state, House &h)
{
    for (auto _ : state) {
        qint64 characters = 0;
        for (Recordset rs = h.db->execute(QStringLiteral(
                 "SELECT FromDate, ToDate, BookedBy, CustomerID, Notes, NoAdults, NoKids, PaymentMethod, "
                 "OtherCharges, SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType, "
                 "CostPerNight, FirstName, LastName, Address1, Address2, City, State, PostCode, Country, Phone, Email, "
                 "SubmittedDate, BusinessName FROM Booking, Customer WHERE customer.id=booking.customerid;"));
             !rs.eof(); rs.moveNext())
            for (int i = 0; i < rs.fieldCount(); ++i)
                characters += rs.text(i).size();
        benchmark::DoNotOptimize(characters);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;
}

// The export of all reservations to a file, and beside it what the engine's
// own shell takes to write the same join as CSV (when it is installed).
void BM_ExportCsv(benchmark::State &state, House &h)
{
    const QString path = scratch.filePath(QStringLiteral("export.csv"));
    for (auto _ : state)
        ExportReservationsCsv(*h.db, path);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;
}

void BM_SqliteShellCsv(benchmark::State &state, House &h)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (!h.address.isEmpty()) {
        state.SkipWithError("a database file's");
        return;
    }
    if (shell.isEmpty()) {
        state.SkipWithError("sqlite3 is not installed");
        return;
    }
    QString sql = ReservationsExportSql();
    sql.replace(QLatin1String("CustomerID, "), QString());  // the same 27 columns
    for (auto _ : state) {
        QProcess p;
        p.setStandardOutputFile(scratch.filePath(QStringLiteral("sqlite.csv")));
        p.start(shell, {QStringLiteral("-csv"), h.db->path(), sql});
        p.waitForFinished(-1);
    }
}

// The first start after installing, on the house as the program's first
// version leaves it: its four tables without any index, trigger or table
// added since (made once beside the kept house by innkeld-gen --bare), given
// what it lacks as the program does it, each step told, to the file closed.
void BM_UpgradeFromFirstVersion(benchmark::State &state, House &h)
{
    if (!h.address.isEmpty()) {
        state.SkipWithError("a database file's");
        return;
    }
    const QString bare = h.kept + QStringLiteral(".first-version");
    if (!QFile::exists(bare) && !generate(bare, h.rooms, h.bookings, h.days, true)) {
        state.SkipWithError("innkeld-gen failed");
        return;
    }
    const QString path = scratch.filePath(QStringLiteral("upgraded.mdb"));
    for (auto _ : state) {
        state.PauseTiming();
        for (const char *end : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(end));
        QFile copied(path);
        if (!QFile::copy(bare, path) || !copied.open(QIODevice::ReadWrite) || ::fsync(copied.handle()) != 0) {
            state.SkipWithError("the first version's house could not be copied");
            return;
        }
        copied.close();  // on the disk, as a house that has been there for years
        state.ResumeTiming();
        std::unique_ptr<Database> db = OpenDatabase(path, false);
        int told = 0;
        UpgradeDatabase(*db, [&](int, int, const QString &) { return ++told > 0; });
        db.reset();
        benchmark::DoNotOptimize(told);
    }
}

// The longest the window does not answer while long work runs on its own
// thread: the greatest gap between two turns of the event loop, from the
// start of the work to its end (the time itself is the work's).
void measureFreeze(benchmark::State &state, House &h, const std::function<void(frmMain &)> &start)
{
    SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    frmMain window(startContext(h, settings));
    window.Form_Load();
    window.show();
    double longest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        QElapsedTimer gap;
        QTimer tick;
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, double(gap.nsecsElapsed()) / 1e6);
            gap.restart();
        });
        clock.start();
        gap.start();
        tick.start();
        start(window);
        longest = std::max(longest, double(gap.nsecsElapsed()) / 1e6);  // the start itself
        gap.restart();
        while (window.isWorking())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        tick.stop();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["max_freeze_ms"] = longest;
}

void BM_BackupFreeze(benchmark::State &state, House &h)
{
    quietUi.saveAnswer = scratch.filePath(QStringLiteral("copy.mdb"));
    measureFreeze(state, h, [](frmMain &window) {
        window.findChild<QAction *>(QStringLiteral("mnuFileBackup"))->trigger();
    });
}

void BM_ExportFreeze(benchmark::State &state, House &h)
{
    quietUi.saveAnswer = scratch.filePath(QStringLiteral("export.csv"));
    measureFreeze(state, h, [](frmMain &window) {
        window.findChild<QAction *>(QStringLiteral("mnuFileExportResCSV"))->trigger();
    });
}

// File > Import Channel Bookings: a feed of 1,000 events fetched (a file)
// and stored while the window answers.
void BM_ImportChannelsFreeze(benchmark::State &state, House &h)
{
    const QString path = scratch.filePath(QStringLiteral("bench.ics"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(benchFeed()) < 0) {
        state.SkipWithError("the feed cannot be written");
        return;
    }
    file.close();
    const RecordId feed = benchFeedOf(*h.db, path);
    measureFreeze(state, h, [](frmMain &window) {
        window.findChild<QAction *>(QStringLiteral("mnuFileImportChannels"))->trigger();
    });
    if (h.db->execute(QStringLiteral("SELECT count(*) FROM channelbooking WHERE feedid = %1").arg(feed)).value(0).toInt() != 1000)
        state.SkipWithError("not every event was stored");
    benchFeedOf(*h.db, QString());
    h.db->execute(QStringLiteral("DELETE FROM channelfeed WHERE Channel = 'Bench'"));
}

void BM_DailyCopyFreeze(benchmark::State &state, House &h)
{
    if (!h.address.isEmpty()) {
        state.SkipWithError("a database file's");
        return;
    }
    measureFreeze(state, h, [&h](frmMain &window) {
        QFile::remove(DailyBackupPath(h.db->path(), QDate::currentDate()));
        window.StartDailyBackup();
    });
}

// The console report, then each action's time at both sizes side by side.
class PairingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const QString name = QString::fromStdString(run.benchmark_name());
            times[name.section(QLatin1Char('/'), 0, 0)][name.section(QLatin1Char('/'), 1, 1)] =
                run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char *engine : {"", "-pg"}) {
            bool any = false;
            for (const auto &[action, sizes] : times)
                any |= sizes.count(QStringLiteral("large") + QLatin1String(engine)) > 0;
            if (!any)
                continue;
            std::printf("\n%s\n%-26s %11s %11s %11s %12s %12s\n", *engine ? "PostgreSQL" : "SQLite", "Action",
                        "small (ms)", "month (ms)", "large (ms)", "large/small", "large/month");
            const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
            for (const auto &[action, sizes] : times) {
                const auto at = [&, &sizes = sizes](const char *size) {
                    const QString key = QLatin1String(size) + QLatin1String(engine);
                    return sizes.count(key) ? sizes.at(key) : 0.0;
                };
                const double small = at("small"), month = at("month"), large = at("large");
                if (large == 0 && small == 0)
                    continue;
                std::printf("%-26s %11.3f %11.3f %11.3f %12.2f %12.2f\n", qPrintable(action), small, month, large,
                            ratio(large, small), ratio(large, month));
            }
        }
    }

private:
    std::map<QString, std::map<QString, double>> times;  // action -> size -> milliseconds
};

}  // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    benchmark::Initialize(&argc, argv);

    QString large = qEnvironmentVariable("INNKELD_BENCH_DB");
    if (large.isEmpty())
        large = QDir::temp().filePath(QStringLiteral("innkeld-bench-200x400000.mdb"));
    std::vector<const char *> sizes{"small", "month", "large"};
    for (const char *size : sizes)
        QDir(scratch.path()).mkpath(QLatin1String(size));
    try {
        houses[QStringLiteral("small")] =
            openHouse(scratch.filePath(QStringLiteral("small")), scratch.filePath(QStringLiteral("small.mdb")), 10, 200);
        // Twenty years of 400,000 bookings make 1,667 a month.
        houses[QStringLiteral("month")] = openHouse(scratch.filePath(QStringLiteral("month")),
                                                    scratch.filePath(QStringLiteral("month.mdb")), 200, 1667, 30);
        houses[QStringLiteral("large")] = openHouse(scratch.filePath(QStringLiteral("large")), large, 200, 400000);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    if (!houses[QStringLiteral("small")] || !houses[QStringLiteral("month")] || !houses[QStringLiteral("large")]) {
        std::fprintf(stderr, "The benchmark databases could not be made.\n");
        return 1;
    }
    const QString server = qEnvironmentVariable("INNKELD_BENCH_PG");
    if (!server.isEmpty()) {
        try {
            for (const char *size : {"small", "month", "large"})
                houses[QLatin1String(size) + QStringLiteral("-pg")] =
                    serverHouse(server, QStringLiteral("innkeld_bench_") + QLatin1String(size), *houses.at(QLatin1String(size)));
        } catch (const DbError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
        sizes.insert(sizes.end(), {"small-pg", "month-pg", "large-pg"});
    }

    const std::pair<const char *, void (*)(benchmark::State &, House &)> actions[] = {
        {"BM_StartUp", BM_StartUp},
        {"BM_StartUpWithPanels", BM_StartUpWithPanels},
        {"BM_ArrivalsDepartures", BM_ArrivalsDepartures},
        {"BM_CalendarWeek", BM_CalendarWeek},
        {"BM_ChartOpen", BM_ChartOpen},
        {"BM_ChartScrollRooms", BM_ChartScrollRooms},
        {"BM_ChartScrollDay", BM_ChartScrollDay},
        {"BM_ChartZoom", BM_ChartZoom},
        {"BM_ChartHover", BM_ChartHover},
        {"BM_ChartDragStep", BM_ChartDragStep},
        {"BM_ChartStoredMove", BM_ChartStoredMove},
        {"BM_PriceStayYear", BM_PriceStayYear},
        {"BM_RoomsStep", BM_RoomsStep},
        {"BM_RoomsStepSave", BM_RoomsStepSave},
        {"BM_StepLoads", BM_StepLoads},
        {"BM_DatesStepSave", BM_DatesStepSave},
        {"BM_RoomsDialog", BM_RoomsDialog},
        {"BM_PaymentStep", BM_PaymentStep},
        {"BM_StepSave", BM_StepSave},
        {"BM_ConfirmationDocument", BM_ConfirmationDocument},
        {"BM_EmailConfirmation", BM_EmailConfirmation},
        {"BM_OutboxOfBooking", BM_OutboxOfBooking},
        {"BM_IssueInvoice", BM_IssueInvoice},
        {"BM_CheckInAndOut", BM_CheckInAndOut},
        {"BM_CancelAndRestore", BM_CancelAndRestore},
        {"BM_OccupancyYearByDay", BM_OccupancyYearByDay},
        {"BM_OccupancyMonthByDay", BM_OccupancyMonthByDay},
        {"BM_CategoriesMonth", BM_CategoriesMonth},
        {"BM_EraseGuestAsks", BM_EraseGuestAsks},
        {"BM_GuestDataRead", BM_GuestDataRead},
        {"BM_RetentionDay", BM_RetentionDay},
        {"BM_GuestsByCountryYear", BM_GuestsByCountryYear},
        {"BM_GuestsByCountryMonth", BM_GuestsByCountryMonth},
        {"BM_ReportOccupancyYear", BM_ReportShown<0, 12>},
        {"BM_ReportOccupancyMonth", BM_ReportShown<0, 1>},
        {"BM_ReportRevenueYear", BM_ReportShown<1, 12>},
        {"BM_ReportRevenueMonth", BM_ReportShown<1, 1>},
        {"BM_ReportCountriesYear", BM_ReportShown<2, 12>},
        {"BM_ReportCountriesMonth", BM_ReportShown<2, 1>},
        {"BM_ReportTaxesYear", BM_ReportShown<3, 12>},
        {"BM_ReportTaxesMonth", BM_ReportShown<3, 1>},
        {"BM_InvoicePreview", BM_InvoicePreview},
        {"BM_InvoiceListName", BM_InvoiceListName},
        {"BM_InvoiceListNumber", BM_InvoiceListNumber},
        {"BM_VerifyInvoices", BM_VerifyInvoices},
        {"BM_FindBookingOneLetter", BM_FindBookingOneLetter},
        {"BM_FindBookingCommonName", BM_FindBookingCommonName},
        {"BM_FindBookingNoMatch", BM_FindBookingNoMatch},
        {"BM_FindBookingPhone", BM_FindBookingPhone},
        {"BM_FindBookingNameAndDay", BM_FindBookingNameAndDay},
        {"BM_FindBookingPaste", BM_FindBookingPaste},
        {"BM_ReturningGuests", BM_ReturningGuests},
        {"BM_ImportFeed1000", BM_ImportFeed1000},
        {"BM_WriteFeeds200", BM_WriteFeeds200},
        {"BM_ResizeWindow", BM_ResizeWindow},
        {"BM_ResizeWindowByAPixel", BM_ResizeWindowByAPixel},
    };
    for (const auto &[name, action] : actions)
        for (const char *size : sizes)
            benchmark::RegisterBenchmark((std::string(name) + "/" + size).c_str(), action,
                                         std::ref(*houses.at(QLatin1String(size))))
                ->Unit(benchmark::kMillisecond);
    // The actions that decide whether a room is free, with the house's rule
    // on (rooms free from the day the guest leaves), for the same house.
    const std::pair<const char *, void (*)(benchmark::State &, House &)> ruled[] = {
        {"BM_CalendarWeekDepartureDayFree", BM_CalendarWeek},
        {"BM_RoomsStepDepartureDayFree", BM_RoomsStep},
        {"BM_StepLoadsDepartureDayFree", BM_StepLoads},
        {"BM_RoomsStepSaveDepartureDayFree", BM_RoomsStepSave},
        {"BM_DatesStepSaveDepartureDayFree", BM_DatesStepSave},
    };
    for (const auto &[name, action] : ruled)
        for (const char *size : sizes)
            benchmark::RegisterBenchmark((std::string(name) + "/" + size).c_str(),
                                         [action = action](benchmark::State &state, House &h) {
                                             SetDepartureDayFree(*h.db, true);
                                             action(state, h);
                                             SetDepartureDayFree(*h.db, false);
                                         },
                                         std::ref(*houses.at(QLatin1String(size))))
                ->Unit(benchmark::kMillisecond);
    for (const char *size : sizes) {
        benchmark::RegisterBenchmark((std::string("BM_ReadAllReservations/") + size).c_str(), BM_ReadAllReservations,
                                     std::ref(*houses.at(QLatin1String(size))))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        for (const auto &[name, action] : {std::pair{"BM_ExportCsv/", BM_ExportCsv},
                                           std::pair{"BM_SqliteShellCsv/", BM_SqliteShellCsv}})
            benchmark::RegisterBenchmark((std::string(name) + size).c_str(), action,
                                         std::ref(*houses.at(QLatin1String(size))))
                ->Unit(benchmark::kMillisecond)
                ->Iterations(std::string(size).rfind("large", 0) == 0 ? 3 : 20);
    }

    for (const char *size : sizes)
        benchmark::RegisterBenchmark((std::string("BM_UpgradeFromFirstVersion/") + size).c_str(),
                                     BM_UpgradeFromFirstVersion, std::ref(*houses.at(QLatin1String(size))))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(std::string(size).rfind("large", 0) == 0 ? 1 : 5);

    for (const auto &[name, action] : {std::pair{"BM_BackupFreeze/", BM_BackupFreeze},
                                       std::pair{"BM_ExportFreeze/", BM_ExportFreeze},
                                       std::pair{"BM_DailyCopyFreeze/", BM_DailyCopyFreeze},
                                       std::pair{"BM_ImportChannelsFreeze/", BM_ImportChannelsFreeze}})
        for (const char *size : sizes)
            benchmark::RegisterBenchmark((std::string(name) + size).c_str(), action,
                                         std::ref(*houses.at(QLatin1String(size))))
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(1);

    PairingReporter console;
    benchmark::RunSpecifiedBenchmarks(&console);
    benchmark::Shutdown();
    houses.clear();
    return 0;
}
