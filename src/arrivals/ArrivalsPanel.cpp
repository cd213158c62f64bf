#include "ArrivalsPanel.h"
#include "ui_ArrivalsPanel.h"

#include "arrivals/arrivalsquery.h"
#include "booking/bookingstatus.h"
#include "data/regional/regional.h"
#include "widgets/bookinglife.h"

#include <QAbstractItemView>
#include <QMenu>
#include <QShortcut>

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
    connect(ui->cmdPrintRegistration, &QPushButton::clicked, this, [this] { printCards(false); });
    connect(ui->cmdPrintDayCards, &QPushButton::clicked, this, [this] { printCards(true); });
    connect(ui->cmdCheckIn, &QPushButton::clicked, this, &ArrivalsPanel::cmdCheckIn_Click);
    connect(ui->cmdCheckOut, &QPushButton::clicked, this, &ArrivalsPanel::cmdCheckOut_Click);
    connect(ui->cmdNoShow, &QPushButton::clicked, this, [this] { cmdNoShow_Click(false); });
    connect(ui->cmdNoShowAll, &QPushButton::clicked, this, [this] { cmdNoShow_Click(true); });
    for (auto [key, slot] : {std::pair{Qt::Key_I, &ArrivalsPanel::cmdCheckIn_Click},
                             std::pair{Qt::Key_O, &ArrivalsPanel::cmdCheckOut_Click}}) {
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    }
    // The same actions by the lists' context menus (a right click or the
    // menu key).
    for (QListWidget *list : {ui->lstArrivals, ui->lstDepartures, ui->lstNotArrived}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint &at) { listMenu(list, at); });
    }
    connect(ui->lstNotArrived, &QListWidget::itemActivated, this, [this] { guarded([this] { openFromList(ui->lstNotArrived); }); });
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
    QVector<DayListEntry> waiting;
    for (const NotArrived &n : NotArrivedBookings(*m_db, QDate::currentDate()))
        waiting << DayListEntry{QStringLiteral("%1  %2%3").arg(RegionalShortDate(n.from.date()),
                                                               n.guest.isEmpty() ? GuestDisplayName(QString(), QString()) : n.guest,
                                                               n.rooms.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(n.rooms)),
                                n.id, BookingStatus::Booked};
    for (auto [list, entries] : {std::pair{ui->lstArrivals, &arrivals}, std::pair{ui->lstDepartures, &departures},
                                 std::pair{ui->lstNotArrived, static_cast<const QVector<DayListEntry> *>(&waiting)}}) {
        list->clear();
        for (const DayListEntry &e : *entries) {
            auto *item = new QListWidgetItem(e.text, list);
            item->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(e.bookingId));
            item->setData(Qt::UserRole + 1, int(e.status));
            // What holds no room any longer is greyed.
            if (!HoldsRooms(e.status))
                item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
        }
    }
    ui->cmdNoShow->setEnabled(!waiting.isEmpty());
    ui->cmdNoShowAll->setEnabled(!waiting.isEmpty());
    ui->cmdPrintDayCards->setEnabled(!arrivals.isEmpty());
}

void ArrivalsPanel::printCards(bool wholeDay)
{
    QVector<RecordId> bookings;
    if (!wholeDay) {
        if (const RecordId id = selected(ui->lstArrivals).first)
            bookings << id;
    } else {
        // The day's arrivals that still come (not those cancelled).
        for (int i = 0; i < ui->lstArrivals->count(); ++i)
            if (HoldsRooms(BookingStatus(ui->lstArrivals->item(i)->data(Qt::UserRole + 1).toInt())))
                bookings << ui->lstArrivals->item(i)->data(Qt::UserRole).toLongLong();
    }
    if (bookings.isEmpty()) {
        m_ui->message(window(), wholeDay ? tr("No guest arrives on %1.").arg(RegionalShortDate(date()))
                                         : tr("Choose an arrival in the list first."),
                      QMessageBox::Information);
        return;
    }
    emit printRegistrationCards(bookings, wholeDay ? tr("Registration Cards %1").arg(RegionalShortDate(date()))
                                                   : tr("Registration Card %1").arg(bookings.first()));
}

