// A database as the program talks to it, whatever its engine (an SQLite
// file, or a PostgreSQL server that several desks share): one connection,
// statements in the program's SQL dialect run as text, rows read forward,
// rows added through table cursors that read back the new key, and
// transactions. The engines (data/sqlite, data/postgres) make the
// connection and do the engine's part; this knows no table.
#pragma once

#include "sqldialect.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDevice>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
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
    friend class FileEngine;
    friend class ServerEngine;
    // The rows of the engine's statement `sql`, named `names`, from its first.
    Recordset(Database &db, const QString &sql, const QStringList &names, std::unique_ptr<Cursor> cursor);
    void readRow();
    std::unique_ptr<Cursor> m_cursor;
    Database *m_db = nullptr;
    QString m_sql;  // as the engine runs it
    QStringList m_names;
    QVector<QVariant> m_row;
    bool m_hasRow = false;
};


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
    bool next() { return m_rows && m_rows->next(); }
    int columnCount() const { return int(m_kinds.size()); }
    QString columnName(int column) const { return m_names.value(column); }
    // The declared kind of a column; Text for an expression.
    ColumnKind kind(int column) const { return m_kinds.at(column); }

    Type type(int column) const { return m_rows->type(column); }
    qint64 integer(int column) const { return m_rows->integer(column); }
    double real(int column) const { return m_rows->real(column); }
    QByteArrayView text(int column) const { return m_rows->text(column); }  // UTF-8

    // Where the rows come from: the engine's statement.
    struct Rows
    {
        virtual ~Rows() = default;
        virtual bool next() = 0;
        virtual Type type(int column) const = 0;
        virtual qint64 integer(int column) const = 0;
        virtual double real(int column) const = 0;
        virtual QByteArrayView text(int column) const = 0;
    };

private:
    friend class FileEngine;
    friend class ServerEngine;
    explicit RowReader(std::unique_ptr<Rows> rows);
    std::unique_ptr<Rows> m_rows;
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

// How the program names the tables it reads through the dialect, as the
// schema gives them to the engine.
struct TableNames
{
    // The beginnings of the names of tables that are an index's own (the
    // stays, the search): no statement of the dialect reads them.
    QStringList hidden;
    // The tables whose columns name a server's result column first.
    QStringList first;
    // The program's spelling of the columns of the tables `spelled` (a
    // server keeps names in lower case).
    QStringList spelled;
    QStringList spelling;
};

class Database
{
public:
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    Engine engineKind() const { return m_engine; }
    bool onServer() const { return m_engine == Engine::PostgreSQL; }
    // Runs statements in the engine's own terms (not the dialect): for the
    // schema, the copy between engines and the tools. Throws DbError.
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
    // The same for a query in the engine's own terms.
    RowReader readRows(const QString &engineSql);
    TableCursor openTable(const QString &name);

    // Keeps the text of each statement run from now on, as the engine runs
    // it (nullptr stops it): for looking at the plans of an action.
    void setStatementLog(QStringList *log) { m_log = log; }

    // Reads the columns of the database's tables from the engine's catalogue,
    // as the dialect reads them (again after tables were made). Throws DbError.
    void loadSchema(const TableNames &names);
    const Schema &schema() const { return m_schema; }
    // The statement each transaction runs first on a server, taking the
    // writers' lock (empty: none).
    void setWriteLock(const QString &engineSql) { m_writeLock = engineSql; }

    // The file, or the server's address without its password.
    QString path() const { return m_path; }
    // What opens this database again (another thread's connection): the
    // file, or the server's address as it was given.
    QString address() const { return m_address.isEmpty() ? m_path : m_address; }
    QSqlDatabase connection() const;
    // The engine's own handle (sqlite3 *), for the work Qt has no call for;
    // throws DbError on a server.
    void *engine() const;
    // Asked now and then while a statement runs on a file: true stops it,
    // and it fails as "interrupted" (none: it runs to its end). A server's
    // statement runs to its end.
    void setStopCheck(std::function<bool()> stop) { m_connection->setStopCheck(*this, std::move(stop)); }

    // Groups the statements of one operator action: everything since begin()
    // is undone unless commit() is reached. It takes the write lock at once
    // (BEGIN IMMEDIATE; on a server, the write lock's statement, or `lock`
    // when given). Transactions do not nest: an inner one joins the outer.
    class Transaction
    {
    public:
        explicit Transaction(Database &db, const QString &lock = QString());
        ~Transaction();
        void commit();

    private:
        Database &m_db;
        bool m_owner = false;
        bool m_done = false;
    };

    // What an engine does for the database: made by the engine that opens it.
    class Connection
    {
    public:
        virtual ~Connection() = default;
        virtual void run(Database &db, const QString &engineSql) = 0;
        virtual Recordset execute(Database &db, const QString &dialectSql, const QString &translated) = 0;
        virtual RowReader read(Database &db, const QString &translated) = 0;
        virtual qint64 count(Database &db, const QString &engineSql) = 0;
        // INSERT: the stored row by lower-case column name.
        virtual QHash<QString, QVariant> insert(Database &db, const QString &table, const QStringList &columns,
                                               const QVector<QVariant> &values) = 0;
        virtual void begin(Database &db, const QString &lock) = 0;
        virtual void commit(Database &db) = 0;
        virtual void rollback(Database &db) = 0;
        virtual void loadSchema(Database &db, const TableNames &names) = 0;
        virtual void *handle(const Database &db) const = 0;
        virtual void setStopCheck(Database &, std::function<bool()>) {}
    };

private:
    friend class TableCursor;
    friend class Recordset;
    friend class FileEngine;
    friend class ServerEngine;
    Database(Engine engine, std::unique_ptr<Connection> connection)
        : m_engine(engine), m_connection(std::move(connection)) {}
    QVariant storedValue(const QString &column, ColumnKind kind, const QVariant &value) const;
    QString translate(const QString &sql);
    Recordset executeTranslated(const QString &sql, const QString &translated);

    Engine m_engine;
    std::unique_ptr<Connection> m_connection;
    QString m_connectionName;
    QString m_path;
    QString m_address;
    Schema m_schema;
    TableNames m_names;
    QString m_writeLock;
    bool m_inTransaction = false;
    QStringList *m_log = nullptr;
};

// Whether a database is named by a server's address (postgresql://... or
// postgres://..., the form every PostgreSQL program takes) rather than a file.
bool IsServerAddress(const QString &name);
// The address as it may be shown and remembered: without its password.
QString AddressWithoutPassword(const QString &name);

// A booking that no longer exists (it was deleted with a room, or at another
// desk): a step saved for it writes nothing.
class BookingGone : public DbError
{
public:
    BookingGone() : DbError(QCoreApplication::translate("Database", "This booking no longer exists.")) {}
};

// Refuses, before anything is touched, a file to be written that is the
// database at `databasePath` or one of the engine's files beside it
// (-journal, -wal, -shm), by any name that leads there. Throws DbError.
void RequireOtherThanDatabase(const QString &databasePath, const QString &target);

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
