#include "RoomChartView.h"

#include "data/regional/regional.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace innkeld {

namespace {

constexpr int kEdge = 5;  // a press this near a bar's end takes that end

bool darkPalette(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness() < 128;
}

QColor statusColour(BookingStatus status, bool dark)
{
    QColor c;
    switch (status) {
    case BookingStatus::CheckedIn:
        c = QColor(0x7c, 0xc0, 0x6a);
        break;
    case BookingStatus::CheckedOut:
        c = QColor(0xb4, 0xb4, 0xb4);
        break;
    default:
        c = QColor(0x6f, 0xa8, 0xdc);
        break;
    }
    return dark ? c.darker(170) : c;
}

QString nightsText(int nights)
{
    return nights == 1 ? RoomChartView::tr("1 night") : RoomChartView::tr("%1 nights").arg(nights);
}

QString dateText(const QDate &day)
{
    return QLocale().toString(day, QLocale::ShortFormat);
}

}  // namespace

// ---------------------------------------------------------------- screen readers

namespace {

// One bar as a screen reader finds it: named with its guest and dates.
class BarAccessible : public QAccessibleInterface
{
public:
    BarAccessible(RoomChartView *view, int index) : m_view(view), m_index(index) {}
    bool isValid() const override { return m_view && m_index < m_view->stays().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        const ChartStay &s = m_view->stays().at(m_index);
        if (t == QAccessible::Name)
            return m_view->describe(s);
        if (t == QAccessible::Description)
            return s.notesLine;
        return QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect bar = m_view->barRect(m_view->stays().at(m_index));
        return QRect(m_view->viewport()->mapToGlobal(bar.topLeft()), bar.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State st;
        st.focusable = true;
        st.selectable = true;
        if (isValid()) {
            st.selected = m_view->stays().at(m_index).booking == m_view->selectedBooking();
            st.invisible = m_view->barRect(m_view->stays().at(m_index)).isEmpty();
        }
        return st;
    }

private:
    QPointer<RoomChartView> m_view;
    int m_index;
};

// The chart as a screen reader finds it: a list of its bars.
class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(RoomChartView *view) : QAccessibleWidget(view, QAccessible::List) {}
    ~ChartAccessible() override { drop(); }
    int childCount() const override { return int(chart()->stays().size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (m_generation != chart()->generation()) {
            drop();
            m_generation = chart()->generation();
        }
        QAccessible::Id &id = m_bars[index];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new BarAccessible(chart(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = m_bars.cbegin(); it != m_bars.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        return child(chart()->barAt(chart()->viewport()->mapFromGlobal(QPoint(x, y))));
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return chart()->describeCursor();
        return QAccessibleWidget::text(t);
    }

private:
    RoomChartView *chart() const { return static_cast<RoomChartView *>(widget()); }
    void drop() const
    {
        for (QAccessible::Id id : std::as_const(m_bars))
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        m_bars.clear();
    }
    mutable QHash<int, QAccessible::Id> m_bars;
    mutable int m_generation = -1;
};

QAccessibleInterface *chartAccessible(const QString &key, QObject *object)
{
    if (key == QLatin1String("innkeld::RoomChartView"))
        if (auto *view = qobject_cast<RoomChartView *>(object))
            return new ChartAccessible(view);
    return nullptr;
}

}  // namespace

RoomChartView::RoomChartView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setObjectName(QStringLiteral("hsbChartDays"));
    verticalScrollBar()->setObjectName(QStringLiteral("vsbChartRooms"));
    horizontalScrollBar()->setRange(0, int(EarliestDate().daysTo(LatestDate())));
    horizontalScrollBar()->setValue(int(EarliestDate().daysTo(m_first)));
    static const bool factory = [] {
        QAccessible::installFactory(chartAccessible);
        return true;
    }();
    Q_UNUSED(factory);
}

// ---------------------------------------------------------------- reading

void RoomChartView::reload()
{
    if (!m_db)
        return;
    try {
        m_rooms = ReadChartRooms(*m_db);
    } catch (const DbError &e) {
        m_readError = e.message();
        emit readFailed(m_readError);
        viewport()->update();
        return;
    }
    measureNames();
    m_cursorRow = std::clamp(m_cursorRow, 0, std::max(0, rowCount() - 1));
    updateScrollBars();
    readStays();
    viewport()->update();
}

void RoomChartView::refresh()
{
    if (m_drag != Drag::None) {
        m_staleWhileDragging = true;
        return;
    }
    m_staleWhileDragging = false;
    readStays();
    viewport()->update();
}

void RoomChartView::readStays()
{
    if (!m_db)
        return;
    const QVector<RecordId> rooms = m_rooms.ids.mid(m_firstRow, rowsShown() + 1);
    try {
        m_stays = ReadChartStays(*m_db, m_first, m_days, rooms);
        m_readError.clear();
    } catch (const DbError &e) {
        m_readError = e.message();
        emit readFailed(m_readError);
    }
    ++m_generation;
    const auto s = stayAtCursor();
    m_selected = s ? s->booking : 0;
}

// ---------------------------------------------------------------- geometry

int RoomChartView::headerHeight() const
{
    return 3 * fontMetrics().height() + 8;
}

int RoomChartView::rowHeight() const
{
    return std::max(22, fontMetrics().height() + 10);
}

void RoomChartView::measureNames()
{
    int widest = fontMetrics().horizontalAdvance(tr("Room"));
    for (const QString &name : m_rooms.names)
        widest = std::max(widest, fontMetrics().horizontalAdvance(name));
    m_nameWidth = widest + 14;
}

int RoomChartView::nameWidth() const
{
    return std::min(m_nameWidth, std::max(60, viewport()->width() / 2));
}

void RoomChartView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        measureNames();
        m_laidOut.clear();
        m_widths.clear();
    }
    QAbstractScrollArea::changeEvent(event);
}

