// Start-up: the splash, the main window's load with and without stored
// settings, a missing database, the first-run marker, Exit.
#include "app/frmMain.h"
#include "app/modMain.h"
#include "data/copies/backup.h"
#include "data/copies/dailybackup.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "data/regional/settings.h"
#include "data/schema/schema.h"
#include "wizard/BookingWizard.h"
#include "booking/bookingstore.h"
#include "fakeui.h"
#include "guisupport.h"
#include "testsupport.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QScreen>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

// One start of the program; the rooms dialog of a first start is cancelled.
struct Start : ProgramRun
{
    QString caption(const char *name) const { return find<QLabel>(name)->text(); }
};

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void firstStartWithNoSettings();
    void storedSettings();
    void storedSettingsInSecondRegion();
    void secondStart();
    void missingOrBrokenDatabase();
    void splashWithoutKey();
    void exitAndWindowButtons();
    void backups();
    void aDayAtTheDesk();
};

void TestStartup::firstStartWithNoSettings()
{
    Start s;
    // The rooms dialog opens over the shown main window, after the first run
    // has been marked as done.
    bool windowShown = false;
    QString firstRunThen;
    QStringList unnamedInRooms{QStringLiteral("not looked at")};
    s.onRoomsDialog = [&](frmConfigRooms *d) {
        windowShown = s.main() && s.main()->isVisible() && s.find("picArrivals")->isVisible();
        firstRunThen = s.settings->ReadSetting(QStringLiteral("FirstRun"), true);
        QCOMPARE(d->windowTitle(), QStringLiteral("Configure Rooms"));
        unnamedInRooms = controlsWithoutAccessibleName(d);
        QTest::mouseClick(child(d, "cmdCancel"), Qt::LeftButton);
    };
    QCOMPARE(s.run(), 0);
    QVERIFY(s.roomsDialogSeen());
    QVERIFY(windowShown);
    // Every control of every window reaches a screen reader with a name.
    QCOMPARE(unnamedInRooms.join(QLatin1Char(' ')), QString());
    QCOMPARE(controlsWithoutAccessibleName(s.main()).join(QLatin1Char(' ')), QString());
    QCOMPARE(firstRunThen, QStringLiteral("False"));
    frmMain *w = s.main();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel Innkeld v1.2"));
    QVERIFY(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(s.ui.messages.isEmpty());

    // The arrivals panel of today in front, the others hidden.
    QVERIFY(s.find("picArrivals")->isVisible());
    QVERIFY(!s.find("picBooking")->isVisible());
    QVERIFY(!s.find("picCalendar")->isVisible());
    QCOMPARE(s.find<QCalendarWidget>("dtCalendar")->selectedDate(), QDate::currentDate());
    for (const char *panel : {"picArrivals", "picBooking", "picCalendar"})
        QCOMPARE(s.find(panel)->geometry(), QRect(QPoint(0, 0), s.find("picBack")->size()));

    // The regional terms and defaults.
    for (int i = 0; i < 6; ++i)
        QCOMPARE(s.caption(qPrintable(QStringLiteral("lblCurrencySymbol_%1").arg(i))), QStringLiteral("$"));
    QCOMPARE(s.caption("lblSalesTaxName_0"), QStringLiteral("Sales Tax"));
    QCOMPARE(s.caption("lblSalesTaxName_1"), QStringLiteral("Sales Tax"));
    QCOMPARE(s.caption("lblPostCode_0"), QStringLiteral("Post Code"));
    QCOMPARE(s.find<QLineEdit>("txtCostPerNight")->text(), QStringLiteral("10.00"));
    QCOMPARE(w->terms()->DefaultCostPerNight(), QStringLiteral("10.00"));
    QCOMPARE(w->terms()->SalesTaxPercent(), 10.0);
    QCOMPARE(w->wizard()->CurrentStep(), 0);
    QCOMPARE(w->wizard()->CurrentBookingId(), RecordId(0));
    QVERIFY(!w->wizard()->OpenedFromList());
    QVERIFY(!s.find("cmdBack")->isEnabled());

    // The first run is over once the window is shown.
    QCOMPARE(s.settings->ReadSetting(QStringLiteral("FirstRun"), true), QStringLiteral("False"));
    w->close();
}

void TestStartup::storedSettings()
{
    Start s;
    s.settings->WriteSetting(QStringLiteral("SalesTaxName"), QStringLiteral("VAT"));
    s.settings->WriteSetting(QStringLiteral("CurrencySymbol"), QStringLiteral("£"));
    s.settings->WriteSetting(QStringLiteral("PostCode"), QStringLiteral("Zip Code"));
    s.settings->WriteSetting(QStringLiteral("CostPerNight"), QStringLiteral("1234.5"));
    s.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral(" 17.5 %"));
    s.settings->WriteSetting(QStringLiteral("FirstRun"), QStringLiteral("False"));
    QCOMPARE(s.run(), 0);
    QCOMPARE(s.caption("lblSalesTaxName_0"), QStringLiteral("VAT"));
    QCOMPARE(s.caption("lblSalesTaxName_1"), QStringLiteral("VAT"));
    QCOMPARE(s.caption("lblCurrencySymbol_5"), QStringLiteral("£"));
    QCOMPARE(s.caption("lblPostCode_0"), QStringLiteral("Zip Code"));
    QCOMPARE(s.main()->terms()->DefaultCostPerNight(), QStringLiteral("1234.5"));  // as stored
    QCOMPARE(s.find<QLineEdit>("txtCostPerNight")->text(), QStringLiteral("1,234.50"));
    QCOMPARE(s.main()->terms()->SalesTaxPercent(), 17.5);
    s.main()->close();

    // Empty texts are values: empty labels, and no tax rate.
    Start e;
    e.settings->WriteSetting(QStringLiteral("SalesTaxName"), QString());
    e.settings->WriteSetting(QStringLiteral("CurrencySymbol"), QString());
    e.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QString());
    e.settings->WriteSetting(QStringLiteral("CostPerNight"), QString());
    QCOMPARE(e.run(), 0);
    QCOMPARE(e.caption("lblSalesTaxName_0"), QString());
    QCOMPARE(e.caption("lblCurrencySymbol_0"), QString());
    QCOMPARE(e.main()->terms()->SalesTaxPercent(), 0.0);
    QCOMPARE(e.find<QLineEdit>("txtCostPerNight")->text(), QStringLiteral("0"));
    e.main()->close();
}

