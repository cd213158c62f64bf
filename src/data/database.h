// The booking database: one SQLite file, or a database on a PostgreSQL
// server that several desks share, reached through one connection, in the
// program's SQL dialect. Statements are run as text and their rows read
// forward; rows are added through table cursors that read back the new key.
#pragma once

#include "sqldialect.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QFileDevice>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>

namespace innkeld {

using RecordId = qint64;  // booking, customer and room keys

class Database;

// The rows of a statement, read forward from the engine one at a time: a
// result of any size costs the memory of one row, and asking whether there
// is a row reads only the first.
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset &&) noexcept;
    Recordset &operator=(Recordset &&) noexcept;
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    bool eof() const { return !m_hasRow; }
    // Reads the next row; throws DbError when the engine fails on it.
    void moveNext();
    int fieldCount() const { return m_names.size(); }
    QString fieldName(int index) const { return m_names.value(index); }
    // The number of rows the statement returns, counted by the engine in a
    // statement of its own; the current row stays where it is.
    int rowCount() const;

    // Fields by position or by name without regard to letter case. Dates come
    // as QDateTime, numbers as qlonglong or double, texts as QString, a null
    // as a null QVariant. An unknown field or a read past the end throws.
    QVariant value(int index) const;
    QVariant value(const QString &name) const;
    bool isNull(int index) const { return value(index).isNull(); }
    bool isNull(const QString &name) const { return value(name).isNull(); }
    // The value's default text conversion; a null gives empty text.
    QString text(int index) const { return TextOf(value(index)); }
    QString text(const QString &name) const { return TextOf(value(name)); }

    // Dates in the regional short date (four-digit year) plus the time when it
    // is not midnight; numbers in their shortest decimal form with the
    // regional decimal separator; a null as empty text.
    static QString TextOf(const QVariant &value);

    // Where the rows come from (the engine's statement): reads the next row,
    // false at the end.
    struct Cursor
    {
        virtual ~Cursor() = default;
        virtual bool next(QVector<QVariant> &row) = 0;
        // The row after the current one, read ahead: the statement is
        // finished, and its read lock given back, as soon as its last row
        // has been read, not only when the Recordset goes.
        void fetch();
        QVector<QVariant> ahead;
        bool hasAhead = false;
    };

private:
    friend class Database;
    friend class ServerConnection;
    void readRow();
    std::unique_ptr<Cursor> m_cursor;
    Database *m_db = nullptr;
    QString m_sql;  // as the engine runs it
    QStringList m_names;
    QVector<QVariant> m_row;
    bool m_hasRow = false;
};

class Database;

// Reads a statement's rows straight from the engine, for going through very
// many of them (an export): each field as the engine holds it, with no
// conversion on the way. A field's text is valid until the next row.
class RowReader
{
public:
    enum class Type { Null, Integer, Real, Text, Blob };

    RowReader(RowReader &&) noexcept;
    RowReader &operator=(RowReader &&) noexcept;
    ~RowReader();
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    // Moves to the next row; false at the end. Throws DbError.
    bool next();
    int columnCount() const { return int(m_kinds.size()); }
    QString columnName(int column) const { return m_names.value(column); }
    // The declared kind of a column; Text for an expression.
    ColumnKind kind(int column) const { return m_kinds.at(column); }

