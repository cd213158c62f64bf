// The main window's navigation as the operator uses it: the label menu's
// colours and actions, the pop-ups from the keyboard, moving the window,
// the window buttons, the about dialog, and the help.
#include "app/HelpWindow.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "arrivals/ArrivalsPanel.h"
#include "channels/frmChannels.h"
#include "config/frmConfigRooms.h"
#include "config/frmRates.h"
#include "config/frmHouseDetails.h"
#include "config/frmTerminology.h"
#include "data/regional/language.h"
#include "output/frmInvoices.h"
#include "reports/ReportsPanel.h"
#include "wizard/frmRecordPayment.h"
#include "data/regional/regionalterms.h"
#include "guisupport.h"
#include "wizard/BookingWizard.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QHelpEngine>
#include <QHelpEngineCore>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResult>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBrowser>
#include <QComboBox>
#include <QScopeGuard>
#include <QStyle>
#include <QtTest>

using namespace innkeld;
using namespace innkeld::test;

namespace {

QString colourOf(QWidget *label)
{
    return label->styleSheet();
}

QString colour(const QString &name)
{
    return QStringLiteral("color: %1;").arg(name);
}

// The mouse moving over a widget with no button down.
void hover(QWidget *widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// A row of data for each language the program speaks.
void languageRows()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : SpokenLanguages())
        QTest::newRow(qPrintable(language)) << language;
}

void placeManual(ProgramRun &p)
{
    QFile::copy(qEnvironmentVariable("INNKELD_HELP"), QDir(p.database.folder()).filePath(QStringLiteral("HELPSYS.qch")));
}

}  // namespace

class TestNavigation : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void labelMenuColoursAndActions();
    void popupsFromTheKeyboard();
    void movingAndWindowButtons();
    void windowGrowsAndIsRemembered();
    void aboutDialog();
    void eachDialogsAcceleratorsAreItsOwn_data();
    void eachDialogsAcceleratorsAreItsOwn();
    void help();
    void missingHelpFile();
    void helpInTheProgramsLanguage();
    void everyTextShowsWhole_data();
    void everyTextShowsWhole();
};

