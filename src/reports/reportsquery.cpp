#include "reportsquery.h"

#include "data/schema/bookingtables.h"

#include <QHash>

#include <algorithm>

namespace innkeld {

namespace {

// The bookings a report counts: with a guest, not being begun.
const char *const kCounted = "b.CustomerID <> 0 AND NOT EXISTS (SELECT 1 FROM bookingdraft AS d WHERE d.bookingid = b.ID)";

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
    const Engine engine = db.engineKind();
    const bool server = engine == Engine::PostgreSQL;
    // The period's stays found once by the stays index, with the rooms each
    // booking holds and its cost per night. The engine adds up, for each
    // day, what begins to be sold that day (a stay's first night in the
    // period) and what stops (its departure, or the period's end); the
    // nights of each day follow by summing those in order, here.
    const qint64 p0 = first.toJulianDay(), p1 = last.toJulianDay() + 1;  // the nights are p0 .. p1 - 1
    const QString touching =
        StaysTouchingSql(engine, QStringLiteral("s"), QString::number(p0), QString::number(p1 - 1))
        + QStringLiteral(" AND s.lastday > %1").arg(p0);
    // (On a server each stay's booking is looked up by key apart: without
    // statistics it would read every booking.)
    const QString stays = server
        ? QStringLiteral("SELECT s.firstday, s.lastday, (SELECT count(*) FROM bookingroom AS l WHERE l.bookingid = s.id) "
                         "AS r, b.CostPerNight AS cost FROM booking_stay AS s CROSS JOIN LATERAL (SELECT b.CostPerNight "
                         "FROM booking AS b WHERE b.ID = s.id AND %1 OFFSET 0) AS b WHERE %2")
              .arg(QLatin1String(kCounted), touching)
        : QStringLiteral("SELECT s.firstday, s.lastday, (SELECT count(*) FROM bookingroom AS l WHERE l.bookingid = s.id) "
                         "AS r, b.CostPerNight AS cost FROM booking_stay AS s CROSS JOIN booking AS b WHERE %1 AND "
                         "b.ID = s.id AND %2")
              .arg(touching, QLatin1String(kCounted));
    const QString later = server ? QStringLiteral("greatest") : QStringLiteral("max");
    const QString sooner = server ? QStringLiteral("least") : QStringLiteral("min");
    const QString sql =
        QStringLiteral("WITH x AS (%1) SELECT t.d, sum(t.r), sum(t.v) FROM (SELECT %2(x.firstday, %4) AS d, x.r AS r, "
                       "x.r * x.cost AS v FROM x UNION ALL SELECT %3(x.lastday, %5) AS d, -x.r AS r, -x.r * x.cost AS v "
                       "FROM x) AS t GROUP BY t.d")
            .arg(stays, later, sooner, QString::number(p0), QString::number(p1));
    const qsizetype days = p1 - p0;
    QVector<qint64> sold(days + 1, 0);
    QVector<double> earned(days + 1, 0);
    for (Recordset r = db.query(sql); !r.eof(); r.moveNext()) {
        const qint64 day = r.value(0).toLongLong() - p0;
        if (day < 0 || day > days)
            continue;
        sold[day] += r.value(1).toLongLong();
        earned[day] += r.value(2).toDouble();
    }
    qint64 running = 0;
    double revenue = 0;
    int row = 0;
    for (qsizetype day = 0; day < days; ++day) {
        running += sold[day];
        revenue += earned[day];
        while (row < rows.size() && rows[row].last.toJulianDay() < p0 + day)
            ++row;
        rows[row].roomNightsSold += running;
        rows[row].revenue += revenue;
    }
    return rows;
}

QVector<CountryRow> GuestsByCountry(Database &db, const QDate &first, const QDate &last, const QString &houseCountry)
{
    const Engine engine = db.engineKind();
    const QVector<std::pair<QDate, QDate>> period{{first, last}};
    // Grouped by the spelling stored; the spellings are taken together here.
    const QString arriving = engine == Engine::PostgreSQL
        ? QStringLiteral("b.FromDate >= DATE '%1' AND b.FromDate < DATE '%2'")
        : QStringLiteral("b.FromDate >= '%1' AND b.FromDate < '%2'");
    // (On a server each arrival's stay and customer are looked up by key.)
    const QString sql =
        (engine == Engine::PostgreSQL
        ? QStringLiteral("SELECT coalesce(c.Country, ''), count(*), sum(b.NoAdults + b.NoKids), sum(%1) FROM %2 CROSS JOIN "
                         "booking AS b CROSS JOIN LATERAL (SELECT s.firstday, s.lastday FROM booking_stay AS s WHERE "
                         "s.id = b.ID OFFSET 0) AS s CROSS JOIN LATERAL (SELECT c.Country FROM customer AS c WHERE "
                         "c.ID = b.CustomerID OFFSET 0) AS c WHERE %3 AND %4 GROUP BY coalesce(c.Country, '')")
        : QStringLiteral("SELECT coalesce(c.Country, ''), count(*), sum(b.NoAdults + b.NoKids), sum(%1) FROM %2 CROSS JOIN "
                         "booking AS b CROSS JOIN booking_stay AS s CROSS JOIN customer AS c WHERE %3 AND s.id = b.ID AND "
                         "c.ID = b.CustomerID AND %4 GROUP BY coalesce(c.Country, '')"))
            .arg(nightsIn(engine), stretchesSql(engine, period),
                 arriving.arg(first.toString(Qt::ISODate), first.daysTo(last) >= 0 ? last.addDays(1).toString(Qt::ISODate)
                                                                                    : first.toString(Qt::ISODate)),
                 QLatin1String(kCounted));
    struct Spelled
    {
        QString spelling;
        qint64 arrivals;
    };
    QHash<QString, CountryRow> byKey;
    QHash<QString, QVector<Spelled>> spellings;
    for (Recordset r = db.query(sql); !r.eof(); r.moveNext()) {
        const QString spelling = r.text(0).simplified();
        CountryRow &row = byKey[folded(spelling)];
        row.arrivals += r.value(1).toLongLong();
        row.guests += r.value(2).toDouble();
        row.nights += std::max<qint64>(0, r.value(3).toLongLong());
        spellings[folded(spelling)].append({r.text(0), r.value(1).toLongLong()});
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
    const QString home = folded(houseCountry.simplified());
    std::sort(rows.begin(), rows.end(), [&](const CountryRow &a, const CountryRow &b) {
        const bool aHome = !home.isEmpty() && folded(a.country) == home, bHome = !home.isEmpty() && folded(b.country) == home;
        if (aHome != bHome)
            return aHome;
        return a.arrivals != b.arrivals ? a.arrivals > b.arrivals : a.country < b.country;
    });
    return rows;
}

QString ReportCountedLine()
{
    return QStringLiteral("Counted: the bookings with a guest, each stay's nights in the days they fall in; bookings "
                          "still being begun are left out.");
}

}  // namespace innkeld
