// Everything that would stop the program on a modal window or start another
// program goes through this interface, so that tests can stand in for it.
#pragma once

#include <QFileDevice>
#include <QHash>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QDialog;
class QLabel;
class QTextDocument;
class QWidget;

namespace innkeld {

class Database;

class UiServices
{
public:
    virtual ~UiServices() = default;

    // A message box; returns the button pressed. An empty title gives the
    // program's own title.
    virtual QMessageBox::StandardButton message(QWidget *parent, const QString &text,
                                                QMessageBox::Icon icon = QMessageBox::NoIcon,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                const QString &title = QString()) = 0;
    // The save-file dialog: the toolkit's own question before an existing
    // file is replaced, the default suffix added to a name typed without one. An empty title gives the
    // system's. Empty text when the operator cancels.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &initialPath,
                                 const QString &filter, const QString &defaultSuffix) = 0;
    // The folder dialog; empty text when the operator cancels.
    virtual QString existingFolder(QWidget *parent, const QString &title, const QString &initialPath) = 0;
    // The open-file dialog; empty text when the operator cancels.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &initialPath,
                                 const QString &filter) = 0;
    // Starts another program without waiting for it; false when it cannot start.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    // Opens a file or a web page in the desktop's program for it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Shows a paper in the print preview, from which the operator prints it
    // or saves it as PDF (`pdfName` offered as the file's name).
    virtual void showPaper(QWidget *parent, const QString &title, QTextDocument &paper, const QString &pdfName) = 0;
    // A dialog of the program's own that asks the operator (a booking's
    // cancellation): its result, Accepted or Rejected.
    virtual int askDialog(QDialog &dialog);

    // The desktop's keyring, for the house's mail password: the secret kept
    // under `key` (found false when there is none, or no keyring, `problem`
    // then saying why), and storing one there (false, with the keyring's
    // words, when it cannot be).
    virtual QString readSecret(const QString &key, bool *found, QString *problem);
    virtual bool storeSecret(const QString &key, const QString &value, QString *problem);
    // Secrets known for as long as the program runs (a desk without a
    // keyring asks once per start).
    void keepSecret(const QString &key, const QString &value) { m_secrets.insert(key, value); }
    QString keptSecret(const QString &key) const { return m_secrets.value(key); }
    bool hasSecret(const QString &key) const { return m_secrets.contains(key); }
    // A message was put in the outbox: whoever sends the outbox is told.
    void setMailQueuedHandler(std::function<void()> handler) { m_mailQueued = std::move(handler); }
    void mailQueued() const
    {
        if (m_mailQueued)
            m_mailQueued();
    }
    // The permissions of every file the program writes for the operator (a
    // paper's PDF): the database's, set when it is opened.
    void setFilePermissions(QFileDevice::Permissions permissions) { m_filePermissions = permissions; }
    QFileDevice::Permissions filePermissions() const { return m_filePermissions; }

private:
    QFileDevice::Permissions m_filePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QHash<QString, QString> m_secrets;
    std::function<void()> m_mailQueued;
};

// The real desktop: message boxes, the save dialog, processes and URLs.
class DesktopServices : public UiServices
{
public:
    QMessageBox::StandardButton message(QWidget *parent, const QString &text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons, const QString &title) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &initialPath,
                         const QString &filter, const QString &defaultSuffix) override;
    QString existingFolder(QWidget *parent, const QString &title, const QString &initialPath) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &initialPath,
                         const QString &filter) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    bool openUrl(const QUrl &url) override;
    void showPaper(QWidget *parent, const QString &title, QTextDocument &paper, const QString &pdfName) override;
};

// What a panel or dialog has of the seam: the services its host gives it,
// and the one way to run an operator action under them.
class ServiceClient
{
public:
    explicit ServiceClient(QWidget *owner) : m_owner(owner) {}
    void setServices(UiServices *services) { m_ui = services; }

protected:
    // Runs an action as RunGuarded does, over the owner's window.
    bool guarded(const std::function<void()> &action) const;
    // False, having told the operator "This booking no longer exists.",
    // when the booking has gone since it was listed (deleted with its room,
    // or at another desk).
    bool bookingStillThere(Database &db, qint64 bookingId) const;

    UiServices *m_ui = nullptr;

private:
    QWidget *m_owner;
};

// Every label under `root` shows its text as it was typed or stored, never
// as markup (a name with tags in it shows its tags).
void ShowLabelsAsPlainText(QWidget *root);

// Every one-line box under `root` takes at most the characters the
// database keeps of a one-line text (200): what is typed or pasted beyond
// that is not taken.
void KeepTextLengths(QWidget *root);

// Gives each word-wrapped label the height its text takes at `width` in
// its font's own metrics, bold or not (a label of fixed size laid out for
// one desktop font holds its text whole in another), never less than it had.
void HoldWrappedText(const QList<QLabel *> &labels, int width);

// A tooltip that shows a typed or stored text as it is, never as markup.
QString PlainToolTip(const QString &text);

// The title of message boxes that give none of their own.
QString ApplicationTitle();

// Runs an operator action. A failure (a database or file error, or anything
// else thrown) is shown to the operator with its own text and the program
// goes on; returns false when the action failed.
bool RunGuarded(UiServices &ui, QWidget *parent, const std::function<void()> &action);

}  // namespace innkeld
