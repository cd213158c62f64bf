#include "bookingstatus.h"

#include "data/schema/guestregistration.h"

#include "data/schema/bookingtables.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

struct Named
{
    BookingStatus status;
    const char *code;
    const char *label;
};
const Named kStatuses[] = {
    {BookingStatus::Booked, "booked", QT_TRANSLATE_NOOP("BookingStatus", "Booked")},
    {BookingStatus::CheckedIn, "checkedin", QT_TRANSLATE_NOOP("BookingStatus", "Checked in")},
    {BookingStatus::CheckedOut, "checkedout", QT_TRANSLATE_NOOP("BookingStatus", "Checked out")},
    {BookingStatus::NoShow, "noshow", QT_TRANSLATE_NOOP("BookingStatus", "No-show")},
    {BookingStatus::Cancelled, "cancelled", QT_TRANSLATE_NOOP("BookingStatus", "Cancelled")},
};

struct Reason
{
    CancelReason reason;
    const char *code;
    const char *label;
};
const Reason kReasons[] = {
    {CancelReason::None, "", ""},
    {CancelReason::Guest, "guest", QT_TRANSLATE_NOOP("BookingStatus", "Guest cancelled")},
    {CancelReason::House, "house", QT_TRANSLATE_NOOP("BookingStatus", "House cancelled")},
    {CancelReason::NoShow, "noshow", QT_TRANSLATE_NOOP("BookingStatus", "No-show")},
    {CancelReason::Channel, "channel", QT_TRANSLATE_NOOP("BookingStatus", "Cancelled on the channel")},
    {CancelReason::Other, "other", QT_TRANSLATE_NOOP("BookingStatus", "Other reason")},
};

// The words of this file, in their own context.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(BookingStatus)
};

QString tr(const char *text)
{
    return Words::tr(text);
}

QString id(RecordId value)
{
    return QString::number(value);
}

QString literal(const QString &text)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, false)) + QLatin1Char('\'');
}

// What the operator is told when a change is not one the desk may make.
QString notAllowed(RecordId booking, BookingStatus from, BookingStatus to)
{
    const QString is = StatusLabel(from).toLower();
    switch (to) {
    case BookingStatus::CheckedIn:
        return Words::tr("The booking %1 is %2: it cannot be checked in.").arg(booking).arg(is);
    case BookingStatus::CheckedOut:
        return Words::tr("The booking %1 is %2: only a guest who is checked in can be checked out.").arg(booking).arg(is);
    case BookingStatus::NoShow:
        return Words::tr("The booking %1 is %2: only a booking not yet checked in can be marked a no-show.").arg(booking).arg(is);
    case BookingStatus::Cancelled:
        return Words::tr("The booking %1 is %2: only a booking not yet checked in can be cancelled.").arg(booking).arg(is);
    case BookingStatus::Booked:
        break;
    }
    return Words::tr("The booking %1 is %2: only a cancelled or no-show booking can be restored.").arg(booking).arg(is);
}

// Within the transaction: the booking's stored status, its row locked on a
// server (a second desk waits, then reads what the first stored).
BookingStatus lockedStatus(Database &db, RecordId bookingId, bool *hasGuest)
{
    const Recordset rs = db.onServer()
        ? db.query(QStringLiteral("SELECT Status, CustomerID FROM booking WHERE ID = %1 FOR UPDATE").arg(bookingId))
        : db.execute(QStringLiteral("SELECT Status, CustomerID FROM booking WHERE ID = %1").arg(bookingId));
    if (rs.eof())
        throw BookingGone();
    *hasGuest = rs.value(1).toLongLong() != 0;
    return StatusFromCode(rs.text(0));
}

void changeOne(Database &db, RecordId bookingId, BookingStatus shown, const StatusChange &change)
{
    bool hasGuest = false;
    const BookingStatus now = lockedStatus(db, bookingId, &hasGuest);
    if (!hasGuest)
        throw StatusRefused(Words::tr("The booking %1 has no guest yet: it is discarded, not changed.").arg(bookingId));
    if (now != shown)
        throw StatusRefused(Words::tr("The booking %1 was changed at another desk meanwhile: it is %2 now.")
                                .arg(bookingId)
                                .arg(StatusLabel(now).toLower()));
    if (!StatusChangeAllowed(now, change.to))
        throw StatusRefused(notAllowed(bookingId, now, change.to));
    if (change.feeCents != 0 && (change.to != BookingStatus::Cancelled || change.feeCents < 0))
        throw StatusRefused(Words::tr("A cancellation fee is kept only with a cancellation, and is never below nothing."));
    if (change.to == BookingStatus::Booked) {
        if (const QString lock = WriteLockSql(db.engineKind()); !lock.isEmpty())
            db.query(lock);
        const QString blocked = RestoreBlockedBy(db, bookingId);
        if (!blocked.isEmpty())
            throw StatusRefused(blocked);
    }
    db.execute(QStringLiteral("INSERT INTO bookingstatus (bookingid, Status, ChangedBy, Reason, Note, FeeCents) "
                              "VALUES (%1, '%2', %3, '%4', %5, %6)")
                   .arg(id(bookingId), StatusCode(change.to), literal(DeskUser().left(200)), ReasonCode(change.reason),
                        literal(change.note.left(4000)), QString::number(change.feeCents)));
    // A stay that has ended needs its card number no longer.
    if (change.to == BookingStatus::CheckedOut)
        db.execute(MaskCardsSql(db.engineKind(), QStringLiteral("ID = %1").arg(id(bookingId))));
}

