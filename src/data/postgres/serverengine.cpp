#include "serverengine.h"

#include <QAtomicInt>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QTimeZone>
#include <QUrl>
#include <QUrlQuery>

#include <functional>

#include <libpq-fe.h>

namespace innkeld {

namespace {

QAtomicInt serverConnections;

// The types a value comes as (the server's type numbers).
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700,
};

// The libpq connection under the driver's; null when there is none.
PGconn *connectionOf(const QSqlDatabase &c)
{
    const QVariant handle = c.driver() ? c.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

PGconn *handleOf(const Database &db)
{
    PGconn *conn = connectionOf(db.connection());
    if (!conn)
        throw DbError(QStringLiteral("The database connection is not open."));
    return conn;
}

// libpq's words, each line without the indentation it gives the second.
QString plainLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines.join(QLatin1Char('\n'));
}

QString connectionText(PGconn *conn)
{
    return plainLines(QString::fromUtf8(PQerrorMessage(conn)));
}

// The server as the operator knows it: host and port.
QString serverPlace(PGconn *conn)
{
    const QString host = QString::fromUtf8(PQhost(conn));
    const QString port = QString::fromUtf8(PQport(conn));
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')))
        return QStringLiteral("on this computer (port %1)").arg(port);
    return QStringLiteral("at %1:%2").arg(host, port);
}

// The connection ended (the server restarted, or ended this desk's
// session, or the network failed): said in plain words, the driver's below.
QString connectionLostText(PGconn *conn, const QString &driverWords)
{
    return QStringLiteral("The database server %1 closed the connection (it may have been restarted, or the network "
                          "failed). Nothing was half-stored, and what you typed is still here: try again. If this "
                          "goes on, ask whoever looks after the server.\n\n%2")
        .arg(serverPlace(conn), driverWords);
}

QString unreachableText(PGconn *conn)
{
    return QStringLiteral("The database server %1 cannot be reached. Nothing was stored, and what you typed is still "
                          "here: check that the server is running and the network is up, then try again.\n\n%2")
        .arg(serverPlace(conn), connectionText(conn));
}

QString resultText(const PGresult *result, PGconn *conn)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    // Another desk holds the bookings for writing longer than a save waits.
    if (state && (qstrcmp(state, "55P03") == 0 || qstrcmp(state, "40P01") == 0 || qstrcmp(state, "40001") == 0))
        return BusyMessage();
    const char *primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    QString words = primary && *primary ? QString::fromUtf8(primary) : connectionText(conn);
    if (PQstatus(conn) == CONNECTION_BAD) {
        const QString more = connectionText(conn);
        if (!more.isEmpty() && !words.contains(more))
            words += QLatin1Char('\n') + more;
        return connectionLostText(conn, words);
    }
    return words.isEmpty() ? QStringLiteral("The database server did not answer.") : words;
}

// The session every desk works in: ISO dates, texts as written, the desk's
// own time zone for the server's "now", a wait of at most five seconds for
// another desk's write, each statement seeing what others committed; its
// statements are short, so neither parallel workers nor compiling them
// (which the planner, without statistics, would think worth it) pays.
void setUpSession(PGconn *conn)
{
    QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    zone.replace(QLatin1Char('\''), QString());
    const QString sql = QStringLiteral("SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, MDY'; "
                                       "SET standard_conforming_strings = on; SET client_min_messages = warning; "
                                       "SET lock_timeout = '5s'; SET max_parallel_workers_per_gather = 0; SET jit = off; "
                                       "SET default_transaction_isolation = 'read committed'")
        + (zone.isEmpty() ? QString() : QStringLiteral("; SET TimeZone = '%1'").arg(zone));
    PGresult *r = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString error = ok ? QString() : resultText(r, conn);
    PQclear(r);
    if (!ok && !zone.isEmpty() && error.contains(QLatin1String("time zone"))) {
        // A zone the server does not know: its own is used.
        return;
    }
    if (!ok)
        throw DbError(error);
}

// Before an action's first statement, a connection the server has ended
// meanwhile (a restart, or the session ended) is found without sending
// anything (what the server said last, or the socket's end, is read) and
// made again: the action then runs as if nothing had happened. One lost in
// the middle of an action is said by the statement that finds it; the next
// action connects again.
PGconn *liveHandle(Database &db, bool inTransaction)
{
    PGconn *conn = handleOf(db);
    if (inTransaction)
        return conn;
    if (PQstatus(conn) == CONNECTION_OK && PQtransactionStatus(conn) == PQTRANS_IDLE)
        PQconsumeInput(conn);  // marks the connection bad when the server has gone
    if (PQstatus(conn) != CONNECTION_OK) {
        PQreset(conn);
        if (PQstatus(conn) != CONNECTION_OK)
            throw DbError(unreachableText(conn));
        setUpSession(conn);
    }
    return conn;
}

