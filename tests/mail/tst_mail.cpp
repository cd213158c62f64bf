// Papers sent by e-mail to a real mail server the test starts on 127.0.0.1
// (aiosmtpd, STARTTLS on a certificate made for this run and trusted only
// by it, a user and password): the house's settings and a test message
// through the window, a confirmation e-mailed from the booking and read
// back (the message parsed, its PDF's text by pdftotext); the outbox
// against a server that is away, refuses, drops, stalls or offers no TLS,
// with a clock the test sets; bad input; and a message sent once by two
// desks at once, and at most once by a desk killed while sending, on both
// engines.
#include "app/frmMain.h"
#include "booking/bookingstore.h"
#include "config/frmHouseDetails.h"
#include "config/frmMailSettings.h"
#include "data/schema/housedetails.h"
#include "data/schema/schema.h"
#include "fakeui.h"
#include "guisupport.h"
#include "mail/outbox.h"
#include "testsupport.h"
#include "widgets/mailing.h"
#include "wizard/BookingWizard.h"

#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// The test's mail server, in a process of its own.
struct SmtpRun
{
    QTemporaryDir dir;
    QProcess server;
    int port = 0;
    QString failure;

    SmtpRun()
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                       QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                       QStringLiteral("-keyout"), dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
                       certificate()});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            failure = QStringLiteral("openssl could not make the test's certificate: ")
                + QString::fromLocal8Bit(openssl.readAllStandardError());
    }
    ~SmtpRun() { stop(); }
    QString certificate() const { return dir.filePath(QStringLiteral("cert.pem")); }

    // Starts it in `mode` (at the port it had, when it had one).
    bool start(const QString &mode)
    {
        stop();
        server.setProcessChannelMode(QProcess::SeparateChannels);
        server.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(INNKELD_SMTP_SERVER), dir.path(), mode, QString::number(port)});
        QByteArray said;
        while (!said.contains('\n')) {
            if (!server.waitForReadyRead(60000)) {
                failure = QStringLiteral("The test's mail server (python3-aiosmtpd) did not start: ")
                    + QString::fromLocal8Bit(server.readAllStandardError());
                return false;
            }
            said += server.readAllStandardOutput();
        }
        port = said.trimmed().split(' ').value(1).toInt();
        return port > 0;
    }
    void stop()
    {
        if (server.state() == QProcess::NotRunning)
            return;
        server.kill();
        server.waitForFinished(30000);
    }
    int received() const
    {
        return int(QDir(dir.path()).entryList({QStringLiteral("*.eml")}, QDir::Files).size());
    }
    QJsonObject message(int n) const
    {
        QFile file(dir.filePath(QStringLiteral("%1.json").arg(n)));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }
    MailServer settings(MailSecurity security = MailSecurity::StartTls) const
    {
        MailServer s;
        s.senderName = QStringLiteral("Pension Seeblick");
        s.senderAddress = QStringLiteral("desk@seeblick.example");
        s.replyTo = QStringLiteral("info@seeblick.example");
        s.host = QStringLiteral("127.0.0.1");
        s.port = port;
        s.security = security;
        s.user = QStringLiteral("desk");
        s.extraCertificates = certificate();
        s.deadlineSeconds = 5;
        return s;
    }
};

#define REQUIRE_SMTP(run, mode) QVERIFY2((run).failure.isEmpty() && (run).start(mode), qPrintable((run).failure))

RecordId bookGuest(Database &db, const QString &last, const QString &email)
{
    static int rooms = 0;
    db.execute(QStringLiteral("INSERT INTO room (name) VALUES ('Mail %1')").arg(++rooms));
    const RecordId room = db.execute(QStringLiteral("SELECT id FROM room WHERE name = 'Mail %1'").arg(rooms)).value(0).toLongLong();
    const QDate from = QDate::currentDate().addDays(10 + rooms * 3);
    const RecordId id = CreateBookingForStay(db, QDateTime(from.addDays(-30), QTime(9, 0)), room, from, from.addDays(2));
    CustomerDetails guest;
    guest[0] = QStringLiteral("Ann");
    guest[1] = last;
    guest[9] = email;
    SaveCustomerStep(db, id, QStringLiteral("2"), QStringLiteral("0"), guest);
    return id;
}

