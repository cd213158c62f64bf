// A paper of the house shown in the print preview, through the seam: the
// booking's confirmation, an invoice or credit note as it was issued.
#pragma once

#include "data/sql/database.h"

#include <QString>
#include <QVector>

class QWidget;

namespace innkeld {

class UiServices;

// Throws DbError.
void ShowConfirmation(Database &db, UiServices &ui, QWidget *parent, RecordId bookingId, const QString &currencySymbol,
                      const QString &taxName);
void ShowInvoice(Database &db, UiServices &ui, QWidget *parent, RecordId invoiceId);
// The registration cards of the bookings, one a page, in one paper (one
// print job); the law of the desk's country named.
void ShowRegistrationCards(Database &db, UiServices &ui, QWidget *parent, const QVector<RecordId> &bookings,
                           const QString &title);

}  // namespace innkeld
