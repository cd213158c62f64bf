// The regional settings dialog through the real main window: the presets,
// OK bringing the window's terms up to date at once, Cancel, a percentage
// in a region with a decimal comma, and symbols that survive a restart.
#include "app/frmMain.h"
#include "config/frmTerminology.h"
#include "data/regional/language.h"
#include "data/regional/regional.h"
#include "data/regional/regionalterms.h"
#include "data/schema/houseterms.h"
#include "guisupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

// Opens the dialog from the Configure menu and does `act` in it.
bool openDialog(ProgramRun &p, std::function<void(frmTerminology *)> act)
{
    auto watch = whenModal<frmTerminology>(std::move(act));
    p.main()->findChild<QAction *>(QStringLiteral("mnuConfigureTerminology"))->trigger();
    return watch->seen;
}

QString field(frmTerminology *d, const char *name)
{
    return child<QLineEdit>(d, name)->text();
}

void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

QString caption(ProgramRun &p, const char *name)
{
    return p.find<QLabel>(name)->text();
}

}  // namespace

class TestTerminology : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void presetsOkAndCancel();
    void decimalCommaAndARestart();
    void theDesktopsLanguage();
};

void TestTerminology::presetsOkAndCancel()
{
    ProgramRun p;
    p.notFirst();
    const QDateTime now = WallClockNow();
    p.database.addGuest(now, now.addDays(2), QStringLiteral("A"), QStringLiteral("B"), {p.database.addRoom(QStringLiteral("Loft"))});
    QCOMPARE(p.run(), 0);
    QStringList configure;
    for (QAction *a : p.main()->findChild<QMenu *>(QStringLiteral("mnuConfigure"))->actions())
        configure << a->text();
    QCOMPARE(configure, (QStringList{QStringLiteral("&Regional Settings..."), QStringLiteral("&Rooms..."), QStringLiteral("R&ates..."), QStringLiteral("&Channels..."),
                                     QStringLiteral("&House Details...")}));

    // Filled from the window's terms; a preset fills four fields, Cancel keeps nothing.
    QVERIFY(openDialog(p, [](frmTerminology *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Regional Settings"));
        QCOMPARE(controlsWithoutAccessibleName(d).join(QLatin1Char(' ')), QString());
        QCOMPARE(field(d, "txtSalesTaxName"), QStringLiteral("Sales Tax"));
        QCOMPARE(field(d, "txtSalesTax"), QStringLiteral("10"));
        QCOMPARE(field(d, "txtCurrencySymbol"), QStringLiteral("$"));
        QCOMPARE(field(d, "txtCostPerNight"), QStringLiteral("10.00"));
        child<QLineEdit>(d, "txtCostPerNight")->setText(QStringLiteral("55"));
        click(child(d, "lblCountry_3"));  // United Kingdom
        QCOMPARE(field(d, "txtSalesTaxName"), QStringLiteral("VAT"));
        QCOMPARE(field(d, "txtCurrencySymbol"), QString::fromUtf8("£"));
        QCOMPARE(field(d, "txtCostPerNight"), QStringLiteral("55"));  // never a preset's business
        d->SetCountry(5);  // no such country: nothing
        QCOMPARE(field(d, "txtSalesTax"), QStringLiteral("20"));
        // The countries from the keyboard: in the tab order, by their names,
        // applied with Space or Enter.
        QCOMPARE(tabChain(child(d, "cmdCancel"), 5),
                 QStringList({"lblCountry_1", "lblCountry_2", "lblCountry_3", "lblCountry_4", "txtSalesTaxName"}));
        QCOMPARE(child(d, "lblCountry_2")->accessibleName(), QStringLiteral("France"));
        QCOMPARE(child(d, "picCountry_4")->accessibleName(), QStringLiteral("United States"));
        child(d, "lblCountry_4")->setFocus();
        QTest::keyClick(child(d, "lblCountry_4"), Qt::Key_Space);
        QCOMPARE(field(d, "txtCurrencySymbol"), QStringLiteral("$"));
        QCOMPARE(field(d, "txtSalesTaxName"), QStringLiteral("Sales Tax"));
        QTest::keyClick(child(d, "lblCountry_1"), Qt::Key_Return);
        QCOMPARE(field(d, "txtSalesTaxName"), QStringLiteral("GST"));
        QVERIFY(d->isVisible());  // Enter on a country applies it, and is no OK
        QTest::keyClick(d, Qt::Key_Escape);
    }));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("CurrencySymbol"), QStringLiteral("absent")), QStringLiteral("absent"));
    QCOMPARE(caption(p, "lblSalesTaxName_0"), QStringLiteral("Sales Tax"));

    // The United Kingdom, by its name, then Enter: stored and shown at once.
    QVERIFY(openDialog(p, [](frmTerminology *d) {
        click(child(d, "lblCountry_3"));
        QTest::keyClick(child(d, "txtSalesTax"), Qt::Key_Return);
    }));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("PostCode"), QString()), QStringLiteral("Post Code"));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("CurrencySymbol"), QString()), QString::fromUtf8("£"));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("SalesTaxName"), QString()), QStringLiteral("VAT"));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("SalesTaxPercentage"), QString()), QStringLiteral("20"));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("CostPerNight"), QString()), QStringLiteral("10.00"));
    QCOMPARE(caption(p, "lblSalesTaxName_0"), QStringLiteral("VAT"));
    QCOMPARE(caption(p, "lblSalesTaxName_1"), QStringLiteral("VAT"));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(caption(p, qPrintable(QStringLiteral("lblCurrencySymbol_%1").arg(i))), QString::fromUtf8("£"));
    // The next payment calculation takes 20 %: 2 nights at 10.00.
    doubleClick(p.find<QListWidget>("lstArrivals"), 0);
    click(p.find("cmdBack"));
    QCOMPARE(p.find<QLineEdit>("txtSalesTax")->text(), FormatMoney(4));
    QCOMPARE(caption(p, "lblSalesTaxPercentage"), QStringLiteral("20%"));

    // The United States by its flag: the customer step says Zip Code. An
    // empty tax name stays empty, also at the next opening.
    QVERIFY(openDialog(p, [](frmTerminology *d) {
        click(child(d, "picCountry_4"));
        QCOMPARE(child<QComboBox>(d, "cmdPostcode")->currentText(), QStringLiteral("Zip Code"));
        child<QLineEdit>(d, "txtSalesTaxName")->clear();
        click(child(d, "cmdOk"));
    }));
    QCOMPARE(caption(p, "lblPostCode_0"), QStringLiteral("Zip Code"));
    QCOMPARE(caption(p, "lblSalesTaxName_0"), QString());
    QVERIFY(openDialog(p, [](frmTerminology *d) {
        QCOMPARE(field(d, "txtSalesTaxName"), QString());
        auto *list = child<QComboBox>(d, "cmdPostcode");
        QCOMPARE(list->currentText(), QStringLiteral("Zip Code"));
        SelectComboText(list, QStringLiteral("post code"));  // letter case counts: no match, no change
        QCOMPARE(list->currentText(), QStringLiteral("Zip Code"));
        click(child(d, "cmdCancel"));
    }));
    QVERIFY(p.ui.messages.isEmpty());
}