double RoomChartView::dayWidth() const
{
    return std::max(1.0, double(viewport()->width() - nameWidth()) / m_days);
}

int RoomChartView::rowsShown() const
{
    return std::max(1, (viewport()->height() - headerHeight()) / rowHeight());
}

int RoomChartView::xOfDay(const QDate &day) const
{
    return nameWidth() + int(std::lround(double(m_first.daysTo(day)) * dayWidth()));
}

int RoomChartView::rowAt(int y) const
{
    if (y < headerHeight())
        return -1;
    const int row = m_firstRow + (y - headerHeight()) / rowHeight();
    return row < rowCount() ? row : -1;
}

QDate RoomChartView::dayAt(int x) const
{
    if (x < nameWidth())
        return QDate();
    return m_first.addDays(qint64(std::floor((x - nameWidth()) / dayWidth())));
}

QRect RoomChartView::cellRect(int row, const QDate &day) const
{
    const int y = headerHeight() + (row - m_firstRow) * rowHeight();
    return QRect(QPoint(xOfDay(day), y), QPoint(xOfDay(day.addDays(1)) - 1, y + rowHeight() - 1));
}

QRect RoomChartView::barRect(const ChartStay &stay) const
{
    const int row = int(m_rooms.ids.indexOf(stay.room));
    if (row < m_firstRow || row >= m_firstRow + rowsShown() + 1)
        return QRect();
    const int half = int(dayWidth() / 2);
    const int x0 = std::max(nameWidth(), xOfDay(stay.from.date()) + half);
    const int x1 = std::min(viewport()->width(), xOfDay(stay.to.date()) + half);
    if (x1 <= x0)
        return QRect();
    const int y = headerHeight() + (row - m_firstRow) * rowHeight() + 3;
    return QRect(x0, y, x1 - x0, rowHeight() - 6);
}

std::optional<ChartStay> RoomChartView::stayAt(const QPoint &pos, Drag *edge) const
{
    for (auto it = m_stays.crbegin(); it != m_stays.crend(); ++it) {
        const QRect bar = barRect(*it);
        if (!bar.contains(pos))
            continue;
        if (edge) {
            *edge = Drag::Move;
            if (pos.x() >= bar.right() - kEdge && xOfDay(it->to.date()) + int(dayWidth() / 2) <= viewport()->width())
                *edge = Drag::StretchEnd;
            else if (pos.x() <= bar.left() + kEdge && it->from.date() >= m_first)
                *edge = Drag::StretchStart;
        }
        return *it;
    }
    return std::nullopt;
}

int RoomChartView::barAt(const QPoint &pos) const
{
    for (int i = int(m_stays.size()) - 1; i >= 0; --i)
        if (barRect(m_stays.at(i)).contains(pos))
            return i;
    return -1;
}

