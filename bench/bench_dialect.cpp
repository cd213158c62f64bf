// Speed of the SQL dialect: translating the statements the program runs
// most, and running the arrivals query on a database with many bookings.
#include "data/schema/schema.h"
#include "data/sql/database.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace innkeld;

namespace {

Schema bookingSchema()
{
    Schema s;
    for (const char *c : {"ID", "CustomerID"})
        s.addColumn(QStringLiteral("booking"), QLatin1String(c), ColumnKind::Integer);
    for (const char *c : {"FromDate", "ToDate"})
        s.addColumn(QStringLiteral("booking"), QLatin1String(c), ColumnKind::Date);
    for (const char *c : {"CostPerNight", "OtherCharges", "SalesTax", "TotalPayable", "AmountPayed"})
        s.addColumn(QStringLiteral("booking"), QLatin1String(c), ColumnKind::Money);
    return s;
}

void BM_TranslateOverlapQuery(benchmark::State &state)
{
    const Schema schema = bookingSchema();
    const QString sql = QStringLiteral(
        "SELECT booking.id, fromdate, todate FROM booking, bookingroom WHERE booking.id<>12 AND "
        "bookingroom.roomid=3 AND bookingroom.bookingid = booking.id AND ((#5/1/2002#>= fromdate AND "
        "#5/1/2002#<= todate) OR (#5/4/2002#>= fromdate AND #5/4/2002#<= todate) OR (fromdate>=#5/1/2002# "
        "AND todate<=#5/4/2002#));");
    for (auto _ : state)
        benchmark::DoNotOptimize(TranslateSql(sql, schema));
}
BENCHMARK(BM_TranslateOverlapQuery);

void BM_TranslatePaymentUpdate(benchmark::State &state)
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    const Schema schema = bookingSchema();
    const QString sql = QStringLiteral(
        "UPDATE Booking SET CostPerNight = '1,234.50', PaymentMethod = 'Cash', OtherCharges = '10.00', "
        "SalesTax = '124.45', TotalPayable = '1,368.95', AmountPayed = '0.00', CreditCardNo = '', "
        "CreditCardExpiry = '', CreditCardType = '' WHERE ID=7");
    for (auto _ : state)
        benchmark::DoNotOptimize(TranslateSql(sql, schema));
}
BENCHMARK(BM_TranslatePaymentUpdate);

void BM_ArrivalsQuery(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.mdb"));
    CreateDatabase(path);
    auto db = OpenDatabase(path);
    {
        Database::Transaction tx(*db);
        const QDateTime start(QDate(2026, 1, 1), QTime(14, 0));
        for (int i = 0; i < state.range(0); ++i) {
            TableCursor c = db->openTable(QStringLiteral("Customer"));
            c.addNew();
            c.setField(QStringLiteral("FirstName"), QStringLiteral("Guest %1").arg(i));
            c.update();
            TableCursor b = db->openTable(QStringLiteral("Booking"));
            b.addNew();
            b.setField(QStringLiteral("CustomerID"), c.field(QStringLiteral("ID")));
            b.setField(QStringLiteral("FromDate"), start.addDays(i % 365));
            b.setField(QStringLiteral("ToDate"), start.addDays(i % 365 + 3));
            b.update();
        }
        tx.commit();
    }
    for (auto _ : state) {
        Recordset rs = db->execute(QStringLiteral(
            "SELECT booking.id, fromdate, firstname, lastname FROM booking, customer WHERE "
            "booking.customerid = customer.id AND fromdate BETWEEN #3/1/2026 12:00 AM# AND #3/1/2026 11:59PM#"));
        benchmark::DoNotOptimize(rs.rowCount());
    }
}
BENCHMARK(BM_ArrivalsQuery)->Arg(1000)->Arg(10000);

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
