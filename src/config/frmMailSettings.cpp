#include "frmMailSettings.h"

#include "ui_frmMailSettings.h"

#include "data/regional/language.h"
#include "widgets/LongWork.h"
#include "widgets/mailing.h"
#include "widgets/uiservices.h"

#include <QUuid>

namespace innkeld {

namespace {

QString textKey(int paper, const QString &language)
{
    return QStringLiteral("%1/%2").arg(paper).arg(language);
}

}  // namespace

frmMailSettings::frmMailSettings(Database &db, UiServices &ui_, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmMailSettings), m_db(db), m_ui(ui_)
{
    ui->setupUi(this);
    ui->cboMailSecurity->addItem(tr("STARTTLS (port 587)"), int(MailSecurity::StartTls));
    ui->cboMailSecurity->addItem(tr("TLS (port 465)"), int(MailSecurity::Tls));
    ui->cboMailSecurity->addItem(tr("None (a server on this computer only)"), int(MailSecurity::None));
    for (PaperKind kind : {PaperKind::Confirmation, PaperKind::Invoice, PaperKind::Receipt})
        ui->cboMailPaper->addItem(PaperKindName(kind), int(kind));
    for (const QString &language : SpokenLanguages())
        ui->cboMailLanguage->addItem(LanguageName(language), language);
    ui->cboMailLanguage->setCurrentIndex(std::max(0, ui->cboMailLanguage->findData(LanguageInUse())));
    ui->lblPlaceholders->setText(tr("Put in for each message: %1 (the guest's name, the booking's number, the arrival, "
                                    "the departure, the total, the balance due, the house's name).")
                                     .arg(MailPlaceholders().join(QStringLiteral(", "))));
    connect(ui->cboMailPaper, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        keepShownText();
        showText();
    });
    connect(ui->cboMailLanguage, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        keepShownText();
        showText();
    });
    connect(ui->cmdSendTest, &QPushButton::clicked, this, &frmMailSettings::cmdSendTest_Click);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmMailSettings::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmMailSettings::~frmMailSettings() = default;

void frmMailSettings::Setup()
{
    const MailServer server = ReadMailServer(m_db);
    ui->txtSenderName->setText(server.senderName);
    ui->txtSenderAddress->setText(server.senderAddress);
    ui->txtReplyTo->setText(server.replyTo);
    ui->txtMailHost->setText(server.host);
    ui->spnMailPort->setValue(server.port);
    ui->cboMailSecurity->setCurrentIndex(std::max(0, ui->cboMailSecurity->findData(int(server.security))));
    ui->txtMailUser->setText(server.user);
    if (!server.user.isEmpty())
        ui->txtMailPassword->setPlaceholderText(tr("as kept"));
    for (int paper = 0; paper < ui->cboMailPaper->count(); ++paper)
        for (const QString &language : SpokenLanguages())
            m_texts.insert(textKey(paper, language), ReadMailTemplate(m_db, PaperKind(paper), language));
    showText();
}

MailServer frmMailSettings::shownServer() const
{
    MailServer server;
    server.senderName = ui->txtSenderName->text().trimmed();
    server.senderAddress = ui->txtSenderAddress->text().trimmed();
    server.replyTo = ui->txtReplyTo->text().trimmed();
    server.host = ui->txtMailHost->text().trimmed();
    server.port = ui->spnMailPort->value();
    server.security = MailSecurity(ui->cboMailSecurity->currentData().toInt());
    server.user = ui->txtMailUser->text().trimmed();
    server.extraCertificates = m_trust;
    return server;
}

void frmMailSettings::keepShownText()
{
    if (!m_shownKey.isEmpty())
        m_texts.insert(m_shownKey, MailTemplate{ui->txtMailSubject->text(), ui->txtMailBody->toPlainText()});
}

void frmMailSettings::showText()
{
    m_shownKey = textKey(ui->cboMailPaper->currentIndex(), ui->cboMailLanguage->currentData().toString());
    const MailTemplate text = m_texts.value(m_shownKey);
    ui->txtMailSubject->setText(text.subject);
    ui->txtMailBody->setPlainText(text.body);
}

void frmMailSettings::cmdSendTest_Click()
{
    if (m_test && m_test->running())
        return;
    const MailServer server = shownServer();
    if (const QString problem = MailServerProblem(server); !problem.isEmpty()) {
        m_ui.message(this, problem, QMessageBox::Information);
        return;
    }
    QString password = ui->txtMailPassword->text();
    if (password.isEmpty() && !server.user.isEmpty()) {
        const QString key = MailSecretKey(server);
        if (!m_ui.hasSecret(key)) {
            bool found = false;
            const QString kept = m_ui.readSecret(key, &found, nullptr);
            if (found)
                m_ui.keepSecret(key, kept);
        }
        password = m_ui.keptSecret(key);
    }
    SmtpMessage message;
    message.to = server.senderAddress;
    message.subject = tr("Innkeld test message");
    message.body = tr("This message was sent by Innkeld to test the house's mail settings.");
    message.messageId = QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@')
        + server.senderAddress.section(QLatin1Char('@'), 1);
    auto result = std::make_shared<SmtpResult>();
    delete m_test;
    m_test = new LongWork(this, tr("Sending a test message to %1...").arg(server.senderAddress),
                          [server, password, message, result](const LongWork::Progress &progress) {
                              *result = SendSmtp(server, password, message, [&progress] { return progress(0, 0); });
                              return true;
                          });
    connect(m_test, &LongWork::finished, this, [this, result, server](bool, const QString &failure) {
        if (!failure.isEmpty())
            m_ui.message(this, failure, QMessageBox::Critical);
        else if (result->outcome == SmtpResult::Sent)
            m_ui.message(this, tr("The mail server took the test message to %1. It answered: %2")
                                   .arg(server.senderAddress, result->answer),
                         QMessageBox::Information);
        else
            m_ui.message(this, tr("The test message was not sent.") + QStringLiteral("\n\n") + result->answer,
                         QMessageBox::Warning);
    });
    m_test->start();
}

void frmMailSettings::cmdOk_Click()
{
    keepShownText();
    const MailServer server = shownServer();
    if (!server.host.isEmpty())
        if (const QString problem = MailServerProblem(server); !problem.isEmpty()) {
            m_ui.message(this, problem, QMessageBox::Information);
            return;
        }
    const bool stored = RunGuarded(m_ui, this, [&] {
        Database::Transaction tx(m_db);
        WriteMailServer(m_db, server);
        for (int paper = 0; paper < ui->cboMailPaper->count(); ++paper)
            for (const QString &language : SpokenLanguages())
                WriteMailTemplate(m_db, PaperKind(paper), language, m_texts.value(textKey(paper, language)));
        tx.commit();
    });
    if (!stored)
        return;
    // The password at this desk only: the keyring, else for this start.
    if (const QString password = ui->txtMailPassword->text(); !password.isEmpty() && !server.user.isEmpty()) {
        const QString key = MailSecretKey(server);
        m_ui.keepSecret(key, password);
        QString problem;
        if (!m_ui.storeSecret(key, password, &problem))
            m_ui.message(this,
                         tr("The desktop's keyring could not keep the password; it is kept until the program closes.")
                             + QStringLiteral("\n\n") + problem,
                         QMessageBox::Information);
    }
    accept();
}

}  // namespace innkeld
