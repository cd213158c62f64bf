// The PostgreSQL side of Database: the connection to a server's database
// (through Qt's QPSQL driver, whose libpq connection it then talks to), its
// tables and guard, statements and rows. Used by database.cpp only.
#pragma once

#include "database.h"

namespace innkeld {

// A RowReader's rows from a server.
bool RowReaderServerNext(RowReader::ServerRows &rows);
RowReader::Type RowReaderServerType(const RowReader::ServerRows &rows, int column);
qint64 RowReaderServerInteger(const RowReader::ServerRows &rows, int column);
double RowReaderServerReal(const RowReader::ServerRows &rows, int column);
QByteArrayView RowReaderServerText(const RowReader::ServerRows &rows, int column);
void DeleteServerRows(RowReader::ServerRows *rows);

// The program's four tables, and the refusal of a database without one.
const QStringList &ProgramTables();
void RequireProgramTables(const Schema &schema, const QString &databaseName);

class ServerConnection
{
public:
    static void open(Database &db, const QString &address);
    static void create(const QString &address);
    static Recordset execute(Database &db, const QString &dialectSql, const QString &translated);
    static RowReader read(Database &db, const QString &translated);
    static void run(Database &db, const QString &sql);
    static qint64 count(Database &db, const QString &sql);
    // INSERT ... RETURNING *: the stored row by lower-case column name.
    static QHash<QString, QVariant> insert(Database &db, const QString &table, const QStringList &columns,
                                           const QVector<QVariant> &values);
    static void begin(Database &db);
    static void commit(Database &db);
    static void rollback(Database &db);
};

}  // namespace innkeld
