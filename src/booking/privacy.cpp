#include "privacy.h"

#include "data/schema/bookingtables.h"
#include "data/schema/guestregistration.h"
#include "data/schema/schema.h"

#include <QCoreApplication>
#include <QThread>

#include <exception>

namespace innkeld {

QString MaskedCardNumber(const QString &number)
{
    QString digits = number;
    digits.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
    if (number.startsWith(QLatin1String("****")) || digits.size() <= 4)
        return number;
    return QStringLiteral("**** ") + digits.right(4);
}

RetentionRules ReadRetention(Database &db)
{
    RetentionRules rules;
    const Recordset r = db.execute(QStringLiteral("SELECT RegistrationMonths, CardDays FROM retention WHERE id = 1"));
    if (!r.eof()) {
        rules.registrationMonths = r.value(0).toInt();
        rules.cardDays = r.value(1).toInt();
    }
    return rules;
}

void WriteRetention(Database &db, const RetentionRules &rules)
{
    // (A rule of fewer days masks from the new day's departures on, back
    // to where the last run stopped.)
    db.execute(QStringLiteral("UPDATE retention SET RegistrationMonths = %1, CardDays = %2 WHERE id = 1")
                   .arg(rules.registrationMonths)
                   .arg(rules.cardDays));
}

RetentionDone ApplyRetention(Database &db, const QDate &today)
{
    Database::Transaction tx(db, WriteLockSql(db.engineKind()));
    const RetentionRules rules = ReadRetention(db);
    const Engine engine = db.engineKind();
    // Read from the registrations kept, not from every booking.
    const QString old = QStringLiteral("EXISTS (SELECT b.ID FROM booking AS b WHERE b.ID = t.bookingid AND %1 < %2)")
                            .arg(DayNumberSql(engine, QStringLiteral("b.ToDate")))
                            .arg(today.addMonths(-rules.registrationMonths).toJulianDay());
    RetentionDone done;
    for (const auto &[table, count] : {std::pair{QStringLiteral("registration"), &done.registrations},
                                       std::pair{QStringLiteral("companion"), &done.companions},
                                       std::pair{QStringLiteral("outbox"), &done.messages}}) {
        *count = db.execute(QStringLiteral("SELECT count(*) FROM %1 AS t WHERE %2").arg(table, old)).value(0).toLongLong();
        if (*count > 0)
            db.execute(QStringLiteral("DELETE FROM %1 WHERE bookingid IN (SELECT t.bookingid FROM %1 AS t WHERE %2)").arg(table, old));
    }
    // The card numbers of the stays that ended since the last run, through
    // the stays index (a stay checked out was masked then; the stays before
    // the first run at the upgrade): a day's departures, not the history.
    const qint64 cutoff = today.toJulianDay() - rules.cardDays;
    const Recordset last = db.execute(QStringLiteral("SELECT CardsMaskedTo FROM retention WHERE id = 1"));
    QString kept = CardKeptTooLongSql(engine, today, rules.cardDays);
    if (!last.eof() && !last.value(0).isNull()) {
        const qint64 from = std::min(last.value(0).toLongLong(), cutoff) - 1;
        kept = QStringLiteral("(%1) AND ID IN (SELECT s.id FROM booking_stay AS s WHERE %2 AND s.lastday >= %3 AND "
                              "s.lastday < %4)")
                   .arg(kept, StaysTouchingSql(engine, QStringLiteral("s"), QString::number(from), QString::number(cutoff)))
                   .arg(from)
                   .arg(cutoff);
    }
    const QString mask = MaskCardsSql(engine, kept);
    done.cards = db.execute(QStringLiteral("SELECT count(*) FROM booking") + mask.mid(mask.indexOf(QLatin1String(" WHERE "))))
                     .value(0)
                     .toLongLong();
    if (done.cards > 0)
        db.execute(mask);
    db.execute(QStringLiteral("UPDATE retention SET CardsMaskedTo = %1 WHERE id = 1").arg(cutoff));
    tx.commit();
    return done;
}

RetentionJob::RetentionJob(const QString &databaseAddress, std::function<QDate()> today, QObject *parent)
    : QObject(parent), m_address(databaseAddress), m_today(std::move(today))
{
    m_dayWatch.setInterval(60 * 1000);
    connect(&m_dayWatch, &QTimer::timeout, this, [this] {
        if (m_today() != m_lastRun)
            runFor(m_today());
    });
}

RetentionJob::~RetentionJob()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void RetentionJob::start()
{
    m_dayWatch.start();
    runFor(m_today());
}

void RetentionJob::runFor(const QDate &day)
{
    if (m_thread)
        return;  // the run under way comes back first
    m_lastRun = day;
    auto done = std::make_shared<RetentionDone>();
    m_thread = RunOnOwnConnection(
        this, m_address,
        [done, day](Database &db) {
            *done = ApplyRetention(db, day);
            if (done->total() > 0)
                qInfo("Retention on %s: %lld registrations and %lld companions erased, %lld card numbers masked%s.",
                      qPrintable(day.toString(Qt::ISODate)), done->registrations, done->companions, done->cards,
                      done->messages > 0 ? qPrintable(QStringLiteral(", %1 e-mailed messages erased").arg(done->messages))
                                         : "");
        },
        [this, done](const QString &failure) {
            m_thread = nullptr;
            if (failure.isEmpty())
                emit this->done(done->total());
            else
                emit failed(failure);
        });
    m_thread->setObjectName(QStringLiteral("retention"));
}

}  // namespace innkeld