// Owns one result.
struct Result
{
    PGresult *r = nullptr;
    explicit Result(PGresult *result = nullptr) : r(result) {}
    ~Result() { PQclear(r); }
    Result(const Result &) = delete;
    Result &operator=(const Result &) = delete;
};

PGresult *execOrThrow(PGconn *conn, const QString &sql)
{
    PGresult *r = PQexec(conn, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const QString text = resultText(r, conn);
        PQclear(r);
        throw DbError(text);
    }
    return r;
}

// Runs what cannot have changed anything if the server never saw it (a
// BEGIN, a query outside a transaction): when the connection turns out to
// have been ended before it (the server restarted, or ended the session,
// just now), it is made again and the statement run once more.
PGresult *execAgainIfLost(Database &db, PGconn *conn, const QString &sql)
{
    PGresult *r = PQexec(conn, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(r);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return r;
    if (PQstatus(conn) == CONNECTION_BAD && PQtransactionStatus(conn) != PQTRANS_INTRANS) {
        PQclear(r);
        return execOrThrow(liveHandle(db, false), sql);
    }
    const QString text = resultText(r, conn);
    PQclear(r);
    throw DbError(text);
}

bool isTimestamp(Oid type)
{
    return type == kTimestamp || type == kTimestampTz || type == kDate;
}

ColumnKind kindOfType(Oid type)
{
    switch (type) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
    case kBool:
        return ColumnKind::Integer;
    case kFloat4:
    case kFloat8:
        return ColumnKind::Number;
    case kNumeric:
        return ColumnKind::Money;
    case kTimestamp:
    case kTimestampTz:
    case kDate:
        return ColumnKind::Date;
    default:
        return ColumnKind::Text;
    }
}

// A value as the program reads it: whole numbers as qlonglong (true and false
// as 1 and 0, as SQLite gives them), fractions as double, dates as
// wall-clock values read from the server's text (never through the local
// time zone), everything else as text.
QVariant valueOf(const PGresult *r, int row, int column)
{
    if (PQgetisnull(r, row, column))
        return QVariant();
    const char *raw = PQgetvalue(r, row, column);
    const Oid type = PQftype(r, column);
    switch (type) {
    case kBool:
        return QVariant(qlonglong(raw[0] == 't' ? 1 : 0));
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return QVariant(QByteArray(raw).toLongLong());
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QVariant(QByteArray(raw).toDouble());
    default:
        break;
    }
    const QString text = QString::fromUtf8(raw, PQgetlength(r, row, column));
    if (isTimestamp(type)) {
        const QString wall = type == kDate ? text + QStringLiteral(" 00:00:00") : text.left(19);
        const QDateTime dt = StoredDateTime(wall);
        if (dt.isValid())
            return dt;
    }
    return text;
}

// The server keeps names in lower case: a result column is named as the
// statement's list of columns wrote it (as SQLite names it), else as the
// program's first tables spell it.
QString columnName(const QString &serverName, const QVector<SqlToken> &tokens, const Schema &schema,
                   const QStringList &firstTables)
{
    int depth = 0;
    for (const SqlToken &t : tokens) {
        if (t.kind == SqlToken::Symbol)
            depth += t.text == QLatin1String("(") ? 1 : t.text == QLatin1String(")") ? -1 : 0;
        if (t.kind != SqlToken::Word)
            continue;
        if (depth == 0 && t.text.compare(QLatin1String("FROM"), Qt::CaseInsensitive) == 0)
            break;
        if (t.text.compare(serverName, Qt::CaseInsensitive) == 0)
            return t.text;
    }
    for (const QString &table : firstTables)
        for (const QString &column : schema.columns(table))
            if (column.compare(serverName, Qt::CaseInsensitive) == 0)
                return column;
    return serverName;
}

