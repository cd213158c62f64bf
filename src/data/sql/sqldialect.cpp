#include "sqldialect.h"

#include "data/regional/regional.h"

#include <QRegularExpression>

#include <cmath>

namespace innkeld {

ColumnKind KindFromDeclaredType(const QString &declaredType)
{
    const QString t = declaredType.toUpper();
    if (t.contains(QLatin1String("INT")))
        return ColumnKind::Integer;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return ColumnKind::Date;
    if (t.contains(QLatin1String("CURRENCY")) || t.contains(QLatin1String("MONEY")))
        return ColumnKind::Money;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("DOUB"))
        || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("NUM"))
        || t.contains(QLatin1String("DEC")))
        return ColumnKind::Number;
    return ColumnKind::Text;
}

void Schema::addColumn(const QString &table, const QString &column, ColumnKind kind)
{
    Table &t = m_tables[table.toLower()];
    if (t.name.isEmpty())
        t.name = table;
    if (!t.kinds.contains(column.toLower()))
        t.columns << column;
    t.kinds.insert(column.toLower(), kind);
}

bool Schema::hasTable(const QString &table) const
{
    return m_tables.contains(table.toLower());
}

QStringList Schema::columns(const QString &table) const
{
    return m_tables.value(table.toLower()).columns;
}

QString Schema::tableName(const QString &table) const
{
    return m_tables.value(table.toLower()).name;
}

bool Schema::kindOf(const QString &table, const QString &column, ColumnKind *kind) const
{
    const auto t = m_tables.constFind(table.toLower());
    if (t == m_tables.constEnd())
        return false;
    const auto c = t->kinds.constFind(column.toLower());
    if (c == t->kinds.constEnd())
        return false;
    *kind = *c;
    return true;
}

