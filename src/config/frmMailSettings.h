// The house's e-mail, opened from House Details: how its mail server is
// reached (the password kept in this desk's keyring, never the database),
// a test message that says what the server answered, and the subject and
// body each paper's message has in each language. OK stores them for every
// desk in one transaction; Cancel drops them.
#pragma once

#include "mail/outbox.h"

#include <QDialog>
#include <QHash>

#include <memory>

namespace Ui {
class frmMailSettings;
}

namespace innkeld {

class LongWork;
class UiServices;

class frmMailSettings : public QDialog
{
    Q_OBJECT
public:
    frmMailSettings(Database &db, UiServices &ui, QWidget *parent = nullptr);
    ~frmMailSettings() override;
    frmMailSettings(const frmMailSettings &) = delete;
    frmMailSettings &operator=(const frmMailSettings &) = delete;
    // Fills the dialog from the database; throws DbError.
    void Setup();
    // Tests: a file of certificates trusted in place of the system's.
    void setTrust(const QString &certificates) { m_trust = certificates; }

private:
    MailServer shownServer() const;
    void keepShownText();
    void showText();
    void cmdSendTest_Click();
    void cmdOk_Click();

    const std::unique_ptr<Ui::frmMailSettings> ui;
    Database &m_db;
    UiServices &m_ui;
    // The texts as edited, by paper and language ("confirmation/de").
    QHash<QString, MailTemplate> m_texts;
    QString m_shownKey;
    QString m_trust;
    LongWork *m_test = nullptr;
};

}  // namespace innkeld