std::optional<ChartStay> RoomChartView::stayOn(RecordId room, const QDate &day) const
{
    // The stay that sleeps there that night, else the one leaving that morning.
    std::optional<ChartStay> leaving;
    for (const ChartStay &s : m_stays) {
        if (s.room != room)
            continue;
        if (s.from.date() <= day && day < s.to.date())
            return s;
        if (s.to.date() == day)
            leaving = s;
    }
    return leaving;
}

std::optional<ChartStay> RoomChartView::stayAtCursor() const
{
    return stayOn(roomAt(m_cursorRow), m_cursorDay);
}

bool RoomChartView::nightsFree(RecordId room, const QDate &arrival, const QDate &departure) const
{
    for (QDate night = arrival; night < departure; night = night.addDays(1))
        if (!dayFree(room, night))
            return false;
    return true;
}

bool RoomChartView::dayFree(RecordId room, const QDate &day) const
{
    for (const ChartStay &s : m_stays)
        if (s.room == room && s.from.date() <= day && day < s.to.date())
            return false;
    return true;
}

// ---------------------------------------------------------------- scrolling

void RoomChartView::updateScrollBars()
{
    QScrollBar *v = verticalScrollBar();
    const QSignalBlocker block(v);
    v->setRange(0, std::max(0, rowCount() - rowsShown()));
    v->setPageStep(rowsShown());
    m_firstRow = std::clamp(m_firstRow, 0, v->maximum());
    v->setValue(m_firstRow);
    QScrollBar *h = horizontalScrollBar();
    const QSignalBlocker hold(h);
    h->setRange(0, int(EarliestDate().daysTo(LatestDate())) - m_days);
    h->setPageStep(m_days);
    h->setValue(int(EarliestDate().daysTo(m_first)));
}

void RoomChartView::scrollContentsBy(int, int)
{
    const int row = verticalScrollBar()->value();
    const QDate first = EarliestDate().addDays(horizontalScrollBar()->value());
    if (row == m_firstRow && first == m_first)
        return;
    const bool otherDays = first != m_first;
    m_firstRow = row;
    m_first = first;
    refresh();
    if (otherDays)
        emit periodChanged();
}

void RoomChartView::setDaysShown(int days)
{
    if (days == m_days)
        return;
    // The cursor's day stays in sight.
    m_days = days;
    if (m_cursorDay < m_first || m_cursorDay >= m_first.addDays(m_days))
        m_first = m_cursorDay.addDays(-m_days / 3);
    updateScrollBars();
    refresh();
    emit periodChanged();
}

void RoomChartView::goToDate(const QDate &day)
{
    if (!day.isValid())
        return;
    m_cursorDay = day;
    m_anchorDay = QDate();
    m_first = day.addDays(-1);
    updateScrollBars();
    refresh();
    emit periodChanged();
    announceCursor();
}

void RoomChartView::setCursor(int row, const QDate &day)
{
    m_cursorRow = std::clamp(row, 0, std::max(0, rowCount() - 1));
    m_cursorDay = day;
    keepCursorShown();
    const auto s = stayAtCursor();
    m_selected = s ? s->booking : 0;
    viewport()->update();
    announceCursor();
}

void RoomChartView::keepCursorShown()
{
    bool moved = false;
    if (m_cursorDay < m_first) {
        m_first = m_cursorDay;
        moved = true;
    } else if (m_cursorDay >= m_first.addDays(m_days)) {
        m_first = m_cursorDay.addDays(1 - m_days);
        moved = true;
    }
    if (m_cursorRow < m_firstRow) {
        m_firstRow = m_cursorRow;
        moved = true;
    } else if (m_cursorRow >= m_firstRow + rowsShown()) {
        m_firstRow = m_cursorRow - rowsShown() + 1;
        moved = true;
    }
    if (!moved)
        return;
    updateScrollBars();
    refresh();
    emit periodChanged();
}

void RoomChartView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    refresh();
}

// ---------------------------------------------------------------- painting

void RoomChartView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    paintRows(p);
    paintHeader(p);
    if (!m_readError.isEmpty()) {
        const int line = fontMetrics().height() + 6;
        const QRect band(0, viewport()->height() - line, viewport()->width(), line);
        p.fillRect(band, palette().color(QPalette::ToolTipBase));
        p.setPen(palette().color(QPalette::ToolTipText));
        drawLine(p, band.adjusted(6, 0, -6, 0), tr("The chart could not be read: %1").arg(m_readError.simplified()), Qt::AlignLeft);
    }
}