// Connects a QPSQL connection to the address: postgresql://[user[:password]@]
// [host][:port][/dbname][?key=value...]; what it leaves out comes from
// PGHOST, PGPORT, PGUSER, PGPASSWORD, PGDATABASE and ~/.pgpass, as for every
// libpq program.
QSqlDatabase connectTo(const QString &name, const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        throw DbError(QStringLiteral("The server's address %1 cannot be read: %2")
                          .arg(AddressWithoutPassword(address), url.errorString()));
    QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    if (!c.isValid())
        throw DbError(QStringLiteral("The PostgreSQL driver of Qt is not installed (Debian: libqt6sql6-psql)."));
    if (!url.host().isEmpty())
        c.setHostName(url.host());
    if (url.port() > 0)
        c.setPort(url.port());
    if (!url.userName().isEmpty())
        c.setUserName(url.userName());
    if (!url.password().isEmpty())
        c.setPassword(url.password());
    const QString database = url.path().mid(1);
    if (!database.isEmpty())
        c.setDatabaseName(database);
    QStringList options;
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        options << key + QLatin1Char('=') + value;
    if (!options.contains(QStringLiteral("connect_timeout"), Qt::CaseInsensitive))
        options << QStringLiteral("connect_timeout=10");
    c.setConnectOptions(options.join(QLatin1Char(';')));
    if (!c.open()) {
        const QSqlError e = c.lastError();
        throw DbError(plainLines(e.databaseText().trimmed().isEmpty() ? e.text() : e.databaseText()));
    }
    return c;
}

// ---------------------------------------------------------------- rows

// A Recordset's rows from the server: all of them come with the answer (a
// connection answers one statement at a time, and the program reads a second
// while going through the first).
struct ServerCursor : Recordset::Cursor
{
    PGresult *result = nullptr;
    int row = 0;
    ~ServerCursor() override { PQclear(result); }
    bool next(QVector<QVariant> &out) override
    {
        if (!result || row >= PQntuples(result))
            return false;
        const int columns = PQnfields(result);
        out.reserve(columns);
        for (int i = 0; i < columns; ++i)
            out << valueOf(result, row, i);
        ++row;
        return true;
    }
};

// A RowReader's rows from the server, one at a time (single-row mode): an
// export of any size costs the memory of one row.
struct ServerRows : RowReader::Rows
{
    PGconn *conn = nullptr;
    PGresult *current = nullptr;
    bool firstPending = false;  // the first row, read to learn the columns
    bool done = false;

    ~ServerRows() override
    {
        PQclear(current);
        finish();
    }
    void finish()
    {
        if (done || !conn)
            return;
        // Rows not read are read and dropped: the connection is free again.
        while (PGresult *r = PQgetResult(conn))
            PQclear(r);
        done = true;
    }
    // The next result of the statement: a row, its end, or an error.
    bool fetch()
    {
        PQclear(current);
        current = PQgetResult(conn);
        const ExecStatusType status = PQresultStatus(current);
        if (status == PGRES_SINGLE_TUPLE)
            return true;
        if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK || !current) {
            // keep `current` for the columns of an empty result
            finish();
            return false;
        }
        const QString text = resultText(current, conn);
        finish();
        throw DbError(text);
    }
    bool next() override
    {
        if (firstPending) {
            firstPending = false;
            return true;
        }
        if (done)
            return false;
        return fetch();
    }
    RowReader::Type type(int column) const override
    {
        if (!current || PQgetisnull(current, 0, column))
            return RowReader::Type::Null;
        switch (kindOfType(PQftype(current, column))) {
        case ColumnKind::Integer:
            return RowReader::Type::Integer;
        case ColumnKind::Number:
        case ColumnKind::Money:
            return RowReader::Type::Real;
        default:
            return RowReader::Type::Text;
        }
    }
    QByteArrayView text(int column) const override
    {
        if (!current)
            return {};
        return QByteArrayView(PQgetvalue(current, 0, column), PQgetlength(current, 0, column));
    }
    qint64 integer(int column) const override
    {
        const QByteArrayView raw = text(column);
        if (raw == "t")
            return 1;
        if (raw == "f")
            return 0;
        return raw.toByteArray().toLongLong();
    }
    double real(int column) const override { return text(column).toByteArray().toDouble(); }
};

}  // namespace

// The engine's side of a Database.
class ServerEngine final : public Database::Connection
{
public:
    Recordset execute(Database &db, const QString &dialectSql, const QString &translated) override
    {
        PGconn *conn = liveHandle(db, db.m_inTransaction);
        auto cursor = std::make_unique<ServerCursor>();
        const bool query = !db.m_inTransaction && translated.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
        cursor->result = query ? execAgainIfLost(db, conn, translated) : execOrThrow(conn, translated);
        if (PQresultStatus(cursor->result) != PGRES_TUPLES_OK)
            return Recordset();
        const QVector<SqlToken> tokens = TokenizeSql(dialectSql);
        QStringList names;
        for (int i = 0; i < PQnfields(cursor->result); ++i)
            names << columnName(QString::fromUtf8(PQfname(cursor->result, i)), tokens, db.m_schema, db.m_names.first);
        return Recordset(db, translated, names, std::move(cursor));
    }

