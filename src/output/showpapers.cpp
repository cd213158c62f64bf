#include "showpapers.h"

#include "invoices.h"
#include "papers.h"
#include "data/schema/housedetails.h"
#include "data/schema/paperlanguage.h"
#include "widgets/paper.h"
#include "widgets/uiservices.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTextDocument>

namespace innkeld {

void ShowConfirmation(Database &db, UiServices &ui, QWidget *parent, RecordId bookingId, const QString &currencySymbol,
                      const QString &taxName)
{
    const auto paper = MakePaper(ConfirmationPaper(db, bookingId, currencySymbol, taxName, BookingPaperLanguage(db, bookingId)),
                                 ReadHouseDetails(db).logo);
    ui.showPaper(parent, QCoreApplication::translate("Papers", "Booking Confirmation %1").arg(bookingId), *paper,
                 QStringLiteral("Confirmation-%1.pdf").arg(bookingId));
}

void ShowInvoice(Database &db, UiServices &ui, QWidget *parent, RecordId invoiceId)
{
    const Invoice invoice = ReadInvoice(db, invoiceId);
    const auto paper = MakePaper(InvoicePaper(invoice, BookingPaperLanguage(db, invoice.bookingId)), invoice.house.logo);
    const QString kind = invoice.credit ? QCoreApplication::translate("Papers", "Credit Note")
                                        : QCoreApplication::translate("Papers", "Invoice");
    // The number as a file's name takes only what every file system takes.
    QString file = kind + QLatin1Char('-') + invoice.number + QStringLiteral(".pdf");
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("-"));
    ui.showPaper(parent, kind + QLatin1Char(' ') + invoice.number, *paper, file);
}

void ShowRegistrationCards(Database &db, UiServices &ui, QWidget *parent, const QVector<RecordId> &bookings,
                           const QString &title)
{
    if (bookings.isEmpty())
        return;
    const auto paper = MakePaper(RegistrationCardsPaper(db, bookings, QLocale::territoryToCode(QLocale().territory())),
                                 ReadHouseDetails(db).logo);
    QString file = title + QStringLiteral(".pdf");
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("-"));
    ui.showPaper(parent, title, *paper, file);
}

}  // namespace innkeld