bool Schema::kindOfAnyTable(const QString &column, ColumnKind *kind) const
{
    bool found = false;
    ColumnKind k = ColumnKind::Text;
    for (const Table &t : m_tables) {
        const auto c = t.kinds.constFind(column.toLower());
        if (c == t.kinds.constEnd())
            continue;
        if (found && *c != k)
            return false;
        k = *c;
        found = true;
    }
    if (found)
        *kind = k;
    return found;
}

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Finds the end (one past) of a quoted run starting at `from` with the quote
// `q`, where a doubled quote stands for one; -1 when it does not end.
int endOfQuoted(const QString &sql, int from, QChar q)
{
    int i = from + 1;
    while (i < sql.size()) {
        if (sql.at(i) == q) {
            if (i + 1 < sql.size() && sql.at(i + 1) == q) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return -1;
}

QString unquote(const QString &literal)
{
    QString inner = literal.mid(1, literal.size() - 2);
    inner.replace(QLatin1String("''"), QLatin1String("'"));
    return inner;
}

QString quote(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("'"), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

bool isKeyword(const SqlToken &t, const char *word)
{
    return t.kind == SqlToken::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const SqlToken &t, const char *sym)
{
    return t.kind == SqlToken::Symbol && t.text == QLatin1String(sym);
}

bool isComparison(const SqlToken &t)
{
    static const QStringList ops{QStringLiteral("="), QStringLiteral("=="), QStringLiteral("<>"),
                                 QStringLiteral("!="), QStringLiteral("<"), QStringLiteral(">"),
                                 QStringLiteral("<="), QStringLiteral(">=")};
    return t.kind == SqlToken::Symbol && ops.contains(t.text);
}

bool isArithmetic(const SqlToken &t)
{
    static const QStringList ops{QStringLiteral("||"), QStringLiteral("+"), QStringLiteral("-"),
                                 QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("%"),
                                 QStringLiteral("&")};
    return t.kind == SqlToken::Symbol && ops.contains(t.text);
}

QString nameOf(const SqlToken &t)
{
    if (t.kind == SqlToken::QuotedIdent)
        return t.text.mid(1, t.text.size() - 2);
    return t.text;
}

bool isName(const SqlToken &t)
{
    return t.kind == SqlToken::Word || (t.kind == SqlToken::QuotedIdent && !t.text.startsWith(QLatin1Char('"')));
}

QString kindName(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Date:
        return QStringLiteral("a date");
    case ColumnKind::Money:
        return QStringLiteral("an amount");
    case ColumnKind::Integer:
        return QStringLiteral("a whole number");
    case ColumnKind::Number:
        return QStringLiteral("a number");
    case ColumnKind::Text:
        break;
    }
    return QStringLiteral("text");
}

// The statement as a list of its significant tokens (no blanks, no comments),
// each pointing into the full token list.
class Statement
{
public:
    explicit Statement(QVector<SqlToken> &tokens) : m_tokens(tokens)
    {
        for (int i = 0; i < tokens.size(); ++i)
            if (tokens[i].kind != SqlToken::Space && tokens[i].kind != SqlToken::Comment)
                m_sig << i;
    }
    int size() const { return m_sig.size(); }
    SqlToken &at(int i) { return m_tokens[m_sig.at(i)]; }
    bool valid(int i) const { return i >= 0 && i < m_sig.size(); }

private:
    QVector<SqlToken> &m_tokens;
    QVector<int> m_sig;
};

void convertToken(SqlToken &tok, ColumnKind kind, const QString &column)
{
    if (tok.converted || tok.kind != SqlToken::String)
        return;
    tok.text = ConvertTextForColumn(unquote(tok.text), kind, column);
    tok.converted = true;
}

// True when the string at position i stands alone as an operand: no
// arithmetic or concatenation on either side of it.
bool standsAlone(Statement &st, int i)
{
    if (st.valid(i - 1) && isArithmetic(st.at(i - 1)))
        return false;
    if (st.valid(i + 1) && isArithmetic(st.at(i + 1)))
        return false;
    return true;
}

// UPDATE table SET col = 'text', ... : converts each assigned text.
void convertUpdate(Statement &st, const Schema &schema)
{
    if (st.size() < 4 || !isKeyword(st.at(0), "UPDATE"))
        return;
    int i = 1;
    if (isKeyword(st.at(i), "OR"))
        i += 2;
    if (!st.valid(i) || !isName(st.at(i)))
        return;
    const QString table = nameOf(st.at(i));
    ++i;
    if (!st.valid(i) || !isKeyword(st.at(i), "SET"))
        return;
    ++i;
    while (st.valid(i)) {
        // column, possibly written as table.column
        if (!isName(st.at(i)))
            return;
        QString column = nameOf(st.at(i));
        ++i;
        if (st.valid(i + 1) && isSymbol(st.at(i), ".") && isName(st.at(i + 1))) {
            column = nameOf(st.at(i + 1));
            i += 2;
        }
        if (!st.valid(i) || !isSymbol(st.at(i), "="))
            return;
        ++i;
        const int value = i;
        int depth = 0;
        while (st.valid(i)) {
            const SqlToken &t = st.at(i);
            if (isSymbol(t, "("))
                ++depth;
            else if (isSymbol(t, ")"))
                --depth;
            else if (depth == 0 && (isSymbol(t, ",") || isKeyword(t, "WHERE") || isKeyword(t, "FROM")
                                    || isKeyword(t, "RETURNING")))
                break;
            ++i;
        }
        ColumnKind kind;
        if (i == value + 1 && schema.kindOf(table, column, &kind))
            convertToken(st.at(value), kind, column);
        if (!st.valid(i) || !isSymbol(st.at(i), ","))
            return;
        ++i;
    }
}

// INSERT INTO table [(columns)] VALUES (...), (...): converts each text value.
void convertInsert(Statement &st, const Schema &schema)
{
    if (st.size() < 4 || !(isKeyword(st.at(0), "INSERT") || isKeyword(st.at(0), "REPLACE")))
        return;
    int i = 1;
    while (st.valid(i) && !isKeyword(st.at(i), "INTO"))
        ++i;
    ++i;
    if (!st.valid(i) || !isName(st.at(i)))
        return;
    const QString table = nameOf(st.at(i));
    if (!schema.hasTable(table))
        return;
    ++i;
    QStringList columns;
    if (st.valid(i) && isSymbol(st.at(i), "(")) {
        ++i;
        while (st.valid(i) && !isSymbol(st.at(i), ")")) {
            if (isName(st.at(i)))
                columns << nameOf(st.at(i));
            ++i;
        }
        ++i;
    } else {
        columns = schema.columns(table);
    }
    if (!st.valid(i) || !isKeyword(st.at(i), "VALUES"))
        return;
    ++i;
    while (st.valid(i) && isSymbol(st.at(i), "(")) {
        ++i;
        int position = 0;
        while (st.valid(i)) {
            const int value = i;
            int depth = 0;
            while (st.valid(i)) {
                const SqlToken &t = st.at(i);
                if (isSymbol(t, "("))
                    ++depth;
                else if (isSymbol(t, ")")) {
                    if (depth == 0)
                        break;
                    --depth;
                } else if (depth == 0 && isSymbol(t, ","))
                    break;
                ++i;
            }
            ColumnKind kind;
            if (i == value + 1 && position < columns.size()
                && schema.kindOf(table, columns.at(position), &kind))
                convertToken(st.at(value), kind, columns.at(position));
            ++position;
            if (!st.valid(i) || isSymbol(st.at(i), ")"))
                break;
            ++i;  // the comma
        }
        ++i;  // the closing parenthesis
        if (!st.valid(i) || !isSymbol(st.at(i), ","))
            return;
        ++i;
    }
}

// column op 'text', 'text' op column, column [NOT] BETWEEN 'a' AND 'b'.
void convertComparisons(Statement &st, const Schema &schema)
{
    for (int i = 0; i < st.size(); ++i) {
        SqlToken &t = st.at(i);
        ColumnKind kind;
        if (isComparison(t) && st.valid(i - 1) && st.valid(i + 1)) {
            SqlToken &left = st.at(i - 1);
            SqlToken &right = st.at(i + 1);
            if (right.kind == SqlToken::String && isName(left) && standsAlone(st, i + 1)
                && schema.kindOfAnyTable(nameOf(left), &kind))
                convertToken(right, kind, nameOf(left));
            else if (left.kind == SqlToken::String && isName(right) && standsAlone(st, i - 1)) {
                // 'text' = column, or 'text' = table.column
                QString column = nameOf(right);
                if (st.valid(i + 3) && isSymbol(st.at(i + 2), ".") && isName(st.at(i + 3)))
                    column = nameOf(st.at(i + 3));
                if (schema.kindOfAnyTable(column, &kind))
                    convertToken(left, kind, column);
            }
        } else if (isKeyword(t, "BETWEEN") && st.valid(i + 3)) {
            int col = i - 1;
            if (st.valid(col) && isKeyword(st.at(col), "NOT"))
                --col;
            if (!st.valid(col) || !isName(st.at(col)) || !schema.kindOfAnyTable(nameOf(st.at(col)), &kind))
                continue;
            const QString column = nameOf(st.at(col));
            if (st.at(i + 1).kind == SqlToken::String && isKeyword(st.at(i + 2), "AND")
                && st.at(i + 3).kind == SqlToken::String && !(st.valid(i + 4) && isArithmetic(st.at(i + 4)))) {
                convertToken(st.at(i + 1), kind, column);
                convertToken(st.at(i + 3), kind, column);
            }
        }
    }
}

}  // namespace

QVector<SqlToken> TokenizeSql(const QString &sql)
{
    QVector<SqlToken> out;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        int end = i + 1;
        SqlToken::Kind kind = SqlToken::Symbol;
        if (c.isSpace()) {
            while (end < n && sql.at(end).isSpace())
                ++end;
            kind = SqlToken::Space;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            while (end < n && sql.at(end) != QLatin1Char('\n'))
                ++end;
            kind = SqlToken::Comment;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const int close = sql.indexOf(QLatin1String("*/"), i + 2);
            end = close < 0 ? n : close + 2;
            kind = SqlToken::Comment;
        } else if (c == QLatin1Char('\'')) {
            end = endOfQuoted(sql, i, c);
            if (end < 0)
                throw DbError(QStringLiteral("Syntax error: a text that starts with ' is never closed."));
            kind = SqlToken::String;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            end = endOfQuoted(sql, i, c);
            if (end < 0)
                throw DbError(QStringLiteral("Syntax error: a name that starts with %1 is never closed.").arg(c));
            kind = SqlToken::QuotedIdent;
        } else if (c == QLatin1Char('[') || c == QLatin1Char('#')) {
            const bool date = c == QLatin1Char('#');
            const int close = sql.indexOf(date ? QLatin1Char('#') : QLatin1Char(']'), i + 1);
            if (close < 0)
                throw DbError(date ? QStringLiteral("Syntax error in date: a date that starts with # is never closed.")
                                   : QStringLiteral("Syntax error: a name that starts with [ is never closed."));
            end = close + 1;
            kind = date ? SqlToken::DateLiteral : SqlToken::QuotedIdent;
        } else if (isWordStart(c)) {
            while (end < n && isWordChar(sql.at(end)))
                ++end;
            kind = SqlToken::Word;
        } else if (isDigit(c) || (c == QLatin1Char('.') && i + 1 < n && isDigit(sql.at(i + 1)))) {
            while (end < n && (isDigit(sql.at(end)) || sql.at(end) == QLatin1Char('.')))
                ++end;
            if (end < n && (sql.at(end) == QLatin1Char('e') || sql.at(end) == QLatin1Char('E'))) {
                int j = end + 1;
                if (j < n && (sql.at(j) == QLatin1Char('+') || sql.at(j) == QLatin1Char('-')))
                    ++j;
                if (j < n && isDigit(sql.at(j))) {
                    while (j < n && isDigit(sql.at(j)))
                        ++j;
                    end = j;
                }
            }
            kind = SqlToken::Number;
        } else if (i + 1 < n) {
            const QString two = sql.mid(i, 2);
            if (two == QLatin1String("<>") || two == QLatin1String("<=") || two == QLatin1String(">=")
                || two == QLatin1String("!=") || two == QLatin1String("==") || two == QLatin1String("||"))
                end = i + 2;
        }
        out.push_back(SqlToken{kind, sql.mid(i, end - i)});
        i = end;
    }
    return out;
}

