#include "serverkeys.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

// The tables whose keys the server gives.
const char *const kKeyed[] = {"booking", "customer", "room", "bookingroom", "channelfeed", "invoice", "payment"};

QStringList statements(Engine engine)
{
    if (engine != Engine::PostgreSQL)
        return {};
    QStringList made{QStringLiteral(
        "CREATE OR REPLACE FUNCTION innkeld_key_follows() RETURNS trigger LANGUAGE plpgsql AS $$ DECLARE seq text; "
        "top bigint; last bigint; BEGIN EXECUTE format('SELECT max(%I) FROM added', TG_ARGV[0]) INTO top; "
        "IF top IS NULL THEN RETURN NULL; END IF; "
        "seq := pg_get_serial_sequence(quote_ident(TG_TABLE_NAME), TG_ARGV[0]); "
        "EXECUTE format('SELECT CASE WHEN is_called THEN last_value ELSE last_value - 1 END FROM %s', seq) INTO last; "
        "IF top > last THEN PERFORM setval(seq, top); END IF; RETURN NULL; END $$")};
    for (const char *table : kKeyed)
        made << QStringLiteral("DROP TRIGGER IF EXISTS %1_key_follows ON %1").arg(QLatin1String(table))
             << QStringLiteral("CREATE TRIGGER %1_key_follows AFTER INSERT ON %1 REFERENCING NEW TABLE AS added FOR EACH "
                               "STATEMENT EXECUTE FUNCTION innkeld_key_follows('id')")
                    .arg(QLatin1String(table));
    return made;
}

}  // namespace

SchemaPart ServerKeysPart()
{
    return EnginePart(QCoreApplication::translate("Upgrade", "Keeping the keys past those stored"), statements, QStringLiteral("booking_key_follows"));
}

}  // namespace innkeld
