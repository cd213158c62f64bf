// The daily copy of the booking database: made at start-up and whenever the
// day changes while the program runs, made again every few hours and when
// the program closes if the database changed since, on a thread of its own
// with a connection of its own, so that nothing waits for it. The copy is
// checked before older ones are pruned (MakeDailyBackup).
#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class QLockFile;
class QThread;

namespace innkeld {

class DailyBackup : public QObject
{
    Q_OBJECT
public:
    explicit DailyBackup(const QString &databasePath, QObject *parent = nullptr);
    // Stops a copy being made (nothing of it is left) and waits for it.
    ~DailyBackup() override;

    // Today's copy unless it is there; from then on, the next day's when
    // the day changes.
    void start();
    // The copy for a given day, unless it is there (with `refresh`, unless
    // it is there and holds every change).
    void startFor(const QDate &day, bool refresh = false);
    // As the program closes: a copy being made is finished, and today's is
    // made again if the database changed since; waits for it.
    void finishBeforeExit();
    // The same without waiting: `done` is called once the copy is whole
    // (at once when nothing is to be copied). Meanwhile the copy's lock
    // tells a second start that it is being finished.
    void finishBeforeExitThen(std::function<void()> done);
    // How far the copy under way is, as its bytes (0 of 0 when none runs).
    std::pair<qint64, qint64> progress() const { return {m_done.load(), m_total.load()}; }
    // Whether the program that closed last on this database is still
    // finishing its copy (its lock is held by a process that runs).
    static bool BeingFinished(const QString &databasePath);
    // Waits until that copy is whole, or `stop` says so; false when stopped.
    static bool WaitUntilFinished(const QString &databasePath, const std::function<bool()> &stop);
    bool running() const { return m_thread != nullptr; }

    // How often today's copy is made again while the program runs, when the
    // database changed since.
    static constexpr int kRefreshHours = 3;

signals:
    // A copy has been made, was there already, or failed.
    void finished();
    // The copy failed the engine's check: the database is damaged. Said
    // each time, with the file and the newest good copy.
    void damaged(const QString &message);
    // Any other failure, said once a run: the folder and the system's or
    // the engine's text.
    void failed(const QString &message);

private:
    void copyDone();
    void exitStep();

    QString m_path;
    QDate m_day;
    QTimer m_dayWatch;
    QTimer m_refresh;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    QString m_failure;
    bool m_damaged = false;
    bool m_reported = false;
    std::atomic<qint64> m_done{0}, m_total{0};
    // As the program closes: what to call when the copy is whole, the
    // steps done, and the lock a second start sees.
    std::function<void()> m_exitDone;
    int m_exitStep = 0;
    std::unique_ptr<QLockFile> m_closing;
};

}  // namespace innkeld
