#include "database.h"

#include "data/schema/channeltables.h"
#include "data/schema/findindex.h"
#include "data/schema/houserules.h"
#include "data/schema/houseterms.h"
#include "data/schema/bookingdrafts.h"
#include "data/regional/regional.h"
#include "serverdb.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUrl>

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <cmath>
#include <functional>

namespace innkeld {

namespace {

QAtomicInt connectionCounter;

QString newConnectionName()
{
    return QStringLiteral("innkeld-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
}

QString dateCheck(const char *column)
{
    return QStringLiteral("CHECK (%1 IS NULL OR (typeof(%1) = 'text' AND datetime(%1) = %1))")
        .arg(QLatin1String(column));
}

QString numberCheck(const char *column)
{
    return QStringLiteral("CHECK (typeof(%1) IN ('integer', 'real'))").arg(QLatin1String(column));
}

QString integerCheck(const char *column)
{
    return QStringLiteral("CHECK (typeof(%1) = 'integer')").arg(QLatin1String(column));
}

// The indexes that keep every action's time independent of the years of
// history: links by booking and by room, stays by arrival, departure,
// customer and length (the longest stay bounds the search for clashes), and
// the stays stored ending before they start.
QStringList indexStatements()
{
    return {
        QStringLiteral("CREATE INDEX IF NOT EXISTS bookingroom_bookingid ON bookingroom (bookingid)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS bookingroom_roomid ON bookingroom (roomid)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_fromdate ON booking (FromDate)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_todate ON booking (ToDate)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_customerid ON booking (CustomerID)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_length ON booking (julianday(ToDate) - julianday(FromDate))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS booking_inverted ON booking (FromDate) WHERE FromDate > ToDate"),
    };
}

QString dayNumber(const QString &date)
{
    return DayNumberSql(Engine::SQLite, date);
}

QString clashExists(const QString &booking, const QString &room, const QString &from, const QString &to)
{
    return ClashExistsSql(Engine::SQLite, booking, room, from, to);
}

QString stayRow(const QString &row)
{
    return QStringLiteral("SELECT %1.ID, min(%2, %3), max(%2, %3) WHERE %1.FromDate IS NOT NULL AND %1.ToDate IS NOT NULL")
        .arg(row, dayNumber(row + QStringLiteral(".FromDate")), dayNumber(row + QStringLiteral(".ToDate")));
}

const QString kStayTable = QStringLiteral("CREATE VIRTUAL TABLE %1booking_stay USING rtree_i32(id, firstday, lastday)");

// The stays index, kept in step with every write of a booking's dates, and
// the guard: no write, by any road, leaves a room held by two bookings whose
// stays clash, or a link to a room or booking that is not there. Deleting a
// booking or a room takes its links with it.
QStringList guardStatements()
{
    const QString refuseClash =
        QStringLiteral("SELECT innkeld_refuse('The room ' || r.name || ' is booked by another guest on these dates.') ");
    const QString linkChecks = QStringLiteral(
        "SELECT innkeld_refuse('There is no room ' || NEW.roomid || ' in the house.') "
        "WHERE NOT EXISTS (SELECT 1 FROM room WHERE id = NEW.roomid); "
        "SELECT innkeld_refuse('There is no booking ' || NEW.bookingid || '.') "
        "WHERE NOT EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid); ")
        + refuseClash
        + QStringLiteral("FROM booking AS b, room AS r WHERE b.ID = NEW.bookingid AND r.id = NEW.roomid AND ")
        + clashExists(QStringLiteral("b.ID"), QStringLiteral("NEW.roomid"), QStringLiteral("b.FromDate"),
                      QStringLiteral("b.ToDate"))
        + QStringLiteral("; ");
    return {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_stay_insert AFTER INSERT ON booking BEGIN "
                       "INSERT INTO booking_stay ")
            + stayRow(QStringLiteral("NEW")) + QStringLiteral("; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_stay_update AFTER UPDATE OF ID, FromDate, ToDate ON booking "
                       "BEGIN DELETE FROM booking_stay WHERE id = OLD.ID; INSERT INTO booking_stay ")
            + stayRow(QStringLiteral("NEW")) + QStringLiteral("; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_stay_delete AFTER DELETE ON booking BEGIN "
                       "DELETE FROM booking_stay WHERE id = OLD.ID; DELETE FROM bookingroom WHERE bookingid = OLD.ID; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS room_links_delete AFTER DELETE ON room BEGIN "
                       "DELETE FROM bookingroom WHERE roomid = OLD.id; END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS bookingroom_guard_insert BEFORE INSERT ON bookingroom BEGIN ")
            + linkChecks + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS bookingroom_guard_update BEFORE UPDATE OF bookingid, roomid "
                       "ON bookingroom BEGIN ")
            + linkChecks + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS booking_guard_dates BEFORE UPDATE OF FromDate, ToDate ON booking "
                       "BEGIN ")
            + refuseClash + QStringLiteral("FROM bookingroom AS l, room AS r WHERE l.bookingid = NEW.ID AND r.id = l.roomid AND ")
            + clashExists(QStringLiteral("NEW.ID"), QStringLiteral("l.roomid"), QStringLiteral("NEW.FromDate"),
                          QStringLiteral("NEW.ToDate"))
            + QStringLiteral("; END"),
    };
}

