#include "housecopy.h"

#include "backup.h"
#include "data/schema/bookingstatus.h"
#include "data/schema/bookingtables.h"
#include "data/schema/housedetails.h"
#include "data/schema/invoicetables.h"
#include "data/schema/touristtax.h"
#include "data/schema/houserules.h"
#include "data/schema/houseterms.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

// The tables in the order their links need: rooms and customers, then the
// bookings, then which booking holds which room (and the rooms a cancelled
// booking released, each booking's statuses); then the channels' rooms,
// feeds and the bookings their feeds made. Each with its key, and the
// channels' tables with their columns (the program's four are copied with
// the columns both databases have); then the invoices' series, logos and
// the invoices as they were issued, each with its number; the payments.
struct CopiedTable
{
    const char *name, *key, *columns;
};
const CopiedTable kOrder[] = {{"room", "id", nullptr},
                              {"customer", "id", nullptr},
                              {"booking", "id", nullptr},
                              {"bookingroom", "id", nullptr},
                              {"releasedroom", "id", "id, bookingid, roomid"},
                              {"bookingstatus", "id", "id, bookingid, Status, ChangedAt, ChangedBy, Reason, Note, FeeCents"},
                              {"channelroom", "roomid", "roomid, Shared"},
                              {"channelfeed", "id", "id, roomid, Channel, Address"},
                              {"channelbooking", "bookingid", "bookingid, feedid, uid"},
                              {"invoiceseries", "Series", "Series, LastNumber"},
                              {"invoicelogo", "Digest", "Digest, Picture"},
                              {"invoice", "id",
                               "id, Number, Series, Sequence, Kind, IssuedOn, BookingID, CreditOf, Guest, GuestAddress, "
                               "House, LogoDigest, Currency, TaxName, TaxRate, Lines, NetCents, TaxCents, TotalCents, "
                               "PaidCents, Digest, PriorDigest"},
                              {"payment", "id", "id, BookingID, PaidOn, AmountCents, Method, Note"},
                              {"bookinglanguage", "bookingid", "bookingid, Language"},
                              {"bookingtax", "bookingid", "bookingid, TaxName, TaxRate"},
                              {"roomcategory", "id",
                               "id, Name, Position, PriceCents, WeekdayMask, WeekdayCents, ExtraAdultCents, ExtraChildCents"},
                              {"roombeds", "roomid", "roomid, categoryid, Standard, MaxAdults, MaxChildren"},
                              {"season", "id", "id, Name, Position, FromDay, ToDay, EveryYear, MinNights"},
                              {"seasonprice", "seasonid", "seasonid, categoryid, PriceCents, WeekdayMask, WeekdayCents"},
                              {"staylength", "MinNights", "MinNights, PercentOff"},
                              {"extra", "id", "id, Name, Position, PriceCents, Per, TaxPercent"},
                              {"roomprice", "bookingid",
                               "bookingid, roomid, PriceCents, RateCents, Lines, OverrideBy, OverrideAt"},
                              {"bookingextra", "bookingid",
                               "bookingid, Position, extraid, Name, Per, Quantity, UnitCents, Cents, TaxPercent"},
                              {"registration", "bookingid", "bookingid, BirthDate, Nationality, DocumentKind, DocumentNumber"},
                              {"companion", "bookingid", "bookingid, Position, Name, BirthDate, Nationality"},
                              {"mailtemplate", "Kind, Language", "Kind, Language, Subject, Body"},
                              {"outbox", "id",
                               "id, bookingid, Kind, PaperID, ToAddress, Subject, Body, FileName, Attachment, MessageId, "
                               "Status, Attempts, QueuedAt, NextTry, ClaimedBy, ClaimedAt, SentAt, Answer"}};

qint64 countOf(Database &db, const char *table)
{
    return db.execute(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).value(0).toLongLong();
}

// One value as a literal of the target's SQL, read as the source holds it.
void appendLiteral(QString &sql, const RowReader &row, int column)
{
    switch (row.type(column)) {
    case RowReader::Type::Null:
        sql += QStringLiteral("NULL");
        return;
    case RowReader::Type::Integer:
        sql += QString::number(row.integer(column));
        return;
    case RowReader::Type::Real:
        sql += QString::number(row.real(column), 'g', 17);
        return;
    case RowReader::Type::Text:
    case RowReader::Type::Blob:
        break;
    }
    // As every text is stored now: a control character an earlier version
    // stored (a NUL, which a server cannot hold) does not stop the copy.
    sql += QLatin1Char('\'') + SqlText(QString::fromUtf8(row.text(column).toByteArray())) + QLatin1Char('\'');
}

}  // namespace

