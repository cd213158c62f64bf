#include "frmMain.h"

#include "config/frmConfigRooms.h"
#include "data/regional.h"
#include "data/settings.h"
#include "uiservices.h"
#include "widgets.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>

namespace innkeld {

namespace {

// The window is designed 10005 by 8265 twips; at 15 twips a pixel that is
// 667 by 551 pixels. The load sets the outer height to 8300 twips.
constexpr int kWidth = 667;
constexpr int kLoadHeight = 553;

const char *const kMenuCaptions[] = {"File", "View Calendar", "Bookings", "Configure", "Help",
                                     "Add Booking", "Today", "Arrivals and Departures"};

}  // namespace

QString MenuHighlightTextColor()
{
    return QApplication::palette().color(QPalette::HighlightedText).name();
}

QString MenuHoverColor()
{
    return QStringLiteral("#000080");
}

frmMain::frmMain(const AppContext &context, QWidget *parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vantrel Innkeld v1.2"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    buildShell();
}

frmMain::~frmMain() = default;

QLabel *frmMain::addLabel1(int index, const QString &caption, QWidget *parent)
{
    if (Label1.size() <= index)
        Label1.resize(index + 1);
    QLabel *label = nullptr;
    if (index == 8 || index == 14 || index == 16) {
        auto *heading = new ClickLabel(caption, parent);
        connect(heading, &ClickLabel::mousePressed, this, [this] { DragWindow(); });
        QFont f = heading->font();
        f.setPointSize(f.pointSize() + 6);
        f.setBold(true);
        heading->setFont(f);
        label = heading;
    } else {
        label = new QLabel(caption, parent);
    }
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    Label1[index] = label;
    return label;
}

void frmMain::buildShell()
{
    setFixedSize(kWidth, 551);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x33, 0x55, 0x77));
    setPalette(pal);

    // Window buttons: minimise and exit.
    const char *const iconText[] = {"_", "X"};
    const char *const iconTip[] = {"Minimise", "Exit"};
    for (int i = 0; i < 2; ++i) {
        auto *icon = new ClickLabel(QLatin1String(iconText[i]), this);
        icon->setObjectName(QStringLiteral("picIcon_%1").arg(i));
        icon->setToolTip(QLatin1String(iconTip[i]));
        icon->setAlignment(Qt::AlignCenter);
        icon->setGeometry(kWidth - 56 + i * 26, 8, 22, 20);
        icon->setStyleSheet(QStringLiteral("color: white; border: 1px solid white; font-weight: bold;"));
        icon->setCursor(Qt::PointingHandCursor);
        connect(icon, &ClickLabel::clicked, this, [this, i] { picIcon_Click(i); });
        picIcon << icon;
    }

    auto *title = new QLabel(QStringLiteral("Innkeld"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setGeometry(12, 8, 130, 30);
    title->setStyleSheet(QStringLiteral("color: white; font-size: 18pt; font-weight: bold;"));
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The label menu.
    for (int i = 0; i < 8; ++i) {
        auto *label = new ClickLabel(QLatin1String(kMenuCaptions[i]), this);
        label->setObjectName(QStringLiteral("lblMenu_%1").arg(i));
        label->resize(130, 28);
        label->setWordWrap(true);
        label->setCursor(Qt::PointingHandCursor);
        const bool white = i == 0 || i == 5 || i == 6;
        label->setStyleSheet(QStringLiteral("color: %1;")
                                 .arg(white ? QStringLiteral("#ffffff") : MenuHighlightTextColor()));
        connect(label, &ClickLabel::clicked, this, [this, i] { lblMenu_Click(i); });
        connect(label, &ClickLabel::mouseMoved, this, [this, i] { lblMenu_MouseMove(i); });
        lblMenu << label;
    }
    lblMenu[5]->setToolTip(QStringLiteral("Create a new booking."));
    lblMenu[6]->setToolTip(QStringLiteral("View today's arrivals and departures."));

    mnuFile = new QMenu(QStringLiteral("&File"), this);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction *exit = mnuFile->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exit, &QAction::triggered, this, [this] { mnuFileExit_Click(); });

    mnuConfigure = new QMenu(QStringLiteral("&Configure"), this);
    mnuConfigure->setObjectName(QStringLiteral("mnuConfigure"));
    mnuReservations = new QMenu(QStringLiteral("&Bookings"), this);
    mnuReservations->setObjectName(QStringLiteral("mnuReservations"));
    QAction *add = mnuReservations->addAction(QStringLiteral("&Add Booking"));
    add->setObjectName(QStringLiteral("mnuReservationAdd"));
    connect(add, &QAction::triggered, this, [this] { mnuReservationAdd_Click(); });

    QAction *rooms = mnuConfigure->addAction(QStringLiteral("&Rooms..."));
    rooms->setObjectName(QStringLiteral("mnuConfigureRooms"));
    connect(rooms, &QAction::triggered, this, [this] { mnuConfigureRooms_Click(); });

    // Commands that come with later work are not offered yet.
    for (int i : {1, 4})
        lblMenu[i]->setVisible(false);
    int row = 0;
    for (ClickLabel *label : lblMenu)
        if (!label->isHidden())
            label->move(12, 60 + 30 * row++);

    picBack = new QWidget(this);
    picBack->setObjectName(QStringLiteral("picBack"));
    picBack->setGeometry(150, 40, kWidth - 160, 551 - 50);
    picBack->setAutoFillBackground(true);
    QPalette back = picBack->palette();
    back.setColor(QPalette::Window, QColor(0xf4, 0xf1, 0xea));
    picBack->setPalette(back);

    picBooking = new QFrame(picBack);
    picBooking->setObjectName(QStringLiteral("picBooking"));
    picArrivals = new QFrame(picBack);
    picArrivals->setObjectName(QStringLiteral("picArrivals"));
    picCalendar = new QFrame(picBack);
    picCalendar->setObjectName(QStringLiteral("picCalendar"));
    for (QFrame *panel : {picBooking, picArrivals, picCalendar}) {
        panel->setFrameShape(QFrame::Box);
        panel->setGeometry(10, 10, picBack->width() - 20, picBack->height() - 20);
    }

    buildArrivalsPanel();
    buildCalendarPanel();
    buildBookingPanel();
}

