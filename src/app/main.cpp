// innkeld: the front-desk reservation program.
//
//   innkeld [--database FILE|postgresql://[user@]host[:port]/name]
#include "app/modMain.h"
#include "widgets/uiservices.h"
#include "data/locations.h"
#include "data/regional/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QStandardPaths>

#include "innkeld_version.h"

namespace {

struct CommandLine
{
    QCommandLineParser parser;
    QCommandLineOption database{QStringLiteral("database"),
                                QStringLiteral("The booking database to open: a file, or a PostgreSQL server's "
                                               "database as postgresql://[user@]host[:port]/name (else the one "
                                               "opened last, else db.mdb beside the program, else the one in the "
                                               "user's data folder)."),
                                QStringLiteral("FILE|URL")};
    CommandLine()
    {
        parser.setApplicationDescription(QStringLiteral("The front-desk reservation program."));
        // "-reverse" is the toolkit's option, not -r -e -v...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(database);
    }
};

// --help and --version answer before any window, without a display; the
// toolkit's own options (-platform, -style, -reverse...) are left for it.
void answerWithoutDisplay(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("innkeld"));
    QCoreApplication::setApplicationVersion(QStringLiteral(INNKELD_VERSION));
    CommandLine line;
    line.parser.parse(QCoreApplication::arguments());
    if (line.parser.isSet(QStringLiteral("help")))
        line.parser.showHelp(0);
    if (line.parser.isSet(QStringLiteral("version")))
        line.parser.showVersion();
}

}  // namespace

int main(int argc, char *argv[])
{
    answerWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    // The toolkit has taken its options; what is left is the program's.
    CommandLine line;
    line.parser.process(app);
    const QString databaseGiven = line.parser.value(line.database);
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
