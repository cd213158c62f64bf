#include "bookingstore.h"

#include "data/regional/regional.h"
#include "data/schema/bookingtables.h"
#include "booking/availability.h"

#include <QCoreApplication>

#include <cmath>
#include <optional>

namespace innkeld {

const std::array<const char *, 11> kCustomerColumns{"FirstName", "LastName", "Address1", "Address2",
                                                     "City",      "State",    "PostCode", "Country",
                                                     "Phone",     "Email",    "BusinessName"};
const std::array<const char *, 9> kPaymentColumns{"CostPerNight", "PaymentMethod",    "OtherCharges",
                                                  "SalesTax",     "TotalPayable",     "AmountPayed",
                                                  "CreditCardNo", "CreditCardExpiry", "CreditCardType"};

namespace {

// A field typed on one line, as it is stored.
QString line(const QString &text)
{
    return StoredText(text, false);
}

QString id(RecordId value)
{
    return QString::number(value);
}

// A count as the engine reads a number, whatever the region: the box shows
// it in the regional form (2,5 in Germany), the statement needs 2.5.
QString countLiteral(const QString &text)
{
    bool ok = false;
    double v = ParseRegionalNumber(text, &ok);
    if (!ok)
        v = ValNumber(text, true);
    if (!std::isfinite(v) || v == 0)
        return QStringLiteral("0");
    return QString::number(v, 'g', 15);
}

}  // namespace

QString CustomerSql(RecordId customerId)
{
    return QStringLiteral("SELECT ID, FirstName, LastName, Address1, Address2, City, State, PostCode, Country, "
                          "Phone, Email, SubmittedDate, BusinessName FROM Customer WHERE ID = ")
        + id(customerId);
}

RecordId CreateBooking(Database &db, const QDateTime &now)
{
    Database::Transaction tx(db);
    TableCursor b = db.openTable(QStringLiteral("Booking"));
    b.addNew();
    const QDateTime arrival = now.addMSecs(-now.time().msec());
    b.setField(QStringLiteral("FromDate"), arrival);
    b.setField(QStringLiteral("ToDate"), arrival.addDays(1));
    for (const char *text : {"PaymentMethod", "BookedBy", "CreditCardNo", "CreditCardExpiry", "CreditCardType"})
        b.setField(QLatin1String(text), QStringLiteral(""));
    b.update();
    const RecordId key = b.field(QStringLiteral("ID")).toLongLong();
    // Begun now: until its customer is stored it is a draft of this desk's.
    db.execute(QStringLiteral("DELETE FROM bookingdraft WHERE bookingid = ") + id(key));
    db.execute(QStringLiteral("INSERT INTO bookingdraft (bookingid, started) VALUES (%1, '%2')")
                   .arg(id(key), now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))));
    tx.commit();
    return key;
}

bool BookingHasCustomer(Database &db, RecordId bookingId)
{
    Recordset rs = db.execute(QStringLiteral("SELECT b.CustomerID FROM booking AS b JOIN customer AS c ON c.ID = "
                                             "b.CustomerID WHERE b.ID = ")
                              + id(bookingId));
    return !rs.eof();
}

