// Copies of the booking database: one the operator asks for, the daily one
// kept beside the database, and the engine's check of a file.
#pragma once

#include "data/database.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>

namespace innkeld {

// Writes a consistent copy of the open database to `target` (the engine's
// VACUUM INTO, safe while the program runs): written beside the target and
// put in its place when whole. Throws DbError with the engine's or the
// system's text.
void BackUpDatabase(Database &db, const QString &target);

// The engine's integrity check of a database file: "ok", or its report.
// Throws DbError when the file cannot be opened as a database.
QString CheckDatabase(const QString &path);

// A copy of the open database made a slice at a time (the engine's online
// backup), so that the program stays responsive; what is written meanwhile
// is in the copy. The copy is put in place when whole; one not finished
// leaves nothing behind.
class DatabaseCopy
{
public:
    DatabaseCopy(Database &db, const QString &target);  // throws DbError
    ~DatabaseCopy();
    DatabaseCopy(const DatabaseCopy &) = delete;
    DatabaseCopy &operator=(const DatabaseCopy &) = delete;

    // Copies the next pages; true when the copy is complete and in place.
    // Throws DbError.
    bool step(int pages = 512);

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
    QString m_target;
    QString m_part;
    bool m_done = false;
};

// The daily copies kept beside a database: backups/db-YYYY-MM-DD.mdb.
QString DailyBackupFolder(const QString &databasePath);
QString DailyBackupPath(const QString &databasePath, const QDate &day);
// Removes all but the newest `keep` daily copies; returns those removed.
QStringList PruneDailyBackups(const QString &databasePath, int keep = 14);

}  // namespace innkeld
