// The two day lists of the home view: which bookings arrive and which
// depart on a day, and how each is named.
#pragma once

#include "booking/bookingstatus.h"
#include "data/sql/database.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace innkeld {

// The bookings (with a customer) whose stay begins on the day; the whole
// day from midnight to 23:59 counts.
QString ArrivalsSql(const QDate &day);
// The same for the stays that end on the day.
QString DeparturesSql(const QDate &day);

// First name, a blank, last name; "No name entered" when both are empty.
QString GuestDisplayName(const QVariant &firstName, const QVariant &lastName);

struct DayListEntry
{
    QString text;
    RecordId bookingId = 0;
    BookingStatus status = BookingStatus::Booked;
};

// Runs one of the day queries and names its rows, in the order returned:
// a booking that is not merely booked with its status, a cancelled one
// with its reason.
QVector<DayListEntry> ReadDayList(Database &db, const QString &sql);

}  // namespace innkeld
