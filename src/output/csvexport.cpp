#include "csvexport.h"

#include "data/schema/guestregistration.h"

#include "data/regional/regional.h"

#include <QFileDevice>
#include <QHash>
#include <QSaveFile>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace innkeld {

namespace {

constexpr int kCustomerIdColumn = 3;  // selected, not written

// Whether a text would be taken for a formula by a spreadsheet: it begins
// with = + - @, a tab or a carriage return and is not a plain number (a
// sign, then digits and separators only).
template <typename Text>
bool looksLikeFormula(const Text &text)
{
    if (text.isEmpty())
        return false;
    const auto first = text.front();
    if (first != '=' && first != '+' && first != '-' && first != '@' && first != '\t' && first != '\r')
        return false;
    if (first == '=' || first == '@' || first == '\t' || first == '\r' || text.size() == 1)
        return true;
    bool digit = false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const auto c = text.at(i);
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '.' && c != ',' && c != ' ' && c != '\'')
            return true;
    }
    return !digit;
}

void appendQuoted(QString &line, const QString &text)
{
    line += QLatin1Char('"');
    if (text.contains(QLatin1Char('"')))
        line += QString(text).replace(QLatin1String("\""), QLatin1String("\"\""));
    else
        line += text;
    line += QLatin1Char('"');
}

// Appends UTF-8 text in double quotes, a double quote inside doubled.
void appendQuoted(QByteArray &line, QByteArrayView text)
{
    line += '"';
    for (qsizetype from = 0;;) {
        const qsizetype quote = text.indexOf('"', from);
        if (quote < 0) {
            line += text.sliced(from);
            break;
        }
        line += text.sliced(from, quote + 1 - from);
        line += '"';
        from = quote + 1;
    }
    line += '"';
}

// The stored form "yyyy-MM-dd HH:mm:ss" read from its bytes; false for any
// other text.
bool readStored(QByteArrayView t, QDate *date, int *second)
{
    if (t.size() != 19 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' || t[16] != ':')
        return false;
    const auto number = [&](int from, int length, int *value) {
        *value = 0;
        for (int i = from; i < from + length; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return false;
            *value = *value * 10 + (t[i] - '0');
        }
        return true;
    };
    int y, mo, d, h, mi, s;
    if (!number(0, 4, &y) || !number(5, 2, &mo) || !number(8, 2, &d) || !number(11, 2, &h) || !number(14, 2, &mi)
        || !number(17, 2, &s) || h > 23 || mi > 59 || s > 59)
        return false;
    *date = QDate(y, mo, d);
    *second = h * 3600 + mi * 60 + s;
    return date->isValid();
}

// The regional texts an export writes over and over (days, times of day,
// amounts), each made once by the program's own formatting and kept as
// UTF-8.
class FieldTexts
{
public:
    // A date and time is the day's text and, unless at midnight, the time
    // of day's after a blank: each kept once.
    QByteArrayView date(const QDate &day, int second)
    {
        auto it = m_days.constFind(day.toJulianDay());
        if (it == m_days.constEnd()) {
            if (m_days.size() > 100000)
                m_days.clear();
            it = m_days.insert(day.toJulianDay(), RegionalShortDate(day).toUtf8());
        }
        if (second == 0)
            return *it;
        auto time = m_times.constFind(second);
        if (time == m_times.constEnd()) {
            const QString whole = RegionalDateTimeText(WallClock(day, QTime(0, 0).addSecs(second)));
            time = m_times.insert(second, whole.mid(RegionalShortDate(day).size()).toUtf8());
        }
        m_dateTime = *it;
        m_dateTime += *time;
        return m_dateTime;
    }
    QByteArrayView number(double value)
    {
        auto it = m_numbers.constFind(value);
        if (it == m_numbers.constEnd()) {
            if (m_numbers.size() > 100000)
                m_numbers.clear();
            it = m_numbers.insert(value, NumberText(value).toUtf8());
        }
        return *it;
    }

private:
    QHash<qint64, QByteArray> m_days;
    QHash<int, QByteArray> m_times;  // " " and the time of day
    QByteArray m_dateTime;
    QHash<double, QByteArray> m_numbers;
};

// Appends a field's text, in double quotes, as the program shows the value
// anywhere else (dates in the regional short date with the time when it is
// not midnight, numbers in their shortest regional form), read straight
// from the engine.
void appendField(QByteArray &line, const RowReader &row, int column, FieldTexts &texts)
{
    const RowReader::Type type = row.type(column);
    if (type == RowReader::Type::Null) {
        line += "\"\"";
        return;
    }
    switch (row.kind(column)) {
    case ColumnKind::Date:
        if (type == RowReader::Type::Text) {
            QDate day;
            int second = 0;
            if (readStored(row.text(column), &day, &second))
                return appendQuoted(line, texts.date(day, second));
        }
        break;
    case ColumnKind::Money:
    case ColumnKind::Number:
        if (type == RowReader::Type::Integer)
            return appendQuoted(line, texts.number(double(row.integer(column))));
        if (type == RowReader::Type::Real)
            return appendQuoted(line, texts.number(row.real(column)));
        break;
    case ColumnKind::Integer:
        if (type == RowReader::Type::Real)
            return appendQuoted(line, QByteArray::number(qint64(row.real(column))));
        break;
    case ColumnKind::Text:
        break;
    }
    // A text that a spreadsheet would run is written after an apostrophe.
    if (looksLikeFormula(row.text(column)))
        return appendQuoted(line, QByteArray("'") + row.text(column).toByteArray());
    appendQuoted(line, row.text(column));
}

// The system's own text of a failed write ("No space left on device"),
// where the device would say only "Unknown error".
QString writeError(QIODevice &out, int systemError)
{
    const QString text = out.errorString();
    if (systemError != 0 && (text.isEmpty() || text == QLatin1String("Unknown error")))
        return QString::fromLocal8Bit(std::strerror(systemError));
    return text;
}

// Each slice goes to the disk as it is written, so that a full disk is
// told where it happens, with the system's text.
void writeOrThrow(QIODevice &out, const QByteArray &bytes)
{
    errno = 0;
    bool ok = out.write(bytes) == bytes.size();
    if (ok)
        if (auto *file = qobject_cast<QFileDevice *>(&out))
            ok = file->flush();
    if (!ok)
        throw std::runtime_error(writeError(out, errno).toStdString());
}

}  // namespace

