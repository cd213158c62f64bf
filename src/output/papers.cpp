#include "papers.h"

#include "invoices.h"
#include "data/schema/textlengths.h"
#include "data/regional/language.h"
#include "data/regional/regional.h"
#include "booking/bookingview.h"
#include "booking/paymentrecords.h"
#include "booking/registration.h"
#include "data/schema/paperlanguage.h"
#include "data/schema/bookingtax.h"

#include <cmath>

#include <QHash>
#include <QMutex>
#include <QTranslator>

#include <memory>

namespace innkeld {

namespace {

// A stored text as a paper shows it: at most what the program keeps of a
// text (one stored by an earlier version may be longer), a word longer
// than a line could hold given places to break (a zero-width space every
// 40 characters), so that any paper is laid out at once.
QString laidOut(const QString &text, int limit)
{
    QString t = text.left(limit);
    int run = 0;
    for (int i = 0; i < t.size(); ++i) {
        run = t.at(i).isSpace() ? 0 : run + 1;
        if (run == 40 && i + 1 < t.size() && !t.at(i + 1).isSpace()) {
            t.insert(i + 1, QChar(0x200B));
            ++i;
            run = 0;
        }
    }
    return t;
}

// A text as a paper shows it, at most `limit` characters of it (a note's
// or an address's by default; a one-line field's kLineLength).
QString escaped(const QString &text, int limit = kNoteLength)
{
    return laidOut(text, limit).toHtmlEscaped().replace(QStringLiteral("\r\n"), QStringLiteral("<br>")).replace(QLatin1Char('\n'),
                                                                                                 QStringLiteral("<br>"));
}

// The words of a paper in its language: the program's translation of the
// context "Paper" for it, English where it has none.
class Words
{
public:
    explicit Words(const QString &language)
    {
        static QMutex guard;
        static QHash<QString, std::shared_ptr<QTranslator>> loaded;
        const QString code = language.isEmpty() ? LanguageInUse() : language;
        const QMutexLocker lock(&guard);
        auto it = loaded.find(code);
        if (it == loaded.end()) {
            auto translator = std::make_shared<QTranslator>();
            if (!translator->load(QStringLiteral(":/i18n/innkeld_%1.qm").arg(code)))
                translator.reset();
            it = loaded.insert(code, translator);
        }
        m_translator = *it;
    }
    QString operator()(const char *text) const
    {
        if (m_translator) {
            const QString said = m_translator->translate("Paper", text);
            if (!said.isEmpty())
                return said;
        }
        return QString::fromUtf8(text);
    }

private:
    std::shared_ptr<QTranslator> m_translator;
};

QString letterhead(const HouseDetails &house, const QString &body, const Words &w, bool newPage);

QString page(const HouseDetails &house, const QString &body, const Words &w)
{
    return QStringLiteral("<html><body style=\"font-size:10pt\">") + letterhead(house, body, w, false)
        + QStringLiteral("</body></html>");
}

// The house's heading, the body and the footer; on a page of its own when
// `newPage` (a card among the day's cards).
QString letterhead(const HouseDetails &house, const QString &body, const Words &w, bool newPage)
{
    QStringList head;
    if (!house.name.isEmpty())
        head << QStringLiteral("<span style=\"font-size:16pt; font-weight:bold\">%1</span>").arg(escaped(house.name, kLineLength));
    if (!house.address.isEmpty())
        head << escaped(house.address);
    QStringList reach;
    if (!house.phone.isEmpty())
        reach << w(QT_TRANSLATE_NOOP("Paper", "Phone: %1")).arg(escaped(house.phone, kLineLength));
    if (!house.email.isEmpty())
        reach << escaped(house.email, kLineLength);
    if (!reach.isEmpty())
        head << reach.join(QStringLiteral(" &middot; "));
    if (!house.vatNumber.isEmpty())
        head << w(QT_TRANSLATE_NOOP("Paper", "VAT No.: %1")).arg(escaped(house.vatNumber, kLineLength));
    QString html = QStringLiteral("<table width=\"100%\" cellpadding=\"0\"%2><tr><td valign=\"top\">%1</td>")
                       .arg(head.join(QStringLiteral("<br>")),
                            newPage ? QStringLiteral(" style=\"page-break-before: always\"") : QString());
    if (!house.logo.isEmpty())
        html += QStringLiteral("<td align=\"right\" valign=\"top\"><img src=\"%1\" height=\"72\"></td>").arg(QLatin1String(kLogoName));
    html += QStringLiteral("</tr></table><hr>") + body;
    if (!house.footer.isEmpty())
        html += QStringLiteral("<hr><p style=\"font-size:8pt\">%1</p>").arg(escaped(house.footer));
    return html;
}

}  // namespace

QString PaperWord(const char *text, const QString &language)
{
    return Words(language)(text);
}

QString LetterheadPaper(const HouseDetails &house, const QString &body)
{
    return page(house, body, Words(QString()));
}

namespace {

// A table of captions and values, the values to the right.
QString rows(const QList<std::pair<QString, QString>> &lines)
{
    QString html = QStringLiteral("<table cellpadding=\"2\">");
    for (const auto &[caption, value] : lines)
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>")
                    .arg(escaped(caption, kLineLength), escaped(value, kLineLength));
    return html + QStringLiteral("</table>");
}

// What a priced line charges, in the paper's words: "101, Low season",
// "101, extra adult", "101, 7-night rate -10 %", "Breakfast".
QString LineText(const InvoiceLine &l, const Words &w)
{
    const QString room = l.room;
    if (l.kind == QLatin1String("season"))
        return w(QT_TRANSLATE_NOOP("Paper", "%1, %2")).arg(room, l.label);
    if (l.kind == QLatin1String("adult"))
        return w(QT_TRANSLATE_NOOP("Paper", "%1, extra adult")).arg(room);
    if (l.kind == QLatin1String("child"))
        return w(QT_TRANSLATE_NOOP("Paper", "%1, extra child")).arg(room);
    if (l.kind == QLatin1String("length"))
        return w(QT_TRANSLATE_NOOP("Paper", "%1, %2-night rate -%3 %")).arg(room, l.label).arg(l.unitCents);
    if (l.kind == QLatin1String("byhand"))
        return w(QT_TRANSLATE_NOOP("Paper", "%1, the agreed price")).arg(room);
    if (l.kind == QLatin1String("extra"))
        return l.taxRate.isEmpty() ? l.label : w(QT_TRANSLATE_NOOP("Paper", "%1 (tax %2%)")).arg(l.label, NumberText(l.taxRate.toDouble()));
    return room;
}

// The lines of a booking's charges, as an invoice of it would list them.
QString ChargeLines(const BookingCharges &charges, int nights, const QString &C, const Words &w)
{
    QString html = QStringLiteral("<table cellpadding=\"2\">");
    const auto add = [&](const InvoiceLine &l) {
        const bool counted = l.kind != QLatin1String("length");
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td><td "
                               "align=\"right\">%4</td></tr>")
                    .arg(escaped(LineText(l, w), kLineLength), counted ? QString::number(l.nights) : QString(),
                         counted && l.unitCents ? escaped(MoneyWithSymbol(double(l.unitCents) / 100.0, C)) : QString(),
                         escaped(MoneyWithSymbol(double(l.cents) / 100.0, C)));
    };
    if (charges.priced)
        for (const RoomCharge &r : charges.rooms)
            for (const InvoiceLine &l : RoomLines(r, nights))
                add(l);
    for (const ExtraCharge &e : charges.extras)
        add(InvoiceLine{QString(), e.per == QLatin1String("stay") ? e.quantity : e.quantity * nights, e.unitCents, e.cents,
                        QStringLiteral("extra"), e.name, e.taxPercent});
    return html + QStringLiteral("</table>");
}

// The booking's tax: one line, or a line of each rate when its extras
// bring rates of their own and the tax stored is what they come to.
QList<std::pair<QString, QString>> TaxRows(Database &db, RecordId bookingId, const ConfirmView &v, const QString &taxName,
                                           const QString &C, const Words &w)
{
    const BookingAmounts &a = v.amounts;
    const std::optional<BookingTax> tax = ReadBookingTax(db, bookingId);
    if (tax && !v.charges.extras.isEmpty()) {
        BookingCharges counted = v.charges;
        if (!counted.priced)
            counted.rooms = {RoomCharge::Amount(std::llround(a.roomsAmount * 100.0))};
        const QVector<TaxLine> taxes = TaxesByRate(counted, std::llround(a.otherCharges * 100.0), tax->rate);
        qint64 sum = 0;
        for (const TaxLine &t : taxes)
            sum += t.taxCents;
        if (taxes.size() > 1 && sum == std::llround(a.salesTax * 100.0)) {
            QList<std::pair<QString, QString>> out;
            for (const TaxLine &t : taxes)
                out.append({w(QT_TRANSLATE_NOOP("Paper", "%1 %2% on %3:"))
                                .arg(taxName, NumberText(t.rate.toDouble()), MoneyWithSymbol(double(t.netCents) / 100.0, C)),
                            MoneyWithSymbol(double(t.taxCents) / 100.0, C)});
            return out;
        }
    }
    return {{taxName, MoneyWithSymbol(a.salesTax, C)}};
}

}  // namespace

