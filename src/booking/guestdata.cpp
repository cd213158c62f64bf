#include "guestdata.h"

#include "booking/bookingstatus.h"
#include "booking/paymentrecords.h"
#include "booking/privacy.h"
#include "booking/registration.h"
#include "data/regional/regional.h"
#include "data/schema/findindex.h"
#include "data/schema/guestregistration.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace innkeld {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(GuestData)
};

const char *const kGuestColumns[] = {"FirstName", "LastName", "BusinessName", "Address1", "Address2", "City",
                                     "State",     "PostCode", "Country",      "Phone",    "Email"};

QString folded(const QString &text)
{
    return text.simplified().toCaseFolded();
}

// The bookings as lists of numbers for IN (...), 500 a list.
QStringList idLists(const QVector<RecordId> &bookings)
{
    QStringList lists;
    for (int at = 0; at < bookings.size(); at += 500) {
        QStringList ids;
        for (const RecordId id : bookings.mid(at, 500))
            ids << QString::number(id);
        lists << ids.join(QLatin1Char(','));
    }
    return lists;
}

QString html(const QString &text)
{
    return text.toHtmlEscaped();
}

}  // namespace

QString ErasedMark()
{
    return QStringLiteral("(erased)");
}

QVector<RecordId> BookingsOfGuest(Database &db, RecordId bookingId)
{
    const Recordset g = db.execute(QStringLiteral("SELECT c.FirstName, c.LastName, c.Email, c.City FROM booking AS b "
                                                  "JOIN customer AS c ON c.ID = b.CustomerID WHERE b.ID = %1")
                                       .arg(bookingId));
    QVector<RecordId> out{bookingId};
    if (g.eof() || g.text(1).simplified().isEmpty())
        return out;
    const QString first = folded(g.text(0)), last = folded(g.text(1)), email = folded(g.text(2)), city = folded(g.text(3));
    // The bookings whose guest has all of this guest's words (names, and the
    // e-mail or else the city), through the find index; then the same guest.
    // A common last name alone would read thousands.
    // (Of an e-mail address only its own part: its domain is every guest's.)
    FindWords words;
    for (int column : {0, 1, email.isEmpty() ? 3 : 2})
        for (const QString &word : g.text(column).section(QLatin1Char('@'), 0, 0).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (IsFindWord(word))
                words.words << word.left(kFindLongestWord);
    QVector<RecordId> others;
    for (const qint64 key : FindBookingKeys(db, words, 100000))
        if (key != bookingId)
            others << key;
    for (const QString &in : idLists(others))
        for (Recordset r = db.execute(QStringLiteral("SELECT b.ID, c.FirstName, c.LastName, c.Email, c.City FROM booking AS b "
                                                     "JOIN customer AS c ON c.ID = b.CustomerID WHERE b.ID IN (%1) ORDER BY b.ID")
                                          .arg(in));
             !r.eof(); r.moveNext()) {
            const bool same = folded(r.text(1)) == first && folded(r.text(2)) == last
                && (!email.isEmpty() ? folded(r.text(3)) == email : folded(r.text(4)) == city);
            if (same)
                out << r.value(0).toLongLong();
        }
    return out;
}

GuestData ReadGuestData(Database &db, const QVector<RecordId> &bookings)
{
    GuestData data;
    QJsonArray list;
    QString rows;
    QJsonObject guest;
    // Each kind of row read at once for all the bookings: a regular guest's
    // years cost a few statements, not a few for each stay.
    const QHash<RecordId, Registration> registrations = ReadRegistrations(db, bookings);
    const QHash<RecordId, QVector<Payment>> paymentsOf = PaymentsOfBookings(db, bookings);
    QHash<RecordId, QVector<QStringList>> invoicesOf;
    for (const QString &in : idLists(bookings))
        for (Recordset i = db.execute(QStringLiteral("SELECT BookingID, Number, Kind, IssuedOn, TotalCents FROM invoice "
                                                     "WHERE BookingID IN (%1) ORDER BY id")
                                          .arg(in));
             !i.eof(); i.moveNext())
            invoicesOf[i.value(0).toLongLong()] << QStringList{i.text(1), i.text(2), i.text(3), i.text(4)};
    QHash<RecordId, QJsonArray> messagesOf;
    QHash<RecordId, QStringList> mailedOf;
    for (const QString &in : idLists(bookings))
        for (Recordset m = db.execute(QStringLiteral("SELECT bookingid, Kind, ToAddress, Subject, Status, QueuedAt, SentAt FROM "
                                                     "outbox WHERE bookingid IN (%1) ORDER BY id")
                                          .arg(in));
             !m.eof(); m.moveNext()) {
            const RecordId id = m.value(0).toLongLong();
            messagesOf[id].append(QJsonObject{{QStringLiteral("paper"), m.text(1)},
                                              {QStringLiteral("to"), m.text(2)},
                                              {QStringLiteral("subject"), m.text(3)},
                                              {QStringLiteral("status"), m.text(4)},
                                              {QStringLiteral("queuedAt"), m.text(5)},
                                              {QStringLiteral("sentAt"), m.text(6)}});
            mailedOf[id] << QStringLiteral("%1 %2 %3").arg(m.text(3), m.text(2), m.text(6).isEmpty() ? m.text(4) : m.text(6));
        }
    for (const QString &in : idLists(bookings))
    for (Recordset b = db.execute(QStringLiteral("SELECT b.FromDate, b.ToDate, b.NoAdults, b.NoKids, b.Notes, b.Status, "
                                                 "b.TotalPayable, b.AmountPayed, b.PaymentMethod, b.CreditCardNo, "
                                                 "b.CreditCardExpiry, c.FirstName, c.LastName, c.BusinessName, "
                                                 "c.Address1, c.Address2, c.City, c.State, c.PostCode, c.Country, "
                                                 "c.Phone, c.Email, b.ID FROM booking AS b LEFT JOIN customer AS c ON c.ID = "
                                                 "b.CustomerID WHERE b.ID IN (%1) ORDER BY b.ID")
                                      .arg(in));
         !b.eof(); b.moveNext()) {
        const RecordId id = b.value(22).toLongLong();
        if (guest.isEmpty()) {
            for (int i = 0; i < 11; ++i)
                guest.insert(QLatin1String(kGuestColumns[i]), b.text(11 + i));
            data.name = QStringList{b.text(11), b.text(12)}.join(QLatin1Char(' ')).simplified();
        }
        const Registration r = registrations.value(id);
        QJsonArray companions;
        for (const Companion &c : r.companions)
            companions.append(QJsonObject{{QStringLiteral("name"), c.name},
                                          {QStringLiteral("birth"), c.birth.toString(Qt::ISODate)},
                                          {QStringLiteral("nationality"), c.nationality}});
        QJsonArray payments;
        QStringList paid;
        for (const Payment &p : paymentsOf.value(id)) {
            payments.append(QJsonObject{{QStringLiteral("paidOn"), p.paidOn.toString(Qt::ISODate)},
                                        {QStringLiteral("cents"), p.cents},
                                        {QStringLiteral("method"), p.method},
                                        {QStringLiteral("note"), p.note}});
            paid << QStringLiteral("%1 %2 %3").arg(RegionalShortDate(p.paidOn), FormatMoney(double(p.cents) / 100.0), p.method);
        }
        QJsonArray invoices;
        QStringList issued;
        for (const QStringList &i : invoicesOf.value(id)) {
            invoices.append(QJsonObject{{QStringLiteral("number"), i[0]},
                                        {QStringLiteral("kind"), i[1]},
                                        {QStringLiteral("issuedOn"), i[2]},
                                        {QStringLiteral("totalCents"), i[3].toLongLong()}});
            issued << QStringLiteral("%1 (%2)").arg(i[0], FormatMoney(i[3].toDouble() / 100.0));
        }
        const QString card = MaskedCardNumber(b.text(9));
        list.append(QJsonObject{
            {QStringLiteral("booking"), id},
            {QStringLiteral("arrival"), b.value(0).toDateTime().toString(Qt::ISODate)},
            {QStringLiteral("departure"), b.value(1).toDateTime().toString(Qt::ISODate)},
            {QStringLiteral("adults"), b.text(2)},
            {QStringLiteral("children"), b.text(3)},
            {QStringLiteral("notes"), b.text(4)},
            {QStringLiteral("status"), b.text(5)},
            {QStringLiteral("totalPayable"), b.text(6)},
            {QStringLiteral("amountPaid"), b.text(7)},
            {QStringLiteral("paymentMethod"), b.text(8)},
            {QStringLiteral("cardNumber"), card},
            {QStringLiteral("cardExpiry"), b.text(10)},
            {QStringLiteral("registration"),
             QJsonObject{{QStringLiteral("birth"), r.birth.toString(Qt::ISODate)},
                         {QStringLiteral("nationality"), r.nationality},
                         {QStringLiteral("documentKind"), r.documentKind},
                         {QStringLiteral("documentNumber"), r.documentNumber},
                         {QStringLiteral("companions"), companions}}},
            {QStringLiteral("payments"), payments},
            {QStringLiteral("invoices"), invoices},
            {QStringLiteral("messages"), messagesOf.value(id)},
        });
        QStringList with;
        for (const Companion &c : r.companions)
            with << c.name;
        rows += QStringLiteral("<h3>%1</h3><p>%2<br>%3<br>%4<br>%5<br>%6<br>%7<br>%8<br>%9</p>")
                    .arg(html(Words::tr("Booking %1: %2 to %3")
                                  .arg(id)
                                  .arg(RegionalShortDate(b.value(0).toDateTime().date()), RegionalShortDate(b.value(1).toDateTime().date()))),
                         html(Words::tr("Status: %1; guests: %2 adults, %3 children").arg(StatusLabel(StatusFromCode(b.text(5))), b.text(2), b.text(3))),
                         html(Words::tr("Total payable %1, paid %2, by %3, card %4 %5")
                                  .arg(FormatMoney(b.value(6).toDouble()), FormatMoney(b.value(7).toDouble()), b.text(8), card, b.text(10))),
                         html(Words::tr("Registration: born %1, nationality %2, %3 %4")
                                  .arg(r.birth.isValid() ? RegionalShortDate(r.birth) : QString(), CountryName(r.nationality),
                                       r.documentKind, r.documentNumber)),
                         html(Words::tr("Companions: %1").arg(with.join(QStringLiteral(", ")))),
                         html(Words::tr("Payments: %1").arg(paid.join(QStringLiteral("; ")))),
                         html(Words::tr("Invoices: %1").arg(issued.join(QStringLiteral("; ")))),
                         html(Words::tr("E-mails: %1").arg(mailedOf.value(id).join(QStringLiteral("; ")))))
            + (b.text(4).isEmpty() ? QString() : QStringLiteral("<p>%1</p>").arg(html(Words::tr("Notes: %1").arg(b.text(4)))));
    }
    const QJsonObject all{{QStringLiteral("guest"), guest}, {QStringLiteral("bookings"), list}};
    data.json = QJsonDocument(all).toJson(QJsonDocument::Indented);
    QStringList details;
    for (int i = 0; i < 11; ++i)
        if (!guest.value(QLatin1String(kGuestColumns[i])).toString().isEmpty())
            details << html(guest.value(QLatin1String(kGuestColumns[i])).toString());
    data.html = QStringLiteral("<html><body style=\"font-size:10pt\"><h2>%1</h2><p>%2</p>%3</body></html>")
                    .arg(html(Words::tr("What the house holds about %1").arg(data.name)), details.join(QStringLiteral("<br>")), rows);
    return data;
}

QString EraseRefusal(Database &db, const QVector<RecordId> &bookings, const QDate &today)
{
    for (const QString &in : idLists(bookings))
        for (Recordset b = db.execute(QStringLiteral("SELECT ID, Status, ToDate FROM booking WHERE ID IN (%1) ORDER BY ID").arg(in));
             !b.eof(); b.moveNext()) {
            const BookingStatus status = StatusFromCode(b.text(1));
            const bool ended = status == BookingStatus::CheckedOut || status == BookingStatus::Cancelled
                || status == BookingStatus::NoShow || b.value(2).toDateTime().date() < today;
            if (!ended)
                return Words::tr("The guest's booking %1 has not ended yet (it is %2, until %3): a guest is erased only "
                                 "once no stay of theirs is still to come or under way.")
                    .arg(b.value(0).toLongLong())
                    .arg(StatusLabel(status).toLower(), RegionalShortDate(b.value(2).toDateTime().date()));
        }
    return QString();
}

void EraseGuest(Database &db, const QVector<RecordId> &bookings, const QDate &today)
{
    Database::Transaction tx(db);
    if (const QString refusal = EraseRefusal(db, bookings, today); !refusal.isEmpty())
        throw DbError(refusal);
    QStringList ids;
    for (const RecordId id : bookings)
        ids << QString::number(id);
    const QString in = ids.join(QLatin1Char(','));
    // The country stays, for the statistics; nothing else that names the guest.
    db.execute(QStringLiteral("UPDATE customer SET FirstName = '', LastName = '%1', BusinessName = '', Address1 = '', "
                              "Address2 = '', City = '', State = '', PostCode = '', Phone = '', Email = '' WHERE ID IN "
                              "(SELECT CustomerID FROM booking WHERE ID IN (%2))")
                   .arg(ErasedMark(), in));
    db.execute(QStringLiteral("UPDATE booking SET Notes = '' WHERE ID IN (%1)").arg(in));
    db.execute(MaskCardsSql(db.engineKind(), QStringLiteral("ID IN (%1)").arg(in)));
    db.execute(QStringLiteral("DELETE FROM registration WHERE bookingid IN (%1)").arg(in));
    db.execute(QStringLiteral("DELETE FROM companion WHERE bookingid IN (%1)").arg(in));
    // The messages e-mailed to the guest hold the guest's address and papers.
    db.execute(QStringLiteral("DELETE FROM outbox WHERE bookingid IN (%1)").arg(in));
    db.execute(QStringLiteral("UPDATE payment SET Note = '' WHERE BookingID IN (%1)").arg(in));
    tx.commit();
}

}  // namespace innkeld
