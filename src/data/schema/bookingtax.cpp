#include "bookingtax.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

QStringList statements(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return {QStringLiteral("CREATE TABLE bookingtax (bookingid bigint PRIMARY KEY REFERENCES booking (ID) ON DELETE "
                               "CASCADE ON UPDATE CASCADE, TaxName text NOT NULL, TaxRate text NOT NULL)")};
    return QStringList{QStringLiteral("CREATE TABLE bookingtax (bookingid INTEGER PRIMARY KEY, TaxName TEXT NOT NULL, "
                                      "TaxRate TEXT NOT NULL)")}
        + BookingLinkTriggers(QStringLiteral("bookingtax"));
}

QString literal(const QString &text)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, false)) + QLatin1Char('\'');
}

}  // namespace

SchemaPart BookingTaxPart()
{
    return EnginePart(QCoreApplication::translate("Upgrade", "Keeping each booking's tax rate"), statements, QStringLiteral("bookingtax"));
}

std::optional<BookingTax> ReadBookingTax(Database &db, RecordId bookingId)
{
    const Recordset rs = db.execute(QStringLiteral("SELECT TaxName, TaxRate FROM bookingtax WHERE bookingid = %1").arg(bookingId));
    if (rs.eof())
        return std::nullopt;
    return BookingTax{rs.text(0), rs.text(1)};
}

void WriteBookingTax(Database &db, RecordId bookingId, const BookingTax &tax)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM bookingtax WHERE bookingid = %1").arg(bookingId));
    db.execute(QStringLiteral("INSERT INTO bookingtax (bookingid, TaxName, TaxRate) VALUES (%1, %2, %3)")
                   .arg(bookingId)
                   .arg(literal(tax.name), literal(tax.rate)));
    tx.commit();
}

}  // namespace innkeld
