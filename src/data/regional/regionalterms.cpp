#include "regionalterms.h"

#include "regional.h"
#include "settings.h"

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

QString RegionalTerms::ReadDefaultCostPerNight(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("CostPerNight"), QStringLiteral("10.00"));
}

double RegionalTerms::ReadSalesTaxPercent(const SettingsStore &settings)
{
    return SettingToNumber(settings.ReadSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("10")));
}

QString RegionalTerms::ReadCurrencySymbol(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("CurrencySymbol"), GetLocaleText(LOCALE_SCURRENCY));
}

QString RegionalTerms::ReadSalesTaxName(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("SalesTaxName"), QStringLiteral("Sales Tax"));
}

QString RegionalTerms::ReadPostCode(const SettingsStore &settings)
{
    return settings.ReadSetting(QStringLiteral("PostCode"), QStringLiteral("Post Code"));
}

}  // namespace innkeld