// The function the guard refuses a write with: its argument is the message.
void refuseFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    sqlite3_result_error(context, text ? text : "This write is refused.", -1);
}

QStringList schemaStatements()
{
    // Money is kept as a number with four decimals, counts as numbers, dates
    // as "yyyy-MM-dd HH:mm:ss" text, so that they compare as dates do.
    const QString money = QStringLiteral(" CURRENCY NOT NULL DEFAULT 0 ");
    const QString count = QStringLiteral(" DOUBLE NOT NULL DEFAULT 0 ");
    const QString text = QStringLiteral(" TEXT DEFAULT '', ");
    const QStringList tables{
        QStringLiteral("CREATE TABLE booking ("
                       "ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "CustomerID INTEGER NOT NULL DEFAULT 0 %1, "
                       "FromDate DATETIME %2, "
                       "ToDate DATETIME %3, ")
                .arg(integerCheck("CustomerID"), dateCheck("FromDate"), dateCheck("ToDate"))
            + QStringLiteral("BookedBy") + text + QStringLiteral("Notes TEXT, ")
            + QStringLiteral("NoAdults") + count + numberCheck("NoAdults") + QStringLiteral(", ")
            + QStringLiteral("NoKids") + count + numberCheck("NoKids") + QStringLiteral(", ")
            + QStringLiteral("CostPerNight") + money + numberCheck("CostPerNight") + QStringLiteral(", ")
            + QStringLiteral("PaymentMethod") + text
            + QStringLiteral("OtherCharges") + money + numberCheck("OtherCharges") + QStringLiteral(", ")
            + QStringLiteral("SalesTax") + money + numberCheck("SalesTax") + QStringLiteral(", ")
            + QStringLiteral("TotalPayable") + money + numberCheck("TotalPayable") + QStringLiteral(", ")
            + QStringLiteral("AmountPayed") + money + numberCheck("AmountPayed") + QStringLiteral(", ")
            + QStringLiteral("CreditCardNo") + text + QStringLiteral("CreditCardExpiry") + text
            + QStringLiteral("CreditCardType TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE customer (ID INTEGER PRIMARY KEY AUTOINCREMENT, ")
            + QStringLiteral("FirstName") + text + QStringLiteral("LastName") + text
            + QStringLiteral("Address1") + text + QStringLiteral("Address2") + text
            + QStringLiteral("City") + text + QStringLiteral("State") + text
            + QStringLiteral("PostCode") + text + QStringLiteral("Country") + text
            + QStringLiteral("Phone") + text + QStringLiteral("Email") + text
            + QStringLiteral("SubmittedDate DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')) ")
            + dateCheck("SubmittedDate") + QStringLiteral(", BusinessName TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE room (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE bookingroom (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "bookingid INTEGER NOT NULL DEFAULT 0 %1, roomid INTEGER NOT NULL DEFAULT 0 %2)")
            .arg(integerCheck("bookingid"), integerCheck("roomid")),
    };
    return tables + indexStatements() + HouseRulesStatements() + QStringList{kStayTable.arg(QString())}
        + guardStatements() + FindIndexStatements(Engine::SQLite) + ChannelTableStatements(Engine::SQLite);
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

}  // namespace

// ---------------------------------------------------------------- Recordset

void Recordset::Cursor::fetch()
{
    hasAhead = false;
    ahead.clear();
    hasAhead = next(ahead);
}

namespace {

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

}  // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset &&) noexcept = default;
Recordset &Recordset::operator=(Recordset &&) noexcept = default;

void Recordset::readRow()
{
    m_hasRow = false;
    m_row.clear();
    if (!m_cursor || !m_cursor->hasAhead)
        return;
    m_row.swap(m_cursor->ahead);
    m_hasRow = true;
    m_cursor->fetch();
}

void Recordset::moveNext()
{
    if (m_hasRow)
        readRow();
}

int Recordset::rowCount() const
{
    if (m_sql.isEmpty() || !m_db)
        return 0;
    if (m_db->onServer())
        return int(ServerConnection::count(*m_db, m_sql));
    QSqlQuery q(m_db->connection());
    q.setForwardOnly(true);
    runOrThrow(q, QStringLiteral("SELECT count(*) FROM (") + m_sql + QLatin1Char(')'));
    return q.next() ? q.value(0).toInt() : 0;
}

QVariant Recordset::value(int index) const
{
    if (eof())
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    if (index < 0 || index >= m_names.size())
        throw DbError(QStringLiteral("Item cannot be found in the collection: there is no field %1.").arg(index));
    return m_row.at(index);
}

QVariant Recordset::value(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return value(i);
    // "table.column" also finds a field named "column"
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        return value(name.mid(dot + 1));
    throw DbError(QStringLiteral("Item cannot be found in the collection: there is no field %1.").arg(name));
}

