// Invoices and credit notes: issued from a booking (the next number of the
// house's series, given in the transaction that stores the invoice), read
// back as they were issued, listed as the operator types, and written out
// as the accountant's journal.
#pragma once

#include "data/schema/housedetails.h"
#include "booking/bookingstatus.h"
#include "data/sql/database.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

namespace innkeld {

// The line of a cancellation's fee, as it is stored (the paper says it in
// its own language).
constexpr const char *kCancellationFee = "Cancellation fee";

struct InvoiceLine
{
    QString room;    // the room's name; empty for the other charges and the extras
    int nights = 0;  // of the room (for an extra: how many)
    qint64 unitCents = 0;  // the cost per night
    qint64 cents = 0;
    // What the line charges, for a booking priced by the rates: "season"
    // (nights at a season's or category's price, named by `label`), "adult"
    // and "child" (extra beds), "length" (the length-of-stay reduction, its
    // percentage in unitCents, its nights in `label`), "byhand" (a room's
    // price set by hand), "extra" (named by `label`); empty: a room's nights
    // at the cost per night, or the other charges.
    QString kind;
    QString label;
    QString taxRate;  // the line's own rate when it is not the invoice's
};

// The tax of one rate, when an invoice has several.
struct InvoiceTax
{
    QString rate;
    qint64 netCents = 0, taxCents = 0;
};

struct Invoice
{
    RecordId id = 0;
    QString number;
    bool credit = false;     // a credit note
    QString creditOfNumber;  // the invoice a credit note credits
    QDate issuedOn;
    RecordId bookingId = 0;
    QDate arrival, departure;
    QString guest;
    QString guestAddress;  // lines
    HouseDetails house;    // as they were at the issue, the logo included
    QString currency, taxName, taxRate;
    QVector<InvoiceLine> lines;
    QVector<InvoiceTax> taxes;  // by rate, when there are several (taxRate then joins them)
    qint64 netCents = 0, taxCents = 0, totalCents = 0, paidCents = 0;
    qint64 dueCents() const { return totalCents - paidCents; }
};

struct RoomCharge;
// A room's lines as priced: its nights by rate, its extra beds and
// length-of-stay reduction, or one line for a price set by hand.
QVector<InvoiceLine> RoomLines(const RoomCharge &room, int nights);

// Whether the house's details name it and its address, as an invoice must;
// the refusal when they do not.
bool HouseNamedForInvoices(const HouseDetails &house);
QString HouseUnnamedMessage();

// Issues the invoice of a booking dated `on`: its rooms' nights at the cost
// per night, the other charges, the sales tax stored with the booking, what
// was paid. Refused (DbError, in the operator's words) for a booking that
// is gone, has no guest, or has an invoice no credit note took back, and
// while the house has no name or address.
// Returns the invoice's key.
RecordId IssueInvoice(Database &db, RecordId bookingId, const QDate &on);
// Issues the credit note of an invoice: its lines and amounts negated,
// its own number of the series. Refused for a credit note, or an invoice
// already credited. Returns the credit note's key.
RecordId IssueCreditNote(Database &db, RecordId invoiceId, const QDate &on);
// The invoice as it was issued. Throws DbError when there is none.
Invoice ReadInvoice(Database &db, RecordId invoiceId);
// The booking's invoices and credit notes, the latest first.
QVector<RecordId> InvoicesOfBooking(Database &db, RecordId bookingId);

// A line of the invoices' list.
struct InvoiceListRow
{
    RecordId id = 0;
    QString number;
    bool credit = false;
    QDate issuedOn;
    QString guest;
    qint64 totalCents = 0, dueCents = 0;
    RecordId bookingId = 0;
    BookingStatus status = BookingStatus::Booked;  // the booking's now
};
// The invoices whose number begins with `text`, or whose guest has a word
// that begins with each word of it, the latest first; at most `limit`.
QVector<InvoiceListRow> ListInvoices(Database &db, const QString &text, int limit);

// How many invoices and credit notes were issued from `first` to `last`.
qint64 CountInvoices(Database &db, const QDate &first, const QDate &last);
// The journal of the invoices and credit notes issued from `first` to
// `last`, as CSV (one line each: number, date, kind, credited invoice,
// booking, guest, net, tax, total, paid, due). Throws DbError, or
// std::runtime_error when the device fails.
void WriteInvoiceJournal(Database &db, const QDate &first, const QDate &last, QIODevice &out);

// An amount in hundredths as the region writes money, without its symbol.
QString FormatCents(qint64 cents);

// The digest (SHA-256, hex) of an invoice's stored values, in the order of
// the invoice's columns Number ... PaidCents, then the digest of the one
// before it in its series.
QString InvoiceDigest(const QStringList &stored);

// Whether every series of invoices is as it was issued: each invoice's
// digest is that of what it holds, each follows the one before it, no
// number is missing, and each series' last number is its last invoice.
struct InvoiceChain
{
    bool whole = true;
    qint64 checked = 0;      // invoices whose digests were checked
    qint64 beforeChain = 0;  // issued before invoices were chained
    QString firstBroken;     // the first invoice (or series) where it is not whole
    QString why;
    // In the operator's words.
    QString text() const;
};
// Throws DbError (also when `progress` says stop).
InvoiceChain VerifyInvoices(Database &db, const std::function<bool(qint64 done, qint64 total)> &progress = {});

}  // namespace innkeld
