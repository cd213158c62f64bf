// Invoices and credit notes on both engines: issued with the series' next
// number, refused where a house must refuse them, never changed once
// issued by any road, numbered without a gap by desks issuing at once,
// written out as the journal, and taken along by a copy of the house.
#include "data/copies/housecopy.h"
#include "data/schema/housedetails.h"
#include "data/schema/invoicetables.h"
#include "data/schema/schema.h"
#include "output/invoices.h"
#include "testsupport.h"

#include <QBuffer>
#include <QProcess>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// A house on a file with `guests` bookings of a guest (two rooms, three
// nights at 80.00, 12.50 of other charges, 50.40 of tax, 100.00 paid) and
// one booking without a guest, the last.
struct House
{
    TempDatabase file;
    QVector<RecordId> bookings;
    RecordId noGuest = 0;
    explicit House(int guests)
    {
        const RecordId garden = file.addRoom(QStringLiteral("Garden")), attic = file.addRoom(QStringLiteral("Attic"));
        const QDateTime from(QDate(2026, 3, 1), QTime(14, 0));
        Database::Transaction tx(file.db());
        for (int i = 0; i < guests; ++i) {
            const QDateTime at = from.addDays(4 * i);
            bookings << file.addGuest(at, at.addDays(3), QStringLiteral("Anna"), QStringLiteral("Gruber%1").arg(i),
                                      {garden, attic});
        }
        tx.commit();
        file.run(QStringLiteral("UPDATE booking SET CostPerNight = 80, OtherCharges = 12.5, SalesTax = 50.4, "
                                "AmountPayed = 100"));
        noGuest = file.addBooking(from.addYears(1), from.addYears(1).addDays(1), 0);
        HouseDetails details;
        details.name = QStringLiteral("Pension Seeblick");
        details.invoicePrefix = QStringLiteral("INV-");
        details.logo = QByteArray("not really a picture, kept as it is");
        WriteHouseDetails(file.db(), details);
    }
};

// The house's database on the engine of the test's row: the file itself,
// or a copy of it on the run's server.
struct OnEngine
{
    std::unique_ptr<ServerDatabase> server;
    std::unique_ptr<Database> copy;
    Database *db = nullptr;
    QString address;
    OnEngine(House &house, bool onServer)
    {
        if (!onServer) {
            db = &house.file.db();
            address = house.file.path();
            return;
        }
        server = std::make_unique<ServerDatabase>();
        if (server->address().isEmpty())
            return;
        address = server->address();
        copy = OpenDatabase(address);
        CopyHouse(house.file.db(), *copy);
        db = copy.get();
    }
};

QString refusalOf(const std::function<void()> &act)
{
    try {
        act();
    } catch (const DbError &e) {
        return e.message();
    }
    return QStringLiteral("(not refused)");
}

}  // namespace

class TestInvoices : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void issuedAndCreditedAsTheHouseMust_data();
    void issuedAndCreditedAsTheHouseMust();
    void desksIssuingAtOnceLeaveNoGap_data() { issuedAndCreditedAsTheHouseMust_data(); }
    void desksIssuingAtOnceLeaveNoGap();
};

void TestInvoices::issuedAndCreditedAsTheHouseMust_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