void frmMain::buildCalendarPanel()
{
    addLabel1(16, QStringLiteral("Calendar"), picCalendar)->setGeometry(12, 8, 300, 32);
}

void frmMain::Form_Load()
{
    if (m_loaded)
        return;
    // 1. The outer height, then 2. no title bar.
    setFixedSize(kWidth, kLoadHeight);
    setWindowFlag(Qt::FramelessWindowHint, true);
    setFixedSize(kWidth, 551);

    // 3. The one database connection.
    m_db = Database::open(QDir(m_context.programFolder).filePath(QStringLiteral("db.mdb")));

    // 5.-8.
    OpenedFromList = false;
    dtCalendar->setSelectedDate(QDate::currentDate());
    picCalendar->hide();
    picBooking->hide();
    picArrivals->hide();
    ShowArrivalsDepartures();

    // 9. The panels fill the content area.
    for (QFrame *panel : {picCalendar, picBooking, picArrivals}) {
        panel->setGeometry(0, 0, picBack->width(), picBack->height());
        panel->setFrameShape(QFrame::NoFrame);
    }

    // 10.-11. The wizard starts at its first step.
    CurrentStep = 0;
    cmdBack->setEnabled(false);
    NightCount = 0;

    // 12.-17. The regional terms and defaults.
    SettingsStore &settings = *m_context.settings;
    DefaultCostPerNight = settings.ReadSetting(QStringLiteral("CostPerNight"), QStringLiteral("10.00"));
    SalesTaxPercent = SettingToNumber(settings.ReadSetting(QStringLiteral("SalesTaxPercentage"), QStringLiteral("10")));
    txtCostPerNight->setText(FormatMoney(DefaultCostPerNight));
    const QString symbol = settings.ReadSetting(QStringLiteral("CurrencySymbol"), GetLocaleText(LOCALE_SCURRENCY));
    for (QLabel *label : lblCurrencySymbol)
        label->setText(symbol);
    const QString taxName = settings.ReadSetting(QStringLiteral("SalesTaxName"), QStringLiteral("Sales Tax"));
    for (QLabel *label : lblSalesTaxName)
        label->setText(taxName);
    const QString postCode = settings.ReadSetting(QStringLiteral("PostCode"), QStringLiteral("Post Code"));
    for (QLabel *label : lblPostCode)
        label->setText(postCode);

    m_loaded = true;
}

