#include "backup.h"

#include "data/schema/houserules.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QSqlError>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <tuple>
#include <cstdio>
#include <cstring>

namespace innkeld {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Puts a finished copy in the target's place; an old file there goes in
// the same step (rename replaces it).
void putInPlace(const QString &part, const QString &target)
{
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString error = systemError();
        QFile::remove(part);
        throw DbError(QStringLiteral("%1: %2").arg(target, error));
    }
}

QString partName(const QString &target)
{
    return target + QStringLiteral(".part");
}

// What a copy stopped by a crash or a kill leaves beside its target.
void removeLeftovers(const QString &target)
{
    const QString part = partName(target);
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(part + QLatin1String(suffix));
}

QString damagedName(const QString &target)
{
    const QFileInfo info(target);
    const QString base = info.suffix().compare(QLatin1String("mdb"), Qt::CaseInsensitive) == 0
        ? info.completeBaseName()
        : info.fileName();
    return info.dir().filePath(base + QStringLiteral("-damaged.mdb"));
}

// Runs one statement on a raw engine connection; the first column of each row.
QStringList engineRows(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    QStringList rows;
    int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            rows << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    if (rc != SQLITE_DONE)
        rows << QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return rows;
}

// A finished copy: kept in the rollback journal mode, so that a copy is one
// file whatever the folder it is taken to; then the engine's quick check.
QString settleAndCheck(const QString &part)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(part).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return error;
    }
    engineRows(db, "PRAGMA journal_mode = DELETE");
    const QString report = engineRows(db, "PRAGMA quick_check").join(QLatin1Char('\n'));
    sqlite3_close(db);
    return report;
}

// The database page for page into `part` (replacing what is there), as
// the engine reads them, none judged: a damaged database copies whole.
// Returns the pages copied (0 when it could not be).
qint64 copyPages(sqlite3 *source, const QString &part)
{
    QFile::remove(part);
    sqlite3 *target = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(part).constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr)
        != SQLITE_OK) {
        sqlite3_close(target);
        return 0;
    }
    qint64 pages = 0;
    if (sqlite3_backup *copy = sqlite3_backup_init(target, "main", source, "main")) {
        int rc;
        do
            rc = sqlite3_backup_step(copy, 1024);
        while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        pages = rc == SQLITE_DONE ? sqlite3_backup_pagecount(copy) : 0;
        sqlite3_backup_finish(copy);
    }
    sqlite3_close(target);
    return pages;
}

struct ProgressState
{
    const CopyProgress *progress;
    QString part;
    qint64 total;
    QElapsedTimer clock;
    bool told = false;
    bool stopped = false;
};

int progressHandler(void *context)
{
    auto *state = static_cast<ProgressState *>(context);
    // Told at once, then every 40 ms.
    if (state->told && state->clock.elapsed() < 40)
        return 0;
    state->told = true;
    state->clock.restart();
    if (!(*state->progress)(std::min(QFileInfo(state->part).size(), state->total), state->total)) {
        state->stopped = true;
        return 1;  // the engine stops the statement
    }
    return 0;
}

