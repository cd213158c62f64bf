// The room chart as the desk uses it: stays made, moved, stretched and
// refused by mouse and by keys alone, a booking opened and closed again,
// its actions from the menu, the printed chart; and what another desk or a
// tool stores showing by itself, on a file and on a server.
#include "app/frmMain.h"
#include "booking/bookingstore.h"
#include "booking/bookingstatus.h"
#include "calendar/RoomChart.h"
#include "calendar/RoomChartView.h"
#include "data/regional/regional.h"
#include "data/schema/schema.h"
#include "guisupport.h"
#include "wizard/BookingWizard.h"

#include <QAccessible>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

const QDate kToday = QDate::currentDate();

QDateTime at(int days, int hour)
{
    return QDateTime(kToday.addDays(days), QTime(hour, 0));
}

struct Stay
{
    RecordId room;
    QDate from, to;
    QString status;
    double total;
};

Stay stored(Database &db, RecordId booking)
{
    const Recordset b = db.execute(QStringLiteral("SELECT FromDate, ToDate, Status, TotalPayable FROM booking WHERE ID = %1").arg(booking));
    const Recordset r = db.execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(booking));
    return {r.eof() ? 0 : r.value(0).toLongLong(), b.value(0).toDateTime().date(), b.value(1).toDateTime().date(),
            b.text(2), b.value(3).toDouble()};
}

RoomChartView *chartOf(const ProgramRun &p)
{
    return p.find<RoomChartView>("chtRoomChart");
}

QRect barOf(RoomChartView *chart, RecordId booking)
{
    for (const ChartStay &s : chart->stays())
        if (s.booking == booking)
            return chart->barRect(s);
    return QRect();
}

bool shows(RoomChartView *chart, RecordId booking)
{
    return !barOf(chart, booking).isEmpty();
}

// A bar dragged by the mouse from one point to another.
void drag(RoomChartView *chart, const QPoint &from, const QPoint &to)
{
    QWidget *surface = chart->viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, from + (to - from) / 2);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
}

QMenu *openMenu()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// The house the tests use: three rooms and three guests in the coming days.
struct ChartHouse
{
    RecordId sea, garden, attic, ann, bo, cy;
    explicit ChartHouse(TempDatabase &t)
    {
        sea = t.addRoom(QStringLiteral("Sea View"));
        garden = t.addRoom(QStringLiteral("Garden"));
        attic = t.addRoom(QStringLiteral("Attic"));
        ann = t.addGuest(at(1, 14), at(4, 10), QStringLiteral("Ann"), QStringLiteral("Lee"), {sea});
        bo = t.addGuest(at(2, 14), at(5, 10), QStringLiteral("Bo"), QStringLiteral("Kim"), {garden});
        cy = t.addGuest(at(8, 14), at(10, 10), QStringLiteral("Cy"), QStringLiteral("Day"), {attic});
        t.run(QStringLiteral("UPDATE booking SET CostPerNight = 100, TotalPayable = 300, NoAdults = 2 WHERE ID = %1").arg(ann));
    }
};

}  // namespace

class TestRoomChart : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void theChartByMouseAndMenu();
    void theChartByKeysAlone();
    void otherDesksShowByThemselves_data();
    void otherDesksShowByThemselves();
};

