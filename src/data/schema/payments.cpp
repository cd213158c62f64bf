#include "payments.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

const char *const kEarlier = "Paid before payments were recorded one by one";
const char *const kTyped = "Entered as the amount paid";
// A booking's payments, with what the reports read of them (what it had
// received by a day) from the index alone.
const QString kDuesIndex = QStringLiteral("CREATE INDEX payment_dues ON payment (BookingID, PaidOn, AmountCents)");
// The reports add up the payments of a period by their day and method from
// the index alone.
const QString kPaidIndex = QStringLiteral("CREATE INDEX payment_paid ON payment (PaidOn, Method, AmountCents, BookingID)");

// The booking's AmountPayed set to the sum of its payments (when it is not
// that already), for the booking `booking` (NEW.BookingID, OLD.BookingID).
QString keepSum(const QString &booking)
{
    const QString sum = QStringLiteral("(SELECT coalesce(sum(AmountCents), 0) FROM payment WHERE BookingID = %1)").arg(booking);
    return QStringLiteral("UPDATE booking SET AmountPayed = %1 / 100.0 WHERE ID = %2 AND round(AmountPayed * 100) <> %1; ")
        .arg(sum, booking);
}

// An amount paid is kept in whole hundredths, as the payments keep it: a
// booking's amount paid with a fraction of a hundredth is refused, by any
// road (the ledger and the booking would say two amounts).
const char *const kHundredths = "An amount paid is kept in whole hundredths; %1 is not one.";

QStringList hundredthsGuard(Engine engine)
{
    const QString why = QLatin1String(kHundredths);
    if (engine == Engine::PostgreSQL)
        return {QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_paid_hundredths() RETURNS trigger LANGUAGE plpgsql AS $$ "
                               "BEGIN IF NEW.AmountPayed <> round(NEW.AmountPayed, 2) THEN RAISE EXCEPTION '%1', "
                               "NEW.AmountPayed; END IF; RETURN NEW; END $$")
                    .arg(QString(why).replace(QStringLiteral("%1"), QStringLiteral("%"))),
                QStringLiteral("CREATE TRIGGER payment_hundredths BEFORE INSERT OR UPDATE OF AmountPayed ON booking "
                               "FOR EACH ROW EXECUTE FUNCTION innkeld_paid_hundredths()")};
    const QString when = QStringLiteral("WHEN abs(NEW.AmountPayed * 100 - round(NEW.AmountPayed * 100)) > 0.000001 BEGIN "
                                        "SELECT innkeld_refuse('%1' || NEW.AmountPayed || '%2'); END")
                             .arg(why.section(QStringLiteral("%1"), 0, 0), why.section(QStringLiteral("%1"), 1));
    return {QStringLiteral("CREATE TRIGGER payment_hundredths BEFORE UPDATE OF AmountPayed ON booking ") + when,
            QStringLiteral("CREATE TRIGGER payment_hundredths_insert BEFORE INSERT ON booking ") + when};
}

QString fill(const QString &day)
{
    return QStringLiteral("INSERT INTO payment (BookingID, PaidOn, AmountCents, Method, Note) SELECT ID, %1, "
                          "CAST(round(AmountPayed * 100) AS bigint), coalesce(PaymentMethod, ''), '%2' FROM booking WHERE "
                          "round(AmountPayed * 100) <> 0 ORDER BY ID")
        .arg(day, QLatin1String(kEarlier));
}

QStringList fileStatements(bool filled)
{
    // The desk's day, as text yyyy-MM-dd.
    const QString typedDay = QStringLiteral("date('now', 'localtime')");
    QStringList statements{
        QStringLiteral("CREATE TABLE payment (id INTEGER PRIMARY KEY AUTOINCREMENT, BookingID INTEGER NOT NULL, "
                       "PaidOn TEXT NOT NULL CHECK (length(PaidOn) = 10 AND date(PaidOn) = PaidOn), "
                       "AmountCents INTEGER NOT NULL CHECK (typeof(AmountCents) = 'integer'), "
                       "Method TEXT NOT NULL DEFAULT '', Note TEXT NOT NULL DEFAULT '')"),
    };
    // Filled before it is indexed: each index is then sorted once.
    if (filled)
        statements << fill(QStringLiteral("coalesce(date(FromDate), date('now', 'localtime'))"));
    statements << kDuesIndex << kPaidIndex;
    statements << QStringLiteral("CREATE TRIGGER payment_link BEFORE INSERT ON payment BEGIN SELECT innkeld_refuse('There "
                                 "is no booking ' || NEW.BookingID || '.') WHERE NOT EXISTS (SELECT 1 FROM booking WHERE "
                                 "ID = NEW.BookingID); END")
               << QStringLiteral("CREATE TRIGGER payment_relink BEFORE UPDATE OF BookingID ON payment BEGIN SELECT "
                                 "innkeld_refuse('There is no booking ' || NEW.BookingID || '.') WHERE NOT EXISTS "
                                 "(SELECT 1 FROM booking WHERE ID = NEW.BookingID); END")
               << QStringLiteral("CREATE TRIGGER payment_added AFTER INSERT ON payment BEGIN ")
            + keepSum(QStringLiteral("NEW.BookingID")) + QStringLiteral("END")
               << QStringLiteral("CREATE TRIGGER payment_changed AFTER UPDATE ON payment BEGIN ")
            + keepSum(QStringLiteral("OLD.BookingID")) + keepSum(QStringLiteral("NEW.BookingID"))
            + QStringLiteral("END")
               << QStringLiteral("CREATE TRIGGER payment_removed AFTER DELETE ON payment BEGIN ")
            + keepSum(QStringLiteral("OLD.BookingID")) + QStringLiteral("END")
               << QStringLiteral("CREATE TRIGGER payment_booking_delete AFTER DELETE ON booking BEGIN "
                                 "DELETE FROM payment WHERE BookingID = OLD.ID; END")
               << QStringLiteral("CREATE TRIGGER payment_typed AFTER UPDATE OF AmountPayed ON booking WHEN "
                                 "round(NEW.AmountPayed * 100) <> (SELECT coalesce(sum(AmountCents), 0) FROM payment "
                                 "WHERE BookingID = NEW.ID) BEGIN INSERT INTO payment (BookingID, PaidOn, AmountCents, "
                                 "Method, Note) SELECT NEW.ID, %1, CAST(round(NEW.AmountPayed * 100) AS INTEGER) - "
                                 "coalesce(sum(AmountCents), 0), coalesce(NEW.PaymentMethod, ''), '%2' FROM payment "
                                 "WHERE BookingID = NEW.ID; END")
                      .arg(typedDay, QLatin1String(kTyped));
    return statements + hundredthsGuard(Engine::SQLite);
}