// A server's database is copied by the server's own dump program, in its
// custom format (pg_restore reads it back), written beside the target and
// put in place when pg_dump has finished well. The password goes to it in
// its environment, never on its command line.
bool dumpServerDatabase(Database &db, const QString &target, const CopyProgress &progress)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    if (program.isEmpty())
        throw DbError(QCoreApplication::translate("Copies", "A copy of a server's database is made by pg_dump, which is not installed "
                                     "(Debian: apt-get install postgresql-client)."));
    QUrl url(db.address());
    QString password = url.password();
    url.setPassword(QString());
    // A password given as an option of the address (?password=...) goes the
    // same way, never onto the command line that every user can read.
    QUrlQuery options(url);
    for (const auto &item : options.queryItems(QUrl::FullyDecoded))
        if (item.first == QLatin1String("password")) {
            password = item.second;
            options.removeAllQueryItems(item.first);
        }
    url.setQuery(options.isEmpty() ? QString() : options.query(QUrl::FullyEncoded), QUrl::StrictMode);
    qint64 total = 1;
    if (progress)
        total = std::max<qint64>(
            1, db.execute(QStringLiteral("SELECT pg_database_size(current_database())")).value(0).toLongLong() / 4);
    const QString part = partName(target);
    removeLeftovers(target);
    // The card numbers it holds: the owner's alone from the first byte
    // (pg_dump writes into the file made here, keeping its permissions).
    {
        QFile file(part);
        if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(DataFilePermissions(db)))
            throw DbError(QStringLiteral("%1: %2").arg(part, file.errorString()));
    }
    QProcess dump;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!password.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), password);
    dump.setProcessEnvironment(env);
    dump.setProcessChannelMode(QProcess::SeparateChannels);
    dump.setStandardOutputFile(QProcess::nullDevice());
    dump.start(program, {QStringLiteral("--format=custom"), QStringLiteral("--no-password"),
                         QStringLiteral("--file=") + part, QStringLiteral("--dbname=") + url.toString()});
    if (!dump.waitForStarted())
        throw DbError(QStringLiteral("pg_dump: %1").arg(dump.errorString()));
    QElapsedTimer told;
    told.start();
    while (!dump.waitForFinished(40)) {
        if (progress && !progress(std::min(QFileInfo(part).size(), total), total)) {
            dump.kill();
            dump.waitForFinished();
            removeLeftovers(target);
            return false;
        }
    }
    if (dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
        const QString error = QString::fromLocal8Bit(dump.readAllStandardError()).trimmed();
        removeLeftovers(target);
        throw DbError(error.isEmpty() ? QStringLiteral("pg_dump failed.") : error);
    }
    putInPlace(part, target);
    if (progress)
        progress(total, total);
    return true;
}

}  // namespace

bool BackUpDatabase(Database &db, const QString &target, const CopyProgress &progress)
{
    if (db.onServer())
        return dumpServerDatabase(db, target, progress);
    RequireOtherThanDatabase(db.path(), target);
    const QString part = partName(target);
    removeLeftovers(target);
    // The copy holds card numbers: it is no more readable than the database,
    // from its first byte on.
    {
        QFile file(part);
        if (!file.open(QIODevice::WriteOnly))
            throw DbError(QStringLiteral("%1: %2").arg(part, file.errorString()));
        file.setPermissions(DataFilePermissions(db));
    }
    auto *engine = static_cast<sqlite3 *>(db.engine());
    ProgressState state{&progress, part, 0, {}};
    if (progress) {
        const Recordset size = db.execute(QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()"));
        state.total = std::max<qint64>(1, size.value(0).toLongLong());
        state.clock.start();
        sqlite3_progress_handler(engine, 100, progressHandler, &state);
    }
    QString literal = part;
    literal.replace(QLatin1String("'"), QLatin1String("''"));
    try {
        QSqlQuery q(db.connection());
        if (!q.exec(QStringLiteral("VACUUM INTO '") + literal + QLatin1Char('\''))) {
            sqlite3_progress_handler(engine, 0, nullptr, nullptr);
            if (state.stopped) {
                removeLeftovers(target);
                return false;
            }
            const QString error = q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                                         : q.lastError().databaseText();
            // The engine met a damaged page: the database is kept as damaged
            // page for page (the engine's page copy, which reads pages
            // without judging them), for whoever repairs it.
            if (q.lastError().nativeErrorCode() == QLatin1String("11")) {
                const QString kept = damagedName(target);
                const qint64 pages = copyPages(engine, part);
                putInPlace(part, kept);
                throw DamagedCopy(DamagedDatabaseMessage(db.path(), error)
                                      + (pages > 0 ? QCoreApplication::translate("Copies", " The damaged database is kept as it is, page for "
                                                                    "page, in %1, for whoever repairs it.")
                                                         .arg(QDir::toNativeSeparators(kept))
                                                   : QString()),
                                  kept);
            }
            throw DbError(error);
        }
        sqlite3_progress_handler(engine, 0, nullptr, nullptr);
    } catch (...) {
        sqlite3_progress_handler(engine, 0, nullptr, nullptr);
        removeLeftovers(target);
        throw;
    }
    const QString report = settleAndCheck(part);
    if (report != QLatin1String("ok")) {
        const QString kept = damagedName(target);
        putInPlace(part, kept);
        throw DamagedCopy(DamagedDatabaseMessage(db.path(), report), kept);
    }
    putInPlace(part, target);
    if (progress)
        progress(state.total, state.total);
    return true;
}

QString CheckDatabase(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw DbError(QCoreApplication::translate("Copies", "Could not find file '%1'.").arg(path));
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw DbError(error);
    }
    const QString report = engineRows(db, "PRAGMA integrity_check").join(QLatin1Char('\n'));
    sqlite3_close(db);
    return report;
}

