#include "language.h"

#include "settings.h"

#include <QCoreApplication>
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
    return {QStringLiteral("en"), QStringLiteral("de")};
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
