#include "changewatch.h"

#include "data/postgres/serverengine.h"
#include "data/schema/changenotices.h"

#include <QSocketNotifier>
#include <QTimer>

namespace innkeld {

ChangeWatcher::ChangeWatcher(Database &db, QObject *parent)
    : QObject(parent), m_db(db), m_poll(new QTimer(this)), m_fold(new QTimer(this)), m_retry(new QTimer(this))
{
    m_poll->setInterval(500);
    connect(m_poll, &QTimer::timeout, this, [this] {
        try {
            pollFile();
        } catch (const DbError &) {
            // A file busy at this moment is asked again at the next tick.
        }
    });
    // What comes within a tenth of a second is told at once.
    m_fold->setSingleShot(true);
    m_fold->setInterval(100);
    connect(m_fold, &QTimer::timeout, this, [this] {
        QStringList tables(m_tables.cbegin(), m_tables.cend());
        if (m_unknown)
            tables.clear();
        m_tables.clear();
        m_unknown = false;
        tables.sort();
        emit changed(tables);
    });
    m_retry->setSingleShot(true);
    m_retry->setInterval(5000);
    connect(m_retry, &QTimer::timeout, this, [this] {
        try {
            listen();
            note({});  // what came while it was lost is not known
        } catch (const DbError &) {
            m_retry->start();
        }
    });
}

ChangeWatcher::~ChangeWatcher() = default;

void ChangeWatcher::setPollInterval(int ms)
{
    m_poll->setInterval(ms);
}

void ChangeWatcher::start()
{
    if (m_db.onServer()) {
        try {
            listen();
        } catch (const DbError &e) {
            emit failed(e.message());
            m_retry->start();
        }
        return;
    }
    m_version = m_db.query(QStringLiteral("PRAGMA data_version")).value(0).toLongLong();
    m_poll->start();
}

void ChangeWatcher::listen()
{
    delete m_notifier;
    m_notifier = nullptr;
    m_listener = std::make_unique<ServerListener>(m_db.address(), QLatin1String(kChangesChannel));
    m_notifier = new QSocketNotifier(qintptr(m_listener->socket()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ChangeWatcher::readServer);
}

void ChangeWatcher::pollFile()
{
    const qint64 version = m_db.query(QStringLiteral("PRAGMA data_version")).value(0).toLongLong();
    if (version == m_version)
        return;
    m_version = version;
    note({});
}

void ChangeWatcher::readServer()
{
    try {
        // This desk's own connection's writes are known to it already.
        const int own = ServerProcessOf(m_db);
        QStringList tables;
        for (const ServerListener::Notice &n : m_listener->take())
            if (n.sender != own)
                tables << n.payload;
        if (!tables.isEmpty())
            note(tables);
    } catch (const DbError &e) {
        m_notifier->setEnabled(false);
        emit failed(e.message());
        m_retry->start();
    }
}

void ChangeWatcher::note(const QStringList &tables)
{
    if (tables.isEmpty())
        m_unknown = true;
    for (const QString &t : tables)
        m_tables.insert(t);
    if (!m_fold->isActive())
        m_fold->start();
}

}  // namespace innkeld
