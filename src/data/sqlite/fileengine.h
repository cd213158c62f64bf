// The SQLite file engine: a booking database in one file on this PC,
// opened through Qt's QSQLITE driver, whose engine handle it talks to for
// what Qt has no call for (the declared type of a result's column, the
// program's functions, rows read straight from the engine). It knows no
// table: the schema gives it the statements.
#pragma once

#include "data/sql/database.h"

namespace innkeld {

class FileEngine final : public Database::Connection
{
public:
    // Opens an existing database file; never creates one. Throws DbError with
    // the engine's text when the file is missing or is not a database.
    static std::unique_ptr<Database> open(const QString &path);
    // Makes a new, empty database file, the owner's alone from its first
    // byte, and opens it. Throws DbError when the file exists (it is left
    // untouched) or cannot be made.
    static std::unique_ptr<Database> makeNew(const QString &path);
    // Closes a database made by makeNew whose making failed, and removes it.
    static void discardNew(std::unique_ptr<Database> db);

    void run(Database &db, const QString &engineSql) override;
    Recordset execute(Database &db, const QString &dialectSql, const QString &translated) override;
    RowReader read(Database &db, const QString &translated) override;
    qint64 count(Database &db, const QString &engineSql) override;
    QHash<QString, QVariant> insert(Database &db, const QString &table, const QStringList &columns,
                                   const QVector<QVariant> &values) override;
    void begin(Database &db, const QString &lock) override;
    void commit(Database &db) override;
    void rollback(Database &db) override;
    void loadSchema(Database &db, const TableNames &names) override;
    void *handle(const Database &db) const override;
};

// Adds the program's own SQL functions (a trigger's refusal of a write) to
// an engine connection (sqlite3 *) that writes outside Database.
void RegisterEngineFunctions(void *sqliteHandle);

}  // namespace innkeld