void TestNavigation::labelMenuColoursAndActions()
{
    ProgramRun p;
    p.notFirst();
    const QDateTime now(QDate::currentDate(), QTime(15, 0));
    p.database.addGuest(now, now.addDays(1), QStringLiteral("Ann"), QStringLiteral("Lee"));
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    QList<QWidget *> labels;
    for (int i = 0; i < 9; ++i)
        labels << p.find(qPrintable(QStringLiteral("lblMenu_%1").arg(i)));
    const QStringList captions{QStringLiteral("File"),        QStringLiteral("View Calendar"),
                               QStringLiteral("Bookings"),    QStringLiteral("Configure"),
                               QStringLiteral("Help"),        QStringLiteral("Add Booking"),
                               QStringLiteral("Today"),       QStringLiteral("Arrivals and Departures"),
                               QStringLiteral("Reports")};
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(static_cast<QLabel *>(labels[i])->text(), captions[i]);
        QVERIFY(labels[i]->isVisible());
        const bool white = i == 0 || i == 5 || i == 6;
        QCOMPARE(colourOf(labels[i]), colour(white ? QStringLiteral("#ffffff") : MenuHighlightTextColor()));
    }
    QCOMPARE(labels[5]->toolTip(), QStringLiteral("Create a new booking. (Ctrl+N)"));
    QCOMPARE(labels[6]->toolTip(), QStringLiteral("View today's arrivals and departures. (Ctrl+T)"));

    // Over "Help": navy, and every other the highlight-text colour; back on
    // the window's body, all of them.
    hover(labels[4], QPoint(5, 5));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(colourOf(labels[i]), colour(i == 4 ? MenuHoverColor() : MenuHighlightTextColor()));
    hover(w, QPoint(70, 520));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(colourOf(labels[i]), colour(MenuHighlightTextColor()));

    // The pop-ups open against the label's right edge, at its top.
    const QList<std::pair<int, QStringList>> popups{
        {0, {QStringLiteral("&Export Reservations to CSV"), QStringLiteral("&Back Up Database..."),
             QStringLiteral("&Import Channel Bookings"), QStringLiteral("E&xit")}},
        {2, {QStringLiteral("&Add Booking"), QStringLiteral("&Find Booking..."), QStringLiteral("&Invoices...")}},
        {3, {QStringLiteral("&Regional Settings..."), QStringLiteral("&Rooms..."), QStringLiteral("R&ates..."), QStringLiteral("&Channels..."),
             QStringLiteral("&House Details...")}},
        {4, {QStringLiteral("Contents..."), QStringLiteral("Index..."), QStringLiteral("&Search..."), QString(),
             QStringLiteral("&About")}}};
    for (const auto &[index, items] : popups) {
        QTest::mouseClick(labels[index], Qt::LeftButton);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, qPrintable(captions[index]));
        QStringList shown;
        for (QAction *a : menu->actions())
            shown << (a->isSeparator() ? QString() : a->text());
        QCOMPARE(shown, items);
        QCOMPARE(menu->pos(), w->mapToGlobal(QPoint(labels[index]->x() + labels[index]->width(), labels[index]->y())));
        menu->close();
    }

    // View Calendar, Arrivals and Departures, Today (the date moves, the lists stay).
    QTest::mouseClick(labels[1], Qt::LeftButton);
    QVERIFY(p.find("picCalendar")->isVisible());
    auto *calendar = p.find<QCalendarWidget>("dtCalendar");
    w->arrivals()->setDate(QDate::currentDate().addDays(3));
    QTest::mouseClick(labels[7], Qt::LeftButton);
    QVERIFY(p.find("picArrivals")->isVisible());
    QTest::mouseClick(labels[1], Qt::LeftButton);
    QTest::mouseClick(labels[6], Qt::LeftButton);
    QVERIFY(p.find("picArrivals")->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
    QCOMPARE(p.find<QListWidget>("lstArrivals")->count(), 1);

    // Add Booking after a booking opened from a list starts a new one.
    doubleClick(p.find<QListWidget>("lstArrivals"), 0);
    const RecordId opened = w->wizard()->CurrentBookingId();
    QVERIFY(w->wizard()->OpenedFromList());
    QTest::mouseClick(labels[5], Qt::LeftButton);
    QVERIFY(w->wizard()->CurrentBookingId() > opened);
    QCOMPARE(w->wizard()->CurrentStep(), 0);
    QVERIFY(p.ui.messages.isEmpty());
}

