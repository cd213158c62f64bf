// A booking's life: booked, checked in, checked out, no-show, cancelled.
// Each change is written as the engine keeps it (one row of the booking's
// history, with its time, desk user, reason and fee) and judged first here,
// in the operator's words, by the same rules the engine applies.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QDateTime>
#include <QVector>

namespace innkeld {

enum class BookingStatus { Booked, CheckedIn, CheckedOut, NoShow, Cancelled };
enum class CancelReason { None, Guest, House, NoShow, Channel, Other };

// As the database stores them ("booked", "checkedin", ...; "guest", ...).
QString StatusCode(BookingStatus status);
BookingStatus StatusFromCode(const QString &code);
QString ReasonCode(CancelReason reason);
CancelReason ReasonFromCode(const QString &code);
// As the operator reads them ("Checked in"; "Guest cancelled").
QString StatusLabel(BookingStatus status);
QString ReasonLabel(CancelReason reason);
// The statuses and reasons in the order lists offer them.
QVector<BookingStatus> AllStatuses();
QVector<CancelReason> CancelReasons();

// Whether the desk may change a booking from `from` to `to`, and the
// changes it may make from `from`.
bool StatusChangeAllowed(BookingStatus from, BookingStatus to);
QVector<BookingStatus> ChangesFrom(BookingStatus from);
// Whether a booking in `status` holds its rooms (no: cancelled, no-show).
bool HoldsRooms(BookingStatus status);

// The name each change is written under: the desk's login.
QString DeskUser();

struct StatusEntry
{
    BookingStatus status = BookingStatus::Booked;
    QDateTime at;
    QString by;
    CancelReason reason = CancelReason::None;
    QString note;
    qint64 feeCents = 0;
};

// The booking's status now, with the change that made it (a booking never
// changed, or changed before statuses were kept, has only its status).
// Throws DbError (BookingGone when the booking is not there).
StatusEntry ReadBookingStatus(Database &db, RecordId bookingId);
// Its changes, oldest first.
QVector<StatusEntry> StatusHistory(Database &db, RecordId bookingId);

// The change refused: the booking was changed at another desk since it was
// shown, or the change is not one the desk may make.
class StatusRefused : public DbError
{
public:
    using DbError::DbError;
};

struct StatusChange
{
    StatusChange(BookingStatus toStatus = BookingStatus::Booked, CancelReason why = CancelReason::None,
                 const QString &text = QString(), qint64 fee = 0)
        : to(toStatus), reason(why), note(text), feeCents(fee)
    {
    }
    BookingStatus to;
    CancelReason reason;
    QString note;
    qint64 feeCents;
};

// Changes the booking shown as `shown` to `change.to`, in one transaction.
// Throws StatusRefused when it is no longer `shown`, when the change is not
// allowed, for a fee that is not a cancellation's, or when a room it would
// take back is held meanwhile (naming the room, the booking and its guest);
// DbError for what the engine refuses.
void ChangeBookingStatus(Database &db, RecordId bookingId, BookingStatus shown, const StatusChange &change);

// The same change of many bookings, in one transaction: all of them or none.
void ChangeBookingStatuses(Database &db, const QVector<QPair<RecordId, BookingStatus>> &shown, const StatusChange &change);

// Why the booking cannot be restored now: which room is held, by which
// booking and guest (empty when all its rooms are free).
QString RestoreBlockedBy(Database &db, RecordId bookingId);

// The booking's guest as the desk names them ("Anna Berg"); empty when
// it has none.
QString GuestOf(Database &db, RecordId bookingId);

// What the guest still owes, in hundredths: the total less what was paid,
// or for a cancelled booking its fee less what was paid (below 0: owed to
// the guest). Throws DbError (BookingGone).
qint64 BalanceDueCents(Database &db, RecordId bookingId);

// Arrivals of days before `today` that were never checked in (booked, with
// a guest), earliest first: at most `limit`.
struct NotArrived
{
    RecordId id = 0;
    QDateTime from, to;
    QString guest;
    QString rooms;
};
QVector<NotArrived> NotArrivedBookings(Database &db, const QDate &today, int limit = 500);

}  // namespace innkeld
