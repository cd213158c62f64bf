#include "database.h"

#include "data/regional/regional.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <QUrlQuery>

#include <sys/stat.h>

#include <cmath>

namespace innkeld {

// ---------------------------------------------------------------- Recordset

void Recordset::Cursor::fetch()
{
    hasAhead = false;
    ahead.clear();
    hasAhead = next(ahead);
}

Recordset::Recordset() = default;

Recordset::Recordset(Database &db, const QString &sql, const QStringList &names, std::unique_ptr<Cursor> cursor)
    : m_cursor(std::move(cursor)), m_db(&db), m_sql(sql), m_names(names)
{
    m_cursor->fetch();
    readRow();
}

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
    return int(m_db->m_connection->count(*m_db, m_sql));
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

// ---------------------------------------------------------------- Database

Database::~Database()
{
    m_connection.reset();
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

void *Database::engine() const
{
    if (onServer())
        throw DbError(QStringLiteral("This is done on a database file, not on a server's database."));
    return m_connection->handle(*this);
}

void Database::loadSchema(const TableNames &names)
{
    m_names = names;
    m_schema = Schema();
    m_connection->loadSchema(*this, names);
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
    m_connection->run(*this, engineSql);
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
    return m_connection->execute(*this, sql, translated);
}

RowReader Database::read(const QString &sql)
{
    return m_connection->read(*this, translate(sql));
}

RowReader Database::readRows(const QString &engineSql)
{
    if (m_log)
        m_log->append(engineSql);
    return m_connection->read(*this, engineSql);
}

RowReader::RowReader(std::unique_ptr<Rows> rows) : m_rows(std::move(rows)) {}
RowReader::RowReader(RowReader &&) noexcept = default;
RowReader &RowReader::operator=(RowReader &&) noexcept = default;
RowReader::~RowReader() = default;

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

Database::Transaction::Transaction(Database &db, const QString &lock) : m_db(db)
{
    if (db.m_inTransaction)
        return;
    // The write lock is taken at the start: a second desk waits for it here
    // (up to the busy timeout) instead of failing half way through.
    db.m_connection->begin(db, lock.isEmpty() ? db.m_writeLock : lock);
    db.m_inTransaction = true;
    m_owner = true;
}

Database::Transaction::~Transaction()
{
    if (m_owner && !m_done) {
        m_db.m_connection->rollback(m_db);
        m_db.m_inTransaction = false;
    }
}

void Database::Transaction::commit()
{
    if (!m_owner || m_done)
        return;
    m_done = true;
    m_db.m_inTransaction = false;
    m_db.m_connection->commit(m_db);
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
    m_row = m_db->m_connection->insert(*m_db, m_table, m_setNames, m_setValues);
    m_adding = false;
}

QVariant TableCursor::field(const QString &name) const
{
    const auto it = m_row.constFind(name.toLower());
    if (it == m_row.constEnd())
        throw DbError(QStringLiteral("Item cannot be found in the collection: there is no field %1.").arg(name));
    return *it;
}

// ---------------------------------------------------------------- date text

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
        throw DbError(QCoreApplication::translate("Database", "%1 is the bookings' own database file; choose another file.")
                          .arg(QDir::toNativeSeparators(target)));
}

QString BusyMessage()
{
    return QCoreApplication::translate("Database", "Another desk is saving; try again.");
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

