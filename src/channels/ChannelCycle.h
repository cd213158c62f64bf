// The channels' cycle at a desk: their feeds fetched (from the menu, at
// start-up and every hour when the house asks), stored on a thread and
// connection of their own, the report logged beside the database and
// shown when asked for or when something needs the operator, and the
// shared rooms' feeds written again whenever what the house sold changed.
// The main window starts it and listens to `stored`.
#pragma once

#include "channels/ChannelFetch.h"
#include "channels/channelfeeds.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>

class QProgressDialog;
class QWidget;

namespace innkeld {

class Database;
class LongWork;
class SettingsStore;
class UiServices;

class ChannelCycle : public QObject
{
    Q_OBJECT
public:
    // `window` owns the progress and the messages; `logFolder` keeps the
    // log of a server's database (a file's is kept beside it).
    ChannelCycle(Database &db, UiServices &ui, const SettingsStore &settings, const QString &logFolder,
                 QWidget *window);
    ~ChannelCycle() override;

    // The hourly fetch and a first one now, when the house asks for them.
    void start();
    // The house's choice changed (Configure > Channels...).
    void setHourly(bool on);
    // Fetches every feed and stores its events; `asked` from the menu (a
    // progress with Cancel, and the report shown whatever it says).
    void importChannels(bool asked);
    // Writes the shared rooms' feeds again; asked while they are being
    // written, they are written once more after.
    void publishFeeds();
    // Something is being fetched, stored or written.
    bool running() const;

signals:
    // Feeds were stored: the bookings may have changed.
    void stored();

private:
    void channelsFetched(bool cancelled);
    void channelsStored(bool completed, const QString &failure);
    void feedsPublished(bool completed, const QString &failure);
    bool guarded(const std::function<void()> &action);

    Database &m_db;
    UiServices &m_ui;
    const SettingsStore &m_settings;
    QString m_logFolder;
    QWidget *m_window;
    QTimer m_hourly;
    ChannelFetch *m_fetch = nullptr;  // the channels' feeds being fetched
    bool m_fetchAsked = false;         // from the menu, not by the hour
    QPointer<QProgressDialog> m_fetchProgress;
    LongWork *m_storing = nullptr;      // the feeds fetched being stored
    std::shared_ptr<FeedReport> m_report;  // what the storing says, all feeds
    LongWork *m_publishing = nullptr;  // the shared rooms' feeds being written
    bool m_publishAgain = false;       // the house changed while they were
};

}  // namespace innkeld
