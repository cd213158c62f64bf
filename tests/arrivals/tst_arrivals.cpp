// The home view driven as an operator would: the day's lists, refilling by
// click and by keys, the date the program sets alone, opening bookings.
#include "app/frmMain.h"
#include "arrivals/ArrivalsPanel.h"
#include "arrivals/arrivalsquery.h"
#include "data/regional/regional.h"
#include "booking/bookingstatus.h"
#include "booking/paymentrecords.h"
#include "booking/registration.h"
#include "data/schema/paperlanguage.h"
#include "guisupport.h"
#include "wizard/BookingWizard.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTreeWidget>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

QStringList texts(QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    out.sort();  // the lists keep the database's order, which the queries leave open
    return out;
}

QList<qlonglong> itemIds(QListWidget *list)
{
    QList<qlonglong> out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->data(Qt::UserRole).toLongLong();
    std::sort(out.begin(), out.end());
    return out;
}

// Clicks the cell of a day of the month the view shows; days 15 and later
// stand only once on the page.
void clickDay(QCalendarWidget *calendar, int day)
{
    auto *view = calendar->findChild<QAbstractItemView *>();
    QAbstractItemModel *model = view->model();
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex index = model->index(r, c);
            if (model->data(index, Qt::DisplayRole).toInt() == day) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
                return;
            }
        }
    qFatal("day %d not on the page", day);
}

int rowOf(QListWidget *list, RecordId id)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toLongLong() == id)
            return i;
    qFatal("booking not listed");
}

// Today's house: who comes, who goes, who stays one day, who has no name.
struct House
{
    RecordId arriving, leaving, dayStay, noFirst, noLast, noName, noCustomer, lostCustomer, later;
    QDate today = QDate::currentDate();

    explicit House(TempDatabase &t)
    {
        const QDateTime morning(today, QTime(9, 0));
        arriving = t.addGuest(QDateTime(today, QTime(14, 0)), morning.addDays(2), QStringLiteral("Ann"), QStringLiteral("Lee"));
        leaving = t.addGuest(morning.addDays(-3), QDateTime(today, QTime(10, 30)), QStringLiteral("Bo"), QStringLiteral("Kim"));
        dayStay = t.addGuest(QDateTime(today, QTime(0, 0)), QDateTime(today, QTime(23, 59)), QStringLiteral("Cy"), QStringLiteral("Day"));
        noFirst = t.addGuest(morning, morning.addDays(1), QString(), QStringLiteral("Smith"));
        noLast = t.addGuest(morning, morning.addDays(1), QStringLiteral("Jo"), QString());
        noName = t.addGuest(morning, morning.addDays(1), QString(), QString());
        noCustomer = t.addBooking(morning, morning.addDays(1), 0);  // still in the wizard
        const RecordId gone = t.addCustomer(QStringLiteral("Gone"), QStringLiteral("Away"));
        lostCustomer = t.addBooking(morning, morning.addDays(1), gone);
        t.run(QStringLiteral("DELETE FROM customer WHERE id = %1").arg(gone));
        later = t.addGuest(morning.addDays(1), morning.addDays(4), QStringLiteral("Di"), QStringLiteral("Next"));
    }
};

}  // namespace

class TestArrivals : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void queriesAndNames();
    void todaysLists();
    void todaysListsInSecondRegion();
    void panelWithoutMainWindow();
    void refillByClickAndKeysNotByProgram();
    void openingBookingsFromEachList();
    void theDesksDayThroughTheWindow();
    void dayWithoutMidnight();
    void focusClearsTheOtherSelection();
    void registrationCardsOfTheDay();
};

