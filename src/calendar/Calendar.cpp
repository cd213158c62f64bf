#include "Calendar.h"
#include "ui_Calendar.h"

#include "data/regional/regional.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace innkeld {

namespace {

// Columns and day rows of 600 twips; the date column takes the rest of the
// grid's 6975, the header row the rest of its 4455. A room's column is as
// wide as its name, up to a limit (then the name is cut, and whole in the
// tooltip).
constexpr int kCellSize = 40;
constexpr int kDateColumnWidth = 65;
constexpr int kHeaderRowHeight = 17;
constexpr int kMaxRoomColumnWidth = 140;
// Seven days at the designed height (the grid 297 pixels high, the control
// 360 with its scroll bars, button and legend), up to fourteen as it grows.
constexpr int kDesignedGridHeight = 297;
constexpr int kDesignedHeight = 358;
constexpr int kFewestDays = 7;
constexpr int kMostDays = 14;
constexpr int kRightMargin = 0;  // the layout's, right of the grid
// A departure day that the room can be booked from (the legend's swatch).
const QColor kDepartsColour(200, 240, 200);

}  // namespace

// The grid's cells: row 0 the room names, column 0 the dates, the others
// the rooms' days, yellow when booked. Each room column carries its room's
// id as the column's data (Qt::UserRole of the header cell).
class CalendarModel : public QAbstractTableModel
{
    // Its words in its own context (a class without Q_OBJECT would look
    // them up under its base's).
    Q_DECLARE_TR_FUNCTIONS(innkeld::CalendarModel)

public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(CalendarWeek week)
    {
        beginResetModel();
        m_week = std::move(week);
        endResetModel();
    }
    const CalendarWeek &week() const { return m_week; }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : m_week.days + 1; }
    int columnCount(const QModelIndex &parent) const override
    {
        // The dates and the rooms shown: never a column without its room.
        return parent.isValid() ? 0 : int(m_week.roomIds.size()) + 1;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const int row = index.row(), column = index.column();
        const int room = column - 1;
        const bool hasRoom = room >= 0 && room < m_week.roomIds.size();
        // The fixed row and column look like a grid's fixed cells.
        if ((row == 0 || column == 0) && role == Qt::BackgroundRole)
            return QPalette().color(QPalette::Button);
        if (row == 0) {
            if (role == Qt::DisplayRole && hasRoom)
                return m_week.roomNames.at(room);
            if (role == Qt::ToolTipRole && hasRoom)
                return PlainToolTip(m_week.roomNames.at(room));
            if (role == Qt::UserRole && hasRoom)
                return QVariant::fromValue<qlonglong>(m_week.roomIds.at(room));
            if (role == Qt::TextAlignmentRole)
                return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignTop);
            return QVariant();
        }
        const QDate day = m_week.start.addDays(row - 1);
        if (column == 0) {
            if (role == Qt::DisplayRole)
                return RegionalShortDate(day);
            if (role == Qt::UserRole)
                return day;
            if (role == Qt::TextAlignmentRole)
                return QVariant::fromValue(Qt::AlignCenter);
            return QVariant();
        }
        if (!hasRoom)
            return QVariant();
        const CalendarCell &cell = m_week.cell(room, row - 1);
        const bool departs = !cell.departing.isEmpty();
        if (role == Qt::BackgroundRole) {
            if (cell.booked())
                return QColor(255, 255, 0);
            return departs ? QVariant(kDepartsColour) : QVariant();  // else the grid's default
        }
        if (role == Qt::ToolTipRole && (cell.booked() || departs)) {
            QStringList lines = cell.guests;
            for (const QString &guest : cell.departingGuests)
                lines << tr("Departs: %1").arg(guest);
            return PlainToolTip(lines.join(QLatin1Char('\n')));
        }
        if (role == Qt::AccessibleTextRole) {
            if (cell.booked())
                return tr("Booked: %1").arg(cell.guests.join(QStringLiteral(", ")));
            return departs ? tr("Available; departs: %1").arg(cell.departingGuests.join(QStringLiteral(", ")))
                           : tr("Available");
        }
        return QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.row() == 0 || index.column() == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

private:
    CalendarWeek m_week;
};

