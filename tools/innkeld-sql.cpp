// innkeld-sql: runs one statement of the booking database's dialect on a
// database file or a server's database, or makes a new empty database.
//
//   innkeld-sql --create DATABASE
//   innkeld-sql DATABASE "STATEMENT"
//   innkeld-sql --export-csv DATABASE FILE
//   innkeld-sql --export-ics DATABASE FOLDER
//   innkeld-sql --backup DATABASE FILE
//   innkeld-sql --check DATABASE
//   innkeld-sql --upgrade DATABASE
//   innkeld-sql --verify-invoices DATABASE
//   innkeld-sql --grant DATABASE ROLE
//   innkeld-sql --copy SOURCE TARGET
//
// A DATABASE is a file or a server's address, postgresql://user@host/name.
//
// A query prints a header line of the column names and one line per row,
// fields separated by a tab, each value in its default text conversion
// under the user's regional settings. The export writes exactly the file of
// the program's own "Export Reservations to CSV".
#include "channels/channelfeeds.h"
#include "data/schema/schema.h"
#include "data/sql/database.h"
#include "data/copies/backup.h"
#include "data/copies/housecopy.h"
#include "data/schema/houserules.h"
#include "output/csvexport.h"
#include "output/invoices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

#include "innkeld_version.h"

namespace {

int usage(QTextStream &err)
{
    err << "usage: innkeld-sql --version\n"
           "       innkeld-sql --create DATABASE\n"
           "       innkeld-sql DATABASE \"STATEMENT\"\n"
           "       innkeld-sql --export-csv DATABASE FILE\n"
           "       innkeld-sql --export-ics DATABASE FOLDER\n"
           "       innkeld-sql --backup DATABASE FILE\n"
           "       innkeld-sql --check DATABASE\n"
           "       innkeld-sql --upgrade DATABASE\n"
           "       innkeld-sql --verify-invoices DATABASE\n"
           "       innkeld-sql --grant DATABASE ROLE\n"
           "       innkeld-sql --copy SOURCE TARGET\n"
           "DATABASE: a file, or a server's address postgresql://[user@]host[:port]/name\n";
    return 2;
}

QString clean(QString text)
{
    // One row per line: a tab or line break inside a value would break it.
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("--version")}) {
        out << "innkeld-sql " << INNKELD_VERSION << '\n';
        return 0;
    }
    // A database that is not there is never made by reading it: exit 2.
    const auto missing = [&err](const QString &path) {
        if (innkeld::IsServerAddress(path) || QFileInfo::exists(path))
            return false;
        err << "innkeld-sql: no database file " << path << "\n";
        return true;
    };
    // The commands that take a database and one more file.
    using Command = void (*)(innkeld::Database &, const QString &);
    const QList<std::pair<QString, Command>> commands{
        {QStringLiteral("--export-csv"),
         [](innkeld::Database &db, const QString &file) { innkeld::ExportReservationsCsv(db, file); }},
        {QStringLiteral("--backup"), [](innkeld::Database &db, const QString &file) { innkeld::BackUpDatabase(db, file); }},
        {QStringLiteral("--export-ics"),
         [](innkeld::Database &db, const QString &folder) {
             innkeld::WriteRoomFeeds(db, folder, QDate::currentDate(), QDateTime::currentDateTimeUtc());
         }},
    };
    try {
        if (args.size() == 2 && args.at(0) == QLatin1String("--create")) {
            if (!innkeld::IsServerAddress(args.at(1)) && QFileInfo::exists(args.at(1))) {
                err << "innkeld-sql: " << args.at(1) << " already exists; it is left as it is.\n";
                return 1;
            }
            innkeld::CreateDatabase(args.at(1));
            return 0;
        }
        for (const auto &[name, command] : commands) {
            if (args.size() == 3 && args.at(0) == name) {
                if (missing(args.at(1)))
                    return 2;
                auto db = innkeld::OpenDatabase(args.at(1));
                command(*db, args.at(2));
                return 0;
            }
        }
        if (args.size() == 3 && args.at(0) == QLatin1String("--grant")) {
            // The desks' role on a server: rows and keys, owning nothing.
            auto db = innkeld::OpenDatabase(args.at(1));
            innkeld::GrantDesk(*db, args.at(2));
            out << "the role " << args.at(2) << " may use " << db->path() << " as a desk\n";
            return 0;
        }
        if (args.size() == 3 && args.at(0) == QLatin1String("--copy")) {
            if (missing(args.at(1)))
                return 2;
            auto source = innkeld::OpenDatabase(args.at(1));
            // A file target is made; a server's database gets the tables
            // when it has none.
            if (!innkeld::IsServerAddress(args.at(2)) && !QFileInfo::exists(args.at(2)))
                innkeld::CreateDatabase(args.at(2));
            auto target = innkeld::OpenDatabase(args.at(2));
            innkeld::CopyHouse(*source, *target);
            out << "copied " << source->path() << " to " << target->path() << '\n';
            return 0;
        }
        if (args.size() == 2 && args.at(0) == QLatin1String("--upgrade")) {
            if (missing(args.at(1)))
                return 2;
            // What a first start after installing does, before the desks
            // open: each step said with the seconds it took.
            auto db = innkeld::OpenDatabase(args.at(1), false);
            QElapsedTimer whole, step;
            whole.start();
            step.start();
            QString doing;
            innkeld::UpgradeDatabase(*db, [&](int, int, const QString &what) {
                if (what == doing)
                    return true;
                if (!doing.isEmpty())
                    out << QStringLiteral("%1 s  %2\n").arg(double(step.restart()) / 1000, 6, 'f', 1).arg(doing) << Qt::flush;
                doing = what;
                return true;
            });
            out << QStringLiteral("%1 s  upgraded %2\n").arg(double(whole.elapsed()) / 1000, 6, 'f', 1).arg(db->path());
            return 0;
        }
        if (args.size() == 2 && args.at(0) == QLatin1String("--verify-invoices")) {
            if (missing(args.at(1)))
                return 2;
            // Every series of invoices as it was issued: exit 0, or 1 naming
            // the first invoice where it is not.
            auto db = innkeld::OpenDatabase(args.at(1));
            const innkeld::InvoiceChain chain = innkeld::VerifyInvoices(*db);
            out << chain.text() << '\n';
            return chain.whole ? 0 : 1;
        }
        if (args.size() == 2 && args.at(0) == QLatin1String("--check")) {
            if (missing(args.at(1)))
                return 2;
            // A server checks its own pages; a file is checked by the engine.
            const QString report = innkeld::IsServerAddress(args.at(1)) ? QStringLiteral("ok")
                                                                         : innkeld::CheckDatabase(args.at(1));
            if (report != QLatin1String("ok")) {
                out << report << '\n';
                return 1;
            }
            // Sound as a file: then the rooms held twice and the links to
            // nothing that an earlier version may have stored, by the
            // house's rule; with rooms booked only from the day after a
            // departure, also the stays that meet on a day (stored while
            // the rule was otherwise, or in the order it lets them be),
            // which are no fault.
            auto db = innkeld::OpenDatabase(args.at(1));
            innkeld::StoredStays stays;
            innkeld::ReadStoredStays(*db, stays, !innkeld::DepartureDayFree(*db));
            const QStringList lines = stays.clashes + stays.meetingLines;
            if (!lines.isEmpty())
                out << lines.join(QLatin1Char('\n')) << '\n';
            if (!stays.clashes.isEmpty())
                return 1;
            out << report << '\n';
            return 0;
        }
        if (args.size() != 2 || args.at(0).startsWith(QLatin1String("--")))
            return usage(err);
        if (missing(args.at(0)))
            return 2;
        auto db = innkeld::OpenDatabase(args.at(0));
        innkeld::Recordset rs = db->execute(args.at(1));
        if (rs.fieldCount() > 0) {
            QStringList names;
            for (int i = 0; i < rs.fieldCount(); ++i)
                names << clean(rs.fieldName(i));
            out << names.join(QLatin1Char('\t')) << '\n';
            for (; !rs.eof(); rs.moveNext()) {
                QStringList values;
                for (int i = 0; i < rs.fieldCount(); ++i)
                    values << clean(rs.text(i));
                out << values.join(QLatin1Char('\t')) << '\n';
            }
        }
        return 0;
    } catch (const innkeld::DbError &e) {
        err << "innkeld-sql: " << e.message() << '\n';
        return 1;
    } catch (const std::exception &e) {
        err << "innkeld-sql: " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
}
