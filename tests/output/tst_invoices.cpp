// Invoices and credit notes on both engines: issued with the series' next
// number, refused where a house must refuse them, never changed once
// issued by any road, numbered without a gap by desks issuing at once,
// written out as the journal, and taken along by a copy of the house.
#include "data/copies/housecopy.h"
#include "data/schema/housedetails.h"
#include "data/schema/invoicetables.h"
#include "data/schema/textlengths.h"
#include "data/schema/schema.h"
#include "data/schema/paperlanguage.h"
#include "output/invoices.h"
#include "output/papers.h"
#include "data/regional/regional.h"
#include "data/schema/houseterms.h"
#include "booking/bookingstore.h"
#include "booking/paymentrecords.h"
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
        details.address = QStringLiteral("Seestraße 1\n6020 Innsbruck");
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
    void noRoadRewritesOrForgesAnInvoice_data() { issuedAndCreditedAsTheHouseMust_data(); }
    void noRoadRewritesOrForgesAnInvoice();
    void paymentsAndTaxAsTheyWereMade_data() { issuedAndCreditedAsTheHouseMust_data(); }
    void paymentsAndTaxAsTheyWereMade();
    void desksOwnNothingOnAServer();
    void longTextsKeptAndPrinted_data() { issuedAndCreditedAsTheHouseMust_data(); }
    void longTextsKeptAndPrinted();
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
    // Amounts for a program: a minus sign, never parentheses.
    QVERIFY2(lines[2].contains(QStringLiteral("\"-%1\"").arg(FormatCents(issued.totalCents))), qPrintable(lines[2]));

    // Payments: the 100.00 stored with the booking is its first; a deposit
    // recorded, an amount paid written by another road: the booking's
    // amount paid is their sum, the difference a payment of its own.
    QCOMPARE(PaymentsOf(db, first).size(), 1);
    QCOMPARE(PaymentsOf(db, first)[0].cents, 10000);
    const RecordId deposit =
        RecordPayment(db, Payment{0, first, QDate(2026, 3, 7), 2500, QStringLiteral("Cash"), QStringLiteral("deposit")});
    const auto paid = [&] {
        return db.execute(QStringLiteral("SELECT AmountPayed FROM booking WHERE ID = %1").arg(first)).value(0).toDouble();
    };
    QCOMPARE(paid(), 125.0);
    db.execute(QStringLiteral("UPDATE booking SET AmountPayed = 130 WHERE ID = %1").arg(first));
    QCOMPARE(PaymentsOf(db, first).size(), 3);
    QCOMPARE(PaymentsOf(db, first).last().cents, 500);
    db.query(QStringLiteral("DELETE FROM payment WHERE AmountCents = 500"));
    QCOMPARE(paid(), 125.0);
    QVERIFY(refusalOf([&] { RecordPayment(db, Payment{0, first, QDate(2026, 3, 7), 0, QString(), QString()}); })
                .contains(QStringLiteral("has an amount")));
    QVERIFY(refusalOf([&] { RecordPayment(db, Payment{0, first + 1000, QDate(2026, 3, 7), 1, QString(), QString()}); })
                .contains(QStringLiteral("no longer exists")));
    const QString receipt = ReceiptPaper(db, deposit, QStringLiteral("$"));
    for (const QString &line : {QStringLiteral("Receipt"), QStringLiteral("$25.00"), QStringLiteral("Paid in all:"),
                                QStringLiteral("$125.00"), QStringLiteral("Pension Seeblick")})
        QVERIFY2(receipt.contains(line), qPrintable(line));
    // A new invoice (after the credit note of the standing one) shows what
    // was paid by then.
    IssueCreditNote(db, InvoicesOfBooking(db, first).first(), QDate(2026, 3, 8));
    QCOMPARE(ReadInvoice(db, IssueInvoice(db, first, QDate(2026, 3, 8))).paidCents, 12500);

    // The guest reads German: the booking's papers are in it, whatever the
    // desk's language; a booking that is not there, or no language, is refused.
    QCOMPARE(BookingPaperLanguage(db, first), QString());
    SetBookingPaperLanguage(db, first, QStringLiteral("de"));
    QCOMPARE(BookingPaperLanguage(db, first), QStringLiteral("de"));
    QVERIFY(refusalOf([&] { SetBookingPaperLanguage(db, first + 1000, QStringLiteral("de")); }) != QStringLiteral("(not refused)"));
    QVERIFY(refusalOf([&] { SetBookingPaperLanguage(db, first, QStringLiteral("de'); --")); }) != QStringLiteral("(not refused)"));
    const QString german = ConfirmationPaper(db, first, QStringLiteral("€"), QStringLiteral("MwSt."), BookingPaperLanguage(db, first))
        + InvoicePaper(ReadInvoice(db, InvoicesOfBooking(db, first).first()), QStringLiteral("de"))
        + ReceiptPaper(db, deposit, QStringLiteral("€"), QStringLiteral("de"));
    for (const QString &word : {QStringLiteral("Buchungsbestätigung"), QStringLiteral("Buchungsnummer: %1").arg(first),
                                QStringLiteral("Noch zu zahlen:"), QStringLiteral("Rechnung"), QStringLiteral("Nettobetrag:"),
                                QStringLiteral("Quittung"), QStringLiteral("Insgesamt bezahlt:")})
        QVERIFY2(german.contains(word), qPrintable(word));
    QVERIFY(!german.contains(QStringLiteral("Balance Due")));
    QVERIFY(ConfirmationPaper(db, first, QStringLiteral("$"), QStringLiteral("Tax"), QStringLiteral("en"))
                .contains(QStringLiteral("Booking Confirmation")));

    // A copy of the house takes them along with their numbers; its next
    // invoice goes on from there.
    TempDatabase other;
    CopyHouse(db, other.db());
    QCOMPARE(other.count(QStringLiteral("invoice")), 6);
    QCOMPARE(other.count(QStringLiteral("payment")), 3);
    QCOMPARE(PaymentsOf(other.db(), first).size(), 2);
    QCOMPARE(ReadInvoice(other.db(), credit.id).number, credit.number);
    QCOMPARE(ReadInvoice(other.db(), invoice).house.logo, issued.house.logo);
    QCOMPARE(ReadHouseDetails(other.db()).invoicePrefix, QStringLiteral("INV-"));
    QCOMPARE(BookingPaperLanguage(other.db(), first), QStringLiteral("de"));
    QVERIFY(refusalOf([&] { IssueInvoice(other.db(), house.bookings[1], QDate(2027, 1, 3)); }).contains(QStringLiteral("already")));
    // A database made before payments were recorded gets one for each
    // booking's amount paid, at its first open.
    for (const char *trigger : {"payment_link", "payment_relink", "payment_added", "payment_changed", "payment_removed",
                                "payment_booking_delete", "payment_typed"})
        other.run(QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(trigger)));
    other.run(QStringLiteral("DROP TABLE payment"));
    const auto reopened = OpenDatabase(other.path());
    QCOMPARE(reopened->execute(QStringLiteral("SELECT count(*), sum(AmountCents) FROM payment")).value(1).toLongLong(),
             12500 + 10000);
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