void TestRoomChart::theChartByMouseAndMenu()
{
    ProgramRun p;
    p.notFirst();
    const ChartHouse h(p.database);
    QCOMPARE(p.run(), 0);
    QTest::mouseClick(p.find("lblMenu_9"), Qt::LeftButton);
    RoomChartView *chart = chartOf(p);
    QVERIFY(chart->isVisible());
    QCOMPARE(chart->roomNameAt(0), QStringLiteral("Sea View"));
    QVERIFY(shows(chart, h.ann) && shows(chart, h.bo) && shows(chart, h.cy));
    // Each bar says who and when; a stay is half cells at its ends.
    const ChartStay ann = *std::find_if(chart->stays().cbegin(), chart->stays().cend(),
                                        [&](const ChartStay &s) { return s.booking == h.ann; });
    QVERIFY(chart->describe(ann).contains(QStringLiteral("Ann Lee")));
    QVERIFY(chart->describe(ann).contains(QStringLiteral("3 nights")));
    QVERIFY(barOf(chart, h.ann).left() > chart->cellRect(0, kToday.addDays(1)).left());
    QVERIFY(barOf(chart, h.ann).right() < chart->cellRect(0, kToday.addDays(4)).right());

    // Free days of the attic dragged across: a booking of them at its customer step.
    drag(chart, chart->cellRect(2, kToday.addDays(1)).center(), chart->cellRect(2, kToday.addDays(3)).center());
    BookingWizard *wizard = p.main()->wizard();
    QTRY_VERIFY(wizard->isVisible());
    QCOMPARE(wizard->CurrentStep(), 2);
    const RecordId made = wizard->CurrentBookingId();
    const Stay draft = stored(p.database.db(), made);
    QCOMPARE(draft.room, h.attic);
    QCOMPARE(draft.from, kToday.addDays(1));
    QCOMPARE(draft.to, kToday.addDays(4));

    // Back to the chart; Ann dragged onto the Garden on Bo's days is refused, naming him.
    QTest::mouseClick(p.find("lblMenu_9"), Qt::LeftButton);
    QTRY_VERIFY(chart->isVisible());
    QVERIFY(shows(chart, made));
    const int rowStep = chart->cellRect(1, kToday).top() - chart->cellRect(0, kToday).top();
    const int dayStep = chart->cellRect(0, kToday.addDays(1)).left() - chart->cellRect(0, kToday).left();
    QPoint grip = barOf(chart, h.ann).center();
    drag(chart, grip, grip + QPoint(0, rowStep));
    QVERIFY(!p.ui.messages.isEmpty());
    QVERIFY2(p.ui.messages.last().text.contains(QStringLiteral("booking %1 (Bo Kim)").arg(h.bo)),
             qPrintable(p.ui.messages.last().text));
    QCOMPARE(stored(p.database.db(), h.ann).room, h.sea);
    QCOMPARE(barOf(chart, h.ann).center(), grip);  // the bar went back

    // Moved to the Garden five days on: stored, the price as it was.
    const int asked = int(p.ui.messages.size());
    drag(chart, grip, grip + QPoint(5 * dayStep, rowStep));
    Stay moved = stored(p.database.db(), h.ann);
    QCOMPARE(moved.room, h.garden);
    QCOMPARE(moved.from, kToday.addDays(6));
    QCOMPARE(moved.to, kToday.addDays(9));
    QCOMPARE(p.ui.messages.size(), asked);  // the same nights: nothing asked

    // Its end stretched two days: the new price is asked for and taken.
    const QRect bar = barOf(chart, h.ann);
    drag(chart, QPoint(bar.right() - 1, bar.center().y()), QPoint(bar.right() - 1 + 2 * dayStep, bar.center().y()));
    QVERIFY(p.ui.messages.last().text.contains(QStringLiteral("Take the new price?")));
    moved = stored(p.database.db(), h.ann);
    QCOMPARE(moved.to, kToday.addDays(11));
    QVERIFY2(moved.total >= 500, qPrintable(QString::number(moved.total)));

    // Double-clicked, the booking opens at its confirmation; closed, the chart is back.
    QTest::mouseDClick(chart->viewport(), Qt::LeftButton, {}, barOf(chart, h.ann).center());
    QTRY_VERIFY(wizard->isVisible());
    QCOMPARE(wizard->CurrentBookingId(), h.ann);
    QCOMPARE(wizard->CurrentStep(), 4);
    QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
    QTRY_VERIFY(chart->isVisible());

    // The menu of Bo's bar: his actions; Check In and then Cancel Booking refused for a guest in.
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, barOf(chart, h.bo).center(),
                                chart->viewport()->mapToGlobal(barOf(chart, h.bo).center()));
    QApplication::sendEvent(chart->viewport(), &menuEvent);
    QTRY_VERIFY(openMenu());
    QStringList items;
    for (QAction *a : openMenu()->actions())
        if (!a->isSeparator())
            items << a->text();
    QCOMPARE(items, (QStringList{QStringLiteral("&Open"), QStringLiteral("Check &In"), QStringLiteral("Check &Out"),
                                 QStringLiteral("&Cancel Booking..."), QStringLiteral("Record &Payment..."),
                                 QStringLiteral("Issue In&voice"), QStringLiteral("Print Con&firmation")}));
    QVERIFY(!openMenu()->actions().at(3)->isEnabled());  // Check Out: not in yet
    openMenu()->actions().at(2)->trigger();
    QCOMPARE(stored(p.database.db(), h.bo).status, QStringLiteral("checkedin"));
    openMenu()->close();
    // Cy cancelled from his menu: his bar goes.
    QContextMenuEvent cyMenu(QContextMenuEvent::Mouse, barOf(chart, h.cy).center(),
                             chart->viewport()->mapToGlobal(barOf(chart, h.cy).center()));
    QApplication::sendEvent(chart->viewport(), &cyMenu);
    QTRY_VERIFY(openMenu());
    p.ui.dialogAnswer = [](QDialog &) { return int(QDialog::Accepted); };
    openMenu()->actions().at(4)->trigger();
    openMenu()->close();
    QCOMPARE(stored(p.database.db(), h.cy).status, QStringLiteral("cancelled"));
    QVERIFY(!shows(chart, h.cy));

    // Printed: the rooms and the guests of the days shown, across the page
    // (read back from the PDF).
    QTemporaryDir out;
    p.ui.paperPdf = out.filePath(QStringLiteral("chart.pdf"));
    QTest::mouseClick(p.find("cmdChartPrint"), Qt::LeftButton);
    QCOMPARE(p.ui.paperTitles.last(), QStringLiteral("Room Chart"));
    QProcess text, info;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), p.ui.paperPdf, QStringLiteral("-")});
    info.start(QStringLiteral("pdfinfo"), {p.ui.paperPdf});
    QVERIFY2(text.waitForFinished() && text.exitCode() == 0 && info.waitForFinished(),
             "pdftotext (Debian's poppler-utils) could not read the chart's PDF");
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *word : {"Room Chart", "Sea View", "Garden", "Attic", "Ann Lee", "Bo Kim"})
        QVERIFY2(printed.contains(QLatin1String(word)), word);
    QVERIFY(!printed.contains(QLatin1String("Cy Day")));
    const QString size = QString::fromUtf8(info.readAllStandardOutput()).section(QStringLiteral("Page size:"), 1).section(QLatin1Char('\n'), 0, 0);
    const QStringList sides = size.simplified().split(QLatin1Char(' '));
    QVERIFY2(sides.size() >= 3 && sides.at(0).toDouble() > sides.at(2).toDouble(), qPrintable(size));  // landscape
}

