// The reports' figures against a small house counted by hand, on a file
// and on the run's server: a stay across a month's end, one of two rooms,
// a booking still being begun and one without a guest left out, a stay
// arriving the month before, countries spelt two ways.
#include "data/copies/housecopy.h"
#include "data/schema/schema.h"
#include "reports/reportsquery.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

class TestReports : public QObject
{
    Q_OBJECT
private slots:
    void handCountedHouse_data();
    void handCountedHouse();

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
    QCOMPARE(countries.size(), 1);  // Germany's stay is being begun, Deutschland's arrived before
    QCOMPARE(countries[0].country, QStringLiteral("Austria"));
    QCOMPARE(countries[0].spellings, (QStringList{QStringLiteral("Austria"), QStringLiteral(" austria ")}));
    QCOMPARE(countries[0].arrivals, qint64(2));
    QCOMPARE(countries[0].guests, 4.0);
    QCOMPARE(countries[0].nights, qint64(2 + 2));  // March's nights of the stay over the month's end
    const QVector<CountryRow> february = GuestsByCountry(*db, QDate(2026, 2, 1), QDate(2026, 2, 28), QString());
    QCOMPARE(february.size(), 1);
    QCOMPARE(february[0].nights, qint64(2));
}

QTEST_GUILESS_MAIN(TestReports)
#include "tst_reports.moc"
