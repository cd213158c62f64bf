#include "smtp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace innkeld {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Mail)
};

// A header's value as RFC 2047 encoded words where it is not plain ASCII,
// each short enough for a header line, folded.
QByteArray encodedWords(const QString &text)
{
    const QString safe = HeaderText(text);
    bool ascii = true;
    for (const QChar c : safe)
        ascii = ascii && c.unicode() < 127;
    if (ascii)
        return safe.toLatin1();
    QList<QByteArray> words;
    QByteArray chunk;
    for (int i = 0; i < safe.size(); ++i) {
        // A character whole in one word (a surrogate pair with its half).
        QString one(safe[i]);
        if (safe[i].isHighSurrogate() && i + 1 < safe.size())
            one += safe[++i];
        const QByteArray bytes = one.toUtf8();
        if (chunk.size() + bytes.size() > 45) {
            words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
            chunk.clear();
        }
        chunk += bytes;
    }
    if (!chunk.isEmpty())
        words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
    return words.join("\r\n ");
}

QByteArray angle(const QString &address)
{
    return "<" + address.toUtf8() + ">";
}

// What libcurl said, in plain words, with its own text below.
QString curlWords(CURLcode code, const char *detail)
{
    QString said;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        said = Words::tr("The mail server's name is not known.");
        break;
    case CURLE_COULDNT_CONNECT:
        said = Words::tr("The mail server could not be reached.");
        break;
    case CURLE_OPERATION_TIMEDOUT:
        said = Words::tr("The mail server did not answer in time.");
        break;
    case CURLE_USE_SSL_FAILED:
        said = Words::tr("The mail server offers no encrypted connection (STARTTLS), which the settings ask for.");
        break;
    case CURLE_SSL_CONNECT_ERROR:
        said = Words::tr("No encrypted connection could be made with the mail server.");
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        said = Words::tr("The mail server's certificate could not be trusted.");
        break;
    case CURLE_LOGIN_DENIED:
        said = Words::tr("The mail server did not accept the user name and password.");
        break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        said = Words::tr("The connection to the mail server was broken off.");
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        said = Words::tr("Sending was stopped.");
        break;
    default:
        said = Words::tr("The message could not be sent.");
        break;
    }
    const QString own = QString::fromUtf8(detail && *detail ? detail : curl_easy_strerror(code));
    return said + QStringLiteral(" (") + own + QLatin1Char(')');
}

struct Transfer
{
    const std::function<bool()> *keepGoing = nullptr;
    curl_off_t sent = 0, total = 0;
    QByteArray lastAnswer;  // the server's last line
};

int progressOf(void *p, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow)
{
    auto *t = static_cast<Transfer *>(p);
    t->sent = ulnow;
    t->total = ultotal;
    return t->keepGoing && *t->keepGoing && !(*t->keepGoing)() ? 1 : 0;
}

int debugOf(CURL *, curl_infotype type, char *data, size_t size, void *p)
{
    if (type == CURLINFO_HEADER_IN) {
        const QByteArray line = QByteArray(data, int(size)).trimmed();
        if (!line.isEmpty())
            static_cast<Transfer *>(p)->lastAnswer = line;
    }
    return 0;
}

bool isLoopback(const QString &host)
{
    return host == QLatin1String("127.0.0.1") || host == QLatin1String("::1") || host == QLatin1String("localhost");
}

}  // namespace

QString HeaderText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out += (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            ? QChar(u' ')
            : c;
    return out.simplified();
}

QString MailServerProblem(const MailServer &server)
{
    if (server.host.trimmed().isEmpty())
        return Words::tr("Enter the mail server's name (its host).");
    if (server.port < 1 || server.port > 65535)
        return Words::tr("The mail server's port is a number from 1 to 65535.");
    if (!IsMailAddress(server.senderAddress))
        return Words::tr("Enter the address the house's mail is sent from.");
    if (!server.replyTo.isEmpty() && !IsMailAddress(server.replyTo))
        return Words::tr("\"%1\" is not an e-mail address.").arg(HeaderText(server.replyTo));
    if (server.security == MailSecurity::None && !isLoopback(server.host))
        return Words::tr("Mail is sent without encryption only to a server on this computer (127.0.0.1).");
    return QString();
}

QString MessageProblem(const SmtpMessage &message)
{
    if (!IsMailAddress(message.to))
        return Words::tr("\"%1\" is not an e-mail address.").arg(HeaderText(message.to));
    // Base64 makes the attachment a third larger.
    if ((message.attachment.size() + 2) / 3 * 4 + message.body.toUtf8().size() * 3 > kLargestMail)
        return Words::tr("The message is larger than 25 MB.");
    return QString();
}

bool IsMailAddress(const QString &address)
{
    if (address.size() < 3 || address.size() > 254 || address.count(QLatin1Char('@')) != 1)
        return false;
    for (const QChar c : address)
        if (c.isSpace() || c.category() == QChar::Other_Control || QStringLiteral("<>()[],;:\"\\").contains(c))
            return false;
    const QString local = address.section(QLatin1Char('@'), 0, 0), domain = address.section(QLatin1Char('@'), 1);
    return !local.isEmpty() && local.size() <= 64 && !domain.isEmpty() && !domain.startsWith(QLatin1Char('.'))
        && !domain.endsWith(QLatin1Char('.')) && !domain.contains(QStringLiteral(".."));
}

