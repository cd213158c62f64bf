#include "schema.h"

#include "bookingdrafts.h"
#include "bookingtax.h"
#include "bookingtables.h"
#include "channeltables.h"
#include "findindex.h"
#include "houserules.h"
#include "houseterms.h"
#include "housedetails.h"
#include "invoicetables.h"
#include "payments.h"
#include "serverkeys.h"
#include "paperlanguage.h"
#include "touristtax.h"
#include "data/postgres/serverengine.h"
#include "data/sqlite/fileengine.h"

#include <QCoreApplication>

#include <vector>

namespace innkeld {

namespace {

// Every part of the schema, in the order they are made (a part's triggers
// read the tables of those before it).
const std::vector<SchemaPart> &schemaParts()
{
    static const std::vector<SchemaPart> parts{
        HouseRulesPart(),
        BookingTablesPart(),
        RoomStaysPart(),
        HouseTermsPart(),
        BookingDraftsPart(),
        ChannelTablesPart(),
        FindIndexPart(),
        HouseDetailsPart(),
        InvoiceTablesPart(),
        InvoiceDaysPart(),
        PaymentsPart(),
        TouristTaxPart(),
        PaperLanguagePart(),
        BookingTaxPart(),
        ServerKeysPart(),
    };
    return parts;
}

TableNames tableNames()
{
    TableNames names;
    for (const SchemaPart &part : schemaParts())
        names.hidden += part.hidden;
    names.first = ProgramTables();
    names.spelled = QStringList{QStringLiteral("booking"), QStringLiteral("customer")};
    names.spelling = SpelledColumns();
    return names;
}

bool holdsBookingTables(const Database &db)
{
    for (const QString &table : ProgramTables())
        if (db.schema().hasTable(table))
            return true;
    return false;
}

// Makes every part, in one transaction, unless another desk made the
// booking tables meanwhile.
void makeParts(Database &db)
{
    Database::Transaction transaction(db, SchemaLockSql());
    db.loadSchema(tableNames());
    if (!holdsBookingTables(db)) {
        for (const SchemaPart &part : schemaParts())
            for (const QString &sql : part.make(db.engineKind()))
                db.run(sql);
    }
    transaction.commit();
    db.loadSchema(tableNames());
}

}  // namespace

std::unique_ptr<Database> OpenDatabase(const QString &path, bool upgrade)
{
    std::unique_ptr<Database> db = IsServerAddress(path) ? OpenServerDatabase(path) : OpenDatabaseFile(path);
    db->setWriteLock(WriteLockSql(db->engineKind()));
    // A file that is not a booking database is refused before anything is
    // written to it; the tables are read again once those that a database
    // of an earlier version lacks are given.
    db->loadSchema(tableNames());
    if (db->onServer() && !holdsBookingTables(*db))
        makeParts(*db);  // a new house, as a new db.mdb is made on a first start
    RequireProgramTables(db->schema(), db->path());
    if (upgrade && UpgradeDatabase(*db))
        db->loadSchema(tableNames());
    return db;
}

void CreateDatabase(const QString &path)
{
    if (!IsServerAddress(path)) {
        std::unique_ptr<Database> db = MakeDatabaseFile(path);
        try {
            makeParts(*db);
        } catch (const DbError &) {
            DiscardDatabaseFile(std::move(db));
            throw;
        }
        return;
    }
    std::unique_ptr<Database> db = OpenServerDatabase(path);
    db->loadSchema(tableNames());
    if (holdsBookingTables(*db))
        throw DbError(QStringLiteral("The database %1 already holds bookings' tables; it is left as it is.").arg(db->path()));
    makeParts(*db);
}

namespace {

struct Step
{
    QString what;
    QString sql;
    // The part's, when this step is what it may build aside.
    const SchemaPart::Aside *aside = nullptr;
};

QVector<Step> lackingSteps(Database &db)
{
    const Catalogue catalogue = Catalogue::read(db);
    QVector<Step> steps;
    for (const SchemaPart &part : schemaParts())
        for (const QString &sql : part.lacking(db.engineKind(), catalogue))
            steps.append({part.what, sql, !part.aside.build.isEmpty() && sql == part.aside.replaces ? &part.aside : nullptr});
    return steps;
}

// Parts built aside, by the step they stand for.
using Asides = std::vector<std::pair<QString, std::unique_ptr<AsideBuild>>>;

AsideBuild *asideOf(const Asides &asides, const QString &sql)
{
    for (const auto &[replaced, aside] : asides)
        if (replaced == sql)
            return aside.get();
    return nullptr;
}

// Carries what was built aside for `step` into the part's tables, once
// built and found to hold together; false when it could not be built there
// (it is then built here).
bool carryOver(AsideBuild &built, const Step &step, const std::function<bool()> &stop)
{
    QString failure;
    if (!built.wait(stop, &failure)) {
        if (failure == QLatin1String("interrupted"))
            throw DbError(failure);
        return false;
    }
    built.carryOver(step.aside->tables);
    return true;
}

}  // namespace

QString UpgradeStoppedMessage()
{
    return QCoreApplication::translate("Upgrade", "The upgrade of the database was stopped; the database is as it was.");
}

bool DatabaseNeedsUpgrade(Database &db)
{
    return !lackingSteps(db).isEmpty();
}

bool UpgradeDatabase(Database &db, const UpgradeProgress &progress)
{
    // Every part there already (the usual case): nothing is written.
    if (lackingSteps(db).isEmpty())
        return false;
    const QString stopped = UpgradeStoppedMessage();
    BulkWrite bulk(db);
    Asides asides;
    try {
        // One desk upgrades the database while the others wait; what is
        // lacking is asked again once it holds the lock (and the parts built
        // aside begin then, reading what every desk has stored).
        Database::Transaction transaction(db, SchemaLockSql());
        const QVector<Step> steps = lackingSteps(db);
        for (const Step &step : steps)
            if (step.aside)
                if (std::unique_ptr<AsideBuild> aside = AsideBuild::make(db)) {
                    aside->start(step.aside->build, step.aside->check);
                    asides.emplace_back(step.sql, std::move(aside));
                }
        // A step built aside is carried over once the others have run
        // (none of them reads or writes what it builds).
        QVector<int> aside;
        for (int i = 0; i < steps.size(); ++i) {
            if (progress && !progress(i, int(steps.size()), steps.at(i).what))
                throw DbError(stopped);
            if (steps.at(i).aside && asideOf(asides, steps.at(i).sql))
                aside << i;
            else
                db.run(steps.at(i).sql);
        }
        int done = int(steps.size() - aside.size());
        for (int i : aside) {
            const Step &step = steps.at(i);
            const auto stop = [&] { return progress && !progress(done, int(steps.size()), step.what); };
            if (stop())
                throw DbError(stopped);
            if (!carryOver(*asideOf(asides, step.sql), step, stop))
                db.run(step.sql);
            ++done;
        }
        if (progress)
            progress(int(steps.size()), int(steps.size()), QString());
        transaction.commit();
    } catch (const DbError &e) {
        if (db.onServer() || progress) {
            // A stop within a statement on a file is the engine's interruption.
            if (progress && e.message() == QLatin1String("interrupted"))
                throw DbError(stopped);
            throw;
        }
        // A file that cannot be written now (read-only, or busy at another
        // desk) reads the parts it lacks through temporary ones.
        const Catalogue catalogue = Catalogue::read(db);
        for (const SchemaPart &part : schemaParts())
            if (!catalogue.has(part.table))
                for (const QString &sql : part.temporary())
                    db.run(sql);
    }
    return true;
}

}  // namespace innkeld
