#include "housedetails.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

// The logo is kept as Base64 text: the same column on both engines.
const char *const kColumns = "HouseName, Address, Phone, Email, VatNumber, Logo, Footer, InvoicePrefix, YearlyRestart";

QString quoted(const QString &text, bool lines)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, lines)) + QLatin1Char('\'');
}

}  // namespace

SchemaPart HouseDetailsPart()
{
    return TablesPart(QCoreApplication::translate("Upgrade", "Adding the house's details"),
                      {QStringLiteral("CREATE TABLE housedetails (id INTEGER PRIMARY KEY CHECK (id = 1), "
                                      "HouseName text NOT NULL DEFAULT '', Address text NOT NULL DEFAULT '', "
                                      "Phone text NOT NULL DEFAULT '', Email text NOT NULL DEFAULT '', "
                                      "VatNumber text NOT NULL DEFAULT '', Logo text NOT NULL DEFAULT '', "
                                      "Footer text NOT NULL DEFAULT '', InvoicePrefix text NOT NULL DEFAULT '', "
                                      "YearlyRestart INTEGER NOT NULL DEFAULT 1 CHECK (YearlyRestart IN (0, 1)))")},
                      QStringLiteral("housedetails"));
}

HouseDetails ReadHouseDetails(Database &db)
{
    HouseDetails d;
    Recordset rs = db.execute(QStringLiteral("SELECT %1 FROM housedetails WHERE id = 1").arg(QLatin1String(kColumns)));
    if (rs.eof())
        return d;
    d.name = rs.text(0);
    d.address = rs.text(1);
    d.phone = rs.text(2);
    d.email = rs.text(3);
    d.vatNumber = rs.text(4);
    d.logo = QByteArray::fromBase64(rs.text(5).toLatin1());
    d.footer = rs.text(6);
    d.invoicePrefix = rs.text(7);
    d.yearlyRestart = rs.value(8).toLongLong() != 0;
    return d;
}

void WriteHouseDetails(Database &db, const HouseDetails &d)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM housedetails"));
    const QStringList values{quoted(d.name, false),      quoted(d.address, true),
                             quoted(d.phone, false),     quoted(d.email, false),
                             quoted(d.vatNumber, false), QLatin1Char('\'') + QString::fromLatin1(d.logo.toBase64()) + QLatin1Char('\''),
                             quoted(d.footer, true),     quoted(d.invoicePrefix, false),
                             QString::number(d.yearlyRestart ? 1 : 0)};
    db.execute(QStringLiteral("INSERT INTO housedetails (id, ") + QLatin1String(kColumns) + QStringLiteral(") VALUES (1, ")
               + values.join(QStringLiteral(", ")) + QLatin1Char(')'));
    tx.commit();
}

}  // namespace innkeld
