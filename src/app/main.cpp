// innkeld: the front-desk reservation program.
#include "app/modMain.h"
#include "app/uiservices.h"
#include "data/settings.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Innkeld"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/innkeld.svg")));
    innkeld::SettingsStore settings;
    innkeld::DesktopServices ui;
    innkeld::AppContext context;
    context.programFolder = QCoreApplication::applicationDirPath();
    context.cacheFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    context.settings = &settings;
    context.ui = &ui;
    innkeld::Program program(context);
    if (program.Main() != 0)
        return 1;
    return app.exec();
}