void TestInvoices::noRoadRewritesOrForgesAnInvoice()
{
    QFETCH(bool, onServer);
    House house(3);
    OnEngine engine(house, onServer);
    if (onServer)
        REQUIRE_SERVER(*engine.server);
    Database &db = *engine.db;
    const RecordId first = IssueInvoice(db, house.bookings[0], QDate(2026, 3, 4));
    IssueInvoice(db, house.bookings[1], QDate(2026, 3, 4));
    const QString columns = QStringLiteral("(id, Number, Series, Sequence, Kind, IssuedOn, BookingID, Guest, GuestAddress, "
                                           "House, LogoDigest, Currency, TaxName, TaxRate, Lines, NetCents, TaxCents, "
                                           "TotalCents, PaidCents)");
    const auto forged = [&](const QString &verb, const QString &id, const QString &number, int sequence) {
        return refusalOf([&] {
            db.run(QStringLiteral("%1 INTO invoice %2 VALUES (%3, '%4', '2026', %5, 'invoice', '2026-03-05', %6, "
                                  "'Forged guest', '', '{}', '', '$', 'Tax', '10', '{}', 1, 0, 1, 0)")
                       .arg(verb, columns, id, number)
                       .arg(sequence)
                       .arg(house.bookings[2]));
        });
    };
    // A tool's statement: an issued invoice replaced, a number skipped, a
    // free-text number put into a gap, a series reset or begun at 500, the
    // day sums written: each refused by the engine, which took nothing.
    const QString never = IssuedInvoiceRefusal();
    if (!onServer) {
        QVERIFY(forged(QStringLiteral("INSERT OR REPLACE"), QString::number(first), QStringLiteral("INV-2026-0003"), 3)
                    .contains(never));
        QVERIFY(refusalOf([&] { db.run(QStringLiteral("INSERT OR REPLACE INTO invoiceseries VALUES ('2026', 1)")); })
                    .contains(QStringLiteral("never taken back")));
        QVERIFY(refusalOf([&] { db.run(QStringLiteral("INSERT OR REPLACE INTO invoiceday SELECT IssuedOn, TaxName, TaxRate, "
                                                      "1, 1, 0, 1 FROM invoiceday")); })
                    .contains(QStringLiteral("not written by hand")));
    }
    const QString newKey = onServer ? QStringLiteral("DEFAULT") : QStringLiteral("NULL");
    QVERIFY(forged(QStringLiteral("INSERT"), newKey, QStringLiteral("FORGED-7"), 3)
                .contains(QStringLiteral("numbered as the house")));
    QVERIFY(forged(QStringLiteral("INSERT"), newKey, QStringLiteral("INV-2026-0009"), 9)
                .contains(QStringLiteral("next number")));
    for (const QString &sql : {QStringLiteral("UPDATE invoiceseries SET LastNumber = LastNumber + 1"),
                               QStringLiteral("INSERT INTO invoiceseries (Series, LastNumber) VALUES ('2030', 500)")})
        QVERIFY2(refusalOf([&] { db.run(sql); }).contains(QStringLiteral("never taken back")), qPrintable(sql));
    for (const QString &sql : {QStringLiteral("UPDATE invoiceday SET TotalCents = 0"), QStringLiteral("DELETE FROM invoiceday"),
                               QStringLiteral("INSERT INTO invoiceday VALUES ('2026-03-09', 'Tax', '10', 1, 1, 0, 1)")})
        QVERIFY2(refusalOf([&] { db.run(sql); }).contains(QStringLiteral("not written by hand")), qPrintable(sql));
    // The next issue goes on where the series was, and the chain is whole.
    const RecordId third = IssueInvoice(db, house.bookings[2], QDate(2026, 3, 6));
    QCOMPARE(ReadInvoice(db, third).number, QStringLiteral("INV-2026-0003"));
    QCOMPARE(db.query(QStringLiteral("SELECT sum(Issued) FROM invoiceday")).value(0).toLongLong(), 3);
    InvoiceChain chain = VerifyInvoices(db);
    QVERIFY2(chain.whole && chain.checked == 3, qPrintable(chain.text()));
    QProcess tool;
    tool.start(qEnvironmentVariable("INNKELD_SQL"), {QStringLiteral("--verify-invoices"), engine.address});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(QString::fromUtf8(tool.readAllStandardOutput()).contains(QStringLiteral("whole")));

    // A prefix whose next number an earlier invoice has: said in plain words.
    HouseDetails details = ReadHouseDetails(db);
    details.yearlyRestart = false;
    details.invoicePrefix = QStringLiteral("INV-2026-");
    WriteHouseDetails(db, details);
    QVERIFY(refusalOf([&] { IssueCreditNote(db, third, QDate(2026, 3, 7)); }).contains(QStringLiteral("choose another invoice prefix")));
    bool taken = false;  // as House Details says it when the prefix is set
    QCOMPARE(NextInvoiceNumber(db, details.invoicePrefix, false, QDate(2026, 3, 7), &taken), QStringLiteral("INV-2026-0001"));
    QVERIFY(taken);
    QCOMPARE(NextInvoiceNumber(db, QStringLiteral("INV-"), true, QDate(2026, 3, 7), &taken), QStringLiteral("INV-2026-0004"));
    QVERIFY(!taken);

    // The owner of a file can change any byte: the chain shows where.
    if (!onServer) {
        db.run(QStringLiteral("DROP TRIGGER invoice_issued_update"));
        db.run(QStringLiteral("UPDATE invoice SET Guest = 'Forged guest' WHERE Number = 'INV-2026-0002'"));
        chain = VerifyInvoices(db);
        QVERIFY(!chain.whole);
        QCOMPARE(chain.firstBroken, QStringLiteral("INV-2026-0002"));
        tool.start(qEnvironmentVariable("INNKELD_SQL"), {QStringLiteral("--verify-invoices"), engine.address});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(QString::fromUtf8(tool.readAllStandardOutput()).contains(QStringLiteral("INV-2026-0002")));
    }
}

