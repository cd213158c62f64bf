// Regional formats: amounts, counts, numbers and dates in several regions.
#include "data/sql/database.h"
#include "data/regional/regional.h"
#include "data/sql/sqldialect.h"
#include "testsupport.h"

#include <QtTest>

#include <cmath>

using namespace innkeld;
using innkeld::test::LocaleScope;

class TestRegional : public QObject
{
    Q_OBJECT
private slots:
    void formatMoneyUnitedStates();
    void formatMoneyKeepsDigitsWhereverTheSymbolStands();
    void formatMoneyFailures();
    void formatCount();
    void formatCountSecondRegion();
    void regionalNumbers();
    void amountsAndCountsReadBackInEveryLocale();
    void amountsBeyondWhatCanBeStored();
    void dateTextReadsBackInEveryRegion_data();
    void dateTextReadsBackInEveryRegion();
    void parseRegionalDates();
    void toSqlDate();
    void formatSqlDate();
};

void TestRegional::formatMoneyUnitedStates()
{
    LocaleScope us("en_US");
    QCOMPARE(FormatMoney(1234.5), QStringLiteral("1,234.50"));
    QCOMPARE(FormatMoney(0), QStringLiteral("0.00"));
    QCOMPARE(FormatMoney(1234.567), QStringLiteral("1,234.57"));
    QCOMPARE(FormatMoney(QStringLiteral("1,234.5")), QStringLiteral("1,234.50"));
    QCOMPARE(FormatMoney(QStringLiteral("10.00")), QStringLiteral("10.00"));
    QCOMPARE(FormatMoney(QStringLiteral(" 25 ")), QStringLiteral("25.00"));
    // An amount of a half cent rounds away from zero, as it is written.
    QCOMPARE(FormatMoney(1.005), QStringLiteral("1.01"));
    QCOMPARE(FormatMoney(QStringLiteral("2.675")), QStringLiteral("2.68"));
    // Formatted text reads back as the same amount (negative forms included).
    const QString negative = FormatMoney(-1234.5);
    QVERIFY(negative.contains(QStringLiteral("1,234.50")));
    QVERIFY(!negative.contains(QLatin1Char('$')));
    QCOMPARE(FormatMoney(negative), negative);
    bool ok = false;
    QCOMPARE(ParseRegionalNumber(negative, &ok), -1234.5);
    QVERIFY(ok);
    // A negative that rounds to nothing is no negative amount.
    QCOMPARE(FormatMoney(-0.001), QStringLiteral("0.00"));
}

void TestRegional::formatMoneyKeepsDigitsWhereverTheSymbolStands()
{
    {
        LocaleScope de("de_DE");  // 1.234,50 € : the symbol after the amount
        QCOMPARE(FormatMoney(1234.5), QStringLiteral("1.234,50"));
        QCOMPARE(FormatMoney(-1234.5), QStringLiteral("-1.234,50"));
        QCOMPARE(FormatMoney(QStringLiteral("1.234,5")), QStringLiteral("1.234,50"));
        // The stored default cost per night is written with a decimal point.
        QCOMPARE(FormatMoney(QStringLiteral("10.00")), QStringLiteral("10,00"));
        QCOMPARE(FormatMoney(0), QStringLiteral("0,00"));
    }
    {
        LocaleScope ch("de_CH");  // a symbol of several characters: CHF
        QCOMPARE(FormatMoney(-5), QStringLiteral("-5.00"));
        QVERIFY(!FormatMoney(1234.5).contains(QStringLiteral("CHF")));
    }
    {
        LocaleScope nl("nl_NL");  // € 1.234,50 with a blank after the symbol
        QCOMPARE(FormatMoney(1234.5), QStringLiteral("1.234,50"));
    }
    {
        LocaleScope gb("en_GB");
        QCOMPARE(FormatMoney(99.999), QStringLiteral("100.00"));
    }
}

void TestRegional::formatMoneyFailures()
{
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        QCOMPARE(FormatMoney(QString()), QStringLiteral("0"));
        QCOMPARE(FormatMoney(QStringLiteral("abc")), QStringLiteral("0"));
        QCOMPARE(FormatMoney(QStringLiteral("12abc")), QStringLiteral("0"));
        QCOMPARE(FormatMoney(QVariant()), QStringLiteral("0"));
        QCOMPARE(FormatMoney(std::numeric_limits<double>::infinity()), QStringLiteral("0"));
    }
}

