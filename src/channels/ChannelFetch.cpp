#include "ChannelFetch.h"

#include <QCoreApplication>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace innkeld {

ChannelFetch::ChannelFetch(QVector<FeedSource> sources, int timeoutMs, QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_timeoutMs(timeoutMs)
{
    for (FeedSource &s : sources)
        m_results << Result{std::move(s), QByteArray(), QString()};
    connect(m_network, &QNetworkAccessManager::finished, this, &ChannelFetch::replyFinished);
}

ChannelFetch::~ChannelFetch() = default;

void ChannelFetch::start()
{
    m_pending = int(m_results.size());
    for (int i = 0; i < m_results.size(); ++i) {
        Result &r = m_results[i];
        const QString address = r.source.address.trimmed();
        const QUrl url(address, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
            QNetworkRequest request(url);
            request.setTransferTimeout(m_timeoutMs);
            request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
            QNetworkReply *reply = m_network->get(request);
            reply->setProperty("innkeldFeed", i);
            reply->setReadBufferSize(0);
            // The whole transfer within the same seconds: a server that
            // trickles a byte at a time is never silent long enough for the
            // transfer's own timeout.
            QTimer::singleShot(m_timeoutMs, reply, [reply] {
                if (reply->isFinished())
                    return;
                reply->setProperty("innkeldDeadline", true);
                reply->abort();
            });
            connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
                reply->setProperty("innkeldReceived", received);
                if (received > kLargestFeed) {
                    reply->setProperty("innkeldTooLarge", true);
                    reply->abort();
                }
            });
            continue;
        }
        // A file: read here, at once.
        QFile file(url.isLocalFile() ? url.toLocalFile() : address);
        if (!file.open(QIODevice::ReadOnly))
            r.failure = file.errorString();
        else if (file.size() > kLargestFeed)
            r.failure = QCoreApplication::translate("Channels", "The file is larger than a feed can be.");
        else
            r.data = file.readAll();
        --m_pending;
        emit progress(int(m_results.size()) - m_pending, int(m_results.size()));
    }
    if (m_pending == 0)
        done();
}

void ChannelFetch::cancel()
{
    m_cancelled = true;
    const QList<QNetworkReply *> replies = m_network->findChildren<QNetworkReply *>();
    for (QNetworkReply *reply : replies)
        reply->abort();
}

void ChannelFetch::replyFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    const int i = reply->property("innkeldFeed").toInt();
    if (i < 0 || i >= m_results.size())
        return;
    Result &r = m_results[i];
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->property("innkeldTooLarge").toBool())
        r.failure = QStringLiteral("the feed is larger than a feed can be (%1 MB)").arg(kLargestFeed / (1024 * 1024));
    else if (reply->error() == QNetworkReply::OperationCanceledError && reply->property("innkeldDeadline").toBool()
        && reply->property("innkeldReceived").toLongLong() > 0)
        r.failure = QStringLiteral("the server sent it too slowly: not whole after %1 seconds")
                        .arg(m_timeoutMs / 1000);
    else if (reply->error() == QNetworkReply::OperationCanceledError && !m_cancelled)
        r.failure = QStringLiteral("no answer in %1 seconds").arg(m_timeoutMs / 1000);
    else if (reply->error() != QNetworkReply::NoError && reply->errorString().startsWith(QLatin1String("Decompression failed")))
        r.failure = QStringLiteral("the feed came compressed (gzip or deflate) and could not be unpacked: it is damaged, "
                                   "or larger unpacked than a feed can be (%1 MB)")
                        .arg(kLargestFeed / (1024 * 1024));
    else if (reply->error() != QNetworkReply::NoError)
        r.failure = reply->errorString();
    else if (status >= 400)
        r.failure = QCoreApplication::translate("Channels", "The server answered %1 %2.")
                        .arg(status)
                        .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    else
        r.data = reply->readAll();
    --m_pending;
    emit progress(int(m_results.size()) - m_pending, int(m_results.size()));
    if (m_pending == 0)
        done();
}

void ChannelFetch::done()
{
    // Once: the progress shown may let another feed's end be handled while
    // this one's is (a modal progress dialog runs the events).
    if (m_told)
        return;
    m_told = true;
    emit finished(m_cancelled);
}

}  // namespace innkeld