QVector<UnfinishedBooking> UnfinishedBookings(Database &db, const QDateTime &now)
{
    // Found through the index of customers; a booking begun within the last
    // day may be in the hands of another desk.
    QVector<UnfinishedBooking> out;
    for (Recordset rs = db.execute(QStringLiteral("SELECT b.ID, b.FromDate, b.ToDate, d.started FROM booking AS b "
                                                  "LEFT JOIN bookingdraft AS d ON d.bookingid = b.ID "
                                                  "WHERE b.CustomerID = 0 OR b.CustomerID IS NULL ORDER BY b.ID"));
         !rs.eof(); rs.moveNext()) {
        const QDateTime started = QDateTime::fromString(rs.text(3), QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        if (started.isValid() && started > now.addDays(-1))
            continue;
        out.push_back(UnfinishedBooking{rs.value(0).toLongLong(), rs.value(1).toDateTime(), rs.value(2).toDateTime()});
    }
    return out;
}

void RemoveBookings(Database &db, const QVector<RecordId> &bookingIds)
{
    Database::Transaction tx(db);
    for (const RecordId booking : bookingIds)
        DiscardBooking(db, booking);
    tx.commit();
}

namespace {

// Inside a step's transaction, before anything of it is written.
void requireBooking(Database &db, RecordId bookingId)
{
    if (!BookingExists(db, bookingId))
        throw BookingGone();
}

}  // namespace

void DiscardBooking(Database &db, RecordId bookingId)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM booking WHERE id = ") + id(bookingId));
    db.execute(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = ") + id(bookingId));
    db.execute(QStringLiteral("DELETE FROM bookingdraft WHERE bookingid = ") + id(bookingId));
    tx.commit();
}

RecordId CreateBookingForStay(Database &db, const QDateTime &now, RecordId room, const QDate &arrival,
                              const QDate &departure, RecordId draft)
{
    Database::Transaction tx(db);
    const RecordId booking = draft != 0 ? draft : CreateBooking(db, now);
    const QTime time = now.time();
    const QString bookedBy = db.execute(QStringLiteral("SELECT BookedBy FROM booking WHERE ID = ") + id(booking)).text(0);
    SaveDatesStep(db, booking, bookedBy, WallClock(arrival, QTime(time.hour(), time.minute(), time.second())),
                  WallClock(departure, QTime(time.hour(), time.minute(), time.second())));
    SaveRoomsStep(db, booking, {room});
    tx.commit();
    return booking;
}

QString DatesStepSql(const QString &bookedBy, const QDateTime &from, const QDateTime &to, RecordId bookingId)
{
    return QStringLiteral("UPDATE booking SET bookedby = '") + SqlText(line(bookedBy)) + QStringLiteral("', fromdate = '")
        + SqlText(RegionalDateTimeText(from)) + QStringLiteral("', todate='") + SqlText(RegionalDateTimeText(to))
        + QStringLiteral("' WHERE id = ") + id(bookingId);
}

QString RoomsMessage(const QStringList &names, const char *one, const char *many)
{
    return names.size() == 1 ? QString::fromUtf8(one).arg(names.first())
                             : QString::fromUtf8(many).arg(names.join(QStringLiteral(", ")));
}

QString RoomsTakenOffMessage(const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    return RoomsMessage(names,
                        "The room %1 is booked by another guest on these dates and was taken off this booking. "
                        "Choose another room.",
                        "The rooms %1 are booked by other guests on these dates and were taken off this booking. "
                        "Choose other rooms.");
}

QStringList SaveDatesStep(Database &db, RecordId bookingId, const QString &bookedBy, const QDateTime &from,
                          const QDateTime &to)
{
    Database::Transaction tx(db);
    requireBooking(db, bookingId);
    // The rooms it holds that clash on the new dates go first, so that the
    // dates can be stored (the database refuses a room held twice).
    QStringList takenOff;
    QVector<RecordId> clashing;
    for (Recordset rs = db.execute(QStringLiteral("SELECT bookingroom.roomid, room.name FROM bookingroom, room "
                                                  "WHERE bookingroom.bookingid = ")
                                   + id(bookingId) + QStringLiteral(" AND room.id = bookingroom.roomid ORDER BY bookingroom.id"));
         !rs.eof(); rs.moveNext()) {
        const RecordId room = rs.value(0).toLongLong();
        if (clashing.contains(room) || IsRoomAvailable(db, bookingId, room, from, to))
            continue;
        clashing << room;
        takenOff << rs.text(1);
    }
    for (RecordId room : clashing)
        db.execute(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = ") + id(bookingId)
                   + QStringLiteral(" AND roomid = ") + id(room));
    db.execute(DatesStepSql(bookedBy, from, to, bookingId));
    tx.commit();
    return takenOff;
}

void SaveRoomsStep(Database &db, RecordId bookingId, const QVector<RecordId> &rooms, const QStringList &names)
{
    Database::Transaction tx(db);
    requireBooking(db, bookingId);
    // Each room again, now that no other desk can write: one removed or
    // booked meanwhile is refused, never linked.
    Recordset stay = db.execute(QStringLiteral("SELECT fromdate, todate FROM booking WHERE id = ") + id(bookingId));
    const QVariant from = stay.value(0), to = stay.value(1);
    QStringList gone, taken;
    for (int i = 0; i < rooms.size(); ++i) {
        const RecordId room = rooms.at(i);
        Recordset name = db.execute(QStringLiteral("SELECT name FROM room WHERE id = ") + id(room));
        if (name.eof())
            gone << names.value(i, id(room));
        else if (!IsRoomAvailable(db, bookingId, room, from, to))
            taken << name.text(0);
    }
    if (!gone.isEmpty())
        throw RoomsGone(gone);
    if (!taken.isEmpty())
        throw RoomsTaken(taken);
    // The rooms it holds already, in the same order: nothing to write (a
    // stay that has ended is looked through, never changed).
    QVector<RecordId> held;
    for (Recordset rs = db.execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1 ORDER BY id").arg(bookingId));
         !rs.eof(); rs.moveNext())
        held << rs.value(0).toLongLong();
    if (held == rooms) {
        tx.commit();
        return;
    }
    db.execute(QStringLiteral("DELETE FROM bookingroom WHERE bookingid = ") + id(bookingId));
    TableCursor links = db.openTable(QStringLiteral("BookingRoom"));
    for (RecordId room : rooms) {
        links.addNew();
        links.setField(QStringLiteral("bookingid"), bookingId);
        links.setField(QStringLiteral("roomid"), room);
        links.update();
    }
    tx.commit();
}

QString CountsStepSql(const QString &adults, const QString &children, RecordId bookingId)
{
    return QStringLiteral("UPDATE booking SET noadults = ") + countLiteral(adults) + QStringLiteral(", nokids = ")
        + countLiteral(children) + QStringLiteral(" WHERE id = ") + id(bookingId);
}

QString CustomerUpdateSql(const CustomerDetails &customer, RecordId customerId)
{
    QStringList pieces;
    for (size_t i = 0; i < customer.size(); ++i)
        pieces << QLatin1String(kCustomerColumns[i]) + QStringLiteral(" = '") + SqlText(line(customer[i])) + QLatin1Char('\'');
    return QStringLiteral("UPDATE Customer ") + QStringLiteral("SET ") + pieces.join(QLatin1String(", "))
        + QStringLiteral(" WHERE ID=") + id(customerId) + QLatin1Char(';');
}

void SaveCustomerStep(Database &db, RecordId bookingId, const QString &adults, const QString &children,
                      const CustomerDetails &customer)
{
    Database::Transaction tx(db);
    requireBooking(db, bookingId);
    db.execute(CountsStepSql(adults, children, bookingId));
    Recordset booking = db.execute(QStringLiteral("SELECT customerid FROM booking WHERE id = ") + id(bookingId));
    if (booking.eof())
        throw BookingGone();
    const RecordId customerId = booking.value(QStringLiteral("customerid")).toLongLong();
    // A customer row that has gone (deleted with a room, say) is made again,
    // so that what was typed is kept.
    const bool exists = customerId != 0
        && !db.execute(QStringLiteral("SELECT ID FROM Customer WHERE ID = ") + id(customerId)).eof();
    if (exists) {
        db.execute(CustomerUpdateSql(customer, customerId));
    } else {
        TableCursor c = db.openTable(QStringLiteral("Customer"));
        c.addNew();
        for (size_t i = 0; i < customer.size(); ++i)
            c.setField(QLatin1String(kCustomerColumns[i]), line(customer[i]));
        c.update();
        db.execute(QStringLiteral("UPDATE booking SET customerid = ") + id(c.field(QStringLiteral("id")).toLongLong())
                   + QStringLiteral(" WHERE id = ") + id(bookingId));
    }
    db.execute(QStringLiteral("DELETE FROM bookingdraft WHERE bookingid = ") + id(bookingId));
    tx.commit();
}

QString PaymentStepSql(const PaymentDetails &payment, RecordId bookingId, bool withPaid)
{
    QStringList pieces;
    for (size_t i = 0; i < payment.size(); ++i)
        if (withPaid || qstrcmp(kPaymentColumns[i], "AmountPayed") != 0)
            pieces << QLatin1String(kPaymentColumns[i]) + QStringLiteral(" = '") + SqlText(line(payment[i])) + QLatin1Char('\'');
    return QStringLiteral("UPDATE Booking ") + QStringLiteral("SET ") + pieces.join(QLatin1String(", "))
        + QStringLiteral(" WHERE ID=") + id(bookingId);
}

namespace {

// An amount as the step shows it, in hundredths; nullopt when it is none.
std::optional<qint64> centsOf(const QString &text)
{
    bool ok = false;
    const double v = ParseRegionalNumber(text, &ok);
    if (!ok || !IsStorableAmount(v))
        return std::nullopt;
    return std::llround(v * 100.0);
}

}  // namespace

void SavePaymentStep(Database &db, RecordId bookingId, const PaymentDetails &payment, const QString &shownPaid,
                     const std::optional<BookingTax> &tax, const BookingCharges *charges)
{
    Database::Transaction tx(db);
    requireBooking(db, bookingId);
    const std::optional<qint64> typed = centsOf(payment[5]), shown = centsOf(shownPaid);
    const bool changed = !typed || typed != shown;
    if (changed) {
        const Recordset now = db.execute(QStringLiteral("SELECT AmountPayed FROM booking WHERE ID = ") + id(bookingId));
        const qint64 stored = std::llround(now.value(0).toDouble() * 100.0);
        if (shown && stored != *shown)
            throw PaidMeanwhile(QCoreApplication::translate("Payments", "A payment was recorded at another desk since this "
                                                                        "step was shown: the booking's amount paid is now "
                                                                        "%1 (it was %2). Nothing was stored; the step shows "
                                                                        "the new amount.")
                                    .arg(FormatMoney(double(stored) / 100.0), FormatMoney(double(*shown) / 100.0)),
                                FormatMoney(double(stored) / 100.0));
    }
    db.execute(PaymentStepSql(payment, bookingId, changed));
    if (tax)
        WriteBookingTax(db, bookingId, *tax);
    if (charges)
        WriteCharges(db, bookingId, *charges);
    tx.commit();
}

QString NotesSql(const QString &notes, RecordId bookingId)
{
    return QStringLiteral("UPDATE booking SET notes = '") + SqlText(notes) + QStringLiteral("' WHERE id = ") + id(bookingId);
}

void SaveNotes(Database &db, RecordId bookingId, const QString &notes)
{
    db.execute(NotesSql(notes, bookingId));
}

}  // namespace innkeld
