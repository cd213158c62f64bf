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

}  // namespace innkeld::test
