// A paper of the house sent by e-mail: the message shown before it is sent
// (the guest's address, editable; the subject and body of the house's text
// for the paper in the booking's language), the paper made into its PDF/A
// attachment by the papers' path, and the message put in the outbox, which
// sends it off the window's thread.
#pragma once

#include "mail/outbox.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmSendMail;
}

namespace innkeld {

class UiServices;

class frmSendMail : public QDialog
{
    Q_OBJECT
public:
    frmSendMail(UiServices &ui, QWidget *parent = nullptr);
    ~frmSendMail() override;
    frmSendMail(const frmSendMail &) = delete;
    frmSendMail &operator=(const frmSendMail &) = delete;
    void Setup(const QString &to, const QString &subject, const QString &body, const QString &attachment);
    QString to() const;
    QString subject() const;
    QString body() const;

private:
    void cmdSend_Click();

    const std::unique_ptr<Ui::frmSendMail> ui;
    UiServices &m_ui;
};

struct PaperToMail
{
    PaperKind kind = PaperKind::Confirmation;
    RecordId booking = 0;
    RecordId paper = 0;  // the invoice or the payment
    QString html;        // the paper's markup
    QByteArray logo;
    QString title;       // the PDF's title
    QString fileName;    // the attachment's
    QString currencySymbol;  // of the amounts the message names
};

// The key under which the house's mail password is kept in the keyring.
QString MailSecretKey(const MailServer &server);
// The password of the house's mail server for this start: the keyring's,
// else asked once (false when the operator cancels). Throws DbError.
bool EnsureMailPassword(Database &db, UiServices &ui, QWidget *parent);

// Shows the message and queues it when the operator sends it; false when
// nothing was queued (cancelled, or the house sends no mail yet: said).
// Throws DbError or std::runtime_error (the PDF).
bool EmailPaper(Database &db, UiServices &ui, QWidget *parent, const PaperToMail &paper);

}  // namespace innkeld