Calendar::Calendar(QWidget *parent) : QWidget(parent), ServiceClient(this), ui(new Ui::Calendar)
{
    ui->setupUi(this);
    m_model = new CalendarModel(this);
    ui->g->setModel(m_model);
    ui->g->horizontalHeader()->setMinimumSectionSize(0);
    ui->g->verticalHeader()->setMinimumSectionSize(0);
    ui->g->horizontalHeader()->setDefaultSectionSize(kCellSize);
    ui->g->verticalHeader()->setDefaultSectionSize(kCellSize);

    // The arrow keys stay inside the cells shown; past an edge they move the
    // rooms or the week, as the scroll bars do.
    ui->g->installEventFilter(this);
    // The room scroll bar keeps its place when all rooms fit and it hides:
    // the day scroll bar's lower arrow lies beside it.
    QSizePolicy policy = ui->HScroll->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ui->HScroll->setSizePolicy(policy);
    connect(ui->ScrollDate, &QScrollBar::valueChanged, this, &Calendar::ScrollDate_Change);
    connect(ui->HScroll, &QScrollBar::valueChanged, this, &Calendar::HScroll_Change);
    connect(ui->Command1, &QPushButton::clicked, this, &Calendar::Command1_Click);
    // A double-click or Enter on a booked cell opens its booking.
    connect(ui->g, &QAbstractItemView::activated, this, &Calendar::cellActivated);
}

Calendar::~Calendar() = default;

QString Calendar::FormatSQLDate(const QDate &dtDate) const
{
    return innkeld::FormatSQLDate(dtDate);
}

void Calendar::Setup()
{
    dtStart = QDate::currentDate();
    // Placing the scroll bars is no move of the week.
    const QSignalBlocker days(ui->ScrollDate), rooms(ui->HScroll);
    ui->ScrollDate->setRange(0, 32767);
    ui->ScrollDate->setValue(16384);
    intLastScroll = ui->ScrollDate->value();
    intVisibleRooms = 10;
    ui->HScroll->setMinimum(0);
    ui->HScroll->setValue(0);
}

void Calendar::Refresh()
{
    if (!objConn)
        throw DbError(tr("The calendar has no database connection."));
    // The rooms and the days shown are read whole before anything is shown:
    // a failure leaves the grid as it was.
    HouseRooms rooms = ReadHouseRooms(*objConn);
    QVector<int> widths;
    widths.reserve(rooms.names.size());
    if (m_measuredFont != ui->g->font() || m_nameWidths.size() > 100000) {
        m_nameWidths.clear();
        m_measuredFont = ui->g->font();
    }
    const QFontMetrics metrics(ui->g->font());
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ui->g) + 1) + 8;
    for (const QString &name : rooms.names) {
        auto it = m_nameWidths.constFind(name);
        if (it == m_nameWidths.constEnd())
            it = m_nameWidths.insert(name, std::clamp(metrics.horizontalAdvance(name) + margin, kCellSize,
                                                      kMaxRoomColumnWidth));
        widths << *it;
    }
    showRooms(rooms, widths, true);
}

int Calendar::daysThatFit() const
{
    return std::clamp(kFewestDays + (height() - kDesignedHeight) / kCellSize, kFewestDays, kMostDays);
}

int Calendar::dateColumnWidth(int days) const
{
    // As wide as the widest date shown in the region's short format and the
    // grid's font, never less than the designed width: no date is cut.
    const QFontMetrics metrics(ui->g->font());
    int widest = 0;
    for (int day = 0; day < days; ++day)
        widest = std::max(widest, metrics.horizontalAdvance(RegionalShortDate(dtStart.addDays(day))));
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ui->g) + 1) + 2;
    return std::max(kDateColumnWidth, widest + margin);
}

