#include "papers.h"

#include "invoices.h"
#include "data/regional/regional.h"
#include "wizard/bookingview.h"
#include "wizard/paymentrecords.h"

namespace innkeld {

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(QStringLiteral("\r\n"), QStringLiteral("<br>")).replace(QLatin1Char('\n'),
                                                                                                 QStringLiteral("<br>"));
}

QString page(const HouseDetails &house, const QString &body)
{
    QStringList head;
    if (!house.name.isEmpty())
        head << QStringLiteral("<span style=\"font-size:16pt; font-weight:bold\">%1</span>").arg(escaped(house.name));
    if (!house.address.isEmpty())
        head << escaped(house.address);
    QStringList reach;
    if (!house.phone.isEmpty())
        reach << QStringLiteral("Phone: ") + escaped(house.phone);
    if (!house.email.isEmpty())
        reach << escaped(house.email);
    if (!reach.isEmpty())
        head << reach.join(QStringLiteral(" &middot; "));
    if (!house.vatNumber.isEmpty())
        head << QStringLiteral("VAT No.: ") + escaped(house.vatNumber);
    QString html = QStringLiteral("<html><body style=\"font-size:10pt\"><table width=\"100%\" cellpadding=\"0\"><tr>"
                                  "<td valign=\"top\">%1</td>")
                       .arg(head.join(QStringLiteral("<br>")));
    if (!house.logo.isEmpty())
        html += QStringLiteral("<td align=\"right\" valign=\"top\"><img src=\"%1\" height=\"72\"></td>").arg(QLatin1String(kLogoName));
    html += QStringLiteral("</tr></table><hr>") + body;
    if (!house.footer.isEmpty())
        html += QStringLiteral("<hr><p style=\"font-size:8pt\">%1</p>").arg(escaped(house.footer));
    return html + QStringLiteral("</body></html>");
}

}  // namespace

QString LetterheadPaper(const HouseDetails &house, const QString &body)
{
    return page(house, body);
}

namespace {

// A table of captions and values, the values to the right.
QString rows(const QList<std::pair<QString, QString>> &lines)
{
    QString html = QStringLiteral("<table cellpadding=\"2\">");
    for (const auto &[caption, value] : lines)
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>").arg(escaped(caption), escaped(value));
    return html + QStringLiteral("</table>");
}

}  // namespace

QString ConfirmationPaper(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName)
{
    const HouseDetails house = ReadHouseDetails(db);
    const ConfirmView v = LoadConfirmStep(db, bookingId);
    QString body = QStringLiteral("<h2>Booking Confirmation</h2>");
    if (!v.found)
        return page(house, body);
    const BookingAmounts &a = v.amounts;
    const QString &C = currencySymbol;
    const QStringList rooms = BookedRoomNames(db, bookingId);
    body += QStringLiteral("<p><b>Booking number: %1</b></p><p>").arg(bookingId);
    body += escaped(QStringLiteral("Booking from ") + RegionalShortDate(v.from.date()) + QStringLiteral(" to ")
                    + RegionalShortDate(v.to.date()))
        + QStringLiteral("<br>") + escaped(FormatCount(v.adults) + QStringLiteral(" Adults and ") + FormatCount(v.children)
                                          + QStringLiteral(" Children"))
        + QStringLiteral("<br>") + escaped(QStringLiteral("Nights: ") + QString::number(a.nights))
        + QStringLiteral("<br>") + escaped(QStringLiteral("Rooms: ") + rooms.join(QStringLiteral(", "))) + QStringLiteral("</p>");
    body += rows({{QStringLiteral("Cost per night:"), C + FormatMoney(a.costPerNight)},
                  {QStringLiteral("Other Charges:"), C + FormatMoney(a.otherCharges)},
                  {QStringLiteral("Sub Total:"), C + FormatMoney(a.subTotal)},
                  {taxName, C + FormatMoney(a.salesTax)},
                  {QStringLiteral("Total Payable:"), C + FormatMoney(a.total)},
                  {QStringLiteral("Amount Payed:"), C + FormatMoney(a.amountPayed)},
                  {QStringLiteral("Balance Due:"), C + FormatMoney(a.total - a.amountPayed)},
                  {QStringLiteral("Payment Method:"), v.paymentMethod}});
    if (v.hasContact)
        body += QStringLiteral("<p><b>Contact Details:</b><br>%1</p>").arg(escaped(v.contact));
    return page(house, body);
}

