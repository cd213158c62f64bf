#include "invoices.h"

#include "booking/bookingstatus.h"
#include "booking/charges.h"

#include "csvexport.h"
#include "data/regional/regional.h"
#include "data/schema/bookingtax.h"
#include "data/schema/findindex.h"
#include "data/schema/houseterms.h"
#include "data/schema/invoicetables.h"
#include "booking/bookingview.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace innkeld {

namespace {

QString literal(const QString &text)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, true)) + QLatin1Char('\'');
}

qint64 cents(double amount)
{
    return std::llround(amount * 100.0);
}

QString dayText(const QDate &day)
{
    return day.toString(Qt::ISODate);
}

// The series' next place and the digest of the invoice before it. The
// write lock is held, so no other desk issues meanwhile; the engine
// advances the series as the invoice is stored.
struct NextPlace
{
    QString series;
    qint64 sequence = 1;
    QString prior;
};

NextPlace nextPlace(Database &db, const HouseDetails &house, const QDate &on)
{
    NextPlace next{InvoiceSeriesOf(house.yearlyRestart, on), 1, QString()};
    const Recordset last = db.query(QStringLiteral("SELECT LastNumber FROM invoiceseries WHERE Series = %1").arg(literal(next.series)));
    if (!last.eof())
        next.sequence = last.value(0).toLongLong() + 1;
    const Recordset prior = db.query(QStringLiteral("SELECT Digest FROM invoice WHERE Series = %1 AND Sequence = %2")
                                         .arg(literal(next.series))
                                         .arg(next.sequence - 1));
    if (!prior.eof())
        next.prior = prior.text(0);
    return next;
}

// The columns an invoice's digest covers, in its order: what it holds.
const char *const kDigestColumns =
    "Number, Series, Sequence, Kind, IssuedOn, BookingID, CreditOf, Guest, GuestAddress, House, LogoDigest, Currency, "
    "TaxName, TaxRate, Lines, NetCents, TaxCents, TotalCents, PaidCents, PriorDigest";

QString houseJson(const HouseDetails &h)
{
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("name"), h.name},
                                                       {QStringLiteral("address"), h.address},
                                                       {QStringLiteral("phone"), h.phone},
                                                       {QStringLiteral("email"), h.email},
                                                       {QStringLiteral("vat"), h.vatNumber},
                                                       {QStringLiteral("footer"), h.footer}})
                                 .toJson(QJsonDocument::Compact));
}

HouseDetails houseOf(const QString &json)
{
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    HouseDetails h;
    h.name = o.value(QStringLiteral("name")).toString();
    h.address = o.value(QStringLiteral("address")).toString();
    h.phone = o.value(QStringLiteral("phone")).toString();
    h.email = o.value(QStringLiteral("email")).toString();
    h.vatNumber = o.value(QStringLiteral("vat")).toString();
    h.footer = o.value(QStringLiteral("footer")).toString();
    return h;
}

