#include "reportsquery.h"

#include "booking/pricing.h"
#include "booking/registration.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "data/schema/bookingtables.h"

#include <QHash>
#include <QMap>

#include <tuple>

#include <algorithm>

namespace innkeld {

namespace {

// The bookings a report counts: with a guest, not being begun, holding
// their rooms (not cancelled, not a no-show).
const char *const kCounted = "b.CustomerID <> 0 AND NOT EXISTS (SELECT 1 FROM bookingdraft AS d WHERE d.bookingid = b.ID) "
                             "AND b.Status NOT IN ('cancelled', 'noshow')";

// The bookings cancelled or not arrived whose stay began in the period
// (through the index of statuses by arrival), with their latest change:
// ID, FromDate, ToDate, Status, CostPerNight, the rooms they released,
// the reason and the fee.
QString lostSql(const QDate &first, const QDate &last)
{
    return QStringLiteral("SELECT b.ID, b.FromDate, b.ToDate, b.Status, b.CostPerNight, (SELECT count(*) FROM releasedroom "
                          "AS r WHERE r.bookingid = b.ID), s.Reason, s.FeeCents FROM booking AS b LEFT JOIN bookingstatus "
                          "AS s ON s.id = (SELECT max(x.id) FROM bookingstatus AS x WHERE x.bookingid = b.ID) "
                          "WHERE b.Status IN ('cancelled', 'noshow') AND b.FromDate >= '%1' AND b.FromDate < '%2' "
                          "AND b.CustomerID <> 0")
        .arg(first.toString(Qt::ISODate), last.addDays(1).toString(Qt::ISODate));
}

QString stretchesSql(Engine engine, const QVector<std::pair<QDate, QDate>> &stretches)
{
    QStringList index, firsts, lasts, rows;
    for (int i = 0; i < stretches.size(); ++i) {
        const qint64 f = stretches[i].first.toJulianDay(), l = stretches[i].second.toJulianDay();
        index << QString::number(i);
        firsts << QString::number(f);
        lasts << QString::number(l);
        rows << QStringLiteral("SELECT %1 AS i, %2 AS f, %3 AS l").arg(i).arg(f).arg(l);
    }
    // (A server plans a union of a year's days slowly; it reads arrays.)
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("unnest(ARRAY[%1]::int[], ARRAY[%2]::int[], ARRAY[%3]::int[]) AS m (i, f, l)")
            .arg(index.join(QLatin1Char(',')), firsts.join(QLatin1Char(',')), lasts.join(QLatin1Char(',')));
    return QStringLiteral("(%1) AS m").arg(rows.join(QStringLiteral(" UNION ALL ")));
}

// The nights of the stay `s` (its first and last day) within the stretch m.
QString nightsIn(Engine engine)
{
    const bool server = engine == Engine::PostgreSQL;
    return QStringLiteral("(%1(s.lastday, m.l + 1) - %2(s.firstday, m.f))")
        .arg(server ? QStringLiteral("least") : QStringLiteral("min"), server ? QStringLiteral("greatest") : QStringLiteral("max"));
}

QString folded(const QString &country)
{
    QString key = country.toCaseFolded();
    key.remove(QLatin1Char(' '));
    return key;
}

}  // namespace

QVector<std::pair<QDate, QDate>> ReportStretches(const QDate &first, const QDate &last, ReportGrouping grouping)
{
    QVector<std::pair<QDate, QDate>> out;
    for (QDate day = first; day.isValid() && day <= last;) {
        QDate end = day;
        if (grouping == ReportGrouping::Week)
            end = day.addDays(7 - day.dayOfWeek());
        else if (grouping == ReportGrouping::Month)
            end = QDate(day.year(), day.month(), day.daysInMonth());
        end = std::min(end, last);
        out.append({day, end});
        day = end.addDays(1);
    }
    return out;
}

namespace {

// For each night of the period p0 .. p1 - 1 (Julian days), the sums of a
// count (rooms, guests) and of that count times a weight (a room's price)
// over the stays that hold it. The period's stays are found once by
// the stays index, with the rooms each booking holds, its cost per night
// and its party (columns firstday, lastday, r, cost, adults, kids of x);
// `stop` is the day after the last night of a stay that counts. The engine
// adds up, for each day, what begins to count that day and what stops; the
// nights follow by summing those in order, here. The stays arriving in the
// period add besides, on their arrival's day, the figures `arrived` (of
// the columns `extra` reads of the booking b: "expression AS name").
struct Nightly
{
    QVector<qint64> count;
    QVector<double> amount;
    QVector<QVector<double>> arrived;  // [figure][day]: on the day only
};

Nightly nightly(Database &db, qint64 p0, qint64 p1, const QString &count, const QString &weight, const QString &stop,
                const QStringList &arrived = {}, const QStringList &extra = {})
{
    const Engine engine = db.engineKind();
    const bool server = engine == Engine::PostgreSQL;
    const QString touching =
        StaysTouchingSql(engine, QStringLiteral("s"), QString::number(p0), QString::number(p1 - 1))
        + QStringLiteral(" AND s.lastday > %1").arg(p0);
    QString inner, outer;
    for (const QString &column : extra) {
        inner += QStringLiteral(", ") + column;
        outer += QStringLiteral(", b.") + column.section(QStringLiteral(" AS "), -1);
    }
    // (On a server each stay's booking is looked up by key apart: without
    // statistics it would read every booking.)
    const QString stays = server
        ? QStringLiteral("SELECT s.firstday, s.lastday, (SELECT count(*) FROM bookingroom AS l WHERE l.bookingid = s.id) "
                         "AS r, b.CostPerNight AS cost, b.NoAdults AS adults, b.NoKids AS kids%3 FROM booking_stay AS s "
                         "CROSS JOIN LATERAL (SELECT b.CostPerNight, b.NoAdults, b.NoKids%4 FROM booking AS b WHERE "
                         "b.ID = s.id AND %1 OFFSET 0) AS b WHERE %2")
              .arg(QLatin1String(kCounted), touching, outer, inner)
        : QStringLiteral("SELECT s.firstday, s.lastday, (SELECT count(*) FROM bookingroom AS l WHERE l.bookingid = s.id) "
                         "AS r, b.CostPerNight AS cost, b.NoAdults AS adults, b.NoKids AS kids%3 FROM booking_stay AS s "
                         "CROSS JOIN booking AS b WHERE %1 AND b.ID = s.id AND %2")
              .arg(touching, QLatin1String(kCounted), inner);
    const QString later = server ? QStringLiteral("greatest") : QStringLiteral("max");
    const QString sooner = server ? QStringLiteral("least") : QStringLiteral("min");
    // Each stay's first counted day, the day it stops counting, its count
    // and its amount (on a file, its weight: multiplied here, the count is
    // read once) and, for the stays arriving in the period, the figures of
    // its arrival.
    QString figures;
    for (int k = 0; k < arrived.size(); ++k)
        figures += QStringLiteral(", CASE WHEN x.firstday >= %1 THEN %2 ELSE 0 END AS a%3").arg(p0).arg(arrived[k]).arg(k);
    const QString y = QStringLiteral("SELECT %1(x.firstday, %3) AS d0, %2(%5, %4) AS d1, %6 AS c, %7 AS v%8 FROM x")
                          .arg(later, sooner, QString::number(p0), QString::number(p1), stop, count,
                               server ? QStringLiteral("(%1) * (%2)").arg(count, weight) : weight, figures);
    const qsizetype days = p1 - p0;
    QVector<qint64> begun(days + 1, 0);
    QVector<double> earned(days + 1, 0);
    Nightly out;
    out.arrived.fill(QVector<double>(days, 0), arrived.size());
    // What begins (or, negative, stops) to count on the Julian day `day`.
    const auto add = [&](qint64 day, qint64 c, double v) {
        day -= p0;
        if (day < 0 || day > days)
            return qsizetype(-1);
        begun[day] += c;
        earned[day] += v;
        return day < days ? qsizetype(day) : qsizetype(-1);
    };
    if (server) {
        // A server adds them up by day itself, and sends the days.
        QString begins, stops, sums;
        for (int k = 0; k < arrived.size(); ++k) {
            begins += QStringLiteral(", y.a%1 AS a%1").arg(k);
            stops += QStringLiteral(", 0 AS a%1").arg(k);
            sums += QStringLiteral(", sum(t.a%1)").arg(k);
        }
        // (A server would count each stay's rooms once for each use.)
        const QString sql =
            QStringLiteral("WITH x AS MATERIALIZED (%1), y AS (%2) SELECT t.d, sum(t.c), sum(t.v)%3 FROM (SELECT y.d0 AS d, "
                           "y.c AS c, y.v AS v%4 FROM y WHERE y.d1 > y.d0 UNION ALL SELECT y.d1 AS d, -y.c AS c, -y.v AS v%5 "
                           "FROM y WHERE y.d1 > y.d0) AS t GROUP BY t.d")
                .arg(stays, y, sums, begins, stops);
        for (Recordset r = db.query(sql); !r.eof(); r.moveNext())
            if (const qsizetype day = add(r.value(0).toLongLong(), r.value(1).toLongLong(), r.value(2).toDouble()); day >= 0)
                for (int k = 0; k < arrived.size(); ++k)
                    out.arrived[k][day] += r.value(3 + k).toDouble();
    } else {
        // A file gives each stay's figures, added up by day here: the
        // engine would keep them aside and sort twice as many rows to add
        // them up itself (a chain's month: 25 ms, against 12 so).
        RowReader r = db.readRows(QStringLiteral("WITH x AS (%1) SELECT * FROM (%2) WHERE d1 > d0").arg(stays, y));
        const auto number = [&r](int column) {
            return r.type(column) == RowReader::Type::Real ? r.real(column) : double(r.integer(column));
        };
        while (r.next()) {
            const double counted = number(2);
            const qint64 c = qRound64(counted);
            const double v = counted * number(3);
            if (const qsizetype day = add(r.integer(0), c, v); day >= 0)
                for (int k = 0; k < arrived.size(); ++k)
                    out.arrived[k][day] += number(4 + k);
            add(r.integer(1), -c, -v);
        }
    }
    out.count.resize(days);
    out.amount.resize(days);
    qint64 running = 0;
    double value = 0;
    for (qsizetype day = 0; day < days; ++day) {
        running += begun[day];
        value += earned[day];
        out.count[day] = running;
        out.amount[day] = value;
    }
    return out;
}

// The stretch of `stretches` that holds the Julian day `day`, from `from` on.
int stretchOf(const QVector<std::pair<QDate, QDate>> &stretches, qint64 day, int from)
{
    while (from < stretches.size() && stretches[from].second.toJulianDay() < day)
        ++from;
    return from;
}

QString isoDay(const QDate &day)
{
    return day.toString(Qt::ISODate);
}

// The row of each month `yyyy-MM` among month stretches.
QHash<QString, int> monthRows(const QVector<std::pair<QDate, QDate>> &months)
{
    QHash<QString, int> rows;
    for (int i = 0; i < months.size(); ++i)
        rows.insert(months[i].first.toString(QStringLiteral("yyyy-MM")), i);
    return rows;
}

}  // namespace

QVector<OccupancyRow> OccupancyReport(Database &db, const QDate &first, const QDate &last, ReportGrouping grouping)
{
    const QVector<std::pair<QDate, QDate>> stretches = ReportStretches(first, last, grouping);
    QVector<OccupancyRow> rows;
    if (stretches.isEmpty())
        return rows;
    const qint64 rooms = db.execute(QStringLiteral("SELECT count(*) FROM room")).value(0).toLongLong();
    for (const auto &[f, l] : stretches) {
        OccupancyRow row;
        row.first = f;
        row.last = l;
        row.roomsAvailable = rooms * (f.daysTo(l) + 1);
        rows << row;
    }
    const qint64 p0 = first.toJulianDay(), p1 = last.toJulianDay() + 1;
    const Nightly sold = nightly(db, p0, p1, QStringLiteral("x.r"), QStringLiteral("x.cost"), QStringLiteral("x.lastday"));
    int row = 0;
    for (qsizetype day = 0; day < sold.count.size(); ++day) {
        row = stretchOf(stretches, p0 + day, row);
        rows[row].roomNightsSold += sold.count[day];
        rows[row].revenue += sold.amount[day];
    }
    return rows;
}

QVector<RevenueRow> RevenueReport(Database &db, const QDate &first, const QDate &last)
{
    const QVector<std::pair<QDate, QDate>> months = ReportStretches(first, last, ReportGrouping::Month);
    QVector<RevenueRow> rows;
    if (months.isEmpty())
        return rows;
    for (const auto &[f, l] : months) {
        RevenueRow row;
        row.first = f;
        row.last = l;
        rows << row;
    }
    const Engine engine = db.engineKind();
    const bool server = engine == Engine::PostgreSQL;
    const QHash<QString, int> rowOf = monthRows(months);
    // The rooms' nights at their cost, in the months they fall in; with
    // the stays arriving in the period, their other charges and what they
    // still owed at the period's end, in the month of the arrival. (The
    // day is no condition of the payments' search: an engine without
    // statistics would read every payment before it for each booking.)
    const QString owed =
        QStringLiteral("round(b.TotalPayable * 100) - (SELECT coalesce(sum(CASE WHEN p.PaidOn <= '%1' THEN p.AmountCents "
                       "ELSE 0 END), 0) FROM payment AS p WHERE p.BookingID = b.ID) AS owed")
            .arg(isoDay(last));
    const qint64 p0 = first.toJulianDay(), p1 = last.toJulianDay() + 1;
    const Nightly sold = nightly(db, p0, p1, QStringLiteral("x.r"), QStringLiteral("x.cost"), QStringLiteral("x.lastday"),
                                 {QStringLiteral("x.other"), QStringLiteral("%1(x.owed, 0)").arg(server ? QStringLiteral("greatest")
                                                                                                     : QStringLiteral("max"))},
                                 {QStringLiteral("b.OtherCharges AS other"), owed});
    int at = 0;
    for (qsizetype day = 0; day < sold.count.size(); ++day) {
        at = stretchOf(months, p0 + day, at);
        rows[at].roomRevenue += sold.amount[day];
        rows[at].otherCharges += sold.arrived[0][day];
        rows[at].outstandingCents += qRound64(sold.arrived[1][day]);
    }
    // The cancellation fees, in the month of the arrival.
    for (Recordset r = db.query(lostSql(first, last)); !r.eof(); r.moveNext())
        if (const auto it = rowOf.find(DayOf(r.value(1)).toString(QStringLiteral("yyyy-MM"))); it != rowOf.end())
            if (r.text(3) == QLatin1String("cancelled"))
                rows[*it].feeCents += r.value(7).toLongLong();
    // The invoices and credit notes issued, in the month of their issue.
    // (Their sums by day, the days taken together here.)
    for (Recordset r = db.query(QStringLiteral("SELECT IssuedOn, TaxCents, TotalCents FROM invoiceday "
                                               "WHERE IssuedOn >= '%1' AND IssuedOn <= '%2'")
                                    .arg(isoDay(first), isoDay(last)));
         !r.eof(); r.moveNext())
        if (const auto it = rowOf.find(r.text(0).left(7)); it != rowOf.end()) {
            rows[*it].taxCents += r.value(1).toLongLong();
            rows[*it].invoicedCents += r.value(2).toLongLong();
        }
    // The payments received, by method, in the month of their day. (The
    // bookings left out are few: taken apart once rather than each
    // payment's booking looked up.)
    const QString paid = QStringLiteral(
        "SELECT p.PaidOn, p.Method, sum(p.AmountCents) FROM payment AS p WHERE p.PaidOn >= '%1' AND p.PaidOn <= '%2' "
        "AND p.BookingID NOT IN (SELECT d.bookingid FROM bookingdraft AS d) AND p.BookingID NOT IN (SELECT b.ID FROM "
        "booking AS b WHERE b.CustomerID = 0) GROUP BY p.PaidOn, p.Method");
    // (Grouped by the day in the order of the payments' index; the days
    // taken together here.)
    for (Recordset r = db.query(paid.arg(isoDay(first), isoDay(last))); !r.eof(); r.moveNext())
        if (const auto it = rowOf.find(r.text(0).left(7)); it != rowOf.end())
            rows[*it].paidCents[r.text(1).simplified()] += r.value(2).toLongLong();
    return rows;
}

QVector<CategoryRow> CategoryReport(Database &db, const QDate &first, const QDate &last)
{
    QVector<CategoryRow> out;
    if (!first.isValid() || !last.isValid() || last < first)
        return out;
    const RateCard card = ReadRateCard(db);
    QHash<RecordId, int> rowOf;  // category -> row
    for (const RateCategory &c : card.categories) {
        rowOf.insert(c.id, int(out.size()));
        out << CategoryRow{c.name};
    }
    QVector<RecordId> rooms;
    QHash<RecordId, int> roomRow;
    for (Recordset r = db.query(QStringLiteral("SELECT id FROM room ORDER BY id")); !r.eof(); r.moveNext()) {
        const RecordId room = r.value(0).toLongLong();
        rooms << room;
        const int row = rowOf.value(card.categoryOf(room).id, 0);
        roomRow.insert(room, row);
        ++out[row].rooms;
    }
    const qint64 p0 = first.toJulianDay(), p1 = last.toJulianDay() + 1;
    for (CategoryRow &c : out)
        c.roomsAvailable = c.rooms * (p1 - p0);
    if (rooms.isEmpty())
        return out;
    const Engine engine = db.engineKind();
    const QString touching = RoomStaysTouchingSql(engine, QStringLiteral("s"), QString::number(p0), QString::number(p1 - 1), rooms);
    const QString columns = QStringLiteral("l.roomid, s.firstday, s.lastday, b.CostPerNight, p.PriceCents");
    const QString joins = QStringLiteral("JOIN booking AS b ON b.ID = l.bookingid LEFT JOIN roomprice AS p ON p.bookingid = "
                                         "l.bookingid AND p.roomid = l.roomid ");
    // On a server each stay's link and booking are looked up by key.
    const QString sql = engine == Engine::PostgreSQL
        ? QStringLiteral("SELECT w.* FROM room_stay AS s CROSS JOIN LATERAL (SELECT %1 FROM bookingroom AS l %2 WHERE l.id = "
                         "s.id AND %3 OFFSET 0) AS w WHERE %4")
              .arg(columns, joins, QLatin1String(kCounted), touching)
        : QStringLiteral("SELECT %1 FROM room_stay AS s CROSS JOIN bookingroom AS l %2 WHERE %4 AND l.id = s.id AND %3")
              .arg(columns, joins, QLatin1String(kCounted), touching);
    for (Recordset r = db.query(sql); !r.eof(); r.moveNext()) {
        const qint64 from = r.value(1).toLongLong(), to = r.value(2).toLongLong();
        const qint64 nights = std::min(to, p1) - std::max(from, p0);
        if (nights <= 0 || to <= from)
            continue;
        CategoryRow &c = out[roomRow.value(r.value(0).toLongLong(), 0)];
        c.roomNightsSold += nights;
        c.revenueCents += r.value(4).isNull() ? r.value(3).toDouble() * 100.0 * double(nights)
                                              : r.value(4).toDouble() * double(nights) / double(to - from);
    }
    return out;
}

TaxesReportRows TaxesReport(Database &db, const QDate &first, const QDate &last, const TouristTax &tourist)
{
    TaxesReportRows out;
    const QVector<std::pair<QDate, QDate>> months = ReportStretches(first, last, ReportGrouping::Month);
    if (months.isEmpty())
        return out;
    // The sales tax as the invoices and credit notes issued show it, by rate.
    // (Their sums by day, the days of a month taken together here.)
    QMap<std::tuple<QString, QString, QString>, SalesTaxRow> sales;
    for (Recordset r = db.query(QStringLiteral("SELECT IssuedOn, TaxName, TaxRate, NetCents, TaxCents FROM invoiceday "
                                               "WHERE IssuedOn >= '%1' AND IssuedOn <= '%2'")
                                    .arg(isoDay(first), isoDay(last)));
         !r.eof(); r.moveNext()) {
        const auto add = [&](const QString &rate, qint64 net, qint64 tax) {
            SalesTaxRow &row = sales[{r.text(0).left(7), r.text(1), rate}];
            row.month = QDate::fromString(r.text(0).left(7) + QStringLiteral("-01"), Qt::ISODate);
            row.taxName = r.text(1);
            row.rate = rate;
            row.netCents += net;
            row.taxCents += tax;
        };
        if (!r.text(2).contains(QLatin1String(" + "))) {
            add(r.text(2), r.value(3).toLongLong(), r.value(4).toLongLong());
            continue;
        }
        // Invoices of several rates (a room and its breakfast): each
        // rate's net and tax as the invoices of the day stored them.
        for (Recordset i = db.query(QStringLiteral("SELECT Lines FROM invoice WHERE IssuedOn = '%1' AND TaxName = '%2' AND "
                                                   "TaxRate = '%3'")
                                        .arg(SqlText(r.text(0)), SqlText(r.text(1)), SqlText(r.text(2))));
             !i.eof(); i.moveNext())
            for (const QJsonValue &v : QJsonDocument::fromJson(i.text(0).toUtf8()).object().value(QStringLiteral("taxes")).toArray()) {
                const QJsonObject t = v.toObject();
                add(t.value(QStringLiteral("rate")).toString(), qint64(t.value(QStringLiteral("net")).toDouble()),
                    qint64(t.value(QStringLiteral("tax")).toDouble()));
            }
    }
    out.sales = sales.values().toVector();
    if (!tourist.setUp())
        return out;
    // The tourist tax: each guest's nights, the children under the age
    // free, at most the cap's first nights of a stay.
    const QString persons = tourist.freeUnderAge > 0 ? QStringLiteral("x.adults") : QStringLiteral("(x.adults + x.kids)");
    const bool server = db.engineKind() == Engine::PostgreSQL;
    const QString stop = tourist.capNights > 0
        ? QStringLiteral("%1(x.lastday, x.firstday + %2)").arg(server ? QStringLiteral("least") : QStringLiteral("min"))
              .arg(tourist.capNights)
        : QStringLiteral("x.lastday");
    const qint64 p0 = first.toJulianDay(), p1 = last.toJulianDay() + 1;
    const Nightly taxed = nightly(db, p0, p1, persons, QStringLiteral("0"), stop);
    for (const auto &[f, l] : months) {
        TouristTaxRow row;
        row.first = f;
        row.last = l;
        out.tourist << row;
    }
    int row = 0;
    for (qsizetype day = 0; day < taxed.count.size(); ++day) {
        row = stretchOf(months, p0 + day, row);
        out.tourist[row].personNights += taxed.count[day];
    }
    for (TouristTaxRow &r : out.tourist)
        r.cents = r.personNights * tourist.cents;
    return out;
}

QVector<CountryRow> GuestsByCountry(Database &db, const QDate &first, const QDate &last, const QString &houseCountry)
{
    return GuestsByCountry(db, first, last, QStringList{houseCountry});
}

QVector<CountryRow> GuestsByCountry(Database &db, const QDate &first, const QDate &last, const QStringList &houseCountry)
{
    const Engine engine = db.engineKind();
    const QVector<std::pair<QDate, QDate>> period{{first, last}};
    // Grouped by the spelling stored; the spellings are taken together here.
    const QString arriving = engine == Engine::PostgreSQL
        ? QStringLiteral("b.FromDate >= DATE '%1' AND b.FromDate < DATE '%2'")
        : QStringLiteral("b.FromDate >= '%1' AND b.FromDate < '%2'");
    const QString arrivals =
        arriving.arg(first.toString(Qt::ISODate),
                     first.daysTo(last) >= 0 ? last.addDays(1).toString(Qt::ISODate) : first.toString(Qt::ISODate));
    // The arrivals' figures, added up by the spelling stored on a server
    // (each arrival's stay and customer looked up by key); each arrival's on
    // a file, added up here, its stay's days read from its dates (the
    // engine's grouping kept every row aside to sort it first, and the stays
    // index is slow to look up by key: a chain's month, 25 ms against 10).
    const bool server = engine == Engine::PostgreSQL;
    const QString sql = server
        ? QStringLiteral("SELECT coalesce(c.Country, ''), count(*), sum(b.NoAdults + b.NoKids), sum(%1) FROM %2 CROSS JOIN "
                         "booking AS b CROSS JOIN LATERAL (SELECT s.firstday, s.lastday FROM booking_stay AS s WHERE "
                         "s.id = b.ID OFFSET 0) AS s CROSS JOIN LATERAL (SELECT c.Country FROM customer AS c WHERE "
                         "c.ID = b.CustomerID OFFSET 0) AS c WHERE %3 AND %4 GROUP BY coalesce(c.Country, '')")
              .arg(nightsIn(engine), stretchesSql(engine, period), arrivals, QLatin1String(kCounted))
        : QStringLiteral("SELECT coalesce(s.Country, ''), s.persons, %1 FROM %2 CROSS JOIN (SELECT c.Country, b.NoAdults + "
                         "b.NoKids AS persons, min(%5, %6) AS firstday, max(%5, %6) AS lastday FROM booking AS b CROSS JOIN "
                         "customer AS c WHERE %3 AND b.ToDate IS NOT NULL AND c.ID = b.CustomerID AND %4) AS s")
              .arg(nightsIn(engine), stretchesSql(engine, period), arrivals, QLatin1String(kCounted),
                   ManyDayNumbersSql(engine, QStringLiteral("b.FromDate")),
                   ManyDayNumbersSql(engine, QStringLiteral("b.ToDate")));
    struct Spelled
    {
        QString spelling;
        qint64 arrivals;
    };
    QHash<QString, CountryRow> byKey;
    QHash<QString, QVector<Spelled>> spellings;
    const auto add = [&](const QString &stored, qint64 arrivals, double guests, qint64 nights) {
        const QString spelling = stored.simplified();
        CountryRow &row = byKey[folded(spelling)];
        row.arrivals += arrivals;
        row.guests += guests;
        row.nights += std::max<qint64>(0, nights);
        // (A companion's country is named as the program names it, once.)
        if (arrivals > 0 || !spellings.contains(folded(spelling)))
            spellings[folded(spelling)].append({stored, arrivals});
    };
    if (server) {
        for (Recordset r = db.query(sql); !r.eof(); r.moveNext())
            add(r.text(0), r.value(1).toLongLong(), r.value(2).toDouble(), r.value(3).toLongLong());
    } else {
        struct Sums
        {
            qint64 arrivals = 0;
            double guests = 0;
            qint64 nights = 0;
        };
        QHash<QByteArray, Sums> bySpelling;
        RowReader r = db.readRows(sql);
        while (r.next()) {
            Sums &sums = bySpelling[r.text(0).toByteArray()];
            sums.arrivals += 1;
            sums.guests += r.type(1) == RowReader::Type::Real ? r.real(1) : double(r.integer(1));
            sums.nights += r.integer(2);
        }
        for (auto it = bySpelling.cbegin(); it != bySpelling.cend(); ++it)
            add(QString::fromUtf8(it.key()), it->arrivals, it->guests, it->nights);
    }
    // The companions registered with a nationality count in their own
    // country, as official statistics ask: a guest taken from their
    // booking's country, with the nights of their stay.
    const qint64 p0 = first.toJulianDay(), p1 = last.toJulianDay() + 1;
    for (Recordset r = db.query(QStringLiteral("SELECT cp.Nationality, coalesce(c.Country, ''), %1, %2 FROM companion AS cp "
                                               "JOIN booking AS b ON b.ID = cp.bookingid LEFT JOIN customer AS c ON c.ID = "
                                               "b.CustomerID WHERE cp.Nationality <> '' AND b.ToDate IS NOT NULL AND %3 AND %4")
                                    .arg(DayNumberSql(engine, QStringLiteral("b.FromDate")),
                                         DayNumberSql(engine, QStringLiteral("b.ToDate")), arrivals, QLatin1String(kCounted)));
         !r.eof(); r.moveNext()) {
        const qint64 from = std::min(r.value(2).toLongLong(), r.value(3).toLongLong());
        const qint64 to = std::max(r.value(2).toLongLong(), r.value(3).toLongLong());
        const qint64 nights = std::max<qint64>(0, std::min(to, p1) - std::max(from, p0));
        add(r.text(1), 0, -1, 0);
        add(CountryName(r.text(0)), 0, 1, nights);
    }
    QVector<CountryRow> rows;
    for (auto it = byKey.begin(); it != byKey.end(); ++it) {
        QVector<Spelled> &spelled = spellings[it.key()];
        std::sort(spelled.begin(), spelled.end(), [](const Spelled &a, const Spelled &b) {
            if (a.arrivals != b.arrivals)
                return a.arrivals > b.arrivals;
            // As many each: the one written as a name is, capital first.
            const QString as = a.spelling.simplified(), bs = b.spelling.simplified();
            return as != bs ? as < bs : a.spelling < b.spelling;
        });
        for (const Spelled &s : spelled)
            it->spellings << s.spelling;
        it->country = spelled.first().spelling.simplified();
        rows << *it;
    }
    QStringList home;
    for (const QString &name : houseCountry)
        if (!name.simplified().isEmpty())
            home << folded(name.simplified());
    std::sort(rows.begin(), rows.end(), [&](const CountryRow &a, const CountryRow &b) {
        const bool aHome = home.contains(folded(a.country)), bHome = home.contains(folded(b.country));
        if (aHome != bHome)
            return aHome;
        return a.arrivals != b.arrivals ? a.arrivals > b.arrivals : a.country < b.country;
    });
    return rows;
}
CancellationsRows CancellationsReport(Database &db, const QDate &first, const QDate &last)
{
    CancellationsRows out;
    const QVector<std::pair<QDate, QDate>> months = ReportStretches(first, last, ReportGrouping::Month);
    for (const auto &[f, l] : months) {
        LostRow row;
        row.first = f;
        row.last = l;
        out.months << row;
    }
    const QHash<QString, int> rowOf = monthRows(months);
    for (Recordset r = db.query(lostSql(first, last)); !r.eof(); r.moveNext()) {
        const QDate from = DayOf(r.value(1)), to = DayOf(r.value(2));
        const auto it = rowOf.find(from.toString(QStringLiteral("yyyy-MM")));
        if (it == rowOf.end())
            continue;
        const bool noShow = r.text(3) == QLatin1String("noshow");
        const qint64 nights = std::max<qint64>(1, from.daysTo(to)) * std::max<qint64>(1, r.value(5).toLongLong());
        const double lost = double(nights) * r.value(4).toDouble();
        const qint64 fee = noShow ? 0 : r.value(7).toLongLong();
        const QString reason = noShow ? QStringLiteral("noshow") : r.text(6);
        for (LostRow *row : {&out.months[*it], &out.reasons[reason]}) {
            (noShow ? row->noShows : row->cancelled) += 1;
            row->nights += nights;
            row->revenueLost += lost;
            row->feeCents += fee;
        }
    }
    return out;
}

}  // namespace innkeld
