#include "houseterms.h"

#include "data/regional/regionalterms.h"
#include "data/regional/settings.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

// Named apart from the booking's and the customer's columns (CostPerNight,
// PostCode), which the dialect reads by name in every table.
const char *const kColumns = "CurrencySymbol, SalesTaxName, PostCodeTerm, DefaultCostPerNight, SalesTaxPercentage";

QString values(const HouseTerms &t)
{
    QStringList v;
    for (const QString *text : {&t.currencySymbol, &t.salesTaxName, &t.postCode, &t.costPerNight, &t.salesTaxPercentage})
        v << QLatin1Char('\'') + SqlText(StoredText(*text, false)) + QLatin1Char('\'');
    return v.join(QStringLiteral(", "));
}

}  // namespace

SchemaPart HouseTermsPart()
{
    return TablesPart(QCoreApplication::translate("Upgrade", "Adding the house's terms"), {QStringLiteral("CREATE TABLE houseterms (id INTEGER PRIMARY KEY CHECK (id = 1), "
                                      "CurrencySymbol text NOT NULL, SalesTaxName text NOT NULL, PostCodeTerm text "
                                      "NOT NULL, DefaultCostPerNight text NOT NULL, SalesTaxPercentage text NOT NULL)")},
                      QStringLiteral("houseterms"));
}

std::optional<HouseTerms> ReadHouseTerms(Database &db)
{
    Recordset rs = db.execute(QStringLiteral("SELECT %1 FROM houseterms WHERE id = 1").arg(QLatin1String(kColumns)));
    if (rs.eof())
        return std::nullopt;
    return HouseTerms{rs.text(0), rs.text(1), rs.text(2), rs.text(3), rs.text(4)};
}

HouseTerms HouseTermsOrFirst(Database &db, const HouseTerms &first)
{
    if (const auto kept = ReadHouseTerms(db))
        return *kept;
    try {
        Database::Transaction tx(db);
        db.execute(QStringLiteral("INSERT INTO houseterms (id, %1) VALUES (1, %2)")
                       .arg(QLatin1String(kColumns), values(first)));
        tx.commit();
    } catch (const DbError &) {
        // Another desk stored its terms first (the key refused ours), or the
        // file cannot be written now: what the house keeps, else our own.
        if (const auto kept = ReadHouseTerms(db))
            return *kept;
        return first;
    }
    return ReadHouseTerms(db).value_or(first);
}

void WriteHouseTerms(Database &db, const HouseTerms &terms)
{
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM houseterms"));
    db.execute(QStringLiteral("INSERT INTO houseterms (id, %1) VALUES (1, %2)").arg(QLatin1String(kColumns), values(terms)));
    tx.commit();
}

HouseTerms HouseTermsFromSettings(const SettingsStore &settings)
{
    return HouseTerms{RegionalTerms::ReadCurrencySymbol(settings), RegionalTerms::ReadSalesTaxName(settings),
                      RegionalTerms::ReadPostCode(settings), RegionalTerms::ReadDefaultCostPerNight(settings),
                      RegionalTerms::ReadSalesTaxPercentage(settings)};
}

void ApplyHouseTerms(RegionalTerms &shown, const HouseTerms &terms)
{
    shown.setDefaultCostPerNight(terms.costPerNight);
    shown.setSalesTaxPercent(SettingToNumber(terms.salesTaxPercentage));
    shown.setCurrencySymbol(terms.currencySymbol);
    shown.setSalesTaxName(terms.salesTaxName);
    shown.setPostCode(terms.postCode);
}

}  // namespace innkeld