QString linesJson(const Invoice &inv)
{
    QJsonArray lines;
    for (const InvoiceLine &l : inv.lines) {
        QJsonObject line{{QStringLiteral("room"), l.room},
                         {QStringLiteral("nights"), l.nights},
                         {QStringLiteral("unit"), l.unitCents},
                         {QStringLiteral("amount"), l.cents}};
        // Written only when there: an invoice priced the earlier way is
        // stored as it always was.
        if (!l.kind.isEmpty())
            line.insert(QStringLiteral("kind"), l.kind);
        if (!l.label.isEmpty())
            line.insert(QStringLiteral("label"), l.label);
        if (!l.taxRate.isEmpty())
            line.insert(QStringLiteral("tax"), l.taxRate);
        lines.append(line);
    }
    QJsonObject o{{QStringLiteral("arrival"), dayText(inv.arrival)},
                  {QStringLiteral("departure"), dayText(inv.departure)},
                  {QStringLiteral("lines"), lines}};
    if (!inv.taxes.isEmpty()) {
        QJsonArray taxes;
        for (const InvoiceTax &t : inv.taxes)
            taxes.append(QJsonObject{{QStringLiteral("rate"), t.rate},
                                     {QStringLiteral("net"), t.netCents},
                                     {QStringLiteral("tax"), t.taxCents}});
        o.insert(QStringLiteral("taxes"), taxes);
    }
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

void readLines(Invoice &inv, const QString &json)
{
    const QJsonObject o = QJsonDocument::fromJson(json.toUtf8()).object();
    inv.arrival = QDate::fromString(o.value(QStringLiteral("arrival")).toString(), Qt::ISODate);
    inv.departure = QDate::fromString(o.value(QStringLiteral("departure")).toString(), Qt::ISODate);
    for (const QJsonValue &v : o.value(QStringLiteral("lines")).toArray()) {
        const QJsonObject l = v.toObject();
        inv.lines.append(InvoiceLine{l.value(QStringLiteral("room")).toString(), l.value(QStringLiteral("nights")).toInt(),
                                     qint64(l.value(QStringLiteral("unit")).toDouble()),
                                     qint64(l.value(QStringLiteral("amount")).toDouble()),
                                     l.value(QStringLiteral("kind")).toString(), l.value(QStringLiteral("label")).toString(),
                                     l.value(QStringLiteral("tax")).toString()});
    }
    for (const QJsonValue &v : o.value(QStringLiteral("taxes")).toArray()) {
        const QJsonObject t = v.toObject();
        inv.taxes.append(InvoiceTax{t.value(QStringLiteral("rate")).toString(), qint64(t.value(QStringLiteral("net")).toDouble()),
                                    qint64(t.value(QStringLiteral("tax")).toDouble())});
    }
}

}  // namespace

QVector<InvoiceLine> RoomLines(const RoomCharge &r, int nights)
{
    QVector<InvoiceLine> out;
    if (r.overridden() || r.lines.isEmpty()) {
        const qint64 unit = nights > 0 && r.cents % nights == 0 ? r.cents / nights : 0;
        out.append(InvoiceLine{r.name, nights, unit, r.cents, QStringLiteral("byhand"), QString(), QString()});
        return out;
    }
    for (const PriceLine &l : r.lines) {
        static const char *const kinds[] = {"season", "adult", "child", "length"};
        out.append(InvoiceLine{r.name, l.count, l.unitCents, l.cents, QLatin1String(kinds[l.kind]), l.label, QString()});
    }
    return out;
}

namespace {

// Stores an invoice or credit note under the series' next number, chained
// to the one before it.
RecordId store(Database &db, Invoice &inv, RecordId creditOf)
{
    const HouseDetails house = ReadHouseDetails(db);
    inv.house = house;
    QString digest;
    if (!house.logo.isEmpty()) {
        digest = QString::fromLatin1(QCryptographicHash::hash(house.logo, QCryptographicHash::Sha256).toHex());
        db.query(QStringLiteral("INSERT INTO invoicelogo (Digest, Picture) SELECT '%1', '%2' WHERE NOT EXISTS "
                                "(SELECT 1 FROM invoicelogo WHERE Digest = '%1')")
                     .arg(digest, QString::fromLatin1(house.logo.toBase64())));
    }
    const NextPlace next = nextPlace(db, house, inv.issuedOn);
    inv.number = InvoiceNumberOf(house.invoicePrefix, house.yearlyRestart, inv.issuedOn, next.sequence);
    if (!db.query(QStringLiteral("SELECT 1 FROM invoice WHERE Number = %1").arg(literal(inv.number))).eof())
        throw DbError(QCoreApplication::translate("Invoices", "The next invoice would be numbered %1, which an earlier "
                                                              "invoice already has: choose another invoice prefix in "
                                                              "House Details.")
                          .arg(inv.number));
    // The values as stored, which the digest covers.
    const QStringList stored{StoredText(inv.number, true),
                             next.series,
                             QString::number(next.sequence),
                             inv.credit ? QStringLiteral("credit") : QStringLiteral("invoice"),
                             dayText(inv.issuedOn),
                             QString::number(inv.bookingId),
                             creditOf ? QString::number(creditOf) : QString(),
                             StoredText(inv.guest, true),
                             StoredText(inv.guestAddress, true),
                             StoredText(houseJson(house), true),
                             digest,
                             StoredText(inv.currency, true),
                             StoredText(inv.taxName, true),
                             StoredText(inv.taxRate, true),
                             StoredText(linesJson(inv), true),
                             QString::number(inv.netCents),
                             QString::number(inv.taxCents),
                             QString::number(inv.totalCents),
                             QString::number(inv.paidCents),
                             next.prior};
    QStringList values;
    for (int i = 0; i < stored.size(); ++i) {
        const bool number = i == 2 || i == 5 || (i >= 15 && i <= 18);
        values << (i == 6 && !creditOf ? QStringLiteral("NULL") : number || i == 6 ? stored.at(i) : literal(stored.at(i)));
    }
    values << literal(InvoiceDigest(stored));
    Recordset made = db.query(QStringLiteral("INSERT INTO invoice (%1, Digest) VALUES (").arg(QLatin1String(kDigestColumns))
                              + values.join(QStringLiteral(", ")) + QStringLiteral(") RETURNING id"));
    inv.id = made.value(0).toLongLong();
    return inv.id;
}

const char *const kInvoiceColumns =
    "i.id, i.Number, i.Kind, i.IssuedOn, i.BookingID, i.Guest, i.GuestAddress, i.House, i.LogoDigest, i.Currency, "
    "i.TaxName, i.TaxRate, i.Lines, i.NetCents, i.TaxCents, i.TotalCents, i.PaidCents, c.Number";

}  // namespace

