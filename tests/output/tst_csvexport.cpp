// The export of all reservations: files in two regions read back field by
// field with an RFC 4180 reader, a file that appears whole or not at all,
// the File menu's command through the dialog seam.
#include "app/frmMain.h"
#include "data/regional/regional.h"
#include "guisupport.h"
#include "output/csvexport.h"

#include <QBuffer>
#include <QMenu>
#include <QRegularExpression>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// Reads CSV as RFC 4180 writes it: fields in double quotes may hold commas,
// line breaks and doubled quotes; records end with CR LF.
QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field);
    return records;
}

QString readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("(missing)");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A house with a guest whose values try every corner of the format, one
// booking without a customer and one plain guest.
struct Guests
{
    RecordId tricky = 0, plain = 0;
    explicit Guests(TempDatabase &t)
    {
        tricky = t.addGuest(WallClock(QDate(2026, 3, 5), QTime(14, 30, 15)), WallClock(QDate(2026, 3, 8)),
                            QStringLiteral("Anne \"Nan\""), QStringLiteral("O'Hara, 😀"));
        t.run(QStringLiteral("UPDATE booking SET Notes = 'Cot, \"quiet\" room' || char(13, 10) || 'Late', "
                             "NoAdults = 2.5, CostPerNight = 1234.5, BookedBy = 'Ren' WHERE id = %1").arg(tricky));
        t.addBooking(WallClock(QDate(2026, 3, 5), QTime(9, 0)), WallClock(QDate(2026, 3, 6), QTime(9, 0)), 0);
        plain = t.addGuest(WallClock(QDate(2026, 4, 1), QTime(9, 0)), WallClock(QDate(2026, 4, 2), QTime(9, 0)),
                           QStringLiteral("Bo"), QStringLiteral("Kim"));
    }
};

}  // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void filesReadBackInTwoRegions_data();
    void filesReadBackInTwoRegions();
    void wholeOrNotAtAll();
    void fileMenuExport();
    void nothingASpreadsheetWouldRun();
};

void TestCsvExport::filesReadBackInTwoRegions_data()
{
    QTest::addColumn<QString>("region");
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("de_DE") << "de_DE";
}

void TestCsvExport::filesReadBackInTwoRegions()
{
    QFETCH(QString, region);
    LocaleScope scope(region.toLatin1().constData());
    TempDatabase t;
    const Guests g(t);
    const QString path = QDir(t.folder()).filePath(QStringLiteral("out.csv"));
    writeFile(path, QByteArray(5000, 'x') + "\r\n");  // a longer file is replaced whole
    QVERIFY(ExportReservationsCsv(t.db(), path));

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("FromDate, ToDate, BookedBy, Notes,"));  // no byte-order mark
    QVERIFY(bytes.endsWith("\"\"\r\n"));
    const QList<QStringList> records = readCsv(QString::fromUtf8(bytes));
    QCOMPARE(records.size(), 3);  // the header and the two guests; no booking without a customer
    QCOMPARE(records[0].join(QLatin1Char(',')),
             QStringLiteral("FromDate, ToDate, BookedBy, Notes, NoAdults, NoKids, PaymentMethod, OtherCharges, "
                            "SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType, "
                            "CostPerNight,FirstName, LastName, Address1, Address2, City, State, PostCode, Country, "
                            "Phone, Email, SubmittedDate, BusinessName"));
    const QStringList row = records[1];
    QCOMPARE(row.size(), 27);
    QCOMPARE(row[0], RegionalDateTimeText(WallClock(QDate(2026, 3, 5), QTime(14, 30, 15))));
    QVERIFY(row[0].contains(QStringLiteral("2026")) && row[0].contains(QStringLiteral("30:15")));
    QCOMPARE(row[1], RegionalShortDate(QDate(2026, 3, 8)));  // midnight: no time
    QCOMPARE(row[2], QStringLiteral("Ren"));
    QCOMPARE(row[3], QStringLiteral("Cot, \"quiet\" room\r\nLate"));
    QCOMPARE(row[4], NumberText(2.5));
    QCOMPARE(row[4], region == QLatin1String("de_DE") ? QStringLiteral("2,5") : QStringLiteral("2.5"));
    QCOMPARE(row[14], NumberText(1234.5));  // no grouping, no symbol
    QCOMPARE(row[15], QStringLiteral("Anne \"Nan\""));
    QCOMPARE(row[16], QStringLiteral("O'Hara, 😀"));
    QCOMPARE(row[11], QString());  // empty texts
    QCOMPARE(records[2][15], QStringLiteral("Bo"));
    // Each field is the value's text as the program shows it, quoted by q.
    Recordset rs = t.run(ReservationsExportSql());
    QCOMPARE(q(rs.value(QStringLiteral("Notes"))), QStringLiteral("\"Cot, \"\"quiet\"\" room\r\nLate\""));
    QCOMPARE(q(QVariant()), QStringLiteral("\"\""));
}

