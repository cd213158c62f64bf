// The SQLite file engine: a booking database in one file on this PC,
// opened through Qt's QSQLITE driver, whose engine handle it talks to for
// what Qt has no call for (the declared type of a result's column, the
// program's functions, rows read straight from the engine). It knows no
// table: the schema gives it the statements.
#pragma once

#include "data/sql/database.h"

#include <functional>
#include <memory>

namespace innkeld {

// Opens an existing database file; never creates one. Throws DbError with
// the engine's text when the file is missing or is not a database.
std::unique_ptr<Database> OpenDatabaseFile(const QString &path);
// Makes a new, empty database file, the owner's alone from its first byte,
// and opens it. Throws DbError when the file exists (it is left untouched)
// or cannot be made.
std::unique_ptr<Database> MakeDatabaseFile(const QString &path);
// Closes a database made by MakeDatabaseFile whose making failed, and
// removes its file.
void DiscardDatabaseFile(std::unique_ptr<Database> db);

// A part of an upgrade built aside while the rest of it runs: on a thread
// and connection of its own, in a database of its own in memory, from the rows of
// the database as another desk would read them (the database's tables read
// as house.<table>); started once the upgrade holds the write lock, so that
// no desk writes between. Its first statement takes what it reads of the
// database into its own at once: while it reads, the upgrade keeps
// what it writes in memory (with a rollback journal). On a server none is
// made.
class AsideBuild
{
public:
    static std::unique_ptr<AsideBuild> make(Database &db);
    ~AsideBuild();  // stops it; its database in memory goes
    AsideBuild(const AsideBuild &) = delete;
    AsideBuild &operator=(const AsideBuild &) = delete;

    // Runs the statements on the thread, then `check` (when given), a query
    // that answers 'ok' when what they built holds together.
    void start(const QStringList &statements, const QString &check);
    // Waits for the statements to be done, asking `stop` every 50 ms (true
    // stops them); false when they failed or were stopped, with the engine's
    // text in `failure` ("interrupted" when stopped).
    bool wait(const std::function<bool()> &stop, QString *failure);
    // Puts the rows of its own `tables` in place of those of the
    // database's tables of the same names, within its transaction. Throws
    // DbError.
    void carryOver(const QStringList &tables);

private:
    struct State;
    AsideBuild(Database &db, std::unique_ptr<State> state);
    Database &m_db;
    std::unique_ptr<State> m_state;
};

// One large transaction on a file (an upgrade): while no other connection
// has the file open, written with a rollback journal rather than the
// write-ahead log, so that what it adds is written once, not into the log
// and again into the file; the log again afterwards. Where the file is
// shared, or on a server, it changes nothing.
class BulkWrite
{
public:
    explicit BulkWrite(Database &db);
    ~BulkWrite();
    BulkWrite(const BulkWrite &) = delete;
    BulkWrite &operator=(const BulkWrite &) = delete;

private:
    Database &m_db;
    bool m_logAfter = false;
};

// Adds the program's own SQL functions (a trigger's refusal of a write) to
// an engine connection (sqlite3 *) that writes outside Database.
void RegisterEngineFunctions(void *sqliteHandle);

}  // namespace innkeld
