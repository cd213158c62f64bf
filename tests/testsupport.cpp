#include "testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <QtTest>

#include <ctime>

namespace innkeld::test {

TimeZoneScope::TimeZoneScope(const QByteArray &zone)
    : m_had(qEnvironmentVariableIsSet("TZ")), m_previous(qgetenv("TZ"))
{
    qputenv("TZ", zone);
    tzset();
}

TimeZoneScope::~TimeZoneScope()
{
    if (m_had)
        qputenv("TZ", m_previous);
    else
        qunsetenv("TZ");
    tzset();
}

QByteArray ZoneWithoutMidnightToday()
{
    // POSIX: standard time 3 hours behind UTC, summer time from day n
    // (counted from 0) at 00:00 to a day half a year later.
    const int today = QDate::currentDate().dayOfYear() - 1;
    return "XST3XDT," + QByteArray::number(today) + "/0," + QByteArray::number((today + 180) % 365) + "/0";
}

QList<ZoneAndDay> ZonesWithoutAMidnight()
{
    return {{"America/Santiago", QDate(2026, 9, 6)},
            {"Asia/Beirut", QDate(2026, 3, 29)},
            {"Africa/Cairo", QDate(2026, 4, 24)},
            {ZoneWithoutMidnightToday(), QDate::currentDate()}};
}


TempDatabase::TempDatabase()
{
    Database::create(path());
}

Database &TempDatabase::db()
{
    if (!m_db)
        m_db = Database::open(path());
    return *m_db;
}

Recordset TempDatabase::run(const QString &sql)
{
    try {
        return db().execute(sql);
    } catch (const DbError &e) {
        qFatal("statement failed: %s\n%s", qPrintable(sql), qPrintable(e.message()));
    }
}

RecordId TempDatabase::addRoom(const QString &name)
{
    TableCursor r = db().openTable(QStringLiteral("Room"));
    r.addNew();
    r.setField(QStringLiteral("Name"), name);
    r.update();
    return r.field(QStringLiteral("id")).toLongLong();
}

RecordId TempDatabase::addCustomer(const QString &first, const QString &last)
{
    TableCursor c = db().openTable(QStringLiteral("Customer"));
    c.addNew();
    c.setField(QStringLiteral("FirstName"), first);
    c.setField(QStringLiteral("LastName"), last);
    c.update();
    return c.field(QStringLiteral("ID")).toLongLong();
}

RecordId TempDatabase::addBooking(const QDateTime &from, const QDateTime &to, RecordId customer,
                                  const QList<RecordId> &rooms)
{
    TableCursor b = db().openTable(QStringLiteral("Booking"));
    b.addNew();
    b.setField(QStringLiteral("FromDate"), from);
    b.setField(QStringLiteral("ToDate"), to);
    b.setField(QStringLiteral("CustomerID"), customer);
    b.update();
    const RecordId id = b.field(QStringLiteral("ID")).toLongLong();
    for (RecordId room : rooms) {
        TableCursor br = db().openTable(QStringLiteral("BookingRoom"));
        br.addNew();
        br.setField(QStringLiteral("bookingid"), id);
        br.setField(QStringLiteral("roomid"), room);
        br.update();
    }
    return id;
}

RecordId TempDatabase::addGuest(const QDateTime &from, const QDateTime &to, const QString &first,
                                const QString &last, const QList<RecordId> &rooms)
{
    return addBooking(from, to, addCustomer(first, last), rooms);
}

int TempDatabase::count(const QString &table)
{
    return run(QStringLiteral("SELECT count(*) FROM ") + table).value(0).toInt();
}

void TempDatabase::allowClashes(bool allow)
{
    if (allow) {
        for (const char *trigger : {"bookingroom_guard_insert", "bookingroom_guard_update", "booking_guard_dates"})
            run(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(trigger)));
    } else {
        InstallGuard(db().engine());
    }
}

namespace {

// Runs statements on the server at `address` through a connection of its
// own: the first value of a query, or the error after "ERROR ".
QString runOnServer(const QString &address, const QString &sql)
{
    static int counter = 0;
    const QString name = QStringLiteral("test-admin-%1").arg(++counter);
    QString failure;
    {
        const QUrl url(address);
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        c.setHostName(url.host());
        c.setPort(url.port());
        c.setUserName(url.userName());
        c.setDatabaseName(url.path().mid(1));
        if (!c.open()) {
            failure = c.lastError().text();
        } else {
            QSqlQuery q(c);
            if (!q.exec(sql))
                failure = QStringLiteral("ERROR ") + q.lastError().text();
            else if (q.next())
                failure = q.value(0).toString();  // the first value, for a query
            c.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}

}  // namespace

ServerDatabase::ServerDatabase()
{
    const QString file = qEnvironmentVariable("INNKELD_TEST_SERVER");
    if (file.isEmpty()) {
        m_failure = QStringLiteral("INNKELD_TEST_SERVER is not set (ctest starts the server in its fixture).");
        return;
    }
    QFile url(file);
    if (!url.open(QIODevice::ReadOnly)) {
        m_failure = QStringLiteral("the server did not start (no %1; see the server_start test's output).").arg(file);
        return;
    }
    m_server = QString::fromUtf8(url.readAll()).trimmed();
    static int counter = 0;
    m_name = QStringLiteral("innkeld_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    const QString error = runOnServer(m_server, QStringLiteral("CREATE DATABASE %1").arg(m_name));
    if (!error.isEmpty()) {
        m_failure = QStringLiteral("the database could not be made: ") + error;
        return;
    }
    QUrl address(m_server);
    address.setPath(QLatin1Char('/') + m_name);
    m_address = address.toString();
}

ServerDatabase::~ServerDatabase()
{
    if (!m_address.isEmpty())
        runOnServer(m_server, QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(m_name));
}

QString ServerDatabase::admin(const QString &sql)
{
    return runOnServer(m_address, sql);
}

}  // namespace innkeld::test