    Type type(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QByteArrayView text(int column) const;  // UTF-8

    struct ServerRows;

private:
    friend class Database;
    friend class ServerConnection;
    explicit RowReader(void *statement) : m_statement(statement) {}
    void *m_statement;  // sqlite3_stmt
    ServerRows *m_server = nullptr;  // the rows of a server's statement (owned)
    QVector<ColumnKind> m_kinds;
    QStringList m_names;
};

// Adds rows to one table: AddNew, set fields by name, Update; then the
// fields (the new key among them) read back the stored row.
class TableCursor
{
public:
    void addNew();
    void setField(const QString &name, const QVariant &value);
    void update();
    QVariant field(const QString &name) const;

private:
    friend class Database;
    TableCursor(Database *db, const QString &table) : m_db(db), m_table(table) {}
    Database *m_db;
    QString m_table;
    QStringList m_setNames;
    QVector<QVariant> m_setValues;
    QHash<QString, QVariant> m_row;  // lower-case column name -> stored value
    bool m_adding = false;
};

class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens an existing database file; never creates one. Throws DbError with
    // the engine's text when the file is missing, is not a database or lacks
    // the booking tables. A server's address (postgresql://...) opens that
    // database; one that holds none of the four tables gets them, empty.
    static std::unique_ptr<Database> open(const QString &path);
    // Makes a new database with the four empty tables. Throws DbError when
    // the file exists (it is left untouched) or cannot be written, or when
    // the server's database already holds one of the tables.
    static void create(const QString &path);

    Engine engineKind() const { return m_engine; }
    bool onServer() const { return m_engine == Engine::PostgreSQL; }
    // Runs statements in the engine's own terms (not the dialect): for the
    // copy between engines and the tools. Throws DbError.
    void run(const QString &engineSql);

    // Runs one statement of the dialect. Throws DbError on failure; nothing of
    // a failing statement is applied.
    Recordset execute(const QString &sql);
    // Runs one query in the engine's own terms (not the dialect), for the
    // statements written for each engine apart. Throws DbError.
    Recordset query(const QString &engineSql);
    // Runs one query of the dialect for reading its rows straight from the
    // engine. Throws DbError.
    RowReader read(const QString &sql);
    TableCursor openTable(const QString &name);

    // Keeps the text of each statement run from now on, as the engine runs
    // it (nullptr stops it): for looking at the plans of an action.
    void setStatementLog(QStringList *log) { m_log = log; }

    const Schema &schema() const { return m_schema; }
    // The file, or the server's address without its password.
    QString path() const { return m_path; }
    // What opens this database again (another thread's connection): the
    // file, or the server's address as it was given.
    QString address() const { return m_address.isEmpty() ? m_path : m_address; }
    QSqlDatabase connection() const;
    // The engine's own handle (sqlite3 *), for the work Qt has no call for;
    // throws DbError on a server.
    void *engine() const;

    // Groups the statements of one operator action: everything since begin()
    // is undone unless commit() is reached. It takes the write lock at once
    // (BEGIN IMMEDIATE). Transactions do not nest: an inner one joins the outer.
    class Transaction
    {
    public:
        explicit Transaction(Database &db);
        ~Transaction();
        void commit();

    private:
        Database &m_db;
        bool m_owner = false;
        bool m_done = false;
    };

private:
    friend class TableCursor;
    friend class Recordset;
    friend class ServerConnection;
    Database() = default;
    void loadSchema();
    QVariant storedValue(const QString &column, ColumnKind kind, const QVariant &value) const;
    QString translate(const QString &sql);
    Recordset executeTranslated(const QString &sql, const QString &translated);

    QString m_connectionName;
    QString m_path;
    QString m_address;
    Schema m_schema;
    Engine m_engine = Engine::SQLite;
    bool m_inTransaction = false;
    QStringList *m_log = nullptr;
};

// Whether a database is named by a server's address (postgresql://... or
// postgres://..., the form every PostgreSQL program takes) rather than a file.
bool IsServerAddress(const QString &name);
// The address as it may be shown and remembered: without its password.
QString AddressWithoutPassword(const QString &name);

// Whether the booking's row is there.
bool BookingExists(Database &db, RecordId bookingId);

// A booking that no longer exists (it was deleted with a room, or at another
// desk): a step saved for it writes nothing.
class BookingGone : public DbError
{
public:
    BookingGone() : DbError(QStringLiteral("This booking no longer exists.")) {}
};

