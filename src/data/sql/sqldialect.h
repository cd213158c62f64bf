// The SQL dialect of the booking database. Statements are written the way
// the front desk program has always written them (month-first #m/d/yyyy#
// date literals, quoted regional-format amounts and dates assigned to typed
// columns, a trailing ";"); this translates them into SQLite's or
// PostgreSQL's terms, token by token, so that text inside string literals is
// never touched.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <stdexcept>

namespace innkeld {

// A failure reported by the database or by the dialect, with its own text.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

enum class ColumnKind { Text, Integer, Number, Money, Date };

// The engine a database lives in: an SQLite file on one PC, or a PostgreSQL
// server that several desks share.
enum class Engine { SQLite, PostgreSQL };

// The kind of a column as declared in the database ("DATETIME", "CURRENCY"...).
ColumnKind KindFromDeclaredType(const QString &declaredType);

// The columns of the database's tables, looked up without regard to case.
class Schema
{
public:
    void addColumn(const QString &table, const QString &column, ColumnKind kind);
    bool hasTable(const QString &table) const;
    // The columns of a table in their declared order (as first written).
    QStringList columns(const QString &table) const;
    // The table's own spelling of its name.
    QString tableName(const QString &table) const;
    bool kindOf(const QString &table, const QString &column, ColumnKind *kind) const;
    // The kind of a column name when every table that has such a column gives
    // it the same kind; false when no table has it or the tables disagree.
    bool kindOfAnyTable(const QString &column, ColumnKind *kind) const;

private:
    struct Table
    {
        QString name;
        QStringList columns;
        QHash<QString, ColumnKind> kinds;  // lower-case column name
    };
    QHash<QString, Table> m_tables;  // lower-case table name
};

struct SqlToken
{
    enum Kind { Space, Comment, String, QuotedIdent, DateLiteral, Word, Number, Symbol };
    Kind kind;
    QString text;   // as written in the statement
    bool converted = false;  // already in the engine's own form
};

// Splits a statement into tokens. Throws DbError on an unterminated string,
// quoted name or date literal.
QVector<SqlToken> TokenizeSql(const QString &sql);

// The stored form of a date and time: "yyyy-MM-dd HH:mm:ss", which sorts and
// compares as the dates do.
QString CanonicalDateText(const QDateTime &value);

// Reads the stored form back as a wall-clock value; invalid for any other text.
QDateTime StoredDateTime(const QString &text);

// Reads a date literal's inner text month first: m/d/yyyy, optionally with a
// time written as h:mm[:ss] with or without AM/PM; also yyyy-mm-dd. Returns
// an invalid date for anything else.
QDateTime ParseDateLiteral(const QString &inner);

// Translates one statement of the dialect into the engine's terms. Throws
// DbError with a clear message when a value cannot be converted into its
// column's type or the text is not one statement. For PostgreSQL, date
// literals become typed timestamps, names in brackets, backquotes or double
// quotes become the server's (lower-case) names, LIKE ignores case as it does
// in SQLite, and min() and max() of several values become least() and
// greatest().
QString TranslateSql(const QString &sql, const Schema &schema, Engine engine = Engine::SQLite);

// The value of a quoted text converted for a column of the given kind, as an
// SQLite literal; throws DbError when the text does not convert.
QString ConvertTextForColumn(const QString &text, ColumnKind kind, const QString &column);

}  // namespace innkeld
