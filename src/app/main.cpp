// innkeld: the front-desk reservation program.
//
//   innkeld [--database FILE]
#include "app/modMain.h"
#include "app/uiservices.h"
#include "data/locations.h"
#include "data/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QStandardPaths>

#include "innkeld_version.h"

namespace {

// The command line, read before any window: --help and --version answer
// without a display.
QString databaseFromCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("innkeld"));
    QCoreApplication::setApplicationVersion(QStringLiteral(INNKELD_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The front-desk reservation program."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("The booking database to open (else db.mdb beside the program, "
                                                     "else the one in the user's data folder)."),
                                      QStringLiteral("FILE"));
    parser.addOption(database);
    parser.process(app);
    return parser.value(database);
}

}  // namespace

int main(int argc, char *argv[])
{
    const QString databaseGiven = databaseFromCommandLine(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Innkeld"));
    QApplication::setApplicationVersion(QStringLiteral(INNKELD_VERSION));
    QIcon icon;
    for (const char *size : {"48", "256"})
        icon.addFile(QStringLiteral(":/icons/innkeld-%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);

    innkeld::SettingsStore settings;
    innkeld::DesktopServices ui;
    innkeld::AppContext context;
    context.programFolder = QCoreApplication::applicationDirPath();
    context.dataFolder = innkeld::UserDataFolder();
    context.databaseGiven = databaseGiven;
    context.cacheFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    context.settings = &settings;
    context.ui = &ui;
    innkeld::Program program(context);
    if (program.Main() != 0)
        return 1;
    return app.exec();
}
