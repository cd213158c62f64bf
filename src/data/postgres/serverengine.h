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

namespace innkeld {

// A connection of its own that listens for the server's notifications on
// one channel, without blocking: the socket is watched by whoever holds it,
// and what came is read when it is readable.
class ServerListener
{
public:
    // Connects to `address` and listens on `channel`. Throws DbError.
    ServerListener(const QString &address, const QString &channel);
    ~ServerListener();
    ServerListener(const ServerListener &) = delete;
    ServerListener &operator=(const ServerListener &) = delete;

    // The connection's socket, to watch for reading.
    int socket() const;
    struct Notice
    {
        int sender;       // the server process of the connection that sent it
        QString payload;
    };
    // The notifications that came since the last call. Throws DbError when
    // the connection was lost.
    QVector<Notice> take();

private:
    struct Conn;
    Conn *m_conn;
};

// The server process of the database's own connection, as a notification
// names its sender (0 on a file).
int ServerProcessOf(const Database &db);

}  // namespace innkeld
