// What the house keeps of its guests no longer than the law allows: the
// registration details erased some months after the departure, a full card
// number masked once the stay no longer needs it, by the house's rule kept
// in the database; and a card number shown masked wherever the payment
// step's own box does not show it.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>

class QThread;

namespace innkeld {

// "**** 1234": the last four digits of a card number (what is masked, or
// has four digits or fewer, as it is).
QString MaskedCardNumber(const QString &number);

struct RetentionRules
{
    int registrationMonths = 12;  // after the departure
    int cardDays = 7;             // after the departure (at once on check-out)
};
// Throws DbError.
RetentionRules ReadRetention(Database &db);
void WriteRetention(Database &db, const RetentionRules &rules);

struct RetentionDone
{
    qint64 registrations = 0, companions = 0, cards = 0, messages = 0;
    qint64 total() const { return registrations + companions + cards + messages; }
};
// Erases the registration details, companions and e-mailed messages (with
// their papers) of the bookings that departed more than the rule's months
// before `today`, and masks the card
// numbers kept longer than the rule's days, in one transaction. Throws
// DbError.
RetentionDone ApplyRetention(Database &db, const QDate &today);

// The rule applied once a day, off the window's thread, with a connection
// of its own: at the start and whenever the day changes. Each run with
// something erased writes a line to the program's log.
class RetentionJob : public QObject
{
    Q_OBJECT
public:
    // `today` gives the day (a test sets its own clock).
    RetentionJob(const QString &databaseAddress, std::function<QDate()> today, QObject *parent = nullptr);
    ~RetentionJob() override;
    void start();

signals:
    void done(qint64 erased);
    void failed(const QString &message);

private:
    void runFor(const QDate &day);

    QString m_address;
    std::function<QDate()> m_today;
    QDate m_lastRun;
    QTimer m_dayWatch;
    QThread *m_thread = nullptr;
};

}  // namespace innkeld
