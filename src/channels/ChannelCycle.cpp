#include "ChannelCycle.h"

#include "data/schema/schema.h"
#include "data/sql/database.h"
#include "data/regional/settings.h"
#include "widgets/LongWork.h"
#include "widgets/uiservices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

#include <algorithm>

namespace innkeld {

ChannelCycle::ChannelCycle(Database &db, UiServices &ui, const SettingsStore &settings, const QString &logFolder,
                           QWidget *window)
    : QObject(window), m_db(db), m_ui(ui), m_settings(settings), m_logFolder(logFolder), m_window(window)
{
    m_hourly.setInterval(60 * 60 * 1000);
    connect(&m_hourly, &QTimer::timeout, this, [this] { importChannels(false); });
}

ChannelCycle::~ChannelCycle() = default;

bool ChannelCycle::guarded(const std::function<void()> &action)
{
    return RunGuarded(m_ui, m_window, action);
}

void ChannelCycle::start()
{
    guarded([this] {
        if (ReadChannelSettings(m_db).autoImport) {
            m_hourly.start();
            QTimer::singleShot(0, this, [this] { importChannels(false); });
        }
    });
}

void ChannelCycle::setHourly(bool on)
{
    if (on)
        m_hourly.start();
    else
        m_hourly.stop();
}

bool ChannelCycle::running() const
{
    return m_fetch || (m_storing && m_storing->running()) || (m_publishing && m_publishing->running());
}

void ChannelCycle::publishFeeds()
{
    if (m_publishing && m_publishing->running()) {
        m_publishAgain = true;  // written again once these are
        return;
    }
    m_publishAgain = false;
    QString folder;
    if (!guarded([&] { folder = ReadChannelSettings(m_db).folder; }) || folder.isEmpty())
        return;  // no feeds are written
    // (Asked again from its own finished signal: deleted once that returns.)
    if (m_publishing)
        m_publishing->deleteLater();
    const QString address = m_db.address();
    m_publishing = new LongWork(m_window, QString(), [address, folder](const LongWork::Progress &) {
        auto db = OpenDatabase(address);
        WriteRoomFeeds(*db, folder, QDate::currentDate(), QDateTime::currentDateTimeUtc());
        return true;
    });
    connect(m_publishing, &LongWork::finished, this, &ChannelCycle::feedsPublished);
    m_publishing->start();
}

void ChannelCycle::feedsPublished(bool, const QString &failure)
{
    if (!failure.isEmpty())
        m_ui.message(m_window, failure, QMessageBox::Critical);
    if (m_publishAgain)
        publishFeeds();
}

void ChannelCycle::importChannels(bool asked)
{
    if (m_fetch || (m_storing && m_storing->running()))
        return;  // an import is running
    QVector<FeedSource> sources;
    if (!guarded([&] { sources = FeedSources(m_db); }))
        return;
    if (sources.isEmpty()) {
        if (asked)
            m_ui.message(m_window, tr("No channel's feed is set up: add them in Configure > Channels..."),
                         QMessageBox::Information);
        return;
    }
    m_fetchAsked = asked;
    // How long a feed may take (seconds, in the desk's settings).
    const int timeout = std::clamp(m_settings.ReadSetting(QStringLiteral("ChannelTimeoutSeconds"), 30).toInt(), 1, 600);
    m_fetch = new ChannelFetch(sources, timeout * 1000, this);
    if (asked) {
        m_fetchProgress = new QProgressDialog(tr("Fetching the channels' bookings..."), tr("&Cancel"),
                                              0, int(sources.size()), m_window);
        m_fetchProgress->setObjectName(QStringLiteral("dlgChannelsProgress"));
        m_fetchProgress->setWindowModality(Qt::WindowModal);
        m_fetchProgress->setMinimumDuration(0);
        m_fetchProgress->setAutoClose(false);
        m_fetchProgress->setAutoReset(false);
        connect(m_fetchProgress, &QProgressDialog::canceled, m_fetch, &ChannelFetch::cancel);
        connect(m_fetch, &ChannelFetch::progress, m_fetchProgress, &QProgressDialog::setValue);
    }
    connect(m_fetch, &ChannelFetch::finished, this, &ChannelCycle::channelsFetched, Qt::QueuedConnection);
    m_fetch->start();
}

void ChannelCycle::channelsFetched(bool cancelled)
{
    ChannelFetch *fetch = m_fetch;
    m_fetch = nullptr;
    fetch->deleteLater();
    delete m_fetchProgress;
    if (cancelled)
        return;  // nothing is stored
    // Each feed on its own: a bad one stores nothing and changes nothing else.
    const QVector<ChannelFetch::Result> results = fetch->results();
    const QString address = m_db.address();
    const auto report = std::make_shared<FeedReport>();
    m_report = report;
    delete m_storing;
    m_storing = new LongWork(m_window, m_fetchAsked ? tr("Storing the channels' bookings...") : QString(),
                             [address, results, report](const LongWork::Progress &progress) {
                                 auto db = OpenDatabase(address);
                                 for (int i = 0; i < results.size(); ++i) {
                                     if (!progress(i, results.size()))
                                         return false;
                                     const ChannelFetch::Result &r = results.at(i);
                                     const FeedReport feed = StoreFetchedFeed(*db, r.source, r.data, r.failure);
                                     report->lines << feed.lines;
                                     report->attention |= feed.attention;
                                 }
                                 return true;
                             });
    connect(m_storing, &LongWork::finished, this, &ChannelCycle::channelsStored);
    m_storing->start();
}

void ChannelCycle::channelsStored(bool completed, const QString &failure)
{
    const std::shared_ptr<FeedReport> stored = std::move(m_report);
    if (!stored)
        return;
    // Line breaks and control characters (of a guest's name, say) written
    // as escapes: one line of the report a line of the log.
    QStringList report;
    for (const QString &line : stored->lines)
        report << EscapedReportLine(line);
    bool attention = stored->attention;
    if (!failure.isEmpty()) {
        report << failure;
        attention = true;
    } else if (!completed) {
        report << tr("Stopped: the feeds not listed were not stored.");
    }
    // The report is kept beside the database (a server's, in the desk's
    // data folder).
    const QString folder = m_db.onServer() ? m_logFolder : QFileInfo(m_db.path()).absolutePath();
    QFile log(QDir(folder).filePath(QStringLiteral("channels.log")));
    if (QDir().mkpath(folder) && log.open(QIODevice::Append | QIODevice::Text)) {
        // Guests' names: no more readable than the database.
        log.setPermissions(DataFilePermissions(m_db));
        log.write(QStringLiteral("%1\n%2\n\n")
                      .arg(QDateTime::currentDateTime().toString(Qt::ISODate), report.join(QLatin1Char('\n')))
                      .toUtf8());
    }
    publishFeeds();
    emit this->stored();
    if (m_fetchAsked || attention)
        m_ui.message(m_window, report.join(QLatin1Char('\n')), attention ? QMessageBox::Warning : QMessageBox::Information,
                     QMessageBox::Ok, tr("Channel Bookings"));
}

}  // namespace innkeld
