// The splash window, shown modally while the main window loads behind it.
#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

class QFrame;

namespace innkeld {

class frmSplash : public QDialog
{
    Q_OBJECT
public:
    // loadMain runs at the 200 ms tick (and at later ticks, where it has
    // nothing left to do).
    explicit frmSplash(std::function<void()> loadMain, QWidget *parent = nullptr);

    QTimer *Timer1 = nullptr;  // 1500 ms: close
    QTimer *Timer2 = nullptr;  // 200 ms: load the main window
    QFrame *Frame1 = nullptr;

    void Timer1_Timer();
    void Timer2_Timer();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_loadMain;
};

}  // namespace innkeld
