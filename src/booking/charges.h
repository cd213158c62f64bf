// What a booking charges, line by line: each room's stay as the house's
// rates priced it night by night (or as the operator set it by hand, with
// who and when), the extras added from the house's list, each taxed at its
// own rate. Read and written with the booking's payment step; a stored
// price stays as it is until the booking is priced again.
#pragma once

#include "booking/pricing.h"
#include "data/sql/database.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <utility>

namespace innkeld {

// An extra the house lists once: charged a person and night, a night, or
// once a stay (`per`: "person-night", "night", "stay"), at its own tax rate.
struct Extra
{
    RecordId id = 0;  // 0: not stored yet
    QString name;
    qint64 priceCents = 0;
    QString per = QStringLiteral("stay");
    QString taxPercent;  // as the house's terms write a rate: "7", "19", "7.5"
};

// The three ways of charging, in the order a list offers them.
const QStringList &ExtraPers();
// "a person and night", "a night", "a stay", in the operator's language.
QString PerText(const QString &per);

// The house's extras in its order. Throws DbError.
QVector<Extra> ReadExtras(Database &db);
// What cannot be stored (empty: none); `row` is the extra's place.
QString ExtrasProblem(const QVector<Extra> &extras, int *row = nullptr);
// Stores the list (in the caller's transaction, when there is one); the
// extras added to bookings keep what they were priced at. Throws DbError.
void WriteExtras(Database &db, const QVector<Extra> &extras);

// One room's stay as the booking charges it.
struct RoomCharge
{
    RecordId room = 0;
    QString name;
    qint64 cents = 0;      // what the booking charges for the stay
    qint64 rateCents = 0;  // what the rates gave when it was priced
    QVector<PriceLine> lines;  // the rates' lines (kept when set by hand)
    QStringList warnings;      // not stored: the rules the stay breaks
    bool byHand = false;       // the price set by hand (else the rates')
    QString overrideBy;        // who set it, and when
    QDateTime overrideAt;
    bool overridden() const { return byHand; }
    // An amount for all the rooms, as a booking priced the earlier way
    // charges them.
    static RoomCharge Amount(qint64 cents)
    {
        RoomCharge r;
        r.cents = cents;
        return r;
    }
};

// An extra added to a booking, as it was priced then.
struct ExtraCharge
{
    RecordId extra = 0;
    QString name, per;
    int quantity = 1;  // persons, or items
    qint64 unitCents = 0;
    qint64 cents = 0;
    QString taxPercent;
};

// The amount of an extra over a stay of `nights`: the unit times the
// quantity, times the nights unless it is charged once a stay.
qint64 ExtraCents(const QString &per, qint64 unitCents, int quantity, int nights);

struct BookingCharges
{
    bool priced = false;  // the booking was priced room by room (else: cost per night x nights x rooms)
    QVector<RoomCharge> rooms;
    QVector<ExtraCharge> extras;
    qint64 roomsCents() const;
    qint64 extrasCents() const;
    QStringList warnings() const;  // every room's, named by room when there are several
};

// What the booking charges as stored, its rooms in the order the booking
// holds them (a room priced and no longer held is left out). Throws DbError.
BookingCharges ReadCharges(Database &db, RecordId bookingId);

// What a booking's price follows: its days, rooms and guests.
struct PricedStay
{
    QDate arrival, departure;
    QVector<RecordId> rooms;
    int adults = 0, children = 0;
    bool operator==(const PricedStay &o) const
    {
        return arrival == o.arrival && departure == o.departure && rooms == o.rooms && adults == o.adults
            && children == o.children;
    }
    bool operator!=(const PricedStay &o) const { return !(*this == o); }
};
// As stored. Throws DbError.
PricedStay ReadPricedStay(Database &db, RecordId bookingId);

// The rooms priced by the rates for a stay, the guests spread over them:
// each room up to its standard beds first, then up to what it takes; what
// is left lies in the last room (and its warning says so).
BookingCharges PriceRooms(const RateCard &card, const QVector<std::pair<RecordId, QString>> &rooms,
                          const QDate &arrival, const QDate &departure, int adults, int children);

// Replaces what the booking charges (in the caller's transaction). Throws
// DbError.
void WriteCharges(Database &db, RecordId bookingId, const BookingCharges &charges);

// The tax of an amount at a rate ("7.5"), rounded once, half away from
// nothing.
qint64 TaxCents(qint64 netCents, const QString &ratePercent);

// The net and tax of each rate: the rooms and the other charges at the
// booking's rate, each extra at its own; in the order the rates first come.
struct TaxLine
{
    QString rate;
    qint64 netCents = 0, taxCents = 0;
};
QVector<TaxLine> TaxesByRate(const BookingCharges &charges, qint64 otherCents, const QString &roomRate);

}  // namespace innkeld