void TestTerminology::decimalCommaAndARestart()
{
    LocaleScope de("de_DE");
    QString settingsFile;
    {
        // A German desk's new house keeps the German terms, not the
        // program's first English ones.
        ProgramRun fresh;
        fresh.notFirst();
        QCOMPARE(fresh.run(), 0);
        const std::optional<HouseTerms> kept = ReadHouseTerms(fresh.database.db());
        QVERIFY(kept);
        QCOMPARE(kept->salesTaxName + QLatin1Char(' ') + kept->salesTaxPercentage + QLatin1Char(' ') + kept->postCode,
                 QStringLiteral("MwSt. 19 PLZ"));
        fresh.main()->close();
    }
    {
        ProgramRun p;
        p.notFirst();
        p.settings->WriteSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("17.5"));
        QCOMPARE(p.run(), 0);
        // Shown as 17,5; OK without changes stores what reads back as 17.5.
        QVERIFY(openDialog(p, [](frmTerminology *d) {
            QCOMPARE(field(d, "txtSalesTax"), QStringLiteral("17,5"));
            click(child(d, "cmdOk"));
        }));
        QCOMPARE(p.settings->ReadSetting(QStringLiteral("SalesTaxPercentage"), QString()), QStringLiteral("17.5"));
        QCOMPARE(p.main()->terms()->SalesTaxPercent(), 17.5);
        // Typed in the region's form with its percent sign: stored with ".".
        QVERIFY(openDialog(p, [](frmTerminology *d) {
            child<QLineEdit>(d, "txtSalesTax")->setText(QStringLiteral("7,5 %"));
            click(child(d, "cmdOk"));
        }));
        QCOMPARE(p.settings->ReadSetting(QStringLiteral("SalesTaxPercentage"), QString()), QStringLiteral("7.5"));
        QCOMPARE(p.main()->terms()->SalesTaxPercent(), 7.5);
        // Not a number: said, nothing stored, the dialog stays.
        QVERIFY(openDialog(p, [&p](frmTerminology *d) {
            child<QLineEdit>(d, "txtSalesTax")->setText(QStringLiteral("seven"));
            child<QLineEdit>(d, "txtCurrencySymbol")->setText(QStringLiteral("kr"));
            click(child(d, "cmdOk"));
            QVERIFY(d->isVisible());
            QCOMPARE(p.ui.messages.size(), 1);
            QCOMPARE(p.ui.messages.last().text,
                     QStringLiteral("The sales tax percentage must be a number, such as 7,5."));
            click(child(d, "cmdCancel"));
        }));
        QCOMPARE(p.settings->ReadSetting(QStringLiteral("SalesTaxPercentage"), QString()), QStringLiteral("7.5"));
        QVERIFY(caption(p, "lblCurrencySymbol_0") != QStringLiteral("kr"));
        QVERIFY(openDialog(p, [](frmTerminology *d) {
            click(child(d, "picCountry_2"));  // France
            click(child(d, "cmdOk"));
        }));
        settingsFile = p.settings->fileName();
        p.main()->close();

        // The symbols survive the store and a restart.
        ProgramRun again;
        again.notFirst();
        QVERIFY(QFile::remove(again.settings->fileName()));
        QVERIFY(QFile::copy(settingsFile, again.settings->fileName()));
        again.settings = std::make_unique<SettingsStore>(again.settings->fileName());
        QCOMPARE(again.run(), 0);
        QCOMPARE(caption(again, "lblCurrencySymbol_0"), QString::fromUtf8("€"));
        QCOMPARE(again.main()->terms()->SalesTaxPercent(), 10.0);
    }
}

