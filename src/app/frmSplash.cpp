#include "frmSplash.h"
#include "ui_frmSplash.h"

#include <QKeyEvent>

#include "innkeld_version.h"

namespace innkeld {

frmSplash::frmSplash(std::function<void()> loadMain, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::frmSplash), m_loadMain(std::move(loadMain))
{
    ui->setupUi(this);
    ui->lblVersion->setText(QStringLiteral("v") + QLatin1String(INNKELD_VERSION));
    ui->Frame1->installEventFilter(this);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1500);
    connect(&Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(200);
    connect(&Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);
    Timer1.start();
    Timer2.start();
}

frmSplash::~frmSplash() = default;

void frmSplash::Timer1_Timer()
{
    Timer1.stop();
    Timer2.stop();
    accept();
}

void frmSplash::Timer2_Timer()
{
    if (m_loadMain)
        m_loadMain();
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    Timer1_Timer();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Frame1 && event->type() == QEvent::MouseButtonRelease) {
        Timer1_Timer();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace innkeld
