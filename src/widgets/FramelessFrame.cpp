#include "FramelessFrame.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace innkeld {

FramelessFrame::FramelessFrame(QWidget *window, std::function<int()> topBand, std::function<void()> move)
    : QObject(window), m_window(window), m_topBand(std::move(topBand)), m_move(std::move(move))
{
    window->installEventFilter(this);
}

Qt::Edges FramelessFrame::edgesAt(const QPoint &position) const
{
    // A maximised window has no edges to drag; else the few pixels along
    // its sides.
    Qt::Edges edges;
    if (m_window->isMaximized() || m_window->isFullScreen())
        return edges;
    constexpr int grip = 6;
    if (position.x() < grip)
        edges |= Qt::LeftEdge;
    if (position.x() >= m_window->width() - grip)
        edges |= Qt::RightEdge;
    if (position.y() < 4)
        edges |= Qt::TopEdge;
    if (position.y() >= m_window->height() - grip)
        edges |= Qt::BottomEdge;
    return edges;
}

bool FramelessFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        const Qt::Edges edges = e->button() == Qt::LeftButton ? edgesAt(e->position().toPoint()) : Qt::Edges();
        if (edges) {
            QWindow *w = m_window->windowHandle();
            if (!w || !w->startSystemResize(edges)) {
                m_resizing = edges;
                m_pressedAt = e->globalPosition().toPoint();
                m_pressedGeometry = m_window->geometry();
            }
        } else {
            m_move();
        }
        e->accept();
        return true;
    }
    case QEvent::MouseMove: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (m_resizing && (e->buttons() & Qt::LeftButton))
            followMouse(e->globalPosition().toPoint());
        else
            showEdgeCursor(e->position().toPoint());
        return false;  // the window sees the move too
    }
    case QEvent::MouseButtonRelease:
        m_resizing = {};
        return false;
    case QEvent::MouseButtonDblClick: {
        // A double-click on the band along the top, as on a title bar.
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton || e->position().y() >= m_topBand() || edgesAt(e->position().toPoint()))
            return false;
        m_window->setWindowState(m_window->windowState() ^ Qt::WindowMaximized);
        e->accept();
        return true;
    }
    default:
        return false;
    }
}

void FramelessFrame::followMouse(const QPoint &global)
{
    const QPoint moved = global - m_pressedAt;
    QRect g = m_pressedGeometry;
    const QSize least = m_window->minimumSize();
    if (m_resizing & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + moved.x(), g.right() - least.width() + 1));
    if (m_resizing & Qt::RightEdge)
        g.setRight(std::max(g.right() + moved.x(), g.left() + least.width() - 1));
    if (m_resizing & Qt::TopEdge)
        g.setTop(std::min(g.top() + moved.y(), g.bottom() - least.height() + 1));
    if (m_resizing & Qt::BottomEdge)
        g.setBottom(std::max(g.bottom() + moved.y(), g.top() + least.height() - 1));
    m_window->setGeometry(g);
}

void FramelessFrame::showEdgeCursor(const QPoint &position)
{
    // The pointer shows where an edge can be dragged.
    const Qt::Edges edges = edgesAt(position);
    if ((edges & Qt::LeftEdge && edges & Qt::TopEdge) || (edges & Qt::RightEdge && edges & Qt::BottomEdge))
        m_window->setCursor(Qt::SizeFDiagCursor);
    else if ((edges & Qt::RightEdge && edges & Qt::TopEdge) || (edges & Qt::LeftEdge && edges & Qt::BottomEdge))
        m_window->setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        m_window->setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        m_window->setCursor(Qt::SizeVerCursor);
    else
        m_window->unsetCursor();
}

}  // namespace innkeld