QStringList StoredClashes(Database &db)
{
    StoredStays stays;
    ReadStoredStays(db, stays, false);
    return stays.clashes;
}

QString DailyBackupFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

QString DailyBackupPath(const QString &databasePath, const QDate &day)
{
    return QDir(DailyBackupFolder(databasePath)).filePath(QStringLiteral("db-%1.mdb").arg(day.toString(Qt::ISODate)));
}

namespace {

QStringList goodCopies(const QDir &folder)
{
    return folder.entryList({QStringLiteral("db-\?\?\?\?-\?\?-\?\?.mdb")}, QDir::Files, QDir::Name);
}

}  // namespace

QString NewestGoodBackup(const QString &databasePath)
{
    const QDir folder(DailyBackupFolder(databasePath));
    const QStringList copies = goodCopies(folder);
    return copies.isEmpty() ? QString() : folder.filePath(copies.last());
}

QStringList PruneDailyBackups(const QString &databasePath, int keep)
{
    QDir folder(DailyBackupFolder(databasePath));
    QStringList copies = goodCopies(folder);
    QStringList removed;
    while (copies.size() > keep) {
        const QString oldest = copies.takeFirst();
        if (folder.remove(oldest))
            removed << oldest;
    }
    return removed;
}

QDateTime LastDatabaseChange(const QString &databasePath)
{
    // A write reaches the write-ahead log first, the file when it is folded
    // in. An empty log (made by opening, or emptied by folding) is no write.
    QDateTime last = QFileInfo(databasePath).lastModified();
    const QFileInfo log(databasePath + QStringLiteral("-wal"));
    if (log.exists() && log.size() > 0 && log.lastModified() > last)
        last = log.lastModified();
    return last;
}

bool DailyBackupOutdated(const QString &databasePath, const QDate &day)
{
    const QFileInfo copy(DailyBackupPath(databasePath, day));
    return !copy.exists() || LastDatabaseChange(databasePath) > copy.lastModified();
}

bool MakeDailyBackup(Database &db, const QDate &day, const CopyProgress &progress, bool refresh)
{
    const QString target = DailyBackupPath(db.path(), day);
    if (QFileInfo::exists(target) && !(refresh && DailyBackupOutdated(db.path(), day)))
        return true;  // the day's is there (and holds every change, when asked)
    const QString folder = DailyBackupFolder(db.path());
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("the folder cannot be made."));
    // Left-overs of copies stopped by a crash or a kill go first.
    QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.part"), QStringLiteral("*.part-*")}, QDir::Files))
        dir.remove(name);
    if (!BackUpDatabase(db, target, progress))
        return false;
    PruneDailyBackups(db.path());
    return true;
}

QString DamagedDatabaseMessage(const QString &databasePath, const QString &engineText)
{
    const QString good = NewestGoodBackup(databasePath);
    QString text = QCoreApplication::translate("Copies", "The database %1 is damaged (%2).")
                       .arg(QDir::toNativeSeparators(databasePath), engineText.section(QLatin1Char('\n'), 0, 0));
    if (good.isEmpty())
        text += QCoreApplication::translate("Copies", " There is no good copy of it in %1.")
                    .arg(QDir::toNativeSeparators(DailyBackupFolder(databasePath)));
    else
        text += QCoreApplication::translate("Copies", " The newest good copy is %1; the manual says how to put it in its place.")
                    .arg(QDir::toNativeSeparators(good));
    return text;
}

}  // namespace innkeld
