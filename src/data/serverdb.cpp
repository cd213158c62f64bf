#include "serverdb.h"

#include "data/schema/channeltables.h"
#include "data/schema/findindex.h"
#include "data/schema/houserules.h"
#include "data/schema/houseterms.h"
#include "data/schema/bookingdrafts.h"
#include "data/regional/regional.h"

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

// Every write that can touch a room's stays takes this lock first, for the
// rest of its transaction: the guard's check and the write it allows are
// one step for every desk, as SQLite's write lock makes them.
constexpr qint64 kStaysLock = 0x496E6B6C;  // "Inkl"

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
// program's tables spell it.
QString columnName(const QString &serverName, const QVector<SqlToken> &tokens, const Schema &schema)
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
    for (const QString &table : ProgramTables())
        for (const QString &column : schema.columns(table))
            if (column.compare(serverName, Qt::CaseInsensitive) == 0)
                return column;
    return serverName;
}

// The program's spelling of each column (the server's are lower case).
const QStringList &spelledColumns()
{
    static const QStringList names{
        QStringLiteral("ID"), QStringLiteral("CustomerID"), QStringLiteral("FromDate"), QStringLiteral("ToDate"),
        QStringLiteral("BookedBy"), QStringLiteral("Notes"), QStringLiteral("NoAdults"), QStringLiteral("NoKids"),
        QStringLiteral("CostPerNight"), QStringLiteral("PaymentMethod"), QStringLiteral("OtherCharges"),
        QStringLiteral("SalesTax"), QStringLiteral("TotalPayable"), QStringLiteral("AmountPayed"),
        QStringLiteral("CreditCardNo"), QStringLiteral("CreditCardExpiry"), QStringLiteral("CreditCardType"),
        QStringLiteral("FirstName"), QStringLiteral("LastName"), QStringLiteral("Address1"),
        QStringLiteral("Address2"), QStringLiteral("City"), QStringLiteral("State"), QStringLiteral("PostCode"),
        QStringLiteral("Country"), QStringLiteral("Phone"), QStringLiteral("Email"),
        QStringLiteral("SubmittedDate"), QStringLiteral("BusinessName")};
    return names;
}

QString dateColumn(const char *name)
{
    return QStringLiteral("%1 timestamp(0) without time zone CHECK (%1 BETWEEN '0001-01-01' AND '9999-12-31 23:59:59')")
        .arg(QLatin1String(name));
}

QString moneyColumn(const char *name)
{
    return QStringLiteral("%1 numeric(19,4) NOT NULL DEFAULT 0").arg(QLatin1String(name));
}

QString countColumn(const char *name)
{
    return QStringLiteral("%1 double precision NOT NULL DEFAULT 0").arg(QLatin1String(name));
}

QString textColumns(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QStringLiteral("%1 text DEFAULT ''").arg(QLatin1String(n));
    return out.join(QLatin1String(", "));
}