void TestRoomChart::theChartByKeysAlone()
{
    ProgramRun p;
    p.notFirst();
    const ChartHouse h(p.database);
    QCOMPARE(p.run(), 0);
    QTest::keyClick(p.main(), Qt::Key_M, Qt::ControlModifier);
    RoomChartView *chart = chartOf(p);
    QTRY_VERIFY(chart->hasFocus());
    QCOMPARE(chart->cursorRow(), 0);
    QCOMPARE(chart->cursorDay(), kToday);
    // The cursor to Bo's second night; Ctrl+Right moves his stay a day on.
    for (int key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right})
        QTest::keyClick(chart, Qt::Key(key));
    QCOMPARE(chart->stayAtCursor()->booking, h.bo);
    QVERIFY(chart->accessibleDescription().contains(QStringLiteral("Bo Kim")));
    // A screen reader finds each bar by its guest and dates.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(chart);
    QCOMPARE(list->childCount(), int(chart->stays().size()));
    QStringList bars;
    for (int i = 0; i < list->childCount(); ++i)
        bars << list->child(i)->text(QAccessible::Name);
    QVERIFY2(bars.filter(QStringLiteral("Bo Kim")).size() == 1
                 && bars.filter(QLocale().toString(kToday.addDays(2), QLocale::ShortFormat)).size() >= 1,
             qPrintable(bars.join(QLatin1Char('\n'))));
    QTest::keyClick(chart, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(stored(p.database.db(), h.bo).from, kToday.addDays(3));
    QCOMPARE(chart->stayAtCursor()->booking, h.bo);
    // Ctrl+Up onto the Sea View, where Ann is: refused, the cursor stays with Bo.
    QTest::keyClick(chart, Qt::Key_Up, Qt::ControlModifier);
    QVERIFY(p.ui.messages.last().text.contains(QStringLiteral("(Ann Lee)")));
    QCOMPARE(stored(p.database.db(), h.bo).room, h.garden);
    QCOMPARE(chart->stayAtCursor()->booking, h.bo);
    // Ctrl+Down to the attic (free then); Ctrl+Shift+Right a night longer, the old price kept.
    QTest::keyClick(chart, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(stored(p.database.db(), h.bo).room, h.attic);
    const double total = stored(p.database.db(), h.bo).total;
    p.ui.answers << QMessageBox::No;
    QTest::keyClick(chart, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(stored(p.database.db(), h.bo).to, kToday.addDays(7));
    QCOMPARE(stored(p.database.db(), h.bo).total, total);

    // Enter opens him at his confirmation; the confirmation closed, the chart has the keys again.
    QTest::keyClick(chart, Qt::Key_Return);
    BookingWizard *wizard = p.main()->wizard();
    QTRY_VERIFY(wizard->isVisible());
    QCOMPARE(wizard->CurrentBookingId(), h.bo);
    QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
    QTRY_VERIFY(chart->hasFocus());

    // The menu key opens his menu.
    QTest::keyClick(chart, Qt::Key_Menu);
    QTRY_VERIFY(openMenu());
    openMenu()->close();

    // Shift+Right twice from a free day of the Sea View, Enter: three nights booked there.
    QTest::keyClick(chart, Qt::Key_Home);
    for (int key : {Qt::Key_Up, Qt::Key_Up})
        QTest::keyClick(chart, Qt::Key(key));
    QCOMPARE(chart->cursorRow(), 0);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(chart, Qt::Key_Right);
    QTest::keyClick(chart, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(chart, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(chart, Qt::Key_Return);
    QTRY_VERIFY(wizard->isVisible());
    QCOMPARE(wizard->CurrentStep(), 2);
    const Stay made = stored(p.database.db(), wizard->CurrentBookingId());
    QCOMPARE(made.room, h.sea);
    QCOMPARE(made.from, chart->firstDay().addDays(6));
    QCOMPARE(made.to, chart->firstDay().addDays(9));

    // Zoom by keys; PgDn and End move the cursor.
    QTest::keyClick(p.main(), Qt::Key_M, Qt::ControlModifier);
    QTRY_VERIFY(chart->hasFocus());
    QTest::keyClick(chart, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(chart->daysShown(), 31);
    QCOMPARE(p.find<QComboBox>("cboChartZoom")->currentIndex(), 1);
    QTest::keyClick(chart, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(chart->daysShown(), 14);
    QTest::keyClick(chart, Qt::Key_End);
    QCOMPARE(chart->cursorDay(), chart->firstDay().addDays(13));
    QTest::keyClick(chart, Qt::Key_PageDown);
    QCOMPARE(chart->cursorRow(), 2);
}

void TestRoomChart::otherDesksShowByThemselves_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

void TestRoomChart::otherDesksShowByThemselves()
{
    QFETCH(bool, onServer);
    ServerDatabase server;
    if (onServer)
        REQUIRE_SERVER(server);
    ProgramRun p;
    p.notFirst();
    QString address = p.database.path();
    if (onServer) {
        address = server.address();
        p.databaseGiven = address;
    }
    RecordId sea = 0, garden = 0;
    {
        auto setup = OpenDatabase(address);
        for (const char *name : {"Sea View", "Garden"}) {
            TableCursor c = setup->openTable(QStringLiteral("Room"));
            c.addNew();
            c.setField(QStringLiteral("Name"), QLatin1String(name));
            c.update();
            (sea == 0 ? sea : garden) = c.field(QStringLiteral("ID")).toLongLong();
        }
    }
    if (!onServer)
        p.database.close();
    QCOMPARE(p.run(), 0);
    QTest::mouseClick(p.find("lblMenu_9"), Qt::LeftButton);
    RoomChartView *chart = chartOf(p);
    QVERIFY(chart->stays().isEmpty());

    // Another desk books the Garden through the program's own code.
    auto desk = OpenDatabase(address);
    const RecordId booking = CreateBookingForStay(*desk, WallClockNow(), garden, kToday, kToday.addDays(2));
    SaveCustomerStep(*desk, booking, QStringLiteral("1"), QStringLiteral("0"),
                     CustomerDetails{QStringLiteral("Dee"), QStringLiteral("Ray")});
    QTRY_VERIFY(shows(chart, booking));
    QCOMPARE(chart->stays().first().guest, QStringLiteral("Dee Ray"));

    // A tool moves it to the Sea View: the chart follows.
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"),
               {address, QStringLiteral("UPDATE bookingroom SET roomid = %1 WHERE bookingid = %2").arg(sea).arg(booking)});
    QVERIFY(tool.waitForFinished());
    QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    QTRY_COMPARE(chart->stays().value(0).room, sea);

    // The home view's lists follow too: another desk's arrival of today shows.
    QTest::mouseClick(p.find("lblMenu_6"), Qt::LeftButton);
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    QTRY_COMPARE(arrivals->count(), 1);
    const RecordId second = CreateBookingForStay(*desk, WallClockNow(), garden, kToday, kToday.addDays(1));
    SaveCustomerStep(*desk, second, QStringLiteral("1"), QStringLiteral("0"),
                     CustomerDetails{QStringLiteral("Eli"), QStringLiteral("Ford")});
    QTRY_COMPARE(arrivals->count(), 2);
}

QTEST_MAIN(TestRoomChart)
#include "tst_roomchart.moc"
