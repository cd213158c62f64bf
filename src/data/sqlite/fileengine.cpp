#include "fileengine.h"

#include <QAtomicInt>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUrl>

#include <sqlite3.h>
#include <sys/vfs.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace innkeld {

namespace {

QAtomicInt connectionCounter;

QString newConnectionName()
{
    return QStringLiteral("innkeld-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
}

QString engineText(const QSqlError &error)
{
    // Another desk holds the write lock longer than the busy timeout: said
    // in words, and the operator's entries stay where they are.
    if (error.nativeErrorCode() == QLatin1String("5")
        || error.databaseText().trimmed() == QLatin1String("database is locked"))
        return BusyMessage();
    const QString db = error.databaseText().trimmed();
    if (!db.isEmpty())
        return db;
    return error.text().trimmed();
}

void runOrThrow(QSqlQuery &q, const QString &sql)
{
    if (!q.exec(sql))
        throw DbError(engineText(q.lastError()));
}

// A stored value as the program reads it, by its column's declared kind
// (`typed`: the column has one; an expression's value is taken as it is).
QVariant fromStored(const QVariant &raw, ColumnKind kind, bool typed)
{
    if (raw.isNull())
        return QVariant();
    if (!typed)
        return raw;
    switch (kind) {
    case ColumnKind::Date: {
        const QDateTime dt = StoredDateTime(raw.toString());
        return dt.isValid() ? QVariant(dt) : raw;
    }
    case ColumnKind::Money:
    case ColumnKind::Number: {
        bool ok = false;
        const double v = raw.toDouble(&ok);
        return ok ? QVariant(v) : raw;
    }
    case ColumnKind::Integer: {
        bool ok = false;
        const qlonglong v = raw.toLongLong(&ok);
        return ok ? QVariant(v) : raw;
    }
    case ColumnKind::Text:
        return raw.toString();
    }
    return raw;
}


// A Recordset's rows from SQLite: the engine's statement and how each of
// its columns is read back.
struct FileCursor : Recordset::Cursor
{
    QSqlQuery query;
    QVector<ColumnKind> kinds;
    QVector<bool> typed;

    // Reads the next row from the engine; finishes the statement at its end.
    bool next(QVector<QVariant> &row) override
    {
        if (!query.isActive())
            return false;
        if (!query.next()) {
            const QSqlError error = query.lastError();
            query.finish();
            if (error.isValid())
                throw DbError(engineText(error));
            return false;
        }
        const int columns = kinds.size();
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << fromStored(query.value(i), kinds.at(i), typed.at(i));
        return true;
    }
};


// A RowReader's rows from SQLite: the engine's statement, stepped.
struct FileRows : RowReader::Rows
{
    sqlite3_stmt *stmt = nullptr;
    explicit FileRows(sqlite3_stmt *statement) : stmt(statement) {}
    ~FileRows() override { sqlite3_finalize(stmt); }

    bool next() override
    {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE) {
            sqlite3_reset(stmt);  // its read lock goes at once
            return false;
        }
        const QString error = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt)));
        sqlite3_reset(stmt);
        throw DbError(error);
    }
    RowReader::Type type(int column) const override
    {
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return RowReader::Type::Integer;
        case SQLITE_FLOAT:
            return RowReader::Type::Real;
        case SQLITE_TEXT:
            return RowReader::Type::Text;
        case SQLITE_BLOB:
            return RowReader::Type::Blob;
        default:
            return RowReader::Type::Null;
        }
    }
    qint64 integer(int column) const override { return sqlite3_column_int64(stmt, column); }
    double real(int column) const override { return sqlite3_column_double(stmt, column); }
    QByteArrayView text(int column) const override
    {
        const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        return QByteArrayView(data, sqlite3_column_bytes(stmt, column));
    }
};