void TestInvoices::issuedAndCreditedAsTheHouseMust()
{
    QFETCH(bool, onServer);
    House house(2);
    OnEngine engine(house, onServer);
    if (onServer)
        REQUIRE_SERVER(*engine.server);
    Database &db = *engine.db;
    const RecordId first = house.bookings[0];

    const RecordId invoice = IssueInvoice(db, first, QDate(2026, 3, 4));
    const Invoice issued = ReadInvoice(db, invoice);
    QCOMPARE(issued.number, QStringLiteral("INV-2026-0001"));
    QCOMPARE(issued.guest, QStringLiteral("Anna Gruber0"));
    QCOMPARE(issued.house.name, QStringLiteral("Pension Seeblick"));
    QCOMPARE(issued.house.logo, QByteArray("not really a picture, kept as it is"));
    QCOMPARE(issued.lines.size(), 3);  // two rooms and the other charges
    QCOMPARE(issued.lines[0].room, QStringLiteral("Garden"));
    QCOMPARE(issued.lines[1].cents, 3 * 8000);
    QCOMPARE(issued.lines[2].cents, 1250);
    QCOMPARE(issued.netCents, 2 * 3 * 8000 + 1250);
    QCOMPARE(issued.totalCents, issued.netCents + 5040);
    QCOMPARE(issued.dueCents(), issued.totalCents - 10000);
    QCOMPARE(issued.arrival, QDate(2026, 3, 1));

    // What a house must refuse, in the operator's words.
    QVERIFY(refusalOf([&] { IssueInvoice(db, first, QDate(2026, 3, 5)); })
                .contains(QStringLiteral("already has the invoice INV-2026-0001")));
    QVERIFY(refusalOf([&] { IssueInvoice(db, house.noGuest, QDate(2026, 3, 5)); }).contains(QStringLiteral("no guest")));
    // The invoice never changes nor goes, by any road: the program's
    // statements, the engine's own, the command-line tool.
    const QString never = IssuedInvoiceRefusal();
    QVERIFY(refusalOf([&] { db.execute(QStringLiteral("UPDATE invoice SET TotalCents = 0")); }).contains(never));
    QVERIFY(refusalOf([&] { db.query(QStringLiteral("DELETE FROM invoice")); }).contains(never));
    QVERIFY(refusalOf([&] { db.query(QStringLiteral("UPDATE invoiceseries SET LastNumber = 7")); })
                .contains(QStringLiteral("never taken back")));
    if (onServer)
        QVERIFY(refusalOf([&] { db.run(QStringLiteral("TRUNCATE invoice CASCADE")); }).contains(never));
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"), {engine.address, QStringLiteral("DELETE FROM invoice")});
    QVERIFY(tool.waitForFinished(60000));
    QVERIFY(tool.exitCode() != 0);
    QCOMPARE(ReadInvoice(db, invoice).totalCents, issued.totalCents);

    // A mistake is put right by a credit note, then a new invoice.
    const Invoice credit = ReadInvoice(db, IssueCreditNote(db, invoice, QDate(2026, 3, 6)));
    QCOMPARE(credit.number, QStringLiteral("INV-2026-0002"));
    QVERIFY(credit.credit);
    QCOMPARE(credit.creditOfNumber, issued.number);
    QCOMPARE(credit.totalCents, -issued.totalCents);
    QVERIFY(refusalOf([&] { IssueCreditNote(db, invoice, QDate(2026, 3, 6)); }).contains(QStringLiteral("already credited")));
    QVERIFY(refusalOf([&] { IssueCreditNote(db, credit.id, QDate(2026, 3, 6)); }).contains(QStringLiteral("credit note")));
    QCOMPARE(ReadInvoice(db, IssueInvoice(db, first, QDate(2026, 3, 6))).number, QStringLiteral("INV-2026-0003"));
    // A new year starts the series again.
    const RecordId nextYear = IssueInvoice(db, house.bookings[1], QDate(2027, 1, 2));
    QCOMPARE(ReadInvoice(db, nextYear).number, QStringLiteral("INV-2027-0001"));

    // Found as the operator types: by number, by the guest's name.
    QCOMPARE(ListInvoices(db, QStringLiteral("INV-2027"), 50).size(), 1);
    const QVector<InvoiceListRow> gruber0 = ListInvoices(db, QStringLiteral("gruber0"), 50);
    QCOMPARE(gruber0.size(), 3);
    QCOMPARE(gruber0[0].number, QStringLiteral("INV-2026-0003"));
    QCOMPARE(ListInvoices(db, QString(), 2).size(), 2);

    // The accountant's journal of 2026: the three papers of that year.
    QBuffer journal;
    journal.open(QIODevice::WriteOnly);
    WriteInvoiceJournal(db, QDate(2026, 1, 1), QDate(2026, 12, 31), journal);
    const QStringList lines = QString::fromUtf8(journal.data()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[2].startsWith(QStringLiteral("\"INV-2026-0002\",\"3/6/2026\",\"Credit note\",\"INV-2026-0001\"")));
    QVERIFY(lines[2].contains(QStringLiteral("\"%1\"").arg(FormatCents(-issued.totalCents))));

    // A copy of the house takes them along with their numbers; its next
    // invoice goes on from there.
    TempDatabase other;
    CopyHouse(db, other.db());
    QCOMPARE(other.count(QStringLiteral("invoice")), 4);
    QCOMPARE(ReadInvoice(other.db(), credit.id).number, credit.number);
    QCOMPARE(ReadInvoice(other.db(), invoice).house.logo, issued.house.logo);
    QCOMPARE(ReadHouseDetails(other.db()).invoicePrefix, QStringLiteral("INV-"));
    QVERIFY(refusalOf([&] { IssueInvoice(other.db(), house.bookings[1], QDate(2027, 1, 3)); }).contains(QStringLiteral("already")));
    QCOMPARE(ReadInvoice(other.db(), IssueCreditNote(other.db(), nextYear, QDate(2027, 1, 3))).number,
             QStringLiteral("INV-2027-0002"));
}

void TestInvoices::desksIssuingAtOnceLeaveNoGap()
{
    // Three desks, each with its own connection, issue 100 invoices each
    // at once: the numbers are 1 to 300, each once.
    QFETCH(bool, onServer);
    constexpr int kDesks = 3, kEach = 100;
    House house(kDesks * kEach);
    OnEngine engine(house, onServer);
    if (onServer)
        REQUIRE_SERVER(*engine.server);
    std::atomic<int> failed{0};
    QStringList failures[kDesks];
    std::vector<std::thread> desks;
    for (int d = 0; d < kDesks; ++d)
        desks.emplace_back([&, d] {
            try {
                auto db = OpenDatabase(engine.address);
                for (int i = d; i < kDesks * kEach; i += kDesks)
                    IssueInvoice(*db, house.bookings[i], QDate(2026, 5, 1));
            } catch (const DbError &e) {
                failures[d] << e.message();
                ++failed;
            }
        });
    for (std::thread &desk : desks)
        desk.join();
    QVERIFY2(failed == 0, qPrintable(failures[0].join(QLatin1Char(' ')) + failures[1].join(QLatin1Char(' '))
                                     + failures[2].join(QLatin1Char(' '))));
    QList<qint64> sequence;
    for (Recordset r = engine.db->query(QStringLiteral("SELECT Sequence FROM invoice ORDER BY Sequence")); !r.eof(); r.moveNext())
        sequence << r.value(0).toLongLong();
    QCOMPARE(sequence.size(), kDesks * kEach);
    for (int i = 0; i < sequence.size(); ++i)
        QCOMPARE(sequence[i], qint64(i + 1));
}

QTEST_GUILESS_MAIN(TestInvoices)
#include "tst_invoices.moc"