void RoomChartView::paintHeader(QPainter &p) const
{
    const QPalette &pal = palette();
    const int h = headerHeight(), line = fontMetrics().height();
    p.fillRect(QRect(0, 0, viewport()->width(), h), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::ButtonText));
    drawLine(p, QRect(4, h - line - 4, nameWidth() - 8, line), tr("Room"), Qt::AlignLeft);
    const QLocale locale;
    const double w = dayWidth();
    const QDate today = QDate::currentDate();
    for (int i = 0; i < m_days; ++i) {
        const QDate day = m_first.addDays(i);
        const int x = xOfDay(day), next = xOfDay(day.addDays(1));
        // The month's name where it begins (and at the left edge).
        if (i == 0 || day.day() == 1) {
            p.setPen(pal.color(QPalette::Mid));
            p.drawLine(x, 0, x, h);
            p.setPen(pal.color(QPalette::ButtonText));
            drawLine(p, QRect(x + 3, 2, viewport()->width() - x, line), locale.toString(day, QStringLiteral("MMMM yyyy")),
                     Qt::AlignLeft);
        }
        // The weekday above the day's number, shortened to what fits.
        QString weekday = locale.dayName(day.dayOfWeek(), QLocale::ShortFormat);
        if (fontMetrics().horizontalAdvance(weekday) > w - 2)
            weekday = locale.dayName(day.dayOfWeek(), QLocale::NarrowFormat);
        QString number = QString::number(day.day());
        if (fontMetrics().horizontalAdvance(number) > w - 2) {
            number = day.dayOfWeek() == 1 ? number : QString();
            weekday.clear();
        }
        if (fontMetrics().horizontalAdvance(weekday) > w - 2)
            weekday.clear();
        QFont f = p.font();
        f.setBold(day == today);
        p.setFont(f);
        p.setPen(day == today ? pal.color(QPalette::Highlight) : pal.color(QPalette::ButtonText));
        const int width = std::max(next - x, fontMetrics().horizontalAdvance(number) + 2);
        drawLine(p, QRect(x, 2 + line + 2, width, line), weekday, Qt::AlignHCenter);
        drawLine(p, QRect(x, h - line - 4, width, line), number, Qt::AlignHCenter);
        f.setBold(false);
        p.setFont(f);
    }
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(0, h - 1, viewport()->width(), h - 1);
}