QString Recordset::TextOf(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return RegionalDateTimeText(value.toDateTime());
    case QMetaType::QDate:
        return RegionalDateTimeText(WallClock(value.toDate()));
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    default:
        return value.toString();
    }
}

// ---------------------------------------------------------------- Database

Database::~Database()
{
    if (m_connectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

namespace {

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

}  // namespace

void RegisterEngineFunctions(void *sqliteHandle)
{
    sqlite3_create_function_v2(static_cast<sqlite3 *>(sqliteHandle), "innkeld_refuse", 1, SQLITE_UTF8, nullptr,
                               refuseFunction, nullptr, nullptr, nullptr);
}

namespace {

// Puts into the database the parts named `names` (tables and triggers) when
// one of them is missing, in one step (`make`, told whether the table
// `table` is there). A file that cannot be written now (read-only, or busy at
// another desk) without the table is read through `temporary`, made in this
// connection's own temporary schema.
void installParts(sqlite3 *db, const QStringList &names, const QString &table,
                  const std::function<QStringList(bool hasTable)> &make, const QStringList &temporary,
                  bool force = false)
{
    const auto run = [db](const QString &sql) {
        char *message = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
            sqlite3_free(message);
            throw DbError(text);
        }
    };
    const auto count = [db](const QString &sql) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
        const int n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
        sqlite3_finalize(stmt);
        return n;
    };
    // Every part there already (the usual case): nothing is written.
    QStringList quoted;
    for (const QString &name : names)
        quoted << QLatin1Char('\'') + name + QLatin1Char('\'');
    if (!force
        && count(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN (%1)").arg(quoted.join(QLatin1Char(','))))
            == names.size())
        return;
    const QString hasTable = QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = '%1'").arg(table);
    try {
        run(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            for (const QString &sql : make(count(hasTable) > 0))
                run(sql);
            run(QStringLiteral("COMMIT"));
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } catch (const DbError &) {
        if (count(hasTable) > 0)
            return;
        for (const QString &sql : temporary)
            run(sql);
    }
}

}  // namespace

void InstallGuard(void *sqliteHandle)
{
    QStringList names{QStringLiteral("booking_stay")};
    for (const QString &sql : guardStatements())
        names << sql.section(QLatin1Char(' '), 5, 5);
    const QString fill = QStringLiteral("INSERT INTO %1booking_stay SELECT ID, min(%2, %3), max(%2, %3) FROM booking "
                                        "WHERE FromDate IS NOT NULL AND ToDate IS NOT NULL")
                             .arg(QStringLiteral("%1"), dayNumber(QStringLiteral("FromDate")),
                                  dayNumber(QStringLiteral("ToDate")));
    // A database made before the guard gets it now; clashes stored before
    // stay as they are (the check lists them).
    installParts(
        static_cast<sqlite3 *>(sqliteHandle), names, QStringLiteral("booking_stay"),
        [&](bool hasTable) {
            QStringList statements;
            if (!hasTable)
                statements << kStayTable.arg(QString()) << fill.arg(QString());
            return statements + guardStatements();
        },
        {kStayTable.arg(QStringLiteral("temp.")), fill.arg(QStringLiteral("temp."))});
}

void InstallHouseRules(void *sqliteHandle)
{
    // A database made before the rules gets them, the rule off; a guard
    // that is not this version's (made before the rules, or by an earlier
    // rule) is made again, so that it reads them as the rooms step does.
    auto *db = static_cast<sqlite3 *>(sqliteHandle);
    static const QStringList guards{QStringLiteral("bookingroom_guard_insert"), QStringLiteral("bookingroom_guard_update"),
                                    QStringLiteral("booking_guard_dates")};
    QStringList current;
    for (const QString &sql : guardStatements())
        if (guards.contains(sql.section(QLatin1Char(' '), 5, 5)))
            current << sql;
    bool stale = false;
    for (const QString &sql : current) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE type = 'trigger' AND name = ?", -1, &stmt, nullptr);
        const QByteArray name = sql.section(QLatin1Char(' '), 5, 5).toUtf8();
        sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        // The engine keeps the statement without its IF NOT EXISTS.
        stale |= sqlite3_step(stmt) == SQLITE_ROW
            && QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)))
                != QString(sql).remove(QStringLiteral("IF NOT EXISTS "));
        sqlite3_finalize(stmt);
    }
    installParts(
        db, {QStringLiteral("houserules")}, QStringLiteral("houserules"),
        [&](bool hasTable) {
            QStringList statements = hasTable ? QStringList() : HouseRulesStatements();
            for (const QString &name : guards)
                statements << QStringLiteral("DROP TRIGGER IF EXISTS ") + name;
            return statements + current;
        },
        {QStringLiteral("CREATE TEMP TABLE houserules (id INTEGER PRIMARY KEY, DepartureDayFree INTEGER)"),
         QStringLiteral("INSERT INTO temp.houserules VALUES (1, 0)")},
        stale);
}