void TestRegional::formatCount()
{
    LocaleScope us("en_US");
    QCOMPARE(FormatCount(QStringLiteral("3")), QStringLiteral("3"));
    QCOMPARE(FormatCount(QStringLiteral("2 adults")), QStringLiteral("2"));
    QCOMPARE(FormatCount(QStringLiteral("1 2")), QStringLiteral("12"));
    QCOMPARE(FormatCount(QStringLiteral("abc")), QStringLiteral("0"));
    QCOMPARE(FormatCount(QStringLiteral("2.5")), QStringLiteral("2.5"));
    QCOMPARE(FormatCount(QStringLiteral("")), QStringLiteral("0"));
    QCOMPARE(FormatCount(QStringLiteral("-4")), QStringLiteral("-4"));
    QCOMPARE(FormatCount(QStringLiteral("1.5.5")), QStringLiteral("1.5"));
    QCOMPARE(FormatCount(QStringLiteral("1,5")), QStringLiteral("1"));  // "," is no decimal point here
    QCOMPARE(FormatCount(QStringLiteral("&H1F")), QStringLiteral("31"));
    QCOMPARE(FormatCount(QStringLiteral("&O17")), QStringLiteral("15"));
    QCOMPARE(FormatCount(QStringLiteral("2E3")), QStringLiteral("2000"));
    QCOMPARE(FormatCount(QStringLiteral("2D1")), QStringLiteral("20"));
    QCOMPARE(FormatCount(QStringLiteral("1234567")), QStringLiteral("1234567"));  // no grouping
    QCOMPARE(FormatCount(QStringLiteral("1E400")), QStringLiteral("0"));          // too large
    QCOMPARE(FormatCount(7), QStringLiteral("7"));
}

void TestRegional::formatCountSecondRegion()
{
    LocaleScope de("de_DE");
    // "." is the decimal point of the text read; the result uses the region's.
    QCOMPARE(FormatCount(QStringLiteral("2.5")), QStringLiteral("2,5"));
    QCOMPARE(FormatCount(QStringLiteral("2,5")), QStringLiteral("2,5"));  // its own form reads back
    QCOMPARE(FormatCount(FormatCount(QStringLiteral("1.25"))), QStringLiteral("1,25"));
    QCOMPARE(FormatCount(QStringLiteral("2,5,1")), QStringLiteral("2,5"));
    QCOMPARE(FormatCount(QStringLiteral("1234567")), QStringLiteral("1234567"));
}

void TestRegional::regionalNumbers()
{
    bool ok = false;
    {
        LocaleScope us("en_US");
        QCOMPARE(ParseRegionalNumber(QStringLiteral("1,234.50"), &ok), 1234.5);
        QVERIFY(ok);
        QCOMPARE(ParseRegionalNumber(QStringLiteral("$12.00"), &ok), 12.0);
        QVERIFY(ok);
        QCOMPARE(ParseRegionalNumber(QStringLiteral("(5.00)"), &ok), -5.0);
        QVERIFY(ok);
        ParseRegionalNumber(QStringLiteral("1.234,50"), &ok);
        QVERIFY(!ok);
        ParseRegionalNumber(QStringLiteral(""), &ok);
        QVERIFY(!ok);
        ParseRegionalNumber(QStringLiteral("12 apples"), &ok);
        QVERIFY(!ok);
        QCOMPARE(NumberText(1234.5), QStringLiteral("1234.5"));
        QCOMPARE(NumberText(2), QStringLiteral("2"));
        QCOMPARE(NumberText(0.1 + 0.2), QStringLiteral("0.30000000000000004"));
        QCOMPARE(NumberText(1e8), QStringLiteral("100000000"));  // decimal, never 1E+08
    }
    {
        LocaleScope de("de_DE");
        QCOMPARE(ParseRegionalNumber(QStringLiteral("1.234,50"), &ok), 1234.5);
        QVERIFY(ok);
        QCOMPARE(ParseRegionalNumber(QStringLiteral("2,5"), &ok), 2.5);
        QVERIFY(ok);
        QCOMPARE(ParseRegionalNumber(QStringLiteral("-1.234,50 €"), &ok), -1234.5);
        QVERIFY(ok);
        QCOMPARE(NumberText(1234.5), QStringLiteral("1234,5"));
    }
    {
        LocaleScope fr("fr_FR");  // a blank groups the digits; an ordinary one is accepted too
        QCOMPARE(ParseRegionalNumber(QStringLiteral("1 234,50"), &ok), 1234.5);
        QVERIFY(ok);
    }
}