OutgoingMail confirmationTo(RecordId booking, const QString &to)
{
    OutgoingMail mail;
    mail.booking = booking;
    mail.to = to;
    mail.subject = QStringLiteral("Your booking %1").arg(booking);
    mail.body = QStringLiteral("Dear guest,\nyour stay is confirmed.");
    mail.fileName = QStringLiteral("Confirmation-%1.pdf").arg(booking);
    mail.attachment = QByteArray("%PDF-1.4 not a real one");
    return mail;
}

QString statusOf(Database &db, RecordId message, QString *answer = nullptr)
{
    const Recordset r = db.execute(QStringLiteral("SELECT Status, Answer FROM outbox WHERE id = %1").arg(message));
    if (answer)
        *answer = r.text(1);
    return r.text(0);
}

}  // namespace

class TestMail : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void confirmationSentFromTheBooking();
    void outboxAgainstAServerThatFails();
    void sentOnceByTwoDesksAndAfterAKill();
};

void TestMail::confirmationSentFromTheBooking()
{
    SmtpRun smtp;
    REQUIRE_SMTP(smtp, QStringLiteral("accept"));
    ProgramRun p;
    p.notFirst();
    HouseDetails house;
    house.name = QStringLiteral("Pension Seeblick");
    house.address = QStringLiteral("Seeweg 1");
    WriteHouseDetails(p.database.db(), house);
    const RecordId booking = bookGuest(p.database.db(), QStringLiteral("Lindqvist"), QStringLiteral("ann@guest.example"));
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    w->outbox()->setTrust(smtp.certificate(), 20);

    // House Details > E-mail Settings: the server, the password (to the
    // keyring), a test message that says what the server answered.
    auto details = whenModal<frmHouseDetails>([&](frmHouseDetails *d) {
        auto settings = whenModal<frmMailSettings>([&](frmMailSettings *m) {
            m->setTrust(smtp.certificate());
            child<QLineEdit>(m, "txtSenderName")->setText(QStringLiteral("Pension Seeblick"));
            child<QLineEdit>(m, "txtSenderAddress")->setText(QStringLiteral("desk@seeblick.example"));
            child<QLineEdit>(m, "txtMailHost")->setText(QStringLiteral("127.0.0.1"));
            child<QSpinBox>(m, "spnMailPort")->setValue(smtp.port);
            child<QLineEdit>(m, "txtMailUser")->setText(QStringLiteral("desk"));
            child<QLineEdit>(m, "txtMailPassword")->setText(QStringLiteral("secret"));
            const int said = p.ui.messages.size();
            QTest::mouseClick(child<QPushButton>(m, "cmdSendTest"), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(p.ui.messages.size(), said + 1, 60000);
            QVERIFY2(p.ui.messages.last().text.contains(QStringLiteral("took the test message")),
                     qPrintable(p.ui.messages.last().text));
            QTest::mouseClick(child<QPushButton>(m, "cmdOk"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(d, "cmdMailSettings"), Qt::LeftButton);
        QVERIFY(settings->seen);
        QTest::mouseClick(child<QPushButton>(d, "cmdCancel"), Qt::LeftButton);
    });
    w->findChild<QAction *>(QStringLiteral("mnuConfigureHouseDetails"))->trigger();
    QVERIFY(details->seen);
    QCOMPARE(smtp.received(), 1);
    QCOMPARE(smtp.message(1).value(QStringLiteral("subject")).toString(), QStringLiteral("Innkeld test message"));
    QCOMPARE(ReadMailServer(p.database.db()).port, smtp.port);
    QCOMPARE(p.ui.keyring.value(MailSecretKey(ReadMailServer(p.database.db()))), QStringLiteral("secret"));
    QCOMPARE(p.database.count(QStringLiteral("outbox")), 0);  // the password is nowhere in the database
    QVERIFY(p.database.run(QStringLiteral("SELECT count(*) FROM mailsettings WHERE UserName = 'desk'")).value(0).toInt() == 1);

    // The booking, opened from Find: E-mail Confirmation shows the message,
    // the guest's address and the house's text filled in.
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    typeInto(p.find<QLineEdit>("txtFind"), QStringLiteral("lindqvist"));
    QTest::keyClick(p.find<QLineEdit>("txtFind"), Qt::Key_Return);
    QTRY_COMPARE(w->wizard()->CurrentStep(), 4);
    p.ui.dialogAnswer = [&](QDialog &d) {
        auto *to = child<QLineEdit>(&d, "txtTo");
        auto *subject = child<QLineEdit>(&d, "txtSubject");
        if (to->text() != QStringLiteral("ann@guest.example") || !subject->text().contains(QString::number(booking)))
            return int(QDialog::Rejected);
        // A subject that tries to add a header adds none.
        subject->setText(subject->text() + QStringLiteral("\nBcc: thief@evil.example"));
        QTest::mouseClick(child<QPushButton>(&d, "cmdSend"), Qt::LeftButton);
        return d.result();
    };
    QTest::mouseClick(p.find<QPushButton>("cmdEmailConfirmation"), Qt::LeftButton);
    QCOMPARE(p.ui.dialogTitles.last(), QStringLiteral("E-mail Confirmation"));
    QTRY_COMPARE_WITH_TIMEOUT(smtp.received(), 2, 60000);
    const QJsonObject sent = smtp.message(2);
    QVERIFY2(sent.value(QStringLiteral("subject")).toString().startsWith(QStringLiteral("Your booking %1 at Pension Seeblick").arg(booking)),
             qPrintable(sent.value(QStringLiteral("subject")).toString()));
    QVERIFY(!sent.value(QStringLiteral("headers")).toVariant().toStringList().contains(QStringLiteral("bcc")));
    QCOMPARE(sent.value(QStringLiteral("envelope_to")).toVariant().toStringList(), QStringList{QStringLiteral("ann@guest.example")});
    QCOMPARE(sent.value(QStringLiteral("from")).toString(), QStringLiteral("Pension Seeblick <desk@seeblick.example>"));
    QVERIFY(sent.value(QStringLiteral("text")).toString().contains(QStringLiteral("Dear Ann Lindqvist")));
    const QString attached = sent.value(QStringLiteral("attachments")).toArray().at(0).toString();
    QCOMPARE(attached, QStringLiteral("Confirmation-%1.pdf").arg(booking));
    const QString paper = PdfPages(smtp.dir.filePath(QStringLiteral("2-") + attached)).join(QString());
    QVERIFY2(paper.contains(QStringLiteral("Lindqvist")) && paper.contains(QStringLiteral("Pension Seeblick")), qPrintable(paper));
    // The booking tells when it went.
    QTRY_VERIFY(p.find<QLabel>("lblMailed")->text().startsWith(QStringLiteral("Confirmation e-mailed on ")));
    QVERIFY(p.find<QLabel>("lblMailed")->toolTip().endsWith(QStringLiteral(" to ann@guest.example")));
    const QVector<OutboxEntry> entries = OutboxOfBooking(p.database.db(), booking);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].status, QStringLiteral("sent"));
    QCOMPARE(entries[0].answer, QStringLiteral("250 2.0.0 Kept by the test server"));
    QCOMPARE(sent.value(QStringLiteral("message_id")).toString(), QLatin1Char('<') + entries[0].messageId + QLatin1Char('>'));
}

void TestMail::outboxAgainstAServerThatFails()
{
    SmtpRun smtp;
    REQUIRE_SMTP(smtp, QStringLiteral("accept"));
    TempDatabase t;
    Database &db = t.db();
    WriteMailServer(db, smtp.settings());
    const MailServer server = smtp.settings();
    const RecordId booking = bookGuest(db, QStringLiteral("Lee"), QStringLiteral("ann@guest.example"));
    QDateTime now(QDate(2027, 5, 1), QTime(10, 0));  // the test's clock
    const auto run = [&](const QString &password = QStringLiteral("secret")) {
        return SendDueMail(db, password, now, QStringLiteral("desk 1"), nullptr, &server);
    };
    QString answer;

    // A desk without a keyring asks for the password once in a start.
    FakeUi desk;
    desk.keyringWorks = false;
    desk.dialogAnswer = [](QDialog &d) {
        static_cast<QInputDialog &>(d).setTextValue(QStringLiteral("secret"));
        return int(QDialog::Accepted);
    };
    QVERIFY(EnsureMailPassword(db, desk, nullptr));
    QVERIFY(EnsureMailPassword(db, desk, nullptr));
    QCOMPARE(desk.dialogTitles, QStringList{QStringLiteral("Mail Server Password")});
    QCOMPARE(desk.keptSecret(MailSecretKey(server)), QStringLiteral("secret"));

    // Bad input is refused before it is queued.
    for (const QString &bad : {QStringLiteral("ann"), QStringLiteral("ann@guest.example\r\nBcc: x@evil.example"),
                               QStringLiteral("<ann@guest.example>"), QStringLiteral("a b@guest.example")})
        QVERIFY_THROWS_EXCEPTION(DbError, QueueMail(db, confirmationTo(booking, bad), server.senderAddress, now));
    OutgoingMail large = confirmationTo(booking, QStringLiteral("ann@guest.example"));
    large.attachment = QByteArray(20 * 1024 * 1024, 'x');
    QVERIFY_THROWS_EXCEPTION(DbError, QueueMail(db, large, server.senderAddress, now));
    QCOMPARE(t.count(QStringLiteral("outbox")), 0);

    // The server away: kept, and tried again a minute later, then two.
    smtp.stop();
    const RecordId first = QueueMail(db, confirmationTo(booking, QStringLiteral("ann@guest.example")), server.senderAddress, now);
    QCOMPARE(run().retried, 1);
    QCOMPARE(statusOf(db, first, &answer), QStringLiteral("queued"));
    QVERIFY2(answer.startsWith(QStringLiteral("The mail server could not be reached.")), qPrintable(answer));
    QCOMPARE(run().total(), 0);  // not yet due
    now = now.addSecs(60);
    QCOMPARE(run().retried, 1);
    QCOMPARE(db.execute(QStringLiteral("SELECT NextTry FROM outbox WHERE id = %1").arg(first)).text(0),
             QStringLiteral("2027-05-01T10:03:00"));
    // Dropping and stalling at the recipient: tried again, each said.
    for (const auto &[mode, words] : {std::pair{QStringLiteral("drop"), QStringLiteral("The connection to the mail server was broken off.")},
                                      std::pair{QStringLiteral("stall"), QStringLiteral("The mail server did not answer in time.")},
                                      std::pair{QStringLiteral("notls"), QStringLiteral("The mail server offers no encrypted connection")}}) {
        REQUIRE_SMTP(smtp, mode);
        now = now.addSecs(3600);
        QCOMPARE(run().retried, 1);
        QCOMPARE(statusOf(db, first, &answer), QStringLiteral("queued"));
        QVERIFY2(answer.startsWith(words), qPrintable(mode + QStringLiteral(": ") + answer));
        QCOMPARE(smtp.received(), 0);
    }
    // A wrong password: said, and tried again (the house may mend it).
    REQUIRE_SMTP(smtp, QStringLiteral("accept"));
    now = now.addSecs(3600);
    QCOMPARE(run(QStringLiteral("wrong")).retried, 1);
    statusOf(db, first, &answer);
    QVERIFY2(answer.contains(QStringLiteral("user name and password")) || answer.contains(QStringLiteral("535")), qPrintable(answer));
    // The server back: sent once, with its answer.
    now = now.addSecs(3600);
    QCOMPARE(run().sent, 1);
    QCOMPARE(statusOf(db, first, &answer), QStringLiteral("sent"));
    QCOMPARE(answer, QStringLiteral("250 2.0.0 Kept by the test server"));
    now = now.addSecs(3600);
    QCOMPARE(run().total(), 0);
    QCOMPARE(smtp.received(), 1);

    // Refused for good: not tried again.
    REQUIRE_SMTP(smtp, QStringLiteral("reject"));
    const RecordId refused = QueueMail(db, confirmationTo(booking, QStringLiteral("ann@guest.example")), server.senderAddress, now);
    QCOMPARE(run().failed, 1);
    QCOMPARE(statusOf(db, refused, &answer), QStringLiteral("failed"));
    QVERIFY2(answer.contains(QStringLiteral("550 5.7.1 Refused by the test server")), qPrintable(answer));
    // Away for a day: failed, with the reason.
    smtp.stop();
    const RecordId late = QueueMail(db, confirmationTo(booking, QStringLiteral("ann@guest.example")), server.senderAddress, now);
    for (int i = 0; i < 30; ++i) {
        now = now.addSecs(3600);
        run();
    }
    QCOMPARE(statusOf(db, late, &answer), QStringLiteral("failed"));
    QVERIFY2(answer.startsWith(QStringLiteral("Not sent within a day: The mail server could not be reached.")), qPrintable(answer));
    QCOMPARE(MailedLine(OutboxOfBooking(db, booking)).count(QLatin1Char('\n')), 0);  // the latest of the paper
}

void TestMail::sentOnceByTwoDesksAndAfterAKill()
{
    ServerDatabase onServer;
    REQUIRE_SERVER(onServer);
    TempDatabase file;
    SmtpRun smtp;
    REQUIRE_SMTP(smtp, QStringLiteral("accept"));
    int expected = 0;
    for (const QString &address : {file.path(), onServer.address()}) {
        auto db = OpenDatabase(address);
        REQUIRE_SMTP(smtp, QStringLiteral("accept"));
        WriteMailServer(*db, smtp.settings());
        const MailServer server = smtp.settings();
        const RecordId booking = bookGuest(*db, QStringLiteral("Lee"), QStringLiteral("ann@guest.example"));
        const QDateTime now(QDate(2027, 5, 1), QTime(10, 0));
        const RecordId message = QueueMail(*db, confirmationTo(booking, QStringLiteral("ann@guest.example")),
                                           server.senderAddress, now);
        // Two desks send the outbox at once: one claims the message.
        QAtomicInt sent;
        QList<QThread *> desks;
        for (int d = 0; d < 2; ++d)
            desks << QThread::create([&, d] {
                auto own = OpenDatabase(address);
                sent.fetchAndAddOrdered(SendDueMail(*own, QStringLiteral("secret"), now, QStringLiteral("desk %1").arg(d),
                                                    nullptr, &server)
                                            .sent);
            });
        for (QThread *desk : desks)
            desk->start();
        for (QThread *desk : desks) {
            QVERIFY(desk->wait(120000));
            delete desk;
        }
        QCOMPARE(sent.loadRelaxed(), 1);
        QCOMPARE(smtp.received(), ++expected);
        QCOMPARE(statusOf(*db, message), QStringLiteral("sent"));

        // A desk killed once the server has the message whole but has not
        // answered: the next run records it as unsure and sends it no more.
        REQUIRE_SMTP(smtp, QStringLiteral("stall-data"));
        const RecordId cut = QueueMail(*db, confirmationTo(booking, QStringLiteral("ann@guest.example")),
                                       server.senderAddress, now);
        QProcess helper;
        helper.start(qEnvironmentVariable("INNKELD_DESK"),
                     {QStringLiteral("mail"), address, smtp.certificate(), QStringLiteral("secret"), now.toString(Qt::ISODate)});
        ++expected;
        QTRY_COMPARE_WITH_TIMEOUT(smtp.received(), expected, 60000);
        helper.kill();
        QVERIFY(helper.waitForFinished(30000));
        QCOMPARE(statusOf(*db, cut), QStringLiteral("sending"));
        REQUIRE_SMTP(smtp, QStringLiteral("accept"));
        QCOMPARE(SendDueMail(*db, QStringLiteral("secret"), now.addSecs(60), QStringLiteral("desk 1"), nullptr, &server).total(), 0);
        const OutboxRun later = SendDueMail(*db, QStringLiteral("secret"), now.addSecs(900), QStringLiteral("desk 1"), nullptr, &server);
        QCOMPARE(later.unsure, 1);
        QCOMPARE(later.sent, 0);
        QString answer;
        QCOMPARE(statusOf(*db, cut, &answer), QStringLiteral("unsure"));
        QVERIFY(answer.contains(QStringLiteral("may have taken it")));
        QVERIFY(MailedLine(OutboxOfBooking(*db, booking)).contains(QStringLiteral("may have been sent")));
        QCOMPARE(smtp.received(), expected);
    }
}

QTEST_MAIN(TestMail)
#include "tst_mail.moc"
