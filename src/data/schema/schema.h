// The booking database's schema: its parts, listed once, which opening a
// database installs or upgrades and a new database is made with, the same
// way on both engines. A feature's tables are one file in this folder
// giving its SchemaPart, and one line in schema.cpp's list.
#pragma once

#include "data/sql/database.h"

namespace innkeld {

// Opens an existing database: a file (never made here), or a server's
// address (postgresql://...; one that holds none of the booking tables gets
// every table, empty, as a new house). What an earlier version's database
// lacks is given to it in one transaction; a file that cannot be written
// now reads what it lacks through temporary tables. Throws DbError with the
// engine's text when the file is missing, is not a database or lacks the
// booking tables.
std::unique_ptr<Database> OpenDatabase(const QString &path);

// Makes a new database with every table, empty, in one transaction. Throws
// DbError when the file exists (it is left untouched) or cannot be written,
// or when the server's database already holds one of the booking tables.
void CreateDatabase(const QString &path);

// Gives an open database what it lacks of the schema (a part removed or
// set aside), in one transaction. Throws DbError.
void UpgradeDatabase(Database &db);

}  // namespace innkeld
