// The regional terms the whole main window shares: the currency symbol, the
// sales tax's name, the post code's term, the default nightly rate and the
// tax rate. The load fills them from the settings store; the regional
// settings dialog changes them; the labels that show them follow `changed`.
#pragma once

#include <QObject>
#include <QString>

namespace innkeld {

class SettingsStore;

class RegionalTerms : public QObject
{
    Q_OBJECT
public:
    explicit RegionalTerms(QObject *parent = nullptr) : QObject(parent) {}

    QString CurrencySymbol() const { return m_currencySymbol; }
    QString SalesTaxName() const { return m_salesTaxName; }
    QString PostCode() const { return m_postCode; }
    // The CostPerNight setting as stored; made an amount only where shown.
    QString DefaultCostPerNight() const { return m_defaultCostPerNight; }
    double SalesTaxPercent() const { return m_salesTaxPercent; }

    void setCurrencySymbol(const QString &symbol);
    void setSalesTaxName(const QString &name);
    void setPostCode(const QString &term);
    void setDefaultCostPerNight(const QString &cost);
    void setSalesTaxPercent(double percent);

    // The defaults and terms as the settings store holds them, each with the
    // default a user who never set it gets.
    static QString ReadDefaultCostPerNight(const SettingsStore &settings);
    static double ReadSalesTaxPercent(const SettingsStore &settings);
    static QString ReadCurrencySymbol(const SettingsStore &settings);
    static QString ReadSalesTaxName(const SettingsStore &settings);
    // Each as the settings keep it, else the region's own (the name of its
    // sales tax, its standard rate, its word for the post code where the
    // program knows them, else the first terms: Sales Tax, 10, Post Code).
    static QString ReadSalesTaxPercentage(const SettingsStore &settings);
    static QString ReadPostCode(const SettingsStore &settings);

signals:
    void changed();

private:
    QString m_currencySymbol;
    QString m_salesTaxName;
    QString m_postCode;
    QString m_defaultCostPerNight;
    double m_salesTaxPercent = 0;
};

}  // namespace innkeld
