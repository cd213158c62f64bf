// Copies of the booking database: one the operator asks for, the daily one
// kept beside the database, and the engine's check of a file.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace innkeld {

// Told of the bytes copied and the bytes to copy now and then; returning
// false stops the copy.
using CopyProgress = std::function<bool(qint64 done, qint64 total)>;

// A copy whose engine check failed: the database it was made from is
// damaged. The copy is kept under `keptAs`; nothing else was replaced.
class DamagedCopy : public DbError
{
public:
    DamagedCopy(const QString &message, const QString &keptAs) : DbError(message), m_keptAs(keptAs) {}
    QString keptAs() const { return m_keptAs; }

private:
    QString m_keptAs;
};

// Writes a consistent copy of the open database to `target` (the engine's
// VACUUM INTO, safe while the program and other desks run), with the
// database file's own permissions from its first byte. The copy is written
// beside the target, checked by the engine (quick_check) and put in place
// only when whole and sound; a damaged one is kept beside the target with
// "-damaged" in its name (DamagedCopy). The open database file and its
// companions are never a target. Returns false when `progress` stopped it
// (nothing is left behind); throws DbError with the engine's or the
// system's text.
bool BackUpDatabase(Database &db, const QString &target, const CopyProgress &progress = {});

// The engine's integrity check of a database file: "ok", or its report.
// Throws DbError when the file cannot be opened as a database.
QString CheckDatabase(const QString &path);

// What `innkeld-sql --check` reports beyond the engine's check: each pair of
// bookings that hold one room for stays that clash by the house's rule
// (ReadStoredStays: room, both bookings and their days), and each link to a
// room or booking that is not there. Empty when there is none.
QStringList StoredClashes(Database &db);

// The daily copies kept beside a database: backups/db-YYYY-MM-DD.mdb, and a
// copy that failed its check as backups/db-YYYY-MM-DD-damaged.mdb.
QString DailyBackupFolder(const QString &databasePath);
QString DailyBackupPath(const QString &databasePath, const QDate &day);
// The newest daily copy that passed its check; empty when there is none.
QString NewestGoodBackup(const QString &databasePath);
// Removes all but the newest `keep` good daily copies; returns those
// removed. Copies kept as damaged are never counted or removed.
QStringList PruneDailyBackups(const QString &databasePath, int keep = 14);

// Today's copy of the database into its backups folder, unless it is there
// (with `refresh`, unless it is there and the database has not changed
// since it was made; a new one then replaces it whole): left-overs of a
// copy that was stopped are removed first, the new copy checked, and only
// then the oldest good ones pruned. Returns false when stopped. Throws
// DamagedCopy (the database is damaged) or DbError.
bool MakeDailyBackup(Database &db, const QDate &day, const CopyProgress &progress = {}, bool refresh = false);

// When the database file (or its write-ahead log) was last written.
QDateTime LastDatabaseChange(const QString &databasePath);
// Whether the day's copy is missing or older than the database's last change.
bool DailyBackupOutdated(const QString &databasePath, const QDate &day);

// The message for a damaged database: its file and the newest good copy.
QString DamagedDatabaseMessage(const QString &databasePath, const QString &engineText);

}  // namespace innkeld
