// Where the program's files are: its database and its help.
#pragma once

#include <QString>

namespace innkeld {

// The database to open, in this order: the file or server's address given on
// the command line (a file must exist), or else remembered from the last
// start that was given one; else db.mdb beside the program when it is there
// (the build folder, a portable copy); else db.mdb in the user's data
// folder, which is made, empty, on the first start of an installed copy.
struct DatabaseChoice
{
    QString path;
    bool makeIfMissing = false;
};
DatabaseChoice ChooseDatabase(const QString &given, const QString &programFolder, const QString &dataFolder);

// The user's data folder: ~/.local/share/Vantrel Booking on Linux.
QString UserDataFolder();

// The manual: HELPSYS_<language>.qch (HELPSYS.qch for English or when the
// language has none) beside the program, else where an installed copy
// keeps it (share/innkeld beside its bin).
QString FindHelpFile(const QString &programFolder, const QString &language = QString());

}  // namespace innkeld
