#include "invoicetables.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

const char *const kRefusal = "An issued invoice is never changed nor removed: put it right with a credit note.";
// The journal of a period reads the invoices of its days.
const QString kIssuedIndex = QStringLiteral("CREATE INDEX invoice_issued ON invoice (IssuedOn)");
const char *const kSeriesRefusal = "The invoice numbers go on one at a time and are never taken back.";
const char *const kNextRefusal = "An invoice takes the next number of its series.";
const char *const kNumberRefusal =
    "An invoice is numbered as the house numbers its invoices: its prefix, the year when the series starts again each "
    "year, then its place in the series.";
const char *const kChainRefusal = "An invoice follows the one before it in its series.";
const char *const kCreditedRefusal = "The invoice was already credited.";

// The columns of an invoice; amounts in the currency's hundredths. Each
// invoice keeps the digest of what it holds and the digest of the one
// before it in its series.
QString invoiceColumns(const QString &key, const QString &link)
{
    return QStringLiteral("id %1, Number text NOT NULL UNIQUE, Series text NOT NULL, Sequence %2 NOT NULL, "
                          "Kind text NOT NULL CHECK (Kind IN ('invoice', 'credit')), "
                          "IssuedOn text NOT NULL CHECK (length(IssuedOn) = 10), BookingID %2 NOT NULL, "
                          "CreditOf %2 %3, Guest text NOT NULL, GuestAddress text NOT NULL, House text NOT NULL, "
                          "LogoDigest text NOT NULL, Currency text NOT NULL, TaxName text NOT NULL, "
                          "TaxRate text NOT NULL, Lines text NOT NULL, NetCents %2 NOT NULL, TaxCents %2 NOT NULL, "
                          "TotalCents %2 NOT NULL, PaidCents %2 NOT NULL, Digest text NOT NULL DEFAULT '', "
                          "PriorDigest text NOT NULL DEFAULT '', UNIQUE (Series, Sequence)")
        .arg(key, link.isEmpty() ? QStringLiteral("INTEGER") : QStringLiteral("bigint"), link);
}

// The series and number the house's details give an invoice issued on
// NEW.IssuedOn with NEW.Sequence (a house without details: no prefix, a
// series a year).
QString seriesOfHouse()
{
    return QStringLiteral("coalesce((SELECT CASE WHEN YearlyRestart = 1 THEN substr(NEW.IssuedOn, 1, 4) ELSE 'all' END "
                          "FROM housedetails WHERE id = 1), substr(NEW.IssuedOn, 1, 4))");
}

QString numberOfHouse(Engine engine)
{
    const QString digits = engine == Engine::PostgreSQL
        ? QStringLiteral("lpad(NEW.Sequence::text, greatest(4, length(NEW.Sequence::text)), '0')")
        : QStringLiteral("printf('%04d', NEW.Sequence)");
    return QStringLiteral("coalesce((SELECT InvoicePrefix || CASE WHEN YearlyRestart = 1 THEN substr(NEW.IssuedOn, 1, 4) "
                          "|| '-' ELSE '' END FROM housedetails WHERE id = 1), substr(NEW.IssuedOn, 1, 4) || '-') || ")
        + digits;
}

