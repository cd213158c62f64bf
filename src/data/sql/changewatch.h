// What another desk (or a tool, or another of this desk's connections)
// stored, told without the operator pressing anything and without reading
// the bookings: on a server through the notifications the engine's own
// triggers send, on a file through the engine's change counter
// (PRAGMA data_version), read cheaply on a timer. Changes that come
// together are told once.
#pragma once

#include "data/sql/database.h"

#include <QObject>
#include <QSet>

#include <memory>

class QSocketNotifier;
class QTimer;

namespace innkeld {

class ServerListener;

class ChangeWatcher : public QObject
{
    Q_OBJECT
public:
    // Watches `db` (which must outlive the watcher); nothing is told until
    // start().
    explicit ChangeWatcher(Database &db, QObject *parent = nullptr);
    ~ChangeWatcher() override;
    ChangeWatcher(const ChangeWatcher &) = delete;
    ChangeWatcher &operator=(const ChangeWatcher &) = delete;

    // Starts watching; on a server a connection of its own is made, and
    // made again after it is lost or could not be made (failed() says so).
    // Throws DbError when a file's counter cannot be read.
    void start();
    // How often a file's counter is read (milliseconds).
    void setPollInterval(int ms);

signals:
    // Tables written elsewhere since the last report (their names; empty
    // when the engine cannot say which, as on a file).
    void changed(const QStringList &tables);
    // The watching failed (the server's connection lost): what is shown
    // may be late until it is made again, which is tried on its own.
    void failed(const QString &why);

private:
    void pollFile();
    void readServer();
    void listen();
    void note(const QStringList &tables);

    Database &m_db;
    std::unique_ptr<ServerListener> m_listener;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_poll = nullptr;
    QTimer *m_fold = nullptr;
    QTimer *m_retry = nullptr;
    qint64 m_version = -1;
    QSet<QString> m_tables;
    bool m_unknown = false;
};

}  // namespace innkeld