void RoomChartView::paintRows(QPainter &p) const
{
    const QPalette &pal = palette();
    const bool dark = darkPalette(pal);
    const int h = headerHeight(), rh = rowHeight(), nw = nameWidth();
    const int bottom = std::min(viewport()->height(), h + (rowCount() - m_firstRow) * rh);
    // Weekends shaded, today marked, across every row.
    const QDate today = QDate::currentDate();
    for (int i = 0; i < m_days; ++i) {
        const QDate day = m_first.addDays(i);
        const QRect column(QPoint(xOfDay(day), h), QPoint(xOfDay(day.addDays(1)) - 1, bottom));
        if (day.dayOfWeek() >= 6)
            p.fillRect(column, pal.color(QPalette::AlternateBase).darker(dark ? 80 : 106));
        if (day == today)
            p.fillRect(column, QColor(pal.color(QPalette::Highlight).red(), pal.color(QPalette::Highlight).green(),
                                      pal.color(QPalette::Highlight).blue(), 40));
        // Each day's line; at three months, each week's.
        if (dayWidth() >= 8 || day.dayOfWeek() == 1) {
            p.setPen(pal.color(QPalette::Midlight));
            p.drawLine(column.left(), h, column.left(), bottom);
        }
    }
    // The Shift-selection of free cells.
    if (m_anchorDay.isValid() || (m_drag == Drag::Select && m_dragMoved)) {
        const QDate a = m_drag == Drag::Select ? dayAt(m_pressAt.x()) : m_anchorDay;
        const QDate b = m_drag == Drag::Select ? dayAt(std::max(m_dragAt.x(), nw)) : m_cursorDay;
        const QRect sel = cellRect(m_cursorRow, std::min(a, b)).united(cellRect(m_cursorRow, std::max(a, b)));
        p.fillRect(sel, QColor(pal.color(QPalette::Highlight).red(), pal.color(QPalette::Highlight).green(),
                               pal.color(QPalette::Highlight).blue(), 90));
    }
    for (int row = m_firstRow; row < rowCount() && headerHeight() + (row - m_firstRow) * rh < viewport()->height(); ++row) {
        const int y = h + (row - m_firstRow) * rh;
        p.fillRect(QRect(0, y, nw, rh), row % 2 ? pal.color(QPalette::AlternateBase) : pal.color(QPalette::Base));
        p.setPen(pal.color(QPalette::Text));
        drawLine(p, QRect(6, y, nw - 8, rh), m_rooms.names.at(row), Qt::AlignLeft);
        p.setPen(pal.color(QPalette::Midlight));
        p.drawLine(0, y + rh - 1, viewport()->width(), y + rh - 1);
    }
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(nw - 1, h, nw - 1, bottom);
    for (const ChartStay &s : m_stays) {
        const QRect bar = barRect(s);
        if (bar.isEmpty())
            continue;
        if ((m_drag == Drag::Move || m_drag == Drag::StretchEnd || m_drag == Drag::StretchStart) && m_dragMoved
            && s.booking == m_dragged.booking && s.room == m_dragged.room)
            p.setOpacity(0.35);
        paintBar(p, s, bar, false);
        p.setOpacity(1);
    }
    // The bar being dragged, where it would go.
    if (m_drag != Drag::None && m_drag != Drag::Select && m_dragMoved) {
        const StayMove move = draggedMove(m_dragAt);
        ChartStay ghost = m_dragged;
        ghost.room = move.toRoom;
        ghost.from = WallClock(move.arrival, m_dragged.from.time());
        ghost.to = WallClock(move.departure, m_dragged.to.time());
        const QRect bar = barRect(ghost);
        if (!bar.isEmpty())
            paintBar(p, ghost, bar, true);
    }
    // The cell cursor.
    if (m_cursorRow >= m_firstRow && m_cursorRow < m_firstRow + rowsShown() + 1) {
        QPen pen(pal.color(QPalette::Highlight), hasFocus() ? 2 : 1);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(cellRect(m_cursorRow, m_cursorDay).adjusted(1, 1, -1, -1));
    }
}

void RoomChartView::paintBar(QPainter &p, const ChartStay &stay, const QRect &bar, bool ghost) const
{
    const QPalette &pal = palette();
    const bool dark = darkPalette(pal);
    const QColor fill = statusColour(stay.status, dark);
    p.save();
    // Plain rectangles: a hundred bars on the screen paint within a frame.
    const QRect box = bar.adjusted(0, 0, -1, -1);
    p.fillRect(box, fill);
    // A stay checked out is hatched, so that its status shows without its colour.
    if (stay.status == BookingStatus::CheckedOut)
        p.fillRect(box, QBrush(dark ? QColor(255, 255, 255, 60) : QColor(0, 0, 0, 50), Qt::BDiagPattern));
    const bool marked = stay.booking == m_hover || stay.booking == m_selected;
    QPen outline(marked ? pal.color(QPalette::Highlight) : fill.darker(150), marked ? 2 : 1);
    if (ghost || stay.guest.isEmpty())
        outline.setStyle(Qt::DashLine);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(marked ? box.adjusted(1, 1, 0, 0) : box);
    p.setRenderHint(QPainter::Antialiasing);
    // The status's sign: a ring for booked, a dot for checked in.
    const QColor ink = dark ? QColor(240, 240, 240) : QColor(20, 20, 20);
    int textLeft = bar.left() + 4;
    const int r = std::min(4, bar.height() / 4);
    if (stay.status != BookingStatus::CheckedOut && bar.width() > 4 * r + 8) {
        const QPointF centre(bar.left() + 4 + r, bar.center().y() + 0.5);
        p.setPen(QPen(ink, 1.5));
        p.setBrush(stay.status == BookingStatus::CheckedIn ? QBrush(ink) : QBrush(Qt::NoBrush));
        p.drawEllipse(centre, r, r);
        textLeft += 2 * r + 4;
    }
    // A balance due: a red corner; a channel's booking: a diamond.
    int textRight = bar.right() - 3;
    if (stay.balanceDueCents > 0 && bar.width() > 16) {
        QPolygon corner{{bar.right() - 8, bar.top()}, {bar.right(), bar.top()}, {bar.right(), bar.top() + 8}};
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd0, 0x30, 0x30));
        p.drawPolygon(corner);
        textRight -= 6;
    }
    if (!stay.channel.isEmpty() && bar.width() > 24) {
        const QPointF c(bar.right() - 6, bar.bottom() - 5);
        QPolygonF diamond{{c.x(), c.y() - 3.5}, {c.x() + 3.5, c.y()}, {c.x(), c.y() + 3.5}, {c.x() - 3.5, c.y()}};
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(diamond);
        textRight -= 8;
    }
    const QString guests = FormatCount(stay.adults + stay.children);
    QString text = stay.guest.isEmpty() ? tr("Booking %1 (not finished)").arg(stay.booking) : stay.guest;
    text += QStringLiteral(" · ") + guests;
    const QString withNights = text + QStringLiteral(" · ") + nightsText(stay.nights());
    const int room = textRight - textLeft;
    if (textWidth(withNights) <= room)
        text = withNights;
    p.setPen(ink);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (room > 8)
        drawLine(p, QRect(textLeft, bar.top(), room, bar.height()), text, Qt::AlignLeft);
    p.restore();
}