    RowReader read(Database &db, const QString &translated) override
    {
        PGconn *conn = liveHandle(db, db.m_inTransaction);
        if (!PQsendQuery(conn, translated.toUtf8().constData()))
            throw DbError(resultText(nullptr, conn));
        auto owned = std::make_unique<ServerRows>();
        ServerRows &rows = *owned;
        RowReader reader(std::move(owned));
        rows.conn = conn;
        PQsetSingleRowMode(conn);
        rows.firstPending = rows.fetch();
        if (rows.current) {
            const QVector<SqlToken> tokens = TokenizeSql(translated);
            for (int i = 0; i < PQnfields(rows.current); ++i) {
                reader.m_names << columnName(QString::fromUtf8(PQfname(rows.current, i)), tokens, db.m_schema,
                                             db.m_names.first);
                reader.m_kinds << kindOfType(PQftype(rows.current, i));
            }
        }
        return reader;
    }

    void run(Database &db, const QString &sql) override
    {
        Result(execOrThrow(liveHandle(db, db.m_inTransaction), sql));
    }

    qint64 count(Database &db, const QString &sql) override
    {
        Result r(execOrThrow(liveHandle(db, db.m_inTransaction),
                             QStringLiteral("SELECT count(*) FROM (") + sql + QStringLiteral(") AS counted")));
        return QByteArray(PQgetvalue(r.r, 0, 0)).toLongLong();
    }

    QHash<QString, QVariant> insert(Database &db, const QString &table, const QStringList &columns,
                                                      const QVector<QVariant> &values)
    {
        PGconn *conn = liveHandle(db, db.m_inTransaction);
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING *").arg(table.toLower());
        } else {
            QStringList names, marks;
            for (int i = 0; i < columns.size(); ++i) {
                names << columns.at(i).toLower();
                marks << QStringLiteral("$%1").arg(i + 1);
            }
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
                      .arg(table.toLower(), names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
        }
        QVector<QByteArray> texts;
        QVector<const char *> params;
        texts.reserve(values.size());
        for (const QVariant &v : values) {
            if (v.isNull()) {
                texts << QByteArray();
                params << nullptr;
                continue;
            }
            const int type = v.metaType().id();
            texts << (type == QMetaType::Double ? QByteArray::number(v.toDouble(), 'g', 17) : v.toString().toUtf8());
            params << texts.last().constData();
        }
        Result r(PQexecParams(conn, sql.toUtf8().constData(), int(params.size()), nullptr, params.constData(), nullptr,
                              nullptr, 0));
        if (PQresultStatus(r.r) != PGRES_TUPLES_OK)
            throw DbError(resultText(r.r, conn));
        QHash<QString, QVariant> row;
        if (PQntuples(r.r) > 0)
            for (int i = 0; i < PQnfields(r.r); ++i)
                row.insert(QString::fromUtf8(PQfname(r.r, i)).toLower(), valueOf(r.r, 0, i));
        return row;
    }