QStringList serverStatements(bool filled)
{
    QStringList statements{
        QStringLiteral("CREATE TABLE payment (id bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, "
                       "BookingID bigint NOT NULL REFERENCES booking (ID) ON DELETE CASCADE ON UPDATE CASCADE, "
                       "PaidOn text NOT NULL CHECK (length(PaidOn) = 10 AND to_char(PaidOn::date, 'YYYY-MM-DD') = PaidOn), "
                       "AmountCents bigint NOT NULL, Method text NOT NULL DEFAULT '', Note text NOT NULL DEFAULT '')"),
    };
    if (filled)
        statements << fill(QStringLiteral("to_char(coalesce(FromDate::date, current_date), 'YYYY-MM-DD')"));
    statements << kDuesIndex << kPaidIndex;
    statements
        << QStringLiteral("CREATE FUNCTION innkeld_keep_paid() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                          "IF TG_OP <> 'INSERT' THEN %1END IF; IF TG_OP <> 'DELETE' THEN %2END IF; RETURN NULL; END $$")
               .arg(keepSum(QStringLiteral("OLD.BookingID")), keepSum(QStringLiteral("NEW.BookingID")))
        << QStringLiteral("CREATE TRIGGER payment_kept AFTER INSERT OR UPDATE OR DELETE ON payment FOR EACH ROW "
                          "EXECUTE FUNCTION innkeld_keep_paid()")
        << QStringLiteral("CREATE FUNCTION innkeld_paid_typed() RETURNS trigger LANGUAGE plpgsql AS $$ DECLARE recorded "
                          "bigint; BEGIN SELECT coalesce(sum(AmountCents), 0) INTO recorded FROM payment WHERE BookingID = "
                          "NEW.ID; IF round(NEW.AmountPayed * 100) <> recorded THEN INSERT INTO payment (BookingID, PaidOn, "
                          "AmountCents, Method, Note) VALUES (NEW.ID, to_char(current_date, 'YYYY-MM-DD'), "
                          "round(NEW.AmountPayed * 100) - recorded, coalesce(NEW.PaymentMethod, ''), '%1'); END IF; "
                          "RETURN NULL; END $$")
               .arg(QLatin1String(kTyped))
        << QStringLiteral("CREATE TRIGGER payment_typed AFTER UPDATE OF AmountPayed ON booking FOR EACH ROW "
                          "EXECUTE FUNCTION innkeld_paid_typed()");
    return statements + hundredthsGuard(Engine::PostgreSQL);
}

}  // namespace

SchemaPart PaymentsPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Recording the payments received");
    part.make = [](Engine engine) { return engine == Engine::PostgreSQL ? serverStatements(false) : fileStatements(false); };
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        if (catalogue.has(QStringLiteral("payment"))) {
            QStringList lacking;
            if (!catalogue.has(QStringLiteral("payment_dues")))
                lacking << kDuesIndex << QStringLiteral("DROP INDEX IF EXISTS payment_booking");
            if (!catalogue.has(QStringLiteral("payment_paid")))
                lacking << kPaidIndex;
            if (!catalogue.has(QStringLiteral("payment_hundredths")))
                lacking << hundredthsGuard(engine);
            return lacking;
        }
        return engine == Engine::PostgreSQL ? serverStatements(true) : fileStatements(true);
    };
    part.table = QStringLiteral("payment");
    part.temporary = [] { return TemporaryStatements(fileStatements(true)); };
    return part;
}

}  // namespace innkeld
