#include "pricing.h"

#include "data/regional/regional.h"
#include "data/schema/houseterms.h"

#include <QCoreApplication>
#include <QMap>

#include <algorithm>
#include <cmath>

namespace innkeld {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Pricing)
};

int monthDay(const QDate &day)
{
    return day.month() * 100 + day.day();
}

bool onMask(int mask, const QDate &night)
{
    return mask & (1 << (night.dayOfWeek() - 1));
}

// Half a hundredth and more rounds away from nothing, as money is rounded.
qint64 percentOf(qint64 cents, int percent)
{
    const qint64 scaled = cents * percent;
    return scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100);
}

QString isoDay(const QDate &day)
{
    return day.toString(Qt::ISODate);
}

}  // namespace

bool Season::holds(const QDate &day) const
{
    if (!everyYear)
        return from <= day && day <= to;
    const int md = monthDay(day), f = monthDay(from), t = monthDay(to);
    return f <= t ? (f <= md && md <= t) : (md >= f || md <= t);
}

const SeasonPrice *Season::priceOf(RecordId category) const
{
    for (const SeasonPrice &p : prices)
        if (p.category == category)
            return &p;
    return nullptr;
}

const RateCategory *RateCard::category(RecordId id) const
{
    for (const RateCategory &c : categories)
        if (c.id == id)
            return &c;
    return nullptr;
}

const RateCategory &RateCard::categoryOf(RecordId room) const
{
    const RateCategory *c = category(beds.value(room).category);
    return c ? *c : categories.first();
}

RoomBeds RateCard::bedsOf(RecordId room) const
{
    RoomBeds b = beds.value(room);
    b.room = room;
    return b;
}

RateCard ReadRateCard(Database &db)
{
    RateCard card;
    for (Recordset rs = db.execute(QStringLiteral("SELECT id, Name, PriceCents, WeekdayMask, WeekdayCents, ExtraAdultCents, "
                                                  "ExtraChildCents FROM roomcategory ORDER BY Position, id"));
         !rs.eof(); rs.moveNext())
        card.categories << RateCategory{rs.value(0).toLongLong(), rs.text(1),           rs.value(2).toLongLong(),
                                        rs.value(3).toInt(),       rs.value(4).toLongLong(), rs.value(5).toLongLong(),
                                        rs.value(6).toLongLong()};
    if (card.categories.isEmpty()) {
        // The house prices as it did before it set rates.
        RateCategory standard;
        standard.name = Words::tr("Standard");
        if (const auto terms = ReadHouseTerms(db)) {
            bool ok = false;
            const double cost = ParseRegionalNumber(terms->costPerNight, &ok);
            if (ok && IsStorableAmount(cost) && cost >= 0)
                standard.priceCents = qRound64(cost * 100);
        }
        card.categories << standard;
    }
    QHash<RecordId, int> seasonAt;
    for (Recordset rs = db.execute(QStringLiteral("SELECT id, Name, FromDay, ToDay, EveryYear, MinNights FROM season "
                                                  "ORDER BY Position, id"));
         !rs.eof(); rs.moveNext()) {
        Season s;
        s.id = rs.value(0).toLongLong();
        s.name = rs.text(1);
        s.from = QDate::fromString(rs.text(2), Qt::ISODate);
        s.to = QDate::fromString(rs.text(3), Qt::ISODate);
        s.everyYear = rs.value(4).toInt() == 1;
        s.minNights = rs.value(5).toInt();
        seasonAt.insert(s.id, int(card.seasons.size()));
        card.seasons << s;
    }
    for (Recordset rs = db.execute(QStringLiteral("SELECT seasonid, categoryid, PriceCents, WeekdayMask, WeekdayCents "
                                                  "FROM seasonprice"));
         !rs.eof(); rs.moveNext()) {
        const auto at = seasonAt.constFind(rs.value(0).toLongLong());
        if (at != seasonAt.constEnd())
            card.seasons[*at].prices << SeasonPrice{rs.value(1).toLongLong(), rs.value(2).toLongLong(), rs.value(3).toInt(),
                                                    rs.value(4).toLongLong()};
    }
    for (Recordset rs = db.execute(QStringLiteral("SELECT MinNights, PercentOff FROM staylength ORDER BY MinNights"));
         !rs.eof(); rs.moveNext())
        card.lengths << StayLength{rs.value(0).toInt(), rs.value(1).toInt()};
    for (Recordset rs = db.execute(QStringLiteral("SELECT roomid, categoryid, Standard, MaxAdults, MaxChildren FROM roombeds"));
         !rs.eof(); rs.moveNext()) {
        const RoomBeds b{rs.value(0).toLongLong(), rs.value(1).toLongLong(), rs.value(2).toInt(), rs.value(3).toInt(),
                         rs.value(4).toInt()};
        card.beds.insert(b.room, b);
    }
    return card;
}