void TestStartup::storedSettingsInSecondRegion()
{
    LocaleScope de("de_DE");
    Start s;
    s.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("17,5"));
    QCOMPARE(s.run(), 0);
    QCOMPARE(s.caption("lblCurrencySymbol_0"), QStringLiteral("€"));
    QCOMPARE(s.find<QLineEdit>("txtCostPerNight")->text(), QStringLiteral("10,00"));
    QCOMPARE(s.main()->terms()->SalesTaxPercent(), 17.0);  // the comma ends the number
    s.main()->close();
}

void TestStartup::secondStart()
{
    Start s;
    s.settings->WriteSetting(QStringLiteral("firstrun"), QStringLiteral("false"));
    QCOMPARE(s.run(), 0);
    QVERIFY(!s.roomsDialogSeen());
    QCOMPARE(s.settings->ReadSetting(QStringLiteral("FirstRun"), true), QStringLiteral("False"));
    s.main()->close();

    // A number counts too: 0 is no first run.
    Start n;
    n.settings->WriteSetting(QStringLiteral("FirstRun"), QStringLiteral("0"));
    QCOMPARE(n.run(), 0);
    QVERIFY(!n.roomsDialogSeen());
    QCOMPARE(n.settings->ReadSetting(QStringLiteral("FirstRun"), true), QStringLiteral("False"));
    s.main()->close();
}

