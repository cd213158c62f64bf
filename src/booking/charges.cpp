#include "charges.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace innkeld {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Charges)
};

QString literal(const QString &text)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, false)) + QLatin1Char('\'');
}

QString linesJson(const QVector<PriceLine> &lines)
{
    QJsonArray out;
    for (const PriceLine &l : lines)
        out.append(QJsonObject{{QStringLiteral("kind"), int(l.kind)},
                               {QStringLiteral("label"), l.label},
                               {QStringLiteral("count"), l.count},
                               {QStringLiteral("unit"), double(l.unitCents)},
                               {QStringLiteral("amount"), double(l.cents)}});
    return QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact));
}

QVector<PriceLine> linesOf(const QString &json)
{
    QVector<PriceLine> lines;
    for (const QJsonValue &v : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonObject o = v.toObject();
        const int kind = o.value(QStringLiteral("kind")).toInt();
        if (kind < PriceLine::Nights || kind > PriceLine::LengthOfStay)
            continue;
        lines << PriceLine{PriceLine::Kind(kind), o.value(QStringLiteral("label")).toString(),
                           o.value(QStringLiteral("count")).toInt(), qint64(o.value(QStringLiteral("unit")).toDouble()),
                           qint64(o.value(QStringLiteral("amount")).toDouble())};
    }
    return lines;
}

// A rate as hundredths of a percent ("7.5" is 750); -1 when it is none.
qint64 basisPoints(const QString &rate)
{
    bool ok = false;
    const double r = rate.trimmed().toDouble(&ok);  // "." as the terms store it, whatever the region
    return ok && r >= 0 && r <= 1000 ? std::llround(r * 100.0) : -1;
}

}  // namespace

const QStringList &ExtraPers()
{
    static const QStringList pers{QStringLiteral("person-night"), QStringLiteral("night"), QStringLiteral("stay")};
    return pers;
}

QString PerText(const QString &per)
{
    if (per == QLatin1String("person-night"))
        return Words::tr("a person and night");
    if (per == QLatin1String("night"))
        return Words::tr("a night");
    return Words::tr("a stay");
}

QVector<Extra> ReadExtras(Database &db)
{
    QVector<Extra> extras;
    for (Recordset r = db.execute(QStringLiteral("SELECT id, Name, PriceCents, Per, TaxPercent FROM extra ORDER BY Position, id"));
         !r.eof(); r.moveNext())
        extras << Extra{r.value(0).toLongLong(), r.text(1), r.value(2).toLongLong(), r.text(3), r.text(4)};
    return extras;
}

QString ExtrasProblem(const QVector<Extra> &extras, int *row)
{
    QSet<QString> names;
    for (int i = 0; i < extras.size(); ++i) {
        const Extra &e = extras.at(i);
        if (row)
            *row = i;
        if (e.name.trimmed().isEmpty())
            return Words::tr("Each extra needs a name.");
        if (names.contains(e.name.trimmed().toCaseFolded()))
            return Words::tr("There are two extras named %1: give each its own name.").arg(e.name.trimmed());
        names.insert(e.name.trimmed().toCaseFolded());
        if (e.priceCents < 0)
            return Words::tr("The price of %1 cannot be below nothing.").arg(e.name.trimmed());
        if (basisPoints(e.taxPercent) < 0)
            return Words::tr("The tax rate of %1 is not a percentage.").arg(e.name.trimmed());
        if (!ExtraPers().contains(e.per))
            return Words::tr("Say how %1 is charged.").arg(e.name.trimmed());
    }
    if (row)
        *row = -1;
    return QString();
}

void WriteExtras(Database &db, const QVector<Extra> &extras)
{
    if (const QString problem = ExtrasProblem(extras); !problem.isEmpty())
        throw DbError(problem);
    Database::Transaction tx(db);
    QStringList kept;
    for (const Extra &e : extras)
        if (e.id != 0)
            kept << QString::number(e.id);
    db.execute(QStringLiteral("DELETE FROM extra") + (kept.isEmpty() ? QString() : QStringLiteral(" WHERE id NOT IN (%1)").arg(kept.join(QLatin1Char(',')))));
    // Names move between rows: each is set aside before they are written.
    db.execute(QStringLiteral("UPDATE extra SET Name = '~' || id"));
    for (int i = 0; i < extras.size(); ++i) {
        const Extra &e = extras.at(i);
        const QString values = QStringLiteral("%1, %2, %3, %4, %5")
                                   .arg(literal(e.name.trimmed()))
                                   .arg(i)
                                   .arg(e.priceCents)
                                   .arg(literal(e.per), literal(QString::number(double(basisPoints(e.taxPercent)) / 100.0, 'g', 15)));
        if (e.id != 0 && !db.execute(QStringLiteral("SELECT 1 FROM extra WHERE id = %1").arg(e.id)).eof())
            db.execute(QStringLiteral("UPDATE extra SET (Name, Position, PriceCents, Per, TaxPercent) = (%1) WHERE id = %2")
                           .arg(values)
                           .arg(e.id));
        else
            db.execute(QStringLiteral("INSERT INTO extra (Name, Position, PriceCents, Per, TaxPercent) VALUES (%1)").arg(values));
    }
    tx.commit();
}