QString InvoicePaper(const Invoice &inv)
{
    const QString &C = inv.currency;
    QString body = QStringLiteral("<h2>%1 %2</h2>")
                       .arg(inv.credit ? QStringLiteral("Credit Note") : QStringLiteral("Invoice"), escaped(inv.number));
    body += QStringLiteral("<table width=\"100%\"><tr><td valign=\"top\"><b>%1</b><br>%2</td><td align=\"right\" "
                           "valign=\"top\">Date: %3<br>Booking number: %4<br>Stay: %5 to %6%7</td></tr></table>")
                .arg(escaped(inv.guest), escaped(inv.guestAddress), escaped(RegionalShortDate(inv.issuedOn)),
                     QString::number(inv.bookingId), escaped(RegionalShortDate(inv.arrival)),
                     escaped(RegionalShortDate(inv.departure)),
                     inv.credit ? QStringLiteral("<br>Credits the invoice ") + escaped(inv.creditOfNumber) : QString());
    body += QStringLiteral("<br><table width=\"100%\" cellpadding=\"3\" style=\"border-collapse:collapse\">"
                           "<tr><th align=\"left\">Room</th><th align=\"right\">Nights</th>"
                           "<th align=\"right\">Per night</th><th align=\"right\">Amount</th></tr>");
    for (const InvoiceLine &l : inv.lines) {
        const bool room = !l.room.isEmpty();
        body += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td>"
                               "<td align=\"right\">%4</td></tr>")
                    .arg(escaped(room ? l.room : QStringLiteral("Other charges")),
                         room ? QString::number(l.nights) : QString(),
                         room ? escaped(C + FormatCents(l.unitCents)) : QString(), escaped(C + FormatCents(l.cents)));
    }
    body += QStringLiteral("</table><br>");
    const QString rate = inv.taxRate.isEmpty() ? QString() : QStringLiteral(" (%1%)").arg(inv.taxRate);
    QList<std::pair<QString, QString>> totals{{QStringLiteral("Net amount:"), C + FormatCents(inv.netCents)},
                                              {inv.taxName + rate + QLatin1Char(':'), C + FormatCents(inv.taxCents)},
                                              {QStringLiteral("Total:"), C + FormatCents(inv.totalCents)}};
    if (!inv.credit)
        totals += {{QStringLiteral("Payments received:"), C + FormatCents(inv.paidCents)},
                   {QStringLiteral("Balance due:"), C + FormatCents(inv.dueCents())}};
    body += QStringLiteral("<table width=\"100%\"><tr><td></td><td align=\"right\">%1</td></tr></table>").arg(rows(totals));
    return page(inv.house, body);
}

QString ReceiptPaper(Database &db, RecordId paymentId, const QString &currencySymbol)
{
    const Payment paid = ReadPayment(db, paymentId);
    const ConfirmView v = LoadConfirmStep(db, paid.bookingId);
    if (!v.found)
        throw BookingGone();
    const QString &C = currencySymbol;
    const bool refund = paid.cents < 0;
    QString body = QStringLiteral("<h2>%1 %2</h2>")
                       .arg(refund ? QStringLiteral("Refund Receipt") : QStringLiteral("Receipt"), QString::number(paid.id));
    body += QStringLiteral("<p>%1</p>")
                .arg(escaped((refund ? QStringLiteral("Refunded to: ") : QStringLiteral("Received from: "))
                             + v.contact.section(QStringLiteral("\r\n"), 0, 0).trimmed()));
    body += rows({{QStringLiteral("Date:"), RegionalShortDate(paid.paidOn)},
                  {QStringLiteral("Amount:"), C + FormatMoney(double(paid.cents) / 100.0)},
                  {QStringLiteral("Method:"), paid.method},
                  {QStringLiteral("Note:"), paid.note},
                  {QStringLiteral("Booking number:"), QString::number(paid.bookingId)},
                  {QStringLiteral("Stay:"), RegionalShortDate(v.from.date()) + QStringLiteral(" to ")
                                                 + RegionalShortDate(v.to.date())},
                  {QStringLiteral("Total Payable:"), C + FormatMoney(v.amounts.total)},
                  {QStringLiteral("Paid in all:"), C + FormatMoney(v.amounts.amountPayed)},
                  {QStringLiteral("Balance Due:"), C + FormatMoney(v.amounts.total - v.amounts.amountPayed)}});
    return page(ReadHouseDetails(db), body);
}

}  // namespace innkeld