void TestCsvExport::nothingASpreadsheetWouldRun()
{
    // Names a spreadsheet would take for formulas get an apostrophe, in the
    // reservations' export and in every CSV written line by line (the
    // journal, the reports); numbers stay numbers, a negative amount has a
    // minus sign.
    TempDatabase t;
    const QStringList hostile{QStringLiteral("=HYPERLINK(\"http://127.0.0.1:9/x\",\"click\")"),
                              QStringLiteral("+cmd|' /C calc'!A0"), QStringLiteral("@SUM(1+1)"),
                              QStringLiteral("-2+3+cmd|x")};
    for (const QString &name : hostile) {
        const RecordId id = t.addGuest(WallClock(QDate(2026, 3, 5)), WallClock(QDate(2026, 3, 6)), name, QStringLiteral("X"));
        t.run(QStringLiteral("UPDATE booking SET OtherCharges = -537.5 WHERE id = %1").arg(id));
        t.run(QStringLiteral("UPDATE customer SET Phone = '+49 30 1234' WHERE id = (SELECT CustomerID FROM booking "
                             "WHERE id = %1)").arg(id));
    }
    const QString path = QDir(t.folder()).filePath(QStringLiteral("out.csv"));
    QVERIFY(ExportReservationsCsv(t.db(), path));
    const QList<QStringList> records = readCsv(readFile(path));
    QCOMPARE(records.size(), 5);
    for (int i = 0; i < hostile.size(); ++i) {
        QCOMPARE(records[i + 1][15], QLatin1Char('\'') + hostile[i]);
        QCOMPARE(records[i + 1][7], NumberText(-537.5));
        QCOMPARE(records[i + 1][23], QStringLiteral("+49 30 1234"));
    }
    QBuffer lines;
    lines.open(QIODevice::WriteOnly);
    WriteCsvLine(lines, hostile + QStringList{QStringLiteral("(537.50)"), QStringLiteral("-537.50"), QStringLiteral("\tx"),
                                              QStringLiteral("12")});
    const QStringList written = readCsv(QString::fromUtf8(lines.data())).value(0);
    for (int i = 0; i < hostile.size(); ++i)
        QCOMPARE(written[i], QLatin1Char('\'') + hostile[i]);
    QCOMPARE(written.mid(hostile.size()), (QStringList{QStringLiteral("-537.50"), QStringLiteral("-537.50"),
                                                        QStringLiteral("'\tx"), QStringLiteral("12")}));
}

