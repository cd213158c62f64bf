#include "bookingview.h"

#include "data/regional/regional.h"
#include "data/schema/textlengths.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

QString id(RecordId value)
{
    return QString::number(value);
}

}  // namespace

QString JoinedParts(const QStringList &parts, const QString &separator)
{
    QStringList kept;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty())
            kept << p.trimmed();
    return kept.join(separator);
}

QStringList ContactFields(const Recordset &c)
{
    QStringList fields;
    for (const char *name : {"BusinessName", "FirstName", "LastName", "Address1", "Address2", "City", "State", "PostCode",
                             "Country", "Phone", "Email"})
        fields << c.text(QLatin1String(name)).left(kLineLength);  // as kept (an earlier version kept more)
    return fields;
}

QString ContactLines(const QStringList &f, const QString &phoneLabel)
{
    const QString name = JoinedParts({f.value(0), f.value(1), f.value(2)}, QStringLiteral(" "));
    const QString place = JoinedParts({JoinedParts({f.value(3), f.value(4), f.value(5), JoinedParts({f.value(6), f.value(7)}, QStringLiteral(" "))},
                                         QStringLiteral(", ")),
                                  f.value(8)},
                                 QStringLiteral(". "));
    const QString reach = JoinedParts({f.value(9).trimmed().isEmpty() ? QString() : phoneLabel + QLatin1Char(' ') + f.value(9).trimmed(),
                                  f.value(10)},
                                 QStringLiteral(" "));
    return JoinedParts({name, place, reach}, QStringLiteral("\r\n"));
}

QString ContactText(const Recordset &c)
{
    return ContactLines(ContactFields(c), QCoreApplication::translate("Paper", "ph:"));
}

DatesView LoadDatesStep(Database &db, RecordId bookingId)
{
    DatesView v;
    const Recordset rs = db.execute(QStringLiteral("SELECT notes, BookedBy, fromdate, todate FROM booking WHERE id = ")
                                    + id(bookingId));
    if (rs.eof())
        return v;
    v.found = true;
    v.from = rs.value(QStringLiteral("fromdate")).toDateTime();
    v.to = rs.value(QStringLiteral("todate")).toDateTime();
    v.bookedBy = rs.text(QStringLiteral("bookedby"));
    v.notes = rs.text(QStringLiteral("notes"));
    return v;
}

RoomsView LoadRoomsStep(Database &db, RecordId bookingId, const QVariant &arrival, const QVariant &departure)
{
    RoomsView v;
    QVariant from = arrival, to = departure;
    const Recordset stay = db.execute(QStringLiteral("SELECT fromdate, todate FROM booking WHERE id = ") + id(bookingId));
    if (!stay.eof()) {
        from = stay.value(QStringLiteral("fromdate"));
        to = stay.value(QStringLiteral("todate"));
    }
    v.free = FreeRooms(db, bookingId, from, to);
    for (Recordset links = db.execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = ") + id(bookingId));
         !links.eof(); links.moveNext())
        v.held << links.value(QStringLiteral("roomid")).toLongLong();
    return v;
}

CustomerView LoadCustomerStep(Database &db, RecordId bookingId)
{
    CustomerView v;
    const Recordset rs =
        db.execute(QStringLiteral("SELECT noadults, nokids, customerid FROM booking WHERE id = ") + id(bookingId));
    if (rs.eof())
        return v;
    v.found = true;
    v.adults = rs.text(QStringLiteral("noadults"));
    v.children = rs.text(QStringLiteral("nokids"));
    const RecordId customerId = rs.value(QStringLiteral("customerid")).toLongLong();
    v.hasCustomer = customerId != 0;
    if (v.hasCustomer)
        LoadCustomerDetails(db, customerId, &v.customer);
    return v;
}

bool LoadCustomerDetails(Database &db, RecordId customerId, CustomerDetails *details)
{
    const Recordset c = db.execute(CustomerSql(customerId));
    if (c.eof())
        return false;
    for (size_t i = 0; i < details->size(); ++i)
        (*details)[i] = c.text(QLatin1String(kCustomerColumns[i]));
    return true;
}

PaymentView LoadPaymentStep(Database &db, RecordId bookingId)
{
    PaymentView v;
    const Recordset rs = db.execute(
        QStringLiteral("SELECT FromDate, ToDate, CostPerNight, PaymentMethod, OtherCharges, SalesTax, TotalPayable, "
                       "AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType FROM Booking WHERE ID = ")
        + id(bookingId));
    if (!rs.eof()) {
        v.found = true;
        v.from = rs.value(QStringLiteral("FromDate")).toDateTime();
        v.to = rs.value(QStringLiteral("ToDate")).toDateTime();
        for (size_t i = 0; i < v.payment.size(); ++i)
            v.payment[i] = rs.text(QLatin1String(kPaymentColumns[i]));
        v.payment[0] = FormatMoney(rs.value(QStringLiteral("CostPerNight")));
    }
    v.roomCount = BookingRoomCount(db, bookingId);
    for (Recordset names = db.execute(QStringLiteral("SELECT room.name FROM room, bookingroom WHERE bookingroom.bookingid = ")
                                      + id(bookingId) + QStringLiteral(" AND bookingroom.roomid = room.id"));
         !names.eof(); names.moveNext())
        v.roomNames << names.text(0);
    return v;
}

QStringList BookedRoomNames(Database &db, RecordId bookingId)
{
    QStringList names;
    for (Recordset r = db.execute(QStringLiteral("SELECT room.name FROM bookingroom, room WHERE bookingroom.bookingid = %1 "
                                                 "AND room.id = bookingroom.roomid ORDER BY bookingroom.id")
                                      .arg(bookingId));
         !r.eof(); r.moveNext())
        names << r.text(0);
    return names;
}

ConfirmView LoadConfirmStep(Database &db, RecordId bookingId)
{
    ConfirmView v;
    const Recordset rs = db.execute(
        QStringLiteral("SELECT notes, customerid, noadults, nokids, FromDate, ToDate, CostPerNight, PaymentMethod, "
                       "OtherCharges, SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, "
                       "CreditCardType FROM Booking WHERE ID = ")
        + id(bookingId));
    if (rs.eof())
        return v;
    v.found = true;
    v.notes = rs.text(QStringLiteral("notes"));
    v.from = rs.value(QStringLiteral("fromdate")).toDateTime();
    v.to = rs.value(QStringLiteral("todate")).toDateTime();
    v.adults = rs.value(QStringLiteral("noadults"));
    v.children = rs.value(QStringLiteral("nokids"));
    // The same sub total as the payment step: the rooms count too.
    v.charges = ReadCharges(db, bookingId);
    v.amounts = AmountsOf(rs, BookingRoomCount(db, bookingId), v.charges);
    v.paymentMethod = rs.text(QStringLiteral("PaymentMethod"));
    v.cardType = rs.text(QStringLiteral("CreditCardType"));
    v.cardNo = rs.text(QStringLiteral("CreditCardNo"));
    v.cardExpiry = rs.text(QStringLiteral("CreditCardExpiry"));
    const RecordId customerId = rs.value(QStringLiteral("customerid")).toLongLong();
    if (customerId != 0) {
        const Recordset contact = db.execute(CustomerSql(customerId));
        if (!contact.eof()) {
            v.hasContact = true;
            v.contactFields = ContactFields(contact);
            v.contact = ContactText(contact);
        }
    }
    return v;
}

}  // namespace innkeld
