#include "guestregistration.h"

#include "bookingtables.h"

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
    out << QStringLiteral("CREATE TABLE retention (id INTEGER PRIMARY KEY CHECK (id = 1), RegistrationMonths INTEGER NOT "
                          "NULL DEFAULT 12 CHECK (RegistrationMonths BETWEEN 1 AND 240), CardDays INTEGER NOT NULL DEFAULT "
                          "7 CHECK (CardDays BETWEEN 0 AND 3650), CardsMaskedTo INTEGER)")
        << QStringLiteral("INSERT INTO retention (id, RegistrationMonths, CardDays) VALUES (1, 12, 7)")
        // The card numbers an earlier version kept whole, masked once.
        << MaskCardsSql(engine, CardKeptTooLongSql(engine, QDate::currentDate(), 7));
    if (server)
        return out;
    return out + BookingLinkTriggers(QStringLiteral("registration")) + BookingLinkTriggers(QStringLiteral("companion"));
}

}  // namespace

QString MaskedCardSql(const QString &column)
{
    const QString digits = QStringLiteral("replace(replace(%1, ' ', ''), '-', '')").arg(column);
    return QStringLiteral("CASE WHEN length(%1) > 4 AND %2 NOT LIKE '****%' THEN '**** ' || substr(%1, length(%1) - 3) "
                          "ELSE %2 END")
        .arg(digits, column);
}

QString MaskCardsSql(Engine, const QString &condition)
{
    const QString digits = QStringLiteral("replace(replace(CreditCardNo, ' ', ''), '-', '')");
    return QStringLiteral("UPDATE booking SET CreditCardNo = '**** ' || substr(%1, length(%1) - 3) WHERE CreditCardNo IS "
                          "NOT NULL AND length(%1) > 4 AND CreditCardNo NOT LIKE '****%' AND (%2)")
        .arg(digits, condition);
}

QString CardKeptTooLongSql(Engine engine, const QDate &today, int days)
{
    return QStringLiteral("Status = 'checkedout' OR (ToDate IS NOT NULL AND %1 < %2)")
        .arg(DayNumberSql(engine, QStringLiteral("ToDate")))
        .arg(today.toJulianDay() - days);
}

SchemaPart GuestRegistrationPart()
{
    return EnginePart(QCoreApplication::translate("Upgrade", "Adding the guests' registration details"), statements,
                      QStringLiteral("registration"));
}

}  // namespace innkeld
