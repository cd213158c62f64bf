#include "uiservices.h"

#include <QDialog>

#include "data/schema/bookingtables.h"
#include "data/schema/textlengths.h"
#include "data/sql/database.h"

#include "paper.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QPrintPreviewDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QTextDocument>
#include <QToolBar>

#include <algorithm>

#include <qt6keychain/keychain.h>

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
        failure = QCoreApplication::translate("Program", "An unexpected failure stopped this action.");
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

QString DesktopServices::openFileName(QWidget *parent, const QString &title, const QString &initialPath,
                                      const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, initialPath, filter);
}

void DesktopServices::showPaper(QWidget *parent, const QString &title, QTextDocument &paper, const QString &pdfName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageLayout(PaperLayout(paper));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paper](QPrinter *device) { PrintPaper(paper, *device); });
    // Beside Print, the PDF: the same pages, written as PDF/A.
    if (auto *bar = preview.findChild<QToolBar *>()) {
        QAction *pdf = bar->addAction(QObject::tr("Save as &PDF..."));
        pdf->setObjectName(QStringLiteral("actSavePdf"));
        pdf->setToolTip(QObject::tr("Save the document as a PDF file"));
        QObject::connect(pdf, &QAction::triggered, &preview, [&, this] {
            const QString path = saveFileName(&preview, QObject::tr("Save as PDF"), pdfName,
                                              QObject::tr("PDF documents (*.pdf)"), QStringLiteral("pdf"));
            if (!path.isEmpty())
                RunGuarded(*this, &preview, [&] { WritePaperPdf(paper, title, path, filePermissions()); });
        });
    }
    preview.exec();
}

void ShowLabelsAsPlainText(QWidget *root)
{
    for (QLabel *label : root->findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
}

void KeepTextLengths(QWidget *root)
{
    for (QLineEdit *box : root->findChildren<QLineEdit *>())
        if (box->maxLength() > kLineLength)
            box->setMaxLength(kLineLength);
}

void HoldWrappedText(const QList<QLabel *> &labels, int width)
{
    for (QLabel *label : labels) {
        int needs = 0;
        for (const bool bold : {false, true}) {
            QFont font = label->font();
            font.setBold(bold);
            const QRect lines = QFontMetrics(font).boundingRect(QRect(0, 0, width - 2 * label->margin() - label->indent(), 100000),
                                                                Qt::TextWordWrap, label->text());
            needs = std::max(needs, lines.height() + 2 * label->margin() + 1);
        }
        if (needs > label->minimumHeight())
            label->setMinimumHeight(needs);
        if (label->maximumHeight() < label->minimumHeight())
            label->setMaximumHeight(label->minimumHeight());
    }
}

QString PlainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

namespace {

// A keyring job run to its end while the window goes on answering.
template <typename Job>
bool runKeyringJob(Job &job, QString *problem)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (job.error() == QKeychain::NoError)
        return true;
    if (problem)
        *problem = job.errorString();
    return false;
}

const QString kKeyringService = QStringLiteral("Innkeld");

}  // namespace

QString UiServices::readSecret(const QString &key, bool *found, QString *problem)
{
    QKeychain::ReadPasswordJob job(kKeyringService);
    job.setKey(key);
    const bool read = runKeyringJob(job, problem);
    if (found)
        *found = read;
    return read ? job.textData() : QString();
}

bool UiServices::storeSecret(const QString &key, const QString &value, QString *problem)
{
    QKeychain::WritePasswordJob job(kKeyringService);
    job.setKey(key);
    job.setTextData(value);
    return runKeyringJob(job, problem);
}

int UiServices::askDialog(QDialog &dialog)
{
    return dialog.exec();
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
