#include "modMain.h"

#include "data/copies/backup.h"
#include "data/copies/dailybackup.h"

#include "data/locations.h"
#include "data/regional/language.h"
#include "data/regional/settings.h"
#include "data/schema/schema.h"
#include "frmSplash.h"
#include "widgets/LongWork.h"
#include "widgets/uiservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <atomic>

namespace innkeld {

Program::Program(const AppContext &context) : m_context(context) {}

Program::~Program() = default;

bool Program::chooseDatabase()
{
    if (m_chosen)
        return !m_failed;
    m_chosen = true;
    // Which database: the one named, the one beside the program, or the
    // user's own, made on an installed copy's first start.
    // A desk started on a database is started there again; a password
    // is never kept.
    SettingsStore &settings = *m_context.settings;
    QString given = m_context.databaseGiven;
    if (given.isEmpty()) {
        const QString remembered = settings.ReadSetting(QStringLiteral("Database"), QString());
        if (IsServerAddress(remembered) || (!remembered.isEmpty() && QFileInfo::exists(remembered)))
            given = remembered;
    }
    const DatabaseChoice choice = ChooseDatabase(given, m_context.programFolder, m_context.dataFolder);
    if (!m_context.databaseGiven.isEmpty())
        settings.WriteSetting(QStringLiteral("Database"), AddressWithoutPassword(choice.path));
    m_context.databasePath = choice.path;
    if (choice.makeIfMissing && !QFileInfo::exists(choice.path)) {
        try {
            if (!QDir().mkpath(QFileInfo(choice.path).absolutePath()))
                throw DbError(QCoreApplication::translate("Program", "The folder %1 cannot be made.").arg(QFileInfo(choice.path).absolutePath()));
            CreateDatabase(choice.path);
        } catch (const DbError &e) {
            m_failed = true;
            m_context.ui->message(nullptr, e.message(), QMessageBox::Critical);
            return false;
        }
    }
    return true;
}

void Program::waitForClosingCopy()
{
    // The program closed a moment ago on this file may still be keeping
    // today's copy of it: said, and this start goes on once it is whole.
    const QString path = m_context.databasePath;
    if (IsServerAddress(path) || !DailyBackup::BeingFinished(path))
        return;
    m_context.ui->message(nullptr,
                          QCoreApplication::translate("Program", "Innkeld, closed a moment ago, is still keeping today's "
                                                                 "copy of the bookings. It starts as soon as the copy is "
                                                                 "whole."),
                          QMessageBox::Information);
    QEventLoop loop;
    DailyBackup::WaitUntilFinished(path, [&loop] {
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
        return false;
    });
}

bool Program::upgradeDatabase()
{
    // A database an earlier version made lacks what this one adds; in a
    // house of many years building it takes minutes: on a thread of its
    // own, its progress shown, with Cancel. Stopped or killed, the database
    // is as it was, and the next start begins again.
    const QString path = m_context.databasePath;
    try {
        if (!DatabaseNeedsUpgrade(*OpenDatabase(path, false)))
            return true;
    } catch (const DbError &) {
        return true;  // said by the load, in its words
    }
    const QString label = QCoreApplication::translate("Program", "Upgrading the database for this version of the program...");
    LongWork work(nullptr, label, {});
    work.setJob([&work, path, label](const LongWork::Progress &progress) {
        auto db = OpenDatabase(path, false);
        std::atomic<int> done{0}, total{1};
        db->setStopCheck([&] { return !progress(done, total); });
        UpgradeDatabase(*db, [&](int stepsDone, int steps, const QString &what) {
            done = stepsDone;
            total = steps;
            if (!what.isEmpty())
                work.say(QCoreApplication::translate("Program", "%1\n%2 (step %3 of %4)").arg(label, what).arg(stepsDone + 1).arg(steps));
            return progress(stepsDone, steps);
        });
        return true;
    });
    QString failure;
    QEventLoop loop;
    QObject::connect(&work, &LongWork::finished, &loop, [&](bool, const QString &text) {
        failure = text;
        loop.quit();
    });
    work.start();
    loop.exec();
    if (failure.isEmpty())
        return true;
    // A file this user cannot write is read through temporary tables.
    const QFileInfo file(path);
    if (!IsServerAddress(path) && (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable()))
        return true;
    m_failed = true;
    m_context.ui->message(nullptr,
                          failure.startsWith(UpgradeStoppedMessage())
                              ? failure + QCoreApplication::translate("Program", " It is upgraded at the next start.")
                              : QCoreApplication::translate("Program", "The database could not be upgraded for this version of the "
                                               "program.\n\n%1").arg(failure),
                          failure.startsWith(UpgradeStoppedMessage())
                              ? QMessageBox::Information
                              : QMessageBox::Critical);
    return false;
}

void Program::loadMain()
{
    if (m_failed || (m_main && m_main->isLoaded()))
        return;
    if (!m_main) {
        if (!chooseDatabase())
            return;
        m_main = std::make_unique<frmMain>(m_context);
    }
    QString failure;
    try {
        m_main->Form_Load();
        return;
    } catch (const DbError &e) {
        failure = e.message();
        // A damaged or foreign file: which file, and the newest good copy.
        if (failure.contains(QLatin1String("malformed")) || failure.contains(QLatin1String("not a database")))
            failure = DamagedDatabaseMessage(m_context.databasePath, failure);
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    m_failed = true;
    m_main.reset();
    m_context.ui->message(nullptr, failure, QMessageBox::Critical);
}

int Program::Main()
{
    // The program's words in the desk's language, from the first window on.
    UseLanguage(DeskLanguage(*m_context.settings));
    if (!chooseDatabase())
        return 1;
    waitForClosingCopy();
    if (!upgradeDatabase())
        return 1;
    {
        frmSplash *shown = nullptr;
        frmSplash splash([this, &shown] {
            loadMain();
            if (m_failed && shown)
                shown->Timer1_Timer();  // nothing more to wait for
        });
        shown = &splash;
        splash.exec();
    }
    // The splash may have closed before its load tick.
    loadMain();
    if (m_failed)
        return 1;
    m_main->show();
    // Said now, not at the first save: bookings that cannot be kept.
    const QFileInfo file(m_context.databasePath);
    if (!IsServerAddress(m_context.databasePath) && (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable()))
        m_context.ui->message(m_main.get(),
                              (file.isWritable()
                                   ? QCoreApplication::translate("Program", "The bookings in %1 can be looked at but not "
                                                                            "saved: the folder cannot be written by this user.")
                                   : QCoreApplication::translate("Program", "The bookings in %1 can be looked at but not "
                                                                            "saved: the file cannot be written by this user."))
                                  .arg(QDir::toNativeSeparators(file.absoluteFilePath())),
                              QMessageBox::Warning);
    m_main->StartDailyBackup();
    m_main->StartRetention();
    m_main->StartOutbox();

    SettingsStore &settings = *m_context.settings;
    const bool firstRun = SettingToBool(settings.ReadSetting(QStringLiteral("FirstRun"), true), true);
    settings.WriteSetting(QStringLiteral("FirstRun"), QStringLiteral("False"));
    // The rooms are asked for on a user's first start only in a house that
    // has none yet (a second desk or user finds them there).
    if (firstRun && m_main->HouseHasNoRoom())
        m_main->FirstRun();
    m_main->OfferUnfinishedBookings();
    return 0;
}

}  // namespace innkeld
