// The stays as the room chart shows them (each room a row, each day a
// column), read for the rooms and days shown alone through the stays index
// by room, and a stay moved or stretched by hand through the same guard as
// every write.
#pragma once

#include "booking/charges.h"

#include "booking/bookingstatus.h"
#include "data/sql/database.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

namespace innkeld {

// One room's stay of one booking: a bar of the chart.
struct ChartStay
{
    RecordId booking = 0;
    RecordId room = 0;
    QDateTime from, to;
    QString guest;       // first and last name; empty for a booking not finished
    double adults = 0, children = 0;
    BookingStatus status = BookingStatus::Booked;
    qint64 balanceDueCents = 0;
    QString channel;     // the channel it came from; empty for the desk's own
    QString notesLine;   // the first line of its notes
    int nights() const { return int(from.date().daysTo(to.date())); }
};

// The rooms of the house in the order the rooms dialog lists them.
struct ChartRooms
{
    QVector<RecordId> ids;
    QStringList names;
};
ChartRooms ReadChartRooms(Database &db);

// The stays of `rooms` that touch the `days` days from `first` (cancelled
// and no-show bookings left out), in the order of their arrival. What is
// read follows the rooms and days asked for, not the house's history.
// Throws DbError.
QVector<ChartStay> ReadChartStays(Database &db, const QDate &first, int days, const QVector<RecordId> &rooms);

// A move of one room's stay: to another room and/or other days. The days
// are the booking's own (all its rooms share them).
struct StayMove
{
    RecordId booking = 0;
    RecordId fromRoom = 0;
    RecordId toRoom = 0;
    QDate arrival, departure;
};

// The price of the booking before and after a move (hundredths): the
// nights times the cost per night and rooms, the other charges and the
// booking's tax, as the payment step works them out.
struct MovePrice
{
    qint64 oldTotalCents = 0;
    qint64 newTotalCents = 0;
    qint64 newTaxCents = 0;
    qint64 newCostCents = 0;  // what the rooms come to a night
    BookingCharges charges;   // a booking priced room by room: its rooms and extras at the new stay
    bool changes() const { return oldTotalCents != newTotalCents; }
};

// A move the house's rules refuse, said in plain words.
class StayRefused : public DbError
{
public:
    using DbError::DbError;
};

// Why the move cannot be stored (the room held by another booking, named
// with its guest; a stay that has ended; no night), or empty text when it
// can. Throws DbError.
QString MoveRefusal(Database &db, const StayMove &move);
// What the booking costs before and after the move.
MovePrice PriceOfMove(Database &db, const StayMove &move);
// Stores the move in one transaction, the new price too when `takeNewPrice`;
// throws StayRefused with MoveRefusal's words when it is refused (another
// desk may have taken the room since it was shown), BookingGone when the
// booking is not there.
void MoveStay(Database &db, const StayMove &move, bool takeNewPrice);

}  // namespace innkeld
