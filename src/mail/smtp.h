// One message handed to the house's mail server by libcurl (SMTP, TLS or
// STARTTLS, the server's certificate checked against the system's store),
// its text and its attachment made into MIME by libcurl's own MIME API.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace innkeld {

enum class MailSecurity { StartTls, Tls, None };

// How the house's mail server is reached (the password is kept apart: the
// desktop's keyring, never the database).
struct MailServer
{
    QString senderName;
    QString senderAddress;
    QString replyTo;
    QString host;
    int port = 587;
    MailSecurity security = MailSecurity::StartTls;
    QString user;
    // Not a setting of the house: a file of PEM certificates trusted in
    // place of the system's store (a test's own); empty: the system's.
    QString extraCertificates;
    // The longest a message may take, from the connection to the server's
    // last answer.
    int deadlineSeconds = 120;
};

struct SmtpMessage
{
    QString to;
    QString subject;
    QString body;       // plain text
    QString fileName;   // of the attachment; none when empty
    QByteArray attachment;  // a PDF
    QString messageId;  // without the angle brackets
};

struct SmtpResult
{
    enum Outcome {
        Sent,     // the server took it
        Refused,  // the server said no for good (5xx): not tried again
        Failed,   // not taken, and it may be tried again (no connection, 4xx, no TLS)
        Unsure,   // the whole message went out but no answer came: the server may have taken it
    };
    Outcome outcome = Failed;
    QString answer;  // the server's last words, or why it failed, in plain words
};

// The largest message the program sends.
inline constexpr qint64 kLargestMail = 25 * 1024 * 1024;

// Hands `message` to the server; `keepGoing` answering false ends it
// early (Failed).
SmtpResult SendSmtp(const MailServer &server, const QString &password, const SmtpMessage &message,
                    const std::function<bool()> &keepGoing = {});

// Why the settings cannot send mail, in plain words (no host, no sender's
// address, no encryption to another computer); empty when they can.
QString MailServerProblem(const MailServer &server);
// Why the message cannot be sent, in plain words (an addressee that is no
// address, over 25 MB); empty when it can.
QString MessageProblem(const SmtpMessage &message);

// A text made safe for a header: line breaks and other control characters
// become blanks, so that no text adds a header; simplified.
QString HeaderText(const QString &text);
// Whether `address` is one mailbox's address (local@domain, no blanks,
// no control characters, no angle brackets).
bool IsMailAddress(const QString &address);

}  // namespace innkeld
