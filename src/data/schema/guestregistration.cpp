#include "guestregistration.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

// Days are ISO dates (yyyy-MM-dd) or empty; a nationality is the country's
// ISO 3166 code or empty.
QStringList statements(Engine engine)
{
    const bool server = engine == Engine::PostgreSQL;
    const QString ref = server ? QStringLiteral("bigint NOT NULL REFERENCES booking (ID) ON DELETE CASCADE ON UPDATE CASCADE")
                               : QStringLiteral("INTEGER NOT NULL");
    const QString day = QStringLiteral("TEXT NOT NULL DEFAULT '' CHECK (%1 = '' OR (length(%1) = 10 AND %1 LIKE '____-__-__'))");
    const QString country = QStringLiteral("TEXT NOT NULL DEFAULT '' CHECK (length(%1) <= 3)");
    const QString text = QStringLiteral("TEXT NOT NULL DEFAULT '' CHECK (length(%1) <= 200)");
    QStringList out{
        QStringLiteral("CREATE TABLE registration (bookingid %1 PRIMARY KEY, BirthDate %2, Nationality %3, "
                       "DocumentKind %4, DocumentNumber %5)")
            .arg(ref, day.arg(QStringLiteral("BirthDate")), country.arg(QStringLiteral("Nationality")),
                 text.arg(QStringLiteral("DocumentKind")), text.arg(QStringLiteral("DocumentNumber"))),
        QStringLiteral("CREATE TABLE companion (bookingid %1, Position INTEGER NOT NULL, Name TEXT NOT NULL CHECK "
                       "(length(Name) BETWEEN 1 AND 200), BirthDate %2, Nationality %3, PRIMARY KEY (bookingid, Position))")
            .arg(ref, day.arg(QStringLiteral("BirthDate")), country.arg(QStringLiteral("Nationality"))),
    };
    if (server)
        return out;
    return out + BookingLinkTriggers(QStringLiteral("registration")) + BookingLinkTriggers(QStringLiteral("companion"));
}

}  // namespace

SchemaPart GuestRegistrationPart()
{
    return EnginePart(QCoreApplication::translate("Upgrade", "Adding the guests' registration details"), statements,
                      QStringLiteral("registration"));
}

}  // namespace innkeld
