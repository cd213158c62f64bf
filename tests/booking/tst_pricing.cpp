// The house's rates stored on both engines and a table of stays priced by
// hand: seasons over a year's end and 29 February, a season that begins on
// the departure day, weekend nights, extra beds, length-of-stay prices over
// two seasons, a reduction's half hundredth; the same amounts in every
// region. And what cannot be priced is refused.
#include "booking/bookingstore.h"
#include "booking/charges.h"
#include "booking/pricing.h"
#include "data/schema/schema.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

constexpr int kFriday = 1 << 4, kSaturday = 1 << 5;

QDate day(const char *iso)
{
    return QDate::fromString(QLatin1String(iso), Qt::ISODate);
}

// The card of the tests; the rooms are given by the database.
RateCard houseCard(RecordId doubleRoom, RecordId singleRoom)
{
    RateCard card;
    card.categories << RateCategory{1, QStringLiteral("Double"), 9000, kFriday | kSaturday, 11000, 1500, 800}
                    << RateCategory{2, QStringLiteral("Single"), 6005, 0, 0, 0, 0};
    Season christmas{0, QStringLiteral("Christmas"), day("2026-12-20"), day("2027-01-02"), false, 3, {{1, 15000, 0, 0}}};
    Season high{0, QStringLiteral("High season"), day("2000-06-01"), day("2000-08-31"), true, 5,
                {{1, 12000, kSaturday, 14000}, {2, 8000, 0, 0}}};
    Season winter{0, QStringLiteral("Winter"), day("2000-12-01"), day("2000-02-29"), true, 0, {{1, 10000, 0, 0}}};
    Season spring{0, QStringLiteral("Spring"), day("2000-03-01"), day("2000-05-31"), true, 0, {{1, 9500, 0, 0}}};
    card.seasons << christmas << high << winter << spring;
    card.lengths << StayLength{7, 10} << StayLength{14, 15};
    card.beds.insert(doubleRoom, RoomBeds{doubleRoom, 1, 2, 3, 2});
    card.beds.insert(singleRoom, RoomBeds{singleRoom, 2, 1, 1, 0});
    return card;
}

struct Case
{
    const char *name;
    bool single;
    const char *from, *to;
    int adults, children;
    qint64 total;
    const char *breakdown;  // as an American desk shows it
    int warnings;
};

// Priced by hand.
const Case kCases[] = {
    {"into Christmas", false, "2026-12-18", "2026-12-22", 2, 0, 50000,
     "2 nights x 100.00 Winter, 2 nights x 150.00 Christmas", 0},
    {"over the year's end", false, "2026-12-30", "2027-01-04", 2, 0, 70000,
     "4 nights x 150.00 Christmas, 1 night x 100.00 Winter", 0},
    {"29 February", false, "2028-02-27", "2028-03-02", 2, 0, 39500, "3 nights x 100.00 Winter, 1 night x 95.00 Spring", 0},
    {"a season from the departure day", false, "2027-05-29", "2027-06-01", 2, 0, 28500, "3 nights x 95.00 Spring", 0},
    {"weekend and extra beds", false, "2027-06-04", "2027-06-07", 3, 1, 44900,
     "2 nights x 120.00 High season, 1 night x 140.00 High season, extra adult 3 x 15.00, extra child 3 x 8.00", 1},
    {"a week over two seasons", false, "2027-05-28", "2027-06-04", 2, 0, 66600,
     "4 nights x 95.00 Spring, 3 nights x 120.00 High season, 7-night rate -10 %", 0},
    {"weekend without a season", false, "2027-10-08", "2027-10-11", 2, 0, 31000,
     "2 nights x 110.00 Double, 1 night x 90.00 Double", 0},
    {"two weeks of high season", true, "2027-07-10", "2027-07-24", 1, 0, 95200,
     "14 nights x 80.00 High season, 14-night rate -15 %", 0},
    {"half a hundredth off", true, "2027-10-01", "2027-10-08", 1, 0, 37831, "7 nights x 60.05 Single, 7-night rate -10 %", 0},
    {"too many guests", true, "2027-10-01", "2027-10-02", 2, 0, 6005, "1 night x 60.05 Single", 1},
};

}  // namespace

