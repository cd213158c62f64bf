// The invoices and credit notes the house issued, as they were issued: each
// a row that holds its lines, the guest's name and address, the house's
// details and the amounts, never changed nor removed once stored (the
// engine refuses it, by any road). Their numbers come from the house's
// series (invoiceseries: the last number given in each), given in the same
// transaction that stores the invoice: a series has no gap and no number
// twice. A logo is kept once for all the invoices that show it.
#pragma once

#include "schemapart.h"

#include <QDate>

namespace innkeld {

SchemaPart InvoiceTablesPart();
// The amounts issued each day, by tax and rate (invoiceday), added up as
// each invoice or credit note is stored: what the reports read.
SchemaPart InvoiceDaysPart();

// The series an invoice issued on `on` belongs to ("2026" when numbers
// start again each year, else "all"), and the number it gets at `sequence`:
// the prefix, the year when the series starts again each year, the
// sequence of at least four digits. The engine holds every invoice to it.
QString InvoiceSeriesOf(bool yearlyRestart, const QDate &on);
QString InvoiceNumberOf(const QString &prefix, bool yearlyRestart, const QDate &on, qint64 sequence);
// The number the next invoice issued on `on` would get with this prefix
// and restart; *taken true when an earlier invoice has it already.
QString NextInvoiceNumber(Database &db, const QString &prefix, bool yearlyRestart, const QDate &on, bool *taken);

// What the engine says when an issued invoice would be changed or removed.
QString IssuedInvoiceRefusal();

// For copying a whole house's invoices, as they were issued, into an empty
// database within one transaction: the statements that set the invoices'
// guards aside, and those that add up the days and put the guards back.
QStringList InvoiceGuardsSuspended(Engine engine);
QStringList InvoiceGuardsRestored(Engine engine);

}  // namespace innkeld
