// The PostgreSQL engine: a booking database on a server that several desks
// share, reached through Qt's QPSQL driver, whose libpq connection it then
// talks to (the session, reconnecting after a restart, rows one at a time,
// the server's words said plainly). It knows no table: the schema gives it
// the statements.
#pragma once

#include "data/sql/database.h"

namespace innkeld {

class ServerEngine final : public Database::Connection
{
public:
    // Connects to the server's database at `address`: postgresql://[user
    // [:password]@][host][:port][/dbname][?key=value...]; what it leaves
    // out comes from PGHOST, PGPORT, PGUSER, PGPASSWORD, PGDATABASE and
    // ~/.pgpass, as for every libpq program. Throws DbError.
    static std::unique_ptr<Database> open(const QString &address);

    void run(Database &db, const QString &engineSql) override;
    Recordset execute(Database &db, const QString &dialectSql, const QString &translated) override;
    RowReader read(Database &db, const QString &translated) override;
    qint64 count(Database &db, const QString &engineSql) override;
    // INSERT ... RETURNING *.
    QHash<QString, QVariant> insert(Database &db, const QString &table, const QStringList &columns,
                                   const QVector<QVariant> &values) override;
    void begin(Database &db, const QString &lock) override;
    void commit(Database &db) override;
    void rollback(Database &db) override;
    void loadSchema(Database &db, const TableNames &names) override;
    void *handle(const Database &db) const override;
};

}  // namespace innkeld