void CopyHouse(Database &source, Database &target, const CopyRowsProgress &progress)
{
    qint64 total = 0;
    for (const auto &[table, key, fixed] : kOrder) {
        if (countOf(target, table) > 0)
            throw DbError(QCoreApplication::translate("Copies", "The database %1 already holds %2 rows; a house is copied into an empty one.")
                              .arg(target.path(), QLatin1String(table)));
        total += countOf(source, table);
    }
    qint64 done = 0;
    Database::Transaction tx(target);
    // The house's rule comes along first: the stays are judged by it.
    SetDepartureDayFree(target, DepartureDayFree(source));
    // So do the channels' folder and whether they are fetched by themselves.
    Recordset channels = source.execute(QStringLiteral("SELECT Folder, AutoImport FROM channelsettings WHERE id = 1"));
    if (!channels.eof())
        target.execute(QStringLiteral("UPDATE channelsettings SET Folder = '%1', AutoImport = %2 WHERE id = 1")
                           .arg(SqlText(channels.text(0)))
                           .arg(channels.value(1).toLongLong()));
    // And the house's terms, when the source keeps them.
    if (const auto terms = ReadHouseTerms(source))
        WriteHouseTerms(target, *terms);
    // And its details, which head its papers.
    WriteHouseDetails(target, ReadHouseDetails(source));
    WriteTouristTax(target, ReadTouristTax(source));
    // The house's rules of what it keeps of its guests, and how its mail
    // server is reached, row for row.
    const auto copyRow = [&](const QString &table, const QStringList &columns) {
        Recordset row = source.execute(QStringLiteral("SELECT %1 FROM %2 WHERE id = 1").arg(columns.join(QLatin1String(", ")), table));
        if (row.eof())
            return;
        QStringList set;
        for (int i = 0; i < columns.size(); ++i)
            set << columns[i] + (row.isNull(i) ? QStringLiteral(" = NULL")
                                               : QStringLiteral(" = '%1'").arg(SqlText(row.text(i))));
        target.execute(QStringLiteral("UPDATE %1 SET %2 WHERE id = 1").arg(table, set.join(QLatin1String(", "))));
    };
    copyRow(QStringLiteral("retention"), {QStringLiteral("RegistrationMonths"), QStringLiteral("CardDays"), QStringLiteral("CardsMaskedTo")});
    copyRow(QStringLiteral("mailsettings"), {QStringLiteral("SenderName"), QStringLiteral("SenderAddress"), QStringLiteral("ReplyTo"),
                                             QStringLiteral("Host"), QStringLiteral("Port"), QStringLiteral("Security"),
                                             QStringLiteral("UserName")});
    // The bookings come with their statuses and histories as they are.
    for (const QString &sql : StatusGuardsSuspended(target.engineKind()))
        target.run(sql);
    for (const auto &[table, key, fixed] : kOrder) {
        // The columns both databases have, as the source spells them.
        QStringList columns;
        if (fixed)
            columns = QString::fromLatin1(fixed).split(QStringLiteral(", "));
        for (const QString &column : fixed ? QStringList() : source.schema().columns(QLatin1String(table))) {
            ColumnKind kind;
            if (target.schema().kindOf(QLatin1String(table), column, &kind))
                columns << column;
        }
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                                   .arg(QLatin1String(table), columns.join(QLatin1String(", ")).toLower());
        // The links are checked all at once when they are in: the pairs of
        // stays the rooms step would refuse whichever was saved first, and
        // links to nothing (one by one, a pair stored in the other order
        // than its links' would be refused wrongly, and slowly).
        const bool links = qstrcmp(table, "bookingroom") == 0;
        if (links)
            SuspendLinkGuard(target, true);
        // The invoices come as they were issued, numbers, prefixes and
        // digests kept; their days are added up and their guards put back
        // once they are in.
        if (qstrcmp(table, "invoiceseries") == 0)
            for (const QString &sql : InvoiceGuardsSuspended(target.engineKind()))
                target.run(sql);
        RowReader row = source.read(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                        .arg(columns.join(QLatin1String(", ")), QLatin1String(table), QLatin1String(key)));
        QString batch;
        int rows = 0;
        const auto flush = [&] {
            if (rows == 0)
                return;
            target.run(batch);
            done += rows;
            rows = 0;
            batch.clear();
            if (progress)
                progress(done, total);
        };
        while (row.next()) {
            batch += rows == 0 ? insert : QStringLiteral(", ");
            batch += QLatin1Char('(');
            for (int i = 0; i < row.columnCount(); ++i) {
                if (i > 0)
                    batch += QStringLiteral(", ");
                appendLiteral(batch, row, i);
            }
            batch += QLatin1Char(')');
            if (++rows == 500)
                flush();
        }
        flush();
        if (links) {
            SuspendLinkGuard(target, false);
            const QStringList clashes = StoredClashes(target);
            if (!clashes.isEmpty())
                throw DbError(QCoreApplication::translate("Copies", "The house is not copied: its rooms are held twice (innkeld-sql --check "
                                             "lists all of it):\n")
                              + clashes.mid(0, 10).join(QLatin1Char('\n')));
        }
        if (qstrcmp(table, "invoice") == 0)
            for (const QString &sql : InvoiceGuardsRestored(target.engineKind()))
                target.run(sql);
        const qint64 copied = countOf(target, table);
        const qint64 expected = countOf(source, table);
        if (copied != expected)
            throw DbError(QCoreApplication::translate("Copies", "The copy of %1 holds %2 rows, the source %3; nothing was copied.")
                              .arg(QLatin1String(table))
                              .arg(copied)
                              .arg(expected));
        // New rows on the server get keys past the copied ones (SQLite
        // keeps its counter past every key it was given).
        if (target.onServer() && qstrcmp(key, "id") == 0)
            target.run(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), max(id)) FROM %1 "
                                      "HAVING max(id) IS NOT NULL")
                           .arg(QLatin1String(table)));
    }
    for (const QString &sql : StatusGuardsRestored(target.engineKind()))
        target.run(sql);
    tx.commit();
}

}  // namespace innkeld