qint64 ExtraCents(const QString &per, qint64 unitCents, int quantity, int nights)
{
    const qint64 times = per == QLatin1String("stay") ? 1 : std::max(0, nights);
    return unitCents * quantity * times;
}

qint64 BookingCharges::roomsCents() const
{
    qint64 sum = 0;
    for (const RoomCharge &r : rooms)
        sum += r.cents;
    return sum;
}

qint64 BookingCharges::extrasCents() const
{
    qint64 sum = 0;
    for (const ExtraCharge &e : extras)
        sum += e.cents;
    return sum;
}

QStringList BookingCharges::warnings() const
{
    QStringList out;
    for (const RoomCharge &r : rooms)
        for (const QString &w : r.warnings)
            out << (rooms.size() > 1 ? Words::tr("%1: %2").arg(r.name, w) : w);
    return out;
}

BookingCharges ReadCharges(Database &db, RecordId bookingId)
{
    BookingCharges charges;
    for (Recordset r = db.execute(QStringLiteral("SELECT br.roomid, room.Name, p.PriceCents, p.RateCents, p.Lines, "
                                                 "p.OverrideBy, p.OverrideAt FROM bookingroom AS br JOIN room ON room.id "
                                                 "= br.roomid LEFT JOIN roomprice AS p ON p.bookingid = br.bookingid AND "
                                                 "p.roomid = br.roomid WHERE br.bookingid = %1 ORDER BY br.id")
                                      .arg(bookingId));
         !r.eof(); r.moveNext()) {
        RoomCharge room;
        room.room = r.value(0).toLongLong();
        room.name = r.text(1);
        if (!r.value(2).isNull()) {
            charges.priced = true;
            room.cents = r.value(2).toLongLong();
            room.rateCents = r.value(3).toLongLong();
            room.lines = linesOf(r.text(4));
            room.byHand = !r.value(6).isNull();
            room.overrideBy = r.text(5);
            room.overrideAt = QDateTime::fromString(r.text(6), Qt::ISODate);
        }
        charges.rooms << room;
    }
    for (Recordset r = db.execute(QStringLiteral("SELECT extraid, Name, Per, Quantity, UnitCents, Cents, TaxPercent FROM "
                                                 "bookingextra WHERE bookingid = %1 ORDER BY Position")
                                      .arg(bookingId));
         !r.eof(); r.moveNext())
        charges.extras << ExtraCharge{r.value(0).toLongLong(), r.text(1), r.text(2), r.value(3).toInt(),
                                      r.value(4).toLongLong(), r.value(5).toLongLong(), r.text(6)};
    return charges;
}

