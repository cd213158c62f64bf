// Fuzz target: a channel's feed read by libical (ParseFeed). Its promises:
// nothing crashes; a feed taken has only events with a UID, once each, and
// an arrival before the departure; a feed refused has no events and says
// why.
#include "channels/channelfeeds.h"

#include <QSet>

#include <cstdio>
#include <cstdlib>

using namespace innkeld;

namespace {

[[noreturn]] void broken(const char *promise)
{
    std::fprintf(stderr, "promise broken: %s\n", promise);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ParsedFeed feed = ParseFeed(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    if (!feed.ok()) {
        if (!feed.events.isEmpty())
            broken("a feed refused has no events");
        return 0;
    }
    QSet<QString> uids;
    for (const FeedEvent &e : feed.events) {
        if (e.uid.isEmpty() || uids.contains(e.uid))
            broken("each event has its own UID");
        uids.insert(e.uid);
        if (!e.from.isValid() || !e.to.isValid() || e.to <= e.from)
            broken("an event arrives before it departs");
    }
    return 0;
}
