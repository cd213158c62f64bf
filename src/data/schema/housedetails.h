// The house's own details, shown at the head and foot of every document a
// guest is handed (its name, address, phone, e-mail, VAT number, logo and a
// footer such as bank details or terms), and how its invoices are numbered.
// Kept in the database (a table of one row, housedetails), so that every
// desk prints the same.
#pragma once

#include "schemapart.h"

#include <QByteArray>
#include <QString>

namespace innkeld {

struct HouseDetails
{
    QString name;
    QString address;  // lines kept
    QString phone;
    QString email;
    QString vatNumber;
    QByteArray logo;  // the picture's file as it was chosen (PNG, JPEG...), empty for none
    QString footer;   // lines kept
    QString invoicePrefix;      // before the number: "INV-"
    bool yearlyRestart = true;  // the series starts at 1 each year, the year in the number
};

SchemaPart HouseDetailsPart();

// The details the house keeps; empty ones before any desk stored them.
// Throws DbError.
HouseDetails ReadHouseDetails(Database &db);
// Stores them for every desk, in one transaction. Throws DbError.
void WriteHouseDetails(Database &db, const HouseDetails &details);

}  // namespace innkeld