QString RateCardProblem(const RateCard &card, QString *where)
{
    const auto at = [where](const char *part, int index, const QString &why) {
        if (where)
            *where = QStringLiteral("%1 %2").arg(QLatin1String(part)).arg(index);
        return why;
    };
    if (card.categories.isEmpty())
        return at("category", 0, Words::tr("The house needs at least one room category."));
    QStringList names;
    for (int i = 0; i < card.categories.size(); ++i) {
        const RateCategory &c = card.categories.at(i);
        if (c.name.trimmed().isEmpty())
            return at("category", i, Words::tr("Every room category needs a name."));
        if (names.contains(c.name.trimmed(), Qt::CaseInsensitive))
            return at("category", i, Words::tr("Two room categories are called %1.").arg(c.name.trimmed()));
        names << c.name.trimmed();
        if (c.priceCents < 0 || c.weekdayCents < 0 || c.extraAdultCents < 0 || c.extraChildCents < 0)
            return at("category", i, Words::tr("The prices of %1 cannot be below nothing.").arg(c.name.trimmed()));
    }
    for (int i = 0; i < card.seasons.size(); ++i) {
        const Season &s = card.seasons.at(i);
        if (s.name.trimmed().isEmpty())
            return at("season", i, Words::tr("Every season needs a name."));
        if (!s.from.isValid() || !s.to.isValid())
            return at("season", i, Words::tr("The season %1 needs its first and last day.").arg(s.name));
        if (!s.everyYear && s.from > s.to)
            return at("season", i, Words::tr("The season %1 ends before it begins.").arg(s.name));
        if (s.prices.isEmpty())
            return at("season", i, Words::tr("The season %1 has no price: give it a price for a room category.").arg(s.name));
        for (const SeasonPrice &p : s.prices)
            if (p.priceCents < 0 || p.weekdayCents < 0)
                return at("season", i, Words::tr("The prices of the season %1 cannot be below nothing.").arg(s.name));
        if (s.minNights < 0 || s.minNights > 366)
            return at("season", i, Words::tr("The minimum stay of %1 is between 0 and 366 nights.").arg(s.name));
    }
    for (int i = 0; i < card.lengths.size(); ++i) {
        const StayLength &l = card.lengths.at(i);
        if (l.minNights < 2 || l.minNights > 366 || l.percentOff < 1 || l.percentOff > 100)
            return at("length", i, Words::tr("A length-of-stay price is from 2 to 366 nights, at 1 to 100 % off."));
        for (int j = 0; j < i; ++j)
            if (card.lengths.at(j).minNights == l.minNights)
                return at("length", i, Words::tr("Two length-of-stay prices start at %1 nights.").arg(l.minNights));
    }
    return QString();
}

