#include "textlengths.h"

#include <QCoreApplication>

namespace innkeld {

namespace {

struct Limited
{
    const char *table;
    QStringList lines, notes;  // the columns kept to kLineLength, kNoteLength
};

const QVector<Limited> &limitedTables()
{
    static const QVector<Limited> tables{
        {"booking",
         {"BookedBy", "PaymentMethod", "CreditCardNo", "CreditCardExpiry", "CreditCardType"},
         {"Notes"}},
        {"customer",
         {"FirstName", "LastName", "Address1", "Address2", "City", "State", "PostCode", "Country", "Phone", "Email",
          "BusinessName"},
         {}},
        {"room", {"name"}, {}},
        {"housedetails", {"HouseName", "Phone", "Email", "VatNumber", "InvoicePrefix"}, {"Address", "Footer"}},
        {"payment", {"Method", "Note"}, {}},
    };
    return tables;
}

const char *const kMessage = "A text is kept to %1 characters; the one given for %2 is longer.";

// The first column of the row NEW longer than it may be, as an expression
// (null when none is).
QString firstTooLong(const Limited &t, const QString &length)
{
    QString cases = QStringLiteral("CASE");
    const auto add = [&](const QStringList &columns, int limit) {
        for (const QString &c : columns)
            cases += QStringLiteral(" WHEN %1(NEW.%2) > %3 THEN '%4'")
                         .arg(length, c)
                         .arg(limit)
                         .arg(QString(QLatin1String(kMessage)).arg(limit).arg(c));
    };
    add(t.lines, kLineLength);
    add(t.notes, kNoteLength);
    return cases + QStringLiteral(" END");
}

QStringList statements(Engine engine)
{
    QStringList made;
    for (const Limited &t : limitedTables()) {
        const QString table = QLatin1String(t.table);
        const QStringList columns = t.lines + t.notes;
        if (engine == Engine::PostgreSQL) {
            made << QStringLiteral("CREATE OR REPLACE FUNCTION innkeld_%1_lengths() RETURNS trigger LANGUAGE plpgsql AS $$ "
                                   "DECLARE too_long text := %2; BEGIN IF too_long IS NOT NULL THEN RAISE EXCEPTION '%', "
                                   "too_long; END IF; RETURN NEW; END $$")
                        .arg(table, firstTooLong(t, QStringLiteral("char_length")))
                 << QStringLiteral("CREATE TRIGGER %1_lengths BEFORE INSERT OR UPDATE OF %2 ON %1 FOR EACH ROW EXECUTE "
                                   "FUNCTION innkeld_%1_lengths()")
                        .arg(table, columns.join(QStringLiteral(", ")));
            continue;
        }
        // A file's refusal is fixed text (any tool on the file can read the
        // trigger): it names the table's texts.
        const QString when = QStringLiteral("WHEN %1 IS NOT NULL BEGIN SELECT RAISE(ABORT, '%2'); END")
                                 .arg(firstTooLong(t, QStringLiteral("length")),
                                      QString(QLatin1String(kMessage))
                                          .arg(t.notes.isEmpty() ? QString::number(kLineLength)
                                                                 : QStringLiteral("%1 (%2 for %3)")
                                                                       .arg(kLineLength)
                                                                       .arg(kNoteLength)
                                                                       .arg(t.notes.join(QStringLiteral(", "))),
                                               QStringLiteral("a field of ") + table));
        made << QStringLiteral("CREATE TRIGGER %1_lengths BEFORE INSERT ON %1 ").arg(table) + when
             << QStringLiteral("CREATE TRIGGER %1_lengths_update BEFORE UPDATE OF %2 ON %1 ")
                        .arg(table, columns.join(QStringLiteral(", ")))
                    + when;
    }
    return made;
}

}  // namespace

SchemaPart TextLengthsPart()
{
    return EnginePart(QCoreApplication::translate("Upgrade", "Keeping texts to their lengths"), statements, QStringLiteral("customer_lengths"));
}

QString TextTooLongMessage(const QString &field, int limit)
{
    return QString(QLatin1String(kMessage)).arg(limit).arg(field);
}

}  // namespace innkeld