// What an invoice stored must be, each a condition that refuses it with
// its reason. A row whose key, number, place in its series or credited
// invoice is taken is refused before anything is replaced (a REPLACE
// removes the row in the way without its delete trigger).
QVector<std::pair<QString, QString>> issueRules(Engine engine)
{
    const QString distinct = engine == Engine::PostgreSQL ? QStringLiteral(" IS DISTINCT FROM ") : QStringLiteral(" IS NOT ");
    return {
        {QStringLiteral("EXISTS (SELECT 1 FROM invoice WHERE id = NEW.id) OR EXISTS (SELECT 1 FROM invoice WHERE Number "
                        "= NEW.Number) OR EXISTS (SELECT 1 FROM invoice WHERE Series = NEW.Series AND Sequence = "
                        "NEW.Sequence)"),
         QLatin1String(kRefusal)},
        {QStringLiteral("NEW.Sequence") + distinct
             + QStringLiteral("coalesce((SELECT LastNumber FROM invoiceseries WHERE Series = NEW.Series), 0) + 1"),
         QLatin1String(kNextRefusal)},
        {QStringLiteral("NEW.Series") + distinct + seriesOfHouse() + QStringLiteral(" OR NEW.Number") + distinct
             + numberOfHouse(engine),
         QLatin1String(kNumberRefusal)},
        {QStringLiteral("NEW.PriorDigest") + distinct
             + QStringLiteral("coalesce((SELECT Digest FROM invoice WHERE Series = NEW.Series AND Sequence = "
                              "NEW.Sequence - 1), '')"),
         QLatin1String(kChainRefusal)},
        {QStringLiteral("NEW.Kind = 'credit' AND NOT EXISTS (SELECT 1 FROM invoice WHERE id = NEW.CreditOf AND Kind = "
                        "'invoice')"),
         QStringLiteral("A credit note credits an invoice that was issued.")},
        {QStringLiteral("NEW.CreditOf IS NOT NULL AND EXISTS (SELECT 1 FROM invoice WHERE CreditOf = NEW.CreditOf)"),
         QLatin1String(kCreditedRefusal)},
        {QStringLiteral("NEW.Kind = 'invoice' AND NEW.CreditOf IS NOT NULL"), QStringLiteral("An invoice credits nothing.")},
        {QStringLiteral("NEW.LogoDigest <> '' AND NOT EXISTS (SELECT 1 FROM invoicelogo WHERE Digest = NEW.LogoDigest)"),
         QStringLiteral("There is no such logo.")},
    };
}

// A series' last number is the last invoice issued in it: set by issuing
// alone (the invoice's own trigger), never skipped, reset nor removed.
const char *const kSeriesIssued = "(SELECT max(Sequence) FROM invoice WHERE Series = NEW.Series)";
const char *const kSeriesAdvance =
    "INSERT INTO invoiceseries (Series, LastNumber) VALUES (NEW.Series, NEW.Sequence) ON CONFLICT (Series) DO UPDATE "
    "SET LastNumber = excluded.LastNumber";