StatusEntry entryOf(const Recordset &rs)
{
    StatusEntry e;
    e.status = StatusFromCode(rs.text(0));
    e.at = rs.value(1).toDateTime();
    e.by = rs.text(2);
    e.reason = ReasonFromCode(rs.text(3));
    e.note = rs.text(4);
    e.feeCents = rs.value(5).toLongLong();
    return e;
}

const QString kEntryColumns = QStringLiteral("Status, ChangedAt, ChangedBy, Reason, Note, FeeCents");

}  // namespace

QString StatusCode(BookingStatus status)
{
    for (const Named &n : kStatuses)
        if (n.status == status)
            return QLatin1String(n.code);
    return QStringLiteral("booked");
}

BookingStatus StatusFromCode(const QString &code)
{
    for (const Named &n : kStatuses)
        if (code == QLatin1String(n.code))
            return n.status;
    return BookingStatus::Booked;
}

QString ReasonCode(CancelReason reason)
{
    for (const Reason &r : kReasons)
        if (r.reason == reason)
            return QLatin1String(r.code);
    return QString();
}

CancelReason ReasonFromCode(const QString &code)
{
    for (const Reason &r : kReasons)
        if (code == QLatin1String(r.code))
            return r.reason;
    return CancelReason::Other;
}

QString StatusLabel(BookingStatus status)
{
    for (const Named &n : kStatuses)
        if (n.status == status)
            return tr(n.label);
    return QString();
}

QString ReasonLabel(CancelReason reason)
{
    for (const Reason &r : kReasons)
        if (r.reason == reason)
            return *r.label ? tr(r.label) : QString();
    return QString();
}

QVector<BookingStatus> AllStatuses()
{
    return {BookingStatus::Booked, BookingStatus::CheckedIn, BookingStatus::CheckedOut, BookingStatus::NoShow,
            BookingStatus::Cancelled};
}

QVector<CancelReason> CancelReasons()
{
    return {CancelReason::Guest, CancelReason::House, CancelReason::NoShow, CancelReason::Other};
}

bool StatusChangeAllowed(BookingStatus from, BookingStatus to)
{
    return ChangesFrom(from).contains(to);
}

QVector<BookingStatus> ChangesFrom(BookingStatus from)
{
    switch (from) {
    case BookingStatus::Booked:
        return {BookingStatus::CheckedIn, BookingStatus::NoShow, BookingStatus::Cancelled};
    case BookingStatus::CheckedIn:
        return {BookingStatus::CheckedOut};
    case BookingStatus::NoShow:
    case BookingStatus::Cancelled:
        return {BookingStatus::Booked};
    case BookingStatus::CheckedOut:
        break;
    }
    return {};
}

bool HoldsRooms(BookingStatus status)
{
    return status != BookingStatus::Cancelled && status != BookingStatus::NoShow;
}

QString DeskUser()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}

StatusEntry ReadBookingStatus(Database &db, RecordId bookingId)
{
    const Recordset b = db.execute(QStringLiteral("SELECT Status FROM booking WHERE ID = %1").arg(bookingId));
    if (b.eof())
        throw BookingGone();
    const BookingStatus status = StatusFromCode(b.text(0));
    const Recordset last = db.execute(QStringLiteral("SELECT %1 FROM bookingstatus WHERE bookingid = %2 ORDER BY id DESC LIMIT 1")
                                          .arg(kEntryColumns)
                                          .arg(bookingId));
    if (last.eof() || StatusFromCode(last.text(0)) != status) {
        StatusEntry e;
        e.status = status;
        return e;
    }
    return entryOf(last);
}

QVector<StatusEntry> StatusHistory(Database &db, RecordId bookingId)
{
    QVector<StatusEntry> out;
    for (Recordset rs = db.execute(QStringLiteral("SELECT %1 FROM bookingstatus WHERE bookingid = %2 ORDER BY id")
                                       .arg(kEntryColumns)
                                       .arg(bookingId));
         !rs.eof(); rs.moveNext())
        out << entryOf(rs);
    return out;
}

