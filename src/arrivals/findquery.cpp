#include "findquery.h"

#include "arrivals/arrivalsquery.h"
#include "data/schema/findindex.h"
#include "data/regional/regional.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>

namespace innkeld {

namespace {

bool isPhoneSign(QChar c)
{
    return QLatin1String(kPhoneSigns).contains(c);
}

// Digits and phone signs only, with a digit among them.
bool isPhoneWord(const QString &word)
{
    bool digit = false;
    for (const QChar c : word) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = true;
        else if (!isPhoneSign(c))
            return false;
    }
    return digit;
}

// A day the region's short date names (the words of a date that has blanks
// in it are taken together); invalid for anything else.
QDate dayOf(const QString &text)
{
    // Every short date has the day's number: words without a digit are
    // no date, and are not given to the (slow) date reading.
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return QDate();
    const QDateTime read = ParseRegionalDateTime(text);
    return read.isValid() && read.time() == QTime(0, 0) ? read.date() : QDate();
}

QString idList(const QVector<RecordId> &ids)
{
    QStringList out;
    for (const RecordId id : ids)
        out << QString::number(id);
    return out.join(QLatin1Char(','));
}

// The conditions on the booking `b` (and its stay `s`, when days were typed)
// that all of the search but the words left out holds.
QString conditions(Engine engine, const FindSearch &search, const FindWords &words)
{
    QString sql;
    if (!search.days.isEmpty()) {
        qint64 first = search.days.first().toJulianDay();
        qint64 last = first;
        for (const QDate &day : search.days) {
            first = std::min(first, day.toJulianDay());
            last = std::max(last, day.toJulianDay());
        }
        // The stay touches every day typed: it holds them all.
        sql += engine == Engine::PostgreSQL
            ? QStringLiteral(" AND s.days @> int4range(%1, %2, '[]')").arg(first).arg(last)
            : QStringLiteral(" AND s.firstday <= %1 AND s.lastday >= %2").arg(first).arg(last);
    }
    if (!words.words.isEmpty() || !words.phones.isEmpty())
        sql += QStringLiteral(" AND ") + FindMatchesSql(engine, words, QStringLiteral("b"));
    return sql;
}

// The keys of the bookings (with a guest) found, in the order of the list,
// at most `limit`.
QVector<RecordId> foundKeys(Database &db, const FindSearch &search, int limit)
{
    const Engine engine = db.engineKind();
    QVector<RecordId> keys;
    const auto read = [&](const QString &sql) {
        for (Recordset rs = db.query(sql); !rs.eof(); rs.moveNext())
            keys << rs.value(0).toLongLong();
    };
    const QString stays = search.days.isEmpty() ? QString() : QStringLiteral("booking_stay AS s, ");
    const QString stayOfBooking = search.days.isEmpty() ? QString() : QStringLiteral(" AND s.id = b.ID");
    // A booking whose number was typed, when the rest of the search holds.
    const FindWords all{search.words, search.phones};
    for (const QString &number : search.numbers) {
        FindWords others = all;
        others.phones.removeOne(number);
        read(QStringLiteral("SELECT b.ID FROM %1booking AS b, customer AS c WHERE b.ID = %2 AND c.ID = b.CustomerID%3%4")
                 .arg(stays, number, stayOfBooking, conditions(engine, search, others)));
    }
    if (!search.days.isEmpty() && engine == Engine::SQLite && !(all.words.isEmpty() && all.phones.isEmpty())) {
        // The stays index finds the few stays that touch the days; the words
        // index then looks once at each stretch of arrivals among them (a
        // stay of years stands alone), not once a stay.
        QVector<std::pair<qint64, RecordId>> stays;  // place in the words index, booking
        for (Recordset rs = db.query(QStringLiteral("SELECT %1, b.ID FROM booking_stay AS s, booking AS b, customer AS c "
                                                    "WHERE b.ID = s.id AND c.ID = b.CustomerID%2")
                                         .arg(FindOrderSql(engine, QStringLiteral("b")),
                                              conditions(engine, search, FindWords{})));
             !rs.eof(); rs.moveNext())
            stays.append({rs.value(0).toLongLong(), rs.value(1).toLongLong()});
        std::sort(stays.begin(), stays.end(), std::greater<>());
        QSet<qint64> found;
        constexpr qint64 kDay = qint64(1) << 32;
        for (int first = 0; first < stays.size();) {
            int last = first;
            while (last + 1 < stays.size() && stays[last].first - stays[last + 1].first <= 31 * kDay)
                ++last;
            for (Recordset rs = db.query(FindPlacesSql(all, stays[last].first, stays[first].first)); !rs.eof();
                 rs.moveNext())
                found.insert(rs.value(0).toLongLong());
            first = last + 1;
        }
        for (const auto &[place, booking] : stays)
            if (found.contains(place) && keys.size() <= limit)
                keys << booking;
    } else if (!search.days.isEmpty()) {
        // The stays index finds the few stays that touch the days.
        read(QStringLiteral("SELECT b.ID FROM booking_stay AS s, booking AS b, customer AS c WHERE b.ID = s.id "
                            "AND c.ID = b.CustomerID%1 ORDER BY %2 DESC LIMIT %3")
                 .arg(conditions(engine, search, all), FindOrderSql(engine, QStringLiteral("b")))
                 .arg(limit));
    } else {
        // A booking without a guest has no words: every one found has one.
        keys += FindBookingKeys(db, all, limit);
    }
    QVector<RecordId> unique;
    QSet<RecordId> seen;
    for (const RecordId key : keys)
        if (!seen.contains(key) && unique.size() < limit) {
            seen.insert(key);
            unique << key;
        }
    return unique;
}

}  // namespace

