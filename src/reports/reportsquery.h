// The figures of the owner's and the authorities' reports over a period,
// worked out by the engine from the stays indexes (never by reading every
// booking): the occupancy per day, week or month, and the arrivals, guests
// and nights by the guest's country. A stay's nights count in the days,
// weeks or months they fall in (a stay over a month's end is split); a
// booking without a guest yet, or one still being begun in the wizard, is
// left out.
#pragma once

#include "data/schema/touristtax.h"
#include "data/sql/database.h"

#include <QDate>
#include <QMap>
#include <QStringList>
#include <QVector>

namespace innkeld {

enum class ReportGrouping { Day, Week, Month };

// The stretches of days (first and last, both counted) the period is
// grouped in: whole days, weeks from Monday, months, cut at its ends.
QVector<std::pair<QDate, QDate>> ReportStretches(const QDate &first, const QDate &last, ReportGrouping grouping);

struct OccupancyRow
{
    QDate first, last;
    qint64 roomsAvailable = 0;  // room-nights: the house's rooms times the nights
    qint64 roomNightsSold = 0;
    double revenue = 0;         // the cost per night of each room-night sold
    double occupancy() const { return roomsAvailable ? 100.0 * double(roomNightsSold) / double(roomsAvailable) : 0; }
    double averageRate() const { return roomNightsSold ? revenue / double(roomNightsSold) : 0; }
    double revenuePerAvailableRoom() const { return roomsAvailable ? revenue / double(roomsAvailable) : 0; }
};
// Throws DbError.
QVector<OccupancyRow> OccupancyReport(Database &db, const QDate &first, const QDate &last, ReportGrouping grouping);

struct CountryRow
{
    QString country;       // as most of its bookings spell it; empty: none given
    QStringList spellings; // every spelling grouped under it
    qint64 arrivals = 0;   // bookings arriving in the period
    double guests = 0;     // their adults and children
    qint64 nights = 0;     // their nights in the period
};
// The arrivals of the period by the customer's country, spellings that
// differ only by letter case and blanks taken as one; the house's own
// country first, then by arrivals. Throws DbError.
QVector<CountryRow> GuestsByCountry(Database &db, const QDate &first, const QDate &last, const QString &houseCountry);
// The same, the house's country given by any of its names (as the region
// writes it, in English).
QVector<CountryRow> GuestsByCountry(Database &db, const QDate &first, const QDate &last, const QStringList &houseCountry);

struct RevenueRow
{
    QDate first, last;           // a month, cut at the period's ends
    double roomRevenue = 0;      // the cost per night of each room-night in the month
    double otherCharges = 0;     // of the bookings arriving in the month
    qint64 taxCents = 0;         // the sales tax of the invoices and credit notes issued in it
    qint64 invoicedCents = 0;    // their totals
    QMap<QString, qint64> paidCents;  // the payments received in it, by method
    qint64 outstandingCents = 0;  // what the bookings arriving in it still owed at the period's end
    qint64 feeCents = 0;          // the cancellation fees of the bookings that were to arrive in it
};
// The period's revenue month by month. Throws DbError.
QVector<RevenueRow> RevenueReport(Database &db, const QDate &first, const QDate &last);

struct SalesTaxRow
{
    QDate month;  // its first day
    QString taxName, rate;  // as the invoices were issued
    qint64 netCents = 0, taxCents = 0;
};
struct TouristTaxRow
{
    QDate first, last;
    qint64 personNights = 0;  // the nights taxed, a guest's night each
    qint64 cents = 0;
};
struct TaxesReportRows
{
    QVector<SalesTaxRow> sales;      // by month and rate, months without invoices left out
    QVector<TouristTaxRow> tourist;  // every month; none when no tourist tax is set up
};
// The sales tax invoiced and the tourist tax of the period's nights, month
// by month. Throws DbError.
TaxesReportRows TaxesReport(Database &db, const QDate &first, const QDate &last, const TouristTax &tourist);

struct CategoryRow
{
    QString category;
    qint64 rooms = 0;              // the house's rooms in it now
    qint64 roomsAvailable = 0;     // room-nights: its rooms times the nights
    qint64 roomNightsSold = 0;
    double revenueCents = 0;       // each room-night at what its room's stay charges a night
    double occupancy() const { return roomsAvailable ? 100.0 * double(roomNightsSold) / double(roomsAvailable) : 0; }
    double averageRate() const { return roomNightsSold ? revenueCents / 100.0 / double(roomNightsSold) : 0; }
};
// The period's rooms by category (as the rooms are now): room-nights sold,
// occupancy, revenue and average rate; a room priced by the rates counts
// its price spread over its nights, one priced the earlier way its cost
// per night. Throws DbError.
QVector<CategoryRow> CategoryReport(Database &db, const QDate &first, const QDate &last);

// The bookings cancelled and the guests who never arrived, by the month
// their stay was to begin and by reason ("guest", "house", "noshow",
// "channel", "other"): how many, the room-nights and the room revenue
// lost (at their cost per night), the fees charged.
struct LostRow
{
    QDate first, last;
    qint64 cancelled = 0, noShows = 0, nights = 0;
    double revenueLost = 0;
    qint64 feeCents = 0;
};
struct CancellationsRows
{
    QVector<LostRow> months;
    QMap<QString, LostRow> reasons;
};
// Throws DbError.
CancellationsRows CancellationsReport(Database &db, const QDate &first, const QDate &last);

}  // namespace innkeld