QPair<RecordId, BookingStatus> ArrivalsPanel::selected(QListWidget *list) const
{
    const QList<QListWidgetItem *> items = list->selectedItems();
    if (items.isEmpty())
        return {0, BookingStatus::Booked};
    return {items.first()->data(Qt::UserRole).toLongLong(), BookingStatus(items.first()->data(Qt::UserRole + 1).toInt())};
}

void ArrivalsPanel::changed()
{
    guarded([this] { FillLists(); });
    emit staysChanged();
}

void ArrivalsPanel::cmdCheckIn_Click()
{
    const auto [id, status] = selected(ui->lstArrivals);
    if (id == 0) {
        m_ui->message(window(), tr("Choose the arriving guest in the list of arrivals first."), QMessageBox::Information);
        return;
    }
    if (BookingLife{*m_ui, window(), *m_db}.checkIn(id, status))
        changed();
    else
        guarded([this] { FillLists(); });
}

void ArrivalsPanel::cmdCheckOut_Click()
{
    const auto [id, status] = selected(ui->lstDepartures);
    if (id == 0) {
        m_ui->message(window(), tr("Choose the departing guest in the list of departures first."), QMessageBox::Information);
        return;
    }
    if (BookingLife{*m_ui, window(), *m_db}.checkOut(id, status, m_openPayments))
        changed();
    else
        guarded([this] { FillLists(); });
}

void ArrivalsPanel::cmdNoShow_Click(bool all)
{
    QVector<QPair<RecordId, BookingStatus>> bookings;
    for (int i = 0; i < ui->lstNotArrived->count(); ++i) {
        QListWidgetItem *item = ui->lstNotArrived->item(i);
        if (all || item->isSelected())
            bookings << qMakePair(RecordId(item->data(Qt::UserRole).toLongLong()), BookingStatus::Booked);
    }
    if (bookings.isEmpty()) {
        m_ui->message(window(), tr("Choose the guests who never arrived in the list first."), QMessageBox::Information);
        return;
    }
    if (BookingLife{*m_ui, window(), *m_db}.noShow(bookings))
        changed();
    else
        guarded([this] { FillLists(); });
}

void ArrivalsPanel::listMenu(QListWidget *list, const QPoint &at)
{
    if (QListWidgetItem *item = list->itemAt(at))
        list->setCurrentItem(item);
    const auto [id, status] = selected(list);
    if (id == 0)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuBooking"));
    menu.addAction(tr("&Open"), this, [this, list] { guarded([this, list] { openFromList(list); }); });
    const QVector<BookingStatus> allowed = ChangesFrom(status);
    if (list == ui->lstArrivals && allowed.contains(BookingStatus::CheckedIn))
        menu.addAction(tr("Check &In"), this, &ArrivalsPanel::cmdCheckIn_Click);
    if (list == ui->lstDepartures && allowed.contains(BookingStatus::CheckedOut))
        menu.addAction(tr("Check &Out"), this, &ArrivalsPanel::cmdCheckOut_Click);
    if (list == ui->lstNotArrived)
        menu.addAction(tr("Mark No-&show"), this, [this] { cmdNoShow_Click(false); });
    if (list == ui->lstArrivals) {
        menu.addAction(tr("Print Re&gistration Card"), this, [this] { printCards(false); });
        menu.addAction(tr("Print the Day's Car&ds"), this, [this] { printCards(true); });
    }
    if (allowed.contains(BookingStatus::Cancelled))
        menu.addAction(tr("&Cancel Booking..."), this, [this, id = id, status = status] {
            QString guest;
            if (guarded([&] { guest = GuestOf(*m_db, id); }) && BookingLife{*m_ui, window(), *m_db}.cancel(id, status, guest))
                changed();
        });
    if (allowed.contains(BookingStatus::Booked))
        menu.addAction(tr("&Restore"), this, [this, id = id, status = status] {
            if (BookingLife{*m_ui, window(), *m_db}.restore(id, status))
                changed();
        });
    menu.exec(list->viewport()->mapToGlobal(at));
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