void InstallTermsAndDrafts(void *sqliteHandle)
{
    // A database made before these tables gets them, empty: the first desk
    // to open it fills the terms from its own settings. A file that cannot
    // be written now reads empty ones of its own.
    const auto install = [sqliteHandle](const QString &table, const QStringList &statements) {
        QStringList temporary;
        for (const QString &sql : statements)
            temporary << QString(sql).replace(QStringLiteral("CREATE TABLE "), QStringLiteral("CREATE TEMP TABLE "));
        installParts(
            static_cast<sqlite3 *>(sqliteHandle), {table}, table,
            [statements](bool hasTable) { return hasTable ? QStringList() : statements; }, temporary);
    };
    install(QStringLiteral("houseterms"), HouseTermsStatements());
    install(QStringLiteral("bookingdraft"), BookingDraftStatements());
}

void InstallChannelTables(void *sqliteHandle)
{
    // A database made before the channels gets their tables, empty. A file
    // that cannot be written now reads empty ones of its own.
    QStringList temporary;
    for (const QString &sql : ChannelTableStatements(Engine::SQLite))
        if (!sql.startsWith(QLatin1String("CREATE TRIGGER")))
            temporary << QString(sql).replace(QStringLiteral("CREATE TABLE "), QStringLiteral("CREATE TEMP TABLE "))
                             .replace(QStringLiteral("CREATE INDEX "), QStringLiteral("CREATE INDEX temp."))
                             .replace(QStringLiteral("INSERT INTO "), QStringLiteral("INSERT INTO temp."));
    installParts(
        static_cast<sqlite3 *>(sqliteHandle), ChannelTableParts(), QStringLiteral("channelsettings"),
        [](bool hasTable) {
            if (!hasTable)
                return ChannelTableStatements(Engine::SQLite);
            // Tables made before their links were guarded get the guards.
            QStringList guards;
            for (const QString &part : ChannelTableParts())
                if (part.startsWith(QLatin1String("channel_")))
                    guards << QStringLiteral("DROP TRIGGER IF EXISTS ") + part;
            for (const QString &sql : ChannelTableStatements(Engine::SQLite))
                if (sql.startsWith(QLatin1String("CREATE TRIGGER")))
                    guards << sql;
            return guards;
        },
        temporary);
}

void InstallFindIndex(void *sqliteHandle)
{
    // A database made before the index (or with a part of it gone) gets it
    // anew, filled from the bookings stored.
    installParts(
        static_cast<sqlite3 *>(sqliteHandle), FindIndexParts(), QStringLiteral("booking_find"),
        [](bool) {
            QStringList statements;
            for (const QString &part : FindIndexParts())
                statements << (part == QLatin1String("booking_find") ? QStringLiteral("DROP TABLE IF EXISTS ")
                                                                     : QStringLiteral("DROP TRIGGER IF EXISTS "))
                        + part;
            return statements + FindIndexStatements(Engine::SQLite, true);
        },
        TemporaryFindIndexStatements());
}

std::unique_ptr<Database> Database::open(const QString &path)
{
    if (IsServerAddress(path)) {
        std::unique_ptr<Database> db(new Database);
        ServerConnection::open(*db, path);
        return db;
    }
    const QFileInfo info(path);
    if (!info.exists())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(info.absoluteFilePath()));
    std::unique_ptr<Database> db(new Database);
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
        // The journal mode is the file's own; it is changed only when no
        // other desk has the file open (a busy file keeps what it has).
        q.exec(writeAheadLogWorks(db->m_path) ? QStringLiteral("PRAGMA journal_mode = WAL")
                                              : QStringLiteral("PRAGMA journal_mode = DELETE"));
        q.finish();
        // A database made before an index was added gets it now; that
        // changes no data. A file that cannot be written (read-only, or
        // locked by another desk just now) is used without it.
        for (const QString &sql : indexStatements())
            if (!q.exec(sql))
                break;
    }
    // A file that is not a booking database is refused before anything is
    // written to it; the tables are read again once those that a database
    // of an earlier version lacks are given.
    db->loadSchema();
    InstallGuard(db->engine());
    InstallHouseRules(db->engine());
    InstallTermsAndDrafts(db->engine());
    InstallChannelTables(db->engine());
    InstallFindIndex(db->engine());
    db->loadSchema();
    return db;
}

void *Database::engine() const
{
    if (onServer())
        throw DbError(QStringLiteral("This is done on a database file, not on a server's database."));
    return engineHandle(connection());
}

void Database::loadSchema()
{
    QSqlQuery q(connection());
    // The stays and search indexes and their engine tables are the guard's
    // and the search's, not the program's.
    runOrThrow(q, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                                 "AND name NOT LIKE 'booking_stay%' AND name NOT LIKE 'booking_find%'"));
    QStringList tables;
    while (q.next())
        tables << q.value(0).toString();
    for (const QString &table : tables) {
        QSqlQuery info(connection());
        QString name = table;
        name.replace(QLatin1String("\""), QLatin1String("\"\""));
        runOrThrow(info, QStringLiteral("PRAGMA table_info(\"%1\")").arg(name));
        while (info.next())
            m_schema.addColumn(table, info.value(1).toString(), KindFromDeclaredType(info.value(2).toString()));
    }
    RequireProgramTables(m_schema, m_path);
}

