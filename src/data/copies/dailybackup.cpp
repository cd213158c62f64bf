#include "dailybackup.h"

#include "data/copies/backup.h"
#include "data/schema/schema.h"
#include "data/sql/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

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
    m_thread = QThread::create([this, day, refresh] {
        try {
            auto db = OpenDatabase(m_path);
            MakeDailyBackup(*db, day, [this](qint64, qint64) { return !m_stop.load(); }, refresh);
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
}

}  // namespace innkeld