void ChangeBookingStatus(Database &db, RecordId bookingId, BookingStatus shown, const StatusChange &change)
{
    Database::Transaction tx(db);
    changeOne(db, bookingId, shown, change);
    tx.commit();
}

void ChangeBookingStatuses(Database &db, const QVector<QPair<RecordId, BookingStatus>> &shown, const StatusChange &change)
{
    Database::Transaction tx(db);
    for (const auto &[booking, status] : shown)
        changeOne(db, booking, status, change);
    tx.commit();
}

QString RestoreBlockedBy(Database &db, RecordId bookingId)
{
    const Engine engine = db.engineKind();
    const QString holder = ClashingBookingSql(engine, QStringLiteral("b.ID"), QStringLiteral("l.roomid"),
                                              QStringLiteral("b.FromDate"), QStringLiteral("b.ToDate"));
    const Recordset rs = db.query(QStringLiteral("SELECT r.name, h.ID, c.FirstName, c.LastName FROM releasedroom AS l "
                                                 "JOIN booking AS b ON b.ID = l.bookingid JOIN room AS r ON r.id = l.roomid "
                                                 "JOIN booking AS h ON h.ID = %1 LEFT JOIN customer AS c ON c.ID = "
                                                 "h.CustomerID WHERE l.bookingid = %2 ORDER BY l.id LIMIT 1")
                                      .arg(holder)
                                      .arg(bookingId));
    if (rs.eof())
        return QString();
    const QString guest = (rs.text(2) + QLatin1Char(' ') + rs.text(3)).trimmed();
    return Words::tr("The room %1 is held by booking %2 (%3) on these dates: this booking cannot be restored until the room is "
              "free.")
        .arg(rs.text(0), rs.text(1), guest);
}

QString GuestOf(Database &db, RecordId bookingId)
{
    const Recordset rs = db.execute(QStringLiteral("SELECT c.FirstName, c.LastName FROM booking AS b JOIN customer AS c "
                                                   "ON c.ID = b.CustomerID WHERE b.ID = %1")
                                        .arg(bookingId));
    return rs.eof() ? QString() : (rs.text(0) + QLatin1Char(' ') + rs.text(1)).trimmed();
}

qint64 BalanceDueCents(Database &db, RecordId bookingId)
{
    const Recordset rs = db.execute(QStringLiteral("SELECT TotalPayable, AmountPayed, Status FROM booking WHERE ID = %1").arg(bookingId));
    if (rs.eof())
        throw BookingGone();
    const qint64 paid = qRound64(rs.value(1).toDouble() * 100);
    if (StatusFromCode(rs.text(2)) == BookingStatus::Cancelled)
        return ReadBookingStatus(db, bookingId).feeCents - paid;
    if (StatusFromCode(rs.text(2)) == BookingStatus::NoShow)
        return -paid;
    return qRound64(rs.value(0).toDouble() * 100) - paid;
}

QVector<NotArrived> NotArrivedBookings(Database &db, const QDate &today, int limit)
{
    QVector<NotArrived> out;
    const QString before = db.onServer() ? QStringLiteral("DATE '%1'").arg(today.toString(Qt::ISODate))
                                         : QStringLiteral("'%1'").arg(today.toString(Qt::ISODate));
    for (Recordset rs = db.query(QStringLiteral("SELECT b.ID, b.FromDate, b.ToDate, c.FirstName, c.LastName FROM booking AS b "
                                                "LEFT JOIN customer AS c ON c.ID = b.CustomerID WHERE b.Status = 'booked' "
                                                "AND b.FromDate < %1 AND b.CustomerID <> 0 ORDER BY b.FromDate, b.ID LIMIT %2")
                                     .arg(before)
                                     .arg(limit));
         !rs.eof(); rs.moveNext()) {
        NotArrived n;
        n.id = rs.value(0).toLongLong();
        n.from = rs.value(1).toDateTime();
        n.to = rs.value(2).toDateTime();
        n.guest = (rs.text(3) + QLatin1Char(' ') + rs.text(4)).trimmed();
        out << n;
    }
    for (NotArrived &n : out) {
        QStringList rooms;
        for (Recordset rs = db.query(QStringLiteral("SELECT r.name FROM bookingroom AS l JOIN room AS r ON r.id = l.roomid "
                                                    "WHERE l.bookingid = %1 ORDER BY l.id")
                                         .arg(n.id));
             !rs.eof(); rs.moveNext())
            rooms << rs.text(0);
        n.rooms = rooms.join(QStringLiteral(", "));
    }
    return out;
}

}  // namespace innkeld