void WriteRateCard(Database &db, const RateCard &card)
{
    const QString problem = RateCardProblem(card);
    if (!problem.isEmpty())
        throw DbError(problem);
    Database::Transaction tx(db);
    for (const char *table : {"seasonprice", "staylength", "roombeds", "season", "roomcategory"})
        db.execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    // New keys: the old ones are mapped to them for the rooms and seasons.
    QHash<RecordId, RecordId> categoryKey;
    for (int i = 0; i < card.categories.size(); ++i) {
        const RateCategory &c = card.categories.at(i);
        TableCursor row = db.openTable(QStringLiteral("roomcategory"));
        row.addNew();
        row.setField(QStringLiteral("Name"), c.name.trimmed());
        row.setField(QStringLiteral("Position"), i);
        row.setField(QStringLiteral("PriceCents"), c.priceCents);
        row.setField(QStringLiteral("WeekdayMask"), c.weekdayMask);
        row.setField(QStringLiteral("WeekdayCents"), c.weekdayCents);
        row.setField(QStringLiteral("ExtraAdultCents"), c.extraAdultCents);
        row.setField(QStringLiteral("ExtraChildCents"), c.extraChildCents);
        row.update();
        categoryKey.insert(c.id, row.field(QStringLiteral("id")).toLongLong());
    }
    for (int i = 0; i < card.seasons.size(); ++i) {
        const Season &s = card.seasons.at(i);
        TableCursor row = db.openTable(QStringLiteral("season"));
        row.addNew();
        row.setField(QStringLiteral("Name"), s.name.trimmed());
        row.setField(QStringLiteral("Position"), i);
        row.setField(QStringLiteral("FromDay"), isoDay(s.from));
        row.setField(QStringLiteral("ToDay"), isoDay(s.to));
        row.setField(QStringLiteral("EveryYear"), s.everyYear ? 1 : 0);
        row.setField(QStringLiteral("MinNights"), s.minNights);
        row.update();
        const RecordId season = row.field(QStringLiteral("id")).toLongLong();
        for (const SeasonPrice &p : s.prices) {
            if (!categoryKey.contains(p.category))
                continue;  // a category taken out with the season's price
            db.execute(QStringLiteral("INSERT INTO seasonprice (seasonid, categoryid, PriceCents, WeekdayMask, WeekdayCents) "
                                      "VALUES (%1, %2, %3, %4, %5)")
                           .arg(season)
                           .arg(categoryKey.value(p.category))
                           .arg(p.priceCents)
                           .arg(p.weekdayMask)
                           .arg(p.weekdayCents));
        }
    }
    for (const StayLength &l : card.lengths)
        db.execute(QStringLiteral("INSERT INTO staylength (MinNights, PercentOff) VALUES (%1, %2)").arg(l.minNights).arg(l.percentOff));
    for (const RoomBeds &b : card.beds)
        db.execute(QStringLiteral("INSERT INTO roombeds (roomid, categoryid, Standard, MaxAdults, MaxChildren) "
                                  "SELECT id, %2, %3, %4, %5 FROM room WHERE id = %1")
                       .arg(b.room)
                       .arg(categoryKey.contains(b.category) ? QString::number(categoryKey.value(b.category))
                                                             : QStringLiteral("NULL"))
                       .arg(b.standard)
                       .arg(b.maxAdults)
                       .arg(b.maxChildren));
    tx.commit();
}

void WriteRoomBeds(Database &db, const QVector<RoomBeds> &beds)
{
    Database::Transaction tx(db);
    for (const RoomBeds &b : beds) {
        db.execute(QStringLiteral("DELETE FROM roombeds WHERE roomid = %1").arg(b.room));
        db.execute(QStringLiteral("INSERT INTO roombeds (roomid, categoryid, Standard, MaxAdults, MaxChildren) "
                                  "SELECT id, (SELECT id FROM roomcategory WHERE id = %2), %3, %4, %5 FROM room WHERE id = %1")
                       .arg(b.room)
                       .arg(b.category)
                       .arg(std::clamp(b.standard, 0, 99))
                       .arg(std::clamp(b.maxAdults, 0, 99))
                       .arg(std::clamp(b.maxChildren, 0, 99)));
    }
    tx.commit();
}

