#include "locations.h"

#include "data/sql/database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace innkeld {

DatabaseChoice ChooseDatabase(const QString &given, const QString &programFolder, const QString &dataFolder)
{
    if (IsServerAddress(given))
        return {given, false};
    if (!given.isEmpty())
        return {QFileInfo(given).absoluteFilePath(), false};
    const QString beside = QDir(programFolder).filePath(QStringLiteral("db.mdb"));
    if (QFileInfo::exists(beside))
        return {beside, false};
    return {QDir(dataFolder).filePath(QStringLiteral("db.mdb")), true};
}

QString UserDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Vantrel Booking"));
}

QString FindHelpFile(const QString &programFolder, const QString &language)
{
    // The manual in the language, else the English one.
    QStringList names;
    if (!language.isEmpty() && language != QLatin1String("en"))
        names << QStringLiteral("HELPSYS_%1.qch").arg(language);
    names << QStringLiteral("HELPSYS.qch");
    for (const QString &name : names) {
        const QString beside = QDir(programFolder).filePath(name);
        if (QFileInfo::exists(beside))
            return beside;
        const QString installed = QDir(programFolder).filePath(QStringLiteral("../share/innkeld/") + name);
        if (QFileInfo::exists(installed))
            return QDir::cleanPath(installed);
    }
    return QDir(programFolder).filePath(QStringLiteral("HELPSYS.qch"));  // to be named as missing
}

}  // namespace innkeld