void TestArrivals::queriesAndNames()
{
    QCOMPARE(ArrivalsSql(QDate(2002, 5, 1)),
             QStringLiteral("SELECT booking.id, fromdate, firstname, lastname, booking.status FROM booking, customer WHERE "
                            "booking.customerid = customer.id AND fromdate BETWEEN #5/1/2002 12:00 AM# AND #5/1/2002 11:59:59 PM#"));
    QCOMPARE(DeparturesSql(QDate(2002, 12, 25)),
             QStringLiteral("SELECT booking.id, fromdate, firstname, lastname, booking.status FROM booking, customer WHERE "
                            "booking.customerid = customer.id AND todate BETWEEN #12/25/2002 12:00 AM# AND #12/25/2002 11:59:59 PM#"));
    QCOMPARE(GuestDisplayName(QStringLiteral("Ann"), QStringLiteral("Lee")), QStringLiteral("Ann Lee"));
    QCOMPARE(GuestDisplayName(QString(), QStringLiteral("Lee")), QStringLiteral(" Lee"));
    QCOMPARE(GuestDisplayName(QStringLiteral("Ann"), QVariant()), QStringLiteral("Ann "));
    QCOMPARE(GuestDisplayName(QVariant(), QVariant()), QStringLiteral("No name entered"));
    QCOMPARE(GuestDisplayName(QStringLiteral(" "), QString()), QStringLiteral("  "));
}

void TestArrivals::todaysLists()
{
    ProgramRun p;
    p.notFirst();
    const House h(p.database);
    QCOMPARE(p.run(), 0);
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    auto *departures = p.find<QListWidget>("lstDepartures");
    QCOMPARE(texts(arrivals), (QStringList{QStringLiteral(" Smith"), QStringLiteral("Ann Lee"), QStringLiteral("Cy Day"),
                                           QStringLiteral("Jo "), QStringLiteral("No name entered")}));
    QCOMPARE(itemIds(arrivals), (QList<qlonglong>{h.arriving, h.dayStay, h.noFirst, h.noLast, h.noName}));
    QCOMPARE(texts(departures), (QStringList{QStringLiteral("Bo Kim"), QStringLiteral("Cy Day")}));
    QCOMPARE(itemIds(departures), (QList<qlonglong>{h.leaving, h.dayStay}));
    QCOMPARE(arrivals->toolTip(), QStringLiteral("Customers arriving on the selected date."));
    QCOMPARE(p.find<QPushButton>("cmdViewDetails")->text(), QStringLiteral("View Details"));
}

void TestArrivals::todaysListsInSecondRegion()
{
    LocaleScope de("de_DE");
    ProgramRun p;
    p.notFirst();
    const House h(p.database);
    QCOMPARE(p.run(), 0);
    QCOMPARE(itemIds(p.find<QListWidget>("lstArrivals")),
             (QList<qlonglong>{h.arriving, h.dayStay, h.noFirst, h.noLast, h.noName}));
    QCOMPARE(itemIds(p.find<QListWidget>("lstDepartures")), (QList<qlonglong>{h.leaving, h.dayStay}));
}

void TestArrivals::panelWithoutMainWindow()
{
    // The panel on a database of its own: it fills its lists for the date it
    // is given and asks its host to open a booking that is still there.
    TempDatabase t;
    const House h(t);
    FakeUi ui;
    ArrivalsPanel panel;
    panel.setServices(&ui);
    panel.setConnection(&t.db());
    panel.setDate(h.today.addDays(1));
    panel.FillLists();
    auto *arrivals = child<QListWidget>(&panel, "lstArrivals");
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{h.later});
    QCOMPARE(itemIds(child<QListWidget>(&panel, "lstDepartures")),
             (QList<qlonglong>{h.noFirst, h.noLast, h.noName}));
    panel.show();
    QSignalSpy open(&panel, &ArrivalsPanel::openBooking);
    doubleClick(arrivals, 0);
    QCOMPARE(open.count(), 1);
    QCOMPARE(open.first().first().value<RecordId>(), h.later);
    // Gone since the lists were filled: the operator is told, nothing opens.
    t.discard(h.later);
    doubleClick(arrivals, 0);
    QCOMPARE(open.count(), 1);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text, QStringLiteral("This booking no longer exists."));
    QCOMPARE(arrivals->count(), 0);
}