const QStringList &ProgramTables()
{
    static const QStringList tables{QStringLiteral("booking"), QStringLiteral("customer"), QStringLiteral("room"),
                                    QStringLiteral("bookingroom")};
    return tables;
}

void RequireProgramTables(const Schema &schema, const QString &databaseName)
{
    for (const QString &table : ProgramTables())
        if (!schema.hasTable(table))
            throw DbError(QStringLiteral("The database '%1' has no table '%2'.").arg(databaseName, table));
}

void Database::create(const QString &path)
{
    if (IsServerAddress(path)) {
        ServerConnection::create(path);
        return;
    }
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
    const QString name = newConnectionName();
    QString failure;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        c.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded)
                          + QStringLiteral("?mode=rw"));
        c.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        if (!c.open()) {
            failure = engineText(c.lastError());
        } else {
            QSqlQuery q(c);
            try {
                runOrThrow(q, QStringLiteral("PRAGMA synchronous = FULL"));
                runOrThrow(q, QStringLiteral("BEGIN"));
                for (const QString &sql : schemaStatements())
                    runOrThrow(q, sql);
                runOrThrow(q, QStringLiteral("COMMIT"));
            } catch (const DbError &e) {
                failure = e.message();
            }
            q.finish();
            c.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty()) {
        QFile::remove(info.absoluteFilePath());
        throw DbError(failure);
    }
}

QString Database::translate(const QString &sql)
{
    const QString translated = TranslateSql(sql, m_schema, m_engine);
    if (m_log)
        m_log->append(translated);
    return translated;
}

void Database::run(const QString &engineSql)
{
    if (m_log)
        m_log->append(engineSql);
    if (onServer()) {
        ServerConnection::run(*this, engineSql);
        return;
    }
    QSqlQuery q(connection());
    runOrThrow(q, engineSql);
}

Recordset Database::execute(const QString &sql)
{
    return executeTranslated(sql, translate(sql));
}

Recordset Database::query(const QString &engineSql)
{
    if (m_log)
        m_log->append(engineSql);
    return executeTranslated(engineSql, engineSql);
}

Recordset Database::executeTranslated(const QString &sql, const QString &translated)
{
    if (onServer())
        return ServerConnection::execute(*this, sql, translated);
    auto cursor = std::make_unique<FileCursor>();
    QSqlQuery &q = cursor->query;
    q = QSqlQuery(connection());
    q.setForwardOnly(true);
    if (!q.exec(translated))
        throw DbError(engineText(q.lastError()));
    Recordset rs;
    if (!q.isSelect())
        return rs;
    const QSqlRecord rec = q.record();
    // The declared type of each result column tells a date from a text.
    sqlite3_stmt *stmt = nullptr;
    const QVariant handle = q.result() ? q.result()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3_stmt*") == 0)
        stmt = *static_cast<sqlite3_stmt *const *>(handle.constData());
    for (int i = 0; i < rec.count(); ++i) {
        rs.m_names << rec.fieldName(i);
        const char *decl = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
        cursor->kinds << (decl ? KindFromDeclaredType(QString::fromUtf8(decl)) : ColumnKind::Text);
        cursor->typed << (decl != nullptr);
    }
    cursor->fetch();
    rs.m_cursor = std::move(cursor);
    rs.m_db = this;
    rs.m_sql = translated;
    rs.readRow();
    return rs;
}

RowReader Database::read(const QString &sql)
{
    const QString translated = translate(sql);
    if (onServer())
        return ServerConnection::read(*this, translated);
    const QVariant handle = connection().driver() ? connection().driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database connection is not open."));
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.constData());
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = translated.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
        throw DbError(error);
    }
    RowReader reader(stmt);
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        const char *decl = sqlite3_column_decltype(stmt, i);
        reader.m_kinds << (decl ? KindFromDeclaredType(QString::fromUtf8(decl)) : ColumnKind::Text);
        reader.m_names << QString::fromUtf8(sqlite3_column_name(stmt, i));
    }
    return reader;
}

RowReader::RowReader(RowReader &&other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr)),
      m_server(std::exchange(other.m_server, nullptr)),
      m_kinds(std::move(other.m_kinds)),
      m_names(std::move(other.m_names))
{
}

RowReader &RowReader::operator=(RowReader &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(static_cast<sqlite3_stmt *>(m_statement));
        DeleteServerRows(m_server);
        m_statement = std::exchange(other.m_statement, nullptr);
        m_server = std::exchange(other.m_server, nullptr);
        m_kinds = std::move(other.m_kinds);
        m_names = std::move(other.m_names);
    }
    return *this;
}

