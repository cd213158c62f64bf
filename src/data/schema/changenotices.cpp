#include "changenotices.h"

#include <QCoreApplication>

namespace innkeld {

QStringList NoticedTables()
{
    return {QStringLiteral("booking"), QStringLiteral("bookingroom"), QStringLiteral("customer"),
            QStringLiteral("room"), QStringLiteral("payment"), QStringLiteral("bookingstatus"),
            QStringLiteral("channelbooking"), QStringLiteral("roomcategory"), QStringLiteral("roombeds"),
            QStringLiteral("season"), QStringLiteral("seasonprice"), QStringLiteral("staylength")};
}

SchemaPart ChangeNoticesPart()
{
    return EnginePart(
        QCoreApplication::translate("Upgrade", "Telling the desks of changes"),
        [](Engine engine) {
            if (engine != Engine::PostgreSQL)
                return QStringList();
            // One notification a statement (not a row): a copy of a
            // million rows tells once, and the server folds the same
            // payload sent twice in one transaction into one.
            QStringList statements{
                QStringLiteral("CREATE FUNCTION innkeld_notice_change() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "PERFORM pg_notify('%1', TG_TABLE_NAME); RETURN NULL; END $$")
                    .arg(QLatin1String(kChangesChannel))};
            for (const QString &table : NoticedTables())
                statements << QStringLiteral("CREATE TRIGGER %1_notice_change AFTER INSERT OR UPDATE OR DELETE OR "
                                             "TRUNCATE ON %1 FOR EACH STATEMENT EXECUTE FUNCTION innkeld_notice_change()")
                                  .arg(table);
            return statements;
        },
        QStringLiteral("innkeld_notice_change"));
}

}  // namespace innkeld
