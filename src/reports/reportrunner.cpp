#include "reportrunner.h"

#include "data/schema/schema.h"

#include <QThread>

#include <exception>

namespace innkeld {

class ReportRunner::Worker : public QObject
{
public:
    Worker(const QString &database, std::shared_ptr<std::atomic<quint64>> latest)
        : m_database(database), m_latest(std::move(latest))
    {
    }

    // On the work's thread: the report, or the failure's text; nothing when
    // a later report was asked for meanwhile.
    bool work(quint64 asked, const ReportRequest &request, ReportTable *table, QString *failure)
    {
        if (*m_latest != asked)
            return false;
        try {
            if (!m_db) {
                m_db = OpenDatabase(m_database, false);
                const auto latest = m_latest;
                m_stopAt = asked;
                m_db->setStopCheck([this, latest] { return *latest != m_stopAt; });
            }
            m_stopAt = asked;
            *table = MakeReport(*m_db, request);
        } catch (const std::exception &e) {
            if (*m_latest != asked)
                return false;
            *failure = QString::fromStdString(e.what());
        }
        return *m_latest == asked;
    }

private:
    QString m_database;
    std::shared_ptr<std::atomic<quint64>> m_latest;
    std::atomic<quint64> m_stopAt{0};
    std::unique_ptr<Database> m_db;
};

ReportRunner::ReportRunner(const QString &database, QObject *parent)
    : QObject(parent), m_latest(std::make_shared<std::atomic<quint64>>(0))
{
    qRegisterMetaType<innkeld::ReportTable>();
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("reports"));
    m_worker = new Worker(database, m_latest);
    m_worker->moveToThread(m_thread);
    // The connection is closed on the thread that opened it.
    connect(m_thread, &QThread::finished, m_worker, [worker = m_worker] { delete worker; }, Qt::DirectConnection);
    m_thread->start(QThread::LowPriority);
}

ReportRunner::~ReportRunner()
{
    ++*m_latest;
    m_thread->quit();
    m_thread->wait();
}

void ReportRunner::request(const ReportRequest &request)
{
    const quint64 asked = ++m_asked;
    *m_latest = asked;
    QMetaObject::invokeMethod(
        m_worker,
        [this, asked, request, worker = m_worker] {
            auto table = std::make_shared<ReportTable>();
            auto failure = std::make_shared<QString>();
            if (!worker->work(asked, request, table.get(), failure.get()))
                return;
            QMetaObject::invokeMethod(
                this,
                [this, asked, table, failure] {
                    if (asked != m_asked)
                        return;
                    m_done = asked;
                    if (failure->isEmpty())
                        emit ready(*table);
                    else
                        emit failed(*failure);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

}  // namespace innkeld