void TestInvoices::paymentsAndTaxAsTheyWereMade()
{
    QFETCH(bool, onServer);
    House house(3);
    OnEngine engine(house, onServer);
    if (onServer)
        REQUIRE_SERVER(*engine.server);
    Database &db = *engine.db;
    const RecordId priced = house.bookings[0], stale = house.bookings[1];
    const auto paidOf = [&](RecordId b) {
        qint64 sum = 0;
        for (const Payment &p : PaymentsOf(db, b))
            sum += p.cents;
        return sum;
    };

    // Priced at 10 % before the house went to 20 %: invoiced at the rate its
    // amounts give (net 200.00, tax 20.00); priced through the payment step
    // at 20 %, at the rate kept with it.
    db.run(QStringLiteral("UPDATE booking SET CostPerNight = 0, OtherCharges = 200, SalesTax = 20 WHERE ID = %1").arg(priced));
    WriteHouseTerms(db, HouseTerms{QStringLiteral("$"), QStringLiteral("Sales Tax"), QStringLiteral("Zip Code"),
                                   QStringLiteral("100"), QStringLiteral("20")});
    Invoice inv = ReadInvoice(db, IssueInvoice(db, priced, QDate(2026, 3, 4)));
    QCOMPARE(inv.taxRate, QStringLiteral("10"));
    QCOMPARE(inv.taxCents, 2000);
    IssueCreditNote(db, inv.id, QDate(2026, 3, 4));
    const QString money = FormatMoney(100.0);
    SavePaymentStep(db, priced, PaymentDetails{money, QString(), money, FormatMoney(60.0), money, FormatMoney(100.0),
                                               QString(), QString(), QString()},
                    FormatMoney(100.0), BookingTax{QStringLiteral("VAT"), QStringLiteral("20")});
    inv = ReadInvoice(db, IssueInvoice(db, priced, QDate(2026, 3, 5)));
    QCOMPARE(inv.taxRate, QStringLiteral("20"));
    QCOMPARE(inv.taxName, QStringLiteral("VAT"));

    // A stale payment step: another desk recorded 50.00 since it showed
    // the amount paid. Left as shown, nothing of the amount is written;
    // changed, it is refused, saying the amount now.
    const qint64 before = paidOf(stale);
    RecordPayment(db, Payment{0, stale, QDate(2026, 3, 6), 5000, QStringLiteral("Cash"), QString()});
    const QString shown = FormatMoney(double(before) / 100.0);
    PaymentDetails step{money, QStringLiteral("Card"), money, money, money, shown, QString(), QString(), QString()};
    SavePaymentStep(db, stale, step, shown);
    QCOMPARE(paidOf(stale), before + 5000);
    step[5] = FormatMoney(double(before) / 100.0 + 10.0);
    try {
        SavePaymentStep(db, stale, step, shown);
        QFAIL("a stale amount was stored");
    } catch (const PaidMeanwhile &meanwhile) {
        QCOMPARE(meanwhile.paidNow(), FormatMoney(double(before + 5000) / 100.0));
    }
    QCOMPARE(paidOf(stale), before + 5000);
    QCOMPARE(PaymentsOf(db, stale).size(), 2);

    // Hundredths on every road: a fraction of one is refused by the engine,
    // the booking and the ledger still agree.
    for (const char *amount : {"0.005", "0.004", "12.3456"})
        QVERIFY(refusalOf([&] {
                    db.run(QStringLiteral("UPDATE booking SET AmountPayed = %1 WHERE ID = %2").arg(QLatin1String(amount)).arg(stale));
                }).contains(QStringLiteral("whole hundredths")));
    QCOMPARE(qRound64(db.query(QStringLiteral("SELECT AmountPayed FROM booking WHERE ID = %1").arg(stale)).value(0).toDouble() * 100),
             paidOf(stale));

    // The payments dialog's reader: the region's form only, two decimals,
    // no exponent, the largest amount said.
    if (onServer)
        return;
    struct Typed
    {
        const char *locale, *text;
        qint64 cents;  // -1: refused
    };
    for (const Typed &t : {Typed{"en_US", "1,234.50", 123450}, Typed{"en_US", "(537.50)", -53750}, Typed{"en_US", "-0", 0},
                           Typed{"de_DE", "1.234,5", 123450}, Typed{"de_DE", "-537,50", -53750},
                           Typed{"en_US", "9999999999999.99", 999999999999999}, Typed{"en_US", "1e13", -1},
                           Typed{"en_US", "1e308", -1}, Typed{"en_US", "0.005", -1}, Typed{"en_US", "0,005", -1},
                           Typed{"de_DE", "0.005", -1}, Typed{"de_DE", "0,005", -1}, Typed{"en_US", "10000000000000", -1},
                           Typed{"en_US", "12,34", -1}}) {
        QLocale::setDefault(QLocale(QLatin1String(t.locale)));
        QString why;
        const std::optional<qint64> read = ReadAmountCents(QLatin1String(t.text), &why);
        QVERIFY2(read.value_or(-1) == t.cents, t.text);
        if (t.cents == -1)
            QVERIFY2(why.contains(QLatin1String(t.text)), qPrintable(why));
    }
    QString why;
    ReadAmountCents(QStringLiteral("10000000000000"), &why);
    QVERIFY2(why.contains(FormatMoney(9999999999999.99)), qPrintable(why));
}

