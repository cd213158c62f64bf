// A report as the operator sees it, prints and exports it: its heading and
// period, a table of text in the region's formats (a totals row last), the
// figures its chart draws, and the lines under the table that say what it
// counted. The window, the paper and the CSV file all show this one table.
#pragma once

#include "reportsquery.h"

#include <QDate>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

namespace innkeld {

struct HouseDetails;

enum class ReportKind { Occupancy, Revenue, GuestsByCountry, Taxes, Cancellations, Categories };
enum class ChartStyle { Line, Bars, StackedBars };

struct ReportRequest
{
    ReportKind kind = ReportKind::Occupancy;
    QDate first, last;
    ReportGrouping grouping = ReportGrouping::Day;  // the occupancy's
    QString currency;                               // the currency's symbol
    QStringList houseCountry;                       // the house's country by its names
    TouristTax tourist;
};

struct ReportTable
{
    QString title;    // "Occupancy"
    QString period;   // its first and last day
    QStringList headers;
    QVector<QStringList> cells;  // a row's texts; the last row is the totals when hasTotals
    bool hasTotals = false;
    ChartStyle chart = ChartStyle::Bars;
    QString chartUnit;          // what the chart's figures are ("%", the currency)
    QStringList seriesNames;    // what each series of the chart is
    QVector<QVector<double>> series;  // series[s][row], the totals left out
    QStringList notes;          // what the report counted, line by line
};

// The report asked for, worked out by the engine. Throws DbError.
ReportTable MakeReport(Database &db, const ReportRequest &request);

// The table as text, a line per row and a tab between cells, the headers
// first: what a screen reader reads of the chart.
QString ReportText(const ReportTable &table);

// The table as comma-separated values (every field quoted, CR LF after
// each line, UTF-8), the heading and period first and the notes after.
// Throws std::runtime_error with the system's text when writing fails.
void WriteReportCsv(const ReportTable &table, QIODevice &out);

// The report's paper: the house's letterhead, the heading and period, the
// chart (the image `chartImage`, given by whoever lays it out; none when
// empty), the table and the notes.
QString ReportPaper(const ReportTable &table, const HouseDetails &house, const QString &chartImage);

}  // namespace innkeld

Q_DECLARE_METATYPE(innkeld::ReportTable)
