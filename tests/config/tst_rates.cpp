// The rates dialog as the operator fills it: a category, a season with its price and a
// length-of-stay price typed in and stored for every desk; what cannot be
// priced refused with its field focused and nothing stored.
#include "config/frmConfigRooms.h"
#include "config/frmRates.h"
#include "data/schema/schema.h"
#include "fakeui.h"
#include "guisupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// Types into a cell as the operator does: F2, the text, Enter.
void typeCell(QTableWidget *table, int row, int column, const QString &text)
{
    table->setFocus();
    table->setCurrentCell(row, column);
    QTest::keyClick(table, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != table);
    if (auto *box = qobject_cast<QLineEdit *>(editor))
        box->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

}  // namespace

class TestRates : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void ratesTypedInAndStoredForEveryDesk();
};

void TestRates::ratesTypedInAndStoredForEveryDesk()
{
    TempDatabase t;
    FakeUi ui;
    frmRates dialog(t.db(), ui);
    dialog.Setup();
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *categories = child<QTableWidget>(&dialog, "tblCategories");
    auto *tabs = child<QTabWidget>(&dialog, "tabRates");
    const auto click = [&](const char *button) { QTest::mouseClick(child<QPushButton>(&dialog, button), Qt::LeftButton); };
    QCOMPARE(categories->rowCount(), 1);
    QCOMPARE(categories->item(0, 0)->text(), QStringLiteral("Standard"));

    // A second category, Double, at 90.00 with Fridays at 110.00.
    click("cmdAddCategory");
    QCOMPARE(categories->rowCount(), 2);
    typeCell(categories, 1, 0, QStringLiteral("Double"));
    typeCell(categories, 1, 1, QStringLiteral("90"));
    typeCell(categories, 1, 2, QStringLiteral("110.00"));
    child<QCheckBox>(&dialog, "chkCategoryDay_4")->setChecked(true);

    // A season, priced for Double only.
    tabs->setCurrentIndex(1);
    click("cmdAddSeason");
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtSeasonName"), QStringLiteral("High season"));
    child<QDateEdit>(&dialog, "dtpSeasonFrom")->setDate(QDate(2027, 6, 1));
    child<QDateEdit>(&dialog, "dtpSeasonTo")->setDate(QDate(2027, 8, 31));
    // Without a price it cannot be stored: said, the prices focused.
    click("cmdOk");
    QVERIFY(ui.messages.last().text.contains(QStringLiteral("has no price")));
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&dialog, "tblSeasonPrices"));
    QCOMPARE(ReadRateCard(t.db()).categories.size(), 1);
    auto *prices = child<QTableWidget>(&dialog, "tblSeasonPrices");
    QCOMPARE(prices->rowCount(), 2);
    typeCell(prices, 1, 0, QStringLiteral("120"));
    // A week at 10 % off.
    tabs->setCurrentIndex(2);
    click("cmdAddLength");
    // Which applies on a summer's day.
    child<QDateEdit>(&dialog, "dtpWhichDay")->setDate(QDate(2027, 7, 1));
    QCOMPARE(child<QLabel>(&dialog, "lblWhichSeason")->text(),
             QStringLiteral("Standard: no season; Double: High season"));

    // A price below nothing is refused in its cell.
    tabs->setCurrentIndex(0);
    typeCell(categories, 0, 1, QStringLiteral("-5"));
    click("cmdOk");
    QVERIFY2(ui.messages.last().text.contains(QStringLiteral("below nothing")), qPrintable(ui.messages.last().text));
    QCOMPARE(categories->currentRow(), 0);
    QCOMPARE(categories->currentColumn(), 1);
    typeCell(categories, 0, 1, QStringLiteral("75.50"));
    click("cmdOk");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Another desk reads them as typed.
    t.close();
    const RateCard card = ReadRateCard(t.db());
    QCOMPARE(card.categories.size(), 2);
    QCOMPARE(card.categories.at(0).priceCents, qint64(7550));
    QCOMPARE(card.categories.at(1).name, QStringLiteral("Double"));
    QCOMPARE(card.categories.at(1).weekdayCents, qint64(11000));
    QCOMPARE(card.categories.at(1).weekdayMask, 1 << 4);
    QCOMPARE(card.seasons.size(), 1);
    QCOMPARE(card.seasons.first().prices.size(), 1);
    QCOMPARE(card.seasons.first().prices.first().category, card.categories.at(1).id);
    QCOMPARE(card.seasons.first().prices.first().priceCents, qint64(12000));
    QCOMPARE(card.lengths.size(), 1);
    QCOMPARE(card.lengths.first().percentOff, 10);

    // The rooms dialog gives a room its category and beds.
    const RecordId garden = t.addRoom(QStringLiteral("Garden"));
    frmConfigRooms rooms(t.db(), ui);
    rooms.Setup();
    rooms.show();
    auto *list = child<QListWidget>(&rooms, "lstRooms");
    list->setCurrentRow(0);
    child<QComboBox>(&rooms, "cboRoomCategory")->setCurrentIndex(1);
    child<QSpinBox>(&rooms, "spnRoomStandard")->setValue(2);
    child<QSpinBox>(&rooms, "spnRoomMaxAdults")->setValue(3);
    child<QSpinBox>(&rooms, "spnRoomMaxChildren")->setValue(1);
    QTest::mouseClick(child<QPushButton>(&rooms, "cmdOk"), Qt::LeftButton);
    const RoomBeds beds = ReadRateCard(t.db()).bedsOf(garden);
    QCOMPARE(beds.category, card.categories.at(1).id);
    QCOMPARE(beds.maxAdults, 3);
    QCOMPARE(beds.maxChildren, 1);
    // Three adults in the Garden pay the Double's price and are within its beds.
    const StayPrice price = PriceStay(ReadRateCard(t.db()), garden, QDate(2027, 7, 1), QDate(2027, 7, 3), 3, 0);
    QCOMPARE(price.totalCents, qint64(2 * 12000));
    QVERIFY(price.warnings.isEmpty());
}

QTEST_MAIN(TestRates)
#include "tst_rates.moc"
