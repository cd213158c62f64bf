#include "reportsquery.h"

#include "data/schema/bookingtables.h"

#include <QHash>

#include <algorithm>

namespace innkeld {

namespace {

// The bookings a report counts: with a guest, not being begun.
const char *const kCounted = "b.CustomerID <> 0 AND NOT EXISTS (SELECT 1 FROM bookingdraft AS d WHERE d.bookingid = b.ID)";

QString stretchesSql(const QVector<std::pair<QDate, QDate>> &stretches)
{
    QStringList rows;
    for (int i = 0; i < stretches.size(); ++i)
        rows << QStringLiteral("SELECT %1 AS i, %2 AS f, %3 AS l").arg(i).arg(stretches[i].first.toJulianDay()).arg(stretches[i].second.toJulianDay());
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
    // Each stretch's stays found by the stays index (on a server, looked up
    // stretch by stretch); their nights in it times the rooms each holds.
    const QString touching =
        StaysTouchingSql(engine, QStringLiteral("s"), QStringLiteral("m.f"), QStringLiteral("m.l")) + QStringLiteral(" AND s.lastday > m.f");
    const QString stays = engine == Engine::PostgreSQL
        ? QStringLiteral("CROSS JOIN LATERAL (SELECT s.id, s.firstday, s.lastday FROM booking_stay AS s WHERE %1 "
                         "OFFSET 0) AS s").arg(touching)
        : QStringLiteral("CROSS JOIN booking_stay AS s");
    const QString sql =
        QStringLiteral("SELECT t.i, sum(t.n * t.r), sum(t.n * t.r * t.cost) FROM (SELECT m.i AS i, %1 AS n, (SELECT "
                       "count(*) FROM bookingroom AS l WHERE l.bookingid = s.id) AS r, b.CostPerNight AS cost FROM %2 %3 "
                       "CROSS JOIN booking AS b WHERE %4 AND b.ID = s.id AND %5) AS t GROUP BY t.i")
            .arg(nightsIn(engine), stretchesSql(stretches), stays,
                 engine == Engine::PostgreSQL ? QStringLiteral("1 = 1") : touching, QLatin1String(kCounted));
    for (Recordset r = db.query(sql); !r.eof(); r.moveNext()) {
        OccupancyRow &row = rows[r.value(0).toInt()];
        row.roomNightsSold = r.value(1).toLongLong();
        row.revenue = r.value(2).toDouble();
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
    const QString sql =
        QStringLiteral("SELECT coalesce(c.Country, ''), count(*), sum(b.NoAdults + b.NoKids), sum(%1) FROM %2 CROSS JOIN "
                       "booking AS b CROSS JOIN booking_stay AS s CROSS JOIN customer AS c WHERE %3 AND s.id = b.ID AND "
                       "c.ID = b.CustomerID AND %4 GROUP BY coalesce(c.Country, '')")
            .arg(nightsIn(engine), stretchesSql(period),
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
