#include "houserules.h"

#include "bookingtables.h"

#include <QCoreApplication>

#include <QDate>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <tuple>

namespace innkeld {

bool DepartureDayFree(Database &db)
{
    Recordset rs = db.execute(QStringLiteral("SELECT DepartureDayFree FROM houserules WHERE id = 1"));
    return !rs.eof() && rs.value(0).toLongLong() == 1;
}

void SetDepartureDayFree(Database &db, bool free)
{
    Database::Transaction tx(db);
    if (db.onServer())
        db.query(QStringLiteral("SELECT innkeld_lock_stays()"));
    db.execute(QStringLiteral("DELETE FROM houserules"));
    db.execute(QStringLiteral("INSERT INTO houserules (id, DepartureDayFree) VALUES (1, %1)").arg(free ? 1 : 0));
    tx.commit();
}

SchemaPart HouseRulesPart()
{
    // A database made before the rules gets them, the rule off.
    return TablesPart(QCoreApplication::translate("Upgrade", "Adding the house's rules"), {QStringLiteral("CREATE TABLE houserules (id INTEGER PRIMARY KEY CHECK (id = 1), "
                                      "DepartureDayFree INTEGER NOT NULL DEFAULT 0 CHECK (DepartureDayFree IN (0, 1)))"),
                       QStringLiteral("INSERT INTO houserules (id, DepartureDayFree) VALUES (1, 0)")},
                      QStringLiteral("houserules"));
}

QString DepartureDayFreeSql()
{
    // A table without its row (removed by hand) is the rule off.
    return QStringLiteral("coalesce((SELECT DepartureDayFree FROM houserules WHERE id = 1), 0) = 1");
}

bool ReadStoredStays(Database &db, StoredStays &out, bool describeMeetings,
                     const std::function<bool(qint64 done, qint64 total)> &progress)
{
    // The pairs of links of one room whose stays share a day, found by one
    // pass over each room's stays in the order of their first days (a stay
    // meets only those that have not ended before it starts). Those that
    // share a night (StaysShareNightSql) are then judged by the rule in
    // force; the others meet on a day.
    struct Stay
    {
        qint64 booking, first, last;
    };
    struct Pair
    {
        qint64 room;
        Stay one, other;  // one.booking < other.booking
    };
    const auto order = [](const Pair &a, const Pair &b) {
        return std::tie(a.one.booking, a.other.booking, a.room) < std::tie(b.one.booking, b.other.booking, b.room);
    };
    const auto same = [](const Pair &a, const Pair &b) {
        return a.one.booking == b.one.booking && a.other.booking == b.other.booking && a.room == b.room;
    };
    const qint64 total = db.execute(QStringLiteral("SELECT count(*) FROM bookingroom")).value(0).toLongLong();
    QVector<Pair> nights, meetings;
    {
        RowReader row = db.read(QStringLiteral("SELECT x.roomid, s.id, s.firstday, s.lastday FROM bookingroom AS x "
                                               "JOIN booking_stay AS s ON s.id = x.bookingid "
                                               "ORDER BY x.roomid, s.firstday, s.id"));
        qint64 room = 0, done = 0;
        QVector<Stay> open;
        while (row.next()) {
            if (progress && ++done % 4096 == 0 && !progress(done, total))
                return false;
            const qint64 r = row.integer(0);
            const Stay stay{row.integer(1), row.integer(2), row.integer(3)};
            if (open.isEmpty() || r != room)
                open.clear();
            room = r;
            open.erase(std::remove_if(open.begin(), open.end(), [&](const Stay &o) { return o.last < stay.first; }),
                       open.end());
            for (const Stay &o : open) {
                if (o.booking == stay.booking)
                    continue;
                const Pair pair = o.booking < stay.booking ? Pair{room, o, stay} : Pair{room, stay, o};
                (o.first < stay.last && stay.first < o.last ? nights : meetings).push_back(pair);
            }
            open.push_back(stay);
        }
    }
    for (QVector<Pair> *pairs : {&nights, &meetings}) {
        std::sort(pairs->begin(), pairs->end(), order);
        pairs->erase(std::unique(pairs->begin(), pairs->end(), same), pairs->end());
    }

    // The pairs that share a night: with the rule on they clash; with it
    // off, those the rooms step would refuse whichever was saved first (its
    // rule reads the stored times of day).
    const Engine engine = db.engineKind();
    const auto clash = [engine](const char *b, const char *o) {
        const QString from = QLatin1String(b) + QStringLiteral(".FromDate"), to = QLatin1String(b) + QStringLiteral(".ToDate");
        const QString oFrom = QLatin1String(o) + QStringLiteral(".FromDate"), oTo = QLatin1String(o) + QStringLiteral(".ToDate");
        return StaysClashSql(from, to, oFrom, oTo, engine);
    };
    const QString judged = QStringLiteral("CASE WHEN %1 THEN 1 = 1 ELSE %2 AND %3 END")
                               .arg(DepartureDayFreeSql(), clash("b", "o"), clash("o", "b"));
    const auto day = [](const QVariant &v) {
        return v.metaType().id() == QMetaType::QDateTime ? v.toDateTime().date().toString(Qt::ISODate)
                                                         : v.toString().left(10);
    };
    QSet<QString> seen;
    // A thousand pairs a statement, in their order.
    for (int at = 0; at < nights.size(); at += 1000) {
        QStringList values;
        for (int i = at; i < std::min<int>(at + 1000, nights.size()); ++i)
            values << QStringLiteral("(%1, %2, %3, %4)")
                          .arg(i)
                          .arg(nights[i].room)
                          .arg(nights[i].one.booking)
                          .arg(nights[i].other.booking);
        const QString sql = QStringLiteral(
            "WITH p (n, roomid, bid, oid) AS (VALUES %1) "
            "SELECT coalesce(r.name, '' || p.roomid), b.ID, b.FromDate, b.ToDate, o.ID, o.FromDate, o.ToDate "
            "FROM p JOIN booking AS b ON b.ID = p.bid JOIN booking AS o ON o.ID = p.oid "
            "LEFT JOIN room AS r ON r.id = p.roomid WHERE %2 ORDER BY p.n")
                                .arg(values.join(QLatin1Char(',')), judged);
        for (Recordset rs = db.execute(sql); !rs.eof(); rs.moveNext()) {
            const QString line = QCoreApplication::translate("Checks", "Room %1: booking %2 (%3 to %4) and booking %5 (%6 to %7) clash")
                                     .arg(rs.value(0).toString(), rs.value(1).toString(), day(rs.value(2)),
                                          day(rs.value(3)), rs.value(4).toString(), day(rs.value(5)), day(rs.value(6)));
            if (!seen.contains(line)) {
                seen.insert(line);
                out.clashes << line;
            }
        }
    }
    for (Recordset rs = db.execute(QStringLiteral(
             "SELECT x.id, x.bookingid, x.roomid, r.id IS NULL FROM bookingroom AS x "
             "LEFT JOIN room AS r ON r.id = x.roomid LEFT JOIN booking AS b ON b.ID = x.bookingid "
             "WHERE r.id IS NULL OR b.ID IS NULL ORDER BY x.id"));
         !rs.eof(); rs.moveNext())
        out.clashes << (rs.value(3).toLongLong() != 0
                            ? QCoreApplication::translate("Checks", "Link %1: booking %2 holds room %3, which is not there")
                            : QCoreApplication::translate("Checks", "Link %1: room %3 is held by booking %2, which is not there"))
                           .arg(rs.value(0).toString(), rs.value(1).toString(), rs.value(2).toString());

    out.meetings = meetings.size();
    if (describeMeetings && !meetings.isEmpty()) {
        QHash<qint64, QString> names;
        for (Recordset rs = db.execute(QStringLiteral("SELECT id, name FROM room")); !rs.eof(); rs.moveNext())
            names.insert(rs.value(0).toLongLong(), rs.text(1));
        const auto iso = [](qint64 julian) { return QDate::fromJulianDay(julian).toString(Qt::ISODate); };
        for (const Pair &p : meetings)
            out.meetingLines << QCoreApplication::translate("Checks", "Room %1: booking %2 (%3 to %4) and booking %5 (%6 to %7) meet on %8")
                                    .arg(names.value(p.room, QString::number(p.room)), QString::number(p.one.booking),
                                         iso(p.one.first), iso(p.one.last), QString::number(p.other.booking),
                                         iso(p.other.first), iso(p.other.last),
                                         iso(std::max(p.one.first, p.other.first)));
    }
    if (progress)
        progress(total, total);
    return true;
}

}  // namespace innkeld
