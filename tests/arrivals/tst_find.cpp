// Finding a booking as a guest tells it: the matching rules on a small house
// in two regions, typed signs that must stay text, and the road through the
// real window: type, narrow, open with Enter, back with Escape; and a
// returning guest chosen on the customer step; a guest's own data exported
// and erased from the list's menu.
#include "app/frmMain.h"
#include "data/schema/housedetails.h"
#include "data/schema/schema.h"
#include "arrivals/findquery.h"
#include "booking/guestdata.h"
#include "guisupport.h"
#include "wizard/BookingWizard.h"
#include "wizard/returningguests.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// The key words of the bookings found, in the order found.
QStringList keysOf(const FindResult &result, const QHash<QString, RecordId> &house)
{
    QStringList keys;
    for (const FoundBooking &b : result.bookings)
        keys << house.key(b.bookingId, QString::number(b.bookingId));
    return keys;
}

// A booking of a guest of that name for each of `count` days before a day.
void addGuests(TempDatabase &t, const QString &last, int count, const QDate &before)
{
    Database::Transaction transaction(t.db());
    for (int i = 1; i <= count; ++i) {
        const QDateTime from(before.addDays(-i), QTime(15, 0));
        t.addGuest(from, from.addDays(1), QStringLiteral("Guest %1").arg(i), last);
    }
    transaction.commit();
}

}  // namespace

class TestFind : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void matchingRules_data();
    void matchingRules();
    void windowRoad();
};

void TestFind::matchingRules_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QStringList>("days");  // a day of the stays, typed in the region's way
    QTest::newRow("en_US") << QStringLiteral("en_US")
                           << QStringList{QStringLiteral("3/12/2026"), QStringLiteral("3/14/26"), QStringLiteral("3/15/2026")};
    QTest::newRow("de_DE") << QStringLiteral("de_DE")
                           << QStringList{QStringLiteral("12.03.2026"), QStringLiteral("14.03.26"), QStringLiteral("15.03.2026")};
}

