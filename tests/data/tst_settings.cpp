// The settings store and its reading rules.
#include "data/regional/settings.h"
#include "testsupport.h"

#include <QtTest>

using namespace innkeld;
using innkeld::test::LocaleScope;

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void absentPresentAndEmpty();
    void keysIgnoreCase();
    void booleanRule();
    void numberRuleIgnoresRegion();
};

void TestSettings::absentPresentAndEmpty()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    {
        SettingsStore s(file);
        QCOMPARE(s.ReadSetting(QStringLiteral("FirstRun"), true), QStringLiteral("True"));
        QCOMPARE(s.ReadSetting(QStringLiteral("CostPerNight"), QStringLiteral("10.00")), QStringLiteral("10.00"));
        s.WriteSetting(QStringLiteral("SalesTaxName"), QString());
        s.WriteSetting(QStringLiteral("CurrencySymbol"), QStringLiteral("kr, öre"));
        s.WriteSetting(QStringLiteral("FirstRun"), QStringLiteral("False"));
        // An empty text is a value, not an absence.
        QCOMPARE(s.ReadSetting(QStringLiteral("SalesTaxName"), QStringLiteral("Sales Tax")), QString());
    }
    // Values persist, in the "Config" section, as text.
    SettingsStore again(file);
    QCOMPARE(again.ReadSetting(QStringLiteral("FirstRun"), true), QStringLiteral("False"));
    QCOMPARE(again.ReadSetting(QStringLiteral("CurrencySymbol"), QString()), QStringLiteral("kr, öre"));
    QSettings raw(file, QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Config/FirstRun")).toString(), QStringLiteral("False"));

    // A list written by hand (an unquoted comma) still reads as its text.
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::Append));
        f.write("\n");
    }
    QSettings hand(file, QSettings::IniFormat);
    hand.setValue(QStringLiteral("Config/PostCode"), QStringList{QStringLiteral("Zip"), QStringLiteral("Code")});
    hand.sync();
    QCOMPARE(again.ReadSetting(QStringLiteral("PostCode"), QStringLiteral("Post Code")), QStringLiteral("Zip, Code"));
}

void TestSettings::keysIgnoreCase()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettings raw(file, QSettings::IniFormat);
        raw.setValue(QStringLiteral("Config/salestaxpercentage"), QStringLiteral("17.5"));
    }
    SettingsStore s(file);
    QCOMPARE(s.ReadSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("10")), QStringLiteral("17.5"));
    s.WriteSetting(QStringLiteral("SALESTAXPERCENTAGE"), QStringLiteral("8"));
    QCOMPARE(s.ReadSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("10")), QStringLiteral("8"));
    QSettings raw(file, QSettings::IniFormat);
    raw.beginGroup(QStringLiteral("Config"));
    QCOMPARE(raw.childKeys(), QStringList{QStringLiteral("salestaxpercentage")});  // one key, not two
}

void TestSettings::booleanRule()
{
    QCOMPARE(SettingToBool(QStringLiteral("True"), false), true);
    QCOMPARE(SettingToBool(QStringLiteral("fALSE"), true), false);
    QCOMPARE(SettingToBool(QStringLiteral("0"), true), false);
    QCOMPARE(SettingToBool(QStringLiteral("-1"), false), true);
    QCOMPARE(SettingToBool(QStringLiteral("2.5"), false), true);
    QCOMPARE(SettingToBool(QStringLiteral("maybe"), true), true);
    QCOMPARE(SettingToBool(QStringLiteral("maybe"), false), false);
}

void TestSettings::numberRuleIgnoresRegion()
{
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        QCOMPARE(SettingToNumber(QStringLiteral("17.5")), 17.5);
        QCOMPARE(SettingToNumber(QStringLiteral("17,5")), 17.0);
        QCOMPARE(SettingToNumber(QStringLiteral(" 8%")), 8.0);
        QCOMPARE(SettingToNumber(QStringLiteral("1 0")), 10.0);
        QCOMPARE(SettingToNumber(QStringLiteral("VAT")), 0.0);
        QCOMPARE(SettingToNumber(QString()), 0.0);
        QCOMPARE(SettingToNumber(QStringLiteral("-2.5e1x")), -25.0);
        QCOMPARE(SettingToNumber(QStringLiteral("1e999")), 0.0);
        QCOMPARE(SettingToNumber(QStringLiteral("&H10")), 0.0);  // no hexadecimal here
    }
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
