// Works out reports on a thread of its own, with a database connection of
// its own, so that a report over years never holds the window up. The
// latest report asked for is the one that counts: one asked before it and
// not done is dropped (a statement running on a file is stopped).
#pragma once

#include "reporttables.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace innkeld {

class ReportRunner : public QObject
{
    Q_OBJECT
public:
    // `database`: what opens the database again (Database::address()).
    explicit ReportRunner(const QString &database, QObject *parent = nullptr);
    // Drops the report being worked out and waits for the thread.
    ~ReportRunner() override;
    ReportRunner(const ReportRunner &) = delete;
    ReportRunner &operator=(const ReportRunner &) = delete;

    void request(const ReportRequest &request);
    bool busy() const { return m_done != m_asked; }

signals:
    // On the owner's thread, for the latest report asked for.
    void ready(const innkeld::ReportTable &table);
    // Its failure, in the engine's or system's words.
    void failed(const QString &text);

private:
    class Worker;
    QThread *m_thread = nullptr;
    Worker *m_worker = nullptr;
    std::shared_ptr<std::atomic<quint64>> m_latest;
    quint64 m_asked = 0, m_done = 0;
};

}  // namespace innkeld
