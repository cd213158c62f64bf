#include "settings.h"

#include "regional.h"

#include <QLocale>
#include <QSettings>
#include <QStringList>

#include <cmath>

namespace innkeld {

const char *const SettingsStore::Application = "Vantrel Booking";
const char *const SettingsStore::Section = "Config";

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QLatin1String(Application), QLatin1String(Application)))
{
}

SettingsStore::SettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

QString SettingsStore::storedKey(const QString &key) const
{
    m_settings->beginGroup(QLatin1String(Section));
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    for (const QString &k : keys)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    return QString();
}

QString SettingsStore::ReadSetting(const QString &key, const QVariant &defaultValue) const
{
    m_settings->sync();  // another copy of the program may have written
    const QString stored = storedKey(key);
    if (stored.isEmpty()) {
        if (defaultValue.metaType().id() == QMetaType::Bool)
            return defaultValue.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return defaultValue.toString();
    }
    const QVariant v = m_settings->value(QLatin1String(Section) + QLatin1Char('/') + stored);
    // A value edited by hand with a comma in it reads back as a list.
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1String(", "));
    return v.toString();
}

void SettingsStore::WriteSetting(const QString &key, const QString &value)
{
    const QString stored = storedKey(key);
    // Empty text is stored as empty text, which is not the same as absent.
    m_settings->setValue(QLatin1String(Section) + QLatin1Char('/') + (stored.isEmpty() ? key : stored),
                         value.isNull() ? QStringLiteral("") : value);
    m_settings->sync();
}

bool SettingToBool(const QString &text, bool fallback)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (ok)
        return v != 0;
    return fallback;
}

double SettingToNumber(const QString &text)
{
    const double v = ValNumber(text, false);
    return std::isfinite(v) ? v : 0;
}

}  // namespace innkeld
