#include "mailing.h"

#include "ui_frmSendMail.h"

#include "data/regional/language.h"
#include "data/schema/paperlanguage.h"
#include "paper.h"
#include "uiservices.h"

#include <QFile>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTextDocument>

#include <stdexcept>

namespace innkeld {

frmSendMail::frmSendMail(UiServices &ui_, QWidget *parent) : QDialog(parent), ui(new Ui::frmSendMail), m_ui(ui_)
{
    ui->setupUi(this);
    connect(ui->cmdSend, &QPushButton::clicked, this, &frmSendMail::cmdSend_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSendMail::~frmSendMail() = default;

void frmSendMail::Setup(const QString &to, const QString &subject, const QString &body, const QString &attachment)
{
    ui->txtTo->setText(to);
    ui->txtSubject->setText(subject);
    ui->txtBody->setPlainText(body);
    ui->lblAttachment->setText(attachment);
    (to.isEmpty() ? ui->txtTo : ui->txtSubject)->setFocus();
}

QString frmSendMail::to() const
{
    return ui->txtTo->text().trimmed();
}

QString frmSendMail::subject() const
{
    return HeaderText(ui->txtSubject->text());
}

QString frmSendMail::body() const
{
    return ui->txtBody->toPlainText();
}

void frmSendMail::cmdSend_Click()
{
    // The address checked here, as the outbox would refuse it.
    if (!IsMailAddress(to())) {
        m_ui.message(this, tr("Enter the guest's e-mail address: \"%1\" is not one.").arg(to()), QMessageBox::Information);
        ui->txtTo->setFocus();
        return;
    }
    if (subject().isEmpty()) {
        m_ui.message(this, tr("Enter the message's subject."), QMessageBox::Information);
        ui->txtSubject->setFocus();
        return;
    }
    accept();
}

QString MailSecretKey(const MailServer &server)
{
    return QStringLiteral("mail:%1@%2:%3").arg(server.user, server.host).arg(server.port);
}

bool EnsureMailPassword(Database &db, UiServices &ui, QWidget *parent)
{
    const MailServer server = ReadMailServer(db);
    if (server.user.isEmpty())
        return true;
    const QString key = MailSecretKey(server);
    if (ui.hasSecret(key))
        return true;
    bool found = false;
    QString problem;
    const QString kept = ui.readSecret(key, &found, &problem);
    if (found) {
        ui.keepSecret(key, kept);
        return true;
    }
    // No keyring, or nothing in it: asked once for this start.
    QInputDialog ask(parent);
    ask.setObjectName(QStringLiteral("dlgMailPassword"));
    ask.setWindowTitle(QCoreApplication::translate("Mail", "Mail Server Password"));
    ask.setLabelText(QCoreApplication::translate("Mail", "The password of %1 at %2 (kept until the program closes):")
                         .arg(server.user, server.host));
    ask.setTextEchoMode(QLineEdit::Password);
    if (ui.askDialog(ask) != QDialog::Accepted)
        return false;
    ui.keepSecret(key, ask.textValue());
    return true;
}

bool EmailPaper(Database &db, UiServices &ui, QWidget *parent, const PaperToMail &paper)
{
    const MailServer server = ReadMailServer(db);
    if (server.host.trimmed().isEmpty()) {
        ui.message(parent, QCoreApplication::translate("Mail", "The house sends no e-mail yet: enter its mail server under "
                                                               "Configure > House Details > E-mail Settings."),
                   QMessageBox::Information);
        return false;
    }
    if (!EnsureMailPassword(db, ui, parent))
        return false;
    QString language = BookingPaperLanguage(db, paper.booking);
    if (language.isEmpty())
        language = LanguageInUse();
    const MailTemplate text = ReadMailTemplate(db, paper.kind, language);
    const Recordset guest = db.execute(QStringLiteral("SELECT c.Email FROM booking AS b LEFT JOIN customer AS c ON c.ID = "
                                                      "b.CustomerID WHERE b.ID = %1")
                                           .arg(paper.booking));
    if (guest.eof())
        throw BookingGone();
    // The attachment, made as the PDF the papers' path saves, on a thread
    // of its own while the operator reads the message.
    QTemporaryDir folder;
    if (!folder.isValid())
        throw std::runtime_error(folder.errorString().toStdString());
    const QString path = folder.filePath(QStringLiteral("paper.pdf"));
    QByteArray attachment;
    QString failure;
    const std::unique_ptr<QThread> maker(QThread::create([&] {
        try {
            const auto document = MakePaper(paper.html, paper.logo);
            WritePaperPdf(*document, paper.title, path);
            QFile pdf(path);
            if (!pdf.open(QIODevice::ReadOnly))
                throw std::runtime_error(QStringLiteral("%1: %2").arg(path, pdf.errorString()).toStdString());
            attachment = pdf.readAll();
        } catch (const std::exception &e) {
            failure = QString::fromUtf8(e.what());
        }
    }));
    struct Waiter
    {
        QThread &thread;
        ~Waiter() { thread.wait(); }
    } waiter{*maker};
    maker->start();

    frmSendMail dialog(ui, parent);
    dialog.setWindowTitle(QCoreApplication::translate("Mail", "E-mail %1").arg(PaperKindName(paper.kind)));
    dialog.Setup(guest.text(0).trimmed(), FillMailText(db, paper.booking, text.subject, paper.currencySymbol),
                 FillMailText(db, paper.booking, text.body, paper.currencySymbol), paper.fileName);
    if (ui.askDialog(dialog) != QDialog::Accepted)
        return false;
    maker->wait();
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
    OutgoingMail mail;
    mail.booking = paper.booking;
    mail.kind = paper.kind;
    mail.paper = paper.paper;
    mail.fileName = paper.fileName;
    mail.attachment = attachment;
    mail.to = dialog.to();
    mail.subject = dialog.subject();
    mail.body = dialog.body();
    QueueMail(db, mail, server.senderAddress, QDateTime::currentDateTime());
    ui.mailQueued();
    return true;
}

}  // namespace innkeld
