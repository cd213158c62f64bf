#include "touristtax.h"

#include <QCoreApplication>

namespace innkeld {

SchemaPart TouristTaxPart()
{
    return TablesPart(QCoreApplication::translate("Upgrade", "Adding the tourist tax"),
                      {QStringLiteral("CREATE TABLE touristtax (id INTEGER PRIMARY KEY CHECK (id = 1), "
                                      "AmountCents INTEGER NOT NULL DEFAULT 0 CHECK (AmountCents >= 0), "
                                      "FreeUnderAge INTEGER NOT NULL DEFAULT 0 CHECK (FreeUnderAge BETWEEN 0 AND 99), "
                                      "CapNights INTEGER NOT NULL DEFAULT 0 CHECK (CapNights >= 0))")},
                      QStringLiteral("touristtax"));
}

TouristTax ReadTouristTax(Database &db)
{
    TouristTax tax;
    Recordset rs = db.execute(QStringLiteral("SELECT AmountCents, FreeUnderAge, CapNights FROM touristtax WHERE id = 1"));
    if (rs.eof())
        return tax;
    tax.cents = rs.value(0).toLongLong();
    tax.freeUnderAge = rs.value(1).toInt();
    tax.capNights = rs.value(2).toInt();
    return tax;
}

void WriteTouristTax(Database &db, const TouristTax &tax)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM touristtax"));
    db.execute(QStringLiteral("INSERT INTO touristtax (id, AmountCents, FreeUnderAge, CapNights) VALUES (1, %1, %2, %3)")
                   .arg(tax.cents)
                   .arg(tax.freeUnderAge)
                   .arg(tax.capNights));
    tx.commit();
}

}  // namespace innkeld
