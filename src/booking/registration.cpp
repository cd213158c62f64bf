#include "registration.h"

#include "data/regional/language.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutex>

#include <clocale>
#include <libintl.h>
#include <locale.h>

#include <algorithm>

namespace innkeld {

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Registration)
};

QString literal(const QString &text)
{
    return QLatin1Char('\'') + SqlText(StoredText(text, false)) + QLatin1Char('\'');
}

QString dayText(const QDate &day)
{
    return day.isValid() ? day.toString(Qt::ISODate) : QString();
}

}  // namespace

Registration ReadRegistration(Database &db, RecordId bookingId)
{
    return ReadRegistrations(db, {bookingId}).value(bookingId);
}

QHash<RecordId, Registration> ReadRegistrations(Database &db, const QVector<RecordId> &bookings)
{
    QHash<RecordId, Registration> read;
    for (int at = 0; at < bookings.size(); at += 500) {
        QStringList ids;
        for (const RecordId id : bookings.mid(at, 500))
            ids << QString::number(id);
        const QString in = ids.join(QLatin1Char(','));
        for (Recordset g = db.execute(QStringLiteral("SELECT bookingid, BirthDate, Nationality, DocumentKind, DocumentNumber "
                                                     "FROM registration WHERE bookingid IN (%1)")
                                          .arg(in));
             !g.eof(); g.moveNext()) {
            Registration &r = read[g.value(0).toLongLong()];
            r.birth = QDate::fromString(g.text(1), Qt::ISODate);
            r.nationality = g.text(2);
            r.documentKind = g.text(3);
            r.documentNumber = g.text(4);
        }
        for (Recordset c = db.execute(QStringLiteral("SELECT bookingid, Name, BirthDate, Nationality FROM companion WHERE "
                                                     "bookingid IN (%1) ORDER BY bookingid, Position")
                                          .arg(in));
             !c.eof(); c.moveNext())
            read[c.value(0).toLongLong()].companions << Companion{c.text(1), QDate::fromString(c.text(2), Qt::ISODate), c.text(3)};
    }
    return read;
}

void WriteRegistration(Database &db, RecordId bookingId, const Registration &r)
{
    for (const Companion &c : r.companions)
        if (c.name.trimmed().isEmpty())
            throw DbError(Words::tr("Each companion needs a name."));
    Database::Transaction tx(db);
    db.execute(QStringLiteral("DELETE FROM registration WHERE bookingid = %1").arg(bookingId));
    db.execute(QStringLiteral("DELETE FROM companion WHERE bookingid = %1").arg(bookingId));
    db.execute(QStringLiteral("INSERT INTO registration (bookingid, BirthDate, Nationality, DocumentKind, DocumentNumber) "
                              "VALUES (%1, %2, %3, %4, %5)")
                   .arg(bookingId)
                   .arg(literal(dayText(r.birth)), literal(r.nationality.left(3)), literal(r.documentKind.trimmed().left(200)),
                        literal(r.documentNumber.trimmed().left(200))));
    for (int i = 0; i < r.companions.size(); ++i) {
        const Companion &c = r.companions.at(i);
        db.execute(QStringLiteral("INSERT INTO companion (bookingid, Position, Name, BirthDate, Nationality) VALUES "
                                  "(%1, %2, %3, %4, %5)")
                       .arg(bookingId)
                       .arg(i)
                       .arg(literal(c.name.trimmed().left(200)), literal(dayText(c.birth)), literal(c.nationality.left(3))));
    }
    tx.commit();
}

namespace {

// The countries as Debian's iso-codes lists them, named in `language`
// through its gettext catalogue; Qt's own names when it is not installed.
QVector<Country> countriesIn(const QString &language)
{
    QVector<Country> out;
    QFile file(QStringLiteral("/usr/share/iso-codes/json/iso_3166-1.json"));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray domain("iso_3166-1");
        bindtextdomain(domain.constData(), "/usr/share/locale");
        bind_textdomain_codeset(domain.constData(), "UTF-8");
        // The catalogue of the language asked, on this thread alone.
        const QByteArray name = language.isEmpty() || language == QLatin1String("en")
            ? QByteArray("C.UTF-8")
            : QLocale(language).name().toLatin1() + ".UTF-8";
        locale_t messages = newlocale(LC_MESSAGES_MASK, name.constData(), locale_t(nullptr));
        const locale_t before = messages ? uselocale(messages) : locale_t(nullptr);
        const QJsonArray all = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("3166-1")).toArray();
        for (const QJsonValue &v : all) {
            const QJsonObject o = v.toObject();
            const QByteArray english = o.value(QStringLiteral("name")).toString().toUtf8();
            out << Country{o.value(QStringLiteral("alpha_2")).toString(),
                           messages ? QString::fromUtf8(dgettext(domain.constData(), english.constData()))
                                    : QString::fromUtf8(english)};
        }
        if (messages) {
            uselocale(before);
            freelocale(messages);
        }
    }
    if (out.isEmpty())
        for (int t = int(QLocale::AnyTerritory) + 1; t <= int(QLocale::LastTerritory); ++t) {
            const auto territory = QLocale::Territory(t);
            const QString code = QLocale::territoryToCode(territory);
            if (code.size() == 2 && code != QLatin1String("ZZ"))
                out << Country{code, QLocale::territoryToString(territory)};
        }
    std::sort(out.begin(), out.end(),
              [](const Country &a, const Country &b) { return QString::localeAwareCompare(a.name, b.name) < 0; });
    return out;
}

}  // namespace

const QVector<Country> &Countries(const QString &paperLanguage)
{
    static QMutex guard;
    static QHash<QString, QVector<Country>> named;
    const QString language = paperLanguage.isEmpty() ? LanguageInUse() : paperLanguage;
    const QMutexLocker lock(&guard);
    auto it = named.find(language);
    if (it == named.end())
        it = named.insert(language, countriesIn(language));
    return *it;
}

QString CountryName(const QString &code, const QString &language)
{
    if (code.isEmpty())
        return QString();
    for (const Country &c : Countries(language))
        if (c.code == code)
            return c.name;
    return code;
}

QString CountryCode(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return QString();
    for (const Country &c : Countries())
        if (c.code.compare(t, Qt::CaseInsensitive) == 0 || c.name.compare(t, Qt::CaseInsensitive) == 0)
            return c.code;
    return QString();
}

QString CompanionsWarning(const Registration &r, int adults, int children)
{
    if (r.companions.isEmpty())
        return QString();
    const int listed = int(r.companions.size()) + 1;
    if (listed == adults + children)
        return QString();
    return Words::tr("The registration lists %1 persons, the guest and the companions; the booking counts %2 (adults: %3, "
                     "children: %4).")
        .arg(listed)
        .arg(adults + children)
        .arg(adults)
        .arg(children);
}

RegistrationLaw LawOf(const QString &countryCode)
{
    RegistrationLaw law;
    law.country = CountryName(countryCode);
    if (countryCode == QLatin1String("DE") || countryCode == QLatin1String("AT"))
        law.fields = QStringList{Words::tr("the day of arrival and the expected day of departure"),
                                 Words::tr("the guest's names"),
                                 Words::tr("the date of birth"),
                                 Words::tr("the nationality"),
                                 Words::tr("the address"),
                                 Words::tr("the number of companions and their nationalities"),
                                 Words::tr("for a foreign guest, the serial number of the passport or identity card"),
                                 Words::tr("the guest's signature")};
    return law;
}

}  // namespace innkeld
