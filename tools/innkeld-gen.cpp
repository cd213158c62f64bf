// innkeld-gen: makes a booking database of the program's own schema with
// the history of a house: R rooms and B bookings over twenty years,
// deterministic from a seed. For benchmarks and for trying the program at
// scale.
//
//   innkeld-gen FILE [--rooms R] [--bookings B] [--seed S] [--first-year Y] [--days D]
//               [--departure-day-free] [--bare] [--numbered-as-booked]
//
// Bookings of 1 to 3 rooms, stays of 1 to 14 nights (short ones most
// common), arrivals spread over D days (twenty years unless given) from
// 1 January of the first year, the same time of day on arrival and departure, a customer row each.
// No room is double-booked by the program's own rule: a stay that starts on
// another's departure day clashes, so a room is free again the day after a
// departure; with --departure-day-free the house books rooms from the day
// the guest leaves (stored as its rule), and a room is free again on the
// day of a departure. With --bare the file holds only the four tables of the
// program's first version, without any index, trigger or later table: a
// house as the first version leaves it, which the next open upgrades. With
// --numbered-as-booked bookings (and guests) are numbered in the order they
// were made, up to 60 days before arrival, as a house's own are, rather
// than in the order they arrive.
#include "data/schema/bookingstatus.h"
#include "data/schema/schema.h"
#include "data/sqlite/fileengine.h"
#include "data/sql/database.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <cmath>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Statement
{
    sqlite3_stmt *stmt = nullptr;
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw innkeld::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
        // Every row goes through the database's guard, as the program's own do.
        innkeld::RegisterEngineFunctions(db);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    void text(int i, const QByteArray &v) { sqlite3_bind_text(stmt, i, v.constData(), int(v.size()), SQLITE_TRANSIENT); }
    void integer(int i, qint64 v) { sqlite3_bind_int64(stmt, i, v); }
    void real(int i, double v) { sqlite3_bind_double(stmt, i, v); }
    void run(sqlite3 *db)
    {
        if (sqlite3_step(stmt) != SQLITE_DONE)
            throw innkeld::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(stmt);
    }
};

void exec(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        throw innkeld::DbError(text);
    }
}

QByteArray stored(const QDate &day, int secondsOfDay)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", day.year(), day.month(), day.day(),
                  secondsOfDay / 3600, secondsOfDay / 60 % 60, secondsOfDay % 60);
    return QByteArray(buffer);
}

// Drops every trigger, index and table but the first version's four tables.
void keepFirstTables(sqlite3 *db)
{
    QList<QByteArray> drops;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT 'DROP ' || upper(type) || ' IF EXISTS \"' || name || '\"' FROM sqlite_schema "
                       "WHERE name NOT LIKE 'sqlite_%' AND lower(name) NOT IN ('booking', 'customer', 'room', "
                       "'bookingroom') ORDER BY CASE type WHEN 'trigger' THEN 0 WHEN 'view' THEN 1 WHEN 'index' "
                       "THEN 2 WHEN 'table' THEN CASE WHEN sql LIKE 'CREATE VIRTUAL%' THEN 3 ELSE 4 END END",
                       -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        drops << QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    for (const QByteArray &drop : drops)
        exec(db, drop.constData());
    // Nor did a booking have a status.
    exec(db, "ALTER TABLE booking DROP COLUMN Status");
}

// Guests' names and home towns from many countries, accents and all.
const char *const kFirstNames[] = {
    "Ann", "Bo", "Cy", "Dara", "Eli", "Fen", "Gus", "Hana", "Ivo", "Jo", "Kit", "Lea", "Mo", "Nell", "Oz",
    "Pia", "Quin", "Ros", "Sol", "Tuva", "Jürgen", "Zoë", "Renée", "José", "Łucja", "Søren", "Ana", "Björn",
    "Chloé", "Dmitri", "Emma", "Felix", "Greta", "Hugo", "Ines", "Jan", "Karin", "Luca", "Maria", "Nils"};
const char *const kLastNames[] = {
    "Lee", "Kim", "Berg", "O'Hara", "Novak", "Silva", "Quist", "Moreau", "Ahn", "Okafor", "Lund", "Papas",
    "Reyes", "Sato", "Varga", "Walsh", "Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer",
    "Wagner", "Becker", "Hoffmann", "Schäfer", "Koch", "Richter", "Klein", "Wolf", "Neumann", "Schwarz",
    "Zimmermann", "Braun", "Krüger", "Hofmann", "Hartmann", "Lange", "Werner", "Krause", "Smith", "Jones",
    "Taylor", "Brown", "Williams", "Wilson", "Johnson", "Davies", "Robinson", "Wright", "Thompson", "Evans",
    "Walker", "White", "Roberts", "Green", "Hall", "Wood", "Jackson", "Clarke", "Martin", "Bernard",
    "Dubois", "Thomas", "Robert", "Richard", "Petit", "Durand", "Leroy", "García", "Fernández", "González",
    "Rodríguez", "López", "Martínez", "Sánchez", "Pérez", "Rossi", "Russo", "Ferrari"};
