#include "outbox.h"

#include "booking/bookingstatus.h"
#include "data/regional/regional.h"
#include "data/schema/housedetails.h"
#include "data/schema/schema.h"
#include "output/papers.h"

#include <QCoreApplication>
#include <QThread>
#include <QUuid>

namespace innkeld {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Mail)
};

const char *const kKinds[] = {"confirmation", "invoice", "receipt"};
const char *const kSecurities[] = {"starttls", "tls", "none"};

QString stamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QDateTime fromStamp(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QString literal(const QString &text, bool lineBreaks = false)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, lineBreaks)) + QLatin1Char('\'');
}

// The program's own texts, in the papers' words of each language.
struct DefaultText
{
    const char *subject, *body;
};
const DefaultText kDefaults[] = {
    {QT_TRANSLATE_NOOP("Paper", "Your booking {booking} at {house}"),
     QT_TRANSLATE_NOOP("Paper", "Dear {guest},\n\nthank you for your booking. Your stay from {arrival} to {departure} is "
                                "confirmed; the confirmation is attached.\n\nTotal: {total}\nBalance due: {balance}\n\n"
                                "Kind regards\n{house}")},
    {QT_TRANSLATE_NOOP("Paper", "Your invoice for booking {booking} at {house}"),
     QT_TRANSLATE_NOOP("Paper", "Dear {guest},\n\nplease find attached the invoice for your stay from {arrival} to "
                                "{departure}.\n\nBalance due: {balance}\n\nKind regards\n{house}")},
    {QT_TRANSLATE_NOOP("Paper", "Your payment for booking {booking} at {house}"),
     QT_TRANSLATE_NOOP("Paper", "Dear {guest},\n\nthank you for your payment; the receipt is attached.\n\nBalance due: "
                                "{balance}\n\nKind regards\n{house}")},
};

}  // namespace

QString PaperKindCode(PaperKind kind)
{
    return QLatin1String(kKinds[int(kind)]);
}

PaperKind PaperKindFromCode(const QString &code)
{
    for (int i = 0; i < 3; ++i)
        if (code == QLatin1String(kKinds[i]))
            return PaperKind(i);
    return PaperKind::Confirmation;
}

QString PaperKindName(PaperKind kind)
{
    switch (kind) {
    case PaperKind::Invoice:
        return Words::tr("Invoice");
    case PaperKind::Receipt:
        return Words::tr("Receipt");
    case PaperKind::Confirmation:
        break;
    }
    return Words::tr("Confirmation");
}

MailServer ReadMailServer(Database &db)
{
    MailServer server;
    const Recordset r = db.execute(QStringLiteral("SELECT SenderName, SenderAddress, ReplyTo, Host, Port, Security, UserName "
                                                  "FROM mailsettings WHERE id = 1"));
    if (r.eof())
        return server;
    server.senderName = r.text(0);
    server.senderAddress = r.text(1);
    server.replyTo = r.text(2);
    server.host = r.text(3);
    server.port = int(r.value(4).toLongLong());
    for (int i = 0; i < 3; ++i)
        if (r.text(5) == QLatin1String(kSecurities[i]))
            server.security = MailSecurity(i);
    server.user = r.text(6);
    return server;
}

void WriteMailServer(Database &db, const MailServer &s)
{
    if (!s.host.trimmed().isEmpty())
        if (const QString problem = MailServerProblem(s); !problem.isEmpty())
            throw DbError(problem);
    db.execute(QStringLiteral("UPDATE mailsettings SET SenderName = %1, SenderAddress = %2, ReplyTo = %3, Host = %4, "
                              "Port = %5, Security = '%6', UserName = %7 WHERE id = 1")
                   .arg(literal(HeaderText(s.senderName)), literal(s.senderAddress.trimmed()), literal(s.replyTo.trimmed()),
                        literal(s.host.trimmed()))
                   .arg(s.port)
                   .arg(QLatin1String(kSecurities[int(s.security)]), literal(s.user)));
}

MailTemplate DefaultMailTemplate(PaperKind kind, const QString &language)
{
    const DefaultText &d = kDefaults[int(kind)];
    return MailTemplate{PaperWord(d.subject, language), PaperWord(d.body, language)};
}

