#include "bookingstatus.h"

#include "bookingtables.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

const QString kStatuses = QStringLiteral("'booked', 'checkedin', 'checkedout', 'noshow', 'cancelled'");
const QString kReasons = QStringLiteral("'', 'guest', 'house', 'noshow', 'channel', 'other'");
// The changes the desk makes: check in, check out, no-show, cancel, and
// the restoring of a cancelled or no-show booking.
const QString kChanges = QStringLiteral("'booked>checkedin', 'booked>noshow', 'booked>cancelled', "
                                        "'checkedin>checkedout', 'cancelled>booked', 'noshow>booked'");
const QString kNoRoom = QStringLiteral("'cancelled', 'noshow'");
const QString kFrozen = QStringLiteral("'checkedout', 'cancelled', 'noshow'");

// What a status is called in the engine's own words.
QString label(const QString &status)
{
    return QStringLiteral("CASE %1 WHEN 'booked' THEN 'booked' WHEN 'checkedin' THEN 'checked in' WHEN 'checkedout' "
                          "THEN 'checked out' WHEN 'noshow' THEN 'a no-show' ELSE 'cancelled' END")
        .arg(status);
}

// What a change to a status is called.
QString done(const QString &status)
{
    return QStringLiteral("CASE %1 WHEN 'booked' THEN 'restored' WHEN 'checkedin' THEN 'checked in' WHEN 'checkedout' "
                          "THEN 'checked out' WHEN 'noshow' THEN 'marked a no-show' ELSE 'cancelled' END")
        .arg(status);
}

// Restoring a booking whose room another booking holds meanwhile: the
// room, the holder and its guest, as a text (none when every room is free).
QString restoreClash(Engine engine, const QString &booking)
{
    return QStringLiteral("SELECT 'The room ' || r.name || ' is held by booking ' || h.ID || ' (' || "
                          "trim(coalesce(c.FirstName, '') || ' ' || coalesce(c.LastName, '')) || ') on these dates: "
                          "the booking ' || b.ID || ' cannot be restored.' FROM releasedroom AS l "
                          "JOIN booking AS b ON b.ID = l.bookingid JOIN room AS r ON r.id = l.roomid "
                          "JOIN booking AS h ON h.ID = %1 LEFT JOIN customer AS c ON c.ID = h.CustomerID "
                          "WHERE l.bookingid = %2 ORDER BY l.id LIMIT 1")
        .arg(ClashingBookingSql(engine, QStringLiteral("b.ID"), QStringLiteral("l.roomid"), QStringLiteral("b.FromDate"),
                                QStringLiteral("b.ToDate")),
             booking);
}

const char *const kHistoryKept = "A booking's history is kept as it was written.";
const char *const kByActions = "A booking's status is changed only by the desk's actions, each kept in its history.";

