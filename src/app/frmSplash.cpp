#include "frmSplash.h"
#include "ui_frmSplash.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include "innkeld_version.h"

namespace innkeld {

QPixmap RoomKeyPicture(int size, qreal ratio)
{
    QPixmap picture(QSize(size, size) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);  // drawn on a 64 by 64 plan
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x33, 0x55, 0x77));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    QPen gold(QColor(0xff, 0xcc, 0x33), 5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(gold);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(22, 22), 9, 9);
    p.drawLine(QPointF(28.5, 28.5), QPointF(48, 48));
    p.drawLine(QPointF(40, 40), QPointF(45, 35));
    p.drawLine(QPointF(45, 45), QPointF(50, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf1, 0xea));
    p.drawRoundedRect(QRectF(10, 42, 20, 13), 3, 3);
    p.setPen(QPen(QColor(0x33, 0x55, 0x77), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawPoint(QPointF(15, 48.5));
    p.drawLine(QPointF(19, 48.5), QPointF(26, 48.5));
    return picture;
}

frmSplash::frmSplash(std::function<void()> loadMain, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::frmSplash), m_loadMain(std::move(loadMain))
{
    ui->setupUi(this);
    ui->lblVersion->setText(QStringLiteral("v") + QLatin1String(INNKELD_VERSION));
    // The two product pictures, drawn for the screen's pixel ratio: the
    // program's icon and a room key on its tag.
    const qreal ratio = devicePixelRatioF();
    QPixmap icon = QIcon(QStringLiteral(":/icons/innkeld.svg")).pixmap(ui->picProduct_0->size(), ratio);
    if (icon.isNull())
        icon = QPixmap(QStringLiteral(":/icons/innkeld-256.png"))
                   .scaled(ui->picProduct_0->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    icon.setDevicePixelRatio(ratio);
    ui->picProduct_0->setPixmap(icon);
    ui->picProduct_1->setPixmap(RoomKeyPicture(ui->picProduct_1->width(), ratio));
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