MailTemplate ReadMailTemplate(Database &db, PaperKind kind, const QString &language)
{
    const Recordset r = db.execute(QStringLiteral("SELECT Subject, Body FROM mailtemplate WHERE Kind = '%1' AND Language = %2")
                                       .arg(PaperKindCode(kind), literal(language)));
    return r.eof() ? DefaultMailTemplate(kind, language) : MailTemplate{r.text(0), r.text(1)};
}

void WriteMailTemplate(Database &db, PaperKind kind, const QString &language, const MailTemplate &text)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM mailtemplate WHERE Kind = '%1' AND Language = %2")
                   .arg(PaperKindCode(kind), literal(language)));
    if (!(text == DefaultMailTemplate(kind, language)))
        db.execute(QStringLiteral("INSERT INTO mailtemplate (Kind, Language, Subject, Body) VALUES ('%1', %2, %3, %4)")
                       .arg(PaperKindCode(kind), literal(language), literal(HeaderText(text.subject)),
                            literal(text.body, true)));
    tx.commit();
}

QStringList MailPlaceholders()
{
    return {QStringLiteral("{guest}"), QStringLiteral("{booking}"), QStringLiteral("{arrival}"), QStringLiteral("{departure}"),
            QStringLiteral("{total}"), QStringLiteral("{balance}"), QStringLiteral("{house}")};
}

QString FillMailText(Database &db, RecordId bookingId, const QString &text, const QString &currencySymbol)
{
    const Recordset b = db.execute(QStringLiteral("SELECT c.FirstName, c.LastName, b.FromDate, b.ToDate, b.TotalPayable, "
                                                  "b.AmountPayed FROM booking AS b LEFT JOIN customer AS c ON c.ID = "
                                                  "b.CustomerID WHERE b.ID = %1")
                                       .arg(bookingId));
    if (b.eof())
        throw BookingGone();
    const double total = b.value(4).toDouble(), paid = b.value(5).toDouble();
    QString house = ReadHouseDetails(db).name.simplified();
    if (house.isEmpty())
        house = ReadMailServer(db).senderName;
    const QString values[] = {QStringList{b.text(0), b.text(1)}.join(QLatin1Char(' ')).simplified(),
                              QString::number(bookingId),
                              RegionalShortDate(b.value(2).toDateTime().date()),
                              RegionalShortDate(b.value(3).toDateTime().date()),
                              MoneyWithSymbol(total, currencySymbol),
                              MoneyWithSymbol(total - paid, currencySymbol),
                              house};
    const QStringList names = MailPlaceholders();
    QString out = text;
    for (int i = 0; i < names.size(); ++i)
        out.replace(names[i], values[i]);
    return out;
}

RecordId QueueMail(Database &db, const OutgoingMail &mail, const QString &senderAddress, const QDateTime &now)
{
    SmtpMessage message;
    message.to = mail.to.trimmed();
    message.body = mail.body;
    message.attachment = mail.attachment;
    if (const QString problem = MessageProblem(message); !problem.isEmpty())
        throw DbError(problem);
    const QString domain = senderAddress.contains(QLatin1Char('@')) ? senderAddress.section(QLatin1Char('@'), 1)
                                                                      : QStringLiteral("innkeld.invalid");
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') + HeaderText(domain);
    Database::Transaction tx(db);
    if (db.execute(QStringLiteral("SELECT ID FROM booking WHERE ID = %1").arg(mail.booking)).eof())
        throw BookingGone();
    const Recordset made = db.query(
        QStringLiteral("INSERT INTO outbox (bookingid, Kind, PaperID, ToAddress, Subject, Body, FileName, Attachment, "
                       "MessageId, Status, QueuedAt, NextTry) VALUES (%1, '%2', %3, %4, %5, %6, %7, '%8', %9, 'queued', "
                       "'%10', '%10') RETURNING id")
            .arg(QString::number(mail.booking), PaperKindCode(mail.kind), QString::number(mail.paper),
                 literal(message.to), literal(HeaderText(mail.subject)), literal(mail.body, true),
                 literal(HeaderText(mail.fileName)), QString::fromLatin1(mail.attachment.toBase64()), literal(id))
            .arg(stamp(now)));
    const RecordId row = made.value(0).toLongLong();
    tx.commit();
    return row;
}

