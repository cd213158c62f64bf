// The export of all reservations with their customers to a comma-separated
// file: the header line, then one line per booking that has a customer, 27
// fields each, every field in double quotes (a quote inside doubled, as
// RFC 4180 writes it), CR LF after every line, in the system's encoding.
#pragma once

#include "data/sql/database.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QIODevice;

namespace innkeld {

// The export query, with CustomerID selected but not written.
QString ReservationsExportSql();

// The header line, without its CR LF.
QString ReservationsCsvHeader();

// The quoted text of a value: a double quote, the value's text with every
// double quote doubled, a double quote. Commas and line breaks stay as they
// are; a null gives two double quotes.
QString q(const QVariant &value);

// A field's text as a CSV file holds it: a text that begins with = + - @, a
// tab or a carriage return (and is not a plain number) after an apostrophe,
// so that no spreadsheet runs it; a negative amount in parentheses with a
// minus sign instead.
QString CsvField(const QString &text);

// Writes one line of fields, each made a CsvField and quoted as q() quotes it, a comma between
// them and CR LF after, in UTF-8. Throws std::runtime_error with the
// device's text when writing fails.
void WriteCsvLine(QIODevice &out, const QStringList &fields);

// Told of the rows written and the rows to write now and then; returning
// false stops the export.
using ExportProgress = std::function<bool(qint64 written, qint64 total)>;

// Writes the whole export to `out`, row by row as the database gives them.
// Returns false when `progress` stopped it. Throws DbError when the query
// fails and std::runtime_error with the system's text when writing fails.
bool WriteReservationsCsv(Database &db, QIODevice &out, const ExportProgress &progress = {});

// The export into the file at `path`, which appears complete or not at all:
// it is written beside the target and put in its place only when it is
// whole, so a failure or a stop leaves any old file of that name untouched.
// Returns false when stopped; throws as WriteReservationsCsv does.
bool ExportReservationsCsv(Database &db, const QString &path, const ExportProgress &progress = {});

}  // namespace innkeld