void TestArrivals::refillByClickAndKeysNotByProgram()
{
    ProgramRun p;
    p.notFirst();
    TempDatabase &t = p.database;
    const QDateTime noon(QDate(2026, 3, 15), QTime(12, 0));
    const RecordId mid = t.addGuest(noon, noon.addDays(5), QStringLiteral("Mid"), QStringLiteral("March"));
    const RecordId next = t.addGuest(noon.addDays(1), noon.addDays(2), QStringLiteral("Next"), QStringLiteral("Day"));
    const RecordId newYear = t.addGuest(QDateTime(QDate(2026, 12, 31), QTime(20, 0)), QDateTime(QDate(2027, 1, 1), QTime(11, 0)),
                                        QStringLiteral("New"), QStringLiteral("Year"));
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    auto *calendar = p.find<QCalendarWidget>("dtCalendar");
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    auto *departures = p.find<QListWidget>("lstDepartures");

    // A date set by the program alone leaves the lists as they are.
    w->arrivals()->setDate(QDate(2026, 3, 1));
    QCOMPARE(arrivals->count(), 0);
    clickDay(calendar, 15);
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 15));
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{mid});
    QCOMPARE(departures->count(), 0);

    // Moving through the month with the keys refills too.
    auto *view = calendar->findChild<QAbstractItemView *>();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 16));
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{next});
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(calendar->selectedDate(), QDate(2026, 3, 23));
    QCOMPARE(arrivals->count(), 0);
    QCOMPARE(departures->count(), 0);
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Left);  // the 14th: nothing
    QCOMPARE(arrivals->count(), 0);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);  // the 17th: departures only
    QCOMPARE(itemIds(departures), QList<qlonglong>{next});

    // Across the end of a year.
    w->arrivals()->setDate(QDate(2026, 12, 31));
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(calendar->selectedDate(), QDate(2027, 1, 1));
    QCOMPARE(itemIds(departures), QList<qlonglong>{newYear});
    QTest::keyClick(view, Qt::Key_Left);
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{newYear});

    // "Today" moves the month view and shows the panel, but does not refill.
    w->findChild<QAction *>(QStringLiteral("mnuCalendar"))->trigger();
    QVERIFY(!p.find("picArrivals")->isVisible());
    QTest::mouseClick(p.find("lblMenu_6"), Qt::LeftButton);
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
    QVERIFY(p.find("picArrivals")->isVisible());
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{newYear});

    // "Arrivals and Departures" only switches panels.
    w->findChild<QAction *>(QStringLiteral("mnuCalendar"))->trigger();
    QTest::mouseClick(p.find("lblMenu_7"), Qt::LeftButton);
    QVERIFY(p.find("picArrivals")->isVisible());
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{newYear});
    // A date typed into the month view is committed by its editor later,
    // with no key: the lists follow it all the same.
    w->arrivals()->setDate(QDate(2026, 3, 16));
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{newYear});  // set by the program: not refilled
    view->setFocus();
    QTest::keyClicks(view, QStringLiteral("5"));  // May
    QTRY_COMPARE_WITH_TIMEOUT(calendar->selectedDate().month(), 5, 5000);
    QCOMPARE(arrivals->count(), 0);
    QCOMPARE(departures->count(), 0);
    QCOMPARE(calendar->minimumDate(), QDate(1900, 1, 1));
    QCOMPARE(calendar->maximumDate(), QDate(9999, 12, 31));

    QVERIFY(p.ui.messages.isEmpty());
}

void TestArrivals::openingBookingsFromEachList()
{
    ProgramRun p;
    p.notFirst();
    const House h(p.database);
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    auto *departures = p.find<QListWidget>("lstDepartures");
    auto *details = p.find<QPushButton>("cmdViewDetails");

    // Nothing selected: nothing happens.
    QTest::mouseClick(details, Qt::LeftButton);
    QVERIFY(p.find("picArrivals")->isVisible());
    QCOMPARE(w->wizard()->CurrentBookingId(), RecordId(0));

    doubleClick(arrivals, rowOf(arrivals, h.noFirst));
    QCOMPARE(w->wizard()->CurrentBookingId(), h.noFirst);
    QCOMPARE(w->wizard()->CurrentStep(), 4);
    QVERIFY(w->wizard()->OpenedFromList());
    QVERIFY(p.find("picBooking")->isVisible());
    QVERIFY(!p.find("picArrivals")->isVisible());

    w->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();
    doubleClick(departures, rowOf(departures, h.leaving));
    QCOMPARE(w->wizard()->CurrentBookingId(), h.leaving);
    QCOMPARE(w->wizard()->CurrentStep(), 4);
    QVERIFY(w->wizard()->OpenedFromList());

    // View Details opens the selection of the departures list.
    w->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();
    QTest::mouseClick(departures->viewport(), Qt::LeftButton, {}, departures->visualItemRect(departures->item(rowOf(departures, h.dayStay))).center());
    QTest::mouseClick(details, Qt::LeftButton);
    QCOMPARE(w->wizard()->CurrentBookingId(), h.dayStay);

    // Two guests with the same name still open their own bookings.
    ProgramRun twins;
    twins.notFirst();
    const QDateTime now(QDate::currentDate(), QTime(15, 0));
    const RecordId first = twins.database.addGuest(now, now.addDays(1), QStringLiteral("Sam"), QStringLiteral("Twin"));
    const RecordId second = twins.database.addGuest(now, now.addDays(2), QStringLiteral("Sam"), QStringLiteral("Twin"));
    QCOMPARE(twins.run(), 0);
    auto *list = twins.find<QListWidget>("lstArrivals");
    QCOMPARE(texts(list), (QStringList{QStringLiteral("Sam Twin"), QStringLiteral("Sam Twin")}));
    doubleClick(list, rowOf(list, second));
    QCOMPARE(twins.main()->wizard()->CurrentBookingId(), second);
    twins.main()->findChild<QAction *>(QStringLiteral("mnuReservationsArrivals"))->trigger();
    doubleClick(list, rowOf(list, first));
    QCOMPARE(twins.main()->wizard()->CurrentBookingId(), first);
}

