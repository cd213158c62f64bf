#include "backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace innkeld {

namespace {

sqlite3 *engineOf(Database &db)
{
    const QVariant handle = db.connection().driver() ? db.connection().driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database connection is not open."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// Puts a finished copy in the target's place; an old file there goes in
// the same step (rename replaces it).
void putInPlace(const QString &part, const QString &target)
{
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(part);
        throw DbError(QStringLiteral("%1: %2").arg(target, error));
    }
}

QString partName(const QString &target)
{
    return target + QStringLiteral(".part");
}

}  // namespace

void BackUpDatabase(Database &db, const QString &target)
{
    const QString part = partName(target);
    QFile::remove(part);
    QString literal = part;
    literal.replace(QLatin1String("'"), QLatin1String("''"));
    try {
        db.execute(QStringLiteral("VACUUM INTO '") + literal + QLatin1Char('\''));
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    putInPlace(part, target);
}

QString CheckDatabase(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(path));
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(error);
    }
    sqlite3_stmt *stmt = nullptr;
    QStringList report;
    int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            report << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    if (rc != SQLITE_DONE)
        report << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return report.join(QLatin1Char('\n'));
}

struct DatabaseCopy::Engine
{
    sqlite3 *target = nullptr;
    sqlite3_backup *backup = nullptr;
};

DatabaseCopy::DatabaseCopy(Database &db, const QString &target)
    : m_engine(std::make_unique<Engine>()), m_target(target), m_part(partName(target))
{
    QFile::remove(m_part);
    if (sqlite3_open_v2(QFile::encodeName(m_part).constData(), &m_engine->target,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(m_engine->target));
        sqlite3_close(m_engine->target);
        m_engine->target = nullptr;
        throw DbError(QStringLiteral("%1: %2").arg(m_part, error));
    }
    m_engine->backup = sqlite3_backup_init(m_engine->target, "main", engineOf(db), "main");
    if (!m_engine->backup)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(m_engine->target)));
}

DatabaseCopy::~DatabaseCopy()
{
    if (m_engine->backup)
        sqlite3_backup_finish(m_engine->backup);
    if (m_engine->target)
        sqlite3_close(m_engine->target);
    if (!m_done)
        QFile::remove(m_part);
}

bool DatabaseCopy::step(int pages)
{
    if (m_done)
        return true;
    const int rc = sqlite3_backup_step(m_engine->backup, pages);
    if (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return false;  // more to come, or the source is busy just now
    const int finished = sqlite3_backup_finish(m_engine->backup);
    m_engine->backup = nullptr;
    const QString error = QString::fromUtf8(sqlite3_errmsg(m_engine->target));
    sqlite3_close(m_engine->target);
    m_engine->target = nullptr;
    if (rc != SQLITE_DONE || finished != SQLITE_OK)
        throw DbError(QStringLiteral("%1: %2").arg(m_part, error));
    putInPlace(m_part, m_target);
    m_done = true;
    return true;
}

QString DailyBackupFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QString DailyBackupPath(const QString &databasePath, const QDate &day)
{
    return QDir(DailyBackupFolder(databasePath)).filePath(QStringLiteral("db-%1.mdb").arg(day.toString(Qt::ISODate)));
}

QStringList PruneDailyBackups(const QString &databasePath, int keep)
{
    QDir folder(DailyBackupFolder(databasePath));
    QStringList copies = folder.entryList({QStringLiteral("db-\?\?\?\?-\?\?-\?\?.mdb")}, QDir::Files, QDir::Name);
    QStringList removed;
    while (copies.size() > keep) {
        const QString oldest = copies.takeFirst();
        if (folder.remove(oldest))
            removed << oldest;
    }
    return removed;
}

}  // namespace innkeld