QString FormatCents(qint64 amount)
{
    return FormatMoney(double(amount) / 100.0);
}

QString HouseUnnamedMessage()
{
    return QCoreApplication::translate("Invoices", "An invoice names the house that issues it, with its address, as the law "
                                                   "asks: enter the house's name and address in Configure > House "
                                                   "Details... first.");
}

bool HouseNamedForInvoices(const HouseDetails &house)
{
    return !house.name.trimmed().isEmpty() && !house.address.trimmed().isEmpty();
}

RecordId IssueInvoice(Database &db, RecordId bookingId, const QDate &on)
{
    Database::Transaction tx(db);
    if (!HouseNamedForInvoices(ReadHouseDetails(db)))
        throw DbError(HouseUnnamedMessage());
    const Recordset b = db.execute(QStringLiteral("SELECT CustomerID, FromDate, ToDate, CostPerNight, OtherCharges, SalesTax, "
                                                  "AmountPayed FROM booking WHERE ID = %1")
                                       .arg(bookingId));
    if (b.eof())
        throw BookingGone();
    const Recordset c = db.execute(QStringLiteral("SELECT FirstName, LastName, BusinessName, Address1, Address2, City, State, "
                                                  "PostCode, Country FROM customer WHERE ID = %1")
                                       .arg(b.value(0).toLongLong()));
    if (b.value(0).toLongLong() == 0 || c.eof())
        throw DbError(QCoreApplication::translate("Invoices", "Booking %1 has no guest yet: an invoice is issued to the guest whose details "
                                     "the booking holds.")
                          .arg(bookingId));
    const Recordset standing = db.query(QStringLiteral("SELECT i.Number FROM invoice AS i WHERE i.BookingID = %1 AND "
                                                       "i.Kind = 'invoice' AND NOT EXISTS (SELECT 1 FROM invoice AS c "
                                                       "WHERE c.CreditOf = i.id)")
                                            .arg(bookingId));
    if (!standing.eof())
        throw DbError(QCoreApplication::translate("Invoices", "Booking %1 already has the invoice %2. To change it, issue the credit note of %2 "
                                     "first, then a new invoice.")
                          .arg(bookingId)
                          .arg(standing.text(0)));
    Invoice inv;
    inv.issuedOn = on;
    inv.bookingId = bookingId;
    inv.arrival = DayOf(b.value(1));
    inv.departure = DayOf(b.value(2));
    inv.guest = JoinedParts({c.text(2), JoinedParts({c.text(0), c.text(1)}, QStringLiteral(" "))}, QStringLiteral(", "));
    inv.guestAddress = JoinedParts({c.text(3), c.text(4), JoinedParts({c.text(5), c.text(6), c.text(7)}, QStringLiteral(" ")), c.text(8)},
                              QStringLiteral("\n"));
    const StatusEntry status = ReadBookingStatus(db, bookingId);
    const std::optional<BookingTax> bookingTax = ReadBookingTax(db, bookingId);
    if (HoldsRooms(status.status)) {
        const int nights = inv.arrival.isValid() && inv.departure.isValid() ? int(inv.arrival.daysTo(inv.departure)) : 0;
        const qint64 unit = cents(b.value(3).toDouble());
        const BookingCharges charges = ReadCharges(db, bookingId);
        if (!charges.priced) {
            for (const QString &room : BookedRoomNames(db, bookingId))
                inv.lines.append(InvoiceLine{room, nights, unit, unit * nights, {}, {}, {}});
        } else {
            // Each room's nights by rate, as the booking was priced.
            for (const RoomCharge &r : charges.rooms)
                inv.lines += RoomLines(r, nights);
        }
        const qint64 other = cents(b.value(4).toDouble());
        if (other != 0)
            inv.lines.append(InvoiceLine{QString(), 0, 0, other, {}, {}, {}});
        for (const ExtraCharge &e : charges.extras)
            inv.lines.append(InvoiceLine{QString(), e.per == QLatin1String("stay") ? e.quantity : e.quantity * nights,
                                         e.unitCents, e.cents, QStringLiteral("extra"), e.name, e.taxPercent});
        inv.taxCents = cents(b.value(5).toDouble());
        // The tax of each rate, when the extras bring rates of their own and
        // the booking's tax is what they come to.
        const QString roomRate = bookingTax ? bookingTax->rate : ReadHouseTerms(db).value_or(HouseTerms{}).salesTaxPercentage;
        BookingCharges counted = charges;
        if (!counted.priced)
            counted.rooms = {RoomCharge::Amount(unit * nights * qint64(BookedRoomNames(db, bookingId).size()))};
        const QVector<TaxLine> taxes = TaxesByRate(counted, other, roomRate);
        qint64 taxSum = 0;
        for (const TaxLine &t : taxes)
            taxSum += t.taxCents;
        if (taxes.size() > 1 && taxSum == inv.taxCents) {
            QStringList rates;
            for (const TaxLine &t : taxes) {
                inv.taxes.append(InvoiceTax{t.rate, t.netCents, t.taxCents});
                rates << t.rate;
            }
            inv.taxRate = rates.join(QStringLiteral(" + "));
        } else {
            // One rate over all of it: the lines say none of their own.
            for (InvoiceLine &l : inv.lines)
                l.taxRate.clear();
        }
    } else if (status.feeCents != 0) {
        // A cancelled booking is charged its fee alone, as entered.
        inv.lines.append(InvoiceLine{QLatin1String(kCancellationFee), 0, 0, status.feeCents, {}, {}, {}});
    }
    for (const InvoiceLine &l : inv.lines)
        inv.netCents += l.cents;
    inv.totalCents = inv.netCents + inv.taxCents;
    inv.paidCents = cents(b.value(6).toDouble());
    const HouseTerms terms = ReadHouseTerms(db).value_or(HouseTerms{QString(), QStringLiteral("Sales Tax"), QString(),
                                                                    QString(), QString()});
    inv.currency = terms.currencySymbol;
    // The tax the booking was priced with; for one priced before it was
    // kept, the rate its amounts give.
    if (!inv.taxes.isEmpty()) {
        inv.taxName = bookingTax ? bookingTax->name : terms.salesTaxName;
    } else if (const std::optional<BookingTax> &tax = bookingTax) {
        inv.taxName = tax->name;
        inv.taxRate = tax->rate;
    } else {
        inv.taxName = terms.salesTaxName;
        inv.taxRate = inv.netCents != 0 && inv.taxCents != 0
            ? QString::number(std::round(double(inv.taxCents) * 10000.0 / double(inv.netCents)) / 100.0, 'g', 15)
            : terms.salesTaxPercentage;
    }
    const RecordId id = store(db, inv, 0);
    tx.commit();
    return id;
}

