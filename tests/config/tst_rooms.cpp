// The rooms dialog driven as an operator would: add, remove with each
// answer, OK, Cancel, reopening, a failing OK, and the first run.
#include "app/frmMain.h"
#include "config/frmConfigRooms.h"
#include "config/roomlist.h"
#include "guisupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

QStringList items(frmConfigRooms *d)
{
    QStringList out;
    for (int i = 0; i < child<QListWidget>(d, "lstRooms")->count(); ++i)
        out << child<QListWidget>(d, "lstRooms")->item(i)->text();
    return out;
}

QStringList roomNames(TempDatabase &t)
{
    QStringList out;
    for (Recordset rs = t.run(QStringLiteral("SELECT id, name FROM room")); !rs.eof(); rs.moveNext())
        out << rs.text(QStringLiteral("name"));
    return out;
}

void click(frmConfigRooms *d, const char *button)
{
    QTest::mouseClick(child<QPushButton>(d, button), Qt::LeftButton);
}

void typeName(frmConfigRooms *d, const QString &name)
{
    child<QLineEdit>(d, "txtName")->setFocus();
    child<QLineEdit>(d, "txtName")->clear();
    QTest::keyClicks(child<QLineEdit>(d, "txtName"), name);
}

void select(frmConfigRooms *d, int row)
{
    QListWidget *list = child<QListWidget>(d, "lstRooms");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

}  // namespace

class TestRooms : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void firstRunAddsRooms();
    void addAndRemoveBeforeOk();
    void removingBookedRoomsWithEachAnswer();
    void reopeningAfterCancel();
    void failingOkKeepsTheEdits();

private:
    // Opens Configure > Rooms... on the running program and runs `act` in it.
    bool openRooms(ProgramRun &p, std::function<void(frmConfigRooms *)> act)
    {
        auto watch = whenModal<frmConfigRooms>(std::move(act));
        p.main()->findChild<QAction *>(QStringLiteral("mnuConfigureRooms"))->trigger();
        return watch->seen;
    }
};

void TestRooms::firstRunAddsRooms()
{
    ProgramRun p;
    p.onRoomsDialog = [](frmConfigRooms *d) {
        QVERIFY(d->isModal());
        QCOMPARE(items(d), QStringList{});
        typeName(d, QStringLiteral("Garden"));
        click(d, "cmdAdd");
        typeName(d, QStringLiteral("Sea View"));
        QTest::keyClick(child<QLineEdit>(d, "txtName"), Qt::Key_Return);  // Enter adds too
        QCOMPARE(child<QLineEdit>(d, "txtName")->text(), QString());
        click(d, "cmdAdd");  // empty name: nothing
        QCOMPARE(items(d), (QStringList{QStringLiteral("Garden"), QStringLiteral("Sea View")}));
        QCOMPARE(d->RoomEntryCount(), 2);
        QVERIFY(d->isVisible());  // Enter did not close the dialog
        click(d, "cmdOk");
    };
    QCOMPARE(p.run(), 0);
    QVERIFY(p.roomsDialogSeen());
    QCOMPARE(roomNames(p.database), (QStringList{QStringLiteral("Garden"), QStringLiteral("Sea View")}));
    QVERIFY(p.main()->isVisible());
}

