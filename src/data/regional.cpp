#include "regional.h"

#include <QLocale>
#include <QStringList>

#include <cmath>
#include <cstdlib>

namespace innkeld {

namespace {

// Stands in for the currency symbol while an amount is formatted, so that the
// symbol can be taken out wherever the region puts it.
const QChar kSymbolMark(0xE000);

bool isBlankChar(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
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

// The regional long time format without its time zone; one with seconds.
QString timeWithSeconds(const QLocale &loc)
{
    const QString out = rewriteRuns(loc.timeFormat(QLocale::LongFormat), [](QChar c, int, const QString &run) {
                            return c == QLatin1Char('t') ? QString() : run;
                        }).trimmed();
    return out.contains(QLatin1Char('s')) ? out : QStringLiteral("HH:mm:ss");
}

// Makes a format accept one or two digits for each number: 7/12 as well as 07/12.
QString lenient(const QString &fmt)
{
    return rewriteRuns(fmt, [](QChar c, int length, const QString &run) {
        return length == 2 && QStringLiteral("dMHhms").contains(c) ? QString(c) : run;
    });
}

QLocale plainLocale()
{
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc;
}

}  // namespace

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
    return std::strtod(num.constData(), nullptr);
}

double ParseRegionalNumber(const QString &text, bool *ok)
{
    *ok = false;
    const QLocale loc;
    QString t = text.trimmed();
    bool negative = false;
    if (t.size() >= 2 && t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    const QString symbol = loc.currencySymbol(QLocale::CurrencySymbol);
    if (!symbol.isEmpty()) {
        const int at = t.indexOf(symbol);
        if (at >= 0)
            t.remove(at, symbol.size());
        t = t.trimmed();
    }
    if (isBlankChar(loc.groupSeparator().isEmpty() ? QChar() : loc.groupSeparator().at(0))) {
        QString u;
        for (const QChar c : t)
            if (!isBlankChar(c))
                u += c;
        t = u;
    } else {
        t.remove(QChar(0x00A0));
        t = t.trimmed();
        // A sign set apart from the digits ("- 5") is still the sign.
        if (t.size() > 1 && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))
            t = t.at(0) + t.mid(1).trimmed();
    }
    if (t.isEmpty())
        return 0;
    bool good = false;
    double v = loc.toDouble(t, &good);
    if (!good)
        v = QLocale::c().toDouble(t, &good);
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
    return plainLocale().toString(value, 'f', QLocale::FloatingPointShortest);
}

QString FormatMoney(const QVariant &value)
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
    if (!std::isfinite(v))
        return QStringLiteral("0");
    const QLocale loc;
    v = roundAmount(v, currencyDecimals(loc));
    if (v == 0)
        v = 0;  // a rounded-away negative is no negative amount
    const QString formatted = loc.toCurrencyString(v, QString(kSymbolMark));
    if (formatted.isEmpty())
        return QStringLiteral("0");
    return withoutSymbol(formatted);
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
        const QString point = QLocale().decimalPoint();
        const QChar regional = point.size() == 1 && point != QLatin1String(".") ? point.at(0) : QChar();
        v = ValNumber(value.toString(), true, regional);
    } else {
        bool ok = false;
        v = value.toDouble(&ok);
        if (!ok)
            return QStringLiteral("0");
    }
    if (!std::isfinite(v))
        return QStringLiteral("0");
    if (v == 0)
        v = 0;
    return plainLocale().toString(v, 'g', 15);
}

QString RegionalShortDate(const QDate &value)
{
    const QLocale loc;
    return loc.toString(value, fourDigitYear(loc.dateFormat(QLocale::ShortFormat)));
}

QString RegionalPickerFormat()
{
    const QLocale loc;
    return fourDigitYear(loc.dateFormat(QLocale::ShortFormat)) + QLatin1Char(' ') + loc.timeFormat(QLocale::ShortFormat);
}

QString RegionalDateTimeText(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    const QLocale loc;
    const QString date = RegionalShortDate(value.date());
    const QTime t = value.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + QLatin1Char(' ') + loc.toString(t, timeWithSeconds(loc));
}

QDateTime ParseRegionalDateTime(const QString &text)
{
    QString t;
    for (const QChar c : text)
        t += isBlankChar(c) ? QChar(QLatin1Char(' ')) : c;
    t = t.simplified();
    if (t.isEmpty())
        return QDateTime();
    const QLocale loc;
    const QString shortDate = loc.dateFormat(QLocale::ShortFormat);
    const QString longYear = lenient(fourDigitYear(shortDate));
    QStringList dateFormats{longYear};
    QString twoDigit = lenient(shortDate);
    if (!twoDigit.contains(QLatin1String("yyyy")))
        dateFormats << twoDigit;
    else
        dateFormats << QString(twoDigit).replace(QLatin1String("yyyy"), QLatin1String("yy"));
    const QStringList timeFormats{QString(),
                                  lenient(timeWithSeconds(loc)),
                                  lenient(loc.timeFormat(QLocale::ShortFormat)),
                                  QStringLiteral("h:m:s AP"),
                                  QStringLiteral("h:m AP"),
                                  QStringLiteral("h:m:sAP"),
                                  QStringLiteral("h:mAP"),
                                  QStringLiteral("H:m:s"),
                                  QStringLiteral("H:m")};
    for (int d = 0; d < dateFormats.size(); ++d) {
        for (const QString &tf : timeFormats) {
            const QString fmt = tf.isEmpty() ? dateFormats.at(d) : dateFormats.at(d) + QLatin1Char(' ') + tf;
            QDateTime dt = loc.toDateTime(t, fmt);
            if (!dt.isValid())
                continue;
            if (d == 1) {
                const int yy = dt.date().year() % 100;
                dt.setDate(QDate(yy < 30 ? 2000 + yy : 1900 + yy, dt.date().month(), dt.date().day()));
                if (!dt.isValid())
                    continue;
            }
            return dt;
        }
    }
    // The stored form, which reads the same in every region.
    for (const char *iso : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(iso));
        if (dt.isValid())
            return dt;
    }
    return QDateTime();
}

}  // namespace innkeld