int RoomChartView::textWidth(const QString &text) const
{
    auto it = m_widths.find(text);
    if (it == m_widths.end()) {
        if (m_widths.size() > 4000)
            m_widths.clear();
        it = m_widths.insert(text, fontMetrics().horizontalAdvance(text));
    }
    return *it;
}

void RoomChartView::drawLine(QPainter &p, const QRect &box, const QString &text, Qt::Alignment align) const
{
    if (text.isEmpty() || box.width() <= 0)
        return;
    const QString key = text + QLatin1Char('\x1f') + QString::number(box.width())
        + (p.font().bold() ? QStringLiteral("b") : QString());
    auto it = m_laidOut.find(key);
    if (it == m_laidOut.end()) {
        if (m_laidOut.size() > 4000)
            m_laidOut.clear();
        const QFontMetrics metrics(p.font());
        QString shown = metrics.horizontalAdvance(text) <= box.width() ? text : metrics.elidedText(text, Qt::ElideRight, box.width());
        // Too narrow for a letter and the ellipsis: nothing.
        if (shown.size() <= 1 && text.size() > 1)
            shown.clear();
        QStaticText laid(shown);
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        laid.prepare(QTransform(), p.font());
        it = m_laidOut.insert(key, laid);
    }
    const QSizeF size = it->size();
    qreal x = box.left();
    if (align & Qt::AlignHCenter)
        x = box.left() + (box.width() - size.width()) / 2;
    p.drawStaticText(QPointF(x, box.top() + (box.height() - size.height()) / 2), *it);
}

// ---------------------------------------------------------------- words

QString RoomChartView::describe(const ChartStay &stay) const
{
    QStringList parts{tr("Booking %1").arg(stay.booking),
                      stay.guest.isEmpty() ? tr("not finished") : stay.guest,
                      tr("%1 to %2").arg(dateText(stay.from.date()), dateText(stay.to.date())),
                      nightsText(stay.nights()),
                      tr("%1 guests").arg(FormatCount(stay.adults + stay.children)),
                      StatusLabel(stay.status)};
    if (stay.balanceDueCents > 0)
        parts << tr("balance due %1").arg(FormatMoney(stay.balanceDueCents / 100.0));
    if (!stay.channel.isEmpty())
        parts << tr("from %1").arg(stay.channel);
    return parts.join(QStringLiteral(", "));
}

QString RoomChartView::describeCursor() const
{
    const QString where = QStringLiteral("%1, %2").arg(roomNameAt(m_cursorRow), QLocale().toString(m_cursorDay, QLocale::LongFormat));
    const auto s = stayAtCursor();
    return s ? QStringLiteral("%1: %2").arg(where, describe(*s)) : tr("%1: free").arg(where);
}