RecordId IssueCreditNote(Database &db, RecordId invoiceId, const QDate &on)
{
    Database::Transaction tx(db);
    Invoice inv = ReadInvoice(db, invoiceId);
    if (inv.credit)
        throw DbError(QCoreApplication::translate("Invoices", "%1 is a credit note: only an invoice is credited.").arg(inv.number));
    const Recordset credited = db.query(QStringLiteral("SELECT Number FROM invoice WHERE CreditOf = %1").arg(invoiceId));
    if (!credited.eof())
        throw DbError(QCoreApplication::translate("Invoices", "The invoice %1 was already credited by %2.").arg(inv.number, credited.text(0)));
    inv.credit = true;
    inv.issuedOn = on;
    for (InvoiceLine &l : inv.lines) {
        l.unitCents = -l.unitCents;
        l.cents = -l.cents;
    }
    for (InvoiceTax &t : inv.taxes) {
        t.netCents = -t.netCents;
        t.taxCents = -t.taxCents;
    }
    inv.netCents = -inv.netCents;
    inv.taxCents = -inv.taxCents;
    inv.totalCents = -inv.totalCents;
    inv.paidCents = 0;
    const RecordId id = store(db, inv, invoiceId);
    tx.commit();
    return id;
}

Invoice ReadInvoice(Database &db, RecordId invoiceId)
{
    const Recordset r = db.query(QStringLiteral("SELECT %1 FROM invoice AS i LEFT JOIN invoice AS c ON c.id = i.CreditOf "
                                                "WHERE i.id = %2")
                                     .arg(QLatin1String(kInvoiceColumns))
                                     .arg(invoiceId));
    if (r.eof())
        throw DbError(QCoreApplication::translate("Invoices", "There is no invoice %1.").arg(invoiceId));
    Invoice inv;
    inv.id = r.value(0).toLongLong();
    inv.number = r.text(1);
    inv.credit = r.text(2) == QLatin1String("credit");
    inv.issuedOn = QDate::fromString(r.text(3), Qt::ISODate);
    inv.bookingId = r.value(4).toLongLong();
    inv.guest = r.text(5);
    inv.guestAddress = r.text(6);
    inv.house = houseOf(r.text(7));
    if (!r.text(8).isEmpty()) {
        const Recordset logo = db.query(QStringLiteral("SELECT Picture FROM invoicelogo WHERE Digest = %1").arg(literal(r.text(8))));
        if (!logo.eof())
            inv.house.logo = QByteArray::fromBase64(logo.text(0).toLatin1());
    }
    inv.currency = r.text(9);
    inv.taxName = r.text(10);
    inv.taxRate = r.text(11);
    readLines(inv, r.text(12));
    inv.netCents = r.value(13).toLongLong();
    inv.taxCents = r.value(14).toLongLong();
    inv.totalCents = r.value(15).toLongLong();
    inv.paidCents = r.value(16).toLongLong();
    inv.creditOfNumber = r.text(17);
    return inv;
}

