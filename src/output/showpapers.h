// A paper of the house shown in the print preview, through the seam: the
// booking's confirmation, an invoice or credit note as it was issued.
#pragma once

#include "data/sql/database.h"
#include "widgets/mailing.h"

#include <QString>
#include <QVector>

class QWidget;

namespace innkeld {

class UiServices;

// The papers as they are e-mailed: markup, logo, title and file name.
// Throws DbError.
PaperToMail ConfirmationMail(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName);
PaperToMail InvoiceMail(Database &db, RecordId invoiceId);
// The booking's invoice or credit note issued last; 0 when none was.
RecordId LatestInvoiceOf(Database &db, RecordId bookingId);

// Throws DbError.
void ShowConfirmation(Database &db, UiServices &ui, QWidget *parent, RecordId bookingId, const QString &currencySymbol,
                      const QString &taxName);
void ShowInvoice(Database &db, UiServices &ui, QWidget *parent, RecordId invoiceId);
// The registration cards of the bookings, one a page, in one paper (one
// print job); the law of the desk's country named.
void ShowRegistrationCards(Database &db, UiServices &ui, QWidget *parent, const QVector<RecordId> &bookings,
                           const QString &title);

}  // namespace innkeld
