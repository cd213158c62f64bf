// The availability calendar as the operator uses it: the control on its own
// (rooms scrolled into view, the week moved a day per change, a refresh that
// fails, a house without rooms), and through the real main window: a booking
// made in the wizard shows on "View Calendar" and opens from its cell; the
// rooms and days that fit the control at three sizes.
#include "app/frmMain.h"
#include "calendar/Calendar.h"
#include "data/regional/regional.h"
#include "guisupport.h"
#include "wizard/BookingWizard.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

bool booked(QTableView *g, int row, int column)
{
    return g->model()->index(row, column).data(Qt::BackgroundRole).value<QColor>() == QColor(255, 255, 0);
}

QString cellText(QTableView *g, int row, int column)
{
    return g->model()->index(row, column).data().toString();
}

void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

}  // namespace

class TestCalendar : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void controlScrollsAndKeepsItsWeekOnFailure();
    void bookingMadeInTheWizardShowsAndOpens();
    void roomsAndDaysFitTheControl();
};

void TestCalendar::controlScrollsAndKeepsItsWeekOnFailure()
{
    TempDatabase t;
    FakeUi ui;
    Calendar calendar;
    calendar.setServices(&ui);
    calendar.objConn = &t.db();
    auto *g = child<QTableView>(&calendar, "g");
    auto *rooms = child<QScrollBar>(&calendar, "HScroll");
    auto *days = child<QScrollBar>(&calendar, "ScrollDate");
    calendar.show();

    // No rooms: the dates and a line that says where rooms come from.
    calendar.Setup();
    calendar.Refresh();
    QCOMPARE(g->model()->columnCount(), 1);
    QCOMPARE(g->model()->rowCount(), 8);
    QVERIFY(child<QLabel>(&calendar, "lblNoRooms")->isVisible());
    QCOMPARE(cellText(g, 1, 0), RegionalShortDate(QDate::currentDate()));

    // Ten rooms fit; the eleventh brings the bar, whose end shows rooms 2-11.
    QList<RecordId> ids;
    for (int r = 1; r <= 10; ++r)
        ids << t.addRoom(QStringLiteral("R%1").arg(r));
    const QDate today = QDate::currentDate();
    t.addGuest(WallClock(today, QTime(15, 0)), WallClock(today.addDays(1), QTime(10, 0)), QStringLiteral("Ann"),
               QStringLiteral("Lee"), {ids[1]});
    click(child(&calendar, "Command1"));
    QVERIFY(!rooms->isVisible());
    QVERIFY(!child<QLabel>(&calendar, "lblNoRooms")->isVisible());
    QCOMPARE(g->model()->columnCount(), 11);
    QCOMPARE(cellText(g, 0, 1), QStringLiteral("R1"));
    QCOMPARE(g->model()->index(0, 2).data(Qt::UserRole).toLongLong(), ids[1]);
    QVERIFY(booked(g, 1, 2) && booked(g, 2, 2) && !booked(g, 3, 2) && !booked(g, 1, 1));
    QCOMPARE(g->model()->index(1, 2).data(Qt::ToolTipRole).toString(), QStringLiteral("Ann Lee"));
    ids << t.addRoom(QStringLiteral("R11"));
    click(child(&calendar, "Command1"));
    QVERIFY(rooms->isVisible());
    QCOMPARE(rooms->maximum(), 1);
    rooms->setValue(1);
    QCOMPARE(cellText(g, 0, 1), QStringLiteral("R2"));
    QVERIFY(booked(g, 1, 1));
    QCOMPARE(cellText(g, 0, 11), QString());  // the room skipped leaves the last column empty

    // A day per change, however far the bar jumps, either way.
    days->setValue(days->value() + 500);
    QCOMPARE(calendar.startDate(), today.addDays(1));
    QCOMPARE(cellText(g, 1, 0), RegionalShortDate(today.addDays(1)));
    QVERIFY(booked(g, 1, 1) && !booked(g, 2, 1));
    days->setValue(days->value() - 3);
    days->setValue(days->value() - 3);
    QCOMPARE(calendar.startDate(), today.addDays(-1));

    // A refresh that fails shows the engine's text; the week stays as it was.
    t.run(QStringLiteral("ALTER TABLE room RENAME TO room_away"));
    days->setValue(days->value() + 1);
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY2(ui.messages.first().text.contains(QStringLiteral("room")), qPrintable(ui.messages.first().text));
    QCOMPARE(calendar.startDate(), today.addDays(-1));
    QCOMPARE(cellText(g, 1, 0), RegionalShortDate(today.addDays(-1)));
    QCOMPARE(cellText(g, 0, 1), QStringLiteral("R2"));
    t.run(QStringLiteral("ALTER TABLE room_away RENAME TO room"));
    click(child(&calendar, "Command1"));
    QCOMPARE(ui.messages.size(), 1);

    // The keys stay inside the cells shown: past the last room column Right
    // moves the rooms by one, past the last day Down moves the week by one.
    rooms->setValue(0);
    g->setFocus();
    g->setCurrentIndex(g->model()->index(7, 10));
    QTest::keyClick(g, Qt::Key_Right);
    QCOMPARE(rooms->value(), 1);
    QCOMPARE(g->currentIndex().column(), 10);
    QCOMPARE(cellText(g, 0, 10), QStringLiteral("R11"));
    QTest::keyClick(g, Qt::Key_Right);  // no room further: nothing moves
    QCOMPARE(rooms->value(), 1);
    QCOMPARE(g->horizontalScrollBar()->value(), 0);
    QCOMPARE(g->columnViewportPosition(0), 0);  // the dates stay in view
    const QDate before = calendar.startDate();
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(calendar.startDate(), before.addDays(1));
    QCOMPARE(g->currentIndex().row(), 7);
    QTest::keyClick(g, Qt::Key_Up);  // inside the week: the cell above
    QCOMPARE(calendar.startDate(), before.addDays(1));
    QCOMPARE(g->currentIndex().row(), 6);
    g->setCurrentIndex(g->model()->index(1, 1));
    QTest::keyClick(g, Qt::Key_Up);
    QCOMPARE(calendar.startDate(), before);
    QTest::keyClick(g, Qt::Key_Left);
    QCOMPARE(rooms->value(), 0);
    QCOMPARE(g->currentIndex().column(), 1);

    // The house shrinks while the rooms are scrolled: the position is
    // clamped first, and no column shows without its room.
    t.addRoom(QStringLiteral("R12"));
    click(child(&calendar, "Command1"));
    rooms->setValue(2);
    for (int r = 0; r < 3; ++r)
        t.run(QStringLiteral("DELETE FROM room WHERE id = %1").arg(ids[r]));
    click(child(&calendar, "Command1"));
    QCOMPARE(rooms->value(), 0);
    QVERIFY(!rooms->isVisible());
    QCOMPARE(g->model()->columnCount(), 10);
    for (int c = 1; c < 10; ++c)
        QVERIFY(!cellText(g, 0, c).isEmpty());

    // The dates are never cut, in any region's short format.
    for (const char *region : {"en_US", "de_DE", "ja_JP", "ar_EG", "fa_IR"}) {
        LocaleScope scope(region);
        click(child(&calendar, "Command1"));
        const QFontMetrics metrics(g->font());
        for (int r = 1; r <= 7; ++r)
            QVERIFY2(metrics.horizontalAdvance(cellText(g, r, 0)) < g->columnWidth(0), region);
        QVERIFY(g->geometry().right() < calendar.width());
        QVERIFY(g->columnViewportPosition(9) + g->columnWidth(9) <= g->viewport()->width());
    }
}