// A German desktop gets the program in German, Qt's standard buttons too;
// Language chooses another for the next start, said in the words in force.
void TestTerminology::theDesktopsLanguage()
{
    QCOMPARE(ResolveLanguage(QString(), {QStringLiteral("fr-FR"), QStringLiteral("de-AT"), QStringLiteral("en-US")}),
             QStringLiteral("de"));
    QCOMPARE(ResolveLanguage(QStringLiteral("en"), {QStringLiteral("de-DE")}), QStringLiteral("en"));
    QCOMPARE(ResolveLanguage(QStringLiteral("xx"), {QStringLiteral("ja-JP")}), QStringLiteral("en"));
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    ProgramRun p;
    p.notFirst();
    p.settings->WriteSetting(QStringLiteral("Language"), QString());  // the desktop's
    QCOMPARE(p.run(), 0);
    QCOMPARE(LanguageInUse(), QStringLiteral("de"));
    QCOMPARE(p.find<QLabel>("lblMenu_8")->text(), QStringLiteral("Berichte"));
    QCOMPARE(p.main()->findChild<QMenu *>(QStringLiteral("mnuConfigure"))->actions().first()->text(),
             QStringLiteral("&Regionale Einstellungen..."));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    QVERIFY(openDialog(p, [](frmTerminology *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Regionale Einstellungen"));
        auto *language = child<QComboBox>(d, "cboLanguage");
        QStringList names;
        for (int i = 0; i < language->count(); ++i)
            names << language->itemText(i);
        QCOMPARE(names, (QStringList{QStringLiteral("Wie das System"), QStringLiteral("English"), QStringLiteral("Deutsch")}));
        QCOMPARE(language->currentIndex(), 0);
        language->setCurrentIndex(1);
        QTest::mouseClick(child(d, "cmdOk"), Qt::LeftButton);
    }));
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("Language"), QString()), QStringLiteral("en"));
    QCOMPARE(p.ui.messages.size(), 1);
    QCOMPARE(p.ui.messages[0].text, QStringLiteral("Die Sprache wechselt beim nächsten Start von Innkeld."));
    p.main()->close();
    UseLanguage(QStringLiteral("en"));
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
}

QTEST_MAIN(TestTerminology)
#include "tst_terminology.moc"