RowReader::~RowReader()
{
    sqlite3_finalize(static_cast<sqlite3_stmt *>(m_statement));
    DeleteServerRows(m_server);
}

bool RowReader::next()
{
    if (m_server)
        return RowReaderServerNext(*m_server);
    auto *stmt = static_cast<sqlite3_stmt *>(m_statement);
    if (!stmt)
        return false;
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

RowReader::Type RowReader::type(int column) const
{
    if (m_server)
        return RowReaderServerType(*m_server, column);
    switch (sqlite3_column_type(static_cast<sqlite3_stmt *>(m_statement), column)) {
    case SQLITE_INTEGER:
        return Type::Integer;
    case SQLITE_FLOAT:
        return Type::Real;
    case SQLITE_TEXT:
        return Type::Text;
    case SQLITE_BLOB:
        return Type::Blob;
    default:
        return Type::Null;
    }
}

qint64 RowReader::integer(int column) const
{
    if (m_server)
        return RowReaderServerInteger(*m_server, column);
    return sqlite3_column_int64(static_cast<sqlite3_stmt *>(m_statement), column);
}

double RowReader::real(int column) const
{
    if (m_server)
        return RowReaderServerReal(*m_server, column);
    return sqlite3_column_double(static_cast<sqlite3_stmt *>(m_statement), column);
}

QByteArrayView RowReader::text(int column) const
{
    if (m_server)
        return RowReaderServerText(*m_server, column);
    auto *stmt = static_cast<sqlite3_stmt *>(m_statement);
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(stmt, column));
}

TableCursor Database::openTable(const QString &name)
{
    if (!m_schema.hasTable(name))
        throw DbError(QStringLiteral("The database engine cannot find the input table or query '%1'.").arg(name));
    return TableCursor(this, m_schema.tableName(name));
}

QVariant Database::storedValue(const QString &column, ColumnKind kind, const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int type = value.metaType().id();
    switch (kind) {
    case ColumnKind::Text: {
        // Empty text stays empty text: a null QString would be bound as NULL.
        const QString text = Recordset::TextOf(value);
        return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
    }
    case ColumnKind::Date:
        if (type == QMetaType::QDateTime)
            return CanonicalDateText(value.toDateTime());
        if (type == QMetaType::QDate)
            return CanonicalDateText(WallClock(value.toDate()));
        break;
    case ColumnKind::Integer:
    case ColumnKind::Number:
    case ColumnKind::Money:
        if (type != QMetaType::QString) {
            bool ok = false;
            double v = value.toDouble(&ok);
            if (!ok || !std::isfinite(v))
                throw DbError(QStringLiteral("Data type mismatch: the value for %1 is not a number.").arg(column));
            if (kind == ColumnKind::Integer)
                return QVariant(qlonglong(std::llround(v)));
            if (kind == ColumnKind::Money)
                v = std::round(v * 10000.0) / 10000.0;
            return QVariant(v);
        }
        break;
    }
    // A text goes through the same conversion as a quoted value in a statement.
    const QString literal = ConvertTextForColumn(value.toString(), kind, column);
    if (kind == ColumnKind::Date)
        return literal.mid(1, literal.size() - 2);
    if (kind == ColumnKind::Integer)
        return QVariant(literal.toLongLong());
    return QVariant(literal.toDouble());
}

Database::Transaction::Transaction(Database &db) : m_db(db)
{
    if (db.m_inTransaction)
        return;
    // The write lock is taken at the start: a second desk waits for it here
    // (up to the busy timeout) instead of failing half way through.
    if (db.onServer()) {
        ServerConnection::begin(db);
    } else {
        QSqlQuery begin(db.connection());
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw DbError(engineText(begin.lastError()));
    }
    db.m_inTransaction = true;
    m_owner = true;
}

Database::Transaction::~Transaction()
{
    if (m_owner && !m_done) {
        if (m_db.onServer())
            ServerConnection::rollback(m_db);
        else
            m_db.connection().rollback();
        m_db.m_inTransaction = false;
    }
}

void Database::Transaction::commit()
{
    if (!m_owner || m_done)
        return;
    if (m_db.onServer()) {
        m_done = true;
        m_db.m_inTransaction = false;
        ServerConnection::commit(m_db);
        return;
    }
    QSqlDatabase c = m_db.connection();
    if (!c.commit()) {
        const QString text = engineText(c.lastError());
        c.rollback();
        m_done = true;
        m_db.m_inTransaction = false;
        throw DbError(text);
    }
    m_done = true;
    m_db.m_inTransaction = false;
}

// ---------------------------------------------------------------- TableCursor

void TableCursor::addNew()
{
    m_setNames.clear();
    m_setValues.clear();
    m_row.clear();
    m_adding = true;
}