void TestCalendar::bookingMadeInTheWizardShowsAndOpens()
{
    ProgramRun p;
    p.notFirst();
    p.database.addRoom(QStringLiteral("Garden"));
    p.database.addRoom(QStringLiteral("Attic"));
    QCOMPARE(p.run(), 0);
    click(p.find("lblMenu_5"));  // Add Booking: today to tomorrow
    click(p.find("cmdNext"));
    auto *list = p.find<QListWidget>("lstRooms");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());  // Attic
    click(p.find("cmdNext"));
    p.find<QLineEdit>("txtLastname")->setText(QStringLiteral("Quill"));
    click(p.find("cmdNext"));
    click(p.find("cmdNext"));
    const RecordId id = p.main()->wizard()->CurrentBookingId();
    click(p.find("cmdNext"));  // Confirm
    QVERIFY(p.find("picArrivals")->isVisible());

    click(p.find("lblMenu_1"));  // View Calendar
    QVERIFY(p.find("picCalendar")->isVisible());
    QVERIFY(!p.find("picArrivals")->isVisible());
    auto *g = p.find<QTableView>("g");
    QCOMPARE(cellText(g, 0, 2), QStringLiteral("Attic"));
    QVERIFY(booked(g, 1, 2) && booked(g, 2, 2) && !booked(g, 1, 1));
    QCOMPARE(g->model()->index(2, 2).data(Qt::ToolTipRole).toString(), QStringLiteral(" Quill"));

    // Enter on a free cell does nothing; on a booked one it opens the booking.
    g->setFocus();
    g->setCurrentIndex(g->model()->index(1, 1));
    QTest::keyClick(g, Qt::Key_Return);
    QVERIFY(p.find("picCalendar")->isVisible());
    QTest::keyClick(g, Qt::Key_Right);
    QTest::keyClick(g, Qt::Key_Return);
    QVERIFY(p.find("picBooking")->isVisible());
    QCOMPARE(p.main()->wizard()->CurrentBookingId(), id);
    QCOMPARE(p.main()->wizard()->CurrentStep(), 4);

    // Back on the calendar the week is where it was; a double-click opens too.
    click(p.find("lblMenu_1"));
    doubleClick(g, g->model()->index(2, 2));
    QVERIFY(p.find("picBooking")->isVisible());
    QVERIFY(p.ui.messages.isEmpty());
}