void TestRooms::addAndRemoveBeforeOk()
{
    ProgramRun p;
    p.notFirst();
    const RecordId free = p.database.addRoom(QStringLiteral("Free"));
    p.database.addRoom(QStringLiteral("Kept"));
    QCOMPARE(p.run(), 0);
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        typeName(d, QStringLiteral("Twin"));
        click(d, "cmdAdd");
        typeName(d, QStringLiteral("Double"));
        click(d, "cmdAdd");
        typeName(d, QStringLiteral("Gone soon"));
        click(d, "cmdAdd");
        QCOMPARE(items(d).size(), 5);
        select(d, 4);
        click(d, "cmdRemove");  // an added room: no question
        select(d, 0);
        click(d, "cmdRemove");  // a stored room without bookings: no question
        QCOMPARE(items(d), (QStringList{QStringLiteral("Kept"), QStringLiteral("Twin"), QStringLiteral("Double")}));
        QCOMPARE(d->RoomEntryCount(), 3);
        QCOMPARE(d->RoomEntries().size(), 4);
        QCOMPARE(d->RoomEntries()[1].Name, QStringLiteral("Kept"));
        QCOMPARE(d->RoomEntries()[2].Id, RecordId(-1));
        // After a removal nothing is selected: Remove again, by click or by
        // its accelerator, takes no room the operator did not choose.
        click(d, "cmdRemove");
        QSignalSpy removed(child<QPushButton>(d, "cmdRemove"), &QPushButton::clicked);
        // An accelerator acts once the dialog is the active window, with an
        // animated click a moment later: pressed until its click is seen.
        QTRY_VERIFY_WITH_TIMEOUT(removed.count() > 0
                                     || (QTest::keyClick(d, Qt::Key_R, Qt::AltModifier), removed.count() > 0),
                                 30000);
        QCOMPARE(d->RoomEntryCount(), 3);
        click(d, "cmdOk");
    }));
    QVERIFY(p.ui.messages.isEmpty());
    QCOMPARE(roomNames(p.database), (QStringList{QStringLiteral("Kept"), QStringLiteral("Twin"), QStringLiteral("Double")}));

    // A name another room has is refused as it is added, naming that room;
    // the name stays in the box to be changed.
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        typeName(d, QStringLiteral(" twin "));
        click(d, "cmdAdd");
        QCOMPARE(items(d).size(), 3);
        QCOMPARE(child<QLineEdit>(d, "txtName")->text(), QStringLiteral(" twin "));
        click(d, "cmdCancel");
    }));
    QCOMPARE(p.ui.messages.size(), 1);
    QCOMPARE(p.ui.messages.takeFirst().text, RoomNameTakenText(QStringLiteral("Twin")));
    QCOMPARE(p.database.run(QStringLiteral("SELECT count(*) FROM room WHERE id = %1").arg(free)).value(0).toInt(), 0);
}

void TestRooms::removingBookedRoomsWithEachAnswer()
{
    ProgramRun p;
    p.notFirst();
    TempDatabase &t = p.database;
    const RecordId a = t.addRoom(QStringLiteral("Attic"));
    const RecordId b = t.addRoom(QStringLiteral("Barn"));
    const QDateTime now(QDate::currentDate(), QTime(14, 0));
    t.allowClashes(true);  // stored by an earlier version: both hold Barn
    t.addGuest(now, now.addDays(2), QStringLiteral("Both"), QStringLiteral("Rooms"), {a, b});
    t.addGuest(now, now.addDays(1), QStringLiteral("Barn"), QStringLiteral("Only"), {b});
    QCOMPARE(p.run(), 0);

    // No, then Cancel: the item stays; Yes, then the dialog's Cancel: nothing written.
    p.ui.answers = {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Yes};
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        QCOMPARE(items(d), (QStringList{QStringLiteral("Attic (is booked)"), QStringLiteral("Barn (is booked)")}));
        select(d, 1);
        click(d, "cmdRemove");
        QCOMPARE(items(d).size(), 2);
        select(d, 1);
        click(d, "cmdRemove");
        QCOMPARE(items(d).size(), 2);
        select(d, 1);
        click(d, "cmdRemove");
        QCOMPARE(items(d), QStringList{QStringLiteral("Attic (is booked)")});
        click(d, "cmdCancel");
    }));
    QCOMPARE(p.ui.messages.size(), 3);
    const FakeUi::Message &question = p.ui.messages.first();
    // The question names the bookings, and says they are kept.
    QVERIFY2(question.text.startsWith(QStringLiteral("This room is currently in use by one or more bookings, deleting it "
                                                     "will also cause those bookings to be deleted. Delete room?\n\n")),
             qPrintable(question.text));
    QVERIFY(question.text.contains(QStringLiteral("Both Rooms, ")));
    QVERIFY(question.text.contains(QStringLiteral("Barn Only, ")));
    QVERIFY(question.text.contains(QStringLiteral("cancelled by the house")));
    QCOMPARE(question.title, QStringLiteral("Confirm Delete?"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(t.count(QStringLiteral("room")), 2);
    QCOMPARE(t.count(QStringLiteral("booking")), 2);

    // Yes, then OK: both bookings are kept, cancelled by the house, their
    // rooms (Attic too) free.
    p.ui.answers = {QMessageBox::Yes};
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        select(d, 1);
        click(d, "cmdRemove");
        click(d, "cmdOk");
    }));
    QCOMPARE(roomNames(t), QStringList{QStringLiteral("Attic")});
    QCOMPARE(t.run(QStringLiteral("SELECT count(*) FROM booking WHERE Status = 'cancelled'")).value(0).toInt(), 2);
    QCOMPARE(t.count(QStringLiteral("customer")), 2);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 0);
    // So the other room is no longer marked as booked.
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        QCOMPARE(items(d), QStringList{QStringLiteral("Attic")});
        click(d, "cmdCancel");
    }));
}