    void begin(Database &db, const QString &lock) override
    {
        PGconn *conn = liveHandle(db, false);
        Result(execAgainIfLost(db, conn, QStringLiteral("BEGIN")));
        if (lock.isEmpty())
            return;
        // One writer at a time, as SQLite's write lock: a second desk waits here
        // (at most the lock timeout) instead of failing half way through.
        PGresult *r = PQexec(conn, lock.toUtf8().constData());
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            const QString text = resultText(r, conn);
            PQclear(r);
            PQclear(PQexec(conn, "ROLLBACK"));
            throw DbError(text);
        }
        PQclear(r);
    }

    void commit(Database &db) override
    {
        PGconn *conn = handleOf(db);
        PGresult *r = PQexec(conn, "COMMIT");
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        const QString text = ok ? QString() : resultText(r, conn);
        PQclear(r);
        if (!ok)
            throw DbError(text);
    }

    void rollback(Database &db) override
    {
        PGconn *conn = connectionOf(db.connection());
        if (conn && PQstatus(conn) == CONNECTION_OK)
            PQclear(PQexec(conn, "ROLLBACK"));
    }

    static std::unique_ptr<Database> open(const QString &address)
    {
        std::unique_ptr<Database> db(new Database(Engine::PostgreSQL, std::make_unique<ServerEngine>()));
        db->m_path = AddressWithoutPassword(address);
        db->m_address = address;
        db->m_connectionName = QStringLiteral("innkeld-server-%1").arg(serverConnections.fetchAndAddRelaxed(1));
        connectTo(db->m_connectionName, address);
        setUpSession(handleOf(*db));
        return db;
    }

    void loadSchema(Database &db, const TableNames &names) override
    {
        // From the server's catalogue (its information schema takes several
        // times as long).
        QString hidden;
        for (QString prefix : names.hidden)
            hidden += QStringLiteral(" AND c.relname NOT LIKE '%1%'").arg(prefix.replace(QLatin1String("_"), QLatin1String("\\_")));
        Result r(execOrThrow(liveHandle(db, db.m_inTransaction),
                             QStringLiteral("SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod) "
                                            "FROM pg_catalog.pg_attribute AS a JOIN pg_catalog.pg_class AS c "
                                            "ON c.oid = a.attrelid WHERE c.relnamespace = current_schema()::regnamespace "
                                            "AND c.relkind IN ('r', 'p')%1 AND a.attnum > 0 AND NOT a.attisdropped "
                                            "ORDER BY c.relname, a.attnum").arg(hidden)));
        for (int i = 0; i < PQntuples(r.r); ++i) {
            const QString table = QString::fromUtf8(PQgetvalue(r.r, i, 0));
            QString column = QString::fromUtf8(PQgetvalue(r.r, i, 1));
            if (names.spelled.contains(table))
                for (const QString &spelled : names.spelling)
                    if (spelled.compare(column, Qt::CaseInsensitive) == 0)
                        column = spelled;
            const QString type = QString::fromUtf8(PQgetvalue(r.r, i, 2));
            ColumnKind kind = ColumnKind::Text;
            if (type.contains(QLatin1String("int")))
                kind = ColumnKind::Integer;
            else if (type.startsWith(QLatin1String("timestamp")) || type == QLatin1String("date"))
                kind = ColumnKind::Date;
            else if (type.startsWith(QLatin1String("numeric")))
                kind = ColumnKind::Money;
            else if (type == QLatin1String("double precision") || type == QLatin1String("real"))
                kind = ColumnKind::Number;
            db.m_schema.addColumn(table, column, kind);
        }
    }

    void *handle(const Database &db) const
    {
        return handleOf(db);
    }
};

std::unique_ptr<Database> OpenServerDatabase(const QString &address)
{
    return ServerEngine::open(address);
}

// ---------------------------------------------------------------- notices

struct ServerListener::Conn
{
    PGconn *pg = nullptr;
};

ServerListener::ServerListener(const QString &address, const QString &channel) : m_conn(new Conn)
{
    QString withTimeout = address;
    if (!address.contains(QLatin1String("connect_timeout")))
        withTimeout += (address.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?'))
            + QStringLiteral("connect_timeout=5");
    m_conn->pg = PQconnectdb(withTimeout.toUtf8().constData());
    try {
        if (PQstatus(m_conn->pg) != CONNECTION_OK)
            throw DbError(connectionText(m_conn->pg));
        Result r(execOrThrow(m_conn->pg, QStringLiteral("LISTEN \"%1\"").arg(channel)));
        if (PQsetnonblocking(m_conn->pg, 1) != 0)
            throw DbError(connectionText(m_conn->pg));
    } catch (...) {
        PQfinish(m_conn->pg);
        delete m_conn;
        throw;
    }
}

ServerListener::~ServerListener()
{
    PQfinish(m_conn->pg);
    delete m_conn;
}

int ServerListener::socket() const
{
    return PQsocket(m_conn->pg);
}

QVector<ServerListener::Notice> ServerListener::take()
{
    QVector<Notice> out;
    if (PQconsumeInput(m_conn->pg) == 0 || PQstatus(m_conn->pg) != CONNECTION_OK)
        throw DbError(connectionText(m_conn->pg));
    while (PGnotify *n = PQnotifies(m_conn->pg)) {
        out.push_back({n->be_pid, QString::fromUtf8(n->extra)});
        PQfreemem(n);
    }
    return out;
}

int ServerProcessOf(const Database &db)
{
    if (!db.onServer())
        return 0;
    PGconn *conn = connectionOf(db.connection());
    return conn ? PQbackendPID(conn) : 0;
}

}  // namespace innkeld