FindSearch ParseFindText(const QString &text)
{
    // Control characters (a pasted tab or line break, a NUL) separate words.
    QString plain = text.trimmed().left(kFindCharacters);
    for (QChar &c : plain)
        if (c.category() == QChar::Other_Control || c.isSpace())
            c = QLatin1Char(' ');
    QStringList words = plain.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    FindSearch search;
    search.cut = text.trimmed().size() > kFindCharacters || words.size() > kFindWords;
    words = words.mid(0, kFindWords);
    QString digits;  // of the phone words read so far
    int phoneWords = 0;
    const auto endPhone = [&] {
        if (digits.isEmpty())
            return;
        search.phones << digits;
        // One word of digits alone is also a booking's number.
        if (phoneWords == 1 && digits.size() <= 18 && digits.at(0) != QLatin1Char('0'))
            search.numbers << digits;
        digits.clear();
        phoneWords = 0;
    };
    for (int i = 0; i < words.size(); ++i) {
        // A date, of as many words as the region's short date has.
        QDate day;
        int used = 0;
        for (int n = std::min<int>(3, int(words.size()) - i); n >= 1 && !day.isValid(); --n) {
            day = dayOf(words.mid(i, n).join(QLatin1Char(' ')));
            used = n;
        }
        if (day.isValid()) {
            endPhone();
            search.days << day;
            i += used - 1;
            continue;
        }
        const QString &word = words.at(i);
        if (isPhoneWord(word)) {
            for (const QChar c : word)
                if (c.isDigit())
                    digits += c;
            ++phoneWords;
            continue;
        }
        endPhone();
        // A word without a letter or a digit begins no word: it is passed over.
        // A word typed twice finds what it finds once.
        if (IsFindWord(word) && !search.words.contains(word.left(kFindLongestWord), Qt::CaseInsensitive))
            search.words << word.left(kFindLongestWord);
    }
    endPhone();
    return search;
}

QString FindCutText()
{
    return QCoreApplication::translate("Find", "Only the first %1 words (%2 characters) are searched.").arg(kFindWords).arg(kFindCharacters);
}

FindResult FindBookings(Database &db, const QString &text, int limit, std::optional<BookingStatus> only)
{
    FindResult result;
    const FindSearch search = ParseFindText(text);
    result.cut = search.cut;
    result.searched = !search.isEmpty();
    if (search.isEmpty())
        return result;
    // Narrowed to a status, the bookings found are taken in a wider net,
    // then those of the status kept.
    const int net = only ? (limit + 1) * 10 : limit + 1;
    QVector<RecordId> keys = foundKeys(db, search, net);
    if (only) {
        const bool full = keys.size() >= net;
        QSet<RecordId> of;
        if (!keys.isEmpty())
            for (Recordset rs = db.query(QStringLiteral("SELECT ID FROM booking WHERE ID IN (%1) AND Status = '%2'")
                                             .arg(idList(keys), StatusCode(*only)));
                 !rs.eof(); rs.moveNext())
                of.insert(rs.value(0).toLongLong());
        keys.erase(std::remove_if(keys.begin(), keys.end(), [&](RecordId k) { return !of.contains(k); }), keys.end());
        result.more = full;
    }
    if (keys.size() > limit) {
        result.more = true;
        keys.resize(limit);
    }
    if (keys.isEmpty())
        return result;
    QHash<RecordId, FoundBooking> found;
    for (Recordset rs = db.query(QStringLiteral("SELECT b.ID, b.FromDate, b.ToDate, c.FirstName, c.LastName, "
                                                "c.BusinessName, c.Phone, b.Status FROM booking AS b, customer AS c "
                                                "WHERE c.ID = b.CustomerID AND b.ID IN (%1)")
                                     .arg(idList(keys)));
         !rs.eof(); rs.moveNext()) {
        FoundBooking row;
        row.bookingId = rs.value(0).toLongLong();
        row.arrival = rs.value(1).toDateTime();
        row.departure = rs.value(2).toDateTime();
        row.guest = GuestDisplayName(rs.value(3), rs.value(4));
        const QString business = rs.text(5).trimmed();
        if (!business.isEmpty())
            row.guest += QStringLiteral(" (%1)").arg(business);
        row.phone = rs.text(6);
        row.status = StatusFromCode(rs.text(7));
        found.insert(row.bookingId, row);
    }
    // The rooms of each (a server, without statistics, would read every
    // link for a list of keys, or every link for each booking in a small
    // house: there each booking's are looked up apart).
    const QString rooms = db.onServer()
        ? QStringLiteral("SELECT l.bookingid, r.name FROM unnest(ARRAY[%1]::bigint[]) AS v(id) CROSS JOIN LATERAL "
                         "(SELECT id, bookingid, roomid FROM bookingroom WHERE bookingid = v.id OFFSET 0) AS l "
                         "JOIN room AS r ON r.id = l.roomid ORDER BY l.id")
        : QStringLiteral("SELECT l.bookingid, r.name FROM bookingroom AS l, room AS r "
                         "WHERE r.id = l.roomid AND l.bookingid IN (%1) ORDER BY l.id");
    for (Recordset rs = db.query(rooms.arg(idList(keys))); !rs.eof(); rs.moveNext()) {
        auto it = found.find(rs.value(0).toLongLong());
        if (it != found.end())
            it->rooms += (it->rooms.isEmpty() ? QString() : QStringLiteral(", ")) + rs.text(1);
    }
    for (const RecordId key : keys)
        if (found.contains(key))
            result.bookings << found.value(key);
    return result;
}

}  // namespace innkeld