void TableCursor::setField(const QString &name, const QVariant &value)
{
    ColumnKind kind;
    if (!m_db->m_schema.kindOf(m_table, name, &kind))
        throw DbError(QStringLiteral("Item cannot be found in the collection: table %1 has no field %2.")
                          .arg(m_table, name));
    if (!m_adding)
        throw DbError(QStringLiteral("Operation is not allowed: AddNew has not been called."));
    const QVariant stored = m_db->storedValue(
        name, kind, value.metaType().id() == QMetaType::QString ? QVariant(StoredText(value.toString(), true)) : value);
    for (int i = 0; i < m_setNames.size(); ++i) {
        if (m_setNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
            m_setValues[i] = stored;
            return;
        }
    }
    m_setNames << name;
    m_setValues << stored;
}

void TableCursor::update()
{
    if (!m_adding)
        throw DbError(QStringLiteral("Operation is not allowed: AddNew has not been called."));
    if (m_db->onServer()) {
        m_row = ServerConnection::insert(*m_db, m_table, m_setNames, m_setValues);
        m_adding = false;
        return;
    }
    QString sql;
    const QString table = QLatin1Char('"') + m_table + QLatin1Char('"');
    if (m_setNames.isEmpty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
    } else {
        QStringList cols, marks;
        for (const QString &n : m_setNames) {
            cols << QLatin1Char('"') + n + QLatin1Char('"');
            marks << QStringLiteral("?");
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, cols.join(QLatin1String(", ")),
                                                                   marks.join(QLatin1String(", ")));
    }
    QSqlQuery q(m_db->connection());
    if (!q.prepare(sql))
        throw DbError(engineText(q.lastError()));
    for (const QVariant &v : m_setValues)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(engineText(q.lastError()));
    const qlonglong key = q.lastInsertId().toLongLong();
    m_adding = false;
    // Read the stored row back, so that the key and the defaults are seen.
    const Recordset rs = m_db->execute(QStringLiteral("SELECT * FROM %1 WHERE rowid = %2").arg(table).arg(key));
    m_row.clear();
    if (!rs.eof())
        for (int i = 0; i < rs.fieldCount(); ++i)
            m_row.insert(rs.fieldName(i).toLower(), rs.value(i));
}

QVariant TableCursor::field(const QString &name) const
{
    const auto it = m_row.constFind(name.toLower());
    if (it == m_row.constEnd())
        throw DbError(QStringLiteral("Item cannot be found in the collection: there is no field %1.").arg(name));
    return *it;
}

// ---------------------------------------------------------------- date text

void SuspendLinkGuard(Database &db, bool suspend)
{
    if (db.onServer()) {
        db.run(QStringLiteral("ALTER TABLE bookingroom %1 TRIGGER bookingroom_guard")
                   .arg(suspend ? QStringLiteral("DISABLE") : QStringLiteral("ENABLE")));
        return;
    }
    if (suspend) {
        db.run(QStringLiteral("DROP TRIGGER IF EXISTS bookingroom_guard_insert"));
        return;
    }
    for (const QString &sql : guardStatements())
        if (sql.contains(QLatin1String(" bookingroom_guard_insert ")))
            db.run(sql);
}

void RequireOtherThanDatabase(const QString &databasePath, const QString &target)
{
    if (IsServerAddress(databasePath))
        return;  // no file of the program's is the server's
    const QFileInfo db(databasePath);
    const QFileInfo file(target);
    const auto canonical = [](const QFileInfo &info) {
        if (info.exists())
            return info.canonicalFilePath();
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
    };
    const QString database = canonical(db);
    const QString written = canonical(file);
    bool same = false;
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        same |= written == database + QLatin1String(suffix);
    // The same file under another name (a hard link).
    struct stat a, b;
    if (!same && file.exists() && ::stat(QFile::encodeName(databasePath).constData(), &a) == 0
        && ::stat(QFile::encodeName(target).constData(), &b) == 0)
        same = a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    if (same)
        throw DbError(QStringLiteral("%1 is the bookings' own database file; choose another file.")
                          .arg(QDir::toNativeSeparators(target)));
}

bool BookingExists(Database &db, RecordId bookingId)
{
    return !db.execute(QStringLiteral("SELECT id FROM booking WHERE id = ") + QString::number(bookingId)).eof();
}

QString StaysClashSql(const QString &from, const QString &to, const QString &otherFrom, const QString &otherTo,
                      Engine engine)
{
    const QString midnight = engine == Engine::PostgreSQL ? QStringLiteral("date_trunc('day', %1)")
                                                          : QStringLiteral("(date(%1) || ' 00:00:00')");
    const QString F = midnight.arg(from);
    const QString T = midnight.arg(to);
    return QStringLiteral("((%1 >= %3 AND %1 <= %4) OR (%2 >= %3 AND %2 <= %4) OR (%3 >= %1 AND %4 <= %2))")
        .arg(F, T, otherFrom, otherTo);
}

QString StaysShareNightSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay)
{
    // The touching stays are found through the index; whether they share a
    // night is read from the same row.
    const QString night = QStringLiteral("%1.firstday < %3 AND %1.lastday > %2").arg(alias, firstDay, lastDay);
    if (engine == Engine::PostgreSQL)
        return StaysTouchingSql(engine, alias, firstDay, lastDay) + QStringLiteral(" AND ") + night;
    return night;
}