// Adds the program's own SQL functions (the guard's refusal) to an engine
// connection (sqlite3 *) that writes bookings outside this class.
void RegisterEngineFunctions(void *sqliteHandle);
// Gives a database the stays index and the guard against double-booked
// rooms and links to missing rows, when it lacks them. Throws DbError.
void InstallGuard(void *sqliteHandle);
// Gives a database the table of the house's rules (the rule off) and the
// guard that reads it, when it lacks them. Throws DbError.
void InstallHouseRules(void *sqliteHandle);
// Gives a database the tables of the booking channels (ChannelTableStatements)
// when it lacks them. Throws DbError.
void InstallChannelTables(void *sqliteHandle);
// Gives a database the search index of its guests (FindIndexStatements)
// when it lacks it, filled from the bookings stored. Throws DbError.
void InstallFindIndex(void *sqliteHandle);

// Within a transaction: the check of each link written to bookingroom set
// aside (`suspend`) or back in place, for writing very many links at once
// and checking them all in one statement (StoredClashes) before the commit.
void SuspendLinkGuard(Database &db, bool suspend);

// Refuses, before anything is touched, a file to be written that is the
// database at `databasePath` or one of the engine's files beside it
// (-journal, -wal, -shm), by any name that leads there. Throws DbError.
void RequireOtherThanDatabase(const QString &databasePath, const QString &target);

// The rooms step's rule in the engine's terms, as the guard applies it: the
// stay stored from `from` to `to` (columns or expressions), taken from the
// midnight of its days, clashes with the other stay stored from `otherFrom`
// to `otherTo` when its first or last day lies within the other stay, both
// ends included, or the other stay lies wholly within it.
QString StaysClashSql(const QString &from, const QString &to, const QString &otherFrom, const QString &otherTo,
                      Engine engine = Engine::SQLite);

// The guard's condition that another booking than `booking` holds `room` for
// a stay that clashes with the stay from `from` to `to` (columns or
// expressions), by the house's rule as the statement runs, in the engine's
// terms: what every write is judged by, and what a check asked of many stays
// at once must use to agree with it.
QString ClashExistsSql(Engine engine, const QString &booking, const QString &room, const QString &from,
                       const QString &to);

// The condition on the stays index `alias` that finds the stays sharing a
// night with the days from `firstDay` to `lastDay`: each one's first day is
// before the other's last day (whole days; a stay's first and last day are
// the earlier and the later of its two dates). The rule when rooms can be
// booked from the day the guest leaves.
QString StaysShareNightSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay);

// The condition on the stays index `alias` (booking_stay: one row a booking,
// its first and last day as Julian day numbers) that finds the stays
// touching the days from `firstDay` to `lastDay`, both included, in the
// engine's terms: an R*Tree search in SQLite, a range search over a GiST
// index in PostgreSQL.
QString StaysTouchingSql(Engine engine, const QString &alias, const QString &firstDay, const QString &lastDay);
// The Julian day number of a stored date or date and time, in the engine's
// terms, as the stays index holds it.
QString DayNumberSql(Engine engine, const QString &date);

// What the operator is told when another desk holds the database for
// writing longer than a save waits.
QString BusyMessage();

// The day of a date, of a date and time, or of a text the region reads as
// one; an invalid date for anything else.
QDate DayOf(const QVariant &value);

// Month/day/four-digit year of a date, or of a text the region reads as a
// date; empty text for anything else (25 December 2002 at 14:30 gives 12/25/2002).
QString ToSQLDate(const QVariant &value);

// Two-digit day, the regional abbreviated month name and the four-digit
// year, separated by "-" (05-Mar-2002).
QString FormatSQLDate(const QDate &date);

// The permissions of a file written from the database (an export, a copy,
// a log): the database file's own; owner-only for a server's database.
QFileDevice::Permissions DataFilePermissions(const Database &db);

// A text as it is stored, the same on both engines: without control
// characters (NUL, tab, escape...) nor a leading byte order mark; line
// breaks kept (a note) or made a blank (a name, typed on one line).
QString StoredText(const QString &text, bool keepLineBreaks);

// A stored text (line breaks kept) with every single quote doubled, ready
// to stand between quotes in a statement.
QString SqlText(const QString &text);

}  // namespace innkeld