QVector<OutboxEntry> OutboxOfBooking(Database &db, RecordId bookingId)
{
    QVector<OutboxEntry> out;
    for (Recordset r = db.execute(QStringLiteral("SELECT id, bookingid, Kind, PaperID, ToAddress, Subject, Status, Attempts, "
                                                 "QueuedAt, SentAt, Answer, MessageId FROM outbox WHERE bookingid = %1 "
                                                 "ORDER BY id DESC")
                                      .arg(bookingId));
         !r.eof(); r.moveNext())
        out << OutboxEntry{r.value(0).toLongLong(), r.value(1).toLongLong(), PaperKindFromCode(r.text(2)),
                           r.value(3).toLongLong(), r.text(4), r.text(5), r.text(6), int(r.value(7).toLongLong()),
                           fromStamp(r.text(8)), fromStamp(r.text(9)), r.text(10), r.text(11)};
    return out;
}

QString MailedLine(const QVector<OutboxEntry> &entries)
{
    // The latest message of each paper.
    QStringList said;
    QVector<QPair<PaperKind, RecordId>> seen;
    for (const OutboxEntry &e : entries) {
        if (seen.contains({e.kind, e.paper}))
            continue;
        seen << qMakePair(e.kind, e.paper);
        const QString paper = PaperKindName(e.kind);
        if (e.status == QLatin1String("sent"))
            said << Words::tr("%1 e-mailed on %2 to %3").arg(paper, RegionalDateTimeText(e.sentAt), e.to);
        else if (e.status == QLatin1String("failed"))
            said << Words::tr("%1 not sent: %2 (to %3)").arg(paper, e.answer, e.to);
        else if (e.status == QLatin1String("unsure"))
            said << Words::tr("%1 may have been sent: %2 (to %3)").arg(paper, e.answer, e.to);
        else
            said << Words::tr("%1 waiting to be sent to %2").arg(paper, e.to)
                    + (e.answer.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(e.answer));
    }
    return said.join(QStringLiteral("\n"));
}

QDateTime NextMailTry(const QDateTime &now, int attempts)
{
    const int minutes = 1 << std::min(std::max(attempts - 1, 0), 6);
    return now.addSecs(60LL * std::min(minutes, 60));
}

