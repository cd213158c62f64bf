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

PaperToMail ConfirmationMail(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName)
{
    PaperToMail paper;
    paper.kind = PaperKind::Confirmation;
    paper.booking = bookingId;
    paper.html = ConfirmationPaper(db, bookingId, currencySymbol, taxName, BookingPaperLanguage(db, bookingId));
    paper.logo = ReadHouseDetails(db).logo;
    paper.title = QCoreApplication::translate("Papers", "Booking Confirmation %1").arg(bookingId);
    paper.fileName = QStringLiteral("Confirmation-%1.pdf").arg(bookingId);
    paper.currencySymbol = currencySymbol;
    return paper;
}

PaperToMail InvoiceMail(Database &db, RecordId invoiceId)
{
    const Invoice invoice = ReadInvoice(db, invoiceId);
    PaperToMail paper;
    paper.kind = PaperKind::Invoice;
    paper.booking = invoice.bookingId;
    paper.paper = invoiceId;
    paper.html = InvoicePaper(invoice, BookingPaperLanguage(db, invoice.bookingId));
    paper.logo = invoice.house.logo;
    paper.currencySymbol = invoice.currency;
    const QString kind = invoice.credit ? QCoreApplication::translate("Papers", "Credit Note")
                                        : QCoreApplication::translate("Papers", "Invoice");
    paper.title = kind + QLatin1Char(' ') + invoice.number;
    // The number as a file's name takes only what every file system takes.
    paper.fileName = kind + QLatin1Char('-') + invoice.number + QStringLiteral(".pdf");
    paper.fileName.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("-"));
    return paper;
}

void ShowConfirmation(Database &db, UiServices &ui, QWidget *parent, RecordId bookingId, const QString &currencySymbol,
                      const QString &taxName)
{
    const PaperToMail paper = ConfirmationMail(db, bookingId, currencySymbol, taxName);
    const auto document = MakePaper(paper.html, paper.logo);
    ui.showPaper(parent, paper.title, *document, paper.fileName);
}

void ShowInvoice(Database &db, UiServices &ui, QWidget *parent, RecordId invoiceId)
{
    const PaperToMail paper = InvoiceMail(db, invoiceId);
    const auto document = MakePaper(paper.html, paper.logo);
    ui.showPaper(parent, paper.title, *document, paper.fileName);
}

RecordId LatestInvoiceOf(Database &db, RecordId bookingId)
{
    const Recordset r = db.execute(QStringLiteral("SELECT id FROM invoice WHERE BookingID = %1 ORDER BY id DESC LIMIT 1").arg(bookingId));
    return r.eof() ? 0 : r.value(0).toLongLong();
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