class TestPricing : public QObject
{
    Q_OBJECT
private slots:
    void theHandPricedTableOnBothEngines();
    void whatCannotBePricedIsRefused();
};

void TestPricing::theHandPricedTableOnBothEngines()
{
    ServerDatabase server;
    REQUIRE_SERVER(server);
    TempDatabase file;
    auto onServer = OpenDatabase(server.address());
    for (Database *db : {&file.db(), onServer.get()}) {
        // Before the house sets rates: one category at its default cost.
        db->execute(QStringLiteral("INSERT INTO houseterms (id, CurrencySymbol, SalesTaxName, PostCodeTerm, "
                                   "DefaultCostPerNight, SalesTaxPercentage) VALUES (1, '$', 'Tax', 'Zip', '85.50', '10')"));
        const RateCard before = ReadRateCard(*db);
        QCOMPARE(before.categories.size(), 1);
        QCOMPARE(before.categories.first().priceCents, qint64(8550));
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Double')"));
        db->execute(QStringLiteral("INSERT INTO room (name) VALUES ('Single')"));
        const RecordId doubleRoom = db->execute(QStringLiteral("SELECT id FROM room WHERE name = 'Double'")).value(0).toLongLong();
        const RecordId singleRoom = db->execute(QStringLiteral("SELECT id FROM room WHERE name = 'Single'")).value(0).toLongLong();
        QCOMPARE(BreakdownText(PriceStay(before, doubleRoom, day("2027-01-10"), day("2027-01-12"), 2, 0)),
                 QStringLiteral("2 nights x 85.50 Standard"));

        WriteRateCard(*db, houseCard(doubleRoom, singleRoom));
        const RateCard card = ReadRateCard(*db);
        QCOMPARE(card.seasons.size(), 4);
        QCOMPARE(card.seasons.first().name, QStringLiteral("Christmas"));
        for (const char *region : {"en_US", "de_DE", "ja_JP"}) {
            LocaleScope locale(region);
            for (const Case &c : kCases) {
                const StayPrice p = PriceStay(card, c.single ? singleRoom : doubleRoom, day(c.from), day(c.to), c.adults,
                                              c.children);
                QVERIFY2(p.totalCents == c.total, qPrintable(QStringLiteral("%1 (%2): %3").arg(QLatin1String(c.name),
                                                                                              QLatin1String(region))
                                                                  .arg(p.totalCents)));
                QVERIFY2(p.warnings.size() == c.warnings, qPrintable(p.warnings.join(QLatin1Char('\n'))));
                if (qstrcmp(region, "en_US") == 0)
                    QCOMPARE(BreakdownText(p), QLatin1String(c.breakdown));
            }
        }
        // The warnings name their rule.
        const StayPrice shortStay = PriceStay(card, doubleRoom, day("2027-06-04"), day("2027-06-07"), 2, 0);
        QVERIFY2(shortStay.warnings.value(0).contains(QStringLiteral("High season asks for at least 5 nights")),
                 qPrintable(shortStay.warnings.value(0)));
        // A year's stay prices every night.
        QCOMPARE(PriceStay(card, doubleRoom, day("2027-01-01"), day("2028-01-01"), 2, 0).lines.size() > 3, true);

        // A booking of both rooms over two seasons, its guests spread over
        // the beds (one too many); the single's price set by hand; breakfast at 19 % beside
        // rooms at 7 %: stored with the payment step, read back as stored.
        const RecordId booking = CreateBookingForStay(*db, QDateTime(day("2027-01-01"), QTime(9, 0)), doubleRoom,
                                                      day("2027-05-28"), day("2027-06-04"));
        BookingCharges charges = PriceRooms(card, {{doubleRoom, QStringLiteral("Double")}, {singleRoom, QStringLiteral("Single")}},
                                            day("2027-05-28"), day("2027-06-04"), 5, 0);
        QCOMPARE(charges.rooms.at(0).cents, qint64(76050));  // (740.00 + 7 x 15.00 for the third adult) -10 %
        QCOMPARE(charges.rooms.at(1).cents, qint64(43218));  // (4 x 60.05 + 3 x 80.00) -10 %
        // One adult more than the beds: in the last room, named.
        QVERIFY2(charges.warnings().value(0).startsWith(QStringLiteral("Single: The room takes at most 1 adults")), qPrintable(charges.warnings().join(QLatin1Char('|'))));
        charges.rooms[1].cents = 35000;
        charges.rooms[1].byHand = true;
        charges.rooms[1].overrideBy = QStringLiteral("Ann");
        charges.rooms[1].overrideAt = QDateTime(day("2027-01-02"), QTime(10, 30));
        charges.extras << ExtraCharge{0, QStringLiteral("Breakfast"), QStringLiteral("person-night"), 4, 1250,
                                      ExtraCents(QStringLiteral("person-night"), 1250, 4, 7), QStringLiteral("19")};
        QCOMPARE(charges.extras.first().cents, qint64(35000));
        const QVector<TaxLine> taxes = TaxesByRate(charges, 1001, QStringLiteral("7"));
        QCOMPARE(taxes.size(), 2);
        QCOMPARE(taxes.at(0).netCents, qint64(76050 + 35000 + 1001));
        QCOMPARE(taxes.at(0).taxCents, qint64(7844));  // 7 % of 1120.51 is 78.4357
        QCOMPARE(taxes.at(1).taxCents, qint64(6650));
        const QString zero = QStringLiteral("0");
        SavePaymentStep(*db, booking, PaymentDetails{zero, QString(), zero, zero, zero, zero}, QString(), std::nullopt, &charges);
        db->execute(QStringLiteral("INSERT INTO bookingroom (bookingid, roomid) VALUES (%1, %2)").arg(booking).arg(singleRoom));
        const BookingCharges stored = ReadCharges(*db, booking);
        QVERIFY(stored.priced);
        QCOMPARE(stored.roomsCents(), charges.roomsCents());
        QVERIFY(!stored.rooms.at(0).byHand && stored.rooms.at(1).byHand);
        QCOMPARE(stored.rooms.at(1).overrideBy, QStringLiteral("Ann"));
        QCOMPARE(stored.rooms.at(1).overrideAt, QDateTime(day("2027-01-02"), QTime(10, 30)));
        QCOMPARE(stored.rooms.at(1).rateCents, qint64(43218));
        QCOMPARE(BreakdownText(StayPrice{stored.rooms.at(0).lines, 0, {}}),
                 QStringLiteral("4 nights x 95.00 Spring, 3 nights x 120.00 High season, extra adult 7 x 15.00, 7-night rate -10 %"));
        QCOMPARE(stored.extras.size(), 1);
        QCOMPARE(stored.extras.first().taxPercent, QStringLiteral("19"));
        // Deleting the booking takes its prices along.
        db->execute(QStringLiteral("UPDATE booking SET CustomerID = 0 WHERE ID = %1").arg(booking));
        DiscardBooking(*db, booking);
        QCOMPARE(db->execute(QStringLiteral("SELECT count(*) FROM roomprice")).value(0).toInt()
                     + db->execute(QStringLiteral("SELECT count(*) FROM bookingextra")).value(0).toInt(),
                 0);
    }
}