// The four tables in PostgreSQL's terms (the same columns and checks as in
// SQLite: wall-clock timestamps, numeric money, 64-bit identity keys), the
// indexes, the house's rules, the stays index and the guard.
QStringList schemaStatements()
{
    const QString lock = QString::number(kStaysLock);
    // The end of both guards: a clash found is refused by the room's name.
    const QString refuseClash = QStringLiteral(
        "IF FOUND THEN RAISE EXCEPTION 'The room % is booked by another guest on these dates.', clash; "
        "END IF; RETURN NEW; END $$");
    return QStringList{
        QStringLiteral("CREATE TABLE booking (ID bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                       "CustomerID bigint NOT NULL DEFAULT 0, ")
            + dateColumn("FromDate") + QStringLiteral(", ") + dateColumn("ToDate") + QStringLiteral(", ")
            + textColumns({"BookedBy"}) + QStringLiteral(", Notes text, ") + countColumn("NoAdults")
            + QStringLiteral(", ") + countColumn("NoKids") + QStringLiteral(", ") + moneyColumn("CostPerNight")
            + QStringLiteral(", ") + textColumns({"PaymentMethod"}) + QStringLiteral(", ")
            + moneyColumn("OtherCharges") + QStringLiteral(", ") + moneyColumn("SalesTax") + QStringLiteral(", ")
            + moneyColumn("TotalPayable") + QStringLiteral(", ") + moneyColumn("AmountPayed") + QStringLiteral(", ")
            + textColumns({"CreditCardNo", "CreditCardExpiry", "CreditCardType"}) + QStringLiteral(")"),
        QStringLiteral("CREATE TABLE customer (ID bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, ")
            + textColumns({"FirstName", "LastName", "Address1", "Address2", "City", "State", "PostCode", "Country",
                           "Phone", "Email"})
            + QStringLiteral(", ") + dateColumn("SubmittedDate")
            + QStringLiteral(" DEFAULT date_trunc('second', localtimestamp), ") + textColumns({"BusinessName"})
            + QStringLiteral(")"),
        QStringLiteral("CREATE TABLE room (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, name text DEFAULT '')"),
        QStringLiteral("CREATE TABLE bookingroom (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                       "bookingid bigint NOT NULL DEFAULT 0 REFERENCES booking (ID) ON DELETE CASCADE ON UPDATE CASCADE, "
                       "roomid bigint NOT NULL DEFAULT 0 REFERENCES room (id) ON DELETE CASCADE ON UPDATE CASCADE)"),
        QStringLiteral("CREATE INDEX bookingroom_bookingid ON bookingroom (bookingid)"),
        QStringLiteral("CREATE INDEX bookingroom_roomid ON bookingroom (roomid)"),
        QStringLiteral("CREATE INDEX booking_fromdate ON booking (FromDate)"),
        QStringLiteral("CREATE INDEX booking_todate ON booking (ToDate)"),
        QStringLiteral("CREATE INDEX booking_customerid ON booking (CustomerID)"),
    } + HouseRulesStatements() + QStringList{
        // The stays index: a booking's first and last day (Julian day
        // numbers) and the range of them, searched through a GiST index.
        QStringLiteral("CREATE TABLE booking_stay (id bigint PRIMARY KEY REFERENCES booking (ID) ON DELETE CASCADE "
                       "ON UPDATE CASCADE, firstday integer NOT NULL, lastday integer NOT NULL, "
                       "days int4range GENERATED ALWAYS AS (int4range(firstday, lastday, '[]')) STORED)"),
        QStringLiteral("CREATE INDEX booking_stay_days ON booking_stay USING gist (days)"),
        QStringLiteral("CREATE FUNCTION innkeld_keep_stay() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF TG_OP = 'UPDATE' THEN DELETE FROM booking_stay WHERE id IN (OLD.ID, NEW.ID); END IF; "
                       "IF NEW.FromDate IS NOT NULL AND NEW.ToDate IS NOT NULL THEN "
                       "INSERT INTO booking_stay (id, firstday, lastday) VALUES (NEW.ID, least(%1, %2), greatest(%1, %2)); "
                       "END IF; RETURN NULL; END $$")
            .arg(DayNumberSql(Engine::PostgreSQL, QStringLiteral("NEW.FromDate")),
                 DayNumberSql(Engine::PostgreSQL, QStringLiteral("NEW.ToDate"))),
        QStringLiteral("CREATE TRIGGER booking_stay_keep AFTER INSERT OR UPDATE OF ID, FromDate, ToDate ON booking "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_keep_stay()"),
        // A transaction that sees one snapshot throughout would not see
        // another desk's stays committed while it waited for the lock.
        QStringLiteral("CREATE FUNCTION innkeld_lock_stays() RETURNS void LANGUAGE plpgsql AS $$ BEGIN "
                       "IF current_setting('transaction_isolation') = 'repeatable read' THEN "
                       "RAISE EXCEPTION 'Bookings are written at the read committed or serializable isolation level.'; "
                       "END IF; PERFORM pg_advisory_xact_lock(%1); END $$")
            .arg(lock),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_guard_link() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "DECLARE clash text; BEGIN PERFORM innkeld_lock_stays(); "
                       "IF NOT EXISTS (SELECT 1 FROM room WHERE id = NEW.roomid) THEN "
                       "RAISE EXCEPTION 'There is no room % in the house.', NEW.roomid; END IF; "
                       "IF NOT EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid) THEN "
                       "RAISE EXCEPTION 'There is no booking %.', NEW.bookingid; END IF; "
                       "SELECT r.name INTO clash FROM booking AS b, room AS r WHERE b.ID = NEW.bookingid "
                       "AND r.id = NEW.roomid AND %1; ")
            .arg(ClashExistsSql(Engine::PostgreSQL, QStringLiteral("b.ID"), QStringLiteral("NEW.roomid"),
                                QStringLiteral("b.FromDate"), QStringLiteral("b.ToDate")))
            + refuseClash,
        QStringLiteral("CREATE TRIGGER bookingroom_guard BEFORE INSERT OR UPDATE OF bookingid, roomid ON bookingroom "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_guard_link()"),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_guard_dates() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "DECLARE clash text; BEGIN "
                       "IF NEW.FromDate IS NOT DISTINCT FROM OLD.FromDate AND NEW.ToDate IS NOT DISTINCT FROM OLD.ToDate "
                       "THEN RETURN NEW; END IF; PERFORM innkeld_lock_stays(); "
                       "SELECT r.name INTO clash FROM bookingroom AS l, room AS r WHERE l.bookingid = NEW.ID "
                       "AND r.id = l.roomid AND %1 ORDER BY l.id LIMIT 1; ")
            .arg(ClashExistsSql(Engine::PostgreSQL, QStringLiteral("NEW.ID"), QStringLiteral("l.roomid"),
                                QStringLiteral("NEW.FromDate"), QStringLiteral("NEW.ToDate")))
            + refuseClash,
        QStringLiteral("CREATE TRIGGER booking_guard_dates BEFORE UPDATE OF FromDate, ToDate ON booking "
                       "FOR EACH ROW EXECUTE FUNCTION innkeld_guard_dates()"),
    };
}


// The columns (table, column, type) of the four booking tables, or
// (`everyTable`) of every table the program reads through its dialect: all
// but the stays and search indexes, which are the guard's and the
// search's. From the server's catalogue (its information schema takes
// several times as long).
PGresult *columnsPresent(PGconn *conn, bool everyTable = false)
{
    const QString tables = everyTable ? QStringLiteral("c.relname NOT LIKE 'booking\\_stay%' "
                                                       "AND c.relname NOT LIKE 'booking\\_find%'")
                                      : QStringLiteral("c.relname IN ('booking', 'customer', 'room', 'bookingroom')");
    return execOrThrow(conn, QStringLiteral("SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod) "
                                            "FROM pg_catalog.pg_attribute AS a JOIN pg_catalog.pg_class AS c "
                                            "ON c.oid = a.attrelid WHERE c.relnamespace = current_schema()::regnamespace "
                                            "AND c.relkind IN ('r', 'p') AND %1 AND a.attnum > 0 AND NOT a.attisdropped "
                                            "ORDER BY c.relname, a.attnum").arg(tables));
}

// How many of the four tables the server's database holds.
int tablesPresent(PGconn *conn)
{
    Result r(columnsPresent(conn));
    QSet<QByteArray> tables;
    for (int i = 0; i < PQntuples(r.r); ++i)
        tables.insert(QByteArray(PQgetvalue(r.r, i, 0)));
    return int(tables.size());
}

void makeTables(PGconn *conn)
{
    Result begin(execOrThrow(conn, QStringLiteral("BEGIN")));
    try {
        for (const QString &sql : schemaStatements() + FindIndexStatements(Engine::PostgreSQL)
                 + ChannelTableStatements(Engine::PostgreSQL) + HouseTermsStatements()
                 + BookingDraftStatements())
            Result(execOrThrow(conn, sql));
        Result(execOrThrow(conn, QStringLiteral("COMMIT")));
    } catch (...) {
        PQclear(PQexec(conn, "ROLLBACK"));
        throw;
    }
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

}  // namespace

bool IsServerAddress(const QString &name)
{
    return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString AddressWithoutPassword(const QString &name)
{
    if (!IsServerAddress(name))
        return name;
    QUrl url(name);
    if (!url.isValid())
        return QStringLiteral("postgresql://");
    url.setPassword(QString());
    QUrlQuery query(url);
    query.removeAllQueryItems(QStringLiteral("password"));
    url.setQuery(query);
    return url.toString();
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
struct RowReader::ServerRows
{
    PGconn *conn = nullptr;
    PGresult *current = nullptr;
    bool firstPending = false;  // the first row, read to learn the columns
    bool done = false;

    ~ServerRows()
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
};

Recordset ServerConnection::execute(Database &db, const QString &dialectSql, const QString &translated)
{
    PGconn *conn = liveHandle(db, db.m_inTransaction);
    auto cursor = std::make_unique<ServerCursor>();
    const bool query = !db.m_inTransaction && translated.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
    cursor->result = query ? execAgainIfLost(db, conn, translated) : execOrThrow(conn, translated);
    Recordset rs;
    if (PQresultStatus(cursor->result) != PGRES_TUPLES_OK)
        return rs;
    const QVector<SqlToken> tokens = TokenizeSql(dialectSql);
    for (int i = 0; i < PQnfields(cursor->result); ++i)
        rs.m_names << columnName(QString::fromUtf8(PQfname(cursor->result, i)), tokens, db.m_schema);
    cursor->fetch();
    rs.m_cursor = std::move(cursor);
    rs.m_db = &db;
    rs.m_sql = translated;
    rs.readRow();
    return rs;
}

RowReader ServerConnection::read(Database &db, const QString &translated)
{
    PGconn *conn = liveHandle(db, db.m_inTransaction);
    if (!PQsendQuery(conn, translated.toUtf8().constData()))
        throw DbError(resultText(nullptr, conn));
    RowReader reader(nullptr);
    reader.m_server = new RowReader::ServerRows;
    RowReader::ServerRows &rows = *reader.m_server;
    rows.conn = conn;
    PQsetSingleRowMode(conn);
    rows.firstPending = rows.fetch();
    if (rows.current) {
        const QVector<SqlToken> tokens = TokenizeSql(translated);
        for (int i = 0; i < PQnfields(rows.current); ++i) {
            reader.m_names << columnName(QString::fromUtf8(PQfname(rows.current, i)), tokens, db.m_schema);
            reader.m_kinds << kindOfType(PQftype(rows.current, i));
        }
    }
    return reader;
}

bool RowReaderServerNext(RowReader::ServerRows &rows)
{
    if (rows.firstPending) {
        rows.firstPending = false;
        return true;
    }
    if (rows.done)
        return false;
    return rows.fetch();
}

RowReader::Type RowReaderServerType(const RowReader::ServerRows &rows, int column)
{
    if (!rows.current || PQgetisnull(rows.current, 0, column))
        return RowReader::Type::Null;
    switch (kindOfType(PQftype(rows.current, column))) {
    case ColumnKind::Integer:
        return RowReader::Type::Integer;
    case ColumnKind::Number:
    case ColumnKind::Money:
        return RowReader::Type::Real;
    default:
        return RowReader::Type::Text;
    }
}

QByteArrayView RowReaderServerText(const RowReader::ServerRows &rows, int column)
{
    if (!rows.current)
        return {};
    return QByteArrayView(PQgetvalue(rows.current, 0, column), PQgetlength(rows.current, 0, column));
}

qint64 RowReaderServerInteger(const RowReader::ServerRows &rows, int column)
{
    const QByteArrayView raw = RowReaderServerText(rows, column);
    if (raw == "t")
        return 1;
    if (raw == "f")
        return 0;
    return raw.toByteArray().toLongLong();
}

double RowReaderServerReal(const RowReader::ServerRows &rows, int column)
{
    return RowReaderServerText(rows, column).toByteArray().toDouble();
}

void DeleteServerRows(RowReader::ServerRows *rows)
{
    delete rows;
}

// ---------------------------------------------------------------- statements

void ServerConnection::run(Database &db, const QString &sql)
{
    Result(execOrThrow(liveHandle(db, db.m_inTransaction), sql));
}

qint64 ServerConnection::count(Database &db, const QString &sql)
{
    Result r(execOrThrow(liveHandle(db, db.m_inTransaction),
                         QStringLiteral("SELECT count(*) FROM (") + sql + QStringLiteral(") AS counted")));
    return QByteArray(PQgetvalue(r.r, 0, 0)).toLongLong();
}

QHash<QString, QVariant> ServerConnection::insert(Database &db, const QString &table, const QStringList &columns,
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

void ServerConnection::begin(Database &db)
{
    PGconn *conn = liveHandle(db, false);
    Result(execAgainIfLost(db, conn, QStringLiteral("BEGIN")));
    // One writer at a time, as SQLite's write lock: a second desk waits here
    // (at most the lock timeout) instead of failing half way through.
    PGresult *r = PQexec(conn, "SELECT innkeld_lock_stays()");
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        const QString text = resultText(r, conn);
        PQclear(r);
        PQclear(PQexec(conn, "ROLLBACK"));
        throw DbError(text);
    }
    PQclear(r);
}

void ServerConnection::commit(Database &db)
{
    PGconn *conn = handleOf(db);
    PGresult *r = PQexec(conn, "COMMIT");
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString text = ok ? QString() : resultText(r, conn);
    PQclear(r);
    if (!ok)
        throw DbError(text);
}

void ServerConnection::rollback(Database &db)
{
    PGconn *conn = connectionOf(db.connection());
    if (conn && PQstatus(conn) == CONNECTION_OK)
        PQclear(PQexec(conn, "ROLLBACK"));
}

// ---------------------------------------------------------------- open

namespace {

// Whether the database has the search index's triggers (made last).
bool hasFindIndex(PGconn *conn)
{
    Result r(execOrThrow(conn, QStringLiteral("SELECT count(*) FROM pg_catalog.pg_trigger WHERE tgname IN "
                                              "('booking_find_keep', 'customer_find')")));
    return qstrcmp(PQgetvalue(r.r, 0, 0), "2") == 0;
}

// Runs in one transaction that holds the advisory lock `lock` the
// statements `pending` gives once the lock is held (none: nothing to do):
// one desk upgrades the database while the others wait.
void upgradeOnce(PGconn *conn, qint64 lock, const std::function<QStringList()> &pending)
{
    Result(execOrThrow(conn, QStringLiteral("BEGIN")));
    try {
        Result(execOrThrow(conn, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(lock)));
        for (const QString &sql : pending())
            Result(execOrThrow(conn, sql));
        Result(execOrThrow(conn, QStringLiteral("COMMIT")));
    } catch (...) {
        PQclear(PQexec(conn, "ROLLBACK"));
        throw;
    }
}

// What a database lacks of the house's rules: the table (made with the
// rule off), and the guard's functions when they are not this version's
// (made before the rules, or by an earlier rule).
QStringList houseRulesPending(PGconn *conn)
{
    QStringList functions, bodies;
    for (const QString &sql : schemaStatements())
        if (sql.startsWith(QLatin1String("CREATE OR REPLACE FUNCTION innkeld_guard_"))) {
            functions << sql;
            bodies << sql.section(QStringLiteral("$$"), 1, 1);
        }
    Result r(execOrThrow(conn, QStringLiteral("SELECT to_regclass('houserules') IS NOT NULL, "
                                              "coalesce((SELECT string_agg(prosrc, chr(1) ORDER BY proname DESC) "
                                              "FROM pg_catalog.pg_proc WHERE proname IN ('innkeld_guard_link', "
                                              "'innkeld_guard_dates') AND pronamespace = current_schema()::regnamespace), '')")));
    QStringList pending = qstrcmp(PQgetvalue(r.r, 0, 0), "t") == 0 ? QStringList() : HouseRulesStatements();
    // Both in the order of the statements: the link's guard, then the dates'.
    if (QString::fromUtf8(PQgetvalue(r.r, 0, 1)) != bodies.join(QChar(1)))
        pending += functions;
    return pending;
}

}  // namespace

namespace {
// Gives a database what this version adds to it, each part once.
void upgradeDatabase(PGconn *conn);
}  // namespace

void ServerConnection::open(Database &db, const QString &address)
{
    db.m_engine = Engine::PostgreSQL;
    db.m_path = AddressWithoutPassword(address);
    db.m_address = address;
    db.m_connectionName = QStringLiteral("innkeld-server-%1").arg(serverConnections.fetchAndAddRelaxed(1));
    connectTo(db.m_connectionName, address);
    PGconn *conn = handleOf(db);
    setUpSession(conn);
    // A database with none of the four tables is a new house: it gets them,
    // as a new db.mdb is made on a first start.
    if (tablesPresent(conn) == 0)
        makeTables(conn);
    {
        // The four tables are there before anything is added to a database.
        Schema four;
        Result r(columnsPresent(conn));
        for (int i = 0; i < PQntuples(r.r); ++i)
            four.addColumn(QString::fromUtf8(PQgetvalue(r.r, i, 0)), QString::fromUtf8(PQgetvalue(r.r, i, 1)),
                           ColumnKind::Text);
        RequireProgramTables(four, db.m_path);
    }
    upgradeDatabase(conn);
    // Every table the program reads, the features' own among them.
    Result r(columnsPresent(conn, true));
    for (int i = 0; i < PQntuples(r.r); ++i) {
        const QString table = QString::fromUtf8(PQgetvalue(r.r, i, 0));
        QString column = QString::fromUtf8(PQgetvalue(r.r, i, 1));
        for (const QString &spelled : spelledColumns())
            if (spelled.compare(column, Qt::CaseInsensitive) == 0
                && (table == QLatin1String("booking") || table == QLatin1String("customer")))
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
    RequireProgramTables(db.m_schema, db.m_path);
}

namespace {

void upgradeDatabase(PGconn *conn)
{
    // A database made before the search index gets it now, filled; one
    // desk makes it while the others wait.
    if (!hasFindIndex(conn))
        upgradeOnce(conn, kStaysLock + 1, [conn] {
            if (hasFindIndex(conn))
                return QStringList();
            return QStringList{QStringLiteral("DROP TABLE IF EXISTS booking_find"),
                               QStringLiteral("DROP FUNCTION IF EXISTS innkeld_find_keep, innkeld_find_customer, "
                                              "innkeld_find_phrase, innkeld_find_document, innkeld_find_words CASCADE")}
                + FindIndexStatements(Engine::PostgreSQL, true);
        });
    // Functions of the index written by an earlier version are replaced by
    // this version's (one stored a booking without dates only on a file).
    const auto findFunctionsPending = [conn] {
        QStringList pending;
        for (const QString &sql : FindIndexStatements(Engine::PostgreSQL)) {
            if (!sql.startsWith(QLatin1String("CREATE FUNCTION innkeld_find_")))
                continue;
            const QString name = sql.section(QLatin1Char(' '), 2, 2).section(QLatin1Char('('), 0, 0);
            Result r(execOrThrow(conn, QStringLiteral("SELECT prosrc FROM pg_catalog.pg_proc WHERE proname = '%1' "
                                                      "AND pronamespace = current_schema()::regnamespace")
                                           .arg(name)));
            if (PQntuples(r.r) != 1 || QString::fromUtf8(PQgetvalue(r.r, 0, 0)) != sql.section(QStringLiteral("$$"), 1, 1))
                pending << QString(sql).replace(0, 15, QStringLiteral("CREATE OR REPLACE FUNCTION"));
        }
        return pending;
    };
    if (!findFunctionsPending().isEmpty())
        upgradeOnce(conn, kStaysLock + 1, findFunctionsPending);
    // The house's rules, and a guard that reads them, under the guard's own
    // lock.
    if (!houseRulesPending(conn).isEmpty())
        upgradeOnce(conn, kStaysLock, [conn] { return houseRulesPending(conn); });
    // A database made before the channels gets their tables, empty.
    const auto channelsPending = [conn] {
        Result r(execOrThrow(conn, QStringLiteral("SELECT to_regclass('channelbooking') IS NULL")));
        return qstrcmp(PQgetvalue(r.r, 0, 0), "t") == 0 ? ChannelTableStatements(Engine::PostgreSQL) : QStringList();
    };
    if (!channelsPending().isEmpty())
        upgradeOnce(conn, kStaysLock + 2, channelsPending);
    // A database made before the house's terms were kept in it gets their
    // table, empty: the first desk fills it from its own settings.
    const auto termsPending = [conn] {
        Result r(execOrThrow(conn, QStringLiteral("SELECT to_regclass('houseterms') IS NULL, "
                                                  "to_regclass('bookingdraft') IS NULL")));
        return (qstrcmp(PQgetvalue(r.r, 0, 0), "t") == 0 ? HouseTermsStatements() : QStringList())
            + (qstrcmp(PQgetvalue(r.r, 0, 1), "t") == 0 ? BookingDraftStatements() : QStringList());
    };
    if (!termsPending().isEmpty())
        upgradeOnce(conn, kStaysLock + 3, termsPending);
}

}  // namespace

void ServerConnection::create(const QString &address)
{
    const QString name = QStringLiteral("innkeld-server-%1").arg(serverConnections.fetchAndAddRelaxed(1));
    QString failure;
    {
        try {
            QSqlDatabase c = connectTo(name, address);
            PGconn *conn = connectionOf(c);
            setUpSession(conn);
            if (tablesPresent(conn) > 0)
                throw DbError(QStringLiteral("The database %1 already holds bookings' tables; it is left as it is.")
                                  .arg(AddressWithoutPassword(address)));
            makeTables(conn);
            c.close();
        } catch (const DbError &e) {
            failure = e.message();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty())
        throw DbError(failure);
}

}  // namespace innkeld