QVector<RecordId> InvoicesOfBooking(Database &db, RecordId bookingId)
{
    QVector<RecordId> ids;
    for (Recordset r = db.query(QStringLiteral("SELECT id FROM invoice WHERE BookingID = %1 ORDER BY id DESC").arg(bookingId));
         !r.eof(); r.moveNext())
        ids << r.value(0).toLongLong();
    return ids;
}

QVector<InvoiceListRow> ListInvoices(Database &db, const QString &text, int limit)
{
    const QString columns = QStringLiteral("SELECT id, Number, Kind, IssuedOn, Guest, TotalCents, PaidCents, BookingID FROM invoice ");
    QVector<InvoiceListRow> rows;
    QSet<RecordId> listed;
    const auto read = [&](const QString &sql, QVector<InvoiceListRow> &into) {
        for (Recordset r = db.query(sql); !r.eof(); r.moveNext()) {
            const RecordId id = r.value(0).toLongLong();
            if (listed.contains(id))
                continue;
            listed.insert(id);
            into.append(InvoiceListRow{id, r.text(1), r.text(2) == QLatin1String("credit"),
                                       QDate::fromString(r.text(3), Qt::ISODate), r.text(4), r.value(5).toLongLong(),
                                       r.value(5).toLongLong() - r.value(6).toLongLong(), r.value(7).toLongLong()});
        }
    };
    // Each listed invoice's booking's status, read at once.
    const auto withStatuses = [&](QVector<InvoiceListRow> &listedRows) {
        QStringList keys;
        for (const InvoiceListRow &r : listedRows)
            keys << QString::number(r.bookingId);
        QHash<RecordId, BookingStatus> status;
        if (!keys.isEmpty())
            for (Recordset r = db.query(QStringLiteral("SELECT ID, Status FROM booking WHERE ID IN (%1)").arg(keys.join(QLatin1Char(','))));
                 !r.eof(); r.moveNext())
                status.insert(r.value(0).toLongLong(), StatusFromCode(r.text(1)));
        for (InvoiceListRow &r : listedRows)
            r.status = status.value(r.bookingId, BookingStatus::Booked);
        return listedRows;
    };
    const QString typed = text.simplified();
    if (typed.isEmpty()) {
        read(columns + QStringLiteral("ORDER BY id DESC LIMIT %1").arg(limit), rows);
        return withStatuses(rows);
    }
    // A number as typed, by the numbers' own index.
    read(columns + QStringLiteral("WHERE Number >= %1 AND Number < %2 ORDER BY Number DESC LIMIT %3")
                       .arg(literal(typed), literal(typed + QChar(0xFFFF)))
                       .arg(limit),
         rows);
    // The guest's words, by the bookings' index of their guests' words.
    FindWords words;
    for (const QString &word : typed.split(QLatin1Char(' ')))
        if (IsFindWord(word))
            words.words << word.left(kFindLongestWord);
    if (rows.size() < limit && !words.words.isEmpty()) {
        QStringList bookings;
        for (const qint64 key : FindBookingKeys(db, words, limit))
            bookings << QString::number(key);
        // Their invoices by the bookings' index, put in order here: a server
        // without statistics would read every invoice for a list of keys,
        // or walk them all by key for an order, so there each booking's are
        // looked up apart.
        QVector<InvoiceListRow> ofGuests;
        const QString list = bookings.join(QLatin1Char(','));
        if (!bookings.isEmpty())
            read(db.onServer() ? QStringLiteral("SELECT i.* FROM unnest(ARRAY[%1]::bigint[]) AS v(b) CROSS JOIN LATERAL "
                                                "(%2WHERE BookingID = v.b OFFSET 0) AS i")
                                     .arg(list, columns)
                               : columns + QStringLiteral("WHERE BookingID IN (%1)").arg(list),
                 ofGuests);
        std::sort(ofGuests.begin(), ofGuests.end(),
                  [](const InvoiceListRow &a, const InvoiceListRow &b) { return a.id > b.id; });
        rows += ofGuests.mid(0, limit - rows.size());
    }
    return withStatuses(rows);
}

