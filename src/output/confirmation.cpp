#include "confirmation.h"

#include "data/regional.h"
#include "wizard/bookingstore.h"
#include "wizard/payment.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <stdexcept>

namespace innkeld {

void AddLine(QString &document, const QString &line)
{
    document += line + QStringLiteral("\r\n");
}

QString ContactText(const Recordset &c)
{
    auto f = [&c](const char *name) { return c.text(QLatin1String(name)); };
    return f("BusinessName") + QLatin1Char(' ') + f("FirstName") + QLatin1Char(' ') + f("LastName")
        + QStringLiteral("\r\n") + f("Address1") + QStringLiteral(", ") + f("Address2") + QStringLiteral(", ")
        + f("City") + QStringLiteral(", ") + f("State") + QLatin1Char(' ') + f("PostCode") + QStringLiteral(". ")
        + f("Country") + QStringLiteral("\r\n") + QStringLiteral("ph: ") + f("Phone") + QLatin1Char(' ') + f("Email");
}

QString ConfirmationDocument(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName)
{
    const QString B = QString::number(bookingId);
    Recordset booking = db.execute(
        QStringLiteral("SELECT customerid, noadults, nokids, FromDate, ToDate, CostPerNight, PaymentMethod, "
                       "OtherCharges, SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, "
                       "CreditCardType FROM Booking WHERE ID = ")
        + B);
    QString doc;
    AddLine(doc, QStringLiteral("Booking Confirmation"));
    AddLine(doc, QString());
    if (booking.eof())
        return doc;

    // The same sub total as the payment step: the rooms count.
    const BookingAmounts a = AmountsOf(booking, BookingRoomCount(db, bookingId));
    const QString &C = currencySymbol;
    const QChar tab(QLatin1Char('\t'));
    AddLine(doc, QStringLiteral("Booking from ") + RegionalShortDate(booking.value(QStringLiteral("FromDate")).toDate())
                     + QStringLiteral(" to ") + RegionalShortDate(booking.value(QStringLiteral("ToDate")).toDate()));
    AddLine(doc, FormatCount(booking.value(QStringLiteral("noadults"))) + QStringLiteral(" Adults and ")
                     + FormatCount(booking.value(QStringLiteral("nokids"))) + QStringLiteral(" Children"));
    AddLine(doc, QString());
    AddLine(doc, QStringLiteral("Cost per night: ") + tab + C + FormatMoney(a.costPerNight));
    AddLine(doc, QStringLiteral("Other Charges: ") + tab + tab + C + FormatMoney(a.otherCharges));
    AddLine(doc, QStringLiteral("Sub Total: ") + tab + tab + C + FormatMoney(a.subTotal));
    AddLine(doc, taxName + QLatin1Char(' ') + tab + tab + tab + C + FormatMoney(a.salesTax));
    AddLine(doc, QStringLiteral("Total Payable: ") + tab + tab + C + FormatMoney(a.total));
    AddLine(doc, QStringLiteral("Amount Payed: ") + tab + tab + C + FormatMoney(a.amountPayed));
    AddLine(doc, QStringLiteral("Payment Method: ") + tab + booking.text(QStringLiteral("PaymentMethod")));

    const RecordId customerId = booking.value(QStringLiteral("customerid")).toLongLong();
    if (customerId != 0) {
        Recordset customer = db.execute(CustomerSql(customerId));
        if (!customer.eof()) {
            AddLine(doc, QString());
            AddLine(doc, QStringLiteral("Contact Details:"));
            AddLine(doc, ContactText(customer));
        }
    }
    return doc;
}

QString WriteConfirmationFile(const QString &document)
{
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("ConXXXXXX.txt")));
    file.setAutoRemove(false);  // the text editor reads it after we are done
    if (!file.open())
        throw std::runtime_error(QStringLiteral("Could not create a file in %1: %2")
                                     .arg(QDir::tempPath(), file.errorString())
                                     .toStdString());
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(document);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(QStringLiteral("Could not write %1: %2")
                                     .arg(file.fileName(), file.errorString())
                                     .toStdString());
    file.close();
    return file.fileName();
}

}  // namespace innkeld
