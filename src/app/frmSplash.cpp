#include "frmSplash.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace innkeld {

frmSplash::frmSplash(std::function<void()> loadMain, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_loadMain(std::move(loadMain))
{
    setObjectName(QStringLiteral("frmSplash"));
    setModal(true);
    setFixedSize(420, 240);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->installEventFilter(this);
    outer->addWidget(Frame1);

    auto *layout = new QVBoxLayout(Frame1);
    auto make = [this, layout](const char *name, const QString &text, int pointDelta, bool bold) {
        auto *label = new QLabel(text, Frame1);
        label->setObjectName(QLatin1String(name));
        QFont f = label->font();
        f.setPointSize(f.pointSize() + pointDelta);
        f.setBold(bold);
        label->setFont(f);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(label);
        return label;
    };
    make("lblCompanyProduct", QStringLiteral("Vantrel"), 2, false);
    make("lblProductName", QStringLiteral("Innkeld"), 14, true);
    make("lblVersion", QStringLiteral("v1.2"), 0, false);
    make("lblPlatform", QStringLiteral("98/NT/2000"), 0, false);
    layout->addStretch();
    make("lblDisclaimer",
         QStringLiteral("This program is provided as it is. Keep a copy of db.mdb: it holds every booking."),
         -1, false)
        ->setWordWrap(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(200);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);
    Timer1->start();
    Timer2->start();
}

void frmSplash::Timer1_Timer()
{
    Timer1->stop();
    Timer2->stop();
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
    if (watched == Frame1 && event->type() == QEvent::MouseButtonRelease) {
        Timer1_Timer();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace innkeld