void TestStartup::missingOrBrokenDatabase()
{
    {
        // A database named on the command line that is not there.
        Start s;
        s.databaseGiven = QDir(s.database.folder()).filePath(QStringLiteral("elsewhere.mdb"));
        QCOMPARE(s.run(), 1);
        QVERIFY(!s.main());
        QCOMPARE(s.ui.messages.size(), 1);
        QVERIFY2(s.ui.messages.first().text.contains(QStringLiteral("elsewhere.mdb")), qPrintable(s.ui.messages.first().text));
        QVERIFY(!QFileInfo::exists(s.databaseGiven));  // never created
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        // The failed start did not get as far as the first-run marker.
        QCOMPARE(s.settings->ReadSetting(QStringLiteral("FirstRun"), true), QStringLiteral("True"));
    }
    {
        Start s;
        const QString good = DailyBackupPath(s.database.path(), QDate(2026, 1, 2));
        QVERIFY(QDir().mkpath(DailyBackupFolder(s.database.path())));
        QVERIFY(QFile::copy(s.database.path(), good));
        {
            QFile f(s.database.path());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("this is no database at all, only text that fills the first page of the file....");
        }
        QCOMPARE(s.run(false), 1);  // the failure comes at the load tick, under the splash
        QVERIFY(!s.main());
        QCOMPARE(s.ui.messages.size(), 1);
        QCOMPARE(s.ui.messages.first().icon, QMessageBox::Critical);
        // Which file, and the newest good copy.
        QCOMPARE(s.ui.messages.first().text,
                 QStringLiteral("The database %1 is damaged (file is not a database). The newest good copy is %2; "
                                "the manual says how to put it in its place.")
                     .arg(s.database.path(), good));
    }
    {
        // An installed copy: no db.mdb beside the program. The user's own is
        // made in the data folder, and the first start's rooms dialog follows.
        Start s;
        QVERIFY(QFile::remove(s.database.path()));
        QCOMPARE(s.run(), 0);
        const QString made = QDir(s.settingsDir.filePath(QStringLiteral("data"))).filePath(QStringLiteral("db.mdb"));
        QVERIFY(QFileInfo::exists(made));
        QVERIFY(s.roomsDialogSeen());
        QCOMPARE(s.main()->db()->path(), made);
        QVERIFY(!QFileInfo::exists(s.database.path()));
        s.main()->close();
    }
}

void TestStartup::splashWithoutKey()
{
    Start s;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(s.run(false), 0);
    QVERIFY(s.main()->isVisible());
    QVERIFY(s.find("picArrivals")->isVisible());
    s.main()->close();
}

void TestStartup::exitAndWindowButtons()
{
    Start s;
    QCOMPARE(s.run(), 0);
    frmMain *w = s.main();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::mouseClick(s.find("picIcon_1"), Qt::LeftButton);
    QVERIFY(!w->isVisible());

    Start again;
    QCOMPARE(again.run(), 0);
    QVERIFY(QTest::qWaitForWindowExposed(again.main()));
    QAction *exit = again.main()->findChild<QAction *>(QStringLiteral("mnuFileExit"));
    QVERIFY(exit);
    exit->trigger();
    QVERIFY(!again.main()->isVisible());
}

