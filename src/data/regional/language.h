// The language of the program's words: the desktop's (the first of its
// languages the program speaks), or the one chosen at this desk (the
// setting "Language": empty for the desktop's, else a language code such
// as "de"). The translations are built into the program; adding one is a
// .ts file and a line of the build.
#pragma once

#include <QString>
#include <QStringList>

namespace innkeld {

class SettingsStore;

// The languages the program speaks: English, then those whose translation
// is built into it ("en", "de").
QStringList SpokenLanguages();
// A language by its own name, capital first ("English", "Deutsch").
QString LanguageName(const QString &code);
// The language asked for by the desktop's languages (in their order) or
// by `chosen` when it is one the program speaks; English else.
QString ResolveLanguage(const QString &chosen, const QStringList &desktop);
// The language this desk's setting asks for.
QString DeskLanguage(const SettingsStore &settings);
// Puts the program's translation of `language` and Qt's own (the standard
// dialogs' buttons) in force, replacing any put before; English puts none.
void UseLanguage(const QString &language);
// The language in force.
QString LanguageInUse();

}  // namespace innkeld