QStringList tableStatements(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return {
            QStringLiteral("CREATE TABLE invoiceseries (Series text PRIMARY KEY, LastNumber bigint NOT NULL CHECK (LastNumber > 0))"),
            QStringLiteral("CREATE TABLE invoicelogo (Digest text PRIMARY KEY, Picture text NOT NULL)"),
            QStringLiteral("CREATE TABLE invoice (%1)")
                .arg(invoiceColumns(QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"),
                                    QStringLiteral("REFERENCES invoice (id)"))),
            QStringLiteral("CREATE INDEX invoice_booking ON invoice (BookingID)"),
            QStringLiteral("CREATE UNIQUE INDEX invoice_credited ON invoice (CreditOf)"),
            kIssuedIndex,
        };
    return {
        QStringLiteral("CREATE TABLE invoiceseries (Series TEXT PRIMARY KEY, LastNumber INTEGER NOT NULL CHECK (LastNumber > 0))"),
        QStringLiteral("CREATE TABLE invoicelogo (Digest TEXT PRIMARY KEY, Picture TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE invoice (%1)").arg(invoiceColumns(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"), QString())),
        QStringLiteral("CREATE INDEX invoice_booking ON invoice (BookingID)"),
        QStringLiteral("CREATE UNIQUE INDEX invoice_credited ON invoice (CreditOf)"),
        kIssuedIndex,
    };
}

// The triggers, by name and table, that guard the invoices.
const std::pair<const char *, const char *> kFileGuards[] = {
    {"invoice_issued_update", "invoice"}, {"invoice_issued_delete", "invoice"},  {"invoice_logo_update", "invoicelogo"},
    {"invoice_logo_delete", "invoicelogo"}, {"invoice_logo_given", "invoicelogo"}, {"invoice_issue", "invoice"},
    {"invoice_series_advance", "invoice"}, {"invoice_series_given", "invoiceseries"},
    {"invoice_series_step", "invoiceseries"}, {"invoice_series_delete", "invoiceseries"}};
const std::pair<const char *, const char *> kServerGuards[] = {
    {"invoice_issued", "invoice"},          {"invoice_issued_truncate", "invoice"},
    {"invoice_logo_kept", "invoicelogo"},   {"invoice_logo_truncate", "invoicelogo"},
    {"invoice_logo_given", "invoicelogo"},  {"invoice_issue", "invoice"},
    {"invoice_series_advance", "invoice"},  {"invoice_series_given", "invoiceseries"},
    {"invoice_series_step", "invoiceseries"}, {"invoice_series_truncate", "invoiceseries"}};

QStringList fileGuards()
{
    const auto refuse = [](const QString &why) { return QStringLiteral("SELECT RAISE(ABORT, '%1'); ").arg(why); };
    QString issue = QStringLiteral("CREATE TRIGGER invoice_issue BEFORE INSERT ON invoice BEGIN ");
    for (const auto &[condition, why] : issueRules(Engine::SQLite))
        issue += QStringLiteral("SELECT RAISE(ABORT, '") + why + QStringLiteral("') WHERE ") + condition + QStringLiteral("; ");
    issue += QStringLiteral("END");
    const QString never = refuse(QLatin1String(kRefusal)), series = refuse(QLatin1String(kSeriesRefusal));
    return {
        QStringLiteral("CREATE TRIGGER invoice_issued_update BEFORE UPDATE ON invoice BEGIN ") + never + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER invoice_issued_delete BEFORE DELETE ON invoice BEGIN ") + never + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER invoice_logo_update BEFORE UPDATE ON invoicelogo BEGIN ") + never + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER invoice_logo_delete BEFORE DELETE ON invoicelogo BEGIN ") + never + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER invoice_logo_given BEFORE INSERT ON invoicelogo WHEN EXISTS (SELECT 1 FROM "
                       "invoicelogo WHERE Digest = NEW.Digest) BEGIN ")
            + never + QStringLiteral("END"),
        issue,
        QStringLiteral("CREATE TRIGGER invoice_series_advance AFTER INSERT ON invoice BEGIN %1; END")
            .arg(QLatin1String(kSeriesAdvance)),
        QStringLiteral("CREATE TRIGGER invoice_series_given BEFORE INSERT ON invoiceseries WHEN NEW.LastNumber IS NOT %1 "
                       "BEGIN ")
                .arg(QLatin1String(kSeriesIssued))
            + series + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER invoice_series_step BEFORE UPDATE ON invoiceseries WHEN NEW.Series <> OLD.Series "
                       "OR NEW.LastNumber <> OLD.LastNumber + 1 OR NEW.LastNumber IS NOT %1 BEGIN ")
                .arg(QLatin1String(kSeriesIssued))
            + series + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER invoice_series_delete BEFORE DELETE ON invoiceseries BEGIN ") + series
            + QStringLiteral("END"),
    };
}

