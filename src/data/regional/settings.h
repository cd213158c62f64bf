// The per-user settings store: application "Vantrel Booking", section
// "Config", every value kept as text, keys without regard to letter case.
#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

namespace innkeld {

class SettingsStore
{
public:
    // The user's own store.
    SettingsStore();
    // A store kept in the given INI file (tests use an isolated one).
    explicit SettingsStore(const QString &iniFile);
    ~SettingsStore();

    static const char *const Application;  // "Vantrel Booking"
    static const char *const Section;      // "Config"

    // The stored text of the key, or the default rendered as text when the
    // key is absent (a boolean default reads "True" or "False"). A value
    // stored as empty text is not absent.
    QString ReadSetting(const QString &key, const QVariant &defaultValue) const;
    // Stores the text under the key at once.
    void WriteSetting(const QString &key, const QString &value);

    // The store's file, for those who support an installation.
    QString fileName() const;

private:
    QString storedKey(const QString &key) const;
    std::unique_ptr<QSettings> m_settings;
};

// "True" and "False" in any letter case, or a number (0 is false, any other
// true); anything else gives the fallback.
bool SettingToBool(const QString &text, bool fallback);

// The numeric value of a setting, whatever the regional settings: blanks
// skipped, "." as decimal point, reading stops at the first character that
// does not fit; 0 when the text does not begin with a number.
double SettingToNumber(const QString &text);

}  // namespace innkeld
