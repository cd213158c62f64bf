#include "staychart.h"

#include "booking/availability.h"
#include "booking/payment.h"
#include "data/regional/regional.h"
#include "data/schema/bookingtables.h"
#include "data/schema/bookingtax.h"
#include "data/schema/houserules.h"
#include "data/schema/houseterms.h"

#include <QHash>

#include <cmath>

namespace innkeld {

namespace {

// The words of this file, in their own context.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StayChart)
};


// The columns of a bar, from the link `l`'s booking `b`, guest `c` and
// channel feed `f`.
const QString kBarColumns = QStringLiteral(
    "b.ID, l.roomid, b.FromDate, b.ToDate, c.FirstName, c.LastName, b.NoAdults, b.NoKids, b.Status, "
    "b.TotalPayable, b.AmountPayed, f.Channel, substr(coalesce(b.Notes, ''), 1, 200)");

QString chartSql(Engine engine, const QDate &first, int days, const QVector<RecordId> &rooms)
{
    const QString touching = RoomStaysTouchingSql(engine, QStringLiteral("s"), QString::number(first.toJulianDay()),
                                                  QString::number(first.addDays(days - 1).toJulianDay()), rooms);
    const QString joins = QStringLiteral(
        "JOIN booking AS b ON b.ID = l.bookingid LEFT JOIN customer AS c ON c.ID = b.CustomerID "
        "LEFT JOIN channelbooking AS cb ON cb.bookingid = b.ID LEFT JOIN channelfeed AS f ON f.id = cb.feedid ");
    // On a server each stay's link, booking and guest are looked up by
    // their keys (a lateral query): without statistics the planner would
    // read every link.
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("SELECT w.* FROM room_stay AS s CROSS JOIN LATERAL (SELECT %1 FROM bookingroom AS l %2"
                              "WHERE l.id = s.id OFFSET 0) AS w WHERE %3 AND w.Status NOT IN ('cancelled', 'noshow') "
                              "ORDER BY w.FromDate, w.ID")
            .arg(kBarColumns, joins, touching);
    return QStringLiteral("SELECT %1 FROM room_stay AS s CROSS JOIN bookingroom AS l %2WHERE %3 AND l.id = s.id "
                          "AND b.Status NOT IN ('cancelled', 'noshow') ORDER BY b.FromDate, b.ID")
        .arg(kBarColumns, joins, touching);
}

ChartStay stayOf(const Recordset &rs)
{
    ChartStay s;
    s.booking = rs.value(0).toLongLong();
    s.room = rs.value(1).toLongLong();
    s.from = rs.value(2).toDateTime();
    s.to = rs.value(3).toDateTime();
    s.guest = (rs.text(4) + QLatin1Char(' ') + rs.text(5)).trimmed();
    s.adults = rs.value(6).toDouble();
    s.children = rs.value(7).toDouble();
    s.status = StatusFromCode(rs.text(8));
    s.balanceDueCents = qRound64(rs.value(9).toDouble() * 100) - qRound64(rs.value(10).toDouble() * 100);
    s.channel = rs.text(11);
    s.notesLine = rs.text(12).section(QLatin1Char('\n'), 0, 0).trimmed();
    return s;
}

// Whether two stays clash by the house's rule, as the guard judges them:
// with rooms free from the day the guest leaves, when they share a night;
// otherwise when they share a day, arrival and departure days included.
bool clashes(const QDate &from, const QDate &to, const ChartStay &other, bool departureDayFree)
{
    const QDate oFrom = other.from.date(), oTo = other.to.date();
    if (departureDayFree)
        return from < oTo && oFrom < to;
    return from <= oTo && oFrom <= to;
}

struct StoredStay
{
    QDateTime from, to;
    BookingStatus status = BookingStatus::Booked;
    QVector<RecordId> rooms;
};

StoredStay readStay(Database &db, RecordId booking)
{
    const Recordset rs = db.execute(
        QStringLiteral("SELECT FromDate, ToDate, Status FROM booking WHERE ID = %1").arg(booking));
    if (rs.eof())
        throw BookingGone();
    StoredStay s{rs.value(0).toDateTime(), rs.value(1).toDateTime(), StatusFromCode(rs.text(2)), {}};
    for (Recordset r = db.execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1 ORDER BY id").arg(booking));
         !r.eof(); r.moveNext())
        s.rooms << r.value(0).toLongLong();
    return s;
}

QString roomName(Database &db, RecordId room)
{
    const Recordset rs = db.execute(QStringLiteral("SELECT name FROM room WHERE id = %1").arg(room));
    return rs.eof() ? QString() : rs.text(0);
}

// The move's new arrival and departure: the days moved, the times of day kept.
QDateTime movedTo(const QDateTime &was, const QDate &day)
{
    return WallClock(day, was.time());
}

// The booking that holds `room` on clashing days of the range, as the
// chart reads that room's stays.
QString holderText(Database &db, RecordId booking, RecordId room, const QDate &from, const QDate &to)
{
    const bool free = DepartureDayFree(db);
    const int days = int(from.daysTo(to)) + 1;
    for (const ChartStay &s : ReadChartStays(db, from, days, {room}))
        if (s.booking != booking && clashes(from, to, s, free))
            return Words::tr("The room %1 is held by booking %2 (%3) from %4 to %5: the stay cannot be moved there.")
                .arg(roomName(db, room))
                .arg(s.booking)
                .arg(s.guest.isEmpty() ? Words::tr("a booking not finished") : s.guest,
                     QLocale().toString(s.from.date(), QLocale::ShortFormat),
                     QLocale().toString(s.to.date(), QLocale::ShortFormat));
    return Words::tr("The room %1 is held by another booking on these dates: the stay cannot be moved there.")
        .arg(roomName(db, room));
}

}  // namespace

