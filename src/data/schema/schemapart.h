// A part of the database's schema: a group of tables with their indexes,
// triggers and functions, as each engine makes it, and what a database
// made by an earlier version lacks of it. Each group's file gives its part;
// schema.cpp lists them.
#pragma once

#include "data/sql/database.h"

#include <QHash>
#include <QStringList>

#include <functional>

namespace innkeld {

// What a database holds, read at once from the engine's catalogue: the
// names of its tables, indexes, triggers and functions, with the statement
// that made each in SQLite or a function's body on a server.
class Catalogue
{
public:
    static Catalogue read(Database &db);
    bool has(const QString &name) const { return m_objects.contains(name); }
    // The statement or body, as the engine keeps it; empty when not there.
    QString text(const QString &name) const { return m_objects.value(name); }

private:
    QHash<QString, QString> m_objects;
};

struct SchemaPart
{
    // What giving the part to an older database does, as the operator is
    // told while it runs ("Building the search index").
    QString what;
    // The statements that make the part in a new database.
    std::function<QStringList(Engine)> make;
    // The statements that give a database what it lacks of the part; none
    // when it has it all. Asked before the upgrade, and again within its
    // transaction.
    std::function<QStringList(Engine, const Catalogue &)> lacking;
    // The table that tells that the part is there: a file that cannot be
    // written now (read-only, or busy at another desk) and lacks it reads
    // the part through `temporary`, made in the connection's own temporary
    // schema (SQLite only).
    QString table;
    std::function<QStringList()> temporary;
    // The beginnings of the names of the part's tables that no statement of
    // the dialect reads (an index's own).
    QStringList hidden;
    // What a file may build aside while the rest of an upgrade runs (see
    // AsideBuild): the statement of `lacking` it stands for; the statements
    // that build it in a database of its own from the database's tables, read as
    // house.<table>; the tables (the index's own) whose rows are then
    // carried over into those the part's statements made empty; and a query
    // that answers 'ok' when what was built holds together (else it is
    // built in place).
    struct Aside
    {
        QString replaces;
        QStringList build;
        QStringList tables;
        QString check;
    };
    Aside aside;
};

// The name of what a CREATE statement makes (a table, an index, a trigger,
// a function).
QString CreatedName(const QString &statement);

// `statements` for the connection's temporary schema: tables, indexes and
// rows made there (triggers are left out).
QStringList TemporaryStatements(const QStringList &statements);

// A part that is one or more tables made by `statements` alike on both
// engines, lacking when its `table` is not there.
SchemaPart TablesPart(const QString &what, const QStringList &statements, const QString &table);

// On a file, the triggers that tie a table's `bookingid` to a booking there
// is (<table>_link, <table>_relink) and take its rows along when the
// booking goes (<table>_booking_delete); a server's reference does both.
QStringList BookingLinkTriggers(const QString &table);

// A part that each engine makes by its own `statements`, lacking when
// `marker` (a table, trigger or function it makes) is not there; a file
// that cannot be written reads its tables through temporary ones.
SchemaPart EnginePart(const QString &what, const std::function<QStringList(Engine)> &statements, const QString &marker);

}  // namespace innkeld