void TestRegional::dateTextReadsBackInEveryRegion_data()
{
    QTest::addColumn<QString>("region");
    // Every region Qt knows.
    QStringList names;
    for (const QLocale &loc : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
        if (!names.contains(loc.name()))
            names << loc.name();
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestRegional::dateTextReadsBackInEveryRegion()
{
    QFETCH(QString, region);
    LocaleScope scope(region.toLatin1().constData());
    const QList<QDateTime> values{
        QDateTime(QDate(2026, 12, 7), QTime(0, 0)),
        QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5)),
        QDateTime(QDate(1999, 1, 31), QTime(0, 0, 1)),
        QDateTime(QDate(2030, 2, 28), QTime(23, 59, 59)),
        QDateTime(QDate(2002, 5, 1), QTime(12, 0)),
    };
    for (const QDateTime &v : values) {
        const QString text = RegionalDateTimeText(v);
        QVERIFY2(text.contains(QLocale().toString(v.date(), QStringLiteral("yyyy"))), qPrintable(text));
        // No time zone, nor the brackets it stood in.
        QVERIFY2(!text.contains(QLatin1String("()")) && !text.contains(QLatin1String("UTC"))
                     && !text.contains(QLatin1String("GMT")),
                 qPrintable(text));
        QCOMPARE(ParseRegionalDateTime(text), v);
    }
    // Midnight carries no time.
    QVERIFY(!RegionalDateTimeText(values.at(0)).contains(QLatin1Char(':')));
}

void TestRegional::parseRegionalDates()
{
    {
        LocaleScope us("en_US");
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("12/7/2026")), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("12/7/26")), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("1/5/45")), QDateTime(QDate(1945, 1, 5), QTime(0, 0)));
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("5/1/2002 2:15 PM")),
                 QDateTime(QDate(2002, 5, 1), QTime(14, 15)));
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("5/1/2002 12:00:00 AM")),
                 QDateTime(QDate(2002, 5, 1), QTime(0, 0)));
        QVERIFY(!ParseRegionalDateTime(QStringLiteral("13/1/2002")).isValid());
        QVERIFY(!ParseRegionalDateTime(QStringLiteral("2/30/2002")).isValid());
        QVERIFY(!ParseRegionalDateTime(QStringLiteral("soon")).isValid());
        QVERIFY(!ParseRegionalDateTime(QString()).isValid());
    }
    {
        LocaleScope gb("en_GB");  // day first
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("07/12/2026")), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("7/12/2026 15:04")), QDateTime(QDate(2026, 12, 7), QTime(15, 4)));
    }
    {
        LocaleScope de("de_DE");
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("07.12.26")), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
        QCOMPARE(ParseRegionalDateTime(QStringLiteral("1.5.2002 23:59:00")),
                 QDateTime(QDate(2002, 5, 1), QTime(23, 59)));
    }
}

void TestRegional::toSqlDate()
{
    for (const char *region : {"en_US", "de_DE"}) {
        LocaleScope scope(region);
        QCOMPARE(ToSQLDate(QDateTime(QDate(2002, 12, 25), QTime(14, 30))), QStringLiteral("12/25/2002"));
        QCOMPARE(ToSQLDate(QDate(2002, 3, 2)), QStringLiteral("3/2/2002"));
        QCOMPARE(ToSQLDate(QDate(2003, 1, 1)), QStringLiteral("1/1/2003"));
        // Always four digits: year 20 is not read back as 2020.
        QCOMPARE(ToSQLDate(QDate(20, 1, 5)), QStringLiteral("1/5/0020"));
        QCOMPARE(ParseDateLiteral(ToSQLDate(QDate(20, 1, 5))).date(), QDate(20, 1, 5));
        QCOMPARE(ToSQLDate(QDateTime(QDate(2002, 10, 31), QTime(23, 59))), QStringLiteral("10/31/2002"));
        QCOMPARE(ToSQLDate(QStringLiteral("no date")), QString());
        QCOMPARE(ToSQLDate(QVariant()), QString());
        QCOMPARE(ToSQLDate(RegionalDateTimeText(QDateTime(QDate(2026, 12, 7), QTime(9, 0)))),
                 QStringLiteral("12/7/2026"));
    }
}

