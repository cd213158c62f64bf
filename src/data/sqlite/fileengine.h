// The SQLite file engine: a booking database in one file on this PC,
// opened through Qt's QSQLITE driver, whose engine handle it talks to for
// what Qt has no call for (the declared type of a result's column, the
// program's functions, rows read straight from the engine). It knows no
// table: the schema gives it the statements.
#pragma once

#include "data/sql/database.h"

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

// Adds the program's own SQL functions (a trigger's refusal of a write) to
// an engine connection (sqlite3 *) that writes outside Database.
void RegisterEngineFunctions(void *sqliteHandle);

}  // namespace innkeld