void TestArrivals::dayWithoutMidnight()
{
    // In a zone where today has no 00:00 the program starts on today's
    // lists, and a stay that starts at 00:30 opens and saves unshifted.
    TimeZoneScope zone(ZoneWithoutMidnightToday());
    ProgramRun p;
    p.notFirst();
    p.database.addRoom(QStringLiteral("Loft"));
    const QDate today = QDate::currentDate();
    const RecordId early = p.database.addGuest(WallClock(today, QTime(0, 30)), WallClock(today.addDays(2), QTime(10, 0)),
                                               QStringLiteral("Early"), QStringLiteral("Bird"));
    const RecordId late = p.database.addGuest(WallClock(today.addDays(-1), QTime(12, 0)),
                                              WallClock(today, QTime(23, 59, 30)), QStringLiteral("Late"),
                                              QStringLiteral("Owl"));
    QCOMPARE(p.run(), 0);
    QVERIFY(p.ui.messages.isEmpty());
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    QCOMPARE(itemIds(arrivals), QList<qlonglong>{early});
    QCOMPARE(itemIds(p.find<QListWidget>("lstDepartures")), QList<qlonglong>{late});
    doubleClick(arrivals, 0);
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(p.find("cmdBack"), Qt::LeftButton);
    auto *from = p.find<QDateTimeEdit>("dtFromDate");
    QCOMPARE(from->dateTime().time(), QTime(0, 30));
    QCOMPARE(from->minimumDate(), QDate(1900, 1, 1));
    QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);  // writes the dates
    QCOMPARE(p.database.run(QStringLiteral("SELECT FromDate FROM booking WHERE id = %1").arg(early)).value(0).toDateTime(),
             WallClock(today, QTime(0, 30)));
    QVERIFY2(p.ui.messages.isEmpty(), qPrintable(p.ui.messages.value(0).text));
}

void TestArrivals::focusClearsTheOtherSelection()
{
    ProgramRun p;
    p.notFirst();
    const House h(p.database);
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    auto *departures = p.find<QListWidget>("lstDepartures");
    QApplication::setActiveWindow(w);
    QTest::mouseClick(arrivals->viewport(), Qt::LeftButton, {}, arrivals->visualItemRect(arrivals->item(0)).center());
    arrivals->setFocus();
    QCOMPARE(arrivals->selectedItems().size(), 1);
    departures->setFocus();  // as the Tab key or a click would
    QVERIFY(arrivals->selectedItems().isEmpty());
    QCOMPARE(arrivals->currentRow(), -1);
    QTest::mouseClick(departures->viewport(), Qt::LeftButton, {}, departures->visualItemRect(departures->item(0)).center());
    arrivals->setFocus();
    QVERIFY(departures->selectedItems().isEmpty());
    // With the departure selection gone, View Details opens nothing.
    QTest::mouseClick(p.find("cmdViewDetails"), Qt::LeftButton);
    QCOMPARE(w->wizard()->CurrentBookingId(), RecordId(0));
    Q_UNUSED(h);
}

