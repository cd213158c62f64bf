// Fuzz target: the regional readers and formatters under en_US, de_DE and a
// right-to-left region (fa_IR). Their promises: nothing crashes; what
// FormatMoney and FormatCount write reads back to the same value and
// formats again to the same text; no amount that cannot be stored is ever
// produced; a date read from text is written as text that reads back to it.
#include "data/regional/regional.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace innkeld;

namespace {

[[noreturn]] void broken(const char *promise, const QString &text)
{
    std::fprintf(stderr, "promise broken: %s (%s)\n", promise, qPrintable(text));
    std::abort();
}

void checkMoney(const QVariant &value)
{
    const QString money = FormatMoney(value);
    if (money == QLatin1String("0"))
        return;  // what cannot be formatted
    bool ok = false;
    const double read = ParseRegionalNumber(money, &ok);
    if (!ok || !IsStorableAmount(read))
        broken("FormatMoney writes a storable amount that reads back", money);
    if (FormatMoney(money) != money)
        broken("FormatMoney of its own text is that text", money);
}

void checkCount(const QVariant &value)
{
    // "0" stands for what is no count; the region may write its zero otherwise.
    const QString count = FormatCount(value);
    bool ok = false, again = false;
    const double read = ParseRegionalNumber(count, &ok);
    if (!ok || !std::isfinite(read))
        broken("FormatCount writes a number that reads back", count);
    if (ParseRegionalNumber(FormatCount(count), &again) != read || !again)
        broken("FormatCount of its own text is the same count", count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    double number = 0;
    if (size >= sizeof number)
        std::memcpy(&number, data, sizeof number);
    for (const char *region : {"en_US", "de_DE", "fa_IR"}) {
        QLocale::setDefault(QLocale(QLatin1String(region)));
        bool ok = false;
        ParseRegionalNumber(text, &ok);
        ValNumber(text, true);
        checkMoney(text);
        checkCount(text);
        if (size >= sizeof number) {
            checkMoney(number);
            checkCount(number);
        }
        const QDateTime date = ParseRegionalDateTime(text);
        if (date.isValid() && date.date().year() >= 1000) {
            const QString written = RegionalDateTimeText(date);
            const QDateTime again = ParseRegionalDateTime(written);
            if (again.date() != date.date() || again.time() != date.time())
                broken("a date's text reads back to the date", written);
        }
    }
    return 0;
}