// A text of the program's as an SQL literal.
QString literal(const char *text)
{
    return QLatin1Char('\'') + QString::fromLatin1(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString keptBecause(const QString &id, const QString &why)
{
    return QStringLiteral("'The booking ' || %1 || ' %2: it is kept, and can be cancelled instead.'").arg(id, why);
}

QStringList fileGuards()
{
    return {
        QStringLiteral("CREATE TRIGGER bookingstatus_change BEFORE INSERT ON bookingstatus BEGIN "
                       "SELECT innkeld_refuse('There is no booking ' || NEW.bookingid || '.') "
                       "WHERE NOT EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid); "
                       "SELECT innkeld_refuse('The booking ' || ID || ' has no guest yet: it is discarded, not ' || %1 || '.') "
                       "FROM booking WHERE ID = NEW.bookingid AND CustomerID = 0; "
                       "SELECT innkeld_refuse('The booking ' || ID || ' is ' || %2 || ': it cannot be ' || %1 || '.') "
                       "FROM booking WHERE ID = NEW.bookingid AND (Status || '>' || NEW.Status) NOT IN (%3); "
                       "SELECT innkeld_refuse('A cancellation fee is kept only with a cancellation, and is never below "
                       "nothing.') WHERE NEW.FeeCents <> 0 AND (NEW.Status <> 'cancelled' OR NEW.FeeCents < 0); "
                       "SELECT innkeld_refuse((%4)) WHERE NEW.Status = 'booked' AND (%4) IS NOT NULL; END")
            .arg(done(QStringLiteral("NEW.Status")), label(QStringLiteral("Status")), kChanges,
                 restoreClash(Engine::SQLite, QStringLiteral("NEW.bookingid"))),
        // The booking's status first: its rooms are then released to, or
        // taken back from, the rooms it held.
        QStringLiteral("CREATE TRIGGER bookingstatus_apply AFTER INSERT ON bookingstatus BEGIN "
                       "UPDATE booking SET Status = NEW.Status WHERE ID = NEW.bookingid; "
                       "INSERT INTO releasedroom (bookingid, roomid) SELECT bookingid, roomid FROM bookingroom "
                       "WHERE bookingid = NEW.bookingid AND NEW.Status IN (%1) ORDER BY id; "
                       "DELETE FROM bookingroom WHERE bookingid = NEW.bookingid AND NEW.Status IN (%1); "
                       "INSERT INTO bookingroom (bookingid, roomid) SELECT bookingid, roomid FROM releasedroom "
                       "WHERE bookingid = NEW.bookingid AND NEW.Status = 'booked' ORDER BY id; "
                       "DELETE FROM releasedroom WHERE bookingid = NEW.bookingid AND NEW.Status = 'booked'; END")
            .arg(kNoRoom),
        QStringLiteral("CREATE TRIGGER bookingstatus_kept BEFORE UPDATE ON bookingstatus BEGIN "
                       "SELECT innkeld_refuse(%1); END")
            .arg(literal(kHistoryKept)),
        QStringLiteral("CREATE TRIGGER bookingstatus_kept_delete BEFORE DELETE ON bookingstatus BEGIN "
                       "SELECT innkeld_refuse(%1); END")
            .arg(literal(kHistoryKept)),
        QStringLiteral("CREATE TRIGGER booking_status_guard BEFORE UPDATE OF Status ON booking "
                       "WHEN NEW.Status IS NOT OLD.Status BEGIN SELECT innkeld_refuse(%1) WHERE NEW.Status IS NOT "
                       "(SELECT Status FROM bookingstatus WHERE bookingid = NEW.ID ORDER BY id DESC LIMIT 1); END")
            .arg(literal(kByActions)),
        QStringLiteral("CREATE TRIGGER booking_status_new BEFORE INSERT ON booking WHEN NEW.Status <> 'booked' BEGIN "
                       "SELECT innkeld_refuse(%1); END")
            .arg(literal(kByActions)),
        QStringLiteral("CREATE TRIGGER booking_stay_frozen BEFORE UPDATE OF FromDate, ToDate ON booking "
                       "WHEN OLD.Status IN (%1) AND (NEW.FromDate IS NOT OLD.FromDate OR NEW.ToDate IS NOT OLD.ToDate) "
                       "BEGIN SELECT innkeld_refuse('The booking ' || OLD.ID || ' is ' || %2 || ': its stay cannot change.'); END")
            .arg(kFrozen, label(QStringLiteral("OLD.Status"))),
        QStringLiteral("CREATE TRIGGER bookingroom_status BEFORE INSERT ON bookingroom BEGIN "
                       "SELECT innkeld_refuse('The booking ' || ID || ' is ' || %2 || ': its rooms cannot change.') "
                       "FROM booking WHERE ID = NEW.bookingid AND Status IN (%1); END")
            .arg(kFrozen, label(QStringLiteral("Status"))),
        QStringLiteral("CREATE TRIGGER bookingroom_status_update BEFORE UPDATE OF bookingid, roomid ON bookingroom BEGIN "
                       "SELECT innkeld_refuse('The booking ' || ID || ' is ' || %2 || ': its rooms cannot change.') "
                       "FROM booking WHERE ID IN (OLD.bookingid, NEW.bookingid) AND Status IN (%1); END")
            .arg(kFrozen, label(QStringLiteral("Status"))),
        QStringLiteral("CREATE TRIGGER releasedroom_link BEFORE INSERT ON releasedroom BEGIN "
                       "SELECT innkeld_refuse('There is no room ' || NEW.roomid || ' in the house.') "
                       "WHERE NOT EXISTS (SELECT 1 FROM room WHERE id = NEW.roomid); "
                       "SELECT innkeld_refuse('The booking ' || NEW.bookingid || ' holds its rooms: only a cancelled or "
                       "no-show booking releases them.') WHERE NOT EXISTS (SELECT 1 FROM booking WHERE ID = "
                       "NEW.bookingid AND Status IN (%1)); END")
            .arg(kNoRoom),
        QStringLiteral("CREATE TRIGGER releasedroom_room_delete AFTER DELETE ON room BEGIN "
                       "DELETE FROM releasedroom WHERE roomid = OLD.id; END"),
        QStringLiteral("CREATE TRIGGER booking_kept BEFORE DELETE ON booking BEGIN "
                       "SELECT innkeld_refuse(%1) WHERE EXISTS (SELECT 1 FROM payment WHERE BookingID = OLD.ID); "
                       "SELECT innkeld_refuse(%2) WHERE EXISTS (SELECT 1 FROM invoice WHERE BookingID = OLD.ID); "
                       "SELECT innkeld_refuse('The booking ' || OLD.ID || ' is ' || %3 || ': it is kept.') "
                       "WHERE OLD.Status <> 'booked'; "
                       "SELECT innkeld_refuse(%4) WHERE OLD.CustomerID <> 0; END")
            .arg(keptBecause(QStringLiteral("OLD.ID"), QStringLiteral("has payments recorded")),
                 keptBecause(QStringLiteral("OLD.ID"), QStringLiteral("has an invoice")), label(QStringLiteral("OLD.Status")),
                 keptBecause(QStringLiteral("OLD.ID"), QStringLiteral("has a guest"))),
    };
}

// A date stored as the program stores it, compared as the engine's.
QStringList fill(Engine engine)
{
    const bool server = engine == Engine::PostgreSQL;
    const QString today = server ? QStringLiteral("current_date") : QStringLiteral("date('now', 'localtime')");
    const QString tomorrow = server ? QStringLiteral("current_date + 1") : QStringLiteral("date('now', 'localtime', '+1 day')");
    return {QStringLiteral("UPDATE booking SET Status = 'checkedout' WHERE CustomerID <> 0 AND ToDate < %1").arg(today),
            QStringLiteral("UPDATE booking SET Status = 'checkedin' WHERE CustomerID <> 0 AND ToDate >= %1 AND FromDate < %2")
                .arg(today, tomorrow)};
}

QStringList fileStatements(bool filled)
{
    QStringList statements{QStringLiteral("ALTER TABLE booking ADD COLUMN Status TEXT NOT NULL DEFAULT 'booked' "
                                          "CHECK (Status IN (%1))")
                               .arg(kStatuses)};
    if (filled)
        statements << fill(Engine::SQLite);
    return statements
        + QStringList{
            QStringLiteral("CREATE INDEX booking_status ON booking (Status, FromDate)"),
            QStringLiteral("CREATE TABLE bookingstatus (id INTEGER PRIMARY KEY AUTOINCREMENT, bookingid INTEGER NOT NULL, "
                           "Status TEXT NOT NULL CHECK (Status IN (%1)), "
                           "ChangedAt TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')) "
                           "CHECK (datetime(ChangedAt) = ChangedAt), ChangedBy TEXT NOT NULL DEFAULT '' "
                           "CHECK (length(ChangedBy) <= 200), Reason TEXT NOT NULL DEFAULT '' CHECK (Reason IN (%2)), "
                           "Note TEXT NOT NULL DEFAULT '' CHECK (length(Note) <= 4000), "
                           "FeeCents INTEGER NOT NULL DEFAULT 0 CHECK (typeof(FeeCents) = 'integer'))")
                .arg(kStatuses, kReasons),
            QStringLiteral("CREATE INDEX bookingstatus_booking ON bookingstatus (bookingid, id)"),
            QStringLiteral("CREATE TABLE releasedroom (id INTEGER PRIMARY KEY AUTOINCREMENT, bookingid INTEGER NOT NULL, "
                           "roomid INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX releasedroom_booking ON releasedroom (bookingid)"),
            QStringLiteral("CREATE INDEX releasedroom_room ON releasedroom (roomid)"),
        }
        + fileGuards();
}

QString raise(const QString &sqlText)
{
    return QStringLiteral("RAISE EXCEPTION '%', ") + sqlText + QStringLiteral("; ");
}

QStringList serverStatements(bool filled)
{
    QStringList statements{QStringLiteral("ALTER TABLE booking ADD COLUMN Status text NOT NULL DEFAULT 'booked' "
                                          "CHECK (Status IN (%1))")
                               .arg(kStatuses)};
    if (filled)
        statements << fill(Engine::PostgreSQL);
    const QString keep = literal(kHistoryKept);
    const QString byActions = literal(kByActions);
    return statements
        + QStringList{
            QStringLiteral("CREATE INDEX booking_status ON booking (Status, FromDate)"),
            QStringLiteral("CREATE TABLE bookingstatus (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                           "bookingid bigint NOT NULL REFERENCES booking (ID) ON DELETE CASCADE ON UPDATE CASCADE, "
                           "Status text NOT NULL CHECK (Status IN (%1)), "
                           "ChangedAt timestamp(0) without time zone NOT NULL DEFAULT date_trunc('second', localtimestamp), "
                           "ChangedBy text NOT NULL DEFAULT session_user CHECK (length(ChangedBy) <= 200), "
                           "Reason text NOT NULL DEFAULT '' CHECK (Reason IN (%2)), "
                           "Note text NOT NULL DEFAULT '' CHECK (length(Note) <= 4000), FeeCents bigint NOT NULL DEFAULT 0)")
                .arg(kStatuses, kReasons),
            QStringLiteral("CREATE INDEX bookingstatus_booking ON bookingstatus (bookingid, id)"),
            QStringLiteral("CREATE TABLE releasedroom (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                           "bookingid bigint NOT NULL REFERENCES booking (ID) ON DELETE CASCADE ON UPDATE CASCADE, "
                           "roomid bigint NOT NULL REFERENCES room (id) ON DELETE CASCADE ON UPDATE CASCADE)"),
            QStringLiteral("CREATE INDEX releasedroom_booking ON releasedroom (bookingid)"),
            QStringLiteral("CREATE INDEX releasedroom_room ON releasedroom (roomid)"),
            // The booking's row is locked first: of two desks changing it at
            // once, the second reads what the first stored.
            QStringLiteral("CREATE FUNCTION innkeld_status_change() RETURNS trigger LANGUAGE plpgsql AS $$ DECLARE "
                           "cur record; clash text; BEGIN "
                           "SELECT ID, Status, CustomerID INTO cur FROM booking WHERE ID = NEW.bookingid FOR UPDATE; "
                           "IF NOT FOUND THEN RAISE EXCEPTION 'There is no booking %.', NEW.bookingid; END IF; "
                           "IF cur.CustomerID = 0 THEN ")
                + raise(QStringLiteral("'The booking ' || cur.ID || ' has no guest yet: it is discarded, not ' || %1 || '.'")
                            .arg(done(QStringLiteral("NEW.Status"))))
                + QStringLiteral("END IF; IF (cur.Status || '>' || NEW.Status) NOT IN (%1) THEN ").arg(kChanges)
                + raise(QStringLiteral("'The booking ' || cur.ID || ' is ' || %1 || ': it cannot be ' || %2 || '.'")
                            .arg(label(QStringLiteral("cur.Status")), done(QStringLiteral("NEW.Status"))))
                + QStringLiteral("END IF; IF NEW.FeeCents <> 0 AND (NEW.Status <> 'cancelled' OR NEW.FeeCents < 0) THEN "
                                 "RAISE EXCEPTION 'A cancellation fee is kept only with a cancellation, and is never "
                                 "below nothing.'; END IF; IF NEW.Status = 'booked' THEN PERFORM innkeld_lock_stays(); ")
                + QStringLiteral("clash := (%1); IF clash IS NOT NULL THEN RAISE EXCEPTION '%', clash; END IF; END IF; "
                                 "RETURN NEW; END $$")
                      .arg(restoreClash(Engine::PostgreSQL, QStringLiteral("NEW.bookingid"))),
            QStringLiteral("CREATE TRIGGER bookingstatus_change BEFORE INSERT ON bookingstatus FOR EACH ROW "
                           "EXECUTE FUNCTION innkeld_status_change()"),
            QStringLiteral("CREATE FUNCTION innkeld_status_apply() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "UPDATE booking SET Status = NEW.Status WHERE ID = NEW.bookingid; "
                           "IF NEW.Status IN (%1) THEN INSERT INTO releasedroom (bookingid, roomid) SELECT bookingid, "
                           "roomid FROM bookingroom WHERE bookingid = NEW.bookingid ORDER BY id; "
                           "DELETE FROM bookingroom WHERE bookingid = NEW.bookingid; "
                           "ELSIF NEW.Status = 'booked' THEN INSERT INTO bookingroom (bookingid, roomid) SELECT bookingid, "
                           "roomid FROM releasedroom WHERE bookingid = NEW.bookingid ORDER BY id; "
                           "DELETE FROM releasedroom WHERE bookingid = NEW.bookingid; END IF; RETURN NULL; END $$")
                .arg(kNoRoom),
            QStringLiteral("CREATE TRIGGER bookingstatus_apply AFTER INSERT ON bookingstatus FOR EACH ROW "
                           "EXECUTE FUNCTION innkeld_status_apply()"),
            QStringLiteral("CREATE FUNCTION innkeld_status_kept() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "RAISE EXCEPTION %1; END $$")
                .arg(keep),
            QStringLiteral("CREATE TRIGGER bookingstatus_kept BEFORE UPDATE OR DELETE ON bookingstatus FOR EACH ROW "
                           "EXECUTE FUNCTION innkeld_status_kept()"),
            QStringLiteral("CREATE TRIGGER bookingstatus_kept_truncate BEFORE TRUNCATE ON bookingstatus "
                           "FOR EACH STATEMENT EXECUTE FUNCTION innkeld_status_kept()"),
            // The booking's own row: its status as its history says, a new
            // one booked, a stay that has ended or released its rooms as it
            // was, and kept when it has a guest, payments or an invoice.
            QStringLiteral("CREATE FUNCTION innkeld_booking_frozen_and_kept() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "IF TG_OP = 'DELETE' THEN "
                           "IF EXISTS (SELECT 1 FROM payment WHERE BookingID = OLD.ID) THEN ")
                + raise(keptBecause(QStringLiteral("OLD.ID"), QStringLiteral("has payments recorded")))
                + QStringLiteral("END IF; IF EXISTS (SELECT 1 FROM invoice WHERE BookingID = OLD.ID) THEN ")
                + raise(keptBecause(QStringLiteral("OLD.ID"), QStringLiteral("has an invoice")))
                + QStringLiteral("END IF; IF OLD.Status <> 'booked' THEN ")
                + raise(QStringLiteral("'The booking ' || OLD.ID || ' is ' || %1 || ': it is kept.'").arg(label(QStringLiteral("OLD.Status"))))
                + QStringLiteral("END IF; IF OLD.CustomerID <> 0 THEN ")
                + raise(keptBecause(QStringLiteral("OLD.ID"), QStringLiteral("has a guest")))
                + QStringLiteral("END IF; RETURN OLD; END IF; "
                                 "IF TG_OP = 'INSERT' THEN IF NEW.Status <> 'booked' THEN RAISE EXCEPTION %1; END IF; "
                                 "RETURN NEW; END IF; "
                                 "IF NEW.Status IS DISTINCT FROM OLD.Status AND NEW.Status IS DISTINCT FROM (SELECT Status "
                                 "FROM bookingstatus WHERE bookingid = NEW.ID ORDER BY id DESC LIMIT 1) THEN "
                                 "RAISE EXCEPTION %1; END IF; ")
                      .arg(byActions)
                + QStringLiteral("IF OLD.Status IN (%1) AND (NEW.FromDate IS DISTINCT FROM OLD.FromDate OR NEW.ToDate IS "
                                 "DISTINCT FROM OLD.ToDate) THEN ")
                      .arg(kFrozen)
                + raise(QStringLiteral("'The booking ' || OLD.ID || ' is ' || %1 || ': its stay cannot change.'")
                            .arg(label(QStringLiteral("OLD.Status"))))
                + QStringLiteral("END IF; RETURN NEW; END $$"),
            QStringLiteral("CREATE TRIGGER booking_frozen_and_kept BEFORE INSERT OR DELETE OR UPDATE OF Status, FromDate, ToDate "
                           "ON booking FOR EACH ROW EXECUTE FUNCTION innkeld_booking_frozen_and_kept()"),
            QStringLiteral("CREATE FUNCTION innkeld_room_status() RETURNS trigger LANGUAGE plpgsql AS $$ DECLARE "
                           "b record; BEGIN "
                           "IF TG_TABLE_NAME = 'releasedroom' THEN "
                           "IF NOT EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid AND Status IN (%1)) THEN "
                           "RAISE EXCEPTION 'The booking % holds its rooms: only a cancelled or no-show booking releases "
                           "them.', NEW.bookingid; END IF; RETURN NEW; END IF; "
                           "SELECT ID, Status INTO b FROM booking WHERE ID IN (NEW.bookingid, CASE WHEN TG_OP = 'UPDATE' "
                           "THEN OLD.bookingid END) AND Status IN (%2) LIMIT 1; IF FOUND THEN ")
                    .arg(kNoRoom, kFrozen)
                + raise(QStringLiteral("'The booking ' || b.ID || ' is ' || %1 || ': its rooms cannot change.'")
                            .arg(label(QStringLiteral("b.Status"))))
                + QStringLiteral("END IF; RETURN NEW; END $$"),
            QStringLiteral("CREATE TRIGGER bookingroom_frozen BEFORE INSERT OR UPDATE OF bookingid, roomid ON bookingroom "
                           "FOR EACH ROW EXECUTE FUNCTION innkeld_room_status()"),
            QStringLiteral("CREATE TRIGGER releasedroom_link BEFORE INSERT OR UPDATE ON releasedroom "
                           "FOR EACH ROW EXECUTE FUNCTION innkeld_room_status()"),
            QStringLiteral("CREATE TRIGGER bookingstatus_key_follows AFTER INSERT ON bookingstatus REFERENCING NEW TABLE "
                           "AS added FOR EACH STATEMENT EXECUTE FUNCTION innkeld_key_follows('id')"),
            QStringLiteral("CREATE TRIGGER releasedroom_key_follows AFTER INSERT ON releasedroom REFERENCING NEW TABLE "
                           "AS added FOR EACH STATEMENT EXECUTE FUNCTION innkeld_key_follows('id')"),
        };
}

// The guards a copy sets aside: the history's and the booking's own.
QStringList guardNames(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return {QStringLiteral("bookingstatus_change ON bookingstatus"), QStringLiteral("bookingstatus_apply ON bookingstatus"),
                QStringLiteral("booking_frozen_and_kept ON booking"), QStringLiteral("bookingroom_frozen ON bookingroom"),
                QStringLiteral("releasedroom_link ON releasedroom")};
    return {QStringLiteral("bookingstatus_change"), QStringLiteral("bookingstatus_apply"), QStringLiteral("booking_status_new"),
            QStringLiteral("bookingroom_status"), QStringLiteral("releasedroom_link")};
}

}  // namespace

SchemaPart BookingStatusPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Giving each booking its status");
    part.make = [](Engine engine) { return engine == Engine::PostgreSQL ? serverStatements(false) : fileStatements(false); };
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        if (catalogue.has(QStringLiteral("bookingstatus")))
            return QStringList();
        QStringList lacking = engine == Engine::PostgreSQL ? serverStatements(true) : fileStatements(true);
        // A booking table that has its status already (its other tables
        // taken away) keeps it, and its statuses are given again.
        if (engine == Engine::PostgreSQL)
            lacking.first().replace(QStringLiteral("ADD COLUMN"), QStringLiteral("ADD COLUMN IF NOT EXISTS"));
        else if (catalogue.text(QStringLiteral("booking")).contains(QLatin1String("Status TEXT NOT NULL")))
            lacking.removeFirst();
        return lacking;
    };
    part.table = QStringLiteral("bookingstatus");
    // A file that cannot be written reads its bookings' statuses as the
    // upgrade would give them.
    part.temporary = [] {
        const QStringList f = fill(Engine::SQLite);
        return QStringList{
            QStringLiteral("CREATE TEMP VIEW booking AS SELECT b.*, CASE WHEN b.CustomerID <> 0 AND b.ToDate < "
                           "date('now', 'localtime') THEN 'checkedout' WHEN b.CustomerID <> 0 AND b.FromDate < "
                           "date('now', 'localtime', '+1 day') THEN 'checkedin' ELSE 'booked' END AS Status "
                           "FROM main.booking AS b"),
            QStringLiteral("CREATE TEMP TABLE bookingstatus (id INTEGER PRIMARY KEY, bookingid INTEGER, Status TEXT, "
                           "ChangedAt TEXT, ChangedBy TEXT, Reason TEXT, Note TEXT, FeeCents INTEGER)"),
            QStringLiteral("CREATE TEMP TABLE releasedroom (id INTEGER PRIMARY KEY, bookingid INTEGER, roomid INTEGER)")};
    };
    return part;
}

