// The house's e-mail: its server's settings and its messages' texts, kept
// in the database for every desk; and the outbox, through which every
// message goes: queued first (its Message-ID given then), claimed by one
// desk at a time, sent, and recorded with the server's answer; tried again
// with growing pauses for a day when the server cannot take it; never sent
// twice (a message whose sending was cut off after it went out whole is
// recorded as unsure, not sent again).
#pragma once

#include "data/sql/database.h"
#include "mail/smtp.h"

#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QTimer>
#include <QVector>

#include <atomic>
#include <functional>

class QThread;

namespace innkeld {

enum class PaperKind { Confirmation, Invoice, Receipt };
QString PaperKindCode(PaperKind kind);  // "confirmation"...
PaperKind PaperKindFromCode(const QString &code);
// The paper's name in the desk's words ("Confirmation").
QString PaperKindName(PaperKind kind);

// Throws DbError.
MailServer ReadMailServer(Database &db);
// Stores them for every desk; what cannot be used is refused in plain
// words (MailServerProblem) before anything is written, unless the house
// sends no mail (no host). Throws DbError.
void WriteMailServer(Database &db, const MailServer &server);

struct MailTemplate
{
    QString subject;
    QString body;
    bool operator==(const MailTemplate &o) const { return subject == o.subject && body == o.body; }
};
// The program's own text of a paper's message in `language` (English
// where the program has no translation).
MailTemplate DefaultMailTemplate(PaperKind kind, const QString &language);
// The house's text, or the program's own where the house has none.
MailTemplate ReadMailTemplate(Database &db, PaperKind kind, const QString &language);
// Stores the house's text (the program's own: the house's is removed).
void WriteMailTemplate(Database &db, PaperKind kind, const QString &language, const MailTemplate &text);

// The placeholders a text may hold, each with what it stands for.
QStringList MailPlaceholders();
// The text with the placeholders of booking `bookingId` put in: the guest's
// name, the booking's number, the arrival and departure, the total and the
// balance due (with `currencySymbol`), the house's name (else the sender's
// name). Throws DbError.
QString FillMailText(Database &db, RecordId bookingId, const QString &text, const QString &currencySymbol);

struct OutgoingMail
{
    RecordId booking = 0;
    PaperKind kind = PaperKind::Confirmation;
    RecordId paper = 0;  // the invoice or payment; 0 for a confirmation
    QString to;
    QString subject;
    QString body;
    QString fileName;
    QByteArray attachment;
};
// Queues the message to be sent now, its Message-ID given. An address that
// is not one, a message over 25 MB or a booking gone is refused in plain
// words. Returns the message's row. Throws DbError.
RecordId QueueMail(Database &db, const OutgoingMail &mail, const QString &senderAddress, const QDateTime &now);

struct OutboxEntry
{
    RecordId id = 0;
    RecordId booking = 0;
    PaperKind kind = PaperKind::Confirmation;
    RecordId paper = 0;
    QString to;
    QString subject;
    QString status;  // queued, sending, sent, failed, unsure
    int attempts = 0;
    QDateTime queuedAt;
    QDateTime sentAt;
    QString answer;
    QString messageId;
};
// The messages of a booking, the latest first. Throws DbError.
QVector<OutboxEntry> OutboxOfBooking(Database &db, RecordId bookingId);
// A line telling when each of the booking's papers was e-mailed (or where
// its message stands); empty when none was.
QString MailedLine(const QVector<OutboxEntry> &entries);

struct OutboxRun
{
    int sent = 0, retried = 0, failed = 0, unsure = 0;
    int total() const { return sent + retried + failed + unsure; }
};
// Sends the messages that are due at `now`, each claimed by `desk` first
// so that no other desk sends it too; `stop` ends the run between
// messages. A message left being sent by a desk that stopped is recorded
// as unsure. Throws DbError.
OutboxRun SendDueMail(Database &db, const QString &password, const QDateTime &now, const QString &desk,
                      const std::atomic<bool> *stop = nullptr, const MailServer *server = nullptr);
// When a message tried `attempts` times is tried again: after 1, 2, 4...
// minutes, at most an hour apart.
QDateTime NextMailTry(const QDateTime &now, int attempts);

// The outbox sent off the window's thread, with a connection of its own:
// when asked (a message queued) and every minute for what is due.
class OutboxJob : public QObject
{
    Q_OBJECT
public:
    OutboxJob(const QString &databaseAddress, std::function<QDateTime()> now, QObject *parent = nullptr);
    ~OutboxJob() override;
    // The mail server's password, asked on the window's thread at each run.
    void setPasswordSource(std::function<QString()> source) { m_passwordSource = std::move(source); }
    // Tests: certificates trusted besides the system's, and the deadline.
    void setTrust(const QString &extraCertificates, int deadlineSeconds);
    void start();
    // Sends what is due now (a run under way: once more after it).
    void sendNow();

signals:
    void ran(int sent, int failed);
    void failedToRun(const QString &message);

private:
    void run();

    QString m_address;
    std::function<QDateTime()> m_now;
    QString m_desk;
    std::function<QString()> m_passwordSource;
    QMutex m_lock;
    QString m_trust;
    int m_deadline = 120;
    QTimer m_minute;
    QThread *m_thread = nullptr;
    bool m_again = false;
    std::atomic<bool> m_stop{false};
};

}  // namespace innkeld