void RoomChartView::announceCursor()
{
    setAccessibleDescription(describeCursor());
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent described(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    // The bar under the cursor takes the screen reader's focus.
    if (const auto s = stayAtCursor())
        for (int i = 0; i < m_stays.size(); ++i)
            if (m_stays.at(i).booking == s->booking && m_stays.at(i).room == s->room) {
                QAccessibleEvent focus(this, QAccessible::Focus);
                focus.setChild(i);
                QAccessible::updateAccessibility(&focus);
            }
}

bool RoomChartView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (const auto s = stayAt(help->pos())) {
            QStringList lines{describe(*s)};
            if (!s->notesLine.isEmpty())
                lines << s->notesLine;
            QToolTip::showText(help->globalPos(), lines.join(QLatin1Char('\n')), viewport(), barRect(*s));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// ---------------------------------------------------------------- mouse

void RoomChartView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int row = rowAt(pos.y());
    const QDate day = dayAt(pos.x());
    if (row < 0 || !day.isValid())
        return;
    m_anchorDay = QDate();
    setCursor(row, day);
    if (event->button() != Qt::LeftButton)
        return;
    Drag edge = Drag::None;
    if (const auto s = stayAt(pos, &edge)) {
        m_drag = edge;
        m_dragged = *s;
        m_selected = s->booking;
    } else {
        m_drag = Drag::Select;
    }
    m_pressAt = m_dragAt = pos;
    m_dragMoved = false;
}

void RoomChartView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag != Drag::None) {
        m_dragAt = pos;
        if ((pos - m_pressAt).manhattanLength() >= QApplication::startDragDistance())
            m_dragMoved = true;
        viewport()->update();
        return;
    }
    Drag edge = Drag::None;
    const auto s = stayAt(pos, &edge);
    const RecordId hover = s ? s->booking : 0;
    viewport()->setCursor(edge == Drag::StretchEnd || edge == Drag::StretchStart ? Qt::SizeHorCursor : Qt::ArrowCursor);
    if (hover != m_hover) {
        m_hover = hover;
        viewport()->update();
    }
}

void RoomChartView::leaveEvent(QEvent *event)
{
    if (m_hover != 0) {
        m_hover = 0;
        viewport()->update();
    }
    QAbstractScrollArea::leaveEvent(event);
}

StayMove RoomChartView::draggedMove(const QPoint &pos) const
{
    StayMove move{m_dragged.booking, m_dragged.room, m_dragged.room, m_dragged.from.date(), m_dragged.to.date()};
    const int days = int(std::lround((pos.x() - m_pressAt.x()) / dayWidth()));
    switch (m_drag) {
    case Drag::Move: {
        move.arrival = move.arrival.addDays(days);
        move.departure = move.departure.addDays(days);
        const int from = int(m_rooms.ids.indexOf(m_dragged.room));
        const int rows = int(std::floor(double(pos.y() - m_pressAt.y()) / rowHeight() + 0.5));
        const int to = std::clamp(from + rows, 0, std::max(0, rowCount() - 1));
        move.toRoom = m_rooms.ids.value(to, m_dragged.room);
        break;
    }
    case Drag::StretchEnd:
        move.departure = std::max(move.arrival.addDays(1), move.departure.addDays(days));
        break;
    case Drag::StretchStart:
        move.arrival = std::min(move.departure.addDays(-1), move.arrival.addDays(days));
        break;
    default:
        break;
    }
    return move;
}

void RoomChartView::finishDrag(const QPoint &pos)
{
    const Drag drag = m_drag;
    const StayMove move = draggedMove(pos);
    m_drag = Drag::None;
    if (drag == Drag::Select) {
        const QDate a = dayAt(m_pressAt.x()), b = dayAt(std::max(pos.x(), nameWidth()));
        const RecordId room = roomAt(rowAt(m_pressAt.y()));
        if (m_dragMoved && a.isValid() && b.isValid() && a != b && room != 0)
            emit addRequested(room, std::min(a, b), std::max(a, b).addDays(1));
    } else if (m_dragMoved) {
        if (move.toRoom != move.fromRoom || move.arrival != m_dragged.from.date()
            || move.departure != m_dragged.to.date())
            emit moveRequested(move);
    }
    m_dragMoved = false;
    viewport()->update();
}

void RoomChartView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::None || event->button() != Qt::LeftButton)
        return;
    finishDrag(event->position().toPoint());
    if (m_staleWhileDragging)
        refresh();
}

void RoomChartView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_drag = Drag::None;
    if (const auto s = stayAt(pos)) {
        emit openBooking(s->booking);
        return;
    }
    const int row = rowAt(pos.y());
    const QDate day = dayAt(pos.x());
    if (row >= 0 && day.isValid())
        emit addRequested(roomAt(row), day, day.addDays(1));
}

