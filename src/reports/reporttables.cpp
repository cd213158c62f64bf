#include "reporttables.h"

#include "booking/bookingstatus.h"

#include "data/regional/regional.h"
#include "data/schema/housedetails.h"
#include "output/csvexport.h"
#include "output/papers.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QLocale>
#include <QSet>

#include <stdexcept>

namespace innkeld {

namespace {

QString amount(double value)
{
    return QLocale().toString(value, 'f', 2);
}

QString cents(qint64 value)
{
    return amount(double(value) / 100.0);
}

QString count(qint64 value)
{
    return QLocale().toString(value);
}

QString percent(double value)
{
    return QLocale().toString(value, 'f', 1);
}

QString monthName(const QDate &day)
{
    return QStringLiteral("%1 %2").arg(QLocale().standaloneMonthName(day.month(), QLocale::LongFormat)).arg(day.year());
}

QString span(const QDate &first, const QDate &last)
{
    return first == last ? RegionalShortDate(first)
                         : QStringLiteral("%1 \u2013 %2").arg(RegionalShortDate(first), RegionalShortDate(last));
}

// How a stretch of the period is named in the table.
QString stretchName(const QDate &first, const QDate &last, ReportGrouping grouping)
{
    if (grouping == ReportGrouping::Month && first.day() == 1 && last.day() == last.daysInMonth())
        return monthName(first);
    return span(first, last);
}

QString money(const QString &caption, const QString &currency)
{
    return currency.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, currency);
}

const char *const kNightsCounted = QT_TRANSLATE_NOOP(
    "Reports", "Counted: the bookings with a guest (not those still being begun), each night in the day, week or month it "
    "falls in");

void occupancy(Database &db, const ReportRequest &rq, ReportTable &t)
{
    t.title = QCoreApplication::translate("Reports", "Occupancy");
    const QVector<OccupancyRow> rows = OccupancyReport(db, rq.first, rq.last, rq.grouping);
    const QString period = rq.grouping == ReportGrouping::Day ? QCoreApplication::translate("Reports", "Day")
        : rq.grouping == ReportGrouping::Week                ? QCoreApplication::translate("Reports", "Week")
                                                              : QCoreApplication::translate("Reports", "Month");
    t.headers = QStringList{period, QCoreApplication::translate("Reports", "Rooms available"), QCoreApplication::translate("Reports", "Room-nights sold"),
                            QCoreApplication::translate("Reports", "Occupancy %"), money(QCoreApplication::translate("Reports", "Average rate"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Revenue per available room"), rq.currency)};
    t.chart = rq.grouping == ReportGrouping::Day && rows.size() > 31 ? ChartStyle::Line : ChartStyle::Bars;
    t.chartUnit = QStringLiteral("%");
    t.seriesNames = QStringList{QCoreApplication::translate("Reports", "Occupancy %")};
    t.series.resize(1);
    OccupancyRow total;
    for (const OccupancyRow &r : rows) {
        t.cells << QStringList{stretchName(r.first, r.last, rq.grouping), count(r.roomsAvailable), count(r.roomNightsSold),
                               percent(r.occupancy()), amount(r.averageRate()), amount(r.revenuePerAvailableRoom())};
        t.series[0] << r.occupancy();
        total.roomsAvailable += r.roomsAvailable;
        total.roomNightsSold += r.roomNightsSold;
        total.revenue += r.revenue;
    }
    t.cells << QStringList{QCoreApplication::translate("Reports", "Total"), count(total.roomsAvailable), count(total.roomNightsSold),
                           percent(total.occupancy()), amount(total.averageRate()), amount(total.revenuePerAvailableRoom())};
    t.hasTotals = true;
    t.notes << QCoreApplication::translate("Reports", kNightsCounted)
                   + QCoreApplication::translate("Reports", "; rooms available: the house's rooms now; a room-night at its booking's cost.");
}

void revenue(Database &db, const ReportRequest &rq, ReportTable &t)
{
    t.title = QCoreApplication::translate("Reports", "Revenue");
    const QVector<RevenueRow> rows = RevenueReport(db, rq.first, rq.last);
    QStringList methods;
    for (const RevenueRow &r : rows)
        for (auto it = r.paidCents.begin(); it != r.paidCents.end(); ++it)
            if (!methods.contains(it.key()))
                methods << it.key();
    std::sort(methods.begin(), methods.end());
    t.headers = QStringList{QCoreApplication::translate("Reports", "Month"), money(QCoreApplication::translate("Reports", "Room revenue"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Other charges"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Cancellation fees"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Sales tax invoiced"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Total invoiced"), rq.currency)};
    for (const QString &method : methods)
        t.headers << money(QCoreApplication::translate("Reports", "Paid: %1").arg(method.isEmpty() ? QCoreApplication::translate("Reports", "no method") : method),
                           rq.currency);
    t.headers << money(QCoreApplication::translate("Reports", "Outstanding at the period's end"), rq.currency);
    t.chart = ChartStyle::StackedBars;
    t.chartUnit = rq.currency;
    t.seriesNames = QStringList{QCoreApplication::translate("Reports", "Room revenue"), QCoreApplication::translate("Reports", "Other charges"),
                                QCoreApplication::translate("Reports", "Sales tax invoiced")};
    t.series.resize(3);
    double room = 0, other = 0;
    qint64 tax = 0, invoiced = 0, fees = 0;
    QMap<QString, qint64> paid;
    for (const RevenueRow &r : rows) {
        QStringList line{stretchName(r.first, r.last, ReportGrouping::Month), amount(r.roomRevenue), amount(r.otherCharges),
                         cents(r.feeCents), cents(r.taxCents), cents(r.invoicedCents)};
        fees += r.feeCents;
        for (const QString &method : methods) {
            line << cents(r.paidCents.value(method));
            paid[method] += r.paidCents.value(method);
        }
        line << cents(r.outstandingCents);
        t.cells << line;
        t.series[0] << r.roomRevenue;
        t.series[1] << r.otherCharges;
        t.series[2] << double(r.taxCents) / 100.0;
        room += r.roomRevenue;
        other += r.otherCharges;
        tax += r.taxCents;
        invoiced += r.invoicedCents;
    }
    QStringList line{QCoreApplication::translate("Reports", "Total"), amount(room), amount(other), cents(fees), cents(tax),
                     cents(invoiced)};
    for (const QString &method : methods)
        line << cents(paid.value(method));
    qint64 outstanding = 0;
    for (const RevenueRow &r : rows)
        outstanding += r.outstandingCents;
    line << cents(outstanding);
    t.cells << line;
    t.hasTotals = true;
    t.notes << QCoreApplication::translate("Reports", kNightsCounted)
                   + QCoreApplication::translate("Reports", ", at its cost; other charges by arrival; tax and invoiced: the invoices and credit "
                                    "notes issued; payments by the day received; outstanding: what the bookings arriving "
                                    "in the month still owed at the period's end.")
                   + QLatin1Char(' ')
                   + QCoreApplication::translate("Reports", "Cancelled bookings and no-shows count no nights; their fees count "
                                                            "in the month they were to arrive.");
}

void countries(Database &db, const ReportRequest &rq, ReportTable &t)
{
    t.title = QCoreApplication::translate("Reports", "Guests by Country");
    const QVector<CountryRow> rows = GuestsByCountry(db, rq.first, rq.last, rq.houseCountry);
    t.headers = QStringList{QCoreApplication::translate("Reports", "Country"), QCoreApplication::translate("Reports", "Arrivals"), QCoreApplication::translate("Reports", "Guests"),
                            QCoreApplication::translate("Reports", "Nights"), QCoreApplication::translate("Reports", "Spellings grouped")};
    t.chart = ChartStyle::Bars;
    t.seriesNames = QStringList{QCoreApplication::translate("Reports", "Nights")};
    t.series.resize(1);
    qint64 arrivals = 0, nights = 0;
    double guests = 0;
    for (const CountryRow &r : rows) {
        QStringList spelled;
        if (r.spellings.size() > 1)
            for (const QString &s : r.spellings)
                spelled << QStringLiteral("\u201c%1\u201d").arg(s);
        t.cells << QStringList{r.country.isEmpty() ? QCoreApplication::translate("Reports", "(not given)") : r.country, count(r.arrivals),
                               QLocale().toString(r.guests, 'g', 12), count(r.nights), spelled.join(QStringLiteral(", "))};
        t.series[0] << double(r.nights);
        arrivals += r.arrivals;
        guests += r.guests;
        nights += r.nights;
    }
    t.cells << QStringList{QCoreApplication::translate("Reports", "Total"), count(arrivals), QLocale().toString(guests, 'g', 12), count(nights),
                           QString()};
    t.hasTotals = true;
    t.notes << QCoreApplication::translate("Reports", "Counted: the bookings with a guest (not those still being begun) arriving in the period, "
                              "by the guest's country, with their nights in it; countries written alike but for letter "
                              "case and blanks are one (the spellings listed).");
}

void taxes(Database &db, const ReportRequest &rq, ReportTable &t)
{
    t.title = QCoreApplication::translate("Reports", "Taxes");
    const TaxesReportRows rows = TaxesReport(db, rq.first, rq.last, rq.tourist);
    // A column pair for each tax and rate the invoices carry.
    QStringList rates;
    for (const SalesTaxRow &r : rows.sales) {
        const QString rate = QStringLiteral("%1 %2 %").arg(r.taxName, r.rate).simplified();
        if (!rates.contains(rate))
            rates << rate;
    }
    t.headers = QStringList{QCoreApplication::translate("Reports", "Month")};
    for (const QString &rate : rates)
        t.headers << money(QCoreApplication::translate("Reports", "Taxable at %1").arg(rate), rq.currency)
                  << money(QStringLiteral("%1").arg(rate), rq.currency);
    const bool tourist = rq.tourist.setUp();
    if (tourist)
        t.headers << QCoreApplication::translate("Reports", "Tourist tax nights") << money(QCoreApplication::translate("Reports", "Tourist tax"), rq.currency);
    t.chart = ChartStyle::StackedBars;
    t.chartUnit = rq.currency;
    t.seriesNames = rates;
    if (tourist)
        t.seriesNames << QCoreApplication::translate("Reports", "Tourist tax");
    t.series.resize(t.seriesNames.size());
    const QVector<std::pair<QDate, QDate>> months = ReportStretches(rq.first, rq.last, ReportGrouping::Month);
    QVector<qint64> net(rates.size(), 0), tax(rates.size(), 0);
    qint64 nights = 0, touristCents = 0;
    for (int m = 0; m < months.size(); ++m) {
        const QDate monthStart(months[m].first.year(), months[m].first.month(), 1);
        QStringList line{stretchName(months[m].first, months[m].second, ReportGrouping::Month)};
        for (int i = 0; i < rates.size(); ++i) {
            qint64 n = 0, x = 0;
            for (const SalesTaxRow &r : rows.sales)
                if (r.month == monthStart && QStringLiteral("%1 %2 %").arg(r.taxName, r.rate).simplified() == rates[i]) {
                    n += r.netCents;
                    x += r.taxCents;
                }
            line << cents(n) << cents(x);
            t.series[i] << double(x) / 100.0;
            net[i] += n;
            tax[i] += x;
        }
        if (tourist) {
            const TouristTaxRow &r = rows.tourist.at(m);
            line << count(r.personNights) << cents(r.cents);
            t.series[rates.size()] << double(r.cents) / 100.0;
            nights += r.personNights;
            touristCents += r.cents;
        }
        t.cells << line;
    }
    QStringList line{QCoreApplication::translate("Reports", "Total")};
    for (int i = 0; i < rates.size(); ++i)
        line << cents(net[i]) << cents(tax[i]);
    if (tourist)
        line << count(nights) << cents(touristCents);
    t.cells << line;
    t.hasTotals = true;
    t.notes << QCoreApplication::translate("Reports", "Sales tax: as the invoices and credit notes issued in the month show it, by rate.");
    if (tourist) {
        QString rule = QCoreApplication::translate("Reports", "Tourist tax: %1 per guest and night").arg(cents(rq.tourist.cents));
        if (rq.tourist.freeUnderAge > 0)
            rule += QCoreApplication::translate("Reports", "; the bookings' children (under %1) free").arg(rq.tourist.freeUnderAge);
        if (rq.tourist.capNights > 0)
            rule += QCoreApplication::translate("Reports", "; at most the first %1 nights of a stay").arg(rq.tourist.capNights);
        t.notes << rule + QStringLiteral(". ") + QCoreApplication::translate("Reports", kNightsCounted) + QLatin1Char('.');
    } else {
        t.notes << QCoreApplication::translate("Reports", "No tourist tax is set up (Configure > Regional Settings).");
    }
}


void cancellations(Database &db, const ReportRequest &rq, ReportTable &t)
{
    t.title = QCoreApplication::translate("Reports", "Cancellations and No-shows");
    const CancellationsRows rows = CancellationsReport(db, rq.first, rq.last);
    t.headers = QStringList{QCoreApplication::translate("Reports", "Month or reason"),
                            QCoreApplication::translate("Reports", "Cancelled"), QCoreApplication::translate("Reports", "No-shows"),
                            QCoreApplication::translate("Reports", "Room-nights lost"),
                            money(QCoreApplication::translate("Reports", "Room revenue lost"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Fees"), rq.currency)};
    t.chart = ChartStyle::StackedBars;
    t.seriesNames = QStringList{QCoreApplication::translate("Reports", "Cancelled"), QCoreApplication::translate("Reports", "No-shows")};
    t.series.resize(2);
    const auto line = [&](const QString &name, const LostRow &r) {
        t.cells << QStringList{name, count(r.cancelled), count(r.noShows), count(r.nights), amount(r.revenueLost), cents(r.feeCents)};
    };
    LostRow total;
    for (const LostRow &r : rows.months) {
        line(stretchName(r.first, r.last, ReportGrouping::Month), r);
        t.series[0] << double(r.cancelled);
        t.series[1] << double(r.noShows);
        total.cancelled += r.cancelled;
        total.noShows += r.noShows;
        total.nights += r.nights;
        total.revenueLost += r.revenueLost;
        total.feeCents += r.feeCents;
    }
    for (auto it = rows.reasons.cbegin(); it != rows.reasons.cend(); ++it) {
        const QString reason = ReasonLabel(ReasonFromCode(it.key()));
        line(QCoreApplication::translate("Reports", "Reason: %1").arg(reason.isEmpty() ? QCoreApplication::translate("Reports", "none given") : reason),
             *it);
    }
    line(QCoreApplication::translate("Reports", "Total"), total);
    t.hasTotals = true;
    t.notes << QCoreApplication::translate("Reports", "Each booking cancelled or never arrived counts in the month its stay was "
                                                      "to begin, and by its reason; the room-nights it released at its cost "
                                                      "per night; its fee as charged.");
}

void categories(Database &db, const ReportRequest &rq, ReportTable &t)
{
    t.title = QCoreApplication::translate("Reports", "Room Categories");
    const QVector<CategoryRow> rows = CategoryReport(db, rq.first, rq.last);
    t.headers = QStringList{QCoreApplication::translate("Reports", "Category"), QCoreApplication::translate("Reports", "Rooms"),
                            QCoreApplication::translate("Reports", "Rooms available"),
                            QCoreApplication::translate("Reports", "Room-nights sold"),
                            QCoreApplication::translate("Reports", "Occupancy %"),
                            money(QCoreApplication::translate("Reports", "Average rate"), rq.currency),
                            money(QCoreApplication::translate("Reports", "Revenue"), rq.currency)};
    t.chart = ChartStyle::Bars;
    t.chartUnit = QStringLiteral("%");
    t.seriesNames = QStringList{QCoreApplication::translate("Reports", "Occupancy %")};
    t.series.resize(1);
    CategoryRow total{QCoreApplication::translate("Reports", "Total")};
    const auto line = [&t](const CategoryRow &r) {
        t.cells << QStringList{r.category,         count(r.rooms),           count(r.roomsAvailable), count(r.roomNightsSold),
                               percent(r.occupancy()), amount(r.averageRate()), amount(r.revenueCents / 100.0)};
    };
    for (const CategoryRow &r : rows) {
        line(r);
        t.series[0] << r.occupancy();
        total.rooms += r.rooms;
        total.roomsAvailable += r.roomsAvailable;
        total.roomNightsSold += r.roomNightsSold;
        total.revenueCents += r.revenueCents;
    }
    line(total);
    t.hasTotals = true;
    t.notes << QCoreApplication::translate("Reports", kNightsCounted).section(QLatin1Char(','), 0, 0)
                   + QCoreApplication::translate("Reports", "; each room in its category now; a room-night at its room's "
                                                            "price spread over its nights (or its booking's cost per night).");
}

}  // namespace

ReportTable MakeReport(Database &db, const ReportRequest &request)
{
    ReportTable t;
    t.period = span(request.first, request.last);
    switch (request.kind) {
    case ReportKind::Occupancy:
        occupancy(db, request, t);
        break;
    case ReportKind::Revenue:
        revenue(db, request, t);
        break;
    case ReportKind::GuestsByCountry:
        countries(db, request, t);
        break;
    case ReportKind::Taxes:
        taxes(db, request, t);
        break;
    case ReportKind::Cancellations:
        cancellations(db, request, t);
        break;
    case ReportKind::Categories:
        categories(db, request, t);
        break;
    }
    return t;
}

QString ReportText(const ReportTable &table)
{
    QStringList lines{table.title + QLatin1Char(' ') + table.period, table.headers.join(QLatin1Char('\t'))};
    for (const QStringList &row : table.cells)
        lines << row.join(QLatin1Char('\t'));
    return lines.join(QLatin1Char('\n'));
}

void WriteReportCsv(const ReportTable &table, QIODevice &out)
{
    WriteCsvLine(out, {table.title, table.period});
    WriteCsvLine(out, table.headers);
    for (const QStringList &row : table.cells)
        WriteCsvLine(out, row);
    for (const QString &note : table.notes)
        WriteCsvLine(out, {note});
}

QString ReportPaper(const ReportTable &table, const HouseDetails &house, const QString &chartImage)
{
    QString body = QStringLiteral("<h2>%1</h2><p>%2</p>").arg(table.title.toHtmlEscaped(), table.period.toHtmlEscaped());
    if (!chartImage.isEmpty())
        body += QStringLiteral("<p><img src=\"%1\" width=\"640\" height=\"260\"></p>").arg(chartImage.toHtmlEscaped());
    body += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" style=\"border-color:#888; "
                           "font-size:8pt\"><tr>");
    for (const QString &h : table.headers)
        body += QStringLiteral("<th>%1</th>").arg(h.toHtmlEscaped());
    body += QStringLiteral("</tr>");
    for (int r = 0; r < table.cells.size(); ++r) {
        const bool totals = table.hasTotals && r == table.cells.size() - 1;
        body += QStringLiteral("<tr>");
        for (int c = 0; c < table.cells[r].size(); ++c) {
            QString cell = table.cells[r][c].toHtmlEscaped();
            if (totals)
                cell = QStringLiteral("<b>%1</b>").arg(cell);
            body += c == 0 ? QStringLiteral("<td>%1</td>").arg(cell) : QStringLiteral("<td align=\"right\">%1</td>").arg(cell);
        }
        body += QStringLiteral("</tr>");
    }
    body += QStringLiteral("</table>");
    for (const QString &note : table.notes)
        body += QStringLiteral("<p style=\"font-size:8pt\">%1</p>").arg(note.toHtmlEscaped());
    return LetterheadPaper(house, body);
}

}  // namespace innkeld
