#include "LongWork.h"

#include "data/copies/dailybackup.h"
#include "data/sql/database.h"
#include "uiservices.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <limits>

namespace innkeld {

LongWork::LongWork(QWidget *window, const QString &label, Job job) : QObject(window), m_job(std::move(job))
{
    if (!label.isEmpty()) {
        m_dialog = new QProgressDialog(label, tr("&Cancel"), 0, 0, window);
        m_dialog->setObjectName(QStringLiteral("dlgLongWorkProgress"));
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->reset();  // shown only by start()
        m_dialog->hide();
        connect(m_dialog, &QProgressDialog::canceled, this, [this] { m_cancel = true; });
    }
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &LongWork::showProgress);
}

LongWork::~LongWork()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
    delete m_dialog;
}

void LongWork::start()
{
    if (m_running)
        return;
    m_running = true;
    m_thread = QThread::create([this] {
        const Progress progress = [this](qint64 done, qint64 total) {
            m_done = done;
            m_total = total;
            return !m_cancel.load();
        };
        try {
            m_completed = m_job(progress);
        } catch (const std::exception &e) {
            m_failure = QString::fromUtf8(e.what());
        } catch (...) {
            m_failure = tr("The work failed.");
        }
    });
    connect(m_thread, &QThread::finished, this, &LongWork::threadFinished, Qt::QueuedConnection);
    if (m_dialog) {
        m_dialog->setRange(0, 0);
        m_dialog->show();
    }
    m_poll.start();
    m_thread->start(QThread::LowPriority);
}

void LongWork::say(const QString &text)
{
    QMutexLocker lock(&m_sayLock);
    m_said = text;
    m_saidChanged = true;
}

void LongWork::showProgress()
{
    if (!m_dialog)
        return;
    {
        QMutexLocker lock(&m_sayLock);
        if (m_saidChanged && !m_said.isEmpty())
            m_dialog->setLabelText(m_said);
        m_saidChanged = false;
    }
    const qint64 total = m_total, done = m_done;
    if (total <= 0)
        return;
    // Scaled to the dialog's int range.
    m_dialog->setRange(0, 1000);
    m_dialog->setValue(int(std::min<qint64>(1000, done * 1000 / total)));
}

void LongWork::threadFinished()
{
    m_poll.stop();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_running = false;
    if (m_dialog)
        m_dialog->hide();
    emit finished(m_completed && m_failure.isEmpty(), m_failure);
}

void FinishCopyBeforeExit(DailyBackup &copy, Database &db, const QString &label)
{
    try {
        db.run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    } catch (const DbError &) {
        // Another desk reading: folded when the last one closes.
    }
    QEventLoop loop;
    bool whole = false;
    copy.finishBeforeExitThen([&] {
        whole = true;
        loop.quit();
    });
    if (whole)
        return;
    QProgressDialog note(label, QString(), 0, 0);
    note.setObjectName(QStringLiteral("dlgClosingCopy"));
    note.setWindowTitle(ApplicationTitle());
    note.setCancelButton(nullptr);
    note.setAutoReset(false);
    note.setAutoClose(false);
    note.setMinimumDuration(std::numeric_limits<int>::max());
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &note, [&] {
        const auto [done, total] = copy.progress();
        note.setMaximum(total > 0 ? 1000 : 0);
        note.setValue(total > 0 ? int(std::min<qint64>(1000, done * 1000 / total)) : 0);
    });
    poll.start();
    QTimer::singleShot(300, &note, [&note] { note.show(); });
    loop.exec();
}

}  // namespace innkeld