void TestNavigation::popupsFromTheKeyboard()
{
    ProgramRun p;
    p.notFirst();
    QCOMPARE(p.run(), 0);
    const auto open = [] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); };
    QTest::keyClick(p.main(), Qt::Key_F10);
    QTRY_VERIFY(open());
    QCOMPARE(open()->objectName(), QStringLiteral("mnuFile"));
    for (const char *next : {"mnuReservations", "mnuConfigure", "mnuHelp", "mnuFile"}) {
        QTest::keyClick(open(), Qt::Key_Right);
        QTRY_COMPARE(open() ? open()->objectName() : QString(), QLatin1String(next));
    }
    QTest::keyClick(open(), Qt::Key_Left);
    QTRY_COMPARE(open() ? open()->objectName() : QString(), QStringLiteral("mnuHelp"));
    QTest::keyClick(open(), Qt::Key_Escape);
    QTRY_VERIFY(!open());

    // The labels that are no menus, by their keys, from every panel, even
    // with the focus in a text box; each tooltip tells its key.
    p.main()->activateWindow();
    QTest::keyClick(p.main(), Qt::Key_L, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picCalendar")->isVisible());
    QTest::keyClick(p.main(), Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picBooking")->isVisible());
    auto *bookedBy = p.find<QLineEdit>("txtBookedBy");
    bookedBy->setFocus();
    QTest::keyClick(bookedBy, Qt::Key_T, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picArrivals")->isVisible());
    QTest::keyClick(p.main(), Qt::Key_L, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picCalendar")->isVisible());
    QTest::keyClick(p.main(), Qt::Key_R, Qt::ControlModifier);
    QTRY_VERIFY(p.find("picArrivals")->isVisible());
    QCOMPARE(p.find("lblMenu_1")->toolTip(), QStringLiteral("View Calendar (Ctrl+L)"));
    QCOMPARE(p.find("lblMenu_7")->toolTip(), QStringLiteral("Arrivals and Departures (Ctrl+R)"));
}

void TestNavigation::movingAndWindowButtons()
{
    ProgramRun p;
    p.notFirst();
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    QSignalSpy moves(w, &frmMain::windowMoveStarted);
    QTest::mousePress(p.find("Label1_8"), Qt::LeftButton);  // the panel's heading
    QCOMPARE(moves.count(), 1);
    QTest::mousePress(p.find("lblArrivals"), Qt::LeftButton);  // a field's caption
    QTest::mousePress(p.find("picArrivals"), Qt::LeftButton, {}, QPoint(300, 450));  // a panel's blank space
    QCOMPARE(moves.count(), 1);
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(70, 520));  // the window's body
    QCOMPARE(moves.count(), 2);
    w->findChild<QAction *>(QStringLiteral("mnuCalendar"))->trigger();
    QTest::mousePress(p.find("Label1_16"), Qt::LeftButton);
    QCOMPARE(moves.count(), 3);

    // Minimised and restored: the same panel.
    QTest::mouseClick(p.find("picIcon_0"), Qt::LeftButton);
    QVERIFY(w->windowState() & Qt::WindowMinimized);
    w->showNormal();
    QVERIFY(p.find("picCalendar")->isVisible());
    QVERIFY(!p.find("picArrivals")->isVisible());
}

void TestNavigation::windowGrowsAndIsRemembered()
{
    // Never smaller than designed; grown, the panels fill it; the maximise
    // button and a double-click on the top band maximise and restore it;
    // its place is there at the next start, unless off every screen.
    ProgramRun p;
    p.notFirst();
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    QCOMPARE(w->size(), QSize(667, 551));
    QCOMPARE(p.find("picBack")->geometry(), QRect(150, 40, 507, 501));
    // The lists take what the month view (as wide as its day names) leaves.
    const int listAsDesigned = p.find("lstArrivals")->width();
    QCOMPARE(listAsDesigned + p.find("dtCalendar")->width(), 253 + 226);
    w->resize(300, 200);
    QCOMPARE(w->size(), QSize(667, 551));
    w->setGeometry(40, 50, 760, 580);
    QTRY_COMPARE(p.find("picBack")->size(), QSize(760 - 160, 580 - 50));
    QTRY_COMPARE(p.find("picArrivals")->size(), QSize(600, 530));
    QCOMPARE(p.find("lstArrivals")->width(), listAsDesigned + 93);
    QCOMPARE(p.find("picIcon_1")->geometry().right(), 760 - 9);
    for (const bool maximised : {true, false}) {
        QTest::mouseClick(p.find("picIcon_2"), Qt::LeftButton);
        QTRY_COMPARE(w->isMaximized(), maximised);
        QCOMPARE(p.find("picIcon_2")->toolTip(), maximised ? QStringLiteral("Restore") : QStringLiteral("Maximise"));
    }
    for (const bool maximised : {true, false}) {
        QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(300, 20));
        QTRY_COMPARE(w->isMaximized(), maximised);
    }
    QTRY_COMPARE(w->geometry(), QRect(40, 50, 760, 580));
    w->close();
    QCOMPARE(p.settings->ReadSetting(QStringLiteral("MainWindowGeometry"), QString()), QStringLiteral("40,50,760,580"));

    QCOMPARE(p.run(), 0);
    QCOMPARE(p.main()->geometry(), QRect(40, 50, 760, 580));
    p.main()->showMaximized();
    QTRY_VERIFY(p.main()->isMaximized());
    p.main()->close();
    QCOMPARE(p.run(), 0);
    QTRY_VERIFY(p.main()->isMaximized());
    p.main()->showNormal();
    QTRY_COMPARE(p.main()->geometry(), QRect(40, 50, 760, 580));
    p.main()->close();

    p.settings->WriteSetting(QStringLiteral("MainWindowGeometry"), QStringLiteral("-4000,-4000,700,560"));
    p.settings->WriteSetting(QStringLiteral("MainWindowMaximized"), QStringLiteral("0"));
    QCOMPARE(p.run(), 0);
    QCOMPARE(p.main()->size(), QSize(700, 560));
    QVERIFY(p.main()->screen()->availableGeometry().contains(p.main()->geometry().topLeft()));
}

void TestNavigation::eachDialogsAcceleratorsAreItsOwn_data()
{
    languageRows();
}

void TestNavigation::eachDialogsAcceleratorsAreItsOwn()
{
    // In each dialog and pop-up menu, in each language, one letter
    // underlined once: Alt and a letter always reach what it says.
    QFETCH(QString, language);
    UseLanguage(language);
    const auto back = qScopeGuard([] { UseLanguage(QStringLiteral("en")); });
    const auto clashes = [](QWidget *dialog) {
        QHash<QChar, QStringList> owners;
        for (QWidget *w : dialog->findChildren<QWidget *>()) {
            QString text;
            if (auto *label = qobject_cast<QLabel *>(w))
                text = label->text();
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                text = button->text();
            const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
            if (at >= 0)
                owners[text.at(at + 1).toLower()] << text;
        }
        QStringList twice;
        for (auto it = owners.constBegin(); it != owners.constEnd(); ++it)
            if (it->size() > 1)
                twice << it->join(QStringLiteral(" / "));
        return twice;
    };
    TempDatabase t;
    t.addRoom(QStringLiteral("Sea View"));
    FakeUi ui;
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    RegionalTerms terms;
    frmChannels channels(t.db(), ui);
    channels.Setup();
    QCOMPARE(clashes(&channels), QStringList());
    frmConfigRooms rooms(t.db(), ui);
    rooms.Setup();
    QCOMPARE(clashes(&rooms), QStringList());
    frmTerminology regional(t.db(), terms, settings, ui);
    regional.Fill();
    QCOMPARE(clashes(&regional), QStringList());
    frmAbout about(ui);
    QCOMPARE(clashes(&about), QStringList());
    frmHouseDetails house(t.db(), ui);
    QCOMPARE(clashes(&house).join(QLatin1Char(';')), QString());
    frmInvoices invoices(t.db(), ui);
    QCOMPARE(clashes(&invoices), QStringList());
    const QDateTime now(QDate::currentDate(), QTime(14, 0));
    const RecordId booking = t.addGuest(now, now.addDays(1), QStringLiteral("A"), QStringLiteral("B"));
    frmRecordPayment payments(t.db(), ui, booking, QStringLiteral("$"), QString());
    QCOMPARE(clashes(&payments), QStringList());
    ReportsPanel reports;
    QCOMPARE(clashes(&reports).join(QLatin1Char(';')), QString());
    // The main window's pop-up menus, each on its own. (The English
    // Configure menu keeps its two R's, "&Regional Settings..." and
    // "&Rooms...", as the program has always had them: Alt+R goes to each in
    // turn there.)
    if (language == QLatin1String("en"))
        return;
    frmMain main(AppContext{});
    for (QMenu *menu : main.findChildren<QMenu *>()) {
        QHash<QChar, QStringList> owners;
        for (QAction *action : menu->actions()) {
            const qsizetype at = action->text().indexOf(QRegularExpression(QStringLiteral("&[^&]")));
            if (at >= 0)
                owners[action->text().at(at + 1).toLower()] << action->text();
        }
        for (const QStringList &texts : owners)
            QVERIFY2(texts.size() == 1, qPrintable(texts.join(QStringLiteral(" / "))));
    }
}

void TestNavigation::aboutDialog()
{
    ProgramRun p;
    p.notFirst();
    QCOMPARE(p.run(), 0);
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));  // no system information tool anywhere
    auto about = whenModal<frmAbout>([&](frmAbout *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("About"));
        QCOMPARE(d->minimumSize(), d->maximumSize());  // a fixed dialog
        QCOMPARE(controlsWithoutAccessibleName(d).join(QLatin1Char(' ')), QString());
        QCOMPARE(child<QLabel>(d, "lblProductName")->text(), QStringLiteral("Innkeld"));
        QCOMPARE(child<QLabel>(d, "lblDescription")->text(),
                 QStringLiteral("The fully flexible and easy to use reservation system."));
        QTest::mouseClick(child(d, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(p.ui.messages.size(), 1);
        QCOMPARE(p.ui.messages.last().text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(p.ui.messages.last().icon, QMessageBox::NoIcon);
        // A tool on PATH is started, not waited for.
        QFile tool(bin.filePath(QStringLiteral("kinfocenter")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n");
        tool.close();
        tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QTest::mouseClick(child(d, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(p.ui.started.size(), 1);
        QCOMPARE(p.ui.started.first().first(), tool.fileName());
        QTest::mouseClick(child(d, "lblWebAddress"), Qt::LeftButton);
        QCOMPARE(p.ui.opened, QList<QUrl>{QUrl(QLatin1String(kPublisherAddress))});
        QTest::keyClick(d, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
    });
    p.main()->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    QVERIFY(about->seen);
    // A fresh dialog each time; Enter closes it.
    about = whenModal<frmAbout>([&](frmAbout *d) {
        QTest::keyClick(d, Qt::Key_Return);
        QVERIFY(!d->isVisible());
    });
    p.main()->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    QVERIFY(about->seen);
    qputenv("PATH", path);
    QCOMPARE(p.ui.messages.size(), 1);
}

void TestNavigation::help()
{
    ProgramRun p;
    p.notFirst();
    placeManual(p);
    QCOMPARE(p.run(), 0);
    const auto tab = [&](HelpWindow *h) {
        return h->findChild<QTabWidget *>(QStringLiteral("tabs"))->currentWidget()->objectName();
    };
    p.main()->findChild<QAction *>(QStringLiteral("mnuHelpContents"))->trigger();
    HelpWindow *help = p.main()->helpWindow();
    QVERIFY(help->isVisible() && help->isWindow() && !help->isModal());
    QVERIFY(help->hasManual());
    QCOMPARE(help->topic().fileName(), QStringLiteral("index.html"));
    QCOMPARE(tab(help), QStringLiteral("tabContents"));
    auto *browser = help->findChild<QTextBrowser *>(QStringLiteral("txtTopic"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Taking a booking, step by step")));
    p.main()->findChild<QAction *>(QStringLiteral("mnuHelpIndex"))->trigger();
    QCOMPARE(tab(help), QStringLiteral("tabIndex"));
    QHelpSearchEngine *search = help->engine()->searchEngine();
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    p.main()->findChild<QAction *>(QStringLiteral("mnuHelpSearch"))->trigger();
    QCOMPARE(tab(help), QStringLiteral("tabSearch"));
    // What is typed next goes into the search box.
    QTRY_VERIFY(QApplication::focusWidget() && search->queryWidget()->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));

    // The full-text search finds the topic that has the word, once the
    // index is made (the engine may index more than once at its start: the
    // search is asked again until it is).
    QTRY_VERIFY_WITH_TIMEOUT(indexed.count() > 0, 60000);
    const auto found = [search](const char *word) {
        QSignalSpy done(search, &QHelpSearchEngine::searchingFinished);
        search->search(QLatin1String(word));
        QStringList files;
        if (done.wait(20000))
            for (const QHelpSearchResult &r : search->searchResults(0, search->searchResultCount()))
                files << r.url().fileName();
        return files;
    };
    for (const auto &[word, topic] : {std::pair{"departure", "arrivals.html"}, std::pair{"deposit", "booking.html"}})
        QTRY_VERIFY_WITH_TIMEOUT(found(word).contains(QLatin1String(topic)), 60000);
    // A link in a topic leads to its topic.
    help->showTopic(QUrl(QStringLiteral("keyboard.html")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("F10")));
}

void TestNavigation::missingHelpFile()
{
    ProgramRun p;
    p.notFirst();
    QCOMPARE(p.run(), 0);
    p.main()->findChild<QAction *>(QStringLiteral("mnuHelpSearch"))->trigger();
    HelpWindow *help = p.main()->helpWindow();
    QVERIFY(help->isVisible());
    QVERIFY(!help->hasManual());
    const QString text = help->findChild<QTextBrowser *>(QStringLiteral("txtTopic"))->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("HELPSYS.qch cannot be found")), qPrintable(text));
    QVERIFY(p.main()->isVisible());
    QVERIFY(p.ui.messages.isEmpty());
}

// A German desk gets the German manual, its own register beside the
// English one's; it has a page for each of the English manual's.
void TestNavigation::helpInTheProgramsLanguage()
{
    const QDir english = QFileInfo(qEnvironmentVariable("INNKELD_HELP")).dir();
    QVERIFY(QFileInfo::exists(english.filePath(QStringLiteral("HELPSYS_de.qch"))));
    ProgramRun p;
    p.notFirst();
    p.settings->WriteSetting(QStringLiteral("Language"), QStringLiteral("de"));
    const auto back = qScopeGuard([] { UseLanguage(QStringLiteral("en")); });
    placeManual(p);
    QFile::copy(english.filePath(QStringLiteral("HELPSYS_de.qch")),
                QDir(p.database.folder()).filePath(QStringLiteral("HELPSYS_de.qch")));
    QCOMPARE(p.run(), 0);
    p.main()->findChild<QAction *>(QStringLiteral("mnuHelpContents"))->trigger();
    HelpWindow *help = p.main()->helpWindow();
    QVERIFY(help->hasManual());
    QCOMPARE(help->windowTitle(), QStringLiteral("Innkeld-Hilfe"));
    auto *browser = help->findChild<QTextBrowser *>(QStringLiteral("txtTopic"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Eine Buchung aufnehmen, Schritt für Schritt")));
    help->showTopic(QUrl(QStringLiteral("keyboard.html")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Strg+Umschalt+R")));
    QTemporaryDir scratch;
    QHelpEngineCore manual(scratch.filePath(QStringLiteral("pages.qhc")));
    manual.setReadOnly(false);
    manual.setupData();
    QStringList pages[2];
    int i = 0;
    for (const char *file : {"HELPSYS.qch", "HELPSYS_de.qch"}) {
        const QString path = english.filePath(QLatin1String(file));
        QVERIFY(manual.registerDocumentation(path));
        for (const QUrl &url : manual.files(QHelpEngineCore::namespaceName(path), QString(), QStringLiteral("html")))
            pages[i] << url.fileName();
        pages[i++].sort();
    }
    QVERIFY(!pages[0].isEmpty());
    QCOMPARE(pages[1], pages[0]);
}

namespace {

// The texts under `root` that do not show whole at their widget's size: a
// label or button narrower than its text, a wrapped label shorter than its
// lines, a list's entry wider than the list.
QStringList cutTexts(QWidget *root)
{
    QStringList cut;
    const auto said = [&](QWidget *w, const QString &text, int needs, int has) {
        cut << QStringLiteral("%1/%2 \"%3\" needs %4, has %5")
                   .arg(root->objectName(), w->objectName(), text).arg(needs).arg(has);
    };
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root) || w->width() <= 0)
            continue;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText || !label->pixmap().isNull())
                continue;
            if (label->wordWrap()) {
                const int needs = label->heightForWidth(label->width());
                if (needs > label->height())
                    said(w, label->text(), needs, label->height());
            } else if (label->sizeHint().width() > label->width()) {
                said(w, label->text(), label->sizeHint().width(), label->width());
            }
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width())
                said(w, button->text(), button->sizeHint().width(), button->width());
        } else if (auto *list = qobject_cast<QComboBox *>(w)) {
            const int room = list->width() - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
            for (int i = 0; i < list->count(); ++i)
                if (list->fontMetrics().horizontalAdvance(list->itemText(i)) > room)
                    said(w, list->itemText(i), list->fontMetrics().horizontalAdvance(list->itemText(i)), room);
        }
    }
    return cut;
}

}  // namespace

// Every window, panel and dialog at its designed size shows each text
// whole, in each language the program speaks.
void TestNavigation::everyTextShowsWhole_data()
{
    languageRows();
}

void TestNavigation::everyTextShowsWhole()
{
    // Under the font the run set as the desktop's, when it set one.
    if (qEnvironmentVariableIsSet("INNKELD_FONT"))
        QCOMPARE(QFontInfo(QApplication::font()).family(), qEnvironmentVariable("INNKELD_FONT"));
    QFETCH(QString, language);
    ProgramRun p;
    p.notFirst();
    p.settings->WriteSetting(QStringLiteral("Language"), language);
    const auto back = qScopeGuard([] { UseLanguage(QStringLiteral("en")); });
    const RecordId room = p.database.addRoom(QStringLiteral("Garden"));
    const QDateTime now(QDate::currentDate(), QTime(14, 0));
    p.database.addGuest(now, now.addDays(2), QStringLiteral("Ann"), QStringLiteral("Lee"), {room});
    QCOMPARE(p.run(), 0);
    frmMain *w = p.main();
    QStringList cut;
    const auto look = [&](QWidget *root) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        cut << cutTexts(root);
    };
    look(w);  // the label menu and the day's arrivals
    QTest::mouseClick(p.find("lblMenu_1"), Qt::LeftButton);
    look(w);
    QTest::mouseClick(p.find("lblMenu_8"), Qt::LeftButton);
    look(w);
    QTest::mouseClick(p.find("lblMenu_9"), Qt::LeftButton);
    look(w);
    w->findChild<QAction *>(QStringLiteral("mnuReservationFind"))->trigger();
    look(w);
    QTest::mouseClick(p.find("lblMenu_5"), Qt::LeftButton);
    for (int step = 1; step <= 5; ++step) {
        QMetaObject::invokeMethod(w->wizard(), "ShowBookingStep", Q_ARG(int, step));

        look(w);
    }
    const auto dialog = [&](const char *action, auto *type) {
        using Dialog = std::remove_pointer_t<decltype(type)>;
        auto watch = whenModal<Dialog>([&](Dialog *d) {
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            cut << cutTexts(d);
            d->reject();
        });
        w->findChild<QAction *>(QLatin1String(action))->trigger();
        QVERIFY2(watch->seen, action);
    };
    dialog("mnuConfigureTerminology", static_cast<frmTerminology *>(nullptr));
    dialog("mnuConfigureRooms", static_cast<frmConfigRooms *>(nullptr));
    dialog("mnuConfigureRates", static_cast<frmRates *>(nullptr));
    dialog("mnuConfigureChannels", static_cast<frmChannels *>(nullptr));
    dialog("mnuConfigureHouseDetails", static_cast<frmHouseDetails *>(nullptr));
    dialog("mnuReservationInvoices", static_cast<frmInvoices *>(nullptr));
    dialog("mnuAbout", static_cast<frmAbout *>(nullptr));
    cut.removeDuplicates();
    for (const QString &text : cut)
        qWarning("cut: %s", qPrintable(text));
    QVERIFY2(cut.isEmpty(), "texts cut (listed above)");
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