QStringList serverGuards()
{
    QString issue = QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_issue() RETURNS trigger LANGUAGE plpgsql "
                                   "AS $$ BEGIN ");
    for (const auto &[condition, why] : issueRules(Engine::PostgreSQL))
        issue += QStringLiteral("IF ") + condition + QStringLiteral(" THEN RAISE EXCEPTION '") + why
            + QStringLiteral("'; END IF; ");
    issue += QStringLiteral("RETURN NEW; END $$");
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_issued() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "RAISE EXCEPTION '%1'; END $$")
            .arg(QLatin1String(kRefusal)),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_series() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF TG_OP = 'DELETE' THEN RAISE EXCEPTION '%1'; END IF; "
                       "IF NEW.LastNumber IS DISTINCT FROM %2 OR (TG_OP = 'UPDATE' AND (NEW.Series <> OLD.Series OR "
                       "NEW.LastNumber <> OLD.LastNumber + 1)) THEN RAISE EXCEPTION '%1'; END IF; RETURN NEW; END $$")
            .arg(QLatin1String(kSeriesRefusal), QLatin1String(kSeriesIssued)),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_advance() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "%1; RETURN NULL; END $$")
            .arg(QLatin1String(kSeriesAdvance)),
        QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_logo() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF EXISTS (SELECT 1 FROM invoicelogo WHERE Digest = NEW.Digest) THEN RAISE EXCEPTION '%1'; END IF; "
                       "RETURN NEW; END $$")
            .arg(QLatin1String(kRefusal)),
        issue,
        QStringLiteral("CREATE TRIGGER invoice_issued BEFORE UPDATE OR DELETE ON invoice FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_issued()"),
        QStringLiteral("CREATE TRIGGER invoice_issued_truncate BEFORE TRUNCATE ON invoice FOR EACH STATEMENT "
                       "EXECUTE FUNCTION innkeld_invoice_issued()"),
        QStringLiteral("CREATE TRIGGER invoice_logo_kept BEFORE UPDATE OR DELETE ON invoicelogo FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_issued()"),
        QStringLiteral("CREATE TRIGGER invoice_logo_truncate BEFORE TRUNCATE ON invoicelogo FOR EACH STATEMENT "
                       "EXECUTE FUNCTION innkeld_invoice_issued()"),
        QStringLiteral("CREATE TRIGGER invoice_logo_given BEFORE INSERT ON invoicelogo FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_logo()"),
        QStringLiteral("CREATE TRIGGER invoice_issue BEFORE INSERT ON invoice FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_issue()"),
        QStringLiteral("CREATE TRIGGER invoice_series_advance AFTER INSERT ON invoice FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_advance()"),
        QStringLiteral("CREATE TRIGGER invoice_series_given BEFORE INSERT ON invoiceseries FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_series()"),
        QStringLiteral("CREATE TRIGGER invoice_series_step BEFORE UPDATE OR DELETE ON invoiceseries FOR EACH ROW "
                       "EXECUTE FUNCTION innkeld_invoice_series()"),
        QStringLiteral("CREATE TRIGGER invoice_series_truncate BEFORE TRUNCATE ON invoiceseries FOR EACH STATEMENT "
                       "EXECUTE FUNCTION innkeld_invoice_issued()"),
    };
}

QStringList guardStatements(Engine engine)
{
    return engine == Engine::PostgreSQL ? serverGuards() : fileGuards();
}

// The guards of an earlier version taken away (their names are kept).
QStringList dropGuards(Engine engine)
{
    QStringList drops;
    if (engine == Engine::PostgreSQL)
        for (const auto &[name, table] : kServerGuards)
            drops << QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(QLatin1String(name), QLatin1String(table));
    else
        for (const auto &[name, table] : kFileGuards)
            drops << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(name));
    return drops;
}

// Whether the invoices' guards are this version's: the issue's rule knows
// the chain of digests.
bool guardsCurrent(Engine engine, const Catalogue &catalogue)
{
    return catalogue
        .text(engine == Engine::PostgreSQL ? QStringLiteral("innkeld_invoice_issue") : QStringLiteral("invoice_issue"))
        .contains(QLatin1String("PriorDigest"));
}

}  // namespace

QString InvoiceSeriesOf(bool yearlyRestart, const QDate &on)
{
    return yearlyRestart ? QString::number(on.year()) : QStringLiteral("all");
}

QString InvoiceNumberOf(const QString &prefix, bool yearlyRestart, const QDate &on, qint64 sequence)
{
    return prefix + (yearlyRestart ? QString::number(on.year()) + QLatin1Char('-') : QString())
        + QStringLiteral("%1").arg(sequence, 4, 10, QLatin1Char('0'));
}

QString NextInvoiceNumber(Database &db, const QString &prefix, bool yearlyRestart, const QDate &on, bool *taken)
{
    const QString series = QLatin1Char('\'') + SqlText(InvoiceSeriesOf(yearlyRestart, on)) + QLatin1Char('\'');
    const Recordset last = db.query(QStringLiteral("SELECT LastNumber FROM invoiceseries WHERE Series = %1").arg(series));
    const QString number = InvoiceNumberOf(prefix, yearlyRestart, on, last.eof() ? 1 : last.value(0).toLongLong() + 1);
    *taken = !db.query(QStringLiteral("SELECT 1 FROM invoice WHERE Number = '%1'").arg(SqlText(number))).eof();
    return number;
}

