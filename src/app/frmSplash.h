// The splash window, shown modally while the main window loads behind it.
#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

namespace Ui {
class frmSplash;
}

class QPixmap;

namespace innkeld {

// The splash's second picture: a room key on its tag, `size` pixels square
// at the given device pixel ratio.
QPixmap RoomKeyPicture(int size, qreal ratio);

class frmSplash : public QDialog
{
    Q_OBJECT
public:
    // loadMain runs at the 200 ms tick (and at later ticks, where it has
    // nothing left to do).
    explicit frmSplash(std::function<void()> loadMain, QWidget *parent = nullptr);
    ~frmSplash() override;
    frmSplash(const frmSplash &) = delete;
    frmSplash &operator=(const frmSplash &) = delete;

    void Timer1_Timer();
    void Timer2_Timer();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const std::unique_ptr<Ui::frmSplash> ui;
    // Timers have no place in a form.
    QTimer Timer1;  // 1500 ms: close
    QTimer Timer2;  // 200 ms: load the main window
    std::function<void()> m_loadMain;
};

}  // namespace innkeld
