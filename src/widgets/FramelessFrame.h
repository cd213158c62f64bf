// What a window without the window system's frame needs to be moved and
// resized as a framed one is: its edges resize it (by the window system,
// or by the window itself following the mouse where the system cannot),
// the pointer shows where, the rest of its surface moves it, and a
// double-click on its top band maximises it or gives it back its size.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

class QWidget;

namespace innkeld {

class FramelessFrame : public QObject
{
    Q_OBJECT
public:
    // `topBand` gives the height of the band along the top that a
    // double-click maximises by; `move` starts a move of the window.
    FramelessFrame(QWidget *window, std::function<int()> topBand, std::function<void()> move);

    // The edges of the window under a point of it that resize it.
    Qt::Edges edgesAt(const QPoint &position) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followMouse(const QPoint &global);
    void showEdgeCursor(const QPoint &position);

    QWidget *m_window;
    std::function<int()> m_topBand;
    std::function<void()> m_move;
    // A resize by an edge that the window follows itself.
    Qt::Edges m_resizing;
    QPoint m_pressedAt;
    QRect m_pressedGeometry;
};

}  // namespace innkeld