PricedStay ReadPricedStay(Database &db, RecordId bookingId)
{
    PricedStay stay;
    const Recordset b = db.execute(QStringLiteral("SELECT FromDate, ToDate, NoAdults, NoKids FROM booking WHERE ID = %1").arg(bookingId));
    if (b.eof())
        return stay;
    stay.arrival = b.value(0).toDateTime().date();
    stay.departure = b.value(1).toDateTime().date();
    stay.adults = int(b.value(2).toDouble());
    stay.children = int(b.value(3).toDouble());
    for (Recordset r = db.execute(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1 ORDER BY id").arg(bookingId));
         !r.eof(); r.moveNext())
        stay.rooms << r.value(0).toLongLong();
    return stay;
}

BookingCharges PriceRooms(const RateCard &card, const QVector<std::pair<RecordId, QString>> &rooms,
                          const QDate &arrival, const QDate &departure, int adults, int children)
{
    BookingCharges charges;
    charges.priced = true;
    const int n = int(rooms.size());
    QVector<int> a(n, 0), c(n, 0);
    QVector<RoomBeds> beds;
    for (const auto &room : rooms)
        beds << card.bedsOf(room.first);
    // The adults in the standard beds, then in the rest the rooms take;
    // the children likewise in what the adults left.
    int left = std::max(0, adults);
    for (int i = 0; i < n && left > 0; ++i) {
        a[i] = std::min(left, std::min(beds[i].standard, beds[i].maxAdults));
        left -= a[i];
    }
    for (int i = 0; i < n && left > 0; ++i) {
        const int more = std::min(left, std::max(0, beds[i].maxAdults - a[i]));
        a[i] += more;
        left -= more;
    }
    if (n > 0)
        a[n - 1] += left;
    left = std::max(0, children);
    for (int i = 0; i < n && left > 0; ++i) {
        c[i] = std::min(left, std::min(std::max(0, beds[i].standard - a[i]), beds[i].maxChildren));
        left -= c[i];
    }
    for (int i = 0; i < n && left > 0; ++i) {
        const int more = std::min(left, std::max(0, beds[i].maxChildren - c[i]));
        c[i] += more;
        left -= more;
    }
    if (n > 0)
        c[n - 1] += left;
    for (int i = 0; i < n; ++i) {
        const StayPrice price = PriceStay(card, rooms.at(i).first, arrival, departure, a[i], c[i]);
        RoomCharge room;
        room.room = rooms.at(i).first;
        room.name = rooms.at(i).second;
        room.cents = room.rateCents = price.totalCents;
        room.lines = price.lines;
        room.warnings = price.warnings;
        charges.rooms << room;
    }
    return charges;
}

void WriteCharges(Database &db, RecordId bookingId, const BookingCharges &charges)
{
    db.execute(QStringLiteral("DELETE FROM roomprice WHERE bookingid = %1").arg(bookingId));
    db.execute(QStringLiteral("DELETE FROM bookingextra WHERE bookingid = %1").arg(bookingId));
    for (const RoomCharge &r : charges.priced ? charges.rooms : QVector<RoomCharge>())
        db.execute(QStringLiteral("INSERT INTO roomprice (bookingid, roomid, PriceCents, RateCents, Lines, OverrideBy, "
                                  "OverrideAt) VALUES (%1, %2, %3, %4, %5, %6, %7)")
                       .arg(bookingId)
                       .arg(r.room)
                       .arg(r.cents)
                       .arg(r.rateCents)
                       .arg(literal(linesJson(r.lines)),
                            r.overridden() ? literal(r.overrideBy.left(200)) : QStringLiteral("NULL"),
                            r.overridden() ? literal(r.overrideAt.toString(Qt::ISODate)) : QStringLiteral("NULL")));
    for (int i = 0; i < charges.extras.size(); ++i) {
        const ExtraCharge &e = charges.extras.at(i);
        db.execute(QStringLiteral("INSERT INTO bookingextra (bookingid, Position, extraid, Name, Per, Quantity, UnitCents, "
                                  "Cents, TaxPercent) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                       .arg(bookingId)
                       .arg(i)
                       .arg(e.extra ? QString::number(e.extra) : QStringLiteral("NULL"))
                       .arg(literal(e.name), literal(e.per))
                       .arg(e.quantity)
                       .arg(e.unitCents)
                       .arg(e.cents)
                       .arg(literal(e.taxPercent)));
    }
}

qint64 TaxCents(qint64 netCents, const QString &ratePercent)
{
    const qint64 bp = std::max<qint64>(0, basisPoints(ratePercent));
    const qint64 scaled = netCents * bp;
    return scaled >= 0 ? (scaled + 5000) / 10000 : -((-scaled + 5000) / 10000);
}

QVector<TaxLine> TaxesByRate(const BookingCharges &charges, qint64 otherCents, const QString &roomRate)
{
    QVector<TaxLine> out;
    const auto add = [&out](const QString &rate, qint64 cents) {
        const qint64 bp = basisPoints(rate);
        for (TaxLine &t : out)
            if (basisPoints(t.rate) == bp) {
                t.netCents += cents;
                return;
            }
        out << TaxLine{rate, cents, 0};
    };
    add(roomRate, charges.roomsCents() + otherCents);
    for (const ExtraCharge &e : charges.extras)
        add(e.taxPercent, e.cents);
    for (TaxLine &t : out)
        t.taxCents = TaxCents(t.netCents, t.rate);
    return out;
}

}  // namespace innkeld
