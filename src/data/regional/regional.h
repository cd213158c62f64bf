// Regional formats: how amounts, counts, numbers and dates are written and
// read back under the user's regional settings (the default QLocale).
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <QVariant>

namespace innkeld {

// Stored dates are wall-clock values: a date and a time of day, never an
// instant of the local time zone, so that every day has its midnight and
// every time of day exists, whatever the zone does. WallClock makes such a
// value; WallClockNow is the local date and time as one.
QDateTime WallClock(const QDate &date, const QTime &time = QTime(0, 0));
QDateTime WallClockNow();

// The earliest and latest day the program takes: four-digit years only.
QDate EarliestDate();
QDate LatestDate();

// Item code of GetLocaleText for the locale's currency symbol.
constexpr int LOCALE_SCURRENCY = 0x14;

// Text of a locale information item of the user's locale; empty text when
// the item is unknown or has no text.
QString GetLocaleText(int item);

// True for an amount that can be kept to a hundredth exactly: finite and
// below 10^13 in size (15 significant digits with the cents).
bool IsStorableAmount(double value);

// An amount typed by the operator, in hundredths: read in the region's
// format only (its decimal point, its groups of three, its negative forms
// and currency symbol), at most two decimals, no exponent, below 10^13.
// Anything else gives nullopt, with the reason (saying the text as typed)
// in *why.
std::optional<qint64> ReadAmountCents(const QString &text, QString *why = nullptr);

// An amount in the regional currency format without the currency symbol
// (1234.5 gives 1,234.50 in the United States). A text is read as a regional
// number first. What cannot be formatted gives "0".
QString FormatMoney(const QVariant &value);

// An amount with the house's currency symbol placed as the region places
// its own ("$1,234.50" in the United States, "1.234,50 €" in Germany).
QString MoneyWithSymbol(const QVariant &value, const QString &symbol);

// The number at the start of the value, as plain decimal text with the
// regional decimal separator ("2 adults" gives 2), to millionths. Its own result reads
// back unchanged: "." and the regional decimal separator are both taken as
// the decimal point. "0" on failure.
QString FormatCount(const QVariant &value);

// Reads the number at the start of a text the way the settings and the count
// boxes do: blanks, tabs and line feeds skipped anywhere, an optional sign,
// digits with at most one "." as the decimal point, an optional exponent
// ("E" or "D"). With allowRadixPrefix, "&H" and "&O" introduce hexadecimal
// and octal digits. A regionalPoint other than "." serves as decimal point
// as well. Text that does not begin with a number gives 0.
double ValNumber(const QString &text, bool allowRadixPrefix = false, QChar regionalPoint = QChar());

// Reads a number written in the regional format: the regional decimal
// separator, digit grouping, the regional negative forms (including an amount
// in parentheses) and the currency symbol are accepted. A text that the
// region cannot read but that is written with "." as decimal point (such as
// the stored default "10.00" in a region with a decimal comma) is read that
// way. Returns false in *ok for anything else.
double ParseRegionalNumber(const QString &text, bool *ok);

// The shortest decimal text of a number with the regional decimal
// separator and no digit grouping.
QString NumberText(double value);

// A date and time as regional text: the regional short date with a
// four-digit year, followed by a blank and the time with seconds when the
// time of day is not midnight. Reads back unchanged with ParseRegionalDateTime.
QString RegionalDateTimeText(const QDateTime &value);

// The regional short date with a four-digit year, no time of day.
QString RegionalShortDate(const QDate &value);

// The display format of a date picker: the regional short date with a
// four-digit year; the time of day stays in the value, not shown.
QString RegionalPickerFormat();

// Reads a regional short date (two- or four-digit year), optionally followed
// by a time (regional long or short time, 12 or 24 hours). A two-digit year
// is taken in 1930..2029. Returns an invalid QDateTime for anything else.
QDateTime ParseRegionalDateTime(const QString &text);

}  // namespace innkeld
