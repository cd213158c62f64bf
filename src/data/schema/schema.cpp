#include "schema.h"

#include <QThread>

#include "bookingdrafts.h"
#include "bookingstatus.h"
#include "bookingtax.h"
#include "changenotices.h"
#include "ratetables.h"
#include "bookingprices.h"
#include "guestregistration.h"
#include "mailtables.h"
#include "bookingtables.h"
#include "channeltables.h"
#include "findindex.h"
#include "houserules.h"
#include "houseterms.h"
#include "housedetails.h"
#include "invoicetables.h"
#include "payments.h"
#include "serverkeys.h"
#include "textlengths.h"
#include "paperlanguage.h"
#include "touristtax.h"
#include "data/postgres/serverengine.h"
#include "data/sqlite/fileengine.h"

#include <QCoreApplication>

#include <vector>

namespace innkeld {

namespace {

// On a server, the roles the desks connect as: each may read and write the
// rows of the house's tables and use their keys, but owns nothing, so that
// no desk can alter, disable or replace a guard. Kept so that an upgrade
// gives them what it adds.
SchemaPart deskRolesPart()
{
    return EnginePart(
        QCoreApplication::translate("Upgrade", "Adding the desks' roles"),
        [](Engine engine) {
            return engine == Engine::PostgreSQL ? QStringList{QStringLiteral("CREATE TABLE deskroles (Role text PRIMARY KEY)")}
                                                : QStringList();
        },
        QStringLiteral("deskroles"));
}

QString quotedName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// What a desk's role may do: the rows and the keys, nothing of the schema.
QStringList deskGrants(const QString &role)
{
    const QString r = quotedName(role);
    return {QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
            QStringLiteral("GRANT USAGE ON SCHEMA public TO %1").arg(r),
            QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO %1").arg(r),
            QStringLiteral("GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA public TO %1").arg(r),
            QStringLiteral("GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA public TO %1").arg(r),
            QStringLiteral("REVOKE INSERT, UPDATE, DELETE ON deskroles FROM %1").arg(r)};
}

// Whether the connection may change the schema: it owns the tables (or is
// the server's administrator).
bool mayChangeSchema(Database &db, QString *owner)
{
    const Recordset r = db.query(QStringLiteral(
        "SELECT pg_has_role(current_user, relowner, 'USAGE'), pg_get_userbyid(relowner) FROM pg_catalog.pg_class "
        "WHERE relname = 'booking' AND relnamespace = current_schema()::regnamespace"));
    if (r.eof())
        return true;
    *owner = r.text(1);
    return r.value(0).toBool() || r.text(0) == QLatin1String("t");
}

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
        TextLengthsPart(),
        BookingStatusPart(),
        RateTablesPart(),
        BookingPricesPart(),
        GuestRegistrationPart(),
        MailTablesPart(),
        ChangeNoticesPart(),
        deskRolesPart(),
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
    if (db->onServer() && !holdsBookingTables(*db)) {
        // A new house, as a new db.mdb is made on a first start; a desk's
        // role, which may make nothing, says who makes it.
        try {
            makeParts(*db);
        } catch (const DbError &e) {
            if (!e.message().contains(QLatin1String("permission denied")))
                throw;
            throw DbError(QCoreApplication::translate("Upgrade", "The database %1 holds no house yet, and this desk's "
                                                                 "role may not make one: the database's owner makes it "
                                                                 "with innkeld-sql --create %1 and lets the desks in with "
                                                                 "innkeld-sql --grant %1 ROLE.")
                              .arg(db->path())
                          + QStringLiteral("\n\n") + e.message());
        }
    }
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

QString UpgradeByOwnerMessage(const QString &address, const QString &owner)
{
    return QCoreApplication::translate("Upgrade", "The database %1 is of an earlier version of Innkeld and must be "
                                                  "upgraded before the desks use it. Only its owner may do that: whoever "
                                                  "looks after the server runs\n\n    innkeld-sql --upgrade %2\n\nas "
                                                  "the role %3, then the desks start as before.")
        .arg(address, address, owner);
}

void GrantDesk(Database &db, const QString &role)
{
    if (!db.onServer())
        throw DbError(QStringLiteral("A file has no roles: whoever may open the file may use it."));
    Database::Transaction transaction(db, SchemaLockSql());
    for (const QString &sql : deskGrants(role))
        db.run(sql);
    db.run(QStringLiteral("INSERT INTO deskroles (Role) VALUES ('%1') ON CONFLICT DO NOTHING").arg(SqlText(role)));
    transaction.commit();
}

bool UpgradeDatabase(Database &db, const UpgradeProgress &progress)
{
    // Every part there already (the usual case): nothing is written.
    if (lackingSteps(db).isEmpty())
        return false;
    // A desk's role owns nothing: it says who must upgrade, and how.
    QString owner;
    if (db.onServer() && !mayChangeSchema(db, &owner))
        throw DbError(UpgradeByOwnerMessage(db.path(), owner));
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
        // The desks' roles get what the upgrade added.
        if (db.onServer() && Catalogue::read(db).has(QStringLiteral("deskroles"))) {
            QStringList roles;
            for (Recordset r = db.query(QStringLiteral("SELECT Role FROM deskroles ORDER BY Role")); !r.eof(); r.moveNext())
                roles << r.text(0);
            for (const QString &role : roles)
                for (const QString &sql : deskGrants(role))
                    db.run(sql);
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

QThread *RunOnOwnConnection(QObject *owner, const QString &address, const std::function<void(Database &)> &work,
                            const std::function<void(const QString &failure)> &finished)
{
    auto failure = std::make_shared<QString>();
    QThread *thread = QThread::create([address, work, failure] {
        try {
            const auto db = OpenDatabase(address, false);
            work(*db);
        } catch (const std::exception &e) {
            *failure = QString::fromUtf8(e.what());
        }
    });
    QObject::connect(thread, &QThread::finished, owner, [thread, failure, finished] {
        thread->wait();
        thread->deleteLater();
        finished(*failure);
    });
    thread->start(QThread::LowPriority);
    return thread;
}

}  // namespace innkeld