void TestInvoices::desksOwnNothingOnAServer()
{
    // The house belongs to an owner role; the desks connect as a role
    // granted rows and keys alone, by innkeld-sql --grant.
    ServerDatabase server;
    REQUIRE_SERVER(server);
    const QString tag = QUrl(server.address()).path().mid(1);
    const QString owner = tag + QStringLiteral("_owner"), desk = tag + QStringLiteral("_desk");
    for (const QString &sql : {QStringLiteral("CREATE ROLE %1 LOGIN").arg(owner), QStringLiteral("CREATE ROLE %1 LOGIN").arg(desk),
                               QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(tag, owner)})
        QVERIFY2(server.admin(sql).isEmpty(), qPrintable(sql));
    const auto as = [&](const QString &role) {
        QUrl address(server.address());
        address.setUserName(role);
        return address.toString();
    };
    const auto tool = [&](const QStringList &args) {
        QProcess p;
        p.start(qEnvironmentVariable("INNKELD_SQL"), args);
        return p.waitForFinished(120000) && p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
    };
    // A desk cannot make the house: it says who does.
    QVERIFY(refusalOf([&] { OpenDatabase(as(desk)); }).contains(QStringLiteral("innkeld-sql --create")));
    QCOMPARE(tool({QStringLiteral("--create"), as(owner)}), QString());
    QCOMPARE(tool({QStringLiteral("--grant"), as(owner), desk}), QString());
    {
        House house(1);
        auto db = OpenDatabase(as(desk));
        WriteHouseDetails(*db, ReadHouseDetails(house.file.db()));
        db->run(QStringLiteral("INSERT INTO room (name) VALUES ('Garden')"));
        db->run(QStringLiteral("INSERT INTO customer (FirstName, LastName) VALUES ('Ada', 'Desk')"));
        db->run(QStringLiteral("INSERT INTO booking (CustomerID, FromDate, ToDate) VALUES (1, '2026-03-01', '2026-03-02')"));
        // The rows: a desk issues and records as it always did.
        QCOMPARE(ReadInvoice(*db, IssueInvoice(*db, 1, QDate(2026, 3, 2))).number, QStringLiteral("INV-2026-0001"));
        RecordPayment(*db, Payment{0, 1, QDate(2026, 3, 2), 1000, QStringLiteral("Cash"), QString()});
        // The schema: nothing altered, disabled, dropped or replaced.
        for (const QString &sql :
             {QStringLiteral("ALTER TABLE invoice DISABLE TRIGGER invoice_issued"), QStringLiteral("DROP TRIGGER invoice_issued ON invoice"),
              QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_issued() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                             "RETURN NEW; END $$"),
              QStringLiteral("ALTER TABLE invoice DROP CONSTRAINT invoice_number_key"), QStringLiteral("TRUNCATE invoice"),
              QStringLiteral("DROP TABLE invoiceday"), QStringLiteral("CREATE TABLE mine (a int)"),
              QStringLiteral("INSERT INTO deskroles VALUES ('intruder')")})
            QVERIFY2(refusalOf([&] { db->run(sql); }) != QStringLiteral("(not refused)"), qPrintable(sql));
        QCOMPARE(VerifyInvoices(*db).whole, true);
    }
    // An upgrade is the owner's: a desk says so in plain words, and opens
    // after it, with what the upgrade added.
    QVERIFY(server.admin(QStringLiteral("DROP TRIGGER booking_key_follows ON booking")).isEmpty());
    QVERIFY(refusalOf([&] { OpenDatabase(as(desk)); }).contains(QStringLiteral("innkeld-sql --upgrade")));
    QCOMPARE(tool({QStringLiteral("--upgrade"), as(owner)}), QString());
    auto db = OpenDatabase(as(desk));
    db->run(QStringLiteral("INSERT INTO room (id, name) VALUES (50, 'Given')"));
}