ChartRooms ReadChartRooms(Database &db)
{
    ChartRooms rooms;
    for (Recordset rs = db.execute(QStringLiteral("SELECT id, name FROM room")); !rs.eof(); rs.moveNext()) {
        rooms.ids << rs.value(0).toLongLong();
        rooms.names << rs.text(1);
    }
    return rooms;
}

QVector<ChartStay> ReadChartStays(Database &db, const QDate &first, int days, const QVector<RecordId> &rooms)
{
    QVector<ChartStay> out;
    if (rooms.isEmpty() || days <= 0)
        return out;
    for (Recordset rs = db.query(chartSql(db.engineKind(), first, days, rooms)); !rs.eof(); rs.moveNext())
        out << stayOf(rs);
    return out;
}

QString MoveRefusal(Database &db, const StayMove &move)
{
    const StoredStay stay = readStay(db, move.booking);
    if (stay.status == BookingStatus::CheckedOut || stay.status == BookingStatus::Cancelled
        || stay.status == BookingStatus::NoShow)
        return Words::tr("The booking %1 is %2: its stay can no longer be moved.")
            .arg(move.booking)
            .arg(StatusLabel(stay.status).toLower());
    if (!move.arrival.isValid() || !move.departure.isValid() || move.departure <= move.arrival)
        return Words::tr("A stay lasts at least one night: the departure must be after the arrival.");
    if (move.arrival < EarliestDate() || move.departure > LatestDate())
        return Words::tr("The stay would leave the days the program takes.");
    if (!stay.rooms.contains(move.fromRoom))
        return Words::tr("The booking %1 no longer holds that room: it was changed at another desk.").arg(move.booking);
    if (move.toRoom != move.fromRoom) {
        if (stay.rooms.contains(move.toRoom))
            return Words::tr("The booking %1 already holds the room %2.").arg(move.booking).arg(roomName(db, move.toRoom));
        if (db.execute(QStringLiteral("SELECT id FROM room WHERE id = %1").arg(move.toRoom)).eof())
            return Words::tr("That room was removed from the house meanwhile.");
    }
    const QDateTime from = movedTo(stay.from, move.arrival), to = movedTo(stay.to, move.departure);
    QVector<RecordId> rooms = stay.rooms;
    rooms[rooms.indexOf(move.fromRoom)] = move.toRoom;
    for (RecordId room : rooms)
        if (!IsRoomAvailable(db, move.booking, room, from, to))
            return holderText(db, move.booking, room, move.arrival, move.departure);
    return QString();
}

