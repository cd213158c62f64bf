#include "regionalterms.h"

#include "regional.h"
#include "settings.h"

#include <QLocale>

namespace innkeld {

namespace {

// Every assignment is announced, even of the value already held: the labels
// then show the setting's text, never their design-time caption.
template <typename T>
void assign(RegionalTerms *terms, T &member, const T &value)
{
    member = value;
    emit terms->changed();
}

// The terms a house of the desk's region uses when nothing was set: the
// name of its sales tax, its standard rate and its word for the post code
// (the region's own words where the program knows them; else the
// program's first terms).
struct RegionTerms
{
    QString taxName, taxRate, postCode;
};

RegionTerms regionTerms()
{
    switch (QLocale().territory()) {
    case QLocale::Germany:
        return {QStringLiteral("MwSt."), QStringLiteral("19"), QStringLiteral("PLZ")};
    case QLocale::Austria:
        return {QStringLiteral("USt."), QStringLiteral("20"), QStringLiteral("PLZ")};
    case QLocale::Switzerland:
        if (QLocale().language() == QLocale::German)
            return {QStringLiteral("MWST"), QStringLiteral("8.1"), QStringLiteral("PLZ")};
        break;
    case QLocale::France:
        return {QStringLiteral("TVA"), QStringLiteral("20"), QStringLiteral("Code postal")};
    default:
        break;
    }
    return {QStringLiteral("Sales Tax"), QStringLiteral("10"), QStringLiteral("Post Code")};
}

}  // namespace

void RegionalTerms::setCurrencySymbol(const QString &symbol)
{
    assign(this, m_currencySymbol, symbol);
}

void RegionalTerms::setSalesTaxName(const QString &name)
{
    assign(this, m_salesTaxName, name);
}

void RegionalTerms::setPostCode(const QString &term)
{
    assign(this, m_postCode, term);
}

void RegionalTerms::setDefaultCostPerNight(const QString &cost)
{
    assign(this, m_defaultCostPerNight, cost);
}

void RegionalTerms::setSalesTaxPercent(double percent)
{
    assign(this, m_salesTaxPercent, percent);
}

QString RegionalTerms::ReadSalesTaxPercentage(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("SalesTaxPercentage"), regionTerms().taxRate);
}

QString RegionalTerms::ReadDefaultCostPerNight(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("CostPerNight"), QStringLiteral("10.00"));
}

double RegionalTerms::ReadSalesTaxPercent(const SettingsStore &settings)
{
    return SettingToNumber(settings.ReadSetting(QStringLiteral("SalesTaxPercentage"), regionTerms().taxRate));
}

QString RegionalTerms::ReadCurrencySymbol(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("CurrencySymbol"), GetLocaleText(LOCALE_SCURRENCY));
}

QString RegionalTerms::ReadSalesTaxName(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("SalesTaxName"), regionTerms().taxName);
}

QString RegionalTerms::ReadPostCode(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("PostCode"), regionTerms().postCode);
}

}  // namespace innkeld
