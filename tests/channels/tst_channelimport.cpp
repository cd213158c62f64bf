// File > Import Channel Bookings through the real window, against feeds
// served by this test on 127.0.0.1: new events stored, one clashing with a
// booking of the desk, a page that is no feed, a server that never answers;
// then fetched again with an event moved and one gone. The report, its log
// and the shared room's feed written again.
#include "app/frmMain.h"
#include "channels/channelfeeds.h"
#include "data/regional/regional.h"
#include "data/schema/bookingtables.h"
#include "guisupport.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// Answers GET /<name> with the text of that name; a name it has no text for
// is never answered.
class FeedServer : public QTcpServer
{
public:
    QHash<QString, QByteArray> feeds;
    FeedServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    const QString path = QString::fromLatin1(request.split(' ').value(1)).mid(1).section(QLatin1Char('?'), 0, 0);
                    if (path == QLatin1String("trickle")) {
                        // A byte at a time, never silent for long, never done.
                        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/calendar\r\nContent-Length: 100000\r\n\r\nB");
                        auto *drip = new QTimer(socket);
                        connect(drip, &QTimer::timeout, socket, [socket] { socket->write("E"); });
                        drip->start(100);
                        return;
                    }
                    if (path == QLatin1String("packed")) {
                        // Compressed (deflate), and damaged on the way.
                        QByteArray packed = qCompress(QByteArray("BEGIN:VCALENDAR\r\n") + QByteArray(4000, 'x'), 9).mid(4);
                        for (int i = 10; i < 30 && i < packed.size(); ++i)
                            packed[i] = char(0xA5);
                        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/calendar\r\nContent-Encoding: deflate\r\n"
                                      "Content-Length: " + QByteArray::number(packed.size()) + "\r\nConnection: close\r\n\r\n"
                                      + packed);
                        socket->disconnectFromHost();
                        return;
                    }
                    if (path == QLatin1String("missing")) {
                        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                        socket->disconnectFromHost();
                        return;
                    }
                    if (!feeds.contains(path))
                        return;  // never answered
                    const QByteArray body = feeds.value(path);
                    const QByteArray type = body.startsWith("<") ? "text/html" : "text/calendar";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: "
                                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
    }
};

QByteArray calendar(const QStringList &events)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Channel//Test//EN\r\n";
    for (const QString &e : events)
        text += "BEGIN:VEVENT\r\n" + e.toUtf8() + "\r\nDTSTAMP:20261201T100000Z\r\nEND:VEVENT\r\n";
    return text + "END:VCALENDAR\r\n";
}

QString stay(const char *uid, const char *from, const char *to)
{
    return QStringLiteral("UID:%1\r\nDTSTART;VALUE=DATE:%2\r\nDTEND;VALUE=DATE:%3\r\nSUMMARY:Reserved")
        .arg(QLatin1String(uid), QLatin1String(from), QLatin1String(to));
}

}  // namespace

class TestChannelImport : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void importThroughTheWindow();
};