void TestFind::matchingRules()
{
    QFETCH(QString, region);
    QFETCH(QStringList, days);
    LocaleScope scope(region.toLatin1().constData());
    TempDatabase t;
    const QHash<QString, RecordId> house = AddFindHouse(t.db());
    for (const auto &[text, expected] : FindHouseSearches(house)) {
        const FindResult found = FindBookings(t.db(), text);
        QVERIFY2(keysOf(found, house) == expected,
                 qPrintable(QStringLiteral("%1: %2").arg(text.left(40), keysOf(found, house).join(QLatin1Char(' ')))));
        QVERIFY(!found.more);
    }
    // A day typed finds the stays that touch it, departure day included;
    // with words, those of them the words find.
    const QList<std::pair<QString, QStringList>> byDay{
        {days[0], {QStringLiteral("mullins"), QStringLiteral("mueller")}},
        {days[1], {QStringLiteral("acme"), QStringLiteral("mueller")}},
        {days[0] + QStringLiteral(" anna"), {QStringLiteral("mueller")}},
        {QStringLiteral("anna ") + days[1] + QLatin1Char(' ') + days[0], {QStringLiteral("mueller")}},
        {days[2] + QStringLiteral(" 100"), {QStringLiteral("acme")}},
        {days[2] + QStringLiteral(" anna"), {}},
    };
    for (const auto &[text, expected] : byDay)
        QVERIFY2(keysOf(FindBookings(t.db(), text), house) == expected, qPrintable(text));

    // What the list shows of a booking.
    const FindResult mueller = FindBookings(t.db(), QStringLiteral("muller"));
    QCOMPARE(mueller.bookings.size(), 1);
    const FoundBooking &b = mueller.bookings.first();
    QCOMPARE(b.guest, QStringLiteral("Anna Müller (Müller & Söhne GmbH)"));
    QCOMPARE(b.arrival, QDateTime(QDate(2026, 3, 10), QTime(14, 0)));
    QCOMPARE(b.departure, QDateTime(QDate(2026, 3, 14), QTime(10, 0)));
    QCOMPARE(b.rooms, QStringLiteral("Sea View"));
    QCOMPARE(b.phone, QStringLiteral("0221 123-4567"));

    // The index follows every write: a changed name, a moved stay, a
    // guest's row gone, a booking gone.
    t.run(QStringLiteral("UPDATE customer SET City = 'Bonn' WHERE ID = (SELECT CustomerID FROM booking WHERE ID = %1)")
              .arg(house.value(QStringLiteral("mueller"))));
    QVERIFY(FindBookings(t.db(), QStringLiteral("koln")).bookings.isEmpty());
    QCOMPARE(keysOf(FindBookings(t.db(), QStringLiteral("bonn")), house), QStringList{QStringLiteral("mueller")});
    t.run(QStringLiteral("UPDATE booking SET FromDate = #1/1/2027 2:00 PM#, ToDate = #1/3/2027 10:00 AM# WHERE ID = %1")
              .arg(house.value(QStringLiteral("ohara"))));
    QCOMPARE(keysOf(FindBookings(t.db(), QStringLiteral("d")), house),
             (QStringList{QStringLiteral("ohara"), QStringLiteral("mueller"), QStringLiteral("quote")}));
    t.run(QStringLiteral("DELETE FROM customer WHERE ID = (SELECT CustomerID FROM booking WHERE ID = %1)")
              .arg(house.value(QStringLiteral("ivanov"))));
    QVERIFY(FindBookings(t.db(), QStringLiteral("дми")).bookings.isEmpty());
    t.discard(house.value(QStringLiteral("quote")));
    QCOMPARE(keysOf(FindBookings(t.db(), QStringLiteral("d")), house),
             (QStringList{QStringLiteral("ohara"), QStringLiteral("mueller")}));

    // A database made before the index gets it, filled, when it is opened:
    // the same rows as the writes kept, whatever the phones were written
    // with, and in bookings numbered otherwise than they arrive.
    const QStringList phones{QStringLiteral("+49 (0)221/123.45-67"), QString(), QString(QStringLiteral("")),
                             QStringLiteral("０２２１ ５５５"), QStringLiteral("1234567890123456789012345678901234567"),
                             QStringLiteral("ab-çd éf"), QStringLiteral("12")};
    for (int i = 0; i < phones.size(); ++i) {
        const QDateTime from(QDate(2025, 6, 20 - i), QTime(15, 0));
        t.addGuest(from, from.addDays(2), QStringLiteral("Phone"), QStringLiteral("Guest %1").arg(i));
        t.run(QStringLiteral("UPDATE customer SET Phone = %1 WHERE ID = (SELECT max(ID) FROM customer)")
                  .arg(phones.at(i).isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + phones.at(i) + QLatin1Char('\'')));
    }
    // (The index keeps its words alone: each word's place, read through
    // the engine's own view of them, after its own check.)
    // A guest's key changed (the bookings keep the old one, now nobody's),
    // and a guest added under it.
    t.run(QStringLiteral("UPDATE customer SET ID = 9999 WHERE ID = (SELECT CustomerID FROM booking WHERE ID = %1)")
              .arg(house.value(QStringLiteral("ohara"))));
    t.run(QStringLiteral("INSERT INTO customer (ID, LastName, Phone) SELECT CustomerID, 'Returned', '0171 2' FROM booking "
                         "WHERE ID = %1").arg(house.value(QStringLiteral("ohara"))));
    const auto indexRows = [](Database &db) {
        db.run(QStringLiteral("INSERT INTO booking_find (booking_find) VALUES ('integrity-check')"));
        db.run(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS temp.find_words USING fts5vocab(main, booking_find, "
                              "instance)"));
        QStringList rows;
        for (Recordset rs = db.query(QStringLiteral("SELECT doc, col, offset, term FROM temp.find_words ORDER BY 1, 2, 3"));
             !rs.eof(); rs.moveNext()) {
            QStringList fields;
            for (int f = 0; f < rs.fieldCount(); ++f)
                fields << rs.value(f).toString();
            rows << fields.join(QLatin1Char('|'));
        }
        return rows;
    };
    const QStringList kept = indexRows(t.db());
    QVERIFY(kept.size() > phones.size());
    t.run(QStringLiteral("DROP TRIGGER customer_find_update"));
    const QString path = t.db().path();
    auto reopened = OpenDatabase(path);
    QCOMPARE(keysOf(FindBookings(*reopened, QStringLiteral("bonn")), house), QStringList{QStringLiteral("mueller")});
    QCOMPARE(indexRows(*reopened), kept);
    QCOMPARE(FindBookings(*reopened, QStringLiteral("+49 (0)221/123")).bookings.size(), 1);
}

