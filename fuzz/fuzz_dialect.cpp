// Fuzz target: the dialect's translation of one statement against the
// program's own schema. Its promises: the tokens join back to the input, a
// translation never crashes and either succeeds or says why (DbError), and
// what it produces tokenizes again.
#include "data/schema/schema.h"
#include "data/sql/database.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

using namespace innkeld;

namespace {

const Schema &programSchema()
{
    static const Schema schema = [] {
        static int argc = 1;
        static char name[] = "fuzz_dialect";
        static char *argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db.mdb"));
        CreateDatabase(path);
        return OpenDatabase(path)->schema();
    }();
    return schema;
}

[[noreturn]] void broken(const char *promise)
{
    std::fprintf(stderr, "promise broken: %s\n", promise);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Schema &schema = programSchema();
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        QString joined;
        for (const SqlToken &t : TokenizeSql(sql))
            joined += t.text;
        if (joined != sql)
            broken("the tokens join back to the statement");
    } catch (const DbError &) {
        return 0;  // an unterminated string, name or date: said, not crashed
    }
    // Both engines' translations are statements that tokenize again; a
    // statement one engine takes, the other takes too.
    int taken = 0;
    for (const Engine engine : {Engine::SQLite, Engine::PostgreSQL}) {
        QString translated;
        try {
            translated = TranslateSql(sql, schema, engine);
        } catch (const DbError &) {
            continue;
        }
        ++taken;
        try {
            TokenizeSql(translated);
        } catch (const DbError &) {
            broken("a translation tokenizes again");
        }
    }
    if (taken == 1)
        broken("both engines take the same statements");
    return 0;
}