QString IssuedInvoiceRefusal()
{
    return QLatin1String(kRefusal);
}

SchemaPart InvoiceTablesPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Adding the invoices");
    part.make = [](Engine engine) { return tableStatements(engine) + guardStatements(engine); };
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        if (!catalogue.has(QStringLiteral("invoice")))
            return tableStatements(engine) + guardStatements(engine);
        QStringList lacking;
        if (!catalogue.has(QStringLiteral("invoice_issued")))
            lacking << kIssuedIndex;
        if (!guardsCurrent(engine, catalogue))
            lacking << QStringLiteral("ALTER TABLE invoice ADD COLUMN Digest text NOT NULL DEFAULT ''")
                    << QStringLiteral("ALTER TABLE invoice ADD COLUMN PriorDigest text NOT NULL DEFAULT ''")
                    << dropGuards(engine) << guardStatements(engine);
        return lacking;
    };
    part.table = QStringLiteral("invoice");
    part.temporary = [] { return TemporaryStatements(tableStatements(Engine::SQLite)); };
    return part;
}

namespace {

// The amounts issued each day by tax and rate, as the invoices and credit
// notes of the day add up: the reports read a period's days, not every
// invoice. Each invoice stored adds up its day and tax again from the
// invoices; no other write of the sums is taken (each must be what the
// invoices add up to), and none is removed.
const char *const kDaysTable = "CREATE TABLE invoiceday (IssuedOn text NOT NULL, TaxName text NOT NULL, TaxRate text NOT "
                               "NULL, Issued bigint NOT NULL, NetCents bigint NOT NULL, TaxCents bigint NOT NULL, "
                               "TotalCents bigint NOT NULL, PRIMARY KEY (IssuedOn, TaxName, TaxRate))";
const char *const kDaysFill = "INSERT INTO invoiceday (IssuedOn, TaxName, TaxRate, Issued, NetCents, TaxCents, TotalCents) "
                              "SELECT IssuedOn, TaxName, TaxRate, count(*), sum(NetCents), sum(TaxCents), sum(TotalCents) "
                              "FROM invoice GROUP BY IssuedOn, TaxName, TaxRate";
const char *const kDaysAdd = "INSERT INTO invoiceday (IssuedOn, TaxName, TaxRate, Issued, NetCents, TaxCents, TotalCents) "
                             "SELECT NEW.IssuedOn, NEW.TaxName, NEW.TaxRate, count(*), sum(NetCents), sum(TaxCents), "
                             "sum(TotalCents) FROM invoice WHERE IssuedOn = NEW.IssuedOn AND TaxName = NEW.TaxName AND "
                             "TaxRate = NEW.TaxRate ON CONFLICT (IssuedOn, TaxName, TaxRate) DO UPDATE SET Issued = "
                             "excluded.Issued, NetCents = excluded.NetCents, TaxCents = excluded.TaxCents, TotalCents = "
                             "excluded.TotalCents";
const char *const kDaysRefusal = "The sums of the days are what the invoices issued add up to; they are not written by hand.";
// True when the row NEW is not what the day's invoices of its tax add up to.
const char *const kDaysWrong = "NOT EXISTS (SELECT 1 FROM (SELECT count(*) AS n, sum(NetCents) AS net, sum(TaxCents) AS tax, "
                               "sum(TotalCents) AS total FROM invoice WHERE IssuedOn = NEW.IssuedOn AND TaxName = "
                               "NEW.TaxName AND TaxRate = NEW.TaxRate) AS issued WHERE n = NEW.Issued AND net = NEW.NetCents "
                               "AND tax = NEW.TaxCents AND total = NEW.TotalCents)";

QStringList dayGuards(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return {
            QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_day() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                           "%1; RETURN NULL; END $$")
                .arg(QLatin1String(kDaysAdd)),
            QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_invoice_day_kept() RETURNS trigger LANGUAGE plpgsql AS $$ "
                           "BEGIN IF TG_OP = 'DELETE' OR TG_OP = 'TRUNCATE' OR %1 THEN RAISE EXCEPTION '%2'; END IF; "
                           "RETURN NEW; END $$")
                .arg(QLatin1String(kDaysWrong), QLatin1String(kDaysRefusal)),
            QStringLiteral("CREATE TRIGGER invoice_day AFTER INSERT ON invoice FOR EACH ROW "
                           "EXECUTE FUNCTION innkeld_invoice_day()"),
            QStringLiteral("CREATE TRIGGER invoice_day_kept BEFORE INSERT OR UPDATE OR DELETE ON invoiceday FOR EACH ROW "
                           "EXECUTE FUNCTION innkeld_invoice_day_kept()"),
            QStringLiteral("CREATE TRIGGER invoice_day_truncate BEFORE TRUNCATE ON invoiceday FOR EACH STATEMENT "
                           "EXECUTE FUNCTION innkeld_invoice_day_kept()"),
        };
    const QString refuse = QStringLiteral("BEGIN SELECT RAISE(ABORT, '%1'); END").arg(QLatin1String(kDaysRefusal));
    return {
        QStringLiteral("CREATE TRIGGER invoice_day AFTER INSERT ON invoice BEGIN %1; END").arg(QLatin1String(kDaysAdd)),
        QStringLiteral("CREATE TRIGGER invoice_day_given BEFORE INSERT ON invoiceday WHEN %1 ").arg(QLatin1String(kDaysWrong))
            + refuse,
        QStringLiteral("CREATE TRIGGER invoice_day_step BEFORE UPDATE ON invoiceday WHEN %1 ").arg(QLatin1String(kDaysWrong))
            + refuse,
        QStringLiteral("CREATE TRIGGER invoice_day_delete BEFORE DELETE ON invoiceday ") + refuse,
    };
}

