// Helpers for tests that drive the real windows.
#pragma once

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace innkeld::test {

// Watches for a modal dialog; `seen` tells whether it came up.
struct ModalWatch
{
    bool seen = false;
    bool cancelled = false;
    void cancel() { cancelled = true; }
};

// Runs `act` on the first modal dialog of type T that comes up within the
// timeout (the dialog's own event loop is then running), unless the watch
// is cancelled first.
template <typename T>
std::shared_ptr<ModalWatch> whenModal(std::function<void(T *)> act, int timeoutMs = 10000)
{
    auto watch = std::make_shared<ModalWatch>();
    auto *timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, watch, waited, timeoutMs] {
        *waited += 10;
        if (watch->cancelled || *waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        } else if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            watch->seen = true;
            QPointer<T> guard(dialog);
            act(dialog);
            // A check that failed inside `act` left the dialog open: close it,
            // or the test would wait on it forever.
            if constexpr (std::is_base_of_v<QDialog, T>)
                if (guard && guard->isVisible())
                    guard->reject();
        }
    });
    timer->start();
    return watch;
}

// Types text key by key, letters beyond ASCII included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types into a box as an operator would: click into it, replace its text.
inline void typeInto(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

// The controls under root (text boxes, lists, date controls, buttons, by
// their names) that a screen reader would announce without a name.
inline QStringList controlsWithoutAccessibleName(QWidget *root)
{
    static const QRegularExpression control(QStringLiteral("^(txt|lst|dt|cmd)[A-Z]"));
    QStringList out;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!control.match(w->objectName()).hasMatch())
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            out << w->objectName();
    }
    return out;
}

// A double-click on an entry of a list or a cell of a grid, as the mouse
// makes it: a click first, then the double-click.
inline void doubleClick(QAbstractItemView *view, const QModelIndex &index)
{
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

inline void doubleClick(QAbstractItemView *view, int row)
{
    doubleClick(view, view->model()->index(row, 0));
}

template <typename T = QWidget>
T *child(QObject *parent, const char *name)
{
    T *w = parent->findChild<T *>(QLatin1String(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

}  // namespace innkeld::test

#include "app/modMain.h"
#include "config/frmConfigRooms.h"
#include "data/regional/settings.h"
#include "fakeui.h"
#include "testsupport.h"

namespace innkeld::test {

// One start of the program on its own database and settings, as an operator
// would start it, with the splash closed by a key press.
struct ProgramRun
{
    TempDatabase database;
    QTemporaryDir settingsDir;
    std::unique_ptr<SettingsStore> settings;
    FakeUi ui;
    std::unique_ptr<Program> program;
    // What to do with the first-run rooms dialog; by default it is cancelled.
    std::function<void(frmConfigRooms *)> onRoomsDialog = [](frmConfigRooms *d) {
        QTest::mouseClick(child(d, "cmdCancel"), Qt::LeftButton);
    };
    std::shared_ptr<ModalWatch> roomsDialog;
    QString databaseGiven;  // as with --database

    // The program speaks English unless a test asks for another language.
    ProgramRun() : settings(std::make_unique<SettingsStore>(settingsDir.filePath(QStringLiteral("settings.ini"))))
    {
        settings->WriteSetting(QStringLiteral("Language"), QStringLiteral("en"));
    }
    ~ProgramRun()
    {
        if (program && program->mainWindow())
            program->mainWindow()->close();
    }

    // Not the first start of this user: no rooms dialog.
    ProgramRun &notFirst()
    {
        settings->WriteSetting(QStringLiteral("FirstRun"), QStringLiteral("False"));
        return *this;
    }

    int run(bool pressKey = true)
    {
        AppContext context;
        context.programFolder = database.folder();
        context.dataFolder = settingsDir.filePath(QStringLiteral("data"));
        context.databaseGiven = databaseGiven;
        context.cacheFolder = settingsDir.filePath(QStringLiteral("cache"));
        context.settings = settings.get();
        context.ui = &ui;
        program = std::make_unique<Program>(context);
        if (pressKey)
            QTimer::singleShot(0, [] {
                if (QWidget *splash = QApplication::activeModalWidget())
                    QTest::keyClick(splash, Qt::Key_Escape);
            });
        roomsDialog = whenModal<frmConfigRooms>(onRoomsDialog);
        const int rc = program->Main();
        roomsDialog->cancel();  // only the first run's dialog is its business
        if (rc == 0) {
            // Focus moves only in the active window: the wizard's boxes act
            // when they lose it.
            program->mainWindow()->activateWindow();
            QApplication::setActiveWindow(program->mainWindow());
            if (!QTest::qWaitForWindowActive(program->mainWindow()))
                qWarning("the main window did not become active");
        }
        return rc;
    }
    frmMain *main() const { return program->mainWindow(); }
    bool roomsDialogSeen() const { return roomsDialog && roomsDialog->seen; }

    template <typename T = QWidget>
    T *find(const char *name) const
    {
        return child<T>(main(), name);
    }
};

// The names of the controls Tab visits from `from`, as far as `count` goes.
inline QStringList tabChain(QWidget *from, int count)
{
    QStringList names;
    for (QWidget *w = from->nextInFocusChain(); w != from && names.size() < count; w = w->nextInFocusChain())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            names << w->objectName();
    return names;
}

// The text of a PDF, its pages apart (pdftotext puts a form feed between
// them); empty when pdftotext (poppler-utils) cannot read it.
inline QStringList PdfPages(const QString &pdf)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(60000) || text.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

}  // namespace innkeld::test
