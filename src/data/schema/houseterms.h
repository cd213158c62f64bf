// The house's regional terms and default rate, kept in the database (a
// table of one row, houseterms) so that every desk prices a booking alike:
// the currency symbol, the sales tax's name and rate, the post code's term
// and the default cost per night, each as typed.
#pragma once

#include "schemapart.h"

#include <QStringList>

#include <optional>

namespace innkeld {

class RegionalTerms;
class SettingsStore;

struct HouseTerms
{
    QString currencySymbol;
    QString salesTaxName;
    QString postCode;
    QString costPerNight;
    QString salesTaxPercentage;  // as stored, read whatever the region
};

// The table, empty, in the terms both engines read: a database made before
// the terms were kept in it gets it, and its first desk fills it.
SchemaPart HouseTermsPart();

// The terms the house keeps; none when no desk has stored them yet (a
// database made before they were kept in it). Throws DbError.
std::optional<HouseTerms> ReadHouseTerms(Database &db);

// The house's terms; a database without them takes `first` (the first
// desk's own settings) and keeps them, unless another desk stored its own
// meanwhile, which are then read. Throws DbError.
HouseTerms HouseTermsOrFirst(Database &db, const HouseTerms &first);

// Stores the terms for every desk, in one transaction. Throws DbError.
void WriteHouseTerms(Database &db, const HouseTerms &terms);

// The terms as this desk's settings store holds them (each with the
// default a user who never set it gets): what a database that keeps none
// yet is given by its first desk.
HouseTerms HouseTermsFromSettings(const SettingsStore &settings);
// The window's terms become the house's, the labels following.
void ApplyHouseTerms(RegionalTerms &shown, const HouseTerms &terms);

}  // namespace innkeld