QStringList dayStatements(Engine engine, bool filled)
{
    QStringList statements{QLatin1String(kDaysTable)};
    if (filled)
        statements << QLatin1String(kDaysFill);
    return statements + dayGuards(engine);
}

}  // namespace

SchemaPart InvoiceDaysPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Adding up the invoices by day");
    part.make = [](Engine engine) { return dayStatements(engine, false); };
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        if (!catalogue.has(QStringLiteral("invoiceday")))
            return dayStatements(engine, true);
        if (catalogue.has(QStringLiteral("invoice_day_kept")) || catalogue.has(QStringLiteral("invoice_day_given")))
            return QStringList();
        return QStringList{engine == Engine::PostgreSQL ? QStringLiteral("DROP TRIGGER IF EXISTS invoice_day ON invoice")
                                                        : QStringLiteral("DROP TRIGGER IF EXISTS invoice_day")}
        + dayGuards(engine);
    };
    part.table = QStringLiteral("invoiceday");
    part.temporary = [] { return TemporaryStatements(dayStatements(Engine::SQLite, true)); };
    return part;
}

QStringList InvoiceGuardsSuspended(Engine engine)
{
    QStringList drops = dropGuards(engine);
    const bool server = engine == Engine::PostgreSQL;
    const QStringList days = server ? QStringList{QStringLiteral("invoice_day ON invoice"),
                                                  QStringLiteral("invoice_day_kept ON invoiceday"),
                                                  QStringLiteral("invoice_day_truncate ON invoiceday")}
                                    : QStringList{QStringLiteral("invoice_day"), QStringLiteral("invoice_day_given"),
                                                  QStringLiteral("invoice_day_step"), QStringLiteral("invoice_day_delete")};
    for (const QString &trigger : days)
        drops << QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger;
    return drops;
}

QStringList InvoiceGuardsRestored(Engine engine)
{
    return QStringList{QStringLiteral("DELETE FROM invoiceday"), QLatin1String(kDaysFill)} + guardStatements(engine)
        + dayGuards(engine);
}

}  // namespace innkeld
