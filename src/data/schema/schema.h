// The booking database's schema: its parts, listed once, which opening a
// database installs or upgrades and a new database is made with, the same
// way on both engines. A feature's tables are one file in this folder
// giving its SchemaPart, and one line in schema.cpp's list.
#pragma once

#include "data/sql/database.h"

class QObject;
class QThread;

namespace innkeld {

// Opens an existing database: a file (never made here), or a server's
// address (postgresql://...; one that holds none of the booking tables gets
// every table, empty, as a new house). What an earlier version's database
// lacks is given to it in one transaction; a file that cannot be written
// now reads what it lacks through temporary tables. Throws DbError with the
// engine's text when the file is missing, is not a database or lacks the
// booking tables.
// `upgrade` false: opened as it is, for DatabaseNeedsUpgrade and
// UpgradeDatabase with progress.
// What an upgrade stopped on request says (in the program's language).
QString UpgradeStoppedMessage();

std::unique_ptr<Database> OpenDatabase(const QString &path, bool upgrade = true);

// Runs `work` on a thread of its own (low priority) with a connection of
// its own to the database at `address`, opened as it is; then, on the
// thread of `owner`, `finished` with the failure's text (empty when none)
// unless the owner is gone. The thread deletes itself after `finished`; an
// owner destroyed first waits for it and deletes it.
QThread *RunOnOwnConnection(QObject *owner, const QString &address, const std::function<void(Database &)> &work,
                            const std::function<void(const QString &failure)> &finished);

// Makes a new database with every table, empty, in one transaction. Throws
// DbError when the file exists (it is left untouched) or cannot be written,
// or when the server's database already holds one of the booking tables.
void CreateDatabase(const QString &path);

// Whether a database (opened as it is) lacks a part of the schema: what a
// first start after installing a newer program gives it, which can take
// minutes in a house of many years.
bool DatabaseNeedsUpgrade(Database &db);

// Told before each step of an upgrade: the steps done, the steps in all and
// what the step does; false stops the upgrade.
using UpgradeProgress = std::function<bool(int done, int total, const QString &what)>;

// Gives an open database what it lacks of the schema (a part removed or
// set aside), in one transaction. Without `progress`, a file that cannot
// be written now reads what it lacks through temporary tables. With it, a
// stop (between steps, or within one on a file) undoes the whole: the
// database is as it was, and the next upgrade starts again. Throws DbError.
// False when the database lacked nothing (nothing was done).
bool UpgradeDatabase(Database &db, const UpgradeProgress &progress = {});

// On a server: lets the desks' role `role` read and write the house's rows
// and use its keys, owning nothing (no desk can alter, disable or replace a
// guard); kept, so that each upgrade gives it what it adds. Run by the
// database's owner. Throws DbError.
void GrantDesk(Database &db, const QString &role);

}  // namespace innkeld
