#include "ArrivalsPanel.h"
#include "ui_ArrivalsPanel.h"

#include "arrivals/arrivalsquery.h"

#include <QAbstractItemView>

namespace innkeld {

ArrivalsPanel::ArrivalsPanel(QWidget *parent) : QFrame(parent), ServiceClient(this), ui(new Ui::ArrivalsPanel)
{
    ui->setupUi(this);
    connect(ui->Label1_8, &ClickLabel::mousePressed, this, &ArrivalsPanel::headingPressed);
    // The month view as designed, or as large as its day names and numbers
    // need in the region's words and the desktop's font ("Wed" whole).
    ui->dtCalendar->setFixedSize(ui->dtCalendar->sizeHint().expandedTo(ui->dtCalendar->minimumSize()));

    // A click on a day refills the lists, and so does every other change of
    // the date the operator makes: the arrow keys, or a date typed into the
    // month view, which its editor commits later with no key at all. A date
    // the program sets alone does not.
    connect(ui->dtCalendar, &QCalendarWidget::clicked, this, &ArrivalsPanel::dtCalendar_DateClick);
    connect(ui->dtCalendar, &QCalendarWidget::selectionChanged, this, &ArrivalsPanel::dtCalendar_SelectionChanged);
    if (auto *view = ui->dtCalendar->findChild<QAbstractItemView *>()) {
        m_monthView = view->viewport();
        m_monthView->installEventFilter(this);
    }
    connect(ui->lstArrivals, &QListWidget::itemActivated, this, &ArrivalsPanel::lstArrivals_DblClick);
    connect(ui->lstDepartures, &QListWidget::itemActivated, this, &ArrivalsPanel::lstDepartures_DblClick);
    ui->lstArrivals->installEventFilter(this);
    ui->lstDepartures->installEventFilter(this);
    connect(ui->cmdViewDetails, &QPushButton::clicked, this, &ArrivalsPanel::cmdViewDetails_Click);
}

ArrivalsPanel::~ArrivalsPanel() = default;

void ArrivalsPanel::setConnection(Database *db)
{
    m_db = db;
}

QDate ArrivalsPanel::date() const
{
    return ui->dtCalendar->selectedDate();
}

void ArrivalsPanel::setDate(const QDate &day)
{
    m_settingDate = true;
    ui->dtCalendar->setSelectedDate(day);
    m_settingDate = false;
}

void ArrivalsPanel::FillLists()
{
    const QDate day = date();
    const QVector<DayListEntry> arrivals = ReadDayList(*m_db, ArrivalsSql(day));
    const QVector<DayListEntry> departures = ReadDayList(*m_db, DeparturesSql(day));
    for (auto [list, entries] :
         {std::pair{ui->lstArrivals, &arrivals}, std::pair{ui->lstDepartures, &departures}}) {
        list->clear();
        for (const DayListEntry &e : *entries) {
            auto *item = new QListWidgetItem(e.text, list);
            item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(e.bookingId));
        }
    }
}

void ArrivalsPanel::dtCalendar_DateClick(const QDate &)
{
    guarded([this] { FillLists(); });
}

void ArrivalsPanel::dtCalendar_SelectionChanged()
{
    // A press on a day selects it at once; the click that follows fills.
    if (m_settingDate || m_pointerDown)
        return;
    guarded([this] { FillLists(); });
}

void ArrivalsPanel::openFromList(QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    const RecordId id = selected.first()->data(Qt::UserRole).toLongLong();
    if (!bookingStillThere(*m_db, id)) {
        FillLists();  // the lists as they are now
        return;
    }
    emit openBooking(id);
}

void ArrivalsPanel::lstArrivals_DblClick()
{
    guarded([this] { openFromList(ui->lstArrivals); });
}

void ArrivalsPanel::lstDepartures_DblClick()
{
    guarded([this] { openFromList(ui->lstDepartures); });
}

void ArrivalsPanel::cmdViewDetails_Click()
{
    if (!ui->lstArrivals->selectedItems().isEmpty())
        lstArrivals_DblClick();
    if (!ui->lstDepartures->selectedItems().isEmpty())
        lstDepartures_DblClick();
}

void ArrivalsPanel::lstArrivals_GotFocus()
{
    ui->lstDepartures->clearSelection();
    ui->lstDepartures->setCurrentRow(-1);
}

void ArrivalsPanel::lstDepartures_GotFocus()
{
    ui->lstArrivals->clearSelection();
    ui->lstArrivals->setCurrentRow(-1);
}

bool ArrivalsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_monthView && event->type() == QEvent::MouseButtonPress)
        m_pointerDown = true;
    else if (watched == m_monthView && event->type() == QEvent::MouseButtonRelease)
        m_pointerDown = false;
    else if (event->type() == QEvent::FocusIn && watched == ui->lstArrivals)
        lstArrivals_GotFocus();
    else if (event->type() == QEvent::FocusIn && watched == ui->lstDepartures)
        lstDepartures_GotFocus();
    return QFrame::eventFilter(watched, event);
}

}  // namespace innkeld