sqlite3 *engineHandle(const QSqlDatabase &c)
{
    const QVariant handle = c.driver() ? c.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database connection is not open."));
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// The write-ahead log lets a desk read while another saves, and a save go
// on while another desk reads; it needs shared memory beside the file, which
// a network file system does not give and a folder that cannot be written
// cannot hold. There the rollback journal is kept.
bool writeAheadLogWorks(const QString &path)
{
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isWritable() || !info.isWritable())
        return false;
    struct statfs fs;
    if (statfs(QFile::encodeName(info.absolutePath()).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x65735546UL:  // FUSE (sshfs and the like)
    case 0x01021997UL:  // 9P
        return false;
    default:
        return true;
    }
}

// The function the guard refuses a write with: its argument is the message.
void refuseFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    sqlite3_result_error(context, text ? text : "This write is refused.", -1);
}

// innkeld_groups(text, signs, characters, size): the text without the
// signs (ASCII) in groups: its first `characters` characters, `size` at a
// time, joined by blanks, every group there even when empty. The same as
// substr() of the text's replace()d signs, group by group, joined by ' ';
// as fast as a word's own function, for filling an index of many rows.
void groupsFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const auto *signs = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
    const int characters = sqlite3_value_int(argv[2]);
    const int size = sqlite3_value_int(argv[3]);
    if (size <= 0 || characters < 0) {
        sqlite3_result_error(context, "innkeld_groups: no group size", -1);
        return;
    }
    const int groups = (characters + size - 1) / size;
    std::string out;
    int taken = 0;
    for (const char *c = text ? text : ""; *c; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x80 && signs && std::strchr(signs, *c))
            continue;
        // A character's first byte begins a new one (a group's first puts
        // the blank before it); its further bytes follow it.
        if ((byte & 0xC0) != 0x80) {
            if (taken == characters)
                break;
            if (taken > 0 && taken % size == 0)
                out += ' ';
            ++taken;
        }
        out += *c;
    }
    for (int group = std::max(1, (taken + size - 1) / size); group < groups; ++group)
        out += ' ';
    sqlite3_result_text(context, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

// innkeld_day(text): the Julian day number of a date stored as the program
// stores it ("yyyy-MM-dd", or with " HH:mm:ss"), as
// CAST(julianday(date(text)) + 0.5 AS INTEGER) gives it; null for any other
// value, which that expression is left to read. For filling an index of many
// rows: the engine's date functions parse the text anew for each call.
void dayFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT)
        return;  // null
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int length = sqlite3_value_bytes(argv[0]);
    if (length != 10 && length != 19)
        return;
    // Digits where the form has them, its signs between.
    const char *form = "dddd-dd-dd dd:dd:dd";
    for (int i = 0; i < length; ++i)
        if (form[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != form[i])
            return;
    const auto number = [text](int at, int digits) {
        int n = 0;
        for (int i = at; i < at + digits; ++i)
            n = n * 10 + (text[i] - '0');
        return n;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    // A day the month does not have, or a time past the day's end, the
    // engine carries into the next: that is its expression's to read.
    if (year < 1 || !QDate::isValid(year, month, day))
        return;
    if (length == 19 && (number(11, 2) > 23 || number(14, 2) > 59 || number(17, 2) > 59))
        return;
    sqlite3_result_int64(context, QDate(year, month, day).toJulianDay());
}

}  // namespace

