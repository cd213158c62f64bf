// A label that can be clicked, for the label menu, the window buttons and
// the panel headings that move the window.
#pragma once

#include <QLabel>

namespace innkeld {

// A label that reports clicks and the mouse moving over it, as the label
// menu and the panel headings need. One that takes the focus (a form gives
// it a focus policy) shows it, and Space or Enter clicks it.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(QWidget *parent = nullptr);
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();
    void mouseMoved();
    void mousePressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};

}  // namespace innkeld
