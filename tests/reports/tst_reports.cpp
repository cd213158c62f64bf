// The reports' figures against a small house counted by hand, on a file
// and on the run's server: a stay across a month's end, one of two rooms,
// a booking still being begun and one without a guest left out, a stay
// arriving the month before, countries spelt two ways, payments by two
// methods, invoices at two rates with a credit note, and a tourist tax with
// a child under its age and stays longer than its cap. Then the reports
// panel as the operator uses it.
#include "app/frmMain.h"
#include "config/frmTerminology.h"
#include "data/copies/housecopy.h"
#include "data/schema/bookingtax.h"
#include "data/schema/housedetails.h"
#include "data/schema/houseterms.h"
#include "data/schema/schema.h"
#include "output/invoices.h"
#include "reports/ReportsPanel.h"
#include "reports/reportrunner.h"
#include "reports/reportsquery.h"
#include "guisupport.h"
#include "booking/registration.h"
#include "testsupport.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateEdit>
#include <QTableWidget>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

class TestReports : public QObject
{
    Q_OBJECT
private slots:
    void handCountedHouse_data();
    void handCountedHouse();
    void panelRoad();

private:
    void run();
};

void TestReports::handCountedHouse_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

void TestReports::handCountedHouse()
{
    try {
        run();
    } catch (const DbError &e) {
        QFAIL(qPrintable(e.message()));
    }
}