void TestRegional::formatSqlDate()
{
    LocaleScope us("en_US");
    QCOMPARE(FormatSQLDate(QDate(2002, 3, 5)), QStringLiteral("05-Mar-2002"));
}

void TestRegional::amountsAndCountsReadBackInEveryLocale()
{
    // Whatever FormatMoney and FormatCount write, in any locale Qt knows
    // (right-to-left marks, U+2212 minus signs and native digits included),
    // reads back as the same value and formats again to the same text.
    const QList<QLocale> all =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QStringList failures;
    for (const QLocale &locale : all) {
        QLocale::setDefault(locale);
        // The shortest number text is the region's own, digits and signs too.
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        for (double v : {0.0, -5.0, 1234.5, 0.1 + 0.2, -1e-7, 123456789012345.0, 2.5e-300, 1e21})
            if (NumberText(v) != plain.toString(v, 'f', QLocale::FloatingPointShortest))
                failures << QStringLiteral("%1 number %2 -> '%3'").arg(locale.name()).arg(v).arg(NumberText(v));
        for (double v : {0.0, 1.0, -5.0, 1234.5, 0.005, 999999999.99}) {
            const QString money = FormatMoney(v);
            bool ok = false;
            const double read = ParseRegionalNumber(money, &ok);
            // Rounded to the currency's own decimals (none for some).
            if (!ok || std::fabs(read - v) > 0.5 || FormatMoney(money) != money)
                failures << QStringLiteral("%1 money %2 -> '%3' -> %4").arg(locale.name()).arg(v).arg(money).arg(read);
            const QString count = FormatCount(v);
            const double countRead = ParseRegionalNumber(count, &ok);
            if (!ok || countRead != v || FormatCount(count) != count)
                failures << QStringLiteral("%1 count %2 -> '%3' -> '%4'").arg(locale.name()).arg(v).arg(count, FormatCount(count));
        }
    }
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QVERIFY2(failures.isEmpty(), qPrintable(QStringLiteral("%1 of %2 locales fail, e.g.\n").arg(failures.size()).arg(all.size())
                                            + failures.mid(0, 25).join(QLatin1Char('\n'))));
}

void TestRegional::amountsBeyondWhatCanBeStored()
{
    LocaleScope us("en_US");
    // Beyond about 10^15 an amount cannot be kept to the cent: it is shown as
    // what cannot be formatted, and never as inf or a 300-digit number.
    for (const QString &huge : {QStringLiteral("1e308"), QStringLiteral("1e305"), QStringLiteral("1e16"),
                                QStringLiteral("-1e20"), QStringLiteral("inf"), QStringLiteral("nan")})
        QCOMPARE(FormatMoney(huge), QStringLiteral("0"));
    QCOMPARE(FormatMoney(1e300), QStringLiteral("0"));
    QCOMPARE(FormatMoney(999999999999.99), QStringLiteral("999,999,999,999.99"));
    QCOMPARE(FormatCount(QStringLiteral("1e308")), QStringLiteral("0"));
    QCOMPARE(FormatCount(1e300), QStringLiteral("0"));
    // A statement never carries inf or nan: such text is no amount.
    for (const char *text : {"1e308", "inf", "nan", "1e400"}) {
        try {
            ConvertTextForColumn(QLatin1String(text), ColumnKind::Money, QStringLiteral("SalesTax"));
            QFAIL(text);
        } catch (const DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("is not an amount")), qPrintable(e.message()));
        }
    }
}

QTEST_GUILESS_MAIN(TestRegional)
#include "tst_regional.moc"
