#include "uiservices.h"

#include "data/schema/bookingtables.h"
#include "data/sql/database.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QTextDocument>

namespace innkeld {

QString ApplicationTitle()
{
    return QStringLiteral("Innkeld");
}

bool RunGuarded(UiServices &ui, QWidget *parent, const std::function<void()> &action)
{
    QString failure;
    try {
        action();
        return true;
    } catch (const DbError &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("An unexpected failure stopped this action.");
    }
    ui.message(parent, failure, QMessageBox::Critical);
    return false;
}

QMessageBox::StandardButton DesktopServices::message(QWidget *parent, const QString &text,
                                                     QMessageBox::Icon icon,
                                                     QMessageBox::StandardButtons buttons,
                                                     const QString &title)
{
    QMessageBox box(icon, title.isEmpty() ? ApplicationTitle() : title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);  // it may quote what the operator typed
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DesktopServices::existingFolder(QWidget *parent, const QString &title, const QString &initialPath)
{
    return QFileDialog::getExistingDirectory(parent, title, initialPath);
}

QString DesktopServices::saveFileName(QWidget *parent, const QString &title, const QString &initialPath,
                                      const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(parent, title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool DesktopServices::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool DesktopServices::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void ShowLabelsAsPlainText(QWidget *root)
{
    for (QLabel *label : root->findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
}

QString PlainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

bool ServiceClient::guarded(const std::function<void()> &action) const
{
    return RunGuarded(*m_ui, m_owner->window(), action);
}

bool ServiceClient::bookingStillThere(Database &db, qint64 bookingId) const
{
    if (BookingExists(db, bookingId))
        return true;
    m_ui->message(m_owner->window(), BookingGone().message(), QMessageBox::Information);
    return false;
}

}  // namespace innkeld