void TestRooms::reopeningAfterCancel()
{
    ProgramRun p;
    p.notFirst();
    p.database.addRoom(QStringLiteral("One"));
    QCOMPARE(p.run(), 0);
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        typeName(d, QStringLiteral("Two"));
        click(d, "cmdAdd");
        select(d, 0);
        click(d, "cmdRemove");
        QCOMPARE(items(d), QStringList{QStringLiteral("Two")});
        click(d, "cmdCancel");
    }));
    QCOMPARE(roomNames(p.database), QStringList{QStringLiteral("One")});
    QVERIFY(openRooms(p, [](frmConfigRooms *d) {
        QCOMPARE(items(d), QStringList{QStringLiteral("One")});
        QCOMPARE(d->RoomEntryCount(), 1);
        QTest::keyClick(d, Qt::Key_Escape);  // Esc cancels as well
    }));
    QCOMPARE(roomNames(p.database), QStringList{QStringLiteral("One")});
}

void TestRooms::failingOkKeepsTheEdits()
{
    ProgramRun p;
    p.notFirst();
    TempDatabase &t = p.database;
    const RecordId locked = t.addRoom(QStringLiteral("Locked"));
    const QDateTime now(QDate::currentDate(), QTime(14, 0));
    t.addGuest(now, now.addDays(2), QStringLiteral("Held"), QStringLiteral("Guest"), {locked});
    t.run(QStringLiteral("CREATE TRIGGER keep_locked BEFORE DELETE ON room WHEN old.name = 'Locked' "
                         "BEGIN SELECT RAISE(ABORT, 'room is locked'); END"));
    QCOMPARE(p.run(), 0);
    bool stayedOpen = false;
    QVERIFY(openRooms(p, [&](frmConfigRooms *d) {
        typeName(d, QStringLiteral("Added"));
        click(d, "cmdAdd");
        select(d, 0);
        click(d, "cmdRemove");  // answered Yes by default
        click(d, "cmdOk");
        stayedOpen = d->isVisible();
        QCOMPARE(items(d), QStringList{QStringLiteral("Added")});
        click(d, "cmdCancel");
    }));
    QVERIFY(stayedOpen);
    QCOMPARE(p.ui.messages.size(), 2);
    QVERIFY2(p.ui.messages.last().text.contains(QStringLiteral("room is locked")), qPrintable(p.ui.messages.last().text));
    QCOMPARE(roomNames(t), QStringList{QStringLiteral("Locked")});
    QCOMPARE(t.count(QStringLiteral("booking")), 1);
    QCOMPARE(t.count(QStringLiteral("customer")), 1);
    QCOMPARE(t.count(QStringLiteral("bookingroom")), 1);
}

QTEST_MAIN(TestRooms)
#include "tst_rooms.moc"