QTEST_MAIN(TestCalendar)
void TestCalendar::roomsAndDaysFitTheControl()
{
    // Under the font the run set as the desktop's, when it set one.
    if (qEnvironmentVariableIsSet("INNKELD_FONT"))
        QCOMPARE(QFontInfo(QApplication::font()).family(), qEnvironmentVariable("INNKELD_FONT"));
    // Twenty rooms, one with a name longer than any column. At each size
    // every room shown is whole and the next would not fit; seven days at
    // the designed height, more as it grows, fourteen at most. A resize
    // reads the database only when the rooms or days shown change.
    TempDatabase t;
    for (int r = 1; r <= 20; ++r)
        t.addRoom(r == 3 ? QStringLiteral("The Long Family Apartment Under The Roof") : QStringLiteral("Room %1").arg(r));
    FakeUi ui;
    Calendar calendar;
    calendar.setServices(&ui);
    calendar.objConn = &t.db();
    auto *g = child<QTableView>(&calendar, "g");
    auto *rooms = child<QScrollBar>(&calendar, "HScroll");
    calendar.show();
    calendar.Setup();
    calendar.Refresh();
    QCOMPARE(calendar.size(), QSize(483, 360));
    struct Size
    {
        QSize size;
        int days;
    };
    const Size sizes[] = {{QSize(483, 360), 7}, {QSize(800, 500), 10}, {QSize(1600, 1000), 14}};
    const QFontMetrics metrics(g->font());
    for (const Size &size : sizes) {
        calendar.resize(size.size);
        QTRY_COMPARE(g->model()->rowCount(), size.days + 1);
        QTRY_COMPARE(g->height(), 297 + (size.days - 7) * 40);
        QVERIFY(child(&calendar, "Command1")->geometry().bottom() < calendar.height());
        const int shown = g->model()->columnCount() - 1;
        QVERIFY(shown >= 5);
        int right = g->columnWidth(0);
        for (int c = 1; c <= shown; ++c) {
            const QString name = cellText(g, 0, c);
            QVERIFY2(g->columnWidth(c) >= std::min(metrics.horizontalAdvance(name), 120) && g->columnWidth(c) >= 40,
                     qPrintable(name));
            QCOMPARE(g->model()->index(0, c).data(Qt::ToolTipRole).toString(), name);
            right += g->columnWidth(c);
        }
        QVERIFY(right <= g->viewport()->width());
        // The bar's end shows the last room; all fit, and it hides.
        QCOMPARE(rooms->isVisible(), rooms->maximum() > 0);
        if (rooms->maximum() > 0) {
            QVERIFY(right + 40 > g->viewport()->width());
            rooms->setValue(rooms->maximum());
            QCOMPARE(cellText(g, 0, g->model()->columnCount() - 1), QStringLiteral("Room 20"));
            rooms->setValue(0);
        }
    }
    QVERIFY(!rooms->isVisible());  // twenty rooms fit 1600 pixels
    QCOMPARE(g->columnWidth(3), 140);
    QVERIFY(metrics.horizontalAdvance(cellText(g, 0, 3)) > g->columnWidth(3));  // cut, whole in its tooltip

    // Dragging an edge: a read per change of what is shown, not per pixel.
    QStringList statements;
    t.db().setStatementLog(&statements);
    calendar.resize(800, 500);
    QTRY_COMPARE(g->model()->rowCount(), 11);
    const int reads = int(statements.size());
    QVERIFY(reads > 0);
    for (int px = 1; px <= 15; ++px)
        calendar.resize(800 + px, 500 + px);
    QCOMPARE(g->model()->rowCount(), 11);
    QCOMPARE(int(statements.size()), reads);
    calendar.resize(800, 540);
    QTRY_COMPARE(g->model()->rowCount(), 12);
    QVERIFY(statements.size() > reads);
    t.db().setStatementLog(nullptr);
}

#include "tst_calendar.moc"