const char *const kCities[] = {"Port Vantrel", "Berlin", "München", "Hamburg", "Köln", "London", "Leeds",
                               "Paris", "Lyon", "Zürich", "Wien", "Kraków", "Göteborg", "Århus", "Madrid",
                               "Sevilla", "Roma", "Milano", "Dublin", "New York"};

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Makes a booking database with the history of a house."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The database to make; it must not exist."));
    const QCommandLineOption roomsOption(QStringLiteral("rooms"), QStringLiteral("Rooms of the house."),
                                         QStringLiteral("R"), QStringLiteral("200"));
    const QCommandLineOption bookingsOption(QStringLiteral("bookings"), QStringLiteral("Bookings to make."),
                                            QStringLiteral("B"), QStringLiteral("400000"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the random choices."),
                                        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption yearOption(QStringLiteral("first-year"), QStringLiteral("Year of the first arrival."),
                                        QStringLiteral("Y"), QStringLiteral("2007"));
    const QCommandLineOption daysOption(QStringLiteral("days"), QStringLiteral("Days the arrivals spread over."),
                                        QStringLiteral("D"), QStringLiteral("0"));
    const QCommandLineOption turnoverOption(QStringLiteral("departure-day-free"),
                                            QStringLiteral("Rooms can be booked from the day the guest leaves."));
    const QCommandLineOption bareOption(QStringLiteral("bare"),
                                        QStringLiteral("Only the first version's four tables, without indexes."));
    const QCommandLineOption bookedOption(QStringLiteral("numbered-as-booked"),
                                          QStringLiteral("Bookings numbered in the order they were made."));
    parser.addOptions({roomsOption, bookingsOption, seedOption, yearOption, daysOption, turnoverOption, bareOption,
                       bookedOption});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QString path = parser.positionalArguments().first();
    const int rooms = std::max(1, parser.value(roomsOption).toInt());
    const qint64 bookings = std::max<qint64>(0, parser.value(bookingsOption).toLongLong());
    const QDate first(parser.value(yearOption).toInt(), 1, 1);
    std::mt19937_64 random(parser.value(seedOption).toULongLong());

    QElapsedTimer clock;
    clock.start();
    sqlite3 *db = nullptr;
    try {
        innkeld::CreateDatabase(path);
        if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw innkeld::DbError(QString::fromUtf8(sqlite3_errmsg(db)));
        // Made in one go: nothing to keep safe until it is all there.
        exec(db, "PRAGMA journal_mode = OFF");
        exec(db, "PRAGMA synchronous = OFF");
        if (parser.isSet(bareOption))
            keepFirstTables(db);
        exec(db, "BEGIN");
        const bool departureDayFree = parser.isSet(turnoverOption) && !parser.isSet(bareOption);
        if (departureDayFree)
            exec(db, "UPDATE houserules SET DepartureDayFree = 1");
        {
            Statement room(db, "INSERT INTO room (name) VALUES (?)");
            for (int r = 1; r <= rooms; ++r) {
                room.text(1, QByteArrayLiteral("Room ") + QByteArray::number(r));
                room.run(db);
            }
        }
        Statement customer(db, "INSERT INTO customer (ID, FirstName, LastName, Address1, City, Country, Phone, "
                               "Email, SubmittedDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        Statement booking(db, "INSERT INTO booking (ID, CustomerID, FromDate, ToDate, BookedBy, NoAdults, NoKids, "
                              "CostPerNight, PaymentMethod, SalesTax, TotalPayable, AmountPayed) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        Statement link(db, "INSERT INTO bookingroom (bookingid, roomid) VALUES (?, ?)");

        // Arrivals come in order through the twenty years; each room is free
        // again on the day after its last departure (or on that day).
        const qint64 days = parser.value(daysOption).toLongLong() > 0 ? parser.value(daysOption).toLongLong()
                                                                      : first.daysTo(first.addYears(20));
        std::vector<qint64> freeFrom(static_cast<size_t>(rooms), 0);
        std::vector<int> order(static_cast<size_t>(rooms));
        for (int r = 0; r < rooms; ++r)
            order[size_t(r)] = r;
        std::geometric_distribution<int> extraNights(0.45);
        std::uniform_int_distribution<int> percent(1, 100);
        std::uniform_int_distribution<int> minuteOfDay(8 * 60, 20 * 60);
        // The twenty years made twice when numbered as booked: first only
        // when each booking was made (the same draws in the same order),
        // then written with each booking's number in that order.
        std::vector<qint64> numbers;  // each booking's key, by its place in time; none: its place
        const auto history = [&](std::vector<qint64> *made) {
            random.seed(parser.value(seedOption).toULongLong());
            std::fill(freeFrom.begin(), freeFrom.end(), 0);
            for (int r = 0; r < rooms; ++r)
                order[size_t(r)] = r;
            extraNights.reset();
            percent.reset();
            minuteOfDay.reset();
            for (qint64 b = 1; b <= bookings; ++b) {
                const int nights = std::min(14, 1 + extraNights(random));
                const int p = percent(random);
                const int wanted = p <= 85 ? 1 : p <= 97 ? 2 : 3;
                qint64 arrival = (b - 1) * days / std::max<qint64>(1, bookings);
                // The rooms free on that day, in a random order; when none is,
                // the stay starts on the day the first room comes free.
                std::shuffle(order.begin(), order.end(), random);
                std::vector<int> chosen;
                for (int r : order)
                    if (freeFrom[size_t(r)] <= arrival && int(chosen.size()) < wanted)
                        chosen.push_back(r);
                if (chosen.empty()) {
                    const auto soonest = std::min_element(freeFrom.begin(), freeFrom.end());
                    arrival = *soonest;
                    chosen.push_back(int(soonest - freeFrom.begin()));
                }
                const int time = minuteOfDay(random) * 60 + int(random() % 60);
                const QDate from = first.addDays(arrival);
                const QDate to = from.addDays(nights);
                for (int r : chosen)
                    freeFrom[size_t(r)] = arrival + nights + (departureDayFree ? 0 : 1);

                const QByteArray firstName = kFirstNames[random() % std::size(kFirstNames)];
                const QByteArray lastName = kLastNames[random() % std::size(kLastNames)];
                const qint64 house = 1 + qint64(random() % 200);
                const QByteArray phone = "555-" + QByteArray::number(1000 + qint64(random() % 9000));
                const QDate booked = from.addDays(-qint64(random() % 60));
                const double cost = 40 + double(random() % 120);
                const double adults = 1 + double(random() % 3);
                const double children = double(random() % 3);
                const QByteArray method = random() % 2 ? QByteArray("Card") : QByteArray("Cash");
                if (made) {
                    made->push_back(booked.toJulianDay() * 86400 + time);
                    continue;
                }
                // The key of the booking and of its guest.
                const qint64 id = numbers.empty() ? b : numbers[size_t(b - 1)];
                customer.integer(1, id);
                customer.text(2, firstName);
                customer.text(3, lastName);
                customer.text(4, QByteArray::number(house) + " Harbour Road");
                customer.text(5, kCities[(house + b) % qint64(std::size(kCities))]);
                customer.text(6, "Innland");
                customer.text(7, phone);
                customer.text(8, firstName.toLower() + "." + lastName.toLower() + "@example.org");
                customer.text(9, stored(booked, time));
                customer.run(db);

                const double total = cost * nights * double(chosen.size());
                booking.integer(1, id);
                booking.integer(2, id);
                booking.text(3, stored(from, time));
                booking.text(4, stored(to, time));
                booking.text(5, "Front desk");
                booking.real(6, adults);
                booking.real(7, children);
                booking.real(8, cost);
                booking.text(9, method);
                // Amounts as the program keeps them: to the fourth decimal.
                const auto money = [](double v) { return std::round(v * 10000.0) / 10000.0; };
                booking.real(10, money(total / 10));
                booking.real(11, money(total * 1.1));
                booking.real(12, money(total * 1.1));
                booking.run(db);
                for (int r : chosen) {
                    link.integer(1, id);
                    link.integer(2, r + 1);
                    link.run(db);
                }
            }
        };
        if (parser.isSet(bookedOption)) {
            std::vector<qint64> made;
            made.reserve(size_t(bookings));
            history(&made);
            std::vector<qint64> place(made.size());
            for (size_t i = 0; i < place.size(); ++i)
                place[i] = qint64(i);
            std::stable_sort(place.begin(), place.end(), [&](qint64 a, qint64 b) { return made[size_t(a)] < made[size_t(b)]; });
            numbers.resize(place.size());
            for (size_t n = 0; n < place.size(); ++n)
                numbers[size_t(place[n])] = qint64(n) + 1;
        }
        history(nullptr);
        // Each stay with the status its days tell, as a house upgraded today
        // has them (the guard that asks for a history set aside meanwhile).
        if (!parser.isSet(bareOption)) {
            QByteArray guard;
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_schema WHERE name = 'booking_status_guard'", -1, &stmt, nullptr);
            if (sqlite3_step(stmt) == SQLITE_ROW)
                guard = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
            sqlite3_finalize(stmt);
            exec(db, "DROP TRIGGER IF EXISTS booking_status_guard");
            for (const QString &sql : innkeld::StatusesFromStays(innkeld::Engine::SQLite))
                exec(db, sql.toUtf8().constData());
            if (!guard.isEmpty())
                exec(db, guard.constData());
        }
        exec(db, "COMMIT");
        // No planner statistics: the database is as the program leaves one.
    } catch (const innkeld::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        sqlite3_close(db);
        return 1;
    }
    sqlite3_close(db);
    std::fprintf(stderr, "%s: %d rooms, %lld bookings in %.1f s\n", qPrintable(path), rooms,
                 static_cast<long long>(bookings), double(clock.elapsed()) / 1000);
    return 0;
}