void TestPricing::whatCannotBePricedIsRefused()
{
    TempDatabase t;
    const RecordId room = t.addRoom(QStringLiteral("Double"));
    const RateCard good = houseCard(room, room);
    WriteRateCard(t.db(), good);
    const auto refused = [&](RateCard card, const char *part, const char *words) {
        QString where;
        const QString why = RateCardProblem(card, &where);
        QVERIFY2(why.contains(QLatin1String(words)), qPrintable(why));
        QCOMPARE(where, QLatin1String(part));
        QVERIFY_THROWS_EXCEPTION(DbError, WriteRateCard(t.db(), card));
    };
    RateCard negative = good;
    negative.categories[1].priceCents = -1;
    refused(negative, "category 1", "below nothing");
    RateCard backwards = good;
    backwards.seasons[0].to = backwards.seasons[0].from.addDays(-1);
    refused(backwards, "season 0", "ends before it begins");
    RateCard unpriced = good;
    unpriced.seasons[3].prices.clear();
    refused(unpriced, "season 3", "has no price");
    // Nothing of the refused ones was stored.
    QCOMPARE(ReadRateCard(t.db()).seasons.size(), 4);
    QCOMPARE(ReadRateCard(t.db()).categories.at(1).priceCents, qint64(6005));
}

QTEST_MAIN(TestPricing)
#include "tst_pricing.moc"
