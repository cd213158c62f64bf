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

    QString m_path;
    QDate m_day;
    QTimer m_dayWatch;
    QTimer m_refresh;
    QThread *m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    QString m_failure;
    bool m_damaged = false;
    bool m_reported = false;
};

}  // namespace innkeld
