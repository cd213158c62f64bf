// The room chart's surface: the house's rooms as rows against days as
// columns, each stay a bar from its arrival's afternoon to its departure's
// morning. One painted view: it keeps the rooms' names and the stays of the
// rooms and days shown, read again as they change, never a widget or a
// model row per cell or per booking. Moving, stretching and making stays
// by mouse or keyboard is asked of its host through signals; the view
// itself writes nothing.
#pragma once

#include "booking/staychart.h"

#include <QAbstractScrollArea>
#include <QDate>
#include <QHash>
#include <QPoint>
#include <QStaticText>

#include <optional>

namespace innkeld {

class RoomChartView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit RoomChartView(QWidget *parent = nullptr);
    void setConnection(Database *db) { m_db = db; }

    // Reads the rooms again and the stays shown. A failure to read keeps
    // what was shown, says so on the chart and is told by readFailed().
    void reload();
    // Reads again the stays shown (another desk wrote), as reload() does.
    // While a bar is being dragged this waits until it is let go.
    void refresh();

    // The days shown across (14, 31 or 91) and the first of them.
    int daysShown() const { return m_days; }
    void setDaysShown(int days);
    QDate firstDay() const { return m_first; }
    // The chart shows `day` (the cell cursor put on it, its room kept).
    void goToDate(const QDate &day);

    // The cell cursor: a room (its row) and a day.
    int cursorRow() const { return m_cursorRow; }
    QDate cursorDay() const { return m_cursorDay; }
    void setCursor(int row, const QDate &day);
    int rowCount() const { return int(m_rooms.ids.size()); }
    int firstRow() const { return m_firstRow; }
    RecordId roomAt(int row) const { return m_rooms.ids.value(row); }
    QString roomNameAt(int row) const { return m_rooms.names.value(row); }

    // The stays read for what is shown.
    const QVector<ChartStay> &stays() const { return m_stays; }
    // The stay under the cell cursor (none on a free day).
    std::optional<ChartStay> stayAtCursor() const;
    // Where a stay's bar lies in the viewport (empty when not shown).
    QRect barRect(const ChartStay &stay) const;
    // Where a cell lies in the viewport.
    QRect cellRect(int row, const QDate &day) const;
    // How a stay is named to the operator and to a screen reader.
    QString describe(const ChartStay &stay) const;
    QString describeCursor() const;
    // Whether the room is free on the nights from arrival to departure as
    // the chart has read them.
    bool nightsFree(RecordId room, const QDate &arrival, const QDate &departure) const;
    // Grows each time the stays are read again (for the screen reader's
    // bars, made again then).
    int generation() const { return m_generation; }
    // The bar under a point of the viewport (-1 for none), by its index in stays().
    int barAt(const QPoint &pos) const;
    RecordId selectedBooking() const { return m_selected; }

signals:
    // The operator opens a stay's booking (double click, Enter).
    void openBooking(RecordId booking);
    // A bar let go elsewhere, or a key that moves or stretches the stay.
    void moveRequested(const StayMove &move);
    // Free cells of one row chosen for a new stay.
    void addRequested(RecordId room, const QDate &arrival, const QDate &departure);
    // The operator asks for a stay's actions (right click, the menu key).
    void menuRequested(const ChartStay &stay, const QPoint &globalPos);
    // The first day or the days shown changed.
    void periodChanged();
    // The rooms or stays could not be read (the engine's words); what was
    // shown stays until a read succeeds.
    void readFailed(const QString &why);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    enum class Drag { None, Move, StretchStart, StretchEnd, Select };
    int headerHeight() const;
    int rowHeight() const;
    int nameWidth() const;
    void measureNames();
    double dayWidth() const;
    int rowsShown() const;
    int xOfDay(const QDate &day) const;  // the day cell's left edge
    int rowAt(int y) const;
    QDate dayAt(int x) const;
    // The stay whose bar is under the point; `edge` says whether a press
    // there takes its start or end.
    std::optional<ChartStay> stayAt(const QPoint &pos, Drag *edge = nullptr) const;
    std::optional<ChartStay> stayOn(RecordId room, const QDate &day) const;
    bool dayFree(RecordId room, const QDate &day) const;
    void readStays();
    void updateScrollBars();
    void keepCursorShown();
    void moveCursor(int rows, int days, bool extend);
    void keyMove(int rows, int days, bool stretch);
    void announceCursor();
    void finishDrag(const QPoint &pos);
    StayMove draggedMove(const QPoint &pos) const;
    void paintHeader(QPainter &p) const;
    void paintRows(QPainter &p) const;
    void paintBar(QPainter &p, const ChartStay &stay, const QRect &bar, bool ghost) const;
    int textWidth(const QString &text) const;
    // Draws one line of text in the box, cut to its width with an ellipsis.
    void drawLine(QPainter &p, const QRect &box, const QString &text, Qt::Alignment align) const;

    Database *m_db = nullptr;
    ChartRooms m_rooms;
    QVector<ChartStay> m_stays;
    QDate m_first = QDate::currentDate().addDays(-1);
    int m_days = 14;
    int m_firstRow = 0;
    int m_cursorRow = 0;
    QDate m_cursorDay = QDate::currentDate();
    QDate m_anchorDay;          // the other end of a Shift-selection
    RecordId m_hover = 0;       // the booking under the mouse
    RecordId m_selected = 0;    // the booking under the cursor
    bool m_staleWhileDragging = false;
    Drag m_drag = Drag::None;
    ChartStay m_dragged;
    QPoint m_pressAt;
    QPoint m_dragAt;
    bool m_dragMoved = false;
    int m_generation = 0;
    QString m_readError;  // the last read's failure, empty when it succeeded
    int m_nameWidth = 0;
    // Texts laid out once for painting (by text, width and boldness): a
    // chart of a hundred bars repaints on every move of the mouse.
    mutable QHash<QString, QStaticText> m_laidOut;
    mutable QHash<QString, int> m_widths;  // the widest room name's, worked out when the rooms or the font change
};

}  // namespace innkeld