void TestFind::windowRoad()
{
    ProgramRun p;
    p.notFirst();
    const QHash<QString, RecordId> house = AddFindHouse(p.database.db());
    addGuests(p.database, QStringLiteral("Lee"), kFindListed + 5, QDate(2025, 1, 1));
    HouseDetails details;
    details.name = QStringLiteral("Gasthof Linde");
    details.address = QStringLiteral("Dorfplatz 2");
    WriteHouseDetails(p.database.db(), details);
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    auto *box = p.find<QLineEdit>("txtFind");
    auto *list = p.find<QTreeWidget>("lstFound");
    auto *more = p.find<QLabel>("lblFindMore");

    // Ctrl+F from the home view: the box is ready for typing.
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picFind")->isVisible());
    QVERIFY(box->hasFocus());
    typeText(box, QStringLiteral("mu"));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("Mark Mullins"));
    QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("3/10/2026"));
    typeText(box, QStringLiteral("ller"));
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(0), QString::number(house.value(QStringLiteral("mueller"))));
    QVERIFY(more->text().isEmpty());
    // Enter opens it at its confirmation, as the day lists do.
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(p.find("picBooking")->isVisible());
    QCOMPARE(w->wizard()->CurrentBookingId(), house.value(QStringLiteral("mueller")));
    QCOMPARE(w->wizard()->CurrentStep(), 4);

    // From the booking, Ctrl+F finds again; Escape goes back to it.
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picFind")->isVisible());
    QCOMPARE(box->selectedText(), QStringLiteral("muller"));
    QTest::keyClick(box, Qt::Key_Escape);
    QTRY_VERIFY(p.find("picBooking")->isVisible());

    // Very many found: the most recent 200, and a line that says so; the
    // arrow keys move in the list while the box keeps the focus.
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    typeInto(box, QStringLiteral("lee"));
    QCOMPARE(list->topLevelItemCount(), kFindListed);
    QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("12/31/2024"));
    QCOMPARE(more->text(), QStringLiteral("More than 200 bookings were found; type more to narrow the list."));
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(list->currentItem(), list->topLevelItem(1));
    QVERIFY(box->hasFocus());
    typeInto(box, QStringLiteral("nobody"));
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(more->text(), QStringLiteral("No booking was found."));
    // A paste of any size: its first words are searched, and the line says so.
    box->setText(QStringLiteral("lee ") + QStringLiteral("x").repeated(10000));
    QCOMPARE(more->text(), FindCutText() + QStringLiteral(" No booking was found."));
    box->setText(QStringLiteral("lee ").repeated(2000));
    QCOMPARE(list->topLevelItemCount(), kFindListed);
    QVERIFY(more->text().startsWith(FindCutText()));
    // A double-click opens too.
    typeInto(box, QStringLiteral("o'h"));
    QCOMPARE(list->topLevelItemCount(), 1);
    // Issue Invoice from the list: the booking's invoice in the preview.
    QTest::mouseClick(p.find("cmdFindIssueInvoice"), Qt::LeftButton);
    QCOMPARE(p.ui.paperTitles.size(), 1);
    QVERIFY(p.ui.paperTitles[0].startsWith(QStringLiteral("Invoice %1-0001").arg(QDate::currentDate().year())));
    QVERIFY(p.ui.paperTexts[0].contains(QStringLiteral("O'Hara")));
    doubleClick(list, 0);
    QTRY_COMPARE(w->wizard()->CurrentBookingId(), house.value(QStringLiteral("ohara")));

    // The guest's own data, from the list's menu by keyboard: exported as
    // JSON and a readable PDF, then erased after two questions; the invoice
    // stays as it was issued.
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picFind")->isVisible());
    QCOMPARE(list->topLevelItemCount(), 1);
    QTemporaryDir files;
    p.ui.saveAnswer = files.filePath(QStringLiteral("ohara.json"));
    const auto fromMenu = [&](Qt::Key accelerator) {
        QTimer::singleShot(0, [accelerator] {
            if (QWidget *menu = QApplication::activePopupWidget(); menu && menu->objectName() == QLatin1String("mnuGuest"))
                QTest::keyClick(menu, accelerator, Qt::AltModifier);
        });
        list->setFocus();
        const QPoint at = list->visualItemRect(list->currentItem()).center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
    };
    const int said = p.ui.messages.size();
    fromMenu(Qt::Key_E);
    QTRY_COMPARE_WITH_TIMEOUT(p.ui.messages.size(), said + 1, 30000);
    QVERIFY2(p.ui.messages.last().text.contains(QStringLiteral("was written to")), qPrintable(p.ui.messages.last().text));
    QFile json(p.ui.saveAnswer);
    QVERIFY(json.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(json.readAll()).contains(QStringLiteral("sean@ohara.ie")));
    const QStringList pages = PdfPages(files.filePath(QStringLiteral("ohara.pdf")));
    QVERIFY2(!pages.isEmpty() && pages.join(QString()).contains(QStringLiteral("O'Hara")), "pdftotext could not read the guest's data");
    p.ui.messages.clear();
    p.ui.answers = {QMessageBox::Yes, QMessageBox::Yes};
    fromMenu(Qt::Key_R);
    QTRY_COMPARE(p.ui.messages.size(), 3);
    QVERIFY(p.ui.messages[0].text.contains(QStringLiteral("invoices already issued stay")));
    QCOMPARE(list->topLevelItemCount(), 0);
    Recordset erased = p.database.run(QStringLiteral("SELECT c.LastName, c.Email, i.Guest FROM booking AS b JOIN customer AS c "
                                                     "ON c.ID = b.CustomerID JOIN invoice AS i ON i.BookingID = b.ID "
                                                     "WHERE b.ID = %1").arg(house.value(QStringLiteral("ohara"))));
    QVERIFY(!erased.eof());
    QCOMPARE(erased.text(0), ErasedMark());
    QVERIFY(erased.text(1).isEmpty());
    QVERIFY(erased.text(2).contains(QStringLiteral("O'Hara")));
    w->activateWindow();  // the menus took the window's activation
    QVERIFY(QTest::qWaitForWindowActive(w));

    // A returning guest: a new booking's customer step offers the earlier
    // guests of the last name typed; the one chosen fills the step, and the
    // booking gets a customer row of its own.
    QTest::keyClick(w, Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picBooking")->isVisible());
    const RecordId booking = w->wizard()->CurrentBookingId();
    QVERIFY(booking != house.value(QStringLiteral("ohara")));
    while (w->wizard()->CurrentStep() < 2)
        QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
    auto *lastName = p.find<QLineEdit>("txtLastname");
    auto *completer = child<QCompleter>(w->wizard(), "cmpReturningGuests");
    typeInto(lastName, QStringLiteral("lee"));
    QTRY_VERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->popup()->model()->rowCount(), 12);
    // Accents ignored: Mullins begins so too, the most recent first.
    typeInto(lastName, QStringLiteral("mül"));
    QTRY_COMPARE(completer->popup()->model()->rowCount(), 2);
    typeText(lastName, QStringLiteral("le"));
    QTRY_COMPARE(completer->popup()->model()->rowCount(), 1);
    QCOMPARE(completer->popup()->model()->index(0, 0).data().toString(),
             QStringLiteral("Anna Müller, Köln, last stay 3/10/2026"));
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    QTRY_COMPARE(p.find<QLineEdit>("txtFirstname")->text(), QStringLiteral("Anna"));
    QCOMPARE(lastName->text(), QStringLiteral("Müller"));
    QCOMPARE(p.find<QLineEdit>("txtPhone")->text(), QStringLiteral("0221 123-4567"));
    QCOMPARE(p.find<QLineEdit>("txtBusinessName")->text(), QStringLiteral("Müller & Söhne GmbH"));
    QTest::mouseClick(p.find("cmdNext"), Qt::LeftButton);
    QTRY_COMPARE(w->wizard()->CurrentStep(), 3);
    Recordset rows = p.database.run(QStringLiteral("SELECT b.CustomerID, c.Email, (SELECT CustomerID FROM booking "
                                                   "WHERE ID = %1) FROM booking AS b, customer AS c WHERE "
                                                   "c.ID = b.CustomerID AND b.ID = %2")
                                        .arg(house.value(QStringLiteral("mueller")))
                                        .arg(booking));
    QVERIFY(!rows.eof());
    QVERIFY(rows.value(0).toLongLong() != rows.value(2).toLongLong());
    QCOMPARE(rows.text(1), QStringLiteral("anna.mueller@example.de"));
    // The booking being made is not its own earlier guest.
    QCOMPARE(FindReturningGuests(p.database.db(), QStringLiteral("müller"), booking).size(), 1);
    QCOMPARE(FindReturningGuests(p.database.db(), QStringLiteral("müller"), 0).first().lastStay.date(),
             QDate::currentDate());
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
