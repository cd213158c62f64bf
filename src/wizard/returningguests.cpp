#include "returningguests.h"

#include "data/schema/findindex.h"

#include <QHash>
#include <QSet>

namespace innkeld {

QVector<ReturningGuest> FindReturningGuests(Database &db, const QString &typed, RecordId exceptBooking, int limit)
{
    QVector<ReturningGuest> guests;
    const QString name = typed.simplified();
    if (!IsFindWord(name))
        return guests;
    // The most recent bookings of the name; a guest who came often is
    // among them once, by the last stay.
    QVector<RecordId> keys = FindBookingKeys(db, FindWords{{name}, {}, true}, 5 * limit);
    keys.removeAll(exceptBooking);
    if (keys.isEmpty())
        return guests;
    QStringList ids;
    for (const RecordId key : keys)
        ids << QString::number(key);
    QHash<RecordId, ReturningGuest> byBooking;
    for (Recordset rs = db.query(QStringLiteral("SELECT b.ID, b.FromDate, c.ID, c.FirstName, c.LastName, c.City "
                                                "FROM booking AS b, customer AS c WHERE c.ID = b.CustomerID "
                                                "AND b.ID IN (%1)")
                                     .arg(ids.join(QLatin1Char(','))));
         !rs.eof(); rs.moveNext())
        byBooking.insert(rs.value(0).toLongLong(),
                         ReturningGuest{rs.value(2).toLongLong(), rs.text(3), rs.text(4), rs.text(5),
                                        rs.value(1).toDateTime()});
    QSet<QString> seen;
    for (const RecordId key : keys) {
        const auto it = byBooking.constFind(key);
        if (it == byBooking.constEnd())
            continue;
        const QString guest = QStringList{it->firstName.simplified(), it->lastName.simplified(), it->city.simplified()}
                                  .join(QChar(0x1F))
                                  .toCaseFolded();
        if (seen.contains(guest))
            continue;
        seen.insert(guest);
        guests << *it;
        if (guests.size() >= limit)
            break;
    }
    return guests;
}

}  // namespace innkeld