qint64 CountInvoices(Database &db, const QDate &first, const QDate &last)
{
    return db.query(QStringLiteral("SELECT count(*) FROM invoice WHERE IssuedOn >= %1 AND IssuedOn <= %2")
                        .arg(literal(dayText(first)), literal(dayText(last))))
        .value(0)
        .toLongLong();
}

void WriteInvoiceJournal(Database &db, const QDate &first, const QDate &last, QIODevice &out)
{
    const auto write = [&out](const QStringList &fields) { WriteCsvLine(out, fields); };
    const auto t = [](const char *text) { return QCoreApplication::translate("Invoices", text); };
    static const char *const headers[] = {
        QT_TRANSLATE_NOOP("Invoices", "Number"),   QT_TRANSLATE_NOOP("Invoices", "Date"),
        QT_TRANSLATE_NOOP("Invoices", "Kind"),     QT_TRANSLATE_NOOP("Invoices", "Credits"),
        QT_TRANSLATE_NOOP("Invoices", "Booking"),  QT_TRANSLATE_NOOP("Invoices", "Guest"),
        QT_TRANSLATE_NOOP("Invoices", "Net"),      QT_TRANSLATE_NOOP("Invoices", "Tax"),
        QT_TRANSLATE_NOOP("Invoices", "Tax Rate"), QT_TRANSLATE_NOOP("Invoices", "Total"),
        QT_TRANSLATE_NOOP("Invoices", "Paid"),     QT_TRANSLATE_NOOP("Invoices", "Due")};
    QStringList header;
    for (const char *h : headers)
        header << t(h);
    write(header);
    const QString invoice = t(QT_TRANSLATE_NOOP("Invoices", "Invoice")), credit = t(QT_TRANSLATE_NOOP("Invoices", "Credit note"));
    for (Recordset r = db.query(QStringLiteral("SELECT i.Number, i.IssuedOn, i.Kind, c.Number, i.BookingID, i.Guest, i.NetCents, "
                                               "i.TaxCents, i.TaxRate, i.TotalCents, i.PaidCents FROM invoice AS i "
                                               "LEFT JOIN invoice AS c ON c.id = i.CreditOf WHERE i.IssuedOn >= %1 AND "
                                               "i.IssuedOn <= %2 ORDER BY i.IssuedOn, i.Series, i.Sequence")
                                    .arg(literal(dayText(first)), literal(dayText(last))));
         !r.eof(); r.moveNext()) {
        const qint64 total = r.value(9).toLongLong(), paid = r.value(10).toLongLong();
        write({r.text(0), RegionalShortDate(QDate::fromString(r.text(1), Qt::ISODate)),
               r.text(2) == QLatin1String("credit") ? credit : invoice, r.text(3),
               r.text(4), r.text(5), FormatCents(r.value(6).toLongLong()), FormatCents(r.value(7).toLongLong()), r.text(8),
               FormatCents(total), FormatCents(paid), FormatCents(total - paid)});
    }
}

