// Finding a booking by what the guest tells on the telephone: the start of
// any word of a name, the business, the e-mail or the city, the phone's
// digits, the booking number, or a day of the stay.
#pragma once

#include "booking/bookingstatus.h"
#include "data/sql/database.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace innkeld {

// The typed text read as a search. Words are separated by blanks; all must
// match. A word the region reads as a short date is a day the stay touches;
// blank-separated words of digits and phone signs (+ - ( ) / .) together are
// the digits of a phone (or a booking number, when they are one word of
// digits); every other word must begin a word of the guest's.
struct FindSearch
{
    QStringList words;       // each to begin a word of the guest's
    QStringList phones;      // digits, each to begin the phone (or a word)
    QVector<QDate> days;     // days the stay touches
    QStringList numbers;     // booking numbers, each among the phones too
    bool cut = false;        // the text went beyond what is searched
    bool isEmpty() const { return words.isEmpty() && phones.isEmpty() && days.isEmpty(); }
};
// Only the first kFindCharacters characters and, of them, the first
// kFindWords words are read (a paste of any size costs what they cost).
constexpr int kFindWords = 16;
constexpr int kFindCharacters = 200;
FindSearch ParseFindText(const QString &text);
// What the find panel says of a text that went beyond them.
QString FindCutText();

struct FoundBooking
{
    RecordId bookingId = 0;
    QString guest;       // as the day lists name the guest, with the business
    QDateTime arrival;
    QDateTime departure;
    QString rooms;       // the room names, comma separated
    QString phone;
    BookingStatus status = BookingStatus::Booked;
};

struct FindResult
{
    QVector<FoundBooking> bookings;
    bool more = false;  // more were found than are listed
    bool cut = false;   // only the beginning of the text was searched
    bool searched = false;  // the text held something to search for
};

// At most this many bookings are listed.
constexpr int kFindListed = 200;

// The bookings (with a guest) the typed text finds: a booking whose number
// was typed first, then the most recent arrival first. Throws DbError.
// `only`, when given, narrows them to the bookings of that status.
FindResult FindBookings(Database &db, const QString &text, int limit = kFindListed,
                        std::optional<BookingStatus> only = std::nullopt);

}  // namespace innkeld
