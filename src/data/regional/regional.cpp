#include "regional.h"

#include <QCoreApplication>

#include <algorithm>
#include <optional>

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace innkeld {

namespace {

// Stands in for the currency symbol while an amount is formatted, so that the
// symbol can be taken out wherever the region puts it.
const QChar kSymbolMark(0xE000);

// Marks that set the writing direction of a number in right-to-left
// regions: they carry no value.
bool isDirectionMark(char32_t c)
{
    return c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The text with the region's own digits (Arabic-Indic, Devanagari, ...)
// written 0-9, its minus signs (U+2212 among them) written "-", and the
// marks of writing direction left out. Separators stay as they are.
QString plainDigits(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (isDirectionMark(c))
            continue;
        const int digit = QChar::digitValue(c);
        if (c > 0x7F && digit >= 0 && digit <= 9 && QChar::category(c) == QChar::Number_DecimalDigit)
            out += QLatin1Char(char('0' + digit));
        else if (c == 0x2212 || c == 0x2012 || c == 0x2013 || c == 0xFE63 || c == 0xFF0D)
            out += QLatin1Char('-');
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

// An amount's text with the region's digits made plain, without the
// parentheses of a negative amount (said in *negative) and the region's
// currency symbol.
QString moneyDigits(const QString &text, const QLocale &loc, bool *negative)
{
    QString t = plainDigits(text).trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        *negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    const QString symbol = plainDigits(loc.currencySymbol(QLocale::CurrencySymbol));
    const int at = symbol.isEmpty() ? -1 : int(t.indexOf(symbol));
    if (at >= 0)
        t.remove(at, symbol.size());
    return t.trimmed();
}

bool isBlankChar(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

// A text with every kind of blank made a plain one, single, as the reader
// of dates takes it.
QString plainBlanks(const QString &text)
{
    QString t;
    for (const QChar c : text)
        t += isBlankChar(c) ? QChar(QLatin1Char(' ')) : c;
    return t.simplified();
}

// Rounds half away from zero at the given number of decimals, on the value as
// written with 15 significant digits, so that 1.005 counts as the half it was
// meant to be and not as the binary 1.00499999...
double roundAmount(double v, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = QString::number(v * scale, 'g', 15).toDouble();
    return std::round(scaled) / scale;
}

// The number of decimals the region writes in an amount.
int currencyDecimals(const QLocale &loc)
{
    const QString one = loc.toCurrencyString(1.0, QString(kSymbolMark));
    const int dot = one.indexOf(loc.decimalPoint());
    if (dot < 0)
        return 0;
    int n = 0;
    for (int i = dot + loc.decimalPoint().size(); i < one.size() && one.at(i).isDigit(); ++i)
        ++n;
    return n;
}

QString withoutSymbol(QString s)
{
    const int at = s.indexOf(kSymbolMark);
    if (at < 0)
        return s;
    int from = at;
    int to = at + 1;
    // The blank that separates the symbol from the amount goes with it.
    if (to < s.size() && isBlankChar(s.at(to)))
        ++to;
    else if (from > 0 && isBlankChar(s.at(from - 1)))
        --from;
    s.remove(from, to - from);
    return s;
}

// Rewrites a date or time format run by run ("dd", "yyyy", "/"), leaving
// quoted literal text alone: `rewrite` gets each run outside quotes and
// returns what stands for it.
template <typename Rewrite>
QString rewriteRuns(const QString &fmt, Rewrite rewrite)
{
    QString out;
    bool quoted = false;
    for (int i = 0; i < fmt.size();) {
        const QChar c = fmt.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            ++i;
            continue;
        }
        int j = i;
        while (j < fmt.size() && fmt.at(j) == c)
            ++j;
        out += quoted ? fmt.mid(i, j - i) : rewrite(c, j - i, fmt.mid(i, j - i));
        i = j;
    }
    return out;
}

// Every year written with four digits.
QString fourDigitYear(const QString &fmt)
{
    return rewriteRuns(fmt, [](QChar c, int, const QString &run) {
        return c == QLatin1Char('y') ? QStringLiteral("yyyy") : run;
    });
}

// Makes a format accept one or two digits for each number: 7/12 as well as 07/12.
QString lenient(const QString &fmt)
{
    return rewriteRuns(fmt, [](QChar c, int length, const QString &run) {
        return length == 2 && QStringLiteral("dMHhms").contains(c) ? QString(c) : run;
    });
}

// The regional long time format without its time zone; one with seconds.
QString timeWithSeconds(const QLocale &loc)
{
    QString out = rewriteRuns(loc.timeFormat(QLocale::LongFormat), [](QChar c, int, const QString &run) {
                      return c == QLatin1Char('t') ? QString() : run;
                  });
    // The brackets that held the zone ("H:mm:ss (t)") go with it.
    static const QRegularExpression emptyBrackets(QStringLiteral("\\s*(\\(\\s*\\)|\\[\\s*\\]|\\{\\s*\\})"));
    out = out.remove(emptyBrackets).trimmed();
    if (!out.contains(QLatin1Char('s')))
        return QStringLiteral("HH:mm:ss");
    // A time written must read back: where the region's own form does not
    // (its AM/PM text changes as Qt writes it), the 24-hour clock.
    for (const QTime &probe : {QTime(14, 30, 5), QTime(9, 5, 7)})
        if (loc.toTime(plainBlanks(loc.toString(probe, out)), lenient(out)) != probe)
            return QStringLiteral("HH:mm:ss");
    return out;
}

QLocale plainLocale()
{
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc;
}

// What the regional texts of dates, times and numbers need, worked out once
// for the region in force: exporting a year of bookings writes the same
// days, times and amounts many times over.
struct RegionalCache
{
    QLocale locale;
    bool built = false;
    QString dateFormat;  // the short date with a four-digit year
    QString timeFormat;  // the long time with seconds, no zone
    QHash<qint64, QString> dates;  // Julian day -> text
    QHash<int, QString> times;     // seconds of the day -> text
    // Numbers: the region's zero digit, decimal point and minus sign.
    char16_t zero = u'0';
    bool oneUnitDigits = true;
    QString point;
    QString minus;
};

RegionalCache &regionalCache()
{
    thread_local RegionalCache cache;
    const QLocale now;
    if (!cache.built || !(cache.locale == now)) {
        cache = RegionalCache();
        cache.locale = now;
        cache.built = true;
        cache.dateFormat = fourDigitYear(now.dateFormat(QLocale::ShortFormat));
        cache.timeFormat = timeWithSeconds(now);
        const QString zero = now.zeroDigit();
        cache.oneUnitDigits = zero.size() == 1;
        cache.zero = cache.oneUnitDigits ? zero.at(0).unicode() : u'0';
        cache.point = now.decimalPoint();
        cache.minus = now.negativeSign();
    }
    // Bounded, whatever dates come.
    if (cache.dates.size() > 200000)
        cache.dates.clear();
    return cache;
}

}  // namespace

QDateTime WallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime WallClockNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return WallClock(now.date(), now.time());
}

QDate EarliestDate()
{
    return QDate(1900, 1, 1);
}

QDate LatestDate()
{
    return QDate(9999, 12, 31);
}

QString GetLocaleText(int item)
{
    const QLocale loc;
    switch (item) {
    case LOCALE_SCURRENCY:
        return loc.currencySymbol(QLocale::CurrencySymbol);
    case 0x0E:
        return loc.decimalPoint();
    case 0x0F:
        return loc.groupSeparator();
    default:
        return QString();
    }
}

double ValNumber(const QString &text, bool allowRadixPrefix, QChar regionalPoint)
{
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')
            && c != QLatin1Char('\r'))
            s += c;
    }
    int i = 0;
    const int n = s.size();
    if (allowRadixPrefix && n >= 2 && s.at(0) == QLatin1Char('&')) {
        const QChar kind = s.at(1).toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base != 0) {
            double v = 0;
            for (i = 2; i < n; ++i) {
                const int d = QString(s.at(i)).toInt(nullptr, base);
                const bool digit = s.at(i).isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(s.at(i)));
                if (!digit || (base == 8 && d > 7))
                    break;
                v = v * base + d;
            }
            return v;
        }
    }
    QByteArray num;
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        num += char(s.at(i++).toLatin1());
    bool digits = false;
    bool dot = false;
    for (; i < n; ++i) {
        const QChar c = s.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            num += char(c.toLatin1());
            digits = true;
        } else if ((c == QLatin1Char('.') || (!regionalPoint.isNull() && c == regionalPoint)) && !dot) {
            num += '.';
            dot = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    if (i < n && (s.at(i).toUpper() == QLatin1Char('E') || s.at(i).toUpper() == QLatin1Char('D'))) {
        int j = i + 1;
        QByteArray exp("e");
        if (j < n && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            exp += char(s.at(j++).toLatin1());
        bool expDigits = false;
        for (; j < n && s.at(j) >= QLatin1Char('0') && s.at(j) <= QLatin1Char('9'); ++j) {
            exp += char(s.at(j).toLatin1());
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    // Read with the C locale's rules whatever the process's LC_NUMERIC says
    // (strtod would stop at the '.' under a region that writes a comma).
    bool ok = false;
    const double v = QLocale::c().toDouble(QLatin1String(num), &ok);
    if (ok)
        return v;
    // Beyond the range of a double: the sign's infinity; below it: zero.
    const int e = num.indexOf('e');
    const bool bigExponent = e >= 0 && num.at(e + 1) != '-';
    if (!bigExponent)
        return 0;
    return num.startsWith('-') ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

double ParseRegionalNumber(const QString &text, bool *ok)
{
    *ok = false;
    const QLocale loc;
    bool negative = false;
    QString t = moneyDigits(text, loc, &negative);
    const QString group = plainDigits(loc.groupSeparator());
    if (isBlankChar(group.isEmpty() ? QChar() : group.at(0))) {
        QString u;
        for (const QChar c : t)
            if (!isBlankChar(c))
                u += c;
        t = u;
    } else {
        t.remove(QChar(0x00A0));
        t = t.trimmed();
    }
    // A sign set apart from the digits ("- 5") is still the sign.
    if (t.size() > 1 && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))
        t = t.at(0) + t.mid(1).trimmed();
    if (t.isEmpty())
        return 0;
    // The region's own way first, then "." as decimal point (the stored
    // default 10.00 in a region with a decimal comma), then, in a region
    // whose separators are not ASCII (Arabic), those separators taken by
    // hand, since its reader wants the region's own digits with them.
    bool good = false;
    double v = loc.toDouble(t, &good);
    if (!good)
        v = QLocale::c().toDouble(t, &good);
    const QString point = plainDigits(loc.decimalPoint());
    const auto ascii = [](const QString &x) { return x.isEmpty() || x.at(0).unicode() < 0x80; };
    if (!good && !(ascii(point) && ascii(group))) {
        QString u = t;
        if (!group.isEmpty())
            u.remove(group);
        if (!point.isEmpty())
            u.replace(point, QStringLiteral("."));
        v = QLocale::c().toDouble(u, &good);
    }
    if (!good || !std::isfinite(v))
        return 0;
    if (negative) {
        if (v < 0)
            return 0;  // "(-5)" is no amount
        v = -v;
    }
    *ok = true;
    return v;
}

QString NumberText(double value)
{
    if (value == 0)
        value = 0;  // no "-0"
    const RegionalCache &c = regionalCache();
    // The shortest digits that read back, in fixed notation, as the region
    // writes them: its digits, decimal point and minus sign.
    char buffer[400];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (r.ec != std::errc() || !std::isfinite(value) || !c.oneUnitDigits)
        return plainLocale().toString(value, 'f', QLocale::FloatingPointShortest);
    QString out;
    out.reserve(int(r.ptr - buffer) + 4);
    for (const char *p = buffer; p != r.ptr; ++p) {
        if (*p >= '0' && *p <= '9')
            out += QChar(char16_t(c.zero + (*p - '0')));
        else if (*p == '.')
            out += c.point;
        else if (*p == '-')
            out += c.minus;
        else
            out += QLatin1Char(*p);
    }
    return out;
}

bool IsStorableAmount(double value)
{
    return std::isfinite(value) && std::fabs(value) < 1e13;
}

std::optional<qint64> ReadAmountCents(const QString &text, QString *why)
{
    const QLocale loc;
    const auto refuse = [&](const QString &reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const QString noAmount = QCoreApplication::translate("Regional", "%1 is no amount: enter it as %2.")
                                 .arg(text.trimmed(), FormatMoney(1234.5));
    bool negative = false;
    QString t = moneyDigits(text, loc, &negative);
    if (!negative && (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')))) {
        negative = t.at(0) == QLatin1Char('-');
        t = t.mid(1).trimmed();
    }
    QString group = plainDigits(loc.groupSeparator()), point = plainDigits(loc.decimalPoint());
    if (!group.isEmpty() && isBlankChar(group.at(0))) {
        for (QChar &c : t)
            if (isBlankChar(c))
                c = QLatin1Char(' ');
        group = QStringLiteral(" ");
    }
    // The whole part, in the region's groups of three or none, then at most
    // the region's decimals.
    const QString decimalsOf = point.isEmpty() ? QString() : t.section(point, 1);
    const QString whole = point.isEmpty() ? t : t.section(point, 0, 0);
    if (t.isEmpty() || (!point.isEmpty() && t.count(point) > 1) || whole.isEmpty())
        return refuse(noAmount);
    const QStringList groups = group.isEmpty() ? QStringList{whole} : whole.split(group);
    QString digits;
    for (int i = 0; i < groups.size(); ++i) {
        const QString &g = groups.at(i);
        const bool allDigits = !g.isEmpty() && std::all_of(g.begin(), g.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
        if (!allDigits || (groups.size() > 1 && ((i == 0 && (g.size() > 3 || g.startsWith(QLatin1Char('0'))))
                                                || (i > 0 && g.size() != 3))))
            return refuse(noAmount);
        digits += g;
    }
    if (!std::all_of(decimalsOf.begin(), decimalsOf.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return refuse(noAmount);
    if (decimalsOf.size() > 2)
        return refuse(QCoreApplication::translate("Regional", "%1 has more than two decimals: an amount is kept to the "
                                                              "hundredth.")
                          .arg(text.trimmed()));
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.size() > 13)
        return refuse(QCoreApplication::translate("Regional", "%1 is more than the largest amount this program keeps, "
                                                              "%2 (ten thousand billion less one hundredth).")
                          .arg(text.trimmed(), FormatMoney(9999999999999.99)));
    const qint64 cents = digits.toLongLong() * 100 + QString(decimalsOf).leftJustified(2, QLatin1Char('0')).toLongLong();
    return negative ? -cents : cents;
}

namespace {

// The amount as the region writes money, with `symbol` where the region
// puts its own (none: without it). "0" when it cannot be kept.
QString moneyText(const QVariant &value, const QString &symbol)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("0");
    double v = 0;
    const int type = value.metaType().id();
    if (type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::QChar) {
        bool ok = false;
        v = ParseRegionalNumber(value.toString(), &ok);
        if (!ok)
            return QStringLiteral("0");
    } else {
        bool ok = false;
        v = value.toDouble(&ok);
        if (!ok)
            return QStringLiteral("0");
    }
    if (!IsStorableAmount(v))
        return QStringLiteral("0");
    const QLocale loc;
    v = roundAmount(v, currencyDecimals(loc));
    if (!IsStorableAmount(v))
        return QStringLiteral("0");  // rounded up past what can be kept
    if (v == 0)
        v = 0;  // a rounded-away negative is no negative amount
    const QString formatted = loc.toCurrencyString(v, QString(kSymbolMark));
    if (formatted.isEmpty())
        return QStringLiteral("0");
    if (symbol.isEmpty())
        return withoutSymbol(formatted);
    return QString(formatted).replace(kSymbolMark, symbol);
}

}  // namespace

QString FormatMoney(const QVariant &value)
{
    return moneyText(value, QString());
}

QString MoneyWithSymbol(const QVariant &value, const QString &symbol)
{
    return moneyText(value, symbol);
}

QString FormatCount(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("0");
    double v = 0;
    const int type = value.metaType().id();
    if (type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::QChar) {
        // The region's own decimal separator too, so that a count shown as
        // 2,5 reads back as 2,5 and not as 2.
        // The region's digits and signs are read as well, so that every
        // count this writes reads back.
        const QString point = plainDigits(QLocale().decimalPoint());
        const QChar regional = point.size() == 1 && point != QLatin1String(".") ? point.at(0) : QChar();
        v = ValNumber(plainDigits(value.toString()), true, regional);
    } else {
        bool ok = false;
        v = value.toDouble(&ok);
        if (!ok)
            return QStringLiteral("0");
    }
    // A count as large as no party can be is no count (and no inf in a
    // statement); millionths are as fine as a count goes, and it is always
    // written in plain decimal, which reads back in every region.
    if (!std::isfinite(v) || std::fabs(v) >= 1e15)
        return QStringLiteral("0");
    v = std::round(v * 1e6) / 1e6;
    return NumberText(v);
}

QString RegionalShortDate(const QDate &value)
{
    RegionalCache &c = regionalCache();
    const qint64 day = value.toJulianDay();
    auto it = c.dates.constFind(day);
    if (it == c.dates.constEnd())
        it = c.dates.insert(day, c.locale.toString(value, c.dateFormat));
    return *it;
}

QString RegionalPickerFormat()
{
    // The date only: the time of day a booking holds is kept as it is.
    return fourDigitYear(QLocale().dateFormat(QLocale::ShortFormat));
}

QString RegionalDateTimeText(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    const QString date = RegionalShortDate(value.date());
    const QTime t = value.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    RegionalCache &c = regionalCache();
    if (t.msec() != 0)
        return date + QLatin1Char(' ') + c.locale.toString(t, c.timeFormat);
    const int second = t.msecsSinceStartOfDay() / 1000;
    auto it = c.times.constFind(second);
    if (it == c.times.constEnd())
        it = c.times.insert(second, c.locale.toString(t, c.timeFormat));
    return date + QLatin1Char(' ') + *it;
}

QDateTime ParseRegionalDateTime(const QString &text)
{
    QString t = plainBlanks(text);
    if (t.isEmpty())
        return QDateTime();
    const QLocale region;
    QLocale loc = region;
    // Digits beyond one UTF-16 unit (Chakma) are more than the toolkit's
    // reader takes: they are read as the plain digits they stand for.
    const QString zero = region.zeroDigit();
    if (zero.size() == 2) {
        const char32_t first = QChar::surrogateToUcs4(zero.at(0), zero.at(1));
        QString plain;
        for (const char32_t c : t.toUcs4())
            plain += c >= first && c < first + 10 ? QString(QChar(u'0' + char16_t(c - first)))
                                                   : QString::fromUcs4(&c, 1);
        t = plain;
        loc = QLocale::c();
    }
    const QString shortDate = region.dateFormat(QLocale::ShortFormat);
    const QString longYear = lenient(fourDigitYear(shortDate));
    QStringList dateFormats{longYear};
    QString twoDigit = lenient(shortDate);
    if (!twoDigit.contains(QLatin1String("yyyy")))
        dateFormats << twoDigit;
    else
        dateFormats << QString(twoDigit).replace(QLatin1String("yyyy"), QLatin1String("yy"));
    const QStringList timeFormats{lenient(timeWithSeconds(region)),
                                  lenient(region.timeFormat(QLocale::ShortFormat)),
                                  QStringLiteral("h:m:s AP"),
                                  QStringLiteral("h:m AP"),
                                  QStringLiteral("h:m:sAP"),
                                  QStringLiteral("h:mAP"),
                                  QStringLiteral("H:m:s"),
                                  QStringLiteral("H:m")};
    // The date and the time are read apart, each as a plain value, so that
    // no time zone takes part: the date is as many blank-separated pieces as
    // its format has, the time whatever follows.
    const QStringList pieces = t.split(QLatin1Char(' '));
    for (int d = 0; d < dateFormats.size(); ++d) {
        const int datePieces = int(dateFormats.at(d).simplified().count(QLatin1Char(' '))) + 1;
        if (pieces.size() < datePieces)
            continue;
        QDate date = loc.toDate(pieces.mid(0, datePieces).join(QLatin1Char(' ')), dateFormats.at(d));
        if (!date.isValid())
            continue;
        if (d == 1) {
            const int yy = date.year() % 100;
            date = QDate(yy < 30 ? 2000 + yy : 1900 + yy, date.month(), date.day());
            if (!date.isValid())
                continue;
        }
        const QString timeText = pieces.mid(datePieces).join(QLatin1Char(' '));
        if (timeText.isEmpty())
            return WallClock(date);
        for (const QString &tf : timeFormats) {
            const QTime time = loc.toTime(timeText, tf);
            if (time.isValid())
                return WallClock(date, time);
        }
    }
    // The stored form, which reads the same in every region.
    for (const char *iso : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QString format = QLatin1String(iso);
        const QDate date = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
        const QTime time = format.size() > 10 ? QTime::fromString(t.mid(11), format.mid(11)) : QTime(0, 0);
        if (date.isValid() && time.isValid() && (format.size() > 10 || t.size() == 10))
            return WallClock(date, time);
    }
    return QDateTime();
}

}  // namespace innkeld