void RegisterEngineFunctions(void *sqliteHandle)
{
    auto *handle = static_cast<sqlite3 *>(sqliteHandle);
    sqlite3_create_function_v2(handle, "innkeld_refuse", 1, SQLITE_UTF8, nullptr, refuseFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(handle, "innkeld_groups", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, groupsFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "innkeld_day", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, dayFunction,
                               nullptr, nullptr, nullptr);
}

// ------------------------------------------------------------------ aside

struct AsideBuild::State
{
    // An in-memory database of this program shared by the thread's
    // connection and the upgrade's (`kept` holds it while it is wanted):
    // nothing written to the disk, nothing left behind by a kill.
    QString file;
    sqlite3 *kept = nullptr;
    QString house;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    QString failure;

    void run(const QStringList &statements, const QString &check)
    {
        sqlite3 *handle = nullptr;
        QString error;
        const auto fail = [&]() { error = QString::fromUtf8(handle ? sqlite3_errmsg(handle) : "out of memory"); };
        if (sqlite3_open_v2(file.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr)
            != SQLITE_OK) {
            fail();
        } else {
            RegisterEngineFunctions(handle);
            // (The upgrade may be writing out what it holds in memory.)
            sqlite3_busy_timeout(handle, 5000);
            sqlite3_progress_handler(
                handle, 10000, [](void *self) { return static_cast<State *>(self)->stop.load() ? 1 : 0; }, this);
            // Nothing in it to keep safe until it is carried over.
            QStringList all{QStringLiteral("PRAGMA journal_mode = OFF"), QStringLiteral("PRAGMA synchronous = OFF"),
                            QStringLiteral("PRAGMA cache_size = -65536"),
                            QStringLiteral("ATTACH '%1' AS house").arg(QString(house).replace(QLatin1Char('\''), QLatin1String("''")))};
            all += statements;
            for (const QString &sql : all)
                if (sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                    fail();
                    break;
                }
            // What was built holds together, or is built again in place.
            sqlite3_stmt *stmt = nullptr;
            if (error.isEmpty() && !check.isEmpty()) {
                if (sqlite3_prepare_v2(handle, check.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK
                    || sqlite3_step(stmt) != SQLITE_ROW)
                    fail();
                else if (qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok") != 0)
                    error = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
            }
            sqlite3_finalize(stmt);
        }
        sqlite3_close(handle);
        std::lock_guard<std::mutex> lock(mutex);
        failure = error;
        done = true;
        doneChanged.notify_all();
    }
};

namespace {

// The journal mode a pragma leaves the file in ("wal", "delete", ...).
QByteArray journalMode(sqlite3 *handle, const char *pragma)
{
    sqlite3_stmt *stmt = nullptr;
    QByteArray mode;
    if (sqlite3_prepare_v2(handle, pragma, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        mode = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return mode;
}

}  // namespace

BulkWrite::BulkWrite(Database &db) : m_db(db)
{
    if (db.engineKind() != Engine::SQLite)
        return;
    sqlite3 *handle = engineHandle(db.connection());
    // (The engine leaves the log only when no other connection has the file.)
    if (sqlite3_get_autocommit(handle) && journalMode(handle, "PRAGMA main.journal_mode") == "wal")
        m_logAfter = journalMode(handle, "PRAGMA main.journal_mode = DELETE") == "delete";
}

BulkWrite::~BulkWrite()
{
    if (!m_logAfter)
        return;
    try {
        // Else the next open of the program writes with the log again.
        journalMode(engineHandle(m_db.connection()), "PRAGMA main.journal_mode = WAL");
    } catch (const DbError &) {
    }
}

std::unique_ptr<AsideBuild> AsideBuild::make(Database &db)
{
    if (db.engineKind() != Engine::SQLite)
        return nullptr;
    auto state = std::make_unique<State>();
    static QAtomicInt made;
    state->file = QStringLiteral("file:innkeld-aside-%1?mode=memory&cache=shared").arg(made.fetchAndAddRelaxed(1));
    if (sqlite3_open_v2(state->file.toUtf8().constData(), &state->kept,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr)
        != SQLITE_OK) {
        sqlite3_close(state->kept);
        return nullptr;
    }
    state->house = QUrl::fromLocalFile(db.path()).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    return std::unique_ptr<AsideBuild>(new AsideBuild(db, std::move(state)));
}

AsideBuild::AsideBuild(Database &db, std::unique_ptr<State> state) : m_db(db), m_state(std::move(state)) {}

AsideBuild::~AsideBuild()
{
    m_state->stop = true;
    if (m_state->thread.joinable())
        m_state->thread.join();
    sqlite3_close(m_state->kept);
}

void AsideBuild::carryOver(const QStringList &tables)
{
    sqlite3 *target = engineHandle(m_db.connection());
    sqlite3 *source = m_state->kept;
    sqlite3_stmt *read = nullptr;
    sqlite3_stmt *write = nullptr;
    const auto fail = [&](sqlite3 *handle) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(read);
        sqlite3_finalize(write);
        throw DbError(text);
    };
    for (const QString &table : tables) {
        const QByteArray name = table.toUtf8();
        if (sqlite3_exec(target, "DELETE FROM main.\"" + name + "\"", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(target);
        if (sqlite3_prepare_v2(source, "SELECT * FROM \"" + name + "\"", -1, &read, nullptr) != SQLITE_OK)
            fail(source);
        const int columns = sqlite3_column_count(read);
        QByteArray insert = "INSERT INTO main.\"" + name + "\" VALUES (?";
        for (int c = 1; c < columns; ++c)
            insert += ", ?";
        if (sqlite3_prepare_v2(target, insert + ")", -1, &write, nullptr) != SQLITE_OK)
            fail(target);
        int rc;
        while ((rc = sqlite3_step(read)) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                sqlite3_bind_value(write, c + 1, sqlite3_column_value(read, c));
            if (sqlite3_step(write) != SQLITE_DONE)
                fail(target);
            sqlite3_reset(write);
        }
        if (rc != SQLITE_DONE)
            fail(source);
        sqlite3_finalize(read);
        sqlite3_finalize(write);
        read = write = nullptr;
    }
}

void AsideBuild::start(const QStringList &statements, const QString &check)
{
    m_state->thread = std::thread([state = m_state.get(), statements, check] { state->run(statements, check); });
}

bool AsideBuild::wait(const std::function<bool()> &stop, QString *failure)
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    while (!m_state->done) {
        m_state->doneChanged.wait_for(lock, std::chrono::milliseconds(50));
        if (!m_state->done && stop && stop()) {
            m_state->stop = true;
            m_state->doneChanged.wait(lock, [this] { return m_state->done; });
            *failure = QStringLiteral("interrupted");
            return false;
        }
    }
    *failure = m_state->failure;
    return failure->isEmpty();
}

// The engine's side of a Database.
class FileEngine final : public Database::Connection
{
    std::function<bool()> m_stop;

public:
    // The stop check is asked every few thousand of the engine's steps.
    void setStopCheck(Database &db, std::function<bool()> stop) override
    {
        m_stop = std::move(stop);
        sqlite3 *handle = engineHandle(db.connection());
        if (!m_stop)
            sqlite3_progress_handler(handle, 0, nullptr, nullptr);
        else
            sqlite3_progress_handler(
                handle, 10000, [](void *self) { return static_cast<FileEngine *>(self)->m_stop() ? 1 : 0; }, this);
    }

    static std::unique_ptr<Database> open(const QString &path)
    {
        const QFileInfo info(path);
        if (!info.exists())
            throw DbError(QStringLiteral("Could not find file '%1'.").arg(info.absoluteFilePath()));
        std::unique_ptr<Database> db(new Database(Engine::SQLite, std::make_unique<FileEngine>()));
        db->m_path = info.absoluteFilePath();
        db->m_connectionName = newConnectionName();
        {
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connectionName);
            // mode=rw: SQLite would otherwise make a new empty file.
            c.setDatabaseName(QUrl::fromLocalFile(db->m_path).toString(QUrl::FullyEncoded)
                              + QStringLiteral("?mode=rw"));
            c.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
            if (!c.open())
                throw DbError(engineText(c.lastError()));
            RegisterEngineFunctions(engineHandle(c));
            QSqlQuery q(c);
            // A statement that has returned is on the disk.
            runOrThrow(q, QStringLiteral("PRAGMA synchronous = FULL"));
            // Room in memory for what a search or a week reads in a house of
            // many years (the engine's default is 2 MB).
            runOrThrow(q, QStringLiteral("PRAGMA cache_size = -32768"));
            // What is deleted or masked (a guest's registration, a card
            // number) is overwritten in the file, not left in a free page.
            runOrThrow(q, QStringLiteral("PRAGMA secure_delete = ON"));
            // The journal mode is the file's own; it is changed only when no
            // other desk has the file open (a busy file keeps what it has).
            q.exec(writeAheadLogWorks(db->m_path) ? QStringLiteral("PRAGMA journal_mode = WAL")
                                                  : QStringLiteral("PRAGMA journal_mode = DELETE"));
            q.finish();
        }
        return db;
    }

    static std::unique_ptr<Database> makeNew(const QString &path)
    {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            throw DbError(QStringLiteral("The file '%1' already exists.").arg(info.absoluteFilePath()));
        // The guests' data is the owner's alone from the file's first byte; the
        // engine's log files beside it take the file's permissions.
        {
            QFile file(info.absoluteFilePath());
            if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                throw DbError(QStringLiteral("The file '%1' cannot be made: %2")
                                  .arg(info.absoluteFilePath(), file.errorString()));
            if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
                const QString reason = file.errorString();
                file.remove();
                throw DbError(QStringLiteral("The file '%1' cannot be made private: %2").arg(info.absoluteFilePath(), reason));
            }
        }
        std::unique_ptr<Database> db(new Database(Engine::SQLite, std::make_unique<FileEngine>()));
        db->m_path = info.absoluteFilePath();
        db->m_connectionName = newConnectionName();
        QString failure;
        {
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connectionName);
            c.setDatabaseName(QUrl::fromLocalFile(db->m_path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
            c.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
            if (!c.open()) {
                failure = engineText(c.lastError());
            } else {
                QSqlQuery q(c);
                if (!q.exec(QStringLiteral("PRAGMA synchronous = FULL")))
                    failure = engineText(q.lastError());
            }
        }
        if (!failure.isEmpty()) {
            discardNew(std::move(db));
            throw DbError(failure);
        }
        return db;
    }

    static void discardNew(std::unique_ptr<Database> db)
    {
        const QString path = db->m_path;
        db.reset();
        QFile::remove(path);
    }

    void run(Database &db, const QString &engineSql) override
    {
        QSqlQuery q(db.connection());
        runOrThrow(q, engineSql);
    }

    Recordset execute(Database &db, const QString &, const QString &translated) override
    {
        auto cursor = std::make_unique<FileCursor>();
        QSqlQuery &q = cursor->query;
        q = QSqlQuery(db.connection());
        q.setForwardOnly(true);
        if (!q.exec(translated))
            throw DbError(engineText(q.lastError()));
        if (!q.isSelect())
            return Recordset();
        const QSqlRecord rec = q.record();
        // The declared type of each result column tells a date from a text.
        sqlite3_stmt *stmt = nullptr;
        const QVariant handle = q.result() ? q.result()->handle() : QVariant();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3_stmt*") == 0)
            stmt = *static_cast<sqlite3_stmt *const *>(handle.constData());
        QStringList names;
        for (int i = 0; i < rec.count(); ++i) {
            names << rec.fieldName(i);
            const char *decl = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
            cursor->kinds << (decl ? KindFromDeclaredType(QString::fromUtf8(decl)) : ColumnKind::Text);
            cursor->typed << (decl != nullptr);
        }
        return Recordset(db, translated, names, std::move(cursor));
    }

    RowReader read(Database &db, const QString &translated) override
    {
        sqlite3 *handle = engineHandle(db.connection());
        sqlite3_stmt *stmt = nullptr;
        const QByteArray utf8 = translated.toUtf8();
        if (sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
            const QString error = QString::fromUtf8(sqlite3_errmsg(handle));
            sqlite3_finalize(stmt);
            throw DbError(error);
        }
        RowReader reader(std::make_unique<FileRows>(stmt));
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const char *decl = sqlite3_column_decltype(stmt, i);
            reader.m_kinds << (decl ? KindFromDeclaredType(QString::fromUtf8(decl)) : ColumnKind::Text);
            reader.m_names << QString::fromUtf8(sqlite3_column_name(stmt, i));
        }
        return reader;
    }

    qint64 count(Database &db, const QString &engineSql) override
    {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        runOrThrow(q, QStringLiteral("SELECT count(*) FROM (") + engineSql + QLatin1Char(')'));
        return q.next() ? q.value(0).toLongLong() : 0;
    }

    QHash<QString, QVariant> insert(Database &db, const QString &table, const QStringList &columns,
                                                const QVector<QVariant> &values)
    {
        QString sql;
        const QString quoted = QLatin1Char('"') + table + QLatin1Char('"');
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted);
        } else {
            QStringList cols, marks;
            for (const QString &n : columns) {
                cols << QLatin1Char('"') + n + QLatin1Char('"');
                marks << QStringLiteral("?");
            }
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted, cols.join(QLatin1String(", ")),
                                                                       marks.join(QLatin1String(", ")));
        }
        QSqlQuery q(db.connection());
        if (!q.prepare(sql))
            throw DbError(engineText(q.lastError()));
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            throw DbError(engineText(q.lastError()));
        const qlonglong key = q.lastInsertId().toLongLong();
        // Read the stored row back, so that the key and the defaults are seen.
        const Recordset rs = db.execute(QStringLiteral("SELECT * FROM %1 WHERE rowid = %2").arg(quoted).arg(key));
        QHash<QString, QVariant> row;
        if (!rs.eof())
            for (int i = 0; i < rs.fieldCount(); ++i)
                row.insert(rs.fieldName(i).toLower(), rs.value(i));
        return row;
    }

    void begin(Database &db, const QString &) override
    {
        QSqlQuery begin(db.connection());
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw DbError(engineText(begin.lastError()));
    }

    void commit(Database &db) override
    {
        QSqlDatabase c = db.connection();
        if (!c.commit()) {
            const QString text = engineText(c.lastError());
            c.rollback();
            throw DbError(text);
        }
    }

    void rollback(Database &db) override
    {
        db.connection().rollback();
    }

    void loadSchema(Database &db, const TableNames &names) override
    {
        QSqlQuery q(db.connection());
        QString hidden;
        for (const QString &prefix : names.hidden)
            hidden += QStringLiteral(" AND name NOT LIKE '%1%'").arg(prefix);
        runOrThrow(q, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")
                          + hidden);
        QStringList tables;
        while (q.next())
            tables << q.value(0).toString();
        for (const QString &table : tables) {
            QSqlQuery info(db.connection());
            QString name = table;
            name.replace(QLatin1String("\""), QLatin1String("\"\""));
            runOrThrow(info, QStringLiteral("PRAGMA table_info(\"%1\")").arg(name));
            while (info.next())
                db.m_schema.addColumn(table, info.value(1).toString(), KindFromDeclaredType(info.value(2).toString()));
        }
    }

    void *handle(const Database &db) const
    {
        return engineHandle(db.connection());
    }
};

namespace {

// Before the engine's first use in the program: it keeps no count of the
// memory it takes, which every allocation of every connection would
// otherwise wait on one lock for (two threads' upgrade work took a quarter
// longer). Too late once the engine has begun; it then keeps counting.
void configureEngine()
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    Q_UNUSED(configured);
}

}  // namespace

std::unique_ptr<Database> OpenDatabaseFile(const QString &path)
{
    configureEngine();
    return FileEngine::open(path);
}

std::unique_ptr<Database> MakeDatabaseFile(const QString &path)
{
    configureEngine();
    return FileEngine::makeNew(path);
}

void DiscardDatabaseFile(std::unique_ptr<Database> db)
{
    FileEngine::discardNew(std::move(db));
}

}  // namespace innkeld