void TestCsvExport::wholeOrNotAtAll()
{
    TempDatabase t;
    const Guests g(t);
    const QString path = QDir(t.folder()).filePath(QStringLiteral("kept.csv"));
    writeFile(path, "old content\r\n");
    const auto untouched = [&] {
        QCOMPARE(readFile(path), QStringLiteral("old content\r\n"));
        // db.mdb (with its log) and the old file, nothing half-made
        QCOMPARE(QDir(t.folder()).entryList(QDir::Files).filter(QRegularExpression(QStringLiteral("^(?!db\\.mdb)"))),
                 QStringList{QStringLiteral("kept.csv")});
    };
    // Stopped from the progress: the old file stays.
    QVERIFY(!ExportReservationsCsv(t.db(), path, [](qint64, qint64) { return false; }));
    untouched();
    // A failure while writing: the old file stays.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ExportReservationsCsv(t.db(), path, [](qint64, qint64) -> bool {
                                 throw std::runtime_error("No space left on device");
                             }));
    untouched();
    // A query that fails: the engine's text, the old file stays.
    t.run(QStringLiteral("ALTER TABLE customer RENAME TO customer_away"));
    QVERIFY_THROWS_EXCEPTION(DbError, ExportReservationsCsv(t.db(), path));
    untouched();
    t.run(QStringLiteral("ALTER TABLE customer_away RENAME TO customer"));
    // A folder that is not there: the system's text, no file.
    try {
        ExportReservationsCsv(t.db(), QDir(t.folder()).filePath(QStringLiteral("no/such/folder/x.csv")));
        QFAIL("no folder, no file");
    } catch (const std::runtime_error &e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("x.csv")), e.what());
    }
}

void TestCsvExport::fileMenuExport()
{
    ProgramRun p;
    p.notFirst();
    const Guests g(p.database);
    QCOMPARE(p.run(), 0);
    auto *file = p.main()->findChild<QMenu *>(QStringLiteral("mnuFile"));
    QStringList items;
    for (QAction *a : file->actions())
        items << a->text();
    QCOMPARE(items, (QStringList{QStringLiteral("&Export Reservations to CSV"), QStringLiteral("&Back Up Database..."),
                                 QStringLiteral("&Import Channel Bookings"), QStringLiteral("E&xit")}));
    QAction *exportItem = p.main()->findChild<QAction *>(QStringLiteral("mnuFileExportResCSV"));

    // Cancel in the dialog: nothing happens.
    exportItem->trigger();
    QCOMPARE(p.ui.savePrompts.size(), 1);
    QCOMPARE(p.ui.saveFilter, QStringLiteral("CSV(*.CSV)"));
    QCOMPARE(p.ui.saveSuffix, QStringLiteral("csv"));
    QCOMPARE(QDir(p.database.folder()).entryList(QDir::Files).filter(QRegularExpression(QStringLiteral("^(?!db\\.mdb)"))),
             QStringList());

    // A chosen file is written, the same as the tool's, without a message.
    // It runs off the window's thread, which goes on answering meanwhile.
    p.ui.saveAnswer = QDir(p.database.folder()).filePath(QStringLiteral("all.csv"));
    exportItem->trigger();
    QTRY_VERIFY(!p.main()->isWorking());
    QCOMPARE(readCsv(readFile(p.ui.saveAnswer)).size(), 3);
    QVERIFY(p.ui.messages.isEmpty());
    // Full card numbers: a new database is its owner's alone, and so is
    // the export, from its first byte.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFile::permissions(p.database.path()) & others, QFile::Permissions());
    QCOMPARE(QFile::permissions(p.ui.saveAnswer), QFile::permissions(p.database.path()));

    // Onto the open database: refused before anything is touched.
    p.ui.saveAnswer = p.database.path();
    exportItem->trigger();
    QVERIFY(!p.main()->isWorking());
    QCOMPARE(p.ui.messages.size(), 1);
    QCOMPARE(p.ui.messages.last().text,
             QStringLiteral("%1 is the bookings' own database file; choose another file.").arg(p.database.path()));
    QCOMPARE(p.database.count(QStringLiteral("booking")), 3);

    // One that cannot be written: the system's text; the program goes on.
    p.ui.saveAnswer = QDir(p.database.folder()).filePath(QStringLiteral("gone/all.csv"));
    exportItem->trigger();
    QTRY_COMPARE(p.ui.messages.size(), 2);
    QCOMPARE(p.ui.messages.last().icon, QMessageBox::Critical);
    QVERIFY(p.main()->isVisible());
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