// The bookings that hold their rooms: a cancelled one, or a guest who
// never arrived, is not a reservation.
QString ReservationsExportSql()
{
    // The card number masked: a spreadsheet is no place for it whole.
    return QStringLiteral(
        "SELECT FromDate, ToDate, BookedBy, CustomerID, Notes, NoAdults, NoKids, PaymentMethod, OtherCharges, "
        "SalesTax, TotalPayable, AmountPayed, %1 AS CreditCardNo, CreditCardExpiry, CreditCardType, CostPerNight, "
        "FirstName, LastName, Address1, Address2, City, State, PostCode, Country, Phone, Email, SubmittedDate, "
        "BusinessName FROM Booking, Customer WHERE customer.id=booking.customerid AND booking.status NOT IN "
        "('cancelled', 'noshow');")
        .arg(MaskedCardSql(QStringLiteral("CreditCardNo")));
}

QString ReservationsCsvHeader()
{
    return QStringLiteral("FromDate, ToDate, BookedBy, Notes, NoAdults, NoKids, PaymentMethod, OtherCharges, "
                          "SalesTax, TotalPayable, AmountPayed, CreditCardNo, CreditCardExpiry, CreditCardType, "
                          "CostPerNight,")
        + QStringLiteral("FirstName, LastName, Address1, Address2, City, State, PostCode, Country, Phone, Email, "
                         "SubmittedDate, BusinessName");
}

QString q(const QVariant &value)
{
    QString out;
    appendQuoted(out, Recordset::TextOf(value));
    return out;
}

QString CsvField(const QString &text)
{
    // A negative amount as a program reads it: -537.50, not (537.50).
    if (text.size() > 2 && text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')'))) {
        bool number = false;
        ParseRegionalNumber(text.mid(1, text.size() - 2), &number);
        if (number)
            return QLatin1Char('-') + text.mid(1, text.size() - 2);
    }
    return looksLikeFormula(text) ? QLatin1Char('\'') + text : text;
}

void WriteCsvLine(QIODevice &out, const QStringList &fields)
{
    QStringList quoted;
    for (const QString &f : fields)
        quoted << q(CsvField(f));
    const QByteArray line = (quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
    if (out.write(line) != line.size())
        throw std::runtime_error(out.errorString().toStdString());
}

bool WriteReservationsCsv(Database &db, QIODevice &out, const ExportProgress &progress)
{
    qint64 total = 0;
    if (progress)
        total = db.execute(QStringLiteral("SELECT count(*) FROM Booking, Customer WHERE customer.id=booking.customerid AND "
                                          "booking.status NOT IN ('cancelled', 'noshow')"))
                    .value(0)
                    .toLongLong();
    // The lines are made in UTF-8, as the database holds its texts; in a
    // system whose encoding is another, each slice is turned into it.
    QStringEncoder encoder(QStringConverter::System);
    const bool utf8 = QStringConverter::nameForEncoding(QStringConverter::Utf8)
        == QByteArrayView(encoder.name());
    const auto flush = [&](QByteArray &slice) {
        writeOrThrow(out, utf8 ? slice : QByteArray(encoder.encode(QString::fromUtf8(slice))));
        slice.clear();
    };
    // The rows go to the file as they come, a slice at a time: the memory
    // of an export does not grow with the number of bookings.
    constexpr qsizetype kSlice = 1 << 20;
    QByteArray slice;
    slice.reserve(kSlice + 65536);
    slice += ReservationsCsvHeader().toUtf8() + "\r\n";
    FieldTexts texts;
    qint64 written = 0;
    RowReader row = db.read(ReservationsExportSql());
    const int columns = row.columnCount();
    while (row.next()) {
        bool first = true;
        for (int column = 0; column < columns; ++column) {
            if (column == kCustomerIdColumn)
                continue;
            if (!first)
                slice += ',';
            first = false;
            appendField(slice, row, column, texts);
        }
        slice += "\r\n";
        ++written;
        if (slice.size() >= kSlice)
            flush(slice);
        if (progress && written % 2000 == 0 && !progress(written, total))
            return false;
    }
    flush(slice);
    if (progress && !progress(written, total))
        return false;
    return true;
}

bool ExportReservationsCsv(Database &db, const QString &path, const ExportProgress &progress)
{
    RequireOtherThanDatabase(db.path(), path);
    QSaveFile file(path);
    // Full card numbers: no more readable than the database, from the first byte.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(DataFilePermissions(db)))
        throw std::runtime_error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    try {
        if (!WriteReservationsCsv(db, file, progress)) {
            file.cancelWriting();
            return false;
        }
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    errno = 0;
    if (!file.commit())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(path, writeError(file, errno)).toStdString());
    return true;
}

}  // namespace innkeld