void TestChannelImport::importThroughTheWindow()
{
    FeedServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    server.feeds.insert(QStringLiteral("sea"), calendar({stay("a@ch", "20270101", "20270103"), stay("b@ch", "20270105", "20270107")}));
    server.feeds.insert(QStringLiteral("garden"), calendar({stay("c@ch", "20270111", "20270113")}));
    server.feeds.insert(QStringLiteral("error"), "<!DOCTYPE html><html><body>502 Bad Gateway</body></html>");

    ProgramRun p;
    p.notFirst();
    p.settings->WriteSetting(QStringLiteral("ChannelTimeoutSeconds"), QStringLiteral("1"));
    TempDatabase &t = p.database;
    const RecordId sea = t.addRoom(QStringLiteral("Sea View")), garden = t.addRoom(QStringLiteral("Garden"));
    const RecordId desk = t.addGuest(WallClock(QDate(2027, 1, 10), QTime(14, 0)), WallClock(QDate(2027, 1, 12), QTime(10, 0)),
                                     QStringLiteral("Desk"), QStringLiteral("Gu\nest"), {garden});
    QTemporaryDir folder;
    ChannelSetup setup = ReadChannelSetup(t.db());
    setup.settings.folder = folder.path();
    for (ChannelRoom &room : setup.rooms) {
        room.shared = room.roomId == sea;
        if (room.roomId == sea)
            room.feeds = {ChannelFeed{-1, QStringLiteral("Bookit"), base + QStringLiteral("sea")},
                          ChannelFeed{-1, QStringLiteral("Stayz"), base + QStringLiteral("error")},
                          ChannelFeed{-1, QStringLiteral("Slow"), base + QStringLiteral("never")},
                          ChannelFeed{-1, QStringLiteral("Trickle"), base + QStringLiteral("trickle")}};
        else
            room.feeds = {ChannelFeed{-1, QStringLiteral("Bookit"), base + QStringLiteral("garden")},
                          ChannelFeed{-1, QStringLiteral("Private"),
                                      QString(base).replace(QStringLiteral("//"), QStringLiteral("//agent:s3cret@"))
                                          + QStringLiteral("missing?token=t0ken")},
                          ChannelFeed{-1, QStringLiteral("Packed"), base + QStringLiteral("packed")}};
    }
    SaveChannelSetup(t.db(), setup);

    QCOMPARE(p.run(), 0);
    const auto import = [&] {
        const int before = int(p.ui.messages.size());
        p.main()->findChild<QAction *>(QStringLiteral("mnuFileImportChannels"))->trigger();
        [&] { QTRY_COMPARE_WITH_TIMEOUT(int(p.ui.messages.size()), before + 1, 20000); }();
        return p.ui.messages.last().text.split(QLatin1Char('\n'));
    };
    QStringList report = import();
    QCOMPARE(report.size(), 8);
    QCOMPARE(report.at(0), QStringLiteral("Bookit, room Sea View: 2 new, 0 moved, 0 removed, 0 as they were."));
    QVERIFY2(report.at(1).startsWith(QStringLiteral("Stayz, room Sea View: This is not an iCalendar feed.")), qPrintable(report.at(1)));
    QVERIFY2(report.at(2).startsWith(QStringLiteral("Slow, room Sea View: could not be fetched (no answer in 1 seconds")),
             qPrintable(report.at(2)));
    // A server that sends a byte at a time: the whole transfer has the
    // same seconds as the silence.
    QCOMPARE(report.takeAt(3), QStringLiteral("Trickle, room Sea View: could not be fetched (the server sent it too "
                                              "slowly: not whole after 1 seconds); nothing was stored."));
    QCOMPARE(report.at(3), QStringLiteral("Bookit, room Garden: 0 new, 0 moved, 0 removed, 0 as they were."));
    QCOMPARE(report.at(4), QStringLiteral("  Not stored, it clashes: Room Garden, 1/11/2027 to 1/13/2027, Bookit: "
                                          "booking %1 (Desk Gu\\nest) holds it").arg(desk));
    // A feed's user, password and token are in no report and no log.
    QVERIFY2(report.at(5).startsWith(QStringLiteral("Private, room Garden: could not be fetched (")), qPrintable(report.at(5)));
    QCOMPARE(report.at(6), QStringLiteral("Packed, room Garden: could not be fetched (the feed came compressed (gzip or "
                                          "deflate) and could not be unpacked: it is damaged, or larger unpacked than a "
                                          "feed can be (32 MB)); nothing was stored."));
    QCOMPARE(p.ui.messages.last().icon, QMessageBox::Warning);
    QCOMPARE(t.count(QStringLiteral("booking")), 3);
    QFile log(QDir(t.folder()).filePath(QStringLiteral("channels.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    QVERIFY(logged.contains("Not stored, it clashes: Room Garden"));
    QVERIFY(logged.contains("(Desk Gu\\nest)"));
    for (const char *secret : {"agent", "s3cret", "t0ken"}) {
        QVERIFY2(!logged.contains(secret), secret);
        QVERIFY2(!report.join(QLatin1Char('\n')).contains(QLatin1String(secret)), secret);
    }
    // Guests' names: the log is no more readable than the database.
    QCOMPARE(log.permissions(), QFile::permissions(t.path()));
    // The shared room's feed holds what the channel sold, once it is written.
    const auto published = [&] {
        QFile feed(QDir(folder.path()).filePath(QStringLiteral("Sea View.ics")));
        return feed.open(QIODevice::ReadOnly) ? int(ParseFeed(feed.readAll()).events.size()) : -1;
    };
    QTRY_COMPARE_WITH_TIMEOUT(published(), 2, 20000);
    // Asked again while they are written: written once more after, then quiet.
    QFile::remove(QDir(folder.path()).filePath(QStringLiteral("Sea View.ics")));
    for (int i = 0; i < 3; ++i)
        QVERIFY(QMetaObject::invokeMethod(p.main(), "publishFeeds"));
    QTRY_VERIFY_WITH_TIMEOUT(!p.main()->isWorking(), 20000);
    QCOMPARE(published(), 2);

    // Fetched again: one moved, one gone; the desk's booking untouched.
    server.feeds.insert(QStringLiteral("sea"), calendar({stay("a@ch", "20270102", "20270104")}));
    server.feeds.remove(QStringLiteral("never"));
    report = import();
    QCOMPARE(report.at(0), QStringLiteral("Bookit, room Sea View: 0 new, 1 moved, 1 removed, 0 as they were."));
    // The one gone is kept, cancelled on the channel, its room free again.
    QCOMPARE(t.count(QStringLiteral("booking")), 3);
    QCOMPARE(t.run(QStringLiteral("SELECT Reason FROM bookingstatus")).text(0), QStringLiteral("channel"));
    QCOMPARE(t.count(QStringLiteral("releasedroom")), 1);
    QVERIFY(BookingExists(t.db(), desk));
}

QTEST_MAIN(TestChannelImport)
#include "tst_channelimport.moc"
