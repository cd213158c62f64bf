#include "confirmation.h"

#include "data/regional/regional.h"
#include "booking/bookingview.h"



namespace innkeld {

void AddLine(QString &document, const QString &line)
{
    document += line + QStringLiteral("\r\n");
}


QString ConfirmationDocument(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName)
{
    // What the confirmation step shows, read the same way.
    const ConfirmView v = LoadConfirmStep(db, bookingId);
    QString doc;
    AddLine(doc, QStringLiteral("Booking Confirmation"));
    AddLine(doc, QString());
    if (!v.found)
        return doc;

    const BookingAmounts &a = v.amounts;
    const QString &C = currencySymbol;
    const QChar tab(QLatin1Char('\t'));
    AddLine(doc, QStringLiteral("Booking from ") + RegionalShortDate(v.from.date()) + QStringLiteral(" to ")
                     + RegionalShortDate(v.to.date()));
    AddLine(doc, FormatCount(v.adults) + QStringLiteral(" Adults and ") + FormatCount(v.children)
                     + QStringLiteral(" Children"));
    AddLine(doc, QString());
    AddLine(doc, QStringLiteral("Cost per night: ") + tab + MoneyWithSymbol(a.costPerNight, C));
    AddLine(doc, QStringLiteral("Other Charges: ") + tab + tab + MoneyWithSymbol(a.otherCharges, C));
    AddLine(doc, QStringLiteral("Sub Total: ") + tab + tab + MoneyWithSymbol(a.subTotal, C));
    AddLine(doc, taxName + QLatin1Char(' ') + tab + tab + tab + MoneyWithSymbol(a.salesTax, C));
    AddLine(doc, QStringLiteral("Total Payable: ") + tab + tab + MoneyWithSymbol(a.total, C));
    AddLine(doc, QStringLiteral("Amount Payed: ") + tab + tab + MoneyWithSymbol(a.amountPayed, C));
    AddLine(doc, QStringLiteral("Payment Method: ") + tab + v.paymentMethod);
    if (v.hasContact) {
        AddLine(doc, QString());
        AddLine(doc, QStringLiteral("Contact Details:"));
        AddLine(doc, v.contact);
    }
    return doc;
}

}  // namespace innkeld