QStringList StatusGuardsSuspended(Engine engine)
{
    QStringList drops;
    for (const QString &name : guardNames(engine))
        drops << (engine == Engine::PostgreSQL ? QStringLiteral("ALTER TABLE %1 DISABLE TRIGGER %2")
                                                     .arg(name.section(QStringLiteral(" ON "), 1), name.section(QStringLiteral(" ON "), 0, 0))
                                               : QStringLiteral("DROP TRIGGER IF EXISTS ") + name);
    return drops;
}

QStringList StatusGuardsRestored(Engine engine)
{
    if (engine == Engine::PostgreSQL) {
        QStringList enables;
        for (const QString &name : guardNames(engine))
            enables << QStringLiteral("ALTER TABLE %1 ENABLE TRIGGER %2")
                           .arg(name.section(QStringLiteral(" ON "), 1), name.section(QStringLiteral(" ON "), 0, 0));
        return enables;
    }
    QStringList made;
    const QStringList names = guardNames(engine);
    for (const QString &sql : fileGuards())
        if (names.contains(CreatedName(sql)))
            made << sql;
    return made;
}

QStringList StatusesFromStays(Engine engine)
{
    return fill(engine);
}

QString StatusesHoldingNoRoomSql()
{
    return kNoRoom;
}

}  // namespace innkeld