void TestReports::run()
{
    QFETCH(bool, onServer);
    TempDatabase file;
    const RecordId a = file.addRoom(QStringLiteral("A")), b = file.addRoom(QStringLiteral("B"));
    const auto at = [](int month, int day, int hour) { return QDateTime(QDate(2026, month, day), QTime(hour, 0)); };
    struct Stay
    {
        QDateTime from, to;
        QList<RecordId> rooms;
        const char *country;
        int adults, children, cost;
    };
    const Stay stays[] = {
        {at(3, 30, 14), at(4, 2, 10), {a}, "Austria", 2, 1, 100},     // 2 nights in March, 1 in April
        {at(3, 10, 14), at(3, 12, 10), {a, b}, " austria ", 1, 0, 50},  // 2 nights, 2 rooms
        {at(3, 20, 14), at(3, 21, 10), {b}, "Germany", 2, 0, 80},       // being begun: left out
        {at(2, 27, 14), at(3, 2, 10), {b}, "Deutschland", 2, 0, 70},    // arrived in February: 1 night in March
    };
    QVector<RecordId> ids;
    for (const Stay &s : stays) {
        const RecordId id = file.addGuest(s.from, s.to, QStringLiteral("G"), QStringLiteral("Guest"), s.rooms);
        file.run(QStringLiteral("UPDATE booking SET CostPerNight = %1, NoAdults = %2, NoKids = %3 WHERE ID = %4")
                     .arg(s.cost)
                     .arg(s.adults)
                     .arg(s.children)
                     .arg(id));
        file.run(QStringLiteral("UPDATE customer SET Country = '%1' WHERE ID = (SELECT CustomerID FROM booking WHERE ID = %2)")
                     .arg(QLatin1String(s.country))
                     .arg(id));
        ids << id;
    }
    file.addBooking(at(3, 15, 14), at(3, 16, 10), 0, {a});  // no guest: left out
    // A companion from Italy with the first stay (copied to the server with it).
    Registration companions;
    companions.companions << Companion{QStringLiteral("Eva"), QDate(), QStringLiteral("IT")};
    WriteRegistration(file.db(), ids[0], companions);
    std::unique_ptr<ServerDatabase> server;
    std::unique_ptr<Database> copy;
    Database *db = &file.db();
    if (onServer) {
        server = std::make_unique<ServerDatabase>();
        REQUIRE_SERVER(*server);
        copy = OpenDatabase(server->address());
        CopyHouse(file.db(), *copy);
        db = copy.get();
    }
    db->query(QStringLiteral("INSERT INTO bookingdraft (bookingid, started) VALUES (%1, '2026-03-20 14:00:00')").arg(ids[2]));

    const QDate march(2026, 3, 1), april(2026, 4, 30);
    const QVector<OccupancyRow> months = OccupancyReport(*db, march, april, ReportGrouping::Month);
    QCOMPARE(months.size(), 2);
    QCOMPARE(months[0].roomsAvailable, qint64(2 * 31));
    QCOMPARE(months[0].roomNightsSold, qint64(2 + 2 * 2 + 1));
    QCOMPARE(months[0].revenue, 2 * 100.0 + 4 * 50.0 + 70.0);
    QCOMPARE(months[1].roomNightsSold, qint64(1));
    QCOMPARE(months[1].revenue, 100.0);
    QCOMPARE(months[1].averageRate(), 100.0);
    const QVector<OccupancyRow> days = OccupancyReport(*db, march, QDate(2026, 3, 31), ReportGrouping::Day);
    QCOMPARE(days.size(), 31);
    QList<qint64> sold;
    for (const OccupancyRow &d : days)
        sold << d.roomNightsSold;
    QList<qint64> expected(31, 0);
    expected[0] = 1;                 // the stay from February
    expected[9] = expected[10] = 2;  // two rooms
    expected[29] = expected[30] = 1;
    QCOMPARE(sold, expected);
    const QVector<OccupancyRow> weeks = OccupancyReport(*db, march, QDate(2026, 3, 31), ReportGrouping::Week);
    QCOMPARE(weeks.first().last, QDate(2026, 3, 1));  // a Sunday
    QCOMPARE(weeks.size(), 6);

    const QVector<CountryRow> countries = GuestsByCountry(*db, march, QDate(2026, 3, 31), QStringLiteral("AUSTRIA"));
    QCOMPARE(countries.size(), 2);  // Germany's stay is being begun, Deutschland's arrived before
    QCOMPARE(countries[0].country, QStringLiteral("Austria"));
    QCOMPARE(countries[0].spellings, (QStringList{QStringLiteral("Austria"), QStringLiteral(" austria ")}));
    QCOMPARE(countries[0].arrivals, qint64(2));
    QCOMPARE(countries[0].guests, 3.0);  // the Italian companion counts in Italy
    QCOMPARE(countries[0].nights, qint64(2 + 2));  // March's nights of the stay over the month's end
    QCOMPARE(countries[1].country, QStringLiteral("Italy"));
    QCOMPARE(countries[1].arrivals, qint64(0));
    QCOMPARE(countries[1].guests, 1.0);
    QCOMPARE(countries[1].nights, qint64(2));
    const QVector<CountryRow> february = GuestsByCountry(*db, QDate(2026, 2, 1), QDate(2026, 2, 28), QString());
    QCOMPARE(february.size(), 1);
    QCOMPARE(february[0].nights, qint64(2));

    // Money: what each booking costs, its payments, its invoices.
    const auto money = [&](RecordId id, int other, int tax, int total) {
        db->execute(QStringLiteral("UPDATE booking SET OtherCharges = %1, SalesTax = %2, TotalPayable = %3 WHERE ID = %4")
                        .arg(other)
                        .arg(tax)
                        .arg(total)
                        .arg(id));
    };
    money(ids[0], 30, 33, 363);
    money(ids[1], 0, 20, 220);
    money(ids[3], 0, 0, 0);
    const auto pay = [&](RecordId id, const char *day, int cents, const char *method) {
        db->execute(QStringLiteral("INSERT INTO payment (BookingID, PaidOn, AmountCents, Method, Note) VALUES (%1, '%2', %3, '%4', '')")
                        .arg(id)
                        .arg(QLatin1String(day))
                        .arg(cents)
                        .arg(QLatin1String(method)));
    };
    pay(ids[0], "2026-03-25", 5000, "Cash");
    pay(ids[0], "2026-04-01", 10000, "Card");
    pay(ids[1], "2026-03-12", 22000, "Card");
    pay(ids[2], "2026-03-20", 1000, "Cash");  // being begun: left out
    WriteHouseTerms(*db, HouseTerms{QStringLiteral("EUR"), QStringLiteral("VAT"), QStringLiteral("Post Code"),
                                    QStringLiteral("100"), QStringLiteral("10")});
    HouseDetails named;
    named.name = QStringLiteral("Haus am See");
    named.address = QStringLiteral("Seeweg 1");
    WriteHouseDetails(*db, named);
    IssueInvoice(*db, ids[0], QDate(2026, 3, 31));
    const RecordId second = IssueInvoice(*db, ids[1], QDate(2026, 3, 12));
    IssueCreditNote(*db, second, QDate(2026, 4, 2));
    WriteHouseTerms(*db, HouseTerms{QStringLiteral("EUR"), QStringLiteral("VAT"), QStringLiteral("Post Code"),
                                    QStringLiteral("100"), QStringLiteral("7")});
    // Priced again at the new rate: its invoice takes the rate it was priced with.
    WriteBookingTax(*db, ids[1], BookingTax{QStringLiteral("VAT"), QStringLiteral("7")});
    IssueInvoice(*db, ids[1], QDate(2026, 4, 2));

    // The days' sums the reports read are the invoices' own.
    const QString byDay = QStringLiteral("SELECT IssuedOn, TaxRate, %1 FROM %2 GROUP BY IssuedOn, TaxRate ORDER BY 1, 2");
    const auto rowsOf = [&](const QString &sql) {
        QStringList out;
        for (Recordset r = db->query(sql); !r.eof(); r.moveNext())
            out << QStringLiteral("%1 %2 %3 %4 %5").arg(r.text(0), r.text(1), r.text(2), r.text(3), r.text(4));
        return out;
    };
    QCOMPARE(rowsOf(byDay.arg(QStringLiteral("sum(NetCents), sum(TaxCents), sum(TotalCents)"), QStringLiteral("invoiceday"))),
             rowsOf(byDay.arg(QStringLiteral("sum(NetCents), sum(TaxCents), sum(TotalCents)"), QStringLiteral("invoice"))));
    QCOMPARE(rowsOf(byDay.arg(QStringLiteral("sum(NetCents), sum(TaxCents), sum(TotalCents)"), QStringLiteral("invoiceday"))).size(), 4);

    const QVector<RevenueRow> revenue = RevenueReport(*db, march, april);
    QCOMPARE(revenue.size(), 2);
    QCOMPARE(revenue[0].roomRevenue, 470.0);
    QCOMPARE(revenue[0].otherCharges, 30.0);  // by arrival: the stay over the month's end arrived in March
    QCOMPARE(revenue[1].otherCharges, 0.0);
    QCOMPARE(revenue[0].taxCents, qint64(3300 + 2000));
    QCOMPARE(revenue[0].invoicedCents, qint64(36300 + 22000));
    QCOMPARE(revenue[1].taxCents, qint64(0));  // a credit note and a new invoice
    QCOMPARE(revenue[1].invoicedCents, qint64(0));
    QCOMPARE(revenue[0].paidCents, (QMap<QString, qint64>{{QStringLiteral("Cash"), 5000}, {QStringLiteral("Card"), 22000}}));
    QCOMPARE(revenue[1].paidCents, (QMap<QString, qint64>{{QStringLiteral("Card"), 10000}}));
    // Owed at the period's end by March's arrivals: the stay over the
    // month's end less both its payments; the other paid in full.
    QCOMPARE(revenue[0].outstandingCents, qint64(36300 - 15000));
    QCOMPARE(revenue[1].outstandingCents, qint64(0));
    QCOMPARE(RevenueReport(*db, march, QDate(2026, 3, 31))[0].outstandingCents, qint64(36300 - 5000));

    TouristTax tourist;
    tourist.cents = 250;
    tourist.freeUnderAge = 12;
    tourist.capNights = 2;
    WriteTouristTax(*db, tourist);
    QCOMPARE(ReadTouristTax(*db).capNights, 2);
    const TaxesReportRows taxes = TaxesReport(*db, QDate(2026, 2, 1), april, ReadTouristTax(*db));
    QCOMPARE(taxes.sales.size(), 3);  // March at 10 %, April at 10 % (credited) and 7 %
    QCOMPARE(taxes.sales[0].month, march);
    QCOMPARE(taxes.sales[0].rate, QStringLiteral("10"));
    QCOMPARE(taxes.sales[0].netCents, qint64(33000 + 20000));
    QCOMPARE(taxes.sales[0].taxCents, qint64(5300));
    QCOMPARE(taxes.sales[1].taxCents, qint64(-2000));
    QCOMPARE(taxes.sales[2].rate, QStringLiteral("7"));
    QCOMPARE(taxes.sales[2].netCents, qint64(20000));
    QCOMPARE(taxes.tourist.size(), 3);
    // February: two adults, the first two of three nights. March: the stay
    // over the month's end taxed its first two nights for its two adults
    // (the child free), the two nights of one adult. April: past the cap.
    QCOMPARE(taxes.tourist[0].personNights, qint64(2 * 2));
    QCOMPARE(taxes.tourist[1].personNights, qint64(2 * 2 + 2));
    QCOMPARE(taxes.tourist[1].cents, qint64(6 * 250));
    QCOMPARE(taxes.tourist[2].personNights, qint64(0));
    tourist.freeUnderAge = 0;  // children pay
    tourist.capNights = 0;     // every night
    const TaxesReportRows uncapped = TaxesReport(*db, march, april, tourist);
    QCOMPARE(uncapped.tourist[0].personNights, qint64(3 * 2 + 2 + 2));
    QCOMPARE(uncapped.tourist[1].personNights, qint64(3));

    // The tables the window, the paper and the file show, and the same
    // worked out off this thread.
    ReportRequest rq;
    rq.kind = ReportKind::Taxes;
    rq.first = march;
    rq.last = april;
    rq.currency = QStringLiteral("EUR");
    rq.tourist = ReadTouristTax(*db);
    const ReportTable table = MakeReport(*db, rq);
    QCOMPARE(table.headers, (QStringList{QStringLiteral("Month"), QStringLiteral("Taxable at VAT 10 % (EUR)"),
                                         QStringLiteral("VAT 10 % (EUR)"), QStringLiteral("Taxable at VAT 7 % (EUR)"),
                                         QStringLiteral("VAT 7 % (EUR)"), QStringLiteral("Tourist tax nights"),
                                         QStringLiteral("Tourist tax (EUR)")}));
    const QLocale region;
    QCOMPARE(table.cells.size(), 3);
    QCOMPARE(table.cells[0][2], region.toString(53.0, 'f', 2));
    QCOMPARE(table.cells[0][6], region.toString(15.0, 'f', 2));
    QCOMPARE(table.cells[2][0], QStringLiteral("Total"));
    QCOMPARE(table.cells[2][1], region.toString(330.0, 'f', 2));
    QVERIFY(table.notes.join(QLatin1Char(' ')).contains(QStringLiteral("children (under 12) free")));
    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    WriteReportCsv(table, csv);
    const QString written = QString::fromUtf8(csv.data());
    QVERIFY(written.startsWith(QStringLiteral("\"Taxes\",")));
    QVERIFY(written.contains(QStringLiteral("\"Total\",\"%1\"").arg(region.toString(330.0, 'f', 2))));
    QCOMPARE(written.count(QStringLiteral("\r\n")), 2 + 3 + int(table.notes.size()));

    ReportRunner runner(db->address());
    QSignalSpy ready(&runner, &ReportRunner::ready);
    rq.kind = ReportKind::Revenue;
    runner.request(rq);  // dropped: a later one is asked for at once
    rq.kind = ReportKind::GuestsByCountry;
    rq.houseCountry = QStringList{QStringLiteral("Deutschland")};
    rq.first = QDate(2026, 2, 1);
    runner.request(rq);
    QTRY_COMPARE(ready.size(), 1);
    const ReportTable countriesShown = ready.at(0).at(0).value<ReportTable>();
    QCOMPARE(countriesShown.title, QStringLiteral("Guests by Country"));
    QCOMPARE(countriesShown.cells[0][0], QStringLiteral("Deutschland"));  // the house's own country first
    QCOMPARE(countriesShown.cells, MakeReport(*db, rq).cells);
    QVERIFY(!runner.busy());
}