QString ConfirmationPaper(Database &db, RecordId bookingId, const QString &currencySymbol, const QString &taxName,
                          const QString &language)
{
    const Words w(language);
    const HouseDetails house = ReadHouseDetails(db);
    const ConfirmView v = LoadConfirmStep(db, bookingId);
    QString body = QStringLiteral("<h2>%1</h2>").arg(w(QT_TRANSLATE_NOOP("Paper", "Booking Confirmation")));
    if (!v.found)
        return page(house, body, w);
    const BookingAmounts &a = v.amounts;
    const QString &C = currencySymbol;
    const QStringList rooms = BookedRoomNames(db, bookingId);
    body += QStringLiteral("<p><b>%1</b></p><p>").arg(w(QT_TRANSLATE_NOOP("Paper", "Booking number: %1")).arg(bookingId));
    body += escaped(w(QT_TRANSLATE_NOOP("Paper", "Booking from %1 to %2"))
                        .arg(RegionalShortDate(v.from.date()), RegionalShortDate(v.to.date())))
        + QStringLiteral("<br>")
        + escaped(w(QT_TRANSLATE_NOOP("Paper", "%1 Adults and %2 Children")).arg(FormatCount(v.adults), FormatCount(v.children)))
        + QStringLiteral("<br>") + escaped(w(QT_TRANSLATE_NOOP("Paper", "Nights: %1")).arg(a.nights))
        + QStringLiteral("<br>") + escaped(w(QT_TRANSLATE_NOOP("Paper", "Rooms: %1")).arg(rooms.join(QStringLiteral(", "))))
        + QStringLiteral("</p>");
    if (v.charges.priced || !v.charges.extras.isEmpty())
        body += ChargeLines(v.charges, a.nights, C, w);
    QList<std::pair<QString, QString>> amounts;
    if (!v.charges.priced)
        amounts.append({w(QT_TRANSLATE_NOOP("Paper", "Cost per night:")), MoneyWithSymbol(a.costPerNight, C)});
    body += rows(amounts + QList<std::pair<QString, QString>>{
                  {w(QT_TRANSLATE_NOOP("Paper", "Other Charges:")), MoneyWithSymbol(a.otherCharges, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Sub Total:")), MoneyWithSymbol(a.subTotal, C)},
              }
              + TaxRows(db, bookingId, v, taxName, C, w)
              + QList<std::pair<QString, QString>>{
                  {w(QT_TRANSLATE_NOOP("Paper", "Total Payable:")), MoneyWithSymbol(a.total, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Amount Payed:")), MoneyWithSymbol(a.amountPayed, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Balance Due:")), MoneyWithSymbol(a.total - a.amountPayed, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Payment Method:")), v.paymentMethod}});
    if (v.hasContact)
        body += QStringLiteral("<p><b>%1</b><br>%2</p>").arg(w(QT_TRANSLATE_NOOP("Paper", "Contact Details:")),
                                                                 escaped(ContactLines(v.contactFields, w(QT_TRANSLATE_NOOP("Paper", "ph:"))))
                                                                     .replace(QStringLiteral("\r\n"), QStringLiteral("<br>")));
    return page(house, body, w);
}

QString InvoicePaper(const Invoice &inv, const QString &language)
{
    const Words w(language);
    const QString &C = inv.currency;
    QString body = QStringLiteral("<h2>%1 %2</h2>")
                       .arg(inv.credit ? w(QT_TRANSLATE_NOOP("Paper", "Credit Note")) : w(QT_TRANSLATE_NOOP("Paper", "Invoice")),
                            escaped(inv.number));
    QStringList facts{w(QT_TRANSLATE_NOOP("Paper", "Date: %1")).arg(escaped(RegionalShortDate(inv.issuedOn))),
                      w(QT_TRANSLATE_NOOP("Paper", "Booking number: %1")).arg(inv.bookingId),
                      w(QT_TRANSLATE_NOOP("Paper", "Stay: %1 to %2"))
                          .arg(escaped(RegionalShortDate(inv.arrival)), escaped(RegionalShortDate(inv.departure)))};
    if (inv.credit)
        facts << w(QT_TRANSLATE_NOOP("Paper", "Credits the invoice %1")).arg(escaped(inv.creditOfNumber));
    body += QStringLiteral("<table width=\"100%\"><tr><td valign=\"top\"><b>%1</b><br>%2</td><td align=\"right\" "
                           "valign=\"top\">%3</td></tr></table>")
                .arg(escaped(inv.guest, 3 * kLineLength + 4), escaped(inv.guestAddress, 5 * kLineLength + 8), facts.join(QStringLiteral("<br>")));
    body += QStringLiteral("<br><table width=\"100%\" cellpadding=\"3\" style=\"border-collapse:collapse\">"
                           "<tr><th align=\"left\">%1</th><th align=\"right\">%2</th>"
                           "<th align=\"right\">%3</th><th align=\"right\">%4</th></tr>")
                .arg(w(QT_TRANSLATE_NOOP("Paper", "Room")), w(QT_TRANSLATE_NOOP("Paper", "Nights")),
                     w(QT_TRANSLATE_NOOP("Paper", "Per night")), w(QT_TRANSLATE_NOOP("Paper", "Amount")));
    for (const InvoiceLine &l : inv.lines) {
        const bool fee = l.nights == 0 && l.room == QLatin1String(kCancellationFee);
        const bool room = !l.room.isEmpty() && !fee;
        const QString what = fee ? w(QT_TRANSLATE_NOOP("Paper", "Cancellation fee"))
            : !l.kind.isEmpty() ? LineText(l, w)
            : room             ? l.room
                               : w(QT_TRANSLATE_NOOP("Paper", "Other charges"));
        const bool counted = (room || l.kind == QLatin1String("extra")) && l.kind != QLatin1String("length");
        body += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td>"
                               "<td align=\"right\">%4</td></tr>")
                    .arg(escaped(what), counted ? QString::number(l.nights) : QString(),
                         counted && l.unitCents != 0 ? escaped(MoneyWithSymbol(double(l.unitCents) / 100.0, C)) : QString(),
                         escaped(MoneyWithSymbol(double(l.cents) / 100.0, C)));
    }
    body += QStringLiteral("</table><br>");
    QList<std::pair<QString, QString>> totals{{w(QT_TRANSLATE_NOOP("Paper", "Net amount:")), MoneyWithSymbol(double(inv.netCents) / 100.0, C)}};
    if (inv.taxes.isEmpty()) {
        const QString rate = inv.taxRate.isEmpty() ? QString() : QStringLiteral(" (%1%)").arg(inv.taxRate);
        totals.append({inv.taxName + rate + QLatin1Char(':'), MoneyWithSymbol(double(inv.taxCents) / 100.0, C)});
    } else {
        // Each rate with the net it is charged on.
        for (const InvoiceTax &t : inv.taxes)
            totals.append({w(QT_TRANSLATE_NOOP("Paper", "%1 %2% on %3:"))
                               .arg(inv.taxName, NumberText(t.rate.toDouble()), MoneyWithSymbol(double(t.netCents) / 100.0, C)),
                           MoneyWithSymbol(double(t.taxCents) / 100.0, C)});
    }
    totals.append({w(QT_TRANSLATE_NOOP("Paper", "Total:")), MoneyWithSymbol(double(inv.totalCents) / 100.0, C)});
    if (!inv.credit)
        totals += {{w(QT_TRANSLATE_NOOP("Paper", "Payments received:")), MoneyWithSymbol(double(inv.paidCents) / 100.0, C)},
                   {w(QT_TRANSLATE_NOOP("Paper", "Balance due:")), MoneyWithSymbol(double(inv.dueCents()) / 100.0, C)}};
    body += QStringLiteral("<table width=\"100%\"><tr><td></td><td align=\"right\">%1</td></tr></table>").arg(rows(totals));
    return page(inv.house, body, w);
}

QString ReceiptPaper(Database &db, RecordId paymentId, const QString &currencySymbol, const QString &language)
{
    const Words w(language);
    const Payment paid = ReadPayment(db, paymentId);
    const ConfirmView v = LoadConfirmStep(db, paid.bookingId);
    if (!v.found)
        throw BookingGone();
    const QString &C = currencySymbol;
    const bool refund = paid.cents < 0;
    QString body = QStringLiteral("<h2>%1 %2</h2>")
                       .arg(refund ? w(QT_TRANSLATE_NOOP("Paper", "Refund Receipt")) : w(QT_TRANSLATE_NOOP("Paper", "Receipt")),
                            QString::number(paid.id));
    const QString whom = v.contact.section(QStringLiteral("\r\n"), 0, 0).trimmed();
    body += QStringLiteral("<p>%1</p>")
                .arg(escaped((refund ? w(QT_TRANSLATE_NOOP("Paper", "Refunded to: %1")) : w(QT_TRANSLATE_NOOP("Paper", "Received from: %1")))
                                 .arg(whom)));
    body += rows({{w(QT_TRANSLATE_NOOP("Paper", "Date:")), RegionalShortDate(paid.paidOn)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Amount:")), MoneyWithSymbol(double(paid.cents) / 100.0, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Method:")), paid.method},
                  {w(QT_TRANSLATE_NOOP("Paper", "Note:")), paid.note},
                  {w(QT_TRANSLATE_NOOP("Paper", "Booking number:")), QString::number(paid.bookingId)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Stay:")), w(QT_TRANSLATE_NOOP("Paper", "%1 to %2"))
                                                                 .arg(RegionalShortDate(v.from.date()), RegionalShortDate(v.to.date()))},
                  {w(QT_TRANSLATE_NOOP("Paper", "Total Payable:")), MoneyWithSymbol(v.amounts.total, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Paid in all:")), MoneyWithSymbol(v.amounts.amountPayed, C)},
                  {w(QT_TRANSLATE_NOOP("Paper", "Balance Due:")), MoneyWithSymbol(v.amounts.total - v.amounts.amountPayed, C)}});
    return page(ReadHouseDetails(db), body, w);
}

QString RegistrationCardsPaper(Database &db, const QVector<RecordId> &bookings, const QString &houseCountry)
{
    const HouseDetails house = ReadHouseDetails(db);
    const QString blank = QStringLiteral("_______________________________");
    QString html = QStringLiteral("<html><body style=\"font-size:10pt\">");
    for (int i = 0; i < bookings.size(); ++i) {
        const RecordId id = bookings.at(i);
        const QString language = BookingPaperLanguage(db, id);
        const Words w(language);
        const ConfirmView v = LoadConfirmStep(db, id);
        if (!v.found)
            throw BookingGone();
        const Registration r = ReadRegistration(db, id);
        const auto known = [&blank](const QString &text) { return text.trimmed().isEmpty() ? blank : text; };
        const auto day = [&blank](const QDate &d) { return d.isValid() ? RegionalShortDate(d) : blank; };
        const QStringList f = v.contactFields;  // name, address lines, phone...
        QString body = QStringLiteral("<h2>%1</h2>").arg(w(QT_TRANSLATE_NOOP("Paper", "Registration Form")));
        const RegistrationLaw law = LawOf(houseCountry);
        if (!law.fields.isEmpty()) {
            // What that law asks, in the paper's words.
            static const char *const asked[] = {
                QT_TRANSLATE_NOOP("Paper", "the day of arrival and the expected day of departure"),
                QT_TRANSLATE_NOOP("Paper", "the guest's names"),
                QT_TRANSLATE_NOOP("Paper", "the date of birth"),
                QT_TRANSLATE_NOOP("Paper", "the nationality"),
                QT_TRANSLATE_NOOP("Paper", "the address"),
                QT_TRANSLATE_NOOP("Paper", "the number of companions and their nationalities"),
                QT_TRANSLATE_NOOP("Paper", "for a foreign guest, the serial number of the passport or identity card"),
                QT_TRANSLATE_NOOP("Paper", "the guest's signature")};
            QStringList fields;
            for (const char *field : asked)
                fields << w(field);
            body += QStringLiteral("<p style=\"font-size:8pt\">%1</p>")
                        .arg(escaped(w(QT_TRANSLATE_NOOP("Paper", "The law of %1 asks of every guest on arrival: %2. The form is kept one year, then destroyed."))
                                         .arg(CountryName(houseCountry, language), fields.join(QStringLiteral("; ")))));
        }
        const Recordset guest = db.execute(QStringLiteral("SELECT c.FirstName, c.LastName, c.Address1, c.Address2, c.City, "
                                                          "c.State, c.PostCode, c.Country FROM booking AS b JOIN customer "
                                                          "AS c ON c.ID = b.CustomerID WHERE b.ID = %1")
                                               .arg(id));
        const QString address = guest.eof() ? QString()
                                            : JoinedParts({guest.text(2), guest.text(3),
                                                           JoinedParts({guest.text(6), guest.text(4), guest.text(5)}, QStringLiteral(" ")),
                                                           guest.text(7)},
                                                          QStringLiteral(", "));
        QList<std::pair<QString, QString>> lines{
            {w(QT_TRANSLATE_NOOP("Paper", "Booking number:")), QString::number(id)},
            {w(QT_TRANSLATE_NOOP("Paper", "Arrival:")), RegionalShortDate(v.from.date())},
            {w(QT_TRANSLATE_NOOP("Paper", "Expected departure:")), RegionalShortDate(v.to.date())},
            {w(QT_TRANSLATE_NOOP("Paper", "First name:")), known(guest.eof() ? QString() : guest.text(0))},
            {w(QT_TRANSLATE_NOOP("Paper", "Last name:")), known(guest.eof() ? QString() : guest.text(1))},
            {w(QT_TRANSLATE_NOOP("Paper", "Date of birth:")), day(r.birth)},
            {w(QT_TRANSLATE_NOOP("Paper", "Nationality:")), known(CountryName(r.nationality, language))},
            {w(QT_TRANSLATE_NOOP("Paper", "Address:")), known(address)},
            {w(QT_TRANSLATE_NOOP("Paper", "Identity document:")), known(r.documentKind)},
            {w(QT_TRANSLATE_NOOP("Paper", "Document number:")), known(r.documentNumber)},
            {w(QT_TRANSLATE_NOOP("Paper", "Companions:")), QString::number(r.companions.size())},
        };
        body += rows(lines);
        // The companions, with a blank line for one more.
        body += QStringLiteral("<table width=\"100%\" cellpadding=\"3\"><tr><th align=\"left\">%1</th><th align=\"left\">%2"
                               "</th><th align=\"left\">%3</th></tr>")
                    .arg(w(QT_TRANSLATE_NOOP("Paper", "Companion")), w(QT_TRANSLATE_NOOP("Paper", "Date of birth")),
                         w(QT_TRANSLATE_NOOP("Paper", "Nationality")));
        for (const Companion &c : r.companions)
            body += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                        .arg(escaped(c.name, kLineLength), escaped(day(c.birth)), escaped(known(CountryName(c.nationality, language))));
        if (r.companions.isEmpty())
            body += QStringLiteral("<tr><td>%1</td><td>%1</td><td>%1</td></tr>").arg(QStringLiteral("____________________"));
        body += QStringLiteral("</table><br><br><p>%1</p><p>%2</p>")
                    .arg(escaped(w(QT_TRANSLATE_NOOP("Paper", "Date: %1")).arg(blank)),
                         escaped(w(QT_TRANSLATE_NOOP("Paper", "Signature of the guest: %1")).arg(blank)));
        html += letterhead(house, body, w, i > 0);
    }
    return html + QStringLiteral("</body></html>");
}

}  // namespace innkeld
