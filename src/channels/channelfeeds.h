// The rooms' calendars shared with booking channels as iCalendar (RFC 5545)
// feeds, read and written by libical: what the house has sold, one feed per
// shared room, and what the channels have sold, each event of a channel's
// feed a booking of its room.
#pragma once

#include "data/sql/database.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace innkeld {

// What every desk shares of the channels (the one row of channelsettings).
struct ChannelSettings
{
    QString folder;           // where the shared rooms' feeds are written
    bool autoImport = false;  // fetch the channels at start-up and every hour
};
ChannelSettings ReadChannelSettings(Database &db);

// A channel's feed of a room: where it is fetched from (an http:// or
// https:// address, or a file) and the channel's short name.
struct ChannelFeed
{
    RecordId id = -1;  // channelfeed.id; -1 for one added and not yet stored
    QString channel, address;
};

// A room of the house as the channels dialog edits it.
struct ChannelRoom
{
    RecordId roomId = 0;
    QString name;
    bool shared = false;
    QVector<ChannelFeed> feeds;
};

struct ChannelSetup
{
    ChannelSettings settings;
    QVector<ChannelRoom> rooms;  // every room of the house, in its order
};
ChannelSetup ReadChannelSetup(Database &db);
// Stores the settings, which rooms are shared and their feeds, in one
// transaction: a feed no longer listed goes (its bookings stay, as the
// desk's), one with id -1 is added. Throws DbError.
void SaveChannelSetup(Database &db, const ChannelSetup &setup);

// Every feed to fetch, with its room's name.
struct FeedSource
{
    RecordId feedId = 0, roomId = 0;
    QString room, channel, address;
};
QVector<FeedSource> FeedSources(Database &db);

// The name of a room's feed file, safe on every file system: the room's
// name with only letters, digits, blanks, '-' and '_' kept, never a name a
// system reserves, ".ics" after it.
QString FeedFileName(const QString &roomName, RecordId roomId);

// The feed of one room: each stay that holds it and has not ended before
// `today` as one event ("Booked", no guest data), its UID stable for the
// booking and the room, stamped `stamp` (UTC). The event ends on the
// departure day, or on the day after it while a room is booked only from
// the day after its guest leaves. Throws DbError.
QByteArray RoomFeed(Database &db, RecordId roomId, const QDate &today, const QDateTime &stamp);

// Writes the feed of every shared room into `folder` (FeedFileName), each
// through a temporary file put in place whole: a channel never reads half a
// file. A feed whose stays are those of the file already there is left as
// it is. Returns the feeds' files. Throws DbError with the system's text.
QStringList WriteRoomFeeds(Database &db, const QString &folder, const QDate &today, const QDateTime &stamp);

// One event of a channel's feed, as days of the house.
struct FeedEvent
{
    QString uid;
    QDate from, to;  // arrival and departure day
    QString summary;
};

// A channel's feed read: its events, or what is wrong with it (not
// iCalendar, damaged or cut short); nothing is taken from a feed that has
// something wrong.
struct ParsedFeed
{
    QVector<FeedEvent> events;
    QString problem;
    int zoned = 0;  // events whose times had a time zone (made days of the house)
    QString notes;  // the events left out and why, on one line (empty: none)
    bool ok() const { return problem.isEmpty(); }
};
// The most events a feed may hold; one with more is refused whole.
constexpr int kMostFeedEvents = 5000;
ParsedFeed ParseFeed(const QByteArray &data);

// What storing a feed's events did.
struct FeedOutcome
{
    int added = 0, moved = 0, removed = 0, unchanged = 0;
    QStringList clashes;  // "Room …, 5/6/2026 to 5/8/2026, Channel: booking 12 (Anna Lee) holds it"
};

// Stores the events of the feed `feedId` (its room and channel from
// channelfeed) in one transaction: a new event becomes a booking of the
// room with a customer named after the channel and the event's summary in
// its notes; an event seen before moves its booking; a booking of the feed
// whose event is gone is removed. An event that clashes with a booking
// stored is not stored and is listed. Bookings made at the desk are never
// touched. Throws DbError (nothing is then stored).
FeedOutcome StoreFeedEvents(Database &db, RecordId feedId, const QVector<FeedEvent> &events);

// One feed of an import read and stored (nothing, when it could not be
// fetched, `failure`, or read), as the import's report tells it: a line for
// the feed, one for each event not stored; `attention` when the operator is
// to look at it.
struct FeedReport
{
    QStringList lines;
    bool attention = false;
};
// A feed's address as reports and logs show it: without the user and
// password before the host, the query (?token=...) and the fragment.
QString FeedAddressForReport(const QString &address);
// `text` (a fetch's failure, which may quote the address) with the address
// as FeedAddressForReport shows it.
QString WithoutFeedSecrets(QString text, const QString &address);
// One line of a report as a log keeps it: line breaks and other control
// characters (of a guest's name, say) written as escapes.
QString EscapedReportLine(const QString &line);

FeedReport StoreFetchedFeed(Database &db, const FeedSource &source, const QByteArray &data, const QString &failure);

}  // namespace innkeld
