// The arithmetic of a booking's amounts, shared by the payment step, the
// confirmation step and the printed confirmation.
#pragma once

#include "booking/charges.h"
#include "data/sql/database.h"

#include <QDateTime>
#include <QString>

namespace innkeld {

// Whole calendar days from the arrival to the departure, the time of day ignored.
int NightsBetween(const QDateTime &arrival, const QDateTime &departure);

// Cost per night x nights x rooms + other charges.
double SubTotal(double costPerNight, int nights, int rooms, double otherCharges);

// The tax rate as the payment step shows it: 10%, 17.5% (regional separator).
QString PercentText(double percent);

// The number of rooms linked to a booking.
int BookingRoomCount(Database &db, RecordId bookingId);

// The amounts of a stored booking as the confirmation shows and prints them.
struct BookingAmounts
{
    double costPerNight = 0;
    double otherCharges = 0;
    double salesTax = 0;
    double amountPayed = 0;
    int nights = 0;
    int rooms = 0;
    bool pricedByRoom = false;  // the rooms' prices stored one by one (else cost x nights x rooms)
    double roomsAmount = 0;     // what the rooms charge
    double extras = 0;          // the extras added
    double subTotal = 0;  // the rooms + the extras + other charges, as on the payment step
    double total = 0;     // sub total + the stored sales tax
};

// Reads the amounts from a row that holds FromDate, ToDate, CostPerNight,
// OtherCharges, SalesTax and AmountPayed, and from what the booking charges
// room by room and its extras; a missing amount counts as 0.
BookingAmounts AmountsOf(const Recordset &booking, int rooms, const BookingCharges &charges = BookingCharges());

}  // namespace innkeld
