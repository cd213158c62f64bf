// Work that takes long (a backup, an export, the daily copy) runs on a
// thread of its own, with a database connection of its own, so that the
// window goes on answering; a progress dialog with Cancel shows how far it
// is, and the result comes back to the window's thread as a signal.
#pragma once

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>

class QProgressDialog;
class QThread;
class QWidget;

namespace innkeld {

class LongWork : public QObject
{
    Q_OBJECT
public:
    // Told of the work done and the work to do; false when it is to stop.
    using Progress = std::function<bool(qint64 done, qint64 total)>;
    // Runs on the work's thread; returns false when it stopped on request.
    // What it throws is the failure, with its own text.
    using Job = std::function<bool(const Progress &progress)>;

    // `label` empty: the work runs without a dialog (the daily copy).
    LongWork(QWidget *window, const QString &label, Job job);
    // Asks the work to stop and waits for it.
    ~LongWork() override;

    // The work, when it needs the LongWork itself (to say what it does).
    void setJob(Job job) { m_job = std::move(job); }
    void start();
    bool running() const { return m_running; }
    // What the work is doing, shown in the dialog: callable from the work.
    void say(const QString &text);

signals:
    // completed: the work ran to its end; failure: its text when it failed.
    void finished(bool completed, const QString &failure);

private slots:
    void showProgress();
    void threadFinished();

private:
    QPointer<QProgressDialog> m_dialog;
    QThread *m_thread = nullptr;
    QTimer m_poll;
    std::atomic<bool> m_cancel{false};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    bool m_completed = false;
    QString m_failure;
    QMutex m_sayLock;
    QString m_said;
    bool m_saidChanged = false;
    bool m_running = false;
    Job m_job;
};

class DailyBackup;
class Database;

// As the program closes, its window gone: the day's copy finished (see
// DailyBackup::finishBeforeExitThen) while the events go on; when that
// takes a moment, a small window with the program's name and `label` says
// how far it is, until the copy is whole. The log of `db` (the program's
// connection) is folded into the file first: the file is then not written
// again after the copy as the connection closes, and the next start knows
// the copy holds everything.
void FinishCopyBeforeExit(DailyBackup &copy, Database &db, const QString &label);

}  // namespace innkeld