MovePrice PriceOfMove(Database &db, const StayMove &move)
{
    const Recordset rs = db.execute(QStringLiteral("SELECT CostPerNight, OtherCharges, TotalPayable, FromDate, ToDate, "
                                                   "NoAdults, NoKids FROM booking WHERE ID = %1")
                                        .arg(move.booking));
    if (rs.eof())
        throw BookingGone();
    MovePrice price;
    price.oldTotalCents = qRound64(rs.value(2).toDouble() * 100);
    const int oldNights = NightsBetween(rs.value(3).toDateTime(), rs.value(4).toDateTime());
    const int nights = int(move.arrival.daysTo(move.departure));
    const BookingCharges stored = ReadCharges(db, move.booking);
    QString rate;
    if (const auto tax = ReadBookingTax(db, move.booking))
        rate = tax->rate;
    else if (const auto terms = ReadHouseTerms(db))
        rate = terms->salesTaxPercentage;
    const qint64 otherCents = qRound64(rs.value(1).toDouble() * 100);
    if (stored.priced) {
        // Priced room by room: the rooms at the new stay by the house's
        // rates, the extras for the new nights.
        QVector<std::pair<RecordId, QString>> rooms;
        for (const RoomCharge &r : stored.rooms)
            rooms << std::make_pair(r.room == move.fromRoom ? move.toRoom : r.room, r.name);
        price.charges = PriceRooms(ReadRateCard(db), rooms, move.arrival, move.departure, int(rs.value(5).toDouble()),
                                   int(rs.value(6).toDouble()));
        for (int i = 0; i < price.charges.rooms.size(); ++i)
            price.charges.rooms[i].name = stored.rooms.at(i).name;
        price.charges.extras = stored.extras;
        for (ExtraCharge &e : price.charges.extras)
            e.cents = ExtraCents(e.per, e.unitCents, e.quantity, nights);
        if (stored.roomsCents() == price.charges.roomsCents() && nights == oldNights) {
            price.newTotalCents = price.oldTotalCents;
            return price;
        }
        for (const TaxLine &t : TaxesByRate(price.charges, otherCents, rate))
            price.newTaxCents += t.taxCents;
        price.newTotalCents = price.charges.roomsCents() + price.charges.extrasCents() + otherCents + price.newTaxCents;
        const qint64 roomNights = qint64(nights) * price.charges.rooms.size();
        price.newCostCents = roomNights ? (2 * price.charges.roomsCents() + roomNights) / (2 * roomNights) : 0;
        return price;
    }
    if (nights == oldNights) {
        price.newTotalCents = price.oldTotalCents;
        return price;
    }
    const int rooms = BookingRoomCount(db, move.booking);
    const qint64 subCents = qRound64(SubTotal(rs.value(0).toDouble(), nights, rooms, 0) * 100) + stored.extrasCents() + otherCents;
    BookingCharges counted = stored;
    counted.rooms = {RoomCharge::Amount(subCents - stored.extrasCents() - otherCents)};
    for (ExtraCharge &e : counted.extras)
        e.cents = ExtraCents(e.per, e.unitCents, e.quantity, nights);
    for (const TaxLine &t : TaxesByRate(counted, otherCents, rate))
        price.newTaxCents += t.taxCents;
    price.newTotalCents = counted.roomsCents() + counted.extrasCents() + otherCents + price.newTaxCents;
    price.charges = counted;
    price.charges.rooms.clear();
    return price;
}

void MoveStay(Database &db, const StayMove &move, bool takeNewPrice)
{
    Database::Transaction tx(db);
    const QString refusal = MoveRefusal(db, move);
    if (!refusal.isEmpty())
        throw StayRefused(refusal);
    const StoredStay stay = readStay(db, move.booking);
    const QDateTime from = movedTo(stay.from, move.arrival), to = movedTo(stay.to, move.departure);
    const MovePrice price = PriceOfMove(db, move);
    const bool otherRoom = move.toRoom != move.fromRoom;
    const bool otherDays = from != stay.from || to != stay.to;
    // Both changed: the link is let go while the dates change and made
    // again under its own key (the order of the booking's rooms kept), so
    // that neither the old room on the new days nor the new room on the old
    // days is asked of the guard.
    qint64 link = 0;
    if (otherRoom && otherDays) {
        link = db.execute(QStringLiteral("SELECT id FROM bookingroom WHERE bookingid = %1 AND roomid = %2")
                              .arg(move.booking)
                              .arg(move.fromRoom))
                   .value(0)
                   .toLongLong();
        db.execute(QStringLiteral("DELETE FROM bookingroom WHERE id = %1").arg(link));
    } else if (otherRoom) {
        db.execute(QStringLiteral("UPDATE bookingroom SET roomid = %1 WHERE bookingid = %2 AND roomid = %3")
                       .arg(move.toRoom)
                       .arg(move.booking)
                       .arg(move.fromRoom));
    }
    if (otherDays)
        db.execute(QStringLiteral("UPDATE booking SET FromDate = '%1', ToDate = '%2' WHERE ID = %3")
                       .arg(SqlText(RegionalDateTimeText(from)), SqlText(RegionalDateTimeText(to)))
                       .arg(move.booking));
    if (link != 0)
        db.execute(QStringLiteral("INSERT INTO bookingroom (id, bookingid, roomid) VALUES (%1, %2, %3)")
                       .arg(link)
                       .arg(move.booking)
                       .arg(move.toRoom));
    if (takeNewPrice && price.changes()) {
        db.execute(QStringLiteral("UPDATE booking SET SalesTax = %1, TotalPayable = %2 WHERE ID = %3")
                       .arg(QString::number(price.newTaxCents / 100.0, 'f', 2),
                            QString::number(price.newTotalCents / 100.0, 'f', 2))
                       .arg(move.booking));
        if (price.charges.priced)
            db.execute(QStringLiteral("UPDATE booking SET CostPerNight = %1 WHERE ID = %2")
                           .arg(QString::number(price.newCostCents / 100.0, 'f', 2))
                           .arg(move.booking));
        WriteCharges(db, move.booking, price.charges);
    } else if (otherRoom) {
        // The stored price stays with the stay, in its new room.
        db.execute(QStringLiteral("UPDATE roomprice SET roomid = %1 WHERE bookingid = %2 AND roomid = %3")
                       .arg(move.toRoom)
                       .arg(move.booking)
                       .arg(move.fromRoom));
    }
    tx.commit();
}

}  // namespace innkeld
