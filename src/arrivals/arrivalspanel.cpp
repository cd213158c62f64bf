// The home view of the main window: a month view and the day's arrivals and
// departures, from which a booking is opened in the wizard.
#include "app/frmMain.h"
#include "app/widgets.h"
#include "app/uiservices.h"
#include "arrivals/arrivalsquery.h"
#include "wizard/bookingstore.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace innkeld {

void frmMain::buildArrivalsPanel()
{
    QLabel *heading = addLabel1(8, QStringLiteral("Arrivals and Departures"), picArrivals);
    heading->setGeometry(12, 8, 400, 32);

    auto *dateCaption = new QLabel(QStringLiteral("Date:"), picArrivals);
    dateCaption->setObjectName(QStringLiteral("lblDate"));
    dateCaption->setGeometry(10, 50, 220, 20);
    dtCalendar = new QCalendarWidget(picArrivals);
    dtCalendar->setObjectName(QStringLiteral("dtCalendar"));
    dtCalendar->setToolTip(QStringLiteral("View the arrivals and departures on the selected date."));
    dtCalendar->setGeometry(10, 72, 226, 190);
    dtCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    dateCaption->setBuddy(dtCalendar);

    auto *arrivalsCaption = new QLabel(QStringLiteral("Arrivals:"), picArrivals);
    arrivalsCaption->setObjectName(QStringLiteral("lblArrivals"));
    arrivalsCaption->setGeometry(246, 50, 253, 20);
    // 3795 by 2010 twips
    lstArrivals = new QListWidget(picArrivals);
    lstArrivals->setObjectName(QStringLiteral("lstArrivals"));
    lstArrivals->setToolTip(QStringLiteral("Customers arriving on the selected date."));
    lstArrivals->setGeometry(246, 72, 253, 134);
    arrivalsCaption->setBuddy(lstArrivals);

    auto *departuresCaption = new QLabel(QStringLiteral("Departures:"), picArrivals);
    departuresCaption->setObjectName(QStringLiteral("lblDepartures"));
    departuresCaption->setGeometry(246, 214, 253, 20);
    lstDepartures = new QListWidget(picArrivals);
    lstDepartures->setObjectName(QStringLiteral("lstDepartures"));
    lstDepartures->setToolTip(QStringLiteral("Customers departing on the selected date."));
    lstDepartures->setGeometry(246, 236, 253, 134);
    departuresCaption->setBuddy(lstDepartures);

    cmdViewDetails = new QPushButton(QStringLiteral("View Details"), picArrivals);
    cmdViewDetails->setObjectName(QStringLiteral("cmdViewDetails"));
    cmdViewDetails->setToolTip(QStringLiteral("Display details of the selected booking."));
    cmdViewDetails->setGeometry(246 + 253 - 110, 380, 110, 28);

    setTabOrder(dtCalendar, lstArrivals);
    setTabOrder(lstArrivals, lstDepartures);
    setTabOrder(lstDepartures, cmdViewDetails);

    // A click on a day refills the lists; so does moving through the month
    // with the keys. A date the program sets alone does not.
    connect(dtCalendar, &QCalendarWidget::clicked, this, [this](const QDate &d) { dtCalendar_DateClick(d); });
    m_calendarView = dtCalendar->findChild<QAbstractItemView *>();
    if (m_calendarView)
        m_calendarView->installEventFilter(this);
    connect(lstArrivals, &QListWidget::itemActivated, this, [this] { lstArrivals_DblClick(); });
    connect(lstDepartures, &QListWidget::itemActivated, this, [this] { lstDepartures_DblClick(); });
    lstArrivals->installEventFilter(this);
    lstDepartures->installEventFilter(this);
    connect(cmdViewDetails, &QPushButton::clicked, this, [this] { cmdViewDetails_Click(); });
}

void frmMain::ShowArrivalsDepartures()
{
    showPanel(picArrivals);
    const QDate day = dtCalendar->selectedDate();
    const QVector<DayListEntry> arrivals = ReadDayList(*m_db, ArrivalsSql(day));
    const QVector<DayListEntry> departures = ReadDayList(*m_db, DeparturesSql(day));
    for (auto [list, entries] : {std::pair{lstArrivals, &arrivals}, std::pair{lstDepartures, &departures}}) {
        list->clear();
        for (const DayListEntry &e : *entries) {
            auto *item = new QListWidgetItem(e.text, list);
            item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(e.bookingId));
        }
    }
    showPanel(picArrivals);
}

void frmMain::mnuReservationsArrivals_Click()
{
    showPanel(picArrivals);
}

void frmMain::dtCalendar_DateClick(const QDate &)
{
    guarded([this] { ShowArrivalsDepartures(); });
}

void frmMain::dtCalendar_KeyUp()
{
    guarded([this] { ShowArrivalsDepartures(); });
}

void frmMain::openFromList(QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    const RecordId id = selected.first()->data(Qt::UserRole).toLongLong();
    if (!BookingExists(*m_db, id)) {
        // Deleted since the lists were filled: say so and show the lists as they are now.
        m_context.ui->message(this, QStringLiteral("This booking no longer exists."), QMessageBox::Information);
        ShowArrivalsDepartures();
        return;
    }
    CurrentBookingId = id;
    CurrentStep = 4;
    mnuReservationAdd_Click();
    OpenedFromList = true;
}

void frmMain::lstArrivals_DblClick()
{
    guarded([this] { openFromList(lstArrivals); });
}

void frmMain::lstDepartures_DblClick()
{
    guarded([this] { openFromList(lstDepartures); });
}

void frmMain::cmdViewDetails_Click()
{
    if (!lstArrivals->selectedItems().isEmpty())
        lstArrivals_DblClick();
    if (!lstDepartures->selectedItems().isEmpty())
        lstDepartures_DblClick();
}

void frmMain::lstArrivals_GotFocus()
{
    lstDepartures->clearSelection();
    lstDepartures->setCurrentRow(-1);
}

void frmMain::lstDepartures_GotFocus()
{
    lstArrivals->clearSelection();
    lstArrivals->setCurrentRow(-1);
}

}  // namespace innkeld
