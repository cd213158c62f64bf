// The PostgreSQL engine: a booking database on a server that several desks
// share, reached through Qt's QPSQL driver, whose libpq connection it then
// talks to (the session, reconnecting after a restart, rows one at a time,
// the server's words said plainly). It knows no table: the schema gives it
// the statements.
#pragma once

#include "data/sql/database.h"

namespace innkeld {

// Connects to the server's database at `address`: postgresql://[user
// [:password]@][host][:port][/dbname][?key=value...]; what it leaves out
// comes from PGHOST, PGPORT, PGUSER, PGPASSWORD, PGDATABASE and ~/.pgpass,
// as for every libpq program. Throws DbError.
std::unique_ptr<Database> OpenServerDatabase(const QString &address);

}  // namespace innkeld
