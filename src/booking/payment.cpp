#include "payment.h"

#include "data/regional/regional.h"

namespace innkeld {

int NightsBetween(const QDateTime &arrival, const QDateTime &departure)
{
    if (!arrival.isValid() || !departure.isValid())
        return 0;
    return int(arrival.date().daysTo(departure.date()));
}

double SubTotal(double costPerNight, int nights, int rooms, double otherCharges)
{
    return costPerNight * nights * rooms + otherCharges;
}

QString PercentText(double percent)
{
    return NumberText(percent) + QLatin1Char('%');
}

int BookingRoomCount(Database &db, RecordId bookingId)
{
    Recordset rs = db.execute(QStringLiteral("SELECT count(*) FROM room, bookingroom WHERE bookingroom.bookingid = ")
                              + QString::number(bookingId) + QStringLiteral(" AND bookingroom.roomid = room.id"));
    return rs.eof() ? 0 : rs.value(0).toInt();
}

BookingAmounts AmountsOf(const Recordset &booking, int rooms, const BookingCharges &charges)
{
    BookingAmounts a;
    a.costPerNight = booking.value(QStringLiteral("CostPerNight")).toDouble();
    a.otherCharges = booking.value(QStringLiteral("OtherCharges")).toDouble();
    a.salesTax = booking.value(QStringLiteral("SalesTax")).toDouble();
    a.amountPayed = booking.value(QStringLiteral("AmountPayed")).toDouble();
    a.nights = NightsBetween(booking.value(QStringLiteral("FromDate")).toDateTime(),
                             booking.value(QStringLiteral("ToDate")).toDateTime());
    a.rooms = rooms;
    a.pricedByRoom = charges.priced;
    a.roomsAmount = charges.priced ? double(charges.roomsCents()) / 100.0 : SubTotal(a.costPerNight, a.nights, a.rooms, 0);
    a.extras = double(charges.extrasCents()) / 100.0;
    a.subTotal = a.roomsAmount + a.extras + a.otherCharges;
    a.total = a.subTotal + a.salesTax;
    return a;
}

}  // namespace innkeld