QString InvoiceDigest(const QStringList &stored)
{
    // Each value with its length before it: no two contents give one text.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &value : stored) {
        const QByteArray bytes = value.toUtf8();
        hash.addData(QByteArray::number(bytes.size()) + ':');
        hash.addData(bytes);
    }
    return QString::fromLatin1(hash.result().toHex());
}

InvoiceChain VerifyInvoices(Database &db, const std::function<bool(qint64, qint64)> &progress)
{
    InvoiceChain chain;
    const qint64 total = db.query(QStringLiteral("SELECT count(*) FROM invoice")).value(0).toLongLong();
    const auto broken = [&chain](const QString &number, const QString &why) {
        chain.whole = false;
        chain.firstBroken = number;
        chain.why = why;
        return chain;
    };
    RowReader row = db.read(QStringLiteral("SELECT %1, Digest FROM invoice ORDER BY Series, Sequence")
                                .arg(QLatin1String(kDigestColumns)));
    const int columns = 20;
    QString series, priorDigest;
    qint64 sequence = 0;
    QHash<QString, qint64> last;
    while (row.next()) {
        QStringList stored;
        for (int i = 0; i < columns; ++i)
            stored << QString::fromUtf8(row.text(i).toByteArray());
        const QString digest = QString::fromUtf8(row.text(columns).toByteArray());
        const QString &number = stored.at(0);
        if (stored.at(1) != series) {
            series = stored.at(1);
            sequence = 0;
            priorDigest.clear();
        }
        if (stored.at(2).toLongLong() != sequence + 1)
            return broken(number, QCoreApplication::translate("Invoices", "the numbers of its series before it are not all there"));
        sequence = stored.at(2).toLongLong();
        last.insert(series, sequence);
        if (digest.isEmpty()) {
            // Issued before the invoices were chained: only at a series' start.
            if (!priorDigest.isEmpty())
                return broken(number, QCoreApplication::translate("Invoices", "it carries no digest"));
            ++chain.beforeChain;
        } else {
            if (stored.at(19) != priorDigest)
                return broken(number, QCoreApplication::translate("Invoices", "it does not follow the invoice before it"));
            if (InvoiceDigest(stored) != digest)
                return broken(number, QCoreApplication::translate("Invoices", "what it holds is not what was issued"));
            ++chain.checked;
        }
        priorDigest = digest;
        if (progress && (chain.checked + chain.beforeChain) % 1000 == 0
            && !progress(chain.checked + chain.beforeChain, total))
            throw DbError(QCoreApplication::translate("Invoices", "The check of the invoices was stopped."));
    }
    for (Recordset r = db.query(QStringLiteral("SELECT Series, LastNumber FROM invoiceseries ORDER BY Series")); !r.eof();
         r.moveNext())
        if (last.value(r.text(0)) != r.value(1).toLongLong())
            return broken(r.text(0), QCoreApplication::translate("Invoices", "the series' last number is not its last invoice"));
    return chain;
}

QString InvoiceChain::text() const
{
    if (!whole)
        return QCoreApplication::translate("Invoices", "The invoices are not as they were issued from %1 on: %2.")
            .arg(firstBroken, why);
    QString said = QCoreApplication::translate("Invoices", "Every invoice series is whole (invoices checked: %1).").arg(checked);
    if (beforeChain > 0)
        said += QLatin1Char(' ')
            + QCoreApplication::translate("Invoices", "Invoices issued before they were chained, without a digest: %1.")
                  .arg(beforeChain);
    return said;
}

}  // namespace innkeld
