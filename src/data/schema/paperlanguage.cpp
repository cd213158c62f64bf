#include "paperlanguage.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

QStringList statements(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return {QStringLiteral("CREATE TABLE bookinglanguage (bookingid bigint PRIMARY KEY REFERENCES booking (ID) ON "
                               "DELETE CASCADE ON UPDATE CASCADE, Language text NOT NULL CHECK (Language ~ '^[a-z]{2,3}$'))")};
    return QStringList{QStringLiteral("CREATE TABLE bookinglanguage (bookingid INTEGER PRIMARY KEY, Language TEXT NOT NULL "
                                      "CHECK (length(Language) BETWEEN 2 AND 3 AND Language NOT GLOB '*[^a-z]*'))")}
        + BookingLinkTriggers(QStringLiteral("bookinglanguage"));
}

}  // namespace

SchemaPart PaperLanguagePart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Adding the papers' language");
    part.make = [](Engine engine) { return statements(engine); };
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        return catalogue.has(QStringLiteral("bookinglanguage")) ? QStringList() : statements(engine);
    };
    part.table = QStringLiteral("bookinglanguage");
    part.temporary = [] { return TemporaryStatements(statements(Engine::SQLite)); };
    return part;
}

QString BookingPaperLanguage(Database &db, RecordId bookingId)
{
    Recordset rs = db.execute(QStringLiteral("SELECT Language FROM bookinglanguage WHERE bookingid = %1").arg(bookingId));
    return rs.eof() ? QString() : rs.text(0);
}

void SetBookingPaperLanguage(Database &db, RecordId bookingId, const QString &language)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM bookinglanguage WHERE bookingid = %1").arg(bookingId));
    if (!language.isEmpty())
        db.execute(QStringLiteral("INSERT INTO bookinglanguage (bookingid, Language) VALUES (%1, '%2')")
                       .arg(bookingId)
                       .arg(SqlText(language)));
    tx.commit();
}

}  // namespace innkeld