bool frmMain::guarded(const std::function<void()> &action)
{
    QString failure;
    try {
        action();
        return true;
    } catch (const DbError &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("An unexpected failure stopped this action.");
    }
    m_context.ui->message(this, failure, QMessageBox::Critical);
    return false;
}

void frmMain::FirstRun()
{
    mnuConfigureRooms_Click();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::showPanel(QFrame *panel)
{
    // Notes being typed when the booking panel goes are kept, as if the
    // operator had left the box.
    if (panel != picBooking && picBooking->isVisible() && focusWidget() == txtBookingNotes)
        txtBookingNotes_LostFocus();
    for (QFrame *p : {picCalendar, picBooking, picArrivals})
        if (p != panel)
            p->hide();
    panel->show();
    panel->raise();
}

void frmMain::mnuCalendar_Click()
{
    showPanel(picCalendar);
}

void frmMain::mnuConfigureRooms_Click()
{
    guarded([this] {
        frmConfigRooms dialog(*m_db, *m_context.ui, this);
        dialog.Setup();
        dialog.exec();
    });
}

void frmMain::popupMenu(QMenu *menu, int labelIndex)
{
    QLabel *label = lblMenu.at(labelIndex);
    menu->popup(mapToGlobal(QPoint(label->x() + label->width(), label->y())));
}

void frmMain::lblMenu_Click(int index)
{
    switch (index) {
    case 0:
        popupMenu(mnuFile, 0);
        break;
    case 1:
        mnuCalendar_Click();
        break;
    case 2:
        popupMenu(mnuReservations, 2);
        break;
    case 3:
        popupMenu(mnuConfigure, 3);
        break;
    case 5:
        // A booking opened from a list stays as it is; a new one is started
        // straight away. Running Next on the emptied wizard first would write
        // to no booking and could only bring up a message about dates or
        // rooms that have nothing to do with the new booking.
        if (OpenedFromList) {
            CurrentStep = 0;
            CurrentBookingId = 0;
            OpenedFromList = false;
        }
        mnuReservationAdd_Click();
        break;
    case 6:
        // The lists keep what they show; only the date moves.
        dtCalendar->setSelectedDate(QDate::currentDate());
        mnuReservationsArrivals_Click();
        break;
    case 7:
        mnuReservationsArrivals_Click();
        break;
    default:
        break;
    }
}

void frmMain::lblMenu_MouseMove(int index)
{
    for (int i = 0; i < lblMenu.size(); ++i)
        lblMenu[i]->setStyleSheet(QStringLiteral("color: %1;")
                                      .arg(i == index ? MenuHoverColor() : MenuHighlightTextColor()));
}

void frmMain::picIcon_Click(int index)
{
    if (index == 0)
        showMinimized();
    else if (index == 1)
        mnuFileExit_Click();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        if (watched == m_calendarView && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            dtCalendar_KeyUp();
        break;
    case QEvent::FocusIn:
        if (watched == lstArrivals)
            lstArrivals_GotFocus();
        else if (watched == lstDepartures)
            lstDepartures_GotFocus();
        break;
    case QEvent::FocusOut: {
        // Leaving a box for another control of the program; not a pop-up
        // menu over the box, nor a switch to another window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            wizardFocusOut(watched);
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::DragWindow()
{
    if (QWindow *w = windowHandle())
        w->startSystemMove();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_loaded && picBooking->isVisible() && focusWidget() == txtBookingNotes)
        txtBookingNotes_LostFocus();
    QWidget::closeEvent(event);
}

void frmMain::mousePressEvent(QMouseEvent *event)
{
    DragWindow();
    event->accept();
}

void frmMain::mouseMoveEvent(QMouseEvent *event)
{
    for (ClickLabel *label : lblMenu)
        label->setStyleSheet(QStringLiteral("color: %1;").arg(MenuHighlightTextColor()));
    QWidget::mouseMoveEvent(event);
}

}  // namespace innkeld