StayPrice PriceStay(const RateCard &card, RecordId room, const QDate &arrival, const QDate &departure, int adults,
                    int children)
{
    StayPrice price;
    if (card.categories.isEmpty() || !arrival.isValid() || !departure.isValid() || departure <= arrival)
        return price;
    const RateCategory &category = card.categoryOf(room);
    const RoomBeds beds = card.bedsOf(room);
    const int extraAdults = std::max(0, adults - beds.standard);
    const int extraChildren = std::max(0, children - std::max(0, beds.standard - adults));
    // The seasons that price this category, each with its days as numbers
    // (month * 100 + day every year; Julian days once), worked out once.
    struct Priced
    {
        const Season *season;
        const SeasonPrice *price;
        qint64 from, to;
    };
    QVector<Priced> priced;
    for (const Season &s : card.seasons)
        if (const SeasonPrice *p = s.priceOf(category.id))
            priced << Priced{&s, p, s.everyYear ? monthDay(s.from) : s.from.toJulianDay(),
                             s.everyYear ? monthDay(s.to) : s.to.toJulianDay()};
    // Each night priced, then the nights of one price and season counted
    // together, in the order they first come.
    QVector<PriceLine> nights;
    QHash<QPair<int, qint64>, int> lineOf;  // (season's place or -1, price) -> line
    const auto add = [&](int season, const QString &label, qint64 unit) {
        const auto key = qMakePair(season, unit);
        const auto at = lineOf.constFind(key);
        if (at != lineOf.constEnd()) {
            ++nights[*at].count;
            return;
        }
        lineOf.insert(key, int(nights.size()));
        nights << PriceLine{PriceLine::Nights, label, 1, unit, 0};
    };
    int count = 0;
    for (QDate night = arrival; night < departure; night = night.addDays(1), ++count) {
        const qint64 md = monthDay(night), jd = night.toJulianDay();
        int chosen = -1;
        for (int i = 0; i < priced.size() && chosen < 0; ++i) {
            const Priced &p = priced.at(i);
            const bool holds = !p.season->everyYear ? (p.from <= jd && jd <= p.to)
                                                    : (p.from <= p.to ? (p.from <= md && md <= p.to) : (md >= p.from || md <= p.to));
            if (holds)
                chosen = i;
        }
        if (chosen >= 0) {
            const SeasonPrice *p = priced.at(chosen).price;
            add(chosen, priced.at(chosen).season->name,
                p->weekdayCents > 0 && onMask(p->weekdayMask, night) ? p->weekdayCents : p->priceCents);
        } else {
            add(-1, category.name,
                category.weekdayCents > 0 && onMask(category.weekdayMask, night) ? category.weekdayCents : category.priceCents);
        }
    }
    qint64 stayCents = 0;
    for (PriceLine &l : nights) {
        l.cents = l.unitCents * l.count;
        stayCents += l.cents;
    }
    price.lines = nights;
    if (extraAdults > 0 && category.extraAdultCents > 0) {
        const PriceLine l{PriceLine::ExtraAdults, QString(), extraAdults * count, category.extraAdultCents,
                          category.extraAdultCents * extraAdults * count};
        price.lines << l;
        stayCents += l.cents;
    }
    if (extraChildren > 0 && category.extraChildCents > 0) {
        const PriceLine l{PriceLine::ExtraChildren, QString(), extraChildren * count, category.extraChildCents,
                          category.extraChildCents * extraChildren * count};
        price.lines << l;
        stayCents += l.cents;
    }
    // The longest length-of-stay price the stay reaches.
    const StayLength *length = nullptr;
    for (const StayLength &l : card.lengths)
        if (count >= l.minNights && (!length || l.minNights > length->minNights))
            length = &l;
    if (length) {
        const PriceLine l{PriceLine::LengthOfStay, QString::number(length->minNights), count, length->percentOff,
                          -percentOf(stayCents, length->percentOff)};
        price.lines << l;
        stayCents += l.cents;
    }
    price.totalCents = stayCents;
    // What the house asks of a stay: the minimum of the arrival's season.
    for (const Season &s : card.seasons)
        if (s.holds(arrival) && s.priceOf(category.id)) {
            if (s.minNights > count)
                price.warnings << Words::tr("%1 asks for at least %2 nights from an arrival on %3; this stay has %4.")
                                      .arg(s.name)
                                      .arg(s.minNights)
                                      .arg(QLocale().toString(arrival, QLocale::ShortFormat))
                                      .arg(count);
            break;
        }
    if (adults > beds.maxAdults || children > beds.maxChildren)
        price.warnings << Words::tr("The room takes at most %1 adults and %2 children; the booking has %3 and %4.")
                              .arg(beds.maxAdults)
                              .arg(beds.maxChildren)
                              .arg(adults)
                              .arg(children);
    return price;
}

QString BreakdownText(const StayPrice &price)
{
    QStringList parts;
    for (const PriceLine &l : price.lines) {
        const QString unit = FormatMoney(l.unitCents / 100.0);
        switch (l.kind) {
        case PriceLine::Nights:
            parts << (l.count == 1 ? Words::tr("1 night x %1 %2").arg(unit, l.label)
                                   : Words::tr("%1 nights x %2 %3").arg(l.count).arg(unit, l.label));
            break;
        case PriceLine::ExtraAdults:
            parts << Words::tr("extra adult %1 x %2").arg(l.count).arg(unit);
            break;
        case PriceLine::ExtraChildren:
            parts << Words::tr("extra child %1 x %2").arg(l.count).arg(unit);
            break;
        case PriceLine::LengthOfStay:
            parts << Words::tr("%1-night rate -%2 %").arg(l.label).arg(l.unitCents);
            break;
        }
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace innkeld
