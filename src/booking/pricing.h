// Pricing a stay by the house's rates: each night by its room's category,
// the season that holds it (the first in the house's list) and its weekday,
// the beds above the room's standard occupancy, and the length-of-stay
// reduction; in hundredths, each line rounded once. The rates are read
// once into a card; pricing reads nothing more.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace innkeld {

struct RateCategory
{
    RecordId id = 0;  // 0: not stored yet
    QString name;
    qint64 priceCents = 0;
    int weekdayMask = 0;  // bit 0 Monday ... bit 6 Sunday: the nights priced at weekdayCents
    qint64 weekdayCents = 0;
    qint64 extraAdultCents = 0, extraChildCents = 0;  // a night, above the standard occupancy
};

struct SeasonPrice
{
    RecordId category = 0;
    qint64 priceCents = 0;
    int weekdayMask = 0;
    qint64 weekdayCents = 0;
};

struct Season
{
    RecordId id = 0;
    QString name;
    QDate from, to;          // both included; every year: their month and day
    bool everyYear = true;
    int minNights = 0;       // for an arrival within the season
    QVector<SeasonPrice> prices;
    // Whether the season holds the day (a season every year over the
    // year's end holds both ends).
    bool holds(const QDate &day) const;
    const SeasonPrice *priceOf(RecordId category) const;
};

struct StayLength
{
    int minNights = 0;
    int percentOff = 0;
};

struct RoomBeds
{
    RecordId room = 0;
    RecordId category = 0;  // 0: the first category
    int standard = 2, maxAdults = 2, maxChildren = 0;
};

struct RateCard
{
    QVector<RateCategory> categories;  // in the house's order; never empty when read
    QVector<Season> seasons;           // the first that holds a night prices it
    QVector<StayLength> lengths;
    QHash<RecordId, RoomBeds> beds;    // by room

    const RateCategory *category(RecordId id) const;
    // The room's category (the first when it has none, or one gone).
    const RateCategory &categoryOf(RecordId room) const;
    RoomBeds bedsOf(RecordId room) const;
};

// The card as the house keeps it; a house that has set no rates gets one
// category, "Standard", at its default cost per night, holding every room.
// Throws DbError.
RateCard ReadRateCard(Database &db);

// What cannot be priced, said in plain words (empty: none); `where` says
// which part: "category N", "season N", "length N".
QString RateCardProblem(const RateCard &card, QString *where = nullptr);

// Stores the card for every desk in one transaction (the keys it had are
// not kept). Throws DbError, storing nothing, when RateCardProblem finds
// a problem or the engine refuses.
void WriteRateCard(Database &db, const RateCard &card);

// Stores the category and beds of these rooms (in the caller's
// transaction, when there is one). Throws DbError.
void WriteRoomBeds(Database &db, const QVector<RoomBeds> &beds);

// One line of a stay's price.
struct PriceLine
{
    enum Kind { Nights, ExtraAdults, ExtraChildren, LengthOfStay };
    Kind kind = Nights;
    QString label;        // the season's name, or the category's for no season
    int count = 0;        // nights (for the beds: nights times beds)
    qint64 unitCents = 0; // a night; for the reduction, its percentage
    qint64 cents = 0;     // the line, rounded once (negative for a reduction)
};

struct StayPrice
{
    QVector<PriceLine> lines;
    qint64 totalCents = 0;
    QStringList warnings;  // a stay shorter than its season asks, more guests than the room takes
};

// The price of one room's stay from arrival to departure (the nights of
// the days from the arrival to the day before the departure).
StayPrice PriceStay(const RateCard &card, RecordId room, const QDate &arrival, const QDate &departure, int adults,
                    int children);

// The price as the wizard shows it: "3 nights x 90.00 Low season, 2
// nights x 120.00 High season, extra adult 2 x 15.00, 7-night rate -10 %",
// amounts in the region's format.
QString BreakdownText(const StayPrice &price);

}  // namespace innkeld