void TestArrivals::theDesksDayThroughTheWindow()
{
    // The day at the desk: an arrival checked in by its key, a departure
    // with a balance due paid and checked out, the guests of earlier days
    // who never came marked no-shows, one and then all.
    ProgramRun p;
    p.notFirst();
    TempDatabase &t = p.database;
    const QDate today = QDate::currentDate();
    const RecordId room = t.addRoom(QStringLiteral("Sea View")), other = t.addRoom(QStringLiteral("Garden"));
    const RecordId coming = t.addGuest(QDateTime(today, QTime(14, 0)), QDateTime(today.addDays(2), QTime(10, 0)),
                                       QStringLiteral("Ann"), QStringLiteral("Lee"), {room});
    const RecordId going = t.addGuest(QDateTime(today.addDays(-3), QTime(14, 0)), QDateTime(today, QTime(10, 0)),
                                      QStringLiteral("Bo"), QStringLiteral("Kim"), {other});
    t.run(QStringLiteral("UPDATE booking SET TotalPayable = 120 WHERE id = %1").arg(going));
    ChangeBookingStatus(t.db(), going, BookingStatus::Booked, StatusChange{BookingStatus::CheckedIn});
    const RecordId late = t.addGuest(QDateTime(today.addDays(-2), QTime(14, 0)), QDateTime(today.addDays(3), QTime(10, 0)),
                                     QStringLiteral("Cy"), QStringLiteral("Late"), {});
    const RecordId never = t.addGuest(QDateTime(today.addDays(-1), QTime(14, 0)), QDateTime(today.addDays(1), QTime(10, 0)),
                                      QStringLiteral("Di"), QStringLiteral("Never"), {});
    QCOMPARE(p.run(), 0);
    const auto status = [&](RecordId b) { return t.run(QStringLiteral("SELECT Status FROM booking WHERE id = %1").arg(b)).text(0); };
    auto *arrivals = p.find<QListWidget>("lstArrivals");
    auto *departures = p.find<QListWidget>("lstDepartures");
    auto *waiting = p.find<QListWidget>("lstNotArrived");
    QCOMPARE(texts(departures), QStringList{QStringLiteral("Bo Kim (Checked in)")});
    QCOMPARE(itemIds(waiting), (QList<qlonglong>{late, never}));
    QVERIFY(texts(waiting).first().endsWith(QStringLiteral("Cy Late")));

    // Check In by its key, from the list.
    arrivals->setFocus();
    arrivals->setCurrentRow(rowOf(arrivals, coming));
    QTest::keyClick(arrivals, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(status(coming), QStringLiteral("checkedin"));
    QCOMPARE(texts(arrivals), QStringList{QStringLiteral("Ann Lee (Checked in)")});
    QCOMPARE(ReadBookingStatus(t.db(), coming).by, DeskUser());

    // Check Out with 120.00 due: said, Record Payment offered; paid there,
    // then out.
    departures->setCurrentRow(0);
    p.ui.answers = {QMessageBox::Yes};
    auto payments = whenModal<QDialog>([&](QDialog *d) {
        typeInto(child<QLineEdit>(d, "txtPaymentAmount"), FormatMoney(120));
        QTest::mouseClick(child<QPushButton>(d, "cmdRecord"), Qt::LeftButton);
        QCOMPARE(child<QTreeWidget>(d, "lstPayments")->topLevelItemCount(), 1);
        QTest::mouseClick(child<QPushButton>(d, "cmdClose"), Qt::LeftButton);
    });
    QTest::mouseClick(p.find<QPushButton>("cmdCheckOut"), Qt::LeftButton);
    QVERIFY(payments->seen);
    QCOMPARE(p.ui.messages.last().text.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("The guest still owes %1.").arg(FormatMoney(120)));
    QCOMPARE(status(going), QStringLiteral("checkedout"));
    QCOMPARE(AmountPaidOf(t.db(), going).toDouble(), 120.0);
    // Checked out, its stay is as it was: no road moves it.
    try {
        t.db().execute(QStringLiteral("UPDATE booking SET ToDate = #1/1/2031# WHERE id = %1").arg(going));
        QFAIL("a stay that has ended was moved");
    } catch (const DbError &e) {
        QCOMPARE(e.message(), QStringLiteral("The booking %1 is checked out: its stay cannot change.").arg(going));
    }

    // No-show: the one chosen, asked; then all that are left.
    waiting->setCurrentRow(rowOf(waiting, late));
    p.ui.answers = {QMessageBox::Yes};
    QTest::mouseClick(p.find<QPushButton>("cmdNoShow"), Qt::LeftButton);
    QCOMPARE(p.ui.messages.last().text,
             QStringLiteral("Mark booking %1 a no-show? Its rooms are free at once; its payments stay as they are.").arg(late));
    QCOMPARE(status(late), QStringLiteral("noshow"));
    QCOMPARE(itemIds(waiting), QList<qlonglong>{never});
    p.ui.answers = {QMessageBox::Yes};
    QTest::mouseClick(p.find<QPushButton>("cmdNoShowAll"), Qt::LeftButton);
    QCOMPARE(status(never), QStringLiteral("noshow"));
    QCOMPARE(waiting->count(), 0);
    QVERIFY(!p.find<QPushButton>("cmdNoShowAll")->isEnabled());
    QCOMPARE(t.run(QStringLiteral("SELECT Reason FROM bookingstatus WHERE bookingid = %1").arg(never)).text(0),
             QStringLiteral("noshow"));
}


void TestArrivals::registrationCardsOfTheDay()
{
    // The registration a guest gave, printed on the card of the selected
    // arrival; the day's cards one a page in one paper, each in its
    // booking's language, with blank lines where nothing is known.
    ProgramRun p;
    p.notFirst();
    const House h(p.database);
    Registration ann;
    ann.birth = QDate(1980, 2, 29);
    ann.nationality = QStringLiteral("DE");
    ann.documentKind = QStringLiteral("Passport");
    ann.documentNumber = QStringLiteral("C01X00T47");
    ann.companions << Companion{QStringLiteral("Eva Lee"), QDate(2015, 6, 1), QStringLiteral("AT")};
    WriteRegistration(p.database.db(), h.arriving, ann);
    QCOMPARE(ReadRegistration(p.database.db(), h.arriving), ann);
    Registration cy;
    cy.nationality = QStringLiteral("FR");
    WriteRegistration(p.database.db(), h.dayStay, cy);
    SetBookingPaperLanguage(p.database.db(), h.dayStay, QStringLiteral("de"));
    QCOMPARE(p.run(), 0);
    QTemporaryDir files;
    auto *arrivals = p.find<QListWidget>("lstArrivals");

    p.ui.paperPdf = files.filePath(QStringLiteral("card.pdf"));
    arrivals->setCurrentRow(rowOf(arrivals, h.arriving));
    QTest::mouseClick(p.find<QPushButton>("cmdPrintRegistration"), Qt::LeftButton);
    const QStringList card = PdfPages(p.ui.paperPdf);
    QVERIFY2(card.size() == 1, "pdftotext (poppler-utils) could not read the card, or it is not one page");
    for (const QString &line : {QStringLiteral("Registration Form"), QStringLiteral("Ann"), QStringLiteral("Lee"),
                                RegionalShortDate(QDate(1980, 2, 29)), QStringLiteral("Germany"), QStringLiteral("Passport"),
                                QStringLiteral("C01X00T47"), QStringLiteral("Eva Lee"), QStringLiteral("Austria"),
                                QStringLiteral("Signature of the guest")})
        QVERIFY2(card.first().contains(line), qPrintable(line + QStringLiteral(" not in:\n") + card.first()));

    p.ui.paperPdf = files.filePath(QStringLiteral("day.pdf"));
    QTest::mouseClick(p.find<QPushButton>("cmdPrintDayCards"), Qt::LeftButton);
    const QStringList pages = PdfPages(p.ui.paperPdf);
    QCOMPARE(pages.size(), arrivals->count());
    const QString german = pages.value(rowOf(arrivals, h.dayStay));
    for (const QString &line : {QStringLiteral("Meldeschein"), QStringLiteral("Cy"), QStringLiteral("Frankreich"),
                                QStringLiteral("Unterschrift des Gastes"), QStringLiteral("_____")})
        QVERIFY2(german.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + german));
    // Nothing known of the guest without a name: blank lines to fill in.
    QVERIFY(pages.value(rowOf(arrivals, h.noName)).count(QStringLiteral("_____")) >= 6);
}

QTEST_MAIN(TestArrivals)
#include "tst_arrivals.moc"
