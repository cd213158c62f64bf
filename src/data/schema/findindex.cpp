#include "findindex.h"

#include "bookingtables.h"

#include <QCoreApplication>
#include <QDate>

#include <algorithm>
#include <iterator>

namespace innkeld {

namespace {

#include "findwords.inc"

// The guest's fields a search looks at, in the index's order; the phone is
// looked at by its digits.
const char *const kFields[] = {"FirstName", "LastName", "BusinessName", "Email", "City", "Phone"};
constexpr int kLastNameField = 1;
constexpr int kPhoneDigits = 30;  // the digits of a phone looked at
// The most recent bookings a server reads in order for words found often;
// when they hold fewer than a list of matches, the index finds the rest.
constexpr int kRecentlyRead = 5000;
// The most read on in order after them, for a word found there often.
constexpr qint64 kRecentlyReadOn = 40000;
// The months before those that the index is asked for at once.
constexpr int kMonthsMarked = 15;

// The phone's digits (the usual separators taken out; anything else left
// separates words) in words of three from the start, so that the beginning
// of a number is found by whole words and not by every number there is.
QString phoneWords(Engine engine, const QString &phone)
{
    QString digits = QStringLiteral("coalesce(%1, '')").arg(phone);
    for (const char sign : QByteArray(" ") + kPhoneSigns)
        digits = QStringLiteral("replace(%1, '%2', '')").arg(digits, QString(QLatin1Char(sign)));
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("regexp_replace(left(%1, %2), '(.{3})', '\\1 ', 'g')").arg(digits).arg(kPhoneDigits);
    QStringList pieces;
    for (int i = 1; i <= kPhoneDigits; i += 3)
        pieces << QStringLiteral("substr(d.digits, %1, 3)").arg(i);
    return QStringLiteral("(SELECT %1 FROM (SELECT %2 AS digits) AS d)")
        .arg(pieces.join(QStringLiteral(" || ' ' || ")), digits);
}

// A booking's place in the index: its arrival day, then its key; a booking
// without an arrival comes first.
QString orderKey(Engine engine, const QString &booking)
{
    return QStringLiteral("(coalesce(%1, 0) * 4294967296 + %2.ID)")
        .arg(DayNumberSql(engine, booking + QStringLiteral(".FromDate")), booking);
}

// ------------------------------------------------------------------ SQLite

// The index keeps the words alone, not the text they came from (nor each
// field's length, which only ranking reads): a chain's twenty years fill it
// in half the time. A booking is found by the index's key, which holds it.
QString sqliteColumns()
{
    return QStringLiteral("rowid, firstname, lastname, businessname, email, city, phone");
}

// A guest's fields as the index takes them, of the customer `customer` (c,
// OLD). Filling the whole index, the phone's words are made by the engine's
// own function, which gives the same words as the statements a trigger (and
// any tool writing to the file) runs, at a tenth of their cost.
QString guestFields(const QString &customer, bool filling = false)
{
    QStringList fields;
    for (const char *field : kFields)
        if (qstrcmp(field, "Phone") != 0)
            fields << customer + QLatin1Char('.') + QLatin1String(field);
    const QString phone = customer + QStringLiteral(".Phone");
    fields << (filling ? QStringLiteral("innkeld_groups(%1, '%2', %3, 3)")
                             .arg(phone, SqlText(QStringLiteral(" ") + QLatin1String(kPhoneSigns)))
                             .arg(kPhoneDigits)
                       : phoneWords(Engine::SQLite, phone));
    return fields.join(QStringLiteral(", "));
}

// The index's row of each booking `b` (joined to its customer `c`, if any).
QString sqliteRow(const QString &booking, bool filling = false)
{
    return orderKey(Engine::SQLite, booking) + QStringLiteral(", ") + guestFields(QStringLiteral("c"), filling);
}

QString sqliteTable(const QString &schema)
{
    return QStringLiteral("CREATE VIRTUAL TABLE %1booking_find USING fts5(firstname, lastname, businessname, email, city, "
                          "phone, tokenize = 'unicode61 remove_diacritics 2', prefix = '1 2 3', content = '', "
                          "columnsize = 0)")
        .arg(schema);
}

// The booking a row of the index is, from its key.
QString bookingOfKey()
{
    return QStringLiteral("rowid & 4294967295");
}

// The index's rows are given in their order, and the words pending kept in
// memory up to 256 MB while it is filled: the engine then writes each word's
// list in few pieces and merges little (a chain's twenty years: 13 s, with
// 64 MB 17 s). A row out of order makes it write out what is pending:
// bookings numbered as they were made, not as they arrive, took eight
// times as long.
QStringList sqliteFill(const QString &schema)
{
    const QString pending = QStringLiteral("INSERT INTO %1booking_find (booking_find, rank) VALUES ('hashsize', %2)");
    return {pending.arg(schema).arg(256 << 20),
            QStringLiteral("INSERT INTO %1booking_find (%2) SELECT %3 FROM booking AS b LEFT JOIN customer AS c "
                           "ON c.ID = b.CustomerID ORDER BY 1")
                .arg(schema, sqliteColumns(), sqliteRow(QStringLiteral("b"), true)),
            pending.arg(schema).arg(1 << 20)};
}

// Words are taken out of the index by giving it the row's fields as they
// were put in (it keeps no copy to read them from): the key `key` and the
// fields of `customer`, for the rows `from`.
QString forget(const QString &key, const QString &customer, const QString &from)
{
    return QStringLiteral("INSERT INTO booking_find (booking_find, %1) SELECT 'delete', %2, %3 FROM %4; ")
        .arg(sqliteColumns(), key, guestFields(customer), from);
}

// The rows of the bookings of the customers `ids` (OLD.ID, NEW.ID) put in
// as they are now.
QString remember(const QString &ids)
{
    return QStringLiteral("INSERT INTO booking_find (%1) SELECT %2 FROM booking AS b LEFT JOIN customer AS c "
                          "ON c.ID = b.CustomerID WHERE b.CustomerID IN (%3); ")
        .arg(sqliteColumns(), sqliteRow(QStringLiteral("b")), ids);
}

QStringList sqliteTriggers()
{
    const QString insertNew = QStringLiteral("INSERT INTO booking_find (%1) SELECT %2 FROM (SELECT 1) LEFT JOIN customer AS c "
                                             "ON c.ID = NEW.CustomerID; ")
                                  .arg(sqliteColumns(), sqliteRow(QStringLiteral("NEW")));
    // (The guest's row is as it was: a booking's write changes none.)
    const QString forgetOld = forget(orderKey(Engine::SQLite, QStringLiteral("OLD")), QStringLiteral("c"),
                                     QStringLiteral("(SELECT 1) LEFT JOIN customer AS c ON c.ID = OLD.CustomerID"));
    // A guest's bookings, with the fields the guest had. (Bookings of a
    // guest who was not there hold no words: nothing to take out.)
    const QString forgetGuest = forget(orderKey(Engine::SQLite, QStringLiteral("b")), QStringLiteral("OLD"),
                                       QStringLiteral("booking AS b WHERE b.CustomerID = OLD.ID"));
    const QString searched = QStringLiteral("ID, FirstName, LastName, BusinessName, Email, City, Phone");
    return {
        QStringLiteral("CREATE TRIGGER booking_find_insert AFTER INSERT ON booking BEGIN ") + insertNew
            + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER booking_find_update AFTER UPDATE OF ID, FromDate, CustomerID ON booking BEGIN ")
            + forgetOld + insertNew + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER booking_find_delete AFTER DELETE ON booking BEGIN ") + forgetOld
            + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER customer_find_insert AFTER INSERT ON customer BEGIN ")
            + remember(QStringLiteral("NEW.ID")) + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER customer_find_update AFTER UPDATE OF %1 ON customer BEGIN ").arg(searched)
            + forgetGuest + remember(QStringLiteral("OLD.ID, NEW.ID")) + QStringLiteral("END"),
        QStringLiteral("CREATE TRIGGER customer_find_delete AFTER DELETE ON customer BEGIN ") + forgetGuest
            + remember(QStringLiteral("OLD.ID")) + QStringLiteral("END"),
    };
}

// An FTS5 string: the text between double quotes, each doubled.
QString ftsString(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Typed phone digits as the index holds a phone: words of three.
QString phoneQueryWords(const QString &digits)
{
    QStringList pieces;
    for (int i = 0; i < digits.size() && i < kPhoneDigits; i += 3)
        pieces << digits.mid(i, 3);
    return pieces.join(QLatin1Char(' '));
}

// The FTS5 query of the words: each a phrase whose last word is a
// beginning; typed digits begin the phone or a word of another field.
QString ftsQuery(const FindWords &words)
{
    QStringList phrases;
    for (const QString &word : words.words)
        phrases << ftsString(word.left(kFindLongestWord)) + QLatin1Char('*');
    for (const QString &digits : words.phones)
        phrases << QStringLiteral("(phone : ^ %1* OR {firstname lastname businessname email city} : %2*)")
                       .arg(ftsString(phoneQueryWords(digits)), ftsString(digits.left(kFindLongestWord)));
    const QString all = phrases.join(QLatin1String(" AND "));
    return words.lastNameOnly ? QStringLiteral("lastname : (%1)").arg(all) : all;
}

// ------------------------------------------------------------------ PostgreSQL

// The month of a date (years * 12 + months from year 0) as a mark among a
// booking's words on a server; none for no date.
QString monthMark(const QString &date)
{
    // (An array holding a null would be refused: no date, no mark.)
    return QStringLiteral("CASE WHEN %1 IS NULL THEN ''::tsvector ELSE array_to_tsvector(ARRAY['~' || "
                          "(extract(year FROM %1)::int * 12 + extract(month FROM %1)::int - 1)]) END")
        .arg(date);
}

QString monthMarkOf(const QDate &day)
{
    return QStringLiteral("~%1").arg(day.year() * 12 + day.month() - 1);
}

QDate dayOfPlace(qint64 place)
{
    return QDate::fromJulianDay(place >> 32);
}

qint64 placeOfDay(const QDate &day)
{
    return day.toJulianDay() << 32;
}

QStringList serverStatements(bool fill)
{
    // Words: the text folded as SQLite's tokenizer folds it (ASCII by the
    // "C" collation's lower(), Latin letters by a short table, the rest by a
    // long one), then split where it splits; each cut at the longest word a
    // search looks at.
    const QString ascii = QStringLiteral("$1 !~ '[^\\u0001-\\u007f]'");
    const QString lowered = QStringLiteral("lower($1 COLLATE \"C\")");
    const QString nearFolded = QStringLiteral("translate(%1, '%2', '%3')")
                                   .arg(lowered, QString::fromUtf8(kFindFoldNearFrom), QString::fromUtf8(kFindFoldNearTo));
    // (In PL/pgSQL, whose plans last the session: a trigger's call of an SQL
    // function would plan it anew for every row.)
    const QString words =
        QStringLiteral("CREATE FUNCTION innkeld_find_words(text) RETURNS text[] LANGUAGE plpgsql IMMUTABLE STRICT "
                       "PARALLEL SAFE AS $$ DECLARE folded text; pattern text; BEGIN "
                       "IF %2 THEN folded := %3; pattern := '[^0-9a-z]+'; "
                       "ELSIF $1 !~ '[^\\u0001-\\u024f]' THEN folded := %4; pattern := '[%7]+'; "
                       "ELSE folded := translate(%4, '%5', '%6'); pattern := '[%7]+'; END IF; "
                       "RETURN ARRAY(SELECT left(w, %1) FROM regexp_split_to_table(folded, pattern) WITH ORDINALITY "
                       "AS t(w, n) WHERE w <> '' ORDER BY n); END $$")
            .arg(QString::number(kFindLongestWord), ascii, lowered, nearFolded, QString::fromUtf8(kFindFoldFarFrom),
                 QString::fromUtf8(kFindFoldFarTo), QString::fromUtf8(kFindSeparators));
    // A guest's words with their places: a field's words from place
    // 1000 * its number on, the last name's weighted B; the phone's words of
    // three weighted A and marked with their place in the number ("p2~123",
    // which no typed word can be), so that the start of a number is words
    // the index holds, not a phrase to check in every booking.
    const QString document = QStringLiteral(
        "CREATE FUNCTION innkeld_find_document(VARIADIC fields text[]) RETURNS tsvector LANGUAGE plpgsql IMMUTABLE "
        "PARALLEL SAFE AS $$ DECLARE parts text[] := '{}'; n int; i int; w text; weight text; BEGIN "
        "FOR n IN 1 .. coalesce(array_length(fields, 1), 0) LOOP "
        "weight := CASE n WHEN %1 THEN 'B' WHEN %2 THEN 'A' ELSE '' END; i := 0; "
        "FOREACH w IN ARRAY coalesce(innkeld_find_words(fields[n]), '{}') LOOP i := i + 1; "
        "IF n = %2 THEN w := format('p%s~%s', i, w); END IF; "
        "parts := parts || format('''%s'':%s%s', w, n * 1000 + least(i, 999), weight); END LOOP; END LOOP; "
        "RETURN array_to_string(parts, ' ')::tsvector; END $$")
                                 .arg(kLastNameField + 1)
                                 .arg(int(std::size(kFields)));
    // A typed word as a phrase whose last word is a beginning; no words, no match.
    const QString phrase = QStringLiteral(
        "CREATE FUNCTION innkeld_find_phrase(word text, weight text DEFAULT '') RETURNS tsquery LANGUAGE sql "
        "IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN count(*) = 0 THEN NULL ELSE (string_agg(format('''%s''', w) "
        "|| CASE WHEN last THEN ':*' || weight WHEN weight <> '' THEN ':' || weight ELSE '' END, "
        "' <-> ' ORDER BY n))::tsquery END FROM (SELECT w, n, n = count(*) OVER () AS last "
        "FROM unnest(innkeld_find_words(word)) WITH ORDINALITY AS t(w, n)) AS t $$");
    QStringList fieldsOf;
    for (const char *field : kFields)
        fieldsOf << (qstrcmp(field, "Phone") == 0 ? phoneWords(Engine::PostgreSQL, QStringLiteral("c.Phone"))
                                                  : QStringLiteral("c.") + QLatin1String(field));
    // With the guest's words, the month of the arrival as a mark no typed
    // word can be: the index then finds a word's bookings of some months.
    const QString documentOf = QStringLiteral("innkeld_find_document(%1) || %2")
                                   .arg(fieldsOf.join(QStringLiteral(", ")), monthMark(QStringLiteral("%1.FromDate")));
    QStringList statements{
        words, document, phrase,
        QStringLiteral("CREATE TABLE booking_find (id bigint PRIMARY KEY REFERENCES booking (ID) ON DELETE CASCADE "
                       "ON UPDATE CASCADE, orderkey bigint NOT NULL, words tsvector NOT NULL)"),
        QStringLiteral("CREATE FUNCTION innkeld_find_keep() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "INSERT INTO booking_find (id, orderkey, words) SELECT NEW.ID, %1, %2 FROM (SELECT 1) AS one "
                       "LEFT JOIN customer AS c ON c.ID = NEW.CustomerID ON CONFLICT (id) DO UPDATE SET "
                       "orderkey = EXCLUDED.orderkey, words = EXCLUDED.words; RETURN NULL; END $$")
            .arg(orderKey(Engine::PostgreSQL, QStringLiteral("NEW")), documentOf.arg(QStringLiteral("NEW"))),
        QStringLiteral("CREATE FUNCTION innkeld_find_customer() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "DECLARE ids bigint[]; BEGIN "
                       "IF TG_OP = 'INSERT' THEN ids := ARRAY[NEW.ID]; ELSIF TG_OP = 'DELETE' THEN ids := ARRAY[OLD.ID]; "
                       "ELSE ids := ARRAY[OLD.ID, NEW.ID]; END IF; "
                       "UPDATE booking_find AS f SET words = %1 FROM booking AS b LEFT JOIN customer AS c "
                       "ON c.ID = b.CustomerID WHERE b.CustomerID = ANY (ids) AND f.id = b.ID; RETURN NULL; END $$")
            .arg(documentOf.arg(QStringLiteral("b"))),
    };
    if (fill)
        statements << QStringLiteral("INSERT INTO booking_find (id, orderkey, words) SELECT b.ID, %1, %2 FROM booking AS b "
                                     "LEFT JOIN customer AS c ON c.ID = b.CustomerID")
                          .arg(orderKey(Engine::PostgreSQL, QStringLiteral("b")), documentOf.arg(QStringLiteral("b")));
    // No list of pending entries: each search would read it all.
    statements << QStringLiteral("CREATE INDEX booking_find_words ON booking_find USING gin (words) WITH (fastupdate = off)")
               << QStringLiteral("CREATE INDEX booking_find_order ON booking_find (orderkey)")
               << QStringLiteral("CREATE TRIGGER booking_find_keep AFTER INSERT OR UPDATE OF ID, FromDate, CustomerID "
                                 "ON booking FOR EACH ROW EXECUTE FUNCTION innkeld_find_keep()")
               << QStringLiteral("CREATE TRIGGER customer_find AFTER INSERT OR DELETE OR UPDATE OF ID, FirstName, "
                                 "LastName, BusinessName, Email, City, Phone ON customer FOR EACH ROW "
                                 "EXECUTE FUNCTION innkeld_find_customer()");
    return statements;
}

QString serverQuery(const FindWords &words)
{
    const QString weight = words.lastNameOnly ? QStringLiteral(", 'B'") : QString();
    QStringList phrases;
    for (const QString &word : words.words)
        phrases << QStringLiteral("innkeld_find_phrase('%1'%2)").arg(SqlText(word.left(kFindLongestWord)), weight);
    for (const QString &digits : words.phones) {
        QStringList places;
        const QStringList pieces = phoneQueryWords(digits).split(QLatin1Char(' '));
        for (int i = 0; i < pieces.size(); ++i)
            places << QStringLiteral("''p%1~%2'':%3A")
                          .arg(i + 1)
                          .arg(pieces[i], i + 1 == pieces.size() ? QStringLiteral("*") : QString());
        phrases << QStringLiteral("('%1'::tsquery || innkeld_find_phrase('%2', 'BD'))")
                       .arg(places.join(QLatin1String(" & ")), SqlText(digits.left(kFindLongestWord)));
    }
    return QStringLiteral("(%1)").arg(phrases.join(QLatin1String(" && ")));
}

QStringList findIndexStatements(Engine engine, bool fill)
{
    if (engine == Engine::PostgreSQL)
        return serverStatements(fill);
    QStringList statements{sqliteTable(QString())};
    if (fill)
        statements << sqliteFill(QString());
    return statements + sqliteTriggers();
}

// The names of a file's index table and triggers.
QStringList findIndexParts()
{
    return {QStringLiteral("booking_find"),          QStringLiteral("booking_find_insert"),
            QStringLiteral("booking_find_update"),   QStringLiteral("booking_find_delete"),
            QStringLiteral("customer_find_insert"),  QStringLiteral("customer_find_update"),
            QStringLiteral("customer_find_delete")};
}

// The index in the temporary schema of a file that cannot be written:
// filled, not kept in step (nothing is written).
QStringList temporaryStatements()
{
    return QStringList{sqliteTable(QStringLiteral("temp."))} + sqliteFill(QStringLiteral("temp."));
}

}  // namespace

SchemaPart FindIndexPart()
{
    SchemaPart part;
    part.what = QCoreApplication::translate("Upgrade", "Building the search index of the guests");
    part.make = [](Engine engine) { return findIndexStatements(engine, false); };
    // A database made before the index (or with a part of it gone) gets it
    // anew, filled from the bookings stored; on a server, functions of the
    // index written by an earlier version are replaced by this version's
    // (one stored a booking without dates only on a file).
    part.lacking = [](Engine engine, const Catalogue &catalogue) {
        if (engine == Engine::SQLite) {
            // (An earlier version's index kept the text it was made from,
            // and its triggers took rows out by their key alone.)
            bool whole = catalogue.text(QStringLiteral("booking_find")) == sqliteTable(QString());
            for (const QString &name : findIndexParts())
                whole &= catalogue.has(name);
            if (whole)
                return QStringList();
            QStringList statements;
            for (const QString &name : findIndexParts())
                statements << (name == QLatin1String("booking_find") ? QStringLiteral("DROP TABLE IF EXISTS ")
                                                                     : QStringLiteral("DROP TRIGGER IF EXISTS "))
                        + name;
            return statements + findIndexStatements(engine, true);
        }
        if (!catalogue.has(QStringLiteral("booking_find_keep")) || !catalogue.has(QStringLiteral("customer_find")))
            return QStringList{QStringLiteral("DROP TABLE IF EXISTS booking_find"),
                               QStringLiteral("DROP FUNCTION IF EXISTS innkeld_find_keep, innkeld_find_customer, "
                                              "innkeld_find_phrase, innkeld_find_document, innkeld_find_words CASCADE")}
                + findIndexStatements(engine, true);
        QStringList stale;
        for (const QString &sql : findIndexStatements(engine, false))
            if (sql.startsWith(QLatin1String("CREATE FUNCTION innkeld_find_"))
                && catalogue.text(CreatedName(sql)) != sql.section(QStringLiteral("$$"), 1, 1))
                stale << QString(sql).replace(0, 15, QStringLiteral("CREATE OR REPLACE FUNCTION"));
        return stale;
    };
    part.table = QStringLiteral("booking_find");
    part.temporary = temporaryStatements;
    part.hidden = QStringList{QStringLiteral("booking_find")};
    return part;
}

QVector<qint64> FindBookingKeys(Database &db, const FindWords &words, int limit)
{
    QVector<qint64> keys;
    if (!db.onServer()) {
        // FTS5 gives its rows in the order of the index, the last first.
        for (Recordset rs = db.query(QStringLiteral("SELECT %1 FROM booking_find WHERE booking_find MATCH '%2' "
                                                    "ORDER BY rowid DESC LIMIT %3")
                                         .arg(bookingOfKey(), SqlText(ftsQuery(words)))
                                         .arg(limit));
             !rs.eof(); rs.moveNext())
            keys << rs.value(0).toLongLong();
        return keys;
    }
    // A GIN index finds the matches in no order. Words that begin many a
    // guest's word are found among the most recent bookings, read in order.
    const QString query = serverQuery(words);
    // Through the index, the words that narrow it: a word of one or two
    // letters begins so many that the index would merge them all (a paste
    // that holds one, found nowhere, took most of a second); with longer
    // words beside it, it only judges the bookings they find (the index
    // cannot serve a condition on the words joined to nothing).
    FindWords narrowing = words;
    narrowing.words.clear();
    for (const QString &word : words.words)
        if (word.size() > 2)
            narrowing.words << word;
    const bool judged = narrowing.words.size() < words.words.size()
        && (!narrowing.words.isEmpty() || !narrowing.phones.isEmpty());
    // The server folds the words into its query once, in a statement of
    // their own; the statements below take the query made (planning the
    // folding of each word again in each took 5 ms for a dozen words).
    const Recordset made = db.query(QStringLiteral("SELECT (%1)::text, (%2)::text")
                                        .arg(query, judged ? serverQuery(narrowing) : QStringLiteral("NULL")));
    if (made.isNull(0))
        return keys;  // no word that can begin one of a guest's
    const QString whole = QStringLiteral("'%1'::tsquery").arg(SqlText(made.text(0)));
    const QString narrow = made.isNull(1) ? whole : QStringLiteral("'%1'::tsquery").arg(SqlText(made.text(1)));
    const QString indexed = judged && !made.isNull(1)
        ? QStringLiteral("words @@ %1 AND (words || ''::tsvector) @@ %2").arg(narrow, whole)
        : QStringLiteral("words @@ %1").arg(whole);
    for (Recordset rs = db.query(QStringLiteral("SELECT id FROM (SELECT id, orderkey, words FROM booking_find ORDER BY "
                                                "orderkey DESC LIMIT %1) AS recent WHERE words @@ %2 ORDER BY orderkey DESC "
                                                "LIMIT %3")
                                     .arg(kRecentlyRead)
                                     .arg(whole)
                                     .arg(limit));
         !rs.eof(); rs.moveNext())
        keys << rs.value(0).toLongLong();
    if (keys.size() >= limit)
        return keys;
    const Recordset boundary = db.query(
        QStringLiteral("SELECT orderkey FROM booking_find ORDER BY orderkey DESC OFFSET %1 LIMIT 1").arg(kRecentlyRead - 1));
    if (boundary.eof())
        return keys;  // those were all the bookings
    qint64 oldest = boundary.value(0).toLongLong();
    // A word found often among the most recent: the bookings before them
    // read on in order, as many as the rate found there says fill the list
    // (reading them costs less than the index's merging of every booking of
    // so common a word; a chain's house has many a month).
    if (!keys.isEmpty()) {
        const qint64 needed = (limit - keys.size()) * qint64(kRecentlyRead) / keys.size() * 2 + 100;
        if (needed <= kRecentlyReadOn) {
            const QString before = QStringLiteral("SELECT id, orderkey, words FROM booking_find WHERE orderkey < %1 "
                                                  "ORDER BY orderkey DESC LIMIT %2")
                                       .arg(oldest)
                                       .arg(needed);
            for (Recordset rs = db.query(QStringLiteral("SELECT id FROM (%1) AS recent WHERE words @@ %2 ORDER BY "
                                                        "orderkey DESC LIMIT %3")
                                             .arg(before, whole)
                                             .arg(limit - keys.size()));
                 !rs.eof(); rs.moveNext())
                keys << rs.value(0).toLongLong();
            if (keys.size() >= limit)
                return keys;
            const Recordset end = db.query(QStringLiteral("SELECT orderkey FROM booking_find WHERE orderkey < %1 ORDER BY "
                                                          "orderkey DESC OFFSET %2 LIMIT 1")
                                               .arg(oldest)
                                               .arg(needed - 1));
            if (end.eof())
                return keys;  // those were all the bookings
            oldest = end.value(0).toLongLong();
        }
    }
    // The rest of the months before those through the index (a month mark
    // among each booking's words lets it find a word's bookings of some
    // months at once), then all before them.
    const auto more = [&](const QString &where) {
        for (Recordset rs = db.query(QStringLiteral("SELECT id FROM booking_find WHERE %1 ORDER BY orderkey + 0 DESC LIMIT %2")
                                         .arg(where)
                                         .arg(limit - keys.size()));
             !rs.eof(); rs.moveNext())
            keys << rs.value(0).toLongLong();
    };
    const QDate last = dayOfPlace(oldest);
    QStringList marks;
    for (int m = 0; m < kMonthsMarked; ++m)
        marks << QStringLiteral("'%1'").arg(monthMarkOf(last.addMonths(-m)));
    more(QStringLiteral("words @@ (%1 && '%2'::tsquery) AND %3 AND orderkey < %4")
             .arg(narrow, SqlText(marks.join(QLatin1String(" | "))), indexed)
             .arg(oldest));
    if (keys.size() >= limit)
        return keys;
    const QDate first = last.addMonths(-(kMonthsMarked - 1));
    more(QStringLiteral("%1 AND orderkey < %2").arg(indexed).arg(placeOfDay(QDate(first.year(), first.month(), 1))));
    return keys;
}

QString FindMatchesSql(Engine engine, const FindWords &words, const QString &bookingAlias)
{
    // On a server, looked up by the booking's key (an EXISTS would be
    // planned as a join with every booking the words find).
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("coalesce((SELECT f.words @@ %2 FROM booking_find AS f WHERE f.id = %1.ID), false)")
            .arg(bookingAlias, serverQuery(words));
    return QStringLiteral("EXISTS (SELECT 1 FROM booking_find WHERE booking_find MATCH '%1' AND rowid = %2)")
        .arg(SqlText(ftsQuery(words)), orderKey(engine, bookingAlias));
}

bool IsFindWord(const QString &word)
{
    for (const char32_t c : word.toUcs4())
        if (QChar::isLetterOrNumber(c))
            return true;
    return false;
}

QString FindPlacesSql(const FindWords &words, qint64 first, qint64 last)
{
    return QStringLiteral("SELECT rowid FROM booking_find WHERE booking_find MATCH '%1' AND rowid BETWEEN %2 AND %3")
        .arg(SqlText(ftsQuery(words)))
        .arg(first)
        .arg(last);
}

QString FindOrderSql(Engine engine, const QString &bookingAlias)
{
    return orderKey(engine, bookingAlias);
}

}  // namespace innkeld