OutboxRun SendDueMail(Database &db, const QString &password, const QDateTime &now, const QString &desk,
                      const std::atomic<bool> *stop, const MailServer *given)
{
    OutboxRun run;
    const MailServer server = given ? *given : ReadMailServer(db);
    // A desk that stopped while sending left its message being sent: it
    // may have gone out, so it is not sent again.
    for (Recordset r = db.query(QStringLiteral("UPDATE outbox SET Status = 'unsure', Answer = %1 WHERE Status = 'sending' "
                                               "AND ClaimedAt < '%2' RETURNING id")
                                    .arg(literal(Words::tr("The program stopped while sending this message; the mail "
                                                           "server may have taken it.")),
                                         stamp(now.addSecs(-server.deadlineSeconds - 300))));
         !r.eof(); r.moveNext())
        ++run.unsure;
    if (server.host.trimmed().isEmpty())
        return run;
    QVector<RecordId> due;
    for (Recordset r = db.execute(QStringLiteral("SELECT id FROM outbox WHERE Status = 'queued' AND NextTry <= '%1' ORDER BY "
                                                 "NextTry, id LIMIT 50")
                                      .arg(stamp(now)));
         !r.eof(); r.moveNext())
        due << r.value(0).toLongLong();
    for (const RecordId id : due) {
        if (stop && stop->load())
            break;
        // Claimed first: of two desks, one gets it.
        Recordset m = db.query(QStringLiteral("UPDATE outbox SET Status = 'sending', ClaimedBy = %1, ClaimedAt = '%2', "
                                              "Attempts = Attempts + 1 WHERE id = %3 AND Status = 'queued' RETURNING "
                                              "ToAddress, Subject, Body, FileName, Attachment, MessageId, QueuedAt, Attempts")
                                   .arg(literal(desk), stamp(now))
                                   .arg(id));
        if (m.eof())
            continue;
        SmtpMessage message{m.text(0), m.text(1), m.text(2), m.text(3), QByteArray::fromBase64(m.text(4).toLatin1()),
                            m.text(5)};
        const QDateTime queued = fromStamp(m.text(6));
        const int attempts = int(m.value(7).toLongLong());
        m = Recordset();
        const SmtpResult sent = SendSmtp(server, password, message, [stop] { return !stop || !stop->load(); });
        const QString mine = QStringLiteral(" WHERE id = %1 AND Status = 'sending' AND ClaimedBy = %2").arg(id).arg(literal(desk));
        const QString answer = literal(sent.answer.left(1000));
        switch (sent.outcome) {
        case SmtpResult::Sent:
            db.execute(QStringLiteral("UPDATE outbox SET Status = 'sent', SentAt = '%1', Answer = %2").arg(stamp(now), answer) + mine);
            ++run.sent;
            break;
        case SmtpResult::Unsure:
            db.execute(QStringLiteral("UPDATE outbox SET Status = 'unsure', Answer = %1").arg(answer) + mine);
            ++run.unsure;
            break;
        case SmtpResult::Refused:
            db.execute(QStringLiteral("UPDATE outbox SET Status = 'failed', Answer = %1").arg(answer) + mine);
            ++run.failed;
            break;
        case SmtpResult::Failed:
            if (queued.isValid() && queued.addDays(1) <= now) {
                db.execute(QStringLiteral("UPDATE outbox SET Status = 'failed', Answer = %1")
                               .arg(literal(Words::tr("Not sent within a day: %1").arg(sent.answer).left(1000)))
                           + mine);
                ++run.failed;
            } else {
                db.execute(QStringLiteral("UPDATE outbox SET Status = 'queued', NextTry = '%1', Answer = %2")
                               .arg(stamp(NextMailTry(now, attempts)), answer)
                           + mine);
                ++run.retried;
            }
            break;
        }
    }
    return run;
}

OutboxJob::OutboxJob(const QString &databaseAddress, std::function<QDateTime()> now, QObject *parent)
    : QObject(parent), m_address(databaseAddress), m_now(std::move(now))
{
    m_desk = QStringLiteral("%1 %2").arg(DeskUser(), QUuid::createUuid().toString(QUuid::WithoutBraces));
    m_minute.setInterval(60 * 1000);
    connect(&m_minute, &QTimer::timeout, this, &OutboxJob::sendNow);
}

OutboxJob::~OutboxJob()
{
    m_stop = true;
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void OutboxJob::setTrust(const QString &extraCertificates, int deadlineSeconds)
{
    const QMutexLocker lock(&m_lock);
    m_trust = extraCertificates;
    m_deadline = deadlineSeconds;
}

void OutboxJob::start()
{
    m_minute.start();
    sendNow();
}

void OutboxJob::sendNow()
{
    if (m_thread) {
        m_again = true;
        return;
    }
    run();
}

void OutboxJob::run()
{
    m_again = false;
    const QString password = m_passwordSource ? m_passwordSource() : QString();
    QString trust;
    int deadline = 120;
    {
        const QMutexLocker lock(&m_lock);
        trust = m_trust;
        deadline = m_deadline;
    }
    const QString desk = m_desk;
    const QDateTime now = m_now();
    std::atomic<bool> *stop = &m_stop;
    auto done = std::make_shared<OutboxRun>();
    m_thread = RunOnOwnConnection(
        this, m_address,
        [=](Database &db) {
            MailServer server = ReadMailServer(db);
            server.extraCertificates = trust;
            server.deadlineSeconds = deadline;
            *done = SendDueMail(db, password, now, desk, stop, &server);
            if (done->total() > 0)
                qInfo("Outbox: %d sent, %d to be tried again, %d failed, %d unsure.", done->sent, done->retried,
                      done->failed, done->unsure);
        },
        [this, done](const QString &failure) {
            m_thread = nullptr;
            if (failure.isEmpty())
                emit ran(done->sent, done->failed + done->unsure);
            else
                emit failedToRun(failure);
            if (m_again)
                run();
        });
    m_thread->setObjectName(QStringLiteral("outbox"));
}

}  // namespace innkeld