void Calendar::showRooms(const HouseRooms &rooms, const QVector<int> &widths, bool read)
{
    // The days that fit the control's height, the room columns that fit
    // whole beside the dates from the scroll position on; the bar reaches
    // as far as the last rooms that fit together.
    const int days = daysThatFit();
    const int dateWidth = dateColumnWidth(days);
    const int available = width() - kRightMargin - 2 * ui->g->frameWidth() - dateWidth;
    const int n = int(rooms.ids.size());
    int last = n, used = 0;
    while (last > 0 && used + widths.at(last - 1) <= available)
        used += widths.at(--last);
    const int lastStart = n == 0 ? 0 : std::min(last, n - 1);
    const int first = std::clamp(ui->HScroll->value(), 0, lastStart);
    int count = 0;
    used = 0;
    while (first + count < n && used + widths.at(first + count) <= available)
        used += widths.at(first + count++);
    if (count == 0 && first < n)
        count = 1;  // a name wider than all the room there is, cut
    const Shown shown{dtStart, first, count, days};
    // Only a change of what is shown reads the database: a resize that
    // shows the same rooms and days lays out what was read.
    if (!read && shown == m_shown && rooms.ids == m_rooms.ids)
        return;
    CalendarWeek week = ReadCalendarDays(*objConn, dtStart, days, rooms, first, count);

    m_rooms = rooms;
    m_widths = widths;
    m_shown = shown;
    intVisibleRooms = count;
    {
        const QSignalBlocker blocker(ui->HScroll);
        ui->HScroll->setRange(0, lastStart);
        ui->HScroll->setValue(first);
        ui->HScroll->setPageStep(std::max(1, count));
        ui->HScroll->setVisible(lastStart > 0);
    }
    ui->lblNoRooms->setVisible(n == 0);
    // The departure day's own colour is shown, and explained, only when the
    // house books rooms from it.
    ui->Picture1_2->setVisible(week.departureDayFree);
    ui->Label1_3->setVisible(week.departureDayFree);
    m_model->show(std::move(week));

    ui->g->setColumnWidth(0, dateWidth);
    // While not every room fits, the rooms shown share the width the next
    // one would not fit in, whatever the font makes of their names.
    int spare = count > 0 && count < n ? std::max(0, available - used) : 0;
    for (int c = 0; c < count; ++c) {
        const int share = spare / (count - c);
        spare -= share;
        ui->g->setColumnWidth(c + 1, widths.at(first + c) + share);
    }
    ui->g->setRowHeight(0, kHeaderRowHeight);
    for (int r = 1; r <= days; ++r)
        ui->g->setRowHeight(r, kCellSize);
    ui->g->setFixedHeight(kDesignedGridHeight + (days - kFewestDays) * kCellSize);
    ui->ScrollDate->setFixedWidth(dateWidth);
    ui->g->horizontalScrollBar()->setValue(0);
    ui->g->verticalScrollBar()->setValue(0);
}

QSize Calendar::minimumSizeHint() const
{
    // The designed size, whatever the days shown now need: the control is
    // made smaller, and then shows fewer days.
    return QSize(483, 360);
}

void Calendar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Before the first refresh there is nothing to lay out.
    if (objConn && m_shown.days > 0)
        guarded([this] { showRooms(m_rooms, m_widths, false); });
}

void Calendar::ScrollDate_Change(int value)
{
    // One day per change, whichever way and however far the bar moved.
    const QDate before = dtStart;
    dtStart = dtStart.addDays(intLastScroll < value ? 1 : -1);
    if (!guarded([this] { Refresh(); }))
        dtStart = before;  // the grid still shows the week it showed
    intLastScroll = ui->ScrollDate->value();
}

void Calendar::HScroll_Change(int)
{
    guarded([this] { Refresh(); });
}

void Calendar::Command1_Click()
{
    guarded([this] { Refresh(); });
}

void Calendar::cellActivated(const QModelIndex &index)
{
    if (index.row() < 1 || index.column() < 1)
        return;
    const CalendarWeek &week = m_model->week();
    const int room = index.column() - 1;
    if (room >= week.roomIds.size())
        return;
    const CalendarCell &cell = week.cell(room, index.row() - 1);
    if (!cell.booked())
        return;
    const RecordId id = cell.bookings.first();
    guarded([this, id] {
        if (!bookingStillThere(*objConn, id)) {
            Refresh();  // the week as it is now
            return;
        }
        emit openBooking(id);
    });
}

bool Calendar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->g || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QModelIndex current = ui->g->currentIndex();
    if (!current.isValid() || key->modifiers() != Qt::NoModifier)
        return QWidget::eventFilter(watched, event);
    const int lastColumn = m_model->columnCount(QModelIndex()) - 1;
    const auto stay = [this](int row, int column) {
        ui->g->setCurrentIndex(m_model->index(row, column));
        ui->g->horizontalScrollBar()->setValue(0);
        ui->g->verticalScrollBar()->setValue(0);
    };
    const int row = current.row(), column = current.column();
    switch (key->key()) {
    case Qt::Key_Right:
        if (column < lastColumn)
            return false;
        if (ui->HScroll->value() < ui->HScroll->maximum())
            ui->HScroll->setValue(ui->HScroll->value() + 1);
        stay(row, std::min(column, m_model->columnCount(QModelIndex()) - 1));
        return true;
    case Qt::Key_Left:
        if (column > 1)
            return false;
        if (ui->HScroll->value() > 0)
            ui->HScroll->setValue(ui->HScroll->value() - 1);
        stay(row, 1);
        return true;
    case Qt::Key_Down: {
        const int lastRow = m_model->rowCount(QModelIndex()) - 1;
        if (row < lastRow)
            return false;
        ui->ScrollDate->setValue(ui->ScrollDate->value() + 1);
        stay(lastRow, column);
        return true;
    }
    case Qt::Key_Up:
        if (row > 1)
            return false;
        ui->ScrollDate->setValue(ui->ScrollDate->value() - 1);
        stay(1, column);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

}  // namespace innkeld
