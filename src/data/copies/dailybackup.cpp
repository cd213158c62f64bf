#include "dailybackup.h"

#include "data/copies/backup.h"
#include "data/schema/schema.h"
#include "data/sql/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace innkeld {

DailyBackup::DailyBackup(const QString &databasePath, QObject *parent) : QObject(parent), m_path(databasePath)
{
    m_dayWatch.setInterval(60 * 1000);
    connect(&m_dayWatch, &QTimer::timeout, this, [this] {
        if (QDate::currentDate() != m_day)
            startFor(QDate::currentDate());
    });
    m_refresh.setInterval(kRefreshHours * 3600 * 1000);
    connect(&m_refresh, &QTimer::timeout, this, [this] { startFor(QDate::currentDate(), true); });
}

namespace {

// The copy's thread gives way to the window's when the processors are
// busy: on Linux a thread has a niceness of its own (a low priority of
// Qt's changes nothing for the usual scheduling there).
void yieldToTheWindow()
{
#ifdef Q_OS_LINUX
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 5);
#endif
}

QString closingLockPath(const QString &databasePath)
{
    return QDir(DailyBackupFolder(databasePath)).filePath(QStringLiteral("closing.lock"));
}

}  // namespace

DailyBackup::~DailyBackup()
{
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
    }
}

void DailyBackup::start()
{
    startFor(QDate::currentDate());
    m_dayWatch.start();
    m_refresh.start();
}

void DailyBackup::finishBeforeExit()
{
    m_dayWatch.stop();
    m_refresh.stop();
    copyDone();  // the copy under way is finished, not stopped
    startFor(QDate::currentDate(), true);
    copyDone();
}

void DailyBackup::finishBeforeExitThen(std::function<void()> done)
{
    m_dayWatch.stop();
    m_refresh.stop();
    m_exitDone = std::move(done);
    m_exitStep = 0;
    if (QDir().mkpath(DailyBackupFolder(m_path))) {
        m_closing = std::make_unique<QLockFile>(closingLockPath(m_path));
        m_closing->setStaleLockTime(0);
        m_closing->tryLock(0);
    }
    // The copy under way is finished first (its end comes as copyDone).
    if (!m_thread)
        exitStep();
}

void DailyBackup::exitStep()
{
    if (m_exitStep == 0) {
        // Then today's again, if the database changed since.
        m_exitStep = 1;
        startFor(QDate::currentDate(), true);
        if (m_thread)
            return;
    }
    m_exitStep = 2;
    m_closing.reset();
    if (auto done = std::exchange(m_exitDone, {}))
        done();
}

bool DailyBackup::BeingFinished(const QString &databasePath)
{
    QLockFile lock(closingLockPath(databasePath));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return false;
    return lock.error() == QLockFile::LockFailedError;
}

bool DailyBackup::WaitUntilFinished(const QString &databasePath, const std::function<bool()> &stop)
{
    while (BeingFinished(databasePath))
        if (stop())
            return false;
    return true;
}

void DailyBackup::startFor(const QDate &day, bool refresh)
{
    if (m_thread)
        return;
    m_day = day;
    if (QFileInfo::exists(DailyBackupPath(m_path, day)) && !(refresh && DailyBackupOutdated(m_path, day))) {
        emit finished();
        return;
    }
    m_failure.clear();
    m_damaged = false;
    m_stop = false;
    m_done = 0;
    m_total = 0;
    // As the program closes the window is gone: nothing to give way to.
    const bool closing = bool(m_exitDone);
    m_thread = QThread::create([this, day, refresh, closing] {
        if (!closing)
            yieldToTheWindow();
        try {
            auto db = OpenDatabase(m_path);
            MakeDailyBackup(*db, day, [this](qint64 done, qint64 total) {
                m_done = done;
                m_total = total;
                return !m_stop.load();
            }, refresh);
        } catch (const DamagedCopy &e) {
            m_failure = e.message();
            m_damaged = true;
        } catch (const std::exception &e) {
            m_failure = QString::fromUtf8(e.what());
        }
    });
    connect(m_thread, &QThread::finished, this, &DailyBackup::copyDone, Qt::QueuedConnection);
    m_thread->start(QThread::LowPriority);
}

void DailyBackup::copyDone()
{
    if (!m_thread)
        return;  // none running, or said already (waited for as the program closed)
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (m_damaged) {
        emit damaged(m_failure);
    } else if (!m_failure.isEmpty() && !m_reported) {
        m_reported = true;
        emit failed(QCoreApplication::translate("Copies", "Today's copy of the bookings could not be kept in %1: %2")
                        .arg(QDir::toNativeSeparators(DailyBackupFolder(m_path)), m_failure));
    }
    emit finished();
    if (m_exitDone)
        exitStep();
}

}  // namespace innkeld