QString StaysTouchingSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay)
{
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("%1.days && int4range(%2, %3, '[]')").arg(alias, firstDay, lastDay);
    return QStringLiteral("%1.firstday <= %3 AND %1.lastday >= %2").arg(alias, firstDay, lastDay);
}

QString DayNumberSql(Engine engine, const QString &date)
{
    // 2000-01-01 is Julian day 2451545.
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("((%1)::date - DATE '2000-01-01' + 2451545)").arg(date);
    return QStringLiteral("CAST(julianday(date(%1)) + 0.5 AS INTEGER)").arg(date);
}

// Whether another booking than `booking` holds `room` for a stay that clashes
// with the stay from `from` to `to` by the house's rule, read as the
// statement runs: with rooms free from the day the guest leaves, when the
// stays share a night (StaysShareNightSql); else by the rooms step's rule: the stay's first or
// last day (at midnight) lies within the other stay, both ends included, or
// the other stay lies wholly within them. The stays index finds the few
// stays that touch those days; the rule is then applied to them.
QString ClashExistsSql(Engine engine, const QString &booking, const QString &room, const QString &from,
                       const QString &to)
{
    const bool server = engine == Engine::PostgreSQL;
    const QString first = QStringLiteral("%1(%2, %3)").arg(server ? QStringLiteral("least") : QStringLiteral("min"),
                                                            DayNumberSql(engine, from), DayNumberSql(engine, to));
    const QString last = QStringLiteral("%1(%2, %3)").arg(server ? QStringLiteral("greatest") : QStringLiteral("max"),
                                                           DayNumberSql(engine, from), DayNumberSql(engine, to));
    const QString clash = QStringLiteral("CASE WHEN %1 THEN %2 ELSE %3 END")
                              .arg(DepartureDayFreeSql(), StaysShareNightSql(engine, QStringLiteral("s"), first, last),
                                   StaysClashSql(from, to, QStringLiteral("o.FromDate"), QStringLiteral("o.ToDate"), engine));
    // The server's planner, without statistics, would read every link to
    // join them to the stays, or a room's every link; the lateral query
    // makes it look up each stay's links and booking by their keys, the
    // room asked of what it finds.
    if (server)
        return QStringLiteral("EXISTS (SELECT 1 FROM booking_stay AS s CROSS JOIN LATERAL (SELECT x.roomid FROM "
                              "bookingroom AS x JOIN booking AS o ON o.ID = x.bookingid WHERE x.bookingid = s.id "
                              "AND x.bookingid <> %3 AND %4 OFFSET 0) AS c WHERE %1 AND c.roomid = %2)")
            .arg(StaysTouchingSql(engine, QStringLiteral("s"), first, last), room, booking, clash);
    return QStringLiteral("EXISTS (SELECT 1 FROM booking_stay AS s CROSS JOIN bookingroom AS x CROSS JOIN booking AS o "
                          "WHERE %1 AND x.bookingid = s.id AND x.roomid = %2 AND x.bookingid <> %3 AND o.ID = s.id "
                          "AND %4)")
        .arg(StaysTouchingSql(engine, QStringLiteral("s"), first, last), room, booking, clash);
}

QString BusyMessage()
{
    return QStringLiteral("Another desk is saving; try again.");
}

QDate DayOf(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QString:
        return ParseRegionalDateTime(value.toString()).date();
    default:
        return QDate();
    }
}

QString ToSQLDate(const QVariant &value)
{
    const QDate d = DayOf(value);
    // Always a four-digit year, which the reader never mistakes for a short one.
    if (!d.isValid() || d.year() < 1)
        return QString();
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString FormatSQLDate(const QDate &date)
{
    return QLocale().toString(date, QStringLiteral("dd-MMM-yyyy"));
}

QFileDevice::Permissions DataFilePermissions(const Database &db)
{
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (db.onServer())
        return owner;
    const QFileDevice::Permissions file = QFile::permissions(db.path());
    // The owner always reads and writes what the program wrote for him.
    return file == QFileDevice::Permissions() ? owner : (file | owner) & ~(QFileDevice::ExeOwner | QFileDevice::ExeUser
                                                                          | QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

QString StoredText(const QString &text, bool keepLineBreaks)
{
    QString t;
    t.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == 0xFEFF && t.isEmpty())
            continue;  // a byte order mark at the start (a paste from a file)
        if (u == u'\n' || u == u'\r') {
            if (keepLineBreaks)
                t += c;
            else if (!t.endsWith(QLatin1Char(' ')))
                t += QLatin1Char(' ');  // a line pasted into one line
            continue;
        }
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            continue;  // NUL, tab, escape and the other control characters
        t += c;
    }
    return t;
}

QString SqlText(const QString &text)
{
    QString t = StoredText(text, true);
    t.replace(QLatin1String("'"), QLatin1String("''"));
    return t;
}

}  // namespace innkeld
