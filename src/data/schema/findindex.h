// The words index of the bookings' guests, by which a booking is found as
// the operator types: for each booking, the words of its guest's first,
// last and business names, e-mail and city and the digits of the phone,
// folded (case and accents ignored), in the order of the most recent
// arrival. SQLite keeps it in an FTS5 table, PostgreSQL in a tsvector under
// a GIN index; triggers keep either in step with every write of a booking or
// a customer, by any road. Both split and fold words alike.
#pragma once

#include "schemapart.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace innkeld {

class Database;

// The index's table, functions and triggers in each engine's terms.
SchemaPart FindIndexPart();

// A search of the index: typed words, each of which must begin a word of the
// guest's (a word that is several words, "o'h", is a phrase whose last word
// is a beginning: it finds O'Hara). An empty list matches nothing.
struct FindWords
{
    QStringList words;
    QStringList phones;         // digits: the start of the phone, or of a word
    bool lastNameOnly = false;  // only the last name's words
};

// The bookings whose guest the words find, the most recent arrival first,
// at most `limit`. Throws DbError.
QVector<qint64> FindBookingKeys(Database &db, const FindWords &words, int limit);
// The condition that the guest of the booking `bookingAlias` (a booking
// row's alias) is found by the words.
QString FindMatchesSql(Engine engine, const FindWords &words, const QString &bookingAlias);
// SQLite: the places in the index (FindOrderSql) from `first` to `last`
// whose guest the words find; one column.
QString FindPlacesSql(const FindWords &words, qint64 first, qint64 last);
// The place in the index (the most recent arrival last) of a booking row.
QString FindOrderSql(Engine engine, const QString &bookingAlias);

// The signs a phone number is written with besides its digits and blanks;
// the index looks at its digits without them.
inline constexpr char kPhoneSigns[] = "-()/.+";

// Whether a typed word has a letter or a digit: one without begins no word.
bool IsFindWord(const QString &word);

// The longest word a search looks at; longer typed words are cut there.
constexpr int kFindLongestWord = 200;

}  // namespace innkeld