SmtpResult SendSmtp(const MailServer &server, const QString &password, const SmtpMessage &message,
                    const std::function<bool()> &keepGoing)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    SmtpResult result;
    result.outcome = SmtpResult::Refused;
    if (result.answer = MessageProblem(message); !result.answer.isEmpty())
        return result;
    if (result.answer = MailServerProblem(server); !result.answer.isEmpty())
        return result;
    result.outcome = SmtpResult::Failed;
    std::unique_ptr<CURL, void (*)(CURL *)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        result.answer = Words::tr("The message could not be sent.");
        return result;
    }
    CURL *c = curl.get();
    char detail[CURL_ERROR_SIZE] = {};
    Transfer transfer;
    transfer.keepGoing = &keepGoing;
    const QByteArray url = QStringLiteral("%1://%2:%3")
                               .arg(server.security == MailSecurity::Tls ? QStringLiteral("smtps") : QStringLiteral("smtp"),
                                    server.host.contains(QLatin1Char(':')) ? QLatin1Char('[') + server.host + QLatin1Char(']')
                                                                           : server.host)
                               .arg(server.port)
                               .toUtf8();
    const QByteArray user = server.user.toUtf8(), pass = password.toUtf8(), from = angle(server.senderAddress),
                     to = angle(message.to), caFile = server.extraCertificates.toLocal8Bit();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(server.deadlineSeconds));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(std::min(30, server.deadlineSeconds)));
    if (server.security == MailSecurity::StartTls)
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    // The server's certificate and name are always checked; a file of
    // certificates may be trusted besides the system's.
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    if (!server.user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, pass.constData());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    std::unique_ptr<curl_slist, void (*)(curl_slist *)> recipients(curl_slist_append(nullptr, to.constData()),
                                                                   curl_slist_free_all);
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    // The headers: each value made safe, the names the program's own.
    const QByteArray sender = server.senderName.trimmed().isEmpty()
        ? from
        : encodedWords(server.senderName) + " " + from;
    QList<QByteArray> headers{
        "Date: " + QLocale::c().toString(QDateTime::currentDateTimeUtc(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")).toLatin1()
            + " +0000",
        "From: " + sender,
        "To: " + to,
        "Subject: " + encodedWords(message.subject),
        "Message-ID: " + angle(HeaderText(message.messageId)),
        "MIME-Version: 1.0",
    };
    if (IsMailAddress(server.replyTo))
        headers << "Reply-To: " + angle(server.replyTo);
    std::unique_ptr<curl_slist, void (*)(curl_slist *)> headerList(nullptr, curl_slist_free_all);
    for (const QByteArray &h : headers)
        headerList.reset(curl_slist_append(headerList.release(), h.constData()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headerList.get());
    // The body as text, the paper as its attachment.
    std::unique_ptr<curl_mime, void (*)(curl_mime *)> mime(curl_mime_init(c), curl_mime_free);
    const QByteArray body = message.body.toUtf8();
    curl_mimepart *text = curl_mime_addpart(mime.get());
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    if (!message.fileName.isEmpty()) {
        const QByteArray name = HeaderText(message.fileName).toUtf8();
        curl_mimepart *file = curl_mime_addpart(mime.get());
        curl_mime_data(file, message.attachment.constData(), size_t(message.attachment.size()));
        curl_mime_type(file, "application/pdf");
        curl_mime_filename(file, name.constData());
        curl_mime_encoder(file, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, progressOf);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, debugOf);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &transfer);

    const CURLcode code = curl_easy_perform(c);
    long answered = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answered);
    const QString last = QString::fromUtf8(transfer.lastAnswer);
    if (code == CURLE_OK) {
        result.outcome = SmtpResult::Sent;
        result.answer = last;
        return result;
    }
    const bool wholeMessageOut = transfer.total > 0 && transfer.sent >= transfer.total;
    if (code == CURLE_LOGIN_DENIED) {
        // The house may mend its password: tried again.
        result.outcome = SmtpResult::Failed;
        result.answer = curlWords(code, detail) + (last.isEmpty() ? QString() : QStringLiteral(": ") + last);
    } else if (answered >= 500 && answered < 600) {
        result.outcome = SmtpResult::Refused;
        result.answer = Words::tr("The mail server refused the message: %1").arg(last);
    } else if (answered >= 400 && answered < 500) {
        result.outcome = SmtpResult::Failed;
        result.answer = Words::tr("The mail server cannot take the message now: %1").arg(last);
    } else if (wholeMessageOut && answered == 354) {
        // The message went out whole; the server's answer to it never came.
        result.outcome = SmtpResult::Unsure;
        result.answer = Words::tr("The message went out but the mail server did not say whether it took it; it may "
                                  "have been delivered.")
            + QStringLiteral(" ") + curlWords(code, detail);
    } else {
        result.outcome = SmtpResult::Failed;
        result.answer = curlWords(code, detail);
    }
    return result;
}

}  // namespace innkeld