void TestInvoices::longTextsKeptAndPrinted()
{
    QFETCH(bool, onServer);
    House house(1);
    OnEngine engine(house, onServer);
    if (onServer)
        REQUIRE_SERVER(*engine.server);
    Database &db = *engine.db;
    const RecordId booking = house.bookings[0];
    // The engine keeps a name to 200 characters, a note to 4,000, by any road.
    const QString line(kLineLength, QLatin1Char('n')), note(kNoteLength, QLatin1Char('m'));
    db.run(QStringLiteral("UPDATE customer SET FirstName = '%1'").arg(line));
    db.run(QStringLiteral("UPDATE booking SET Notes = '%1' WHERE ID = %2").arg(note).arg(booking));
    for (const QString &sql : {QStringLiteral("UPDATE customer SET LastName = '%1n'").arg(line),
                               QStringLiteral("UPDATE booking SET Notes = '%1m' WHERE ID = %2").arg(note).arg(booking),
                               QStringLiteral("INSERT INTO room (name) VALUES ('%1r')").arg(line),
                               QStringLiteral("UPDATE housedetails SET HouseName = '%1h'").arg(line)})
        QVERIFY2(refusalOf([&] { db.run(sql); }).contains(QStringLiteral("A text is kept to")), qPrintable(sql.left(40)));
    if (onServer)
        return;
    // A house an earlier version left with 200,000 characters in every
    // field: each paper shows what the program keeps of them, laid out at once.
    for (const char *trigger : {"customer_lengths_update", "housedetails_lengths", "booking_lengths_update"})
        db.run(QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(trigger)));
    const QString huge(200000, QLatin1Char('w'));
    db.run(QStringLiteral("UPDATE customer SET FirstName = '%1', LastName = '%1', Address1 = '%1', City = '%1', Country = '%1'")
               .arg(huge));
    HouseDetails details = ReadHouseDetails(db);
    details.name = details.address = details.footer = huge;
    WriteHouseDetails(db, details);
    const Invoice inv = ReadInvoice(db, IssueInvoice(db, booking, QDate(2026, 3, 4)));
    QVERIFY(inv.guest.size() > 200000);  // stored as issued
    const QString papers = InvoicePaper(inv) + ConfirmationPaper(db, booking, QStringLiteral("$"), QStringLiteral("Tax"));
    QVERIFY(papers.contains(QStringLiteral("Invoice")));
    QVERIFY2(papers.size() < 200000, qPrintable(QString::number(papers.size())));
}

QTEST_GUILESS_MAIN(TestInvoices)
#include "tst_invoices.moc"
