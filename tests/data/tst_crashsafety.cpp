// A crash never costs an acknowledged step: a writer process saves wizard
// steps in a loop through the program's own code and is killed at random
// moments; after each kill the file is whole, every step the writer
// reported done is there whole, and no step is there in part.
// INNKELD_KILLS sets the number of kills (20 by default).
#include "data/regional/regional.h"
#include "booking/bookingstore.h"
#include "testsupport.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

constexpr RecordId kRooms = 3;

QDate deskDay(RecordId id)
{
    return QDate(2030, 1, 1).addDays(4 * id);
}

// The step a booking's row shows: -1 before its dates were saved, up to 3
// when its payment is there; -2 when something is there only in part.
int stepOnDisk(TempDatabase &t, RecordId id)
{
    Recordset b = t.run(QStringLiteral("SELECT * FROM booking WHERE id = %1").arg(id));
    const QDate day = deskDay(id);
    const QDateTime from = b.value(QStringLiteral("FromDate")).toDateTime();
    const QDateTime to = b.value(QStringLiteral("ToDate")).toDateTime();
    const bool created = from == WallClock(day, QTime(12, 0)) && to == WallClock(day.addDays(1), QTime(12, 0))
        && b.text(QStringLiteral("BookedBy")).isEmpty();
    const bool dated = from == WallClock(day, QTime(12, 0)) && to == WallClock(day.addDays(2), QTime(12, 0))
        && b.text(QStringLiteral("BookedBy")) == QStringLiteral("Desk %1").arg(id);
    if (!created && !dated)
        return -2;
    int step = created ? -1 : 0;
    Recordset links = t.run(QStringLiteral("SELECT roomid FROM bookingroom WHERE bookingid = %1").arg(id));
    if (!links.eof()) {
        if (step < 0 || links.value(0).toLongLong() != 1 + id % kRooms)
            return -2;
        links.moveNext();
        if (!links.eof())
            return -2;
        step = 1;
    }
    const RecordId customer = b.value(QStringLiteral("CustomerID")).toLongLong();
    if (customer != 0) {
        Recordset c = t.run(QStringLiteral("SELECT * FROM customer WHERE id = %1").arg(customer));
        if (step < 1 || c.eof() || b.value(QStringLiteral("NoAdults")).toDouble() != double(id % 5 + 1))
            return -2;
        for (size_t i = 0; i < kCustomerColumns.size(); ++i)
            if (c.text(QLatin1String(kCustomerColumns[i])) != QStringLiteral("C%1-%2").arg(id).arg(i))
                return -2;
        step = 2;
    } else if (b.value(QStringLiteral("NoAdults")).toDouble() != 0) {
        return -2;  // counts without their customer: a step in part
    }
    if (!b.text(QStringLiteral("PaymentMethod")).isEmpty()) {
        if (step < 2 || b.text(QStringLiteral("PaymentMethod")) != QStringLiteral("M%1").arg(id)
            || b.text(QStringLiteral("CreditCardType")) != QStringLiteral("T%1").arg(id)
            || b.value(QStringLiteral("SalesTax")).toDouble() != double(id % 100) + 0.5)
            return -2;
        step = 3;
    }
    return step;
}

}  // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedWriterLosesNoAcknowledgedStep();
};

void TestCrashSafety::killedWriterLosesNoAcknowledgedStep()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    const int kills = qEnvironmentVariableIsSet("INNKELD_KILLS") ? qEnvironmentVariableIntValue("INNKELD_KILLS") : 20;
    TempDatabase t;
    for (int r = 0; r < kRooms; ++r)
        t.addRoom(QStringLiteral("R%1").arg(r));
    QMap<RecordId, int> reported;  // booking -> the last step reported done (9: created)
    QRandomGenerator random(20261207);
    for (int kill = 0; kill < kills; ++kill) {
        QProcess writer;
        writer.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        writer.start(qEnvironmentVariable("INNKELD_DESK"), {QStringLiteral("write"), t.path()});
        QVERIFY(writer.waitForStarted());
        QTest::qWait(40 + int(random.bounded(260)));
        QVERIFY2(writer.state() == QProcess::Running, writer.readAllStandardError().constData());
        writer.kill();  // SIGKILL
        QVERIFY(writer.waitForFinished());
        for (const QByteArray &line : writer.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "done") {
                const int step = words[2].toInt() == 9 ? -1 : words[2].toInt();
                reported[words[1].toLongLong()] = std::max(reported.value(words[1].toLongLong(), -1), step);
            }
        }
        QCOMPARE(t.run(QStringLiteral("PRAGMA integrity_check")).text(0), QStringLiteral("ok"));
        for (Recordset rs = t.run(QStringLiteral("SELECT id FROM booking")); !rs.eof(); rs.moveNext()) {
            const RecordId id = rs.value(0).toLongLong();
            const int onDisk = stepOnDisk(t, id);
            QVERIFY2(onDisk != -2, qPrintable(QStringLiteral("booking %1 is there in part").arg(id)));
            QVERIFY2(onDisk >= reported.value(id, -1),
                     qPrintable(QStringLiteral("booking %1: step %2 reported, %3 on disk").arg(id).arg(reported.value(id)).arg(onDisk)));
        }
        for (auto it = reported.cbegin(); it != reported.cend(); ++it)
            QVERIFY2(t.run(QStringLiteral("SELECT id FROM booking WHERE id = %1").arg(it.key())).rowCount() == 1,
                     qPrintable(QStringLiteral("booking %1 reported, not there").arg(it.key())));
    }
    QVERIFY2(reported.size() > kills, "the writer got far enough to be killed in the middle of things");
    qInfo("%d kills survived, %lld bookings written", kills, static_cast<long long>(reported.size()));
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