void TestReports::panelRoad()
{
    ProgramRun p;
    p.notFirst();
    const RecordId room = p.database.addRoom(QStringLiteral("Garden"));
    const QDate month = QDate::currentDate().addMonths(-1);
    const QDate first(month.year(), month.month(), 1);
    const RecordId id = p.database.addGuest(QDateTime(first.addDays(2), QTime(14, 0)),
                                            QDateTime(first.addDays(5), QTime(10, 0)), QStringLiteral("Ann"),
                                            QStringLiteral("Lee"), {room});
    p.database.run(QStringLiteral("UPDATE booking SET CostPerNight = 80, NoAdults = 2, NoKids = 1 WHERE ID = %1").arg(id));
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();

    // The tourist tax set up as the operator types it.
    auto regional = whenModal<frmTerminology>([](frmTerminology *d) {
        typeInto(child<QLineEdit>(d, "txtTouristTax"), QLocale().toString(1.5, 'f', 2));
        typeInto(child<QLineEdit>(d, "txtTouristTaxFreeAge"), QStringLiteral("abc"));
        QTest::mouseClick(child(d, "cmdOk"), Qt::LeftButton);  // refused, said
        typeInto(child<QLineEdit>(d, "txtTouristTaxFreeAge"), QStringLiteral("12"));
        QTest::mouseClick(child(d, "cmdOk"), Qt::LeftButton);
    });
    w->findChild<QAction *>(QStringLiteral("mnuConfigureTerminology"))->trigger();
    QVERIFY(regional->seen);
    QCOMPARE(p.ui.messages.size(), 1);
    QVERIFY(p.ui.messages[0].text.contains(QStringLiteral("whole number from 0 to 99")));
    QCOMPARE(ReadTouristTax(p.database.db()).cents, qint64(150));

    // The label's key opens the panel on last month's occupancy, day by day.
    auto *panel = p.find<ReportsPanel>("picReports");
    QSignalSpy shown(panel, &ReportsPanel::reportShown);
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(shown.size(), 1);
    QVERIFY(panel->isVisible());
    QCOMPARE(p.find("lblMenu_8")->toolTip(),
             QStringLiteral("Occupancy, revenue, guests by country and taxes over a period. (Ctrl+Shift+R)"));
    auto *grid = p.find<QTableWidget>("grdReport");
    QCOMPARE(grid->rowCount(), first.daysInMonth() + 1);
    QCOMPARE(grid->item(2, 2)->text(), QStringLiteral("1"));  // the third day: a night sold
    QCOMPARE(grid->item(2, 3)->text(), QLocale().toString(100.0, 'f', 1));
    // The chart's figures for a row chosen on it by the keyboard.
    QWidget *chart = p.find("picReportChart");
    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_Home);
    QTest::keyClick(chart, Qt::Key_Right);
    QTest::keyClick(chart, Qt::Key_Right);
    QCOMPARE(grid->currentRow(), 2);
    QVERIFY(chart->accessibleDescription().contains(QStringLiteral("Room-nights sold: 1")));

    // Taxes over the quarter: the tourist tax of the two adults' nights.
    auto *report = p.find<QComboBox>("cboReport");
    report->setCurrentIndex(3);
    QTRY_COMPARE(shown.size(), 2);
    p.find<QComboBox>("cboPeriod")->setCurrentIndex(1);
    QTRY_COMPARE(shown.size(), 3);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(3, grid->columnCount() - 2)->text(), QStringLiteral("6"));
    QCOMPARE(grid->item(3, grid->columnCount() - 1)->text(), QLocale().toString(9.0, 'f', 2));

    // Printed with the letterhead, saved as PDF and read back, and exported.
    QTemporaryDir folder;
    HouseDetails house;
    house.name = QStringLiteral("Pension Seeblick");
    WriteHouseDetails(p.database.db(), house);
    p.ui.paperPdf = folder.filePath(QStringLiteral("taxes.pdf"));
    QTest::mouseClick(p.find("cmdReportPrint"), Qt::LeftButton);
    QCOMPARE(p.ui.paperTitles.size(), 1);
    QVERIFY(p.ui.paperTitles[0].startsWith(QStringLiteral("Taxes ")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), p.ui.paperPdf, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(60000) && text.exitCode() == 0,
             "pdftotext (Debian's poppler-utils) could not read the report's PDF");
    const QString read = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &line : {QStringLiteral("Pension Seeblick"), QStringLiteral("Taxes"), QStringLiteral("Tourist"),
                                QStringLiteral("Total"), QLocale().toString(9.0, 'f', 2)})
        QVERIFY2(read.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + read));
    p.ui.saveAnswer = folder.filePath(QStringLiteral("taxes.csv"));
    QTest::mouseClick(p.find("cmdReportExport"), Qt::LeftButton);
    QFile csv(p.ui.saveAnswer);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(csv.readAll()).contains(QStringLiteral("\"Tourist tax nights\"")));
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