void RoomChartView::contextMenuEvent(QContextMenuEvent *event)
{
    std::optional<ChartStay> s;
    QPoint at;
    if (event->reason() == QContextMenuEvent::Mouse) {
        s = stayAt(event->pos());
        at = event->globalPos();
    } else {
        s = stayAtCursor();
        if (s) {
            const QRect bar = barRect(*s);
            at = viewport()->mapToGlobal(bar.isEmpty() ? cellRect(m_cursorRow, m_cursorDay).center() : bar.center());
        }
    }
    if (s)
        emit menuRequested(*s, at);
}

void RoomChartView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    announceCursor();
}

// ---------------------------------------------------------------- keyboard

void RoomChartView::moveCursor(int rows, int days, bool extend)
{
    if (extend && !m_anchorDay.isValid())
        m_anchorDay = m_cursorDay;
    if (!extend)
        m_anchorDay = QDate();
    setCursor(m_cursorRow + (extend ? 0 : rows), m_cursorDay.addDays(days));
}

void RoomChartView::keyMove(int rows, int days, bool stretch)
{
    const auto s = stayAtCursor();
    if (!s)
        return;
    StayMove move{s->booking, s->room, s->room, s->from.date(), s->to.date()};
    if (stretch) {
        move.departure = move.departure.addDays(days);
    } else {
        move.arrival = move.arrival.addDays(days);
        move.departure = move.departure.addDays(days);
        const int row = int(m_rooms.ids.indexOf(s->room)) + rows;
        if (row < 0 || row >= rowCount())
            return;
        move.toRoom = m_rooms.ids.at(row);
    }
    // The cursor goes along with the stay; it comes back when the move is refused.
    const int wasRow = m_cursorRow;
    const QDate wasDay = m_cursorDay;
    if (!stretch)
        setCursor(m_cursorRow + rows, m_cursorDay.addDays(days));
    else if (move.departure <= move.arrival)
        return;
    emit moveRequested(move);
    const auto now = stayAtCursor();
    if (!stretch && (!now || now->booking != s->booking))
        setCursor(wasRow, wasDay);
}

void RoomChartView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
    int rows = 0, days = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        days = -1;
        break;
    case Qt::Key_Right:
        days = 1;
        break;
    case Qt::Key_Up:
        rows = -1;
        break;
    case Qt::Key_Down:
        rows = 1;
        break;
    case Qt::Key_PageUp:
        setCursor(m_cursorRow - rowsShown(), m_cursorDay);
        return;
    case Qt::Key_PageDown:
        setCursor(m_cursorRow + rowsShown(), m_cursorDay);
        return;
    case Qt::Key_Home:
        setCursor(m_cursorRow, m_first);
        return;
    case Qt::Key_End:
        setCursor(m_cursorRow, m_first.addDays(m_days - 1));
        return;
    case Qt::Key_Menu: {
        const QPoint cell = cellRect(m_cursorRow, m_cursorDay).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, cell, viewport()->mapToGlobal(cell));
        contextMenuEvent(&menu);
        return;
    }
    case Qt::Key_Escape:
        if (m_anchorDay.isValid()) {
            m_anchorDay = QDate();
            viewport()->update();
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (m_anchorDay.isValid() && m_anchorDay != m_cursorDay) {
            const QDate a = std::min(m_anchorDay, m_cursorDay), b = std::max(m_anchorDay, m_cursorDay);
            m_anchorDay = QDate();
            viewport()->update();
            emit addRequested(roomAt(m_cursorRow), a, b.addDays(1));
        } else if (const auto s = stayAtCursor(); s && s->from.date() <= m_cursorDay && m_cursorDay < s->to.date()) {
            emit openBooking(s->booking);
        } else if (dayFree(roomAt(m_cursorRow), m_cursorDay)) {
            emit addRequested(roomAt(m_cursorRow), m_cursorDay, m_cursorDay.addDays(1));
        } else if (s) {
            emit openBooking(s->booking);
        }
        return;
    }
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (ctrl && shift && days != 0)
        keyMove(0, days, true);
    else if (ctrl && (days != 0 || rows != 0))
        keyMove(rows, days, false);
    else
        moveCursor(rows, days, shift && days != 0);
}

}  // namespace innkeld