QString CanonicalDateText(const QDateTime &value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime StoredDateTime(const QString &text)
{
    // yyyy-MM-dd HH:mm:ss, read digit by digit: it is read for every date of
    // every row, and no time zone may take part.
    if (text.size() != 19)
        return QDateTime();
    int parts[6] = {};
    static const int starts[6] = {0, 5, 8, 11, 14, 17};
    static const int lengths[6] = {4, 2, 2, 2, 2, 2};
    static const char separators[5] = {'-', '-', ' ', ':', ':'};
    for (int p = 0; p < 6; ++p) {
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return QDateTime();
            parts[p] = parts[p] * 10 + (c - u'0');
        }
        if (p < 5 && text.at(starts[p] + lengths[p]).unicode() != char16_t(separators[p]))
            return QDateTime();
    }
    const QDate date(parts[0], parts[1], parts[2]);
    const QTime time(parts[3], parts[4], parts[5]);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return WallClock(date, time);
}

QDateTime ParseDateLiteral(const QString &inner)
{
    static const QRegularExpression mdy(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{1,4})"
                       "(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(AM|PM)?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression ymd(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})"
                       "(?:[ T]+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(AM|PM)?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString t = inner.simplified();
    int year = 0, month = 0, day = 0;
    QRegularExpressionMatch m = mdy.match(t);
    if (m.hasMatch()) {
        month = m.captured(1).toInt();
        day = m.captured(2).toInt();
        year = m.captured(3).toInt();
        if (m.captured(3).size() <= 2)
            year += year < 30 ? 2000 : 1900;
    } else {
        m = ymd.match(t);
        if (!m.hasMatch())
            return QDateTime();
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return QDateTime();
    int hour = 0, minute = 0, second = 0;
    if (!m.captured(4).isEmpty()) {
        hour = m.captured(4).toInt();
        minute = m.captured(5).toInt();
        second = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
        const QString half = m.captured(7).toUpper();
        if (!half.isEmpty()) {
            if (hour < 1 || hour > 12)
                return QDateTime();
            if (hour == 12)
                hour = 0;
            if (half == QLatin1String("PM"))
                hour += 12;
        }
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return QDateTime();
    return WallClock(date, time);
}

QString ConvertTextForColumn(const QString &text, ColumnKind kind, const QString &column)
{
    if (kind == ColumnKind::Text)
        return quote(text);
    if (kind == ColumnKind::Date) {
        const QDateTime dt = ParseRegionalDateTime(text);
        if (!dt.isValid())
            throw DbError(QStringLiteral("Data type mismatch: '%1' is not a date, so it cannot be stored in %2.")
                              .arg(text, column));
        return quote(CanonicalDateText(dt));
    }
    bool ok = false;
    double v = ParseRegionalNumber(text, &ok);
    // An amount must be kept to the cent: nothing of a size a double cannot
    // hold that exactly, and never inf or nan in a statement.
    if (ok && kind == ColumnKind::Money && !IsStorableAmount(v))
        ok = false;
    if (!ok || !std::isfinite(v))
        throw DbError(QStringLiteral("Data type mismatch: '%1' is not %2, so it cannot be stored in %3.")
                          .arg(text, kindName(kind), column));
    if (kind == ColumnKind::Integer) {
        if (std::fabs(v) > 9.2e18)
            throw DbError(QStringLiteral("Overflow: '%1' is too large for %2.").arg(text, column));
        return QString::number(std::llround(v));
    }
    if (kind == ColumnKind::Money)
        v = std::round(v * 10000.0) / 10000.0;  // amounts keep four decimals
    if (v == 0)
        v = 0;
    return QString::number(v, 'g', 17);
}

namespace {

// The statement in PostgreSQL's terms, where the two engines differ in what
// the dialect allows.
void toServerTerms(QVector<SqlToken> &tokens, const Schema &schema)
{
    Statement st(tokens);
    for (int i = 0; i < st.size(); ++i) {
        SqlToken &t = st.at(i);
        if (t.kind == SqlToken::QuotedIdent) {
            // [Name], `Name` and "Name": the server keeps the tables' and
            // columns' names in lower case.
            QString name = t.text.mid(1, t.text.size() - 2);
            if (t.text.startsWith(QLatin1Char('"')))
                name.replace(QLatin1String("\"\""), QLatin1String("\""));
            ColumnKind kind;
            if (schema.hasTable(name) || schema.kindOfAnyTable(name, &kind))
                name = name.toLower();
            name.replace(QLatin1String("\""), QLatin1String("\"\""));
            t.text = QLatin1Char('"') + name + QLatin1Char('"');
        } else if (isKeyword(t, "LIKE")) {
            t.text = QStringLiteral("ILIKE");
        } else if (isSymbol(t, "==")) {
            t.text = QStringLiteral("=");
        } else if ((isKeyword(t, "min") || isKeyword(t, "max")) && st.valid(i + 1) && isSymbol(st.at(i + 1), "(")) {
            // Of several values (a comma at the first depth) it is not the
            // aggregate.
            bool several = false;
            for (int j = i + 2, depth = 0; st.valid(j) && depth >= 0 && !several; ++j) {
                if (isSymbol(st.at(j), "("))
                    ++depth;
                else if (isSymbol(st.at(j), ")"))
                    --depth;
                else if (depth == 0 && isSymbol(st.at(j), ","))
                    several = true;
            }
            if (several)
                t.text = isKeyword(t, "min") ? QStringLiteral("least") : QStringLiteral("greatest");
        }
    }
}

// SQLite returns the rows of a plain query in the order of its first
// table's key; the server in any order. A query of the program's tables
// that names no order gets that one on the server (before its LIMIT), so
// that lists read the same on both engines. Aggregates, DISTINCT and
// compound queries are left as written.
void addKeyOrder(QVector<SqlToken> &tokens, const Schema &schema)
{
    Statement st(tokens);
    if (st.size() < 4 || !isKeyword(st.at(0), "SELECT"))
        return;
    int from = -1, limit = -1, depth = 0;
    for (int i = 1; i < st.size(); ++i) {
        const SqlToken &t = st.at(i);
        if (isSymbol(t, "(")) {
            if (depth == 0 && from < 0 && st.valid(i - 1)
                && (isKeyword(st.at(i - 1), "count") || isKeyword(st.at(i - 1), "sum")
                    || isKeyword(st.at(i - 1), "avg") || isKeyword(st.at(i - 1), "min")
                    || isKeyword(st.at(i - 1), "max") || isKeyword(st.at(i - 1), "total")
                    || isKeyword(st.at(i - 1), "group_concat")))
                return;
            ++depth;
        } else if (isSymbol(t, ")")) {
            --depth;
        } else if (depth == 0) {
            for (const char *word : {"ORDER", "GROUP", "UNION", "INTERSECT", "EXCEPT", "DISTINCT", "HAVING"})
                if (isKeyword(t, word))
                    return;
            if (from < 0 && isKeyword(t, "FROM"))
                from = i;
            if (limit < 0 && (isKeyword(t, "LIMIT") || isKeyword(t, "OFFSET")))
                limit = i;
        }
    }
    ColumnKind key;
    if (from < 0 || !st.valid(from + 1) || st.at(from + 1).kind != SqlToken::Word
        || !schema.kindOf(st.at(from + 1).text, QStringLiteral("id"), &key))
        return;  // not a table of the program's, or one without a key of that name
    QString name = st.at(from + 1).text;
    int next = from + 2;
    if (st.valid(next) && isKeyword(st.at(next), "AS"))
        ++next;
    if (st.valid(next) && st.at(next).kind == SqlToken::Word) {
        static const QStringList keywords{QStringLiteral("WHERE"), QStringLiteral("JOIN"), QStringLiteral("LEFT"),
                                          QStringLiteral("INNER"), QStringLiteral("CROSS"), QStringLiteral("LIMIT"),
                                          QStringLiteral("OFFSET"), QStringLiteral("NATURAL"), QStringLiteral("RIGHT"),
                                          QStringLiteral("FULL"), QStringLiteral("ON")};
        if (!keywords.contains(st.at(next).text.toUpper()))
            name = st.at(next).text;
    }
    // Written apart from its neighbours (as a symbol, which a converted
    // value does not keep its distance from).
    const QString order = QStringLiteral("ORDER BY ") + name + QStringLiteral(".id");
    if (limit < 0) {
        tokens.append(SqlToken{SqlToken::Symbol, QLatin1Char(' ') + order});
        return;
    }
    int at = 0;
    for (int i = 0; i < tokens.size(); ++i)
        if (&tokens[i] == &st.at(limit))
            at = i;
    // Before LIMIT, apart from it.
    tokens.insert(at, SqlToken{SqlToken::Symbol, order + QLatin1Char(' ')});
}

}  // namespace

QString TranslateSql(const QString &sql, const Schema &schema, Engine engine)
{
    QVector<SqlToken> tokens = TokenizeSql(sql);

    for (SqlToken &t : tokens) {
        if (t.kind != SqlToken::DateLiteral)
            continue;
        const QDateTime dt = ParseDateLiteral(t.text.mid(1, t.text.size() - 2));
        if (!dt.isValid())
            throw DbError(QStringLiteral("Syntax error in date in query expression '%1'.").arg(t.text));
        t.kind = SqlToken::String;
        t.text = quote(CanonicalDateText(dt));
        if (engine == Engine::PostgreSQL)
            t.text.prepend(QStringLiteral("TIMESTAMP "));
        t.converted = true;
    }

    // One statement, optionally ended by ";".
    int semicolon = -1;
    for (int i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == SqlToken::Symbol && tokens[i].text == QLatin1String(";")) {
            semicolon = i;
            break;
        }
    }
    // The body of a trigger holds statements of its own, each ended by ";".
    bool trigger = false;
    for (int i = 0, words = 0; i < tokens.size() && words < 4; ++i) {
        if (tokens[i].kind != SqlToken::Word)
            continue;
        if (words == 0 && tokens[i].text.compare(QLatin1String("CREATE"), Qt::CaseInsensitive) != 0)
            break;
        trigger |= tokens[i].text.compare(QLatin1String("TRIGGER"), Qt::CaseInsensitive) == 0;
        ++words;
    }
    if (trigger) {
        int last = tokens.size() - 1;
        while (last >= 0 && (tokens[last].kind == SqlToken::Space || tokens[last].kind == SqlToken::Comment
                             || (tokens[last].kind == SqlToken::Symbol && tokens[last].text == QLatin1String(";"))))
            --last;
        tokens.resize(last + 1);
        semicolon = -1;
    }
    if (semicolon >= 0) {
        for (int i = semicolon + 1; i < tokens.size(); ++i) {
            const SqlToken &t = tokens[i];
            if (t.kind != SqlToken::Space && t.kind != SqlToken::Comment
                && !(t.kind == SqlToken::Symbol && t.text == QLatin1String(";")))
                throw DbError(QStringLiteral("Characters found after end of SQL statement."));
        }
        tokens.resize(semicolon);
    }

    Statement st(tokens);
    if (st.size() == 0)
        throw DbError(QStringLiteral("Invalid SQL statement: the statement is empty."));
    convertUpdate(st, schema);
    convertInsert(st, schema);
    convertComparisons(st, schema);
    if (engine == Engine::PostgreSQL) {
        toServerTerms(tokens, schema);
        addKeyOrder(tokens, schema);
    }

    // A converted value keeps its separation from a word, number or text
    // written against it ('2'WHERE, 'x'#1/1/2002#): it never runs into it.
    const auto runsInto = [&tokens](int i) {
        if (i < 0 || i >= tokens.size())
            return false;
        const SqlToken::Kind k = tokens[i].kind;
        return k == SqlToken::Word || k == SqlToken::Number || k == SqlToken::String || k == SqlToken::QuotedIdent
            || k == SqlToken::DateLiteral;
    };
    QString out;
    out.reserve(sql.size() + 32);
    for (int i = 0; i < tokens.size(); ++i) {
        const SqlToken &t = tokens[i];
        const bool apart = t.converted;
        if (apart && runsInto(i - 1))
            out += QLatin1Char(' ');
        out += t.text;
        if (apart && runsInto(i + 1))
            out += QLatin1Char(' ');
    }
    return out;
}

}  // namespace innkeld
