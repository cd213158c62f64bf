#include "language.h"

#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace innkeld {

namespace {

struct InForce
{
    QString language = QStringLiteral("en");
    std::unique_ptr<QTranslator> program, toolkit;
};

InForce &inForce()
{
    static InForce state;
    return state;
}

}  // namespace

QStringList SpokenLanguages()
{
    // English, and each translation built into the program.
    QStringList spoken{QStringLiteral("en")};
    const QStringList built = QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("innkeld_*.qm")}, QDir::Files, QDir::Name);
    for (const QString &file : built)
        spoken << file.mid(8, file.size() - 8 - 3);
    return spoken;
}

QString LanguageName(const QString &code)
{
    // (English by its plain name, not the United States' variety.)
    QString name = code == QLatin1String("en") ? QLocale::languageToString(QLocale::English)
                                               : QLocale(code).nativeLanguageName();
    if (name.isEmpty())
        return code;
    name[0] = name[0].toUpper();
    return name;
}

QString ResolveLanguage(const QString &chosen, const QStringList &desktop)
{
    const QStringList spoken = SpokenLanguages();
    if (spoken.contains(chosen))
        return chosen;
    for (const QString &language : desktop) {
        const QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (spoken.contains(code))
            return code;
    }
    return spoken.first();
}

QString DeskLanguage(const SettingsStore &settings)
{
    return ResolveLanguage(settings.ReadSetting(QStringLiteral("Language"), QString()).trimmed(),
                           QLocale().uiLanguages());
}

void UseLanguage(const QString &language)
{
    InForce &state = inForce();
    if (state.language == language)
        return;
    for (auto *slot : {&state.program, &state.toolkit})
        if (*slot) {
            QCoreApplication::removeTranslator(slot->get());
            slot->reset();
        }
    state.language = language;
    if (language == QLatin1String("en"))
        return;
    auto program = std::make_unique<QTranslator>();
    if (program->load(QStringLiteral(":/i18n/innkeld_%1.qm").arg(language))) {
        QCoreApplication::installTranslator(program.get());
        state.program = std::move(program);
    }
    auto toolkit = std::make_unique<QTranslator>();
    if (toolkit->load(QStringLiteral("qtbase_%1").arg(language), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(toolkit.get());
        state.toolkit = std::move(toolkit);
    }
}

QString LanguageInUse()
{
    return inForce().language;
}

}  // namespace innkeld
