// innkeld-sql from outside: its output, its regions and its exit codes.
#include <QtTest>

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList &args, const QString &lang = QStringLiteral("en_US.UTF-8"))
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), lang);
    env.insert(QStringLiteral("LC_ALL"), lang);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("INNKELD_SQL"), args);
    if (!p.waitForFinished(30000))
        qFatal("innkeld-sql did not finish");
    return Result{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

class TestSqlTool : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void createAndExitCodes();
    void queryOutputInRegions();
};

void TestSqlTool::initTestCase()
{
    QVERIFY2(QFileInfo::exists(qEnvironmentVariable("INNKELD_SQL")), "INNKELD_SQL names the tool");
}

void TestSqlTool::createAndExitCodes()
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("db.mdb"));
    QCOMPARE(runTool({QStringLiteral("--create"), db}).exitCode, 0);
    QVERIFY(QFileInfo::exists(db));
    QCOMPARE(runTool({db, QStringLiteral("INSERT INTO room (name) VALUES ('Attic')")}).exitCode, 0);

    // An existing file is left untouched.
    const QByteArray before = [&] { QFile f(db); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    const Result again = runTool({QStringLiteral("--create"), db});
    QCOMPARE(again.exitCode, 1);
    QVERIFY(!again.err.isEmpty());
    QFile f(db);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);

    // A failing statement: the engine's error, exit 1.
    const Result bad = runTool({db, QStringLiteral("SELECT nosuch FROM room")});
    QCOMPARE(bad.exitCode, 1);
    QVERIFY2(bad.err.contains(QStringLiteral("nosuch")), qPrintable(bad.err));
    QVERIFY(bad.out.isEmpty());
    QCOMPARE(runTool({db, QStringLiteral("UPDATE room SET id = 'x'")}).exitCode, 1);

    // A missing file: a message, exit 2, and no file made.
    const QString missing = dir.filePath(QStringLiteral("missing.mdb"));
    const Result none = runTool({missing, QStringLiteral("SELECT 1")});
    QCOMPARE(none.exitCode, 2);
    QVERIFY(!none.err.isEmpty());
    QVERIFY(!QFileInfo::exists(missing));

    // Wrong use.
    QCOMPARE(runTool({db}).exitCode, 2);

    // The export of all reservations: 0 and the file; 1 and the system's
    // text for a file that cannot be written; 2 for a missing database.
    QCOMPARE(runTool({db, QStringLiteral("INSERT INTO customer (LastName) VALUES ('Lee')")}).exitCode, 0);
    QCOMPARE(runTool({db, QStringLiteral("INSERT INTO booking (CustomerID, FromDate, ToDate) VALUES (1, "
                                         "#3/5/2026 2:30 PM#, #3/8/2026#)")}).exitCode, 0);
    const QString csv = dir.filePath(QStringLiteral("all.csv"));
    QCOMPARE(runTool({QStringLiteral("--export-csv"), db, csv}).exitCode, 0);
    QFile exported(csv);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = exported.readAll().split('\n');
    QCOMPARE(lines.size(), 3);  // header, one booking, and nothing after the last CR LF
    QVERIFY(lines[1].startsWith("\"3/5/2026 2:30:00 PM\",\"3/8/2026\","));
    const Result unwritable = runTool({QStringLiteral("--export-csv"), db, dir.filePath(QStringLiteral("no/x.csv"))});
    QCOMPARE(unwritable.exitCode, 1);
    QVERIFY2(unwritable.err.contains(QStringLiteral("x.csv")), qPrintable(unwritable.err));
    QCOMPARE(runTool({QStringLiteral("--export-csv"), missing, csv}).exitCode, 2);
    QVERIFY(!QFileInfo::exists(missing));

    // A copy, and the engine's check: ok for the copy, a report and 1 for a
    // damaged file, 2 for none.
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    QCOMPARE(runTool({QStringLiteral("--backup"), db, copy}).exitCode, 0);
    const Result check = runTool({QStringLiteral("--check"), copy});
    QCOMPARE(check.exitCode, 0);
    QCOMPARE(check.out.trimmed(), QStringLiteral("ok"));
    QCOMPARE(runTool({copy, QStringLiteral("SELECT count(*) FROM booking")}).out, QStringLiteral("count(*)\n1\n"));
    {
        QFile damaged(copy);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        damaged.seek(damaged.size() / 2);
        damaged.write(QByteArray(4096, '\xff'));
    }
    QCOMPARE(runTool({QStringLiteral("--check"), copy}).exitCode, 1);
    QCOMPARE(runTool({QStringLiteral("--check"), missing}).exitCode, 2);
    QCOMPARE(runTool({QStringLiteral("--backup"), db, dir.filePath(QStringLiteral("no/copy.mdb"))}).exitCode, 1);
}

void TestSqlTool::queryOutputInRegions()
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("db.mdb"));
    QCOMPARE(runTool({QStringLiteral("--create"), db}).exitCode, 0);
    QCOMPARE(runTool({db, QStringLiteral("INSERT INTO booking (FromDate, ToDate, BookedBy, CostPerNight, NoAdults) "
                                         "VALUES (#12/7/2026 2:30 PM#, #12/10/2026#, 'O''Neil', '1,234.5', 2)")})
                 .exitCode,
             0);
    const QString query = QStringLiteral("SELECT id, fromdate, todate, bookedby, costpernight, noadults, notes FROM booking;");
    const Result us = runTool({db, query});
    QCOMPARE(us.exitCode, 0);
    QCOMPARE(us.out, QStringLiteral("ID\tFromDate\tToDate\tBookedBy\tCostPerNight\tNoAdults\tNotes\n"
                                    "1\t12/7/2026 2:30:00 PM\t12/10/2026\tO'Neil\t1234.5\t2\t\n"));
    const Result de = runTool({db, query}, QStringLiteral("de_DE.UTF-8"));
    QCOMPARE(de.out.section(QLatin1Char('\n'), 1, 1), QStringLiteral("1\t07.12.2026 14:30:00\t10.12.2026\tO'Neil\t1234,5\t2\t"));

    // Quoted regional text is read by the region of the run.
    QCOMPARE(runTool({db, QStringLiteral("UPDATE booking SET CostPerNight = '2.500,75', todate = '11.12.2026 09:00:00'")},
                     QStringLiteral("de_DE.UTF-8"))
                 .exitCode,
             0);
    const Result gb = runTool({db, QStringLiteral("SELECT costpernight, todate FROM booking")}, QStringLiteral("en_GB.UTF-8"));
    QCOMPARE(gb.out, QStringLiteral("CostPerNight\tToDate\n2500.75\t11/12/2026 09:00:00\n"));

    // A statement that is not a query prints nothing; an empty result prints the header.
    QCOMPARE(runTool({db, QStringLiteral("DELETE FROM room")}).out, QString());
    QCOMPARE(runTool({db, QStringLiteral("SELECT id, name FROM room")}).out, QStringLiteral("id\tname\n"));
}

QTEST_GUILESS_MAIN(TestSqlTool)
#include "tst_sqltool.moc"
