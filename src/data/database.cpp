#include "database.h"

#include "regional.h"

#include <QAtomicInt>
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

#include <cmath>

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
    return tables + indexStatements();
}

QString engineText(const QSqlError &error)
{
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

const QStringList kTables{QStringLiteral("booking"), QStringLiteral("customer"), QStringLiteral("room"),
                          QStringLiteral("bookingroom")};

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

// What a Recordset reads from: the engine's statement and how each of its
// columns is read back.
struct Recordset::Cursor
{
    QSqlQuery query;
    QVector<ColumnKind> kinds;
    QVector<bool> typed;
    // The row after the current one, read ahead: the statement is finished,
    // and its read lock given back, as soon as its last row has been read,
    // not only when the Recordset goes (another desk may be waiting to write).
    QVector<QVariant> ahead;
    bool hasAhead = false;

    // Reads the next row from the engine into `ahead`; finishes the
    // statement at its end.
    void fetch(int columns)
    {
        hasAhead = false;
        ahead.clear();
        if (!query.isActive())
            return;
        if (!query.next()) {
            const QSqlError error = query.lastError();
            query.finish();
            if (error.isValid())
                throw DbError(engineText(error));
            return;
        }
        ahead.reserve(columns);
        for (int i = 0; i < columns; ++i)
            ahead << fromStored(query.value(i), kinds.at(i), typed.at(i));
        hasAhead = true;
    }
};

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
    m_cursor->fetch(m_names.size());
}

void Recordset::moveNext()
{
    if (m_hasRow)
        readRow();
}

int Recordset::rowCount() const
{
    if (m_sql.isEmpty())
        return 0;
    QSqlQuery q(QSqlDatabase::database(m_connectionName, false));
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

std::unique_ptr<Database> Database::open(const QString &path)
{
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
        QSqlQuery q(c);
        // A statement that has returned is on the disk.
        runOrThrow(q, QStringLiteral("PRAGMA synchronous = FULL"));
        runOrThrow(q, QStringLiteral("PRAGMA journal_mode = DELETE"));
        // A database made before an index was added gets it now; that
        // changes no data. A file that cannot be written (read-only, or
        // locked by another desk just now) is used without it.
        for (const QString &sql : indexStatements())
            if (!q.exec(sql))
                break;
    }
    db->loadSchema();
    return db;
}

void Database::loadSchema()
{
    QSqlQuery q(connection());
    runOrThrow(q, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
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
    for (const QString &table : kTables)
        if (!m_schema.hasTable(table))
            throw DbError(QStringLiteral("The database '%1' has no table '%2'.").arg(m_path, table));
}

void Database::create(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        throw DbError(QStringLiteral("The file '%1' already exists.").arg(info.absoluteFilePath()));
    const QString name = newConnectionName();
    QString failure;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        c.setDatabaseName(QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded)
                          + QStringLiteral("?mode=rwc"));
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

Recordset Database::execute(const QString &sql)
{
    const QString translated = TranslateSql(sql, m_schema);
    auto cursor = std::make_unique<Recordset::Cursor>();
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
    cursor->fetch(rec.count());
    rs.m_cursor = std::move(cursor);
    rs.m_connectionName = m_connectionName;
    rs.m_sql = translated;
    rs.readRow();
    return rs;
}

RowReader Database::read(const QString &sql)
{
    const QString translated = TranslateSql(sql, m_schema);
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
      m_kinds(std::move(other.m_kinds)),
      m_names(std::move(other.m_names))
{
}

RowReader &RowReader::operator=(RowReader &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(static_cast<sqlite3_stmt *>(m_statement));
        m_statement = std::exchange(other.m_statement, nullptr);
        m_kinds = std::move(other.m_kinds);
        m_names = std::move(other.m_names);
    }
    return *this;
}

RowReader::~RowReader()
{
    sqlite3_finalize(static_cast<sqlite3_stmt *>(m_statement));
}

bool RowReader::next()
{
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
    return sqlite3_column_int64(static_cast<sqlite3_stmt *>(m_statement), column);
}

double RowReader::real(int column) const
{
    return sqlite3_column_double(static_cast<sqlite3_stmt *>(m_statement), column);
}

QByteArrayView RowReader::text(int column) const
{
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
    QSqlQuery begin(db.connection());
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DbError(engineText(begin.lastError()));
    db.m_inTransaction = true;
    m_owner = true;
}

Database::Transaction::~Transaction()
{
    if (m_owner && !m_done) {
        m_db.connection().rollback();
        m_db.m_inTransaction = false;
    }
}

void Database::Transaction::commit()
{
    if (!m_owner || m_done)
        return;
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
    const QVariant stored = m_db->storedValue(name, kind, value);
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

QString SqlText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("'"), QLatin1String("''"));
    return t;
}

}  // namespace innkeld
