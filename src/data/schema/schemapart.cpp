#include "schemapart.h"

namespace innkeld {

Catalogue Catalogue::read(Database &db)
{
    Catalogue catalogue;
    const QString sql = db.onServer()
        ? QStringLiteral("SELECT relname, '' FROM pg_catalog.pg_class WHERE relnamespace = current_schema()::regnamespace "
                         "UNION ALL SELECT tgname, '' FROM pg_catalog.pg_trigger WHERE NOT tgisinternal "
                         "UNION ALL SELECT proname, prosrc FROM pg_catalog.pg_proc "
                         "WHERE pronamespace = current_schema()::regnamespace")
        : QStringLiteral("SELECT name, sql FROM sqlite_master");
    for (Recordset rs = db.query(sql); !rs.eof(); rs.moveNext())
        catalogue.m_objects.insert(rs.value(0).toString(), rs.value(1).toString());
    return catalogue;
}

QString CreatedName(const QString &statement)
{
    const QStringList words = statement.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int i = 1;  // after CREATE
    const auto word = [&](const char *w) {
        if (i < words.size() && words.at(i).compare(QLatin1String(w), Qt::CaseInsensitive) == 0) {
            ++i;
            return true;
        }
        return false;
    };
    if (word("OR"))
        word("REPLACE");
    word("TEMP") || word("VIRTUAL") || word("UNIQUE");
    ++i;  // TABLE, INDEX, TRIGGER, FUNCTION
    if (word("IF")) {
        word("NOT");
        word("EXISTS");
    }
    return words.value(i).section(QLatin1Char('('), 0, 0);
}

QStringList TemporaryStatements(const QStringList &statements)
{
    QStringList temporary;
    for (const QString &sql : statements)
        // (A file read as it is takes no trigger and no change of its rows.)
        if (!sql.startsWith(QLatin1String("CREATE TRIGGER")) && !sql.startsWith(QLatin1String("UPDATE ")))
            temporary << QString(sql)
                             .replace(QStringLiteral("CREATE TABLE "), QStringLiteral("CREATE TEMP TABLE "))
                             .replace(QStringLiteral("CREATE INDEX "), QStringLiteral("CREATE INDEX temp."))
                             .replace(QStringLiteral("INSERT INTO "), QStringLiteral("INSERT INTO temp."));
    return temporary;
}

SchemaPart TablesPart(const QString &what, const QStringList &statements, const QString &table)
{
    SchemaPart part;
    part.what = what;
    part.make = [statements](Engine) { return statements; };
    part.lacking = [statements, table](Engine, const Catalogue &catalogue) {
        return catalogue.has(table) ? QStringList() : statements;
    };
    part.table = table;
    part.temporary = [statements] { return TemporaryStatements(statements); };
    return part;
}

QStringList BookingLinkTriggers(const QString &table)
{
    const QString refuse = QStringLiteral("SELECT innkeld_refuse('There is no booking ' || NEW.bookingid || '.') WHERE NOT "
                                          "EXISTS (SELECT 1 FROM booking WHERE ID = NEW.bookingid); END");
    return {QStringLiteral("CREATE TRIGGER %1_link BEFORE INSERT ON %1 BEGIN ").arg(table) + refuse,
            QStringLiteral("CREATE TRIGGER %1_relink BEFORE UPDATE OF bookingid ON %1 BEGIN ").arg(table) + refuse,
            QStringLiteral("CREATE TRIGGER %1_booking_delete AFTER DELETE ON booking BEGIN DELETE FROM %1 WHERE bookingid "
                           "= OLD.ID; END")
                .arg(table)};
}

SchemaPart EnginePart(const QString &what, const std::function<QStringList(Engine)> &statements, const QString &marker)
{
    SchemaPart part;
    part.what = what;
    part.make = statements;
    part.lacking = [statements, marker](Engine engine, const Catalogue &catalogue) {
        return catalogue.has(marker) ? QStringList() : statements(engine);
    };
    part.table = marker;
    part.temporary = [statements] { return TemporaryStatements(statements(Engine::SQLite)); };
    return part;
}

}  // namespace innkeld
