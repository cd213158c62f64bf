// The invoices and credit notes the house issued, as they were issued: each
// a row that holds its lines, the guest's name and address, the house's
// details and the amounts, never changed nor removed once stored (the
// engine refuses it, by any road). Their numbers come from the house's
// series (invoiceseries: the last number given in each), given in the same
// transaction that stores the invoice: a series has no gap and no number
// twice. A logo is kept once for all the invoices that show it.
#pragma once

#include "schemapart.h"

namespace innkeld {

SchemaPart InvoiceTablesPart();
// The amounts issued each day, by tax and rate (invoiceday), added up as
// each invoice or credit note is stored: what the reports read.
SchemaPart InvoiceDaysPart();

// What the engine says when an issued invoice would be changed or removed.
QString IssuedInvoiceRefusal();

// For copying a whole house's invoices, as they were issued, into an empty
// database within one transaction: the statements that set the invoices'
// guards aside, and those that add up the days and put the guards back.
QStringList InvoiceGuardsSuspended(Engine engine);
QStringList InvoiceGuardsRestored(Engine engine);

}  // namespace innkeld
