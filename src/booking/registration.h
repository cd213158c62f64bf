// The registration of a booking's guest and companions, as the law of most
// European countries asks it on arrival: the guest's date of birth,
// nationality and identity document, and each companion's name, date of
// birth and nationality. All of it may be left empty.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace innkeld {

struct Companion
{
    QString name;
    QDate birth;          // invalid: not known
    QString nationality;  // ISO 3166 code ("DE"), empty: not known
    bool operator==(const Companion &o) const
    {
        return name == o.name && birth == o.birth && nationality == o.nationality;
    }
};

struct Registration
{
    QDate birth;
    QString nationality;
    QString documentKind, documentNumber;
    QVector<Companion> companions;
    bool operator==(const Registration &o) const
    {
        return birth == o.birth && nationality == o.nationality && documentKind == o.documentKind
            && documentNumber == o.documentNumber && companions == o.companions;
    }
};

// Throws DbError.
Registration ReadRegistration(Database &db, RecordId bookingId);
// The registrations of many bookings at once, by booking (none: not there).
QHash<RecordId, Registration> ReadRegistrations(Database &db, const QVector<RecordId> &bookings);
// Replaces it, in one transaction (or the caller's). Throws DbError (a
// companion without a name is refused).
void WriteRegistration(Database &db, RecordId bookingId, const Registration &registration);

// The world's countries by their ISO 3166 codes, named in the operator's
// language through Debian's iso-codes catalogues (Qt's own English names
// where they are not installed), in the order of their names.
struct Country
{
    QString code, name;
};
// `language`: a paper's, or empty for the operator's.
const QVector<Country> &Countries(const QString &language = QString());
// The country's name in the operator's language or `language` ("" for
// none, the code itself for one not known).
QString CountryName(const QString &code, const QString &language = QString());
// The code of a country typed by its name or its code ("" when none fits).
QString CountryCode(const QString &typed);

// A warning when the guest and the companions listed are not the adults and
// children the booking counts (empty: they are, or none are listed).
QString CompanionsWarning(const Registration &registration, int adults, int children);

// What the law of the house's country asks of a registration, when the
// program knows it: the country's name and the fields, in the operator's
// language (no fields: not known).
struct RegistrationLaw
{
    QString country;
    QStringList fields;
};
RegistrationLaw LawOf(const QString &countryCode);

}  // namespace innkeld
