#include "testsupport.h"

#include <QtTest>

namespace innkeld::test {

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

}  // namespace innkeld::test
