// Fetches the channels' feeds: each address over HTTP or HTTPS (with a
// timeout), or a file, all at once; says how far it is and hands back each
// feed's text or why it could not be had.
#pragma once

#include "channels/channelfeeds.h"

#include <QObject>
#include <QVector>

class QNetworkAccessManager;
class QNetworkReply;

namespace innkeld {

class ChannelFetch : public QObject
{
    Q_OBJECT
public:
    struct Result
    {
        FeedSource source;
        QByteArray data;
        QString failure;  // empty when fetched
    };

    // `timeoutMs`: how long a feed may go without a byte.
    ChannelFetch(QVector<FeedSource> sources, int timeoutMs, QObject *parent = nullptr);
    ~ChannelFetch() override;

    void start();
    // Stops the fetches still running; finished follows.
    void cancel();
    const QVector<Result> &results() const { return m_results; }

signals:
    void progress(int done, int total);
    void finished(bool cancelled);

private slots:
    void replyFinished(QNetworkReply *reply);

private:
    void done();

    QVector<Result> m_results;
    QNetworkAccessManager *m_network = nullptr;
    int m_timeoutMs;
    int m_pending = 0;
    bool m_cancelled = false;
    bool m_told = false;  // finished emitted
};

// A feed of more than this is refused, not read into memory.
constexpr qint64 kLargestFeed = 32 * 1024 * 1024;

}  // namespace innkeld