void TestStartup::backups()
{
    Start s;
    s.notFirst();
    s.database.addGuest(WallClockNow(), WallClockNow().addDays(1), QStringLiteral("Ann"), QStringLiteral("Lee"));
    const QString db = s.database.path();
    // Fifteen old daily copies: with today's, only the newest fourteen stay.
    QDir().mkpath(DailyBackupFolder(db));
    for (int i = 1; i <= 15; ++i)
        QFile::copy(db, DailyBackupPath(db, QDate(2025, 1, i)));
    QCOMPARE(s.run(), 0);
    const QString today = DailyBackupPath(db, QDate::currentDate());
    QTRY_VERIFY(!s.main()->dailyBackupRunning());
    QVERIFY(QFileInfo::exists(today));
    QCOMPARE(CheckDatabase(today), QStringLiteral("ok"));
    QCOMPARE(OpenDatabase(today)->execute(QStringLiteral("SELECT count(*) FROM booking")).value(0).toInt(), 1);
    const QStringList kept = QDir(DailyBackupFolder(db)).entryList(QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), 14);
    QCOMPARE(kept.first(), QStringLiteral("db-2025-01-03.mdb"));
    QCOMPARE(kept.last(), QFileInfo(today).fileName());

    // File > Back Up Database...: a copy where the operator says, and where it went.
    s.ui.saveAnswer = QDir(s.database.folder()).filePath(QStringLiteral("copy.mdb"));
    // A copy left half-made by a kill is cleared away.
    {
        QFile stale(s.ui.saveAnswer + QStringLiteral(".part-journal"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner));
    QAction *backup = s.main()->findChild<QAction *>(QStringLiteral("mnuFileBackup"));
    backup->trigger();
    QCOMPARE(s.ui.saveFilter, QStringLiteral("Database(*.mdb)"));
    QCOMPARE(s.ui.saveSuffix, QStringLiteral("mdb"));
    QTRY_VERIFY(!s.main()->isWorking());
    QCOMPARE(CheckDatabase(s.ui.saveAnswer), QStringLiteral("ok"));
    QCOMPARE(s.ui.messages.size(), 1);
    QVERIFY(s.ui.messages.first().text.endsWith(QStringLiteral("copy.mdb.")));
    // It holds card numbers: no more readable than the database.
    QCOMPARE(QFile::permissions(s.ui.saveAnswer), QFile::permissions(db));
    QVERIFY(!QFileInfo::exists(s.ui.saveAnswer + QStringLiteral(".part-journal")));
    // Onto the open database or its log: refused before anything is touched,
    // and every later save still works.
    for (const QString &own : {db, db + QStringLiteral("-wal")}) {
        s.ui.saveAnswer = own;
        backup->trigger();
        QVERIFY(!s.main()->isWorking());
        QCOMPARE(s.ui.messages.last().text,
                 QStringLiteral("%1 is the bookings' own database file; choose another file.").arg(own));
    }
    QCOMPARE(CheckDatabase(db), QStringLiteral("ok"));
    s.database.run(QStringLiteral("UPDATE customer SET lastname = 'Lee-Berg'"));
    // Cancel: nothing is left behind.
    const QString stopped = QDir(s.database.folder()).filePath(QStringLiteral("stopped.mdb"));
    QVERIFY(!BackUpDatabase(s.database.db(), stopped, [](qint64, qint64) { return false; }));
    QVERIFY(!QFileInfo::exists(stopped));
    QVERIFY(!QFileInfo::exists(stopped + QStringLiteral(".part")));
    s.main()->close();

    // The same day again: no second copy. A folder that cannot be made:
    // said once, and the program goes on.
    const QDateTime made = QFileInfo(today).lastModified();
    Start again;
    again.notFirst();
    QVERIFY(QFile::remove(again.database.path()));
    QVERIFY(QFile::copy(db, again.database.path()));
    QVERIFY(QDir().mkpath(DailyBackupFolder(again.database.path())));
    QFile::copy(today, DailyBackupPath(again.database.path(), QDate::currentDate()));
    // The program closed before is still finishing its copy: this start is
    // told so, and goes on once the copy is whole.
    QVERIFY(!DailyBackup::BeingFinished(again.database.path()));
    auto closing = std::make_unique<QLockFile>(QDir(DailyBackupFolder(again.database.path())).filePath(QStringLiteral("closing.lock")));
    QVERIFY(closing->tryLock(0));
    QVERIFY(DailyBackup::BeingFinished(again.database.path()));
    QTimer::singleShot(0, [&closing] { closing.reset(); });
    QCOMPARE(again.run(), 0);
    QCOMPARE(again.ui.messages.size(), 1);
    QVERIFY(again.ui.messages.takeFirst().text.contains(QStringLiteral("still keeping today's copy")));
    QVERIFY(!closing);
    QVERIFY(again.ui.messages.isEmpty());
    QCOMPARE(QFileInfo(today).lastModified(), made);
    // Closed after a change: the day's copy is made again while the window
    // is gone, and the copy's lock is let go once it is whole.
    again.database.run(QStringLiteral("UPDATE customer SET lastname = 'Lee-Holm'"));
    again.main()->close();
    QVERIFY(!DailyBackup::BeingFinished(again.database.path()));
    QCOMPARE(OpenDatabase(DailyBackupPath(again.database.path(), QDate::currentDate()))
                 ->execute(QStringLiteral("SELECT lastname FROM customer"))
                 .text(0),
             QStringLiteral("Lee-Holm"));
    Start blocked;
    blocked.notFirst();
    QFile file(DailyBackupFolder(blocked.database.path()));  // a file where the folder should be
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QCOMPARE(blocked.run(), 0);
    QTRY_COMPARE(blocked.ui.messages.size(), 1);
    QVERIFY(blocked.ui.messages.first().text.startsWith(QStringLiteral("Today's copy of the bookings could not be kept")));
    QVERIFY(blocked.main()->isVisible());
    blocked.main()->close();

    // A database damaged in the middle: its copy fails the engine's check, is
    // kept as damaged, no good copy goes, and the operator is told which is
    // the newest good one.
    Start damaged;
    damaged.notFirst();
    TempDatabase &d = damaged.database;
    {
        // Customers only: the pages that nothing at start-up reads.
        Database::Transaction tx(d.db());
        for (int i = 0; i < 2000; ++i)
            d.addCustomer(QStringLiteral("Guest"), QString(200, QLatin1Char('x')));
        tx.commit();
    }
    const QString good = DailyBackupPath(d.path(), QDate(2025, 1, 1));
    QVERIFY(QDir().mkpath(DailyBackupFolder(d.path())));
    QVERIFY(QFile::copy(today, good));
    d.run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    {
        // Pages in the middle of the customer table overwritten on the disk.
        QFile file(d.path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        file.seek(size / 2 - (size / 2) % 4096);
        file.write(QByteArray(8192, '\x5a'));
    }
    QCOMPARE(damaged.run(), 0);
    QTRY_VERIFY(!damaged.main()->dailyBackupRunning());
    QVERIFY(!QFileInfo::exists(DailyBackupPath(d.path(), QDate::currentDate())));
    // What the damaged database holds is kept, page for page.
    const QString keptDamaged = QDir(DailyBackupFolder(d.path())).filePath(
        QStringLiteral("db-%1-damaged.mdb").arg(QDate::currentDate().toString(Qt::ISODate)));
    QCOMPARE(QFileInfo(keptDamaged).size(), QFileInfo(d.path()).size());
    QVERIFY(QFileInfo::exists(good));
    QVERIFY(!damaged.ui.messages.isEmpty());
    QVERIFY2(damaged.ui.messages.last().text.contains(QStringLiteral("is damaged"))
                 && damaged.ui.messages.last().text.contains(QDir::toNativeSeparators(good)),
             qPrintable(damaged.ui.messages.last().text));
    damaged.main()->close();
}

void TestStartup::aDayAtTheDesk()
{
    // A new user's first start in a house that has rooms: no rooms dialog.
    // A booking left without a customer two days ago is offered (one begun
    // just now, at another desk, is not); No removes it. The window fits the
    // screen's available area (also at a scale factor of 2).
    Start s;
    const RecordId room = s.database.addRoom(QStringLiteral("Garden"));
    const QDateTime now = WallClockNow();
    const RecordId left = s.database.addBooking(now.addDays(3), now.addDays(4), 0, {room});
    const RecordId elsewhere = s.database.addBooking(now.addDays(5), now.addDays(6), 0, {room});
    s.database.run(QStringLiteral("UPDATE bookingdraft SET started = '%1' WHERE bookingid = %2")
                       .arg(now.addDays(-2).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
                       .arg(left));
    s.ui.answers << QMessageBox::No;
    QCOMPARE(s.run(), 0);
    QVERIFY(!s.roomsDialogSeen());
    QCOMPARE(s.ui.messages.size(), 1);
    QVERIFY2(s.ui.messages.first().text.contains(QStringLiteral("Booking %1:").arg(left)), qPrintable(s.ui.messages.first().text));
    QVERIFY(!s.ui.messages.first().text.contains(QStringLiteral("Booking %1:").arg(elsewhere)));
    QCOMPARE(s.database.run(QStringLiteral("SELECT count(*) FROM booking WHERE id = %1").arg(left)).value(0).toInt(), 0);
    QCOMPARE(s.database.run(QStringLiteral("SELECT count(*) FROM bookingroom WHERE bookingid = %1").arg(left)).value(0).toInt(), 0);
    QCOMPARE(s.database.run(QStringLiteral("SELECT count(*) FROM booking WHERE id = %1").arg(elsewhere)).value(0).toInt(), 1);
    const QRect available = s.main()->screen()->availableGeometry();
    QVERIFY2(available.contains(s.main()->frameGeometry()), qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                                                         .arg(s.main()->width()).arg(s.main()->height())
                                                                         .arg(available.width()).arg(available.height())));
    QVERIFY(s.main()->minimumWidth() <= available.width() && s.main()->minimumHeight() <= available.height());

    // A new booking left in the wizard as the program closes: the operator
    // is asked; Cancel goes back to it, No removes it.
    QTRY_VERIFY(!s.main()->dailyBackupRunning());
    QTest::mouseClick(s.find("lblMenu_5"), Qt::LeftButton);
    const RecordId fresh = s.main()->wizard()->CurrentBookingId();
    QVERIFY(fresh > elsewhere);
    s.ui.messages.clear();
    s.ui.answers << QMessageBox::Cancel;
    QVERIFY(!s.main()->close());
    QVERIFY(s.main()->isVisible());
    QCOMPARE(s.ui.messages.size(), 1);
    QVERIFY(s.ui.messages.first().text.startsWith(QStringLiteral("The new booking has no customer yet.")));
    s.ui.answers << QMessageBox::No;
    QVERIFY(s.main()->close());
    QCOMPARE(s.database.run(QStringLiteral("SELECT count(*) FROM booking WHERE id = %1").arg(fresh)).value(0).toInt(), 0);
    // The day's copy was made again as it closed: it holds what changed.
    const QString today = DailyBackupPath(s.database.path(), QDate::currentDate());
    QCOMPARE(OpenDatabase(today)->execute(QStringLiteral("SELECT count(*) FROM booking")).value(0).toInt(), 1);

    // Yes keeps it, to be finished later.
    Start again;
    again.databaseGiven = s.database.path();
    again.notFirst();
    QCOMPARE(again.run(), 0);
    QTest::mouseClick(again.find("lblMenu_5"), Qt::LeftButton);
    const RecordId kept = again.main()->wizard()->CurrentBookingId();
    again.ui.answers << QMessageBox::Yes;
    QVERIFY(again.main()->close());
    QCOMPARE(s.database.run(QStringLiteral("SELECT count(*) FROM booking WHERE id = %1").arg(kept)).value(0).toInt(), 1);
    QCOMPARE(OpenDatabase(today)->execute(QStringLiteral("SELECT count(*) FROM booking")).value(0).toInt(), 2);

    // Started and closed without a change: the copy is not made again.
    const QDateTime copied = QFileInfo(today).lastModified();
    Start quiet;
    quiet.databaseGiven = s.database.path();
    quiet.notFirst();
    QCOMPARE(quiet.run(), 0);
    QVERIFY(quiet.main()->close());
    QCOMPARE(QFileInfo(today).lastModified(), copied);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
