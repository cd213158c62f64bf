#include "RoomChart.h"
#include "ui_RoomChart.h"

#include "RoomChartView.h"
#include "chartpaper.h"
#include "widgets/paper.h"
#include "data/regional/regional.h"
#include "widgets/bookinglife.h"

#include <QMenu>
#include <QTextDocument>
#include <QShortcut>

namespace innkeld {

namespace {
const int kZoomDays[] = {14, 31, 91};
}

RoomChart::RoomChart(QWidget *parent) : QFrame(parent), ServiceClient(this), ui(std::make_unique<Ui::RoomChart>())
{
    ui->setupUi(this);
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnuChartStay"));
    ui->dtpChartDate->setDisplayFormat(RegionalPickerFormat());
    ui->dtpChartDate->setDate(QDate::currentDate());
    connect(ui->lblChartHeading, &ClickLabel::mousePressed, this, &RoomChart::headingPressed);
    RoomChartView *chart = ui->chtRoomChart;
    connect(ui->cboChartZoom, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        guarded([&] { ui->chtRoomChart->setDaysShown(kZoomDays[std::clamp(index, 0, 2)]); });
    });
    connect(ui->dtpChartDate, &QDateEdit::dateChanged, this, [this](const QDate &day) {
        if (!m_settingDate)
            guarded([&] { ui->chtRoomChart->goToDate(day); });
    });
    connect(ui->cmdChartToday, &QPushButton::clicked, this, [this] {
        guarded([&] { ui->chtRoomChart->goToDate(QDate::currentDate()); });
        ui->chtRoomChart->setFocus();
    });
    connect(ui->cmdChartPrint, &QPushButton::clicked, this, &RoomChart::cmdChartPrint_Click);
    connect(chart, &RoomChartView::periodChanged, this, &RoomChart::showPeriod);
    connect(chart, &RoomChartView::openBooking, this, [this](RecordId id) {
        if (m_db && bookingStillThere(*m_db, id))
            emit openBooking(id);
    });
    connect(chart, &RoomChartView::addRequested, this, [this](RecordId room, const QDate &arrival, const QDate &departure) {
        // Days another stay holds are said at once, before a booking is begun.
        if (!ui->chtRoomChart->nightsFree(room, arrival, departure)) {
            if (m_ui)
                m_ui->message(this, tr("The room is not free on all of these nights: choose free days only."),
                              QMessageBox::Information);
            return;
        }
        emit addBooking(room, arrival, departure);
    });
    connect(chart, &RoomChartView::moveRequested, this, &RoomChart::moveStay);
    connect(chart, &RoomChartView::menuRequested, this, &RoomChart::stayMenu);
    // A failure to read is said once (the chart says it too until a read
    // succeeds), not at every step of a scroll.
    connect(chart, &RoomChartView::readFailed, this, [this](const QString &why) {
        if (!m_ui || why == m_toldFailure)
            return;
        m_toldFailure = why;
        m_ui->message(this, tr("The chart could not be read.") + QStringLiteral("\n\n") + why, QMessageBox::Warning);
    });
    // Ctrl++ and Ctrl+- zoom, from anywhere on the panel.
    for (const auto &[key, step] : {std::pair{QKeySequence(QKeySequence::ZoomIn), -1}, std::pair{QKeySequence(Qt::CTRL | Qt::Key_Equal), -1},
                                    std::pair{QKeySequence(QKeySequence::ZoomOut), 1}}) {
        auto *shortcut = new QShortcut(key, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, s = step] { zoom(s); });
    }
}

RoomChart::~RoomChart() = default;

void RoomChart::setConnection(Database *db)
{
    m_db = db;
    ui->chtRoomChart->setConnection(db);
}

RoomChartView *RoomChart::view() const
{
    return ui->chtRoomChart;
}

void RoomChart::Activate()
{
    m_toldFailure.clear();
    guarded([this] { ui->chtRoomChart->reload(); });
    showPeriod();
    ui->chtRoomChart->setFocus();
}

void RoomChart::Refresh()
{
    ui->chtRoomChart->refresh();
}

void RoomChart::cmdChartPrint_Click()
{
    if (!m_db || !m_ui)
        return;
    guarded([this] {
        const QDate first = ui->chtRoomChart->firstDay();
        const HouseDetails house = ReadHouseDetails(*m_db);
        const auto paper = MakePaper(RoomChartPaper(*m_db, house, first, ui->chtRoomChart->daysShown()), house.logo);
        SetLandscape(*paper);
        m_ui->showPaper(this, tr("Room Chart"), *paper, QStringLiteral("room-chart-%1.pdf").arg(first.toString(Qt::ISODate)));
    });
}

void RoomChart::zoom(int step)
{
    ui->cboChartZoom->setCurrentIndex(std::clamp(ui->cboChartZoom->currentIndex() + step, 0, 2));
}

void RoomChart::showPeriod()
{
    m_settingDate = true;
    ui->dtpChartDate->setDate(ui->chtRoomChart->cursorDay());
    m_settingDate = false;
}

void RoomChart::moveStay(const StayMove &move)
{
    if (!m_db || !m_ui)
        return;
    guarded([&] {
        const QString refusal = MoveRefusal(*m_db, move);
        if (!refusal.isEmpty()) {
            m_ui->message(this, refusal, QMessageBox::Warning);
            return;
        }
        bool takeNew = false;
        const MovePrice price = PriceOfMove(*m_db, move);
        if (price.changes()) {
            const auto answer = m_ui->message(
                this,
                tr("The stay changes, and with it its price: %1 as stored, %2 by the house's rates for the new stay.\n\n"
                   "Take the new price? (No keeps the price as stored.)")
                    .arg(FormatMoney(price.oldTotalCents / 100.0), FormatMoney(price.newTotalCents / 100.0)),
                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel)
                return;
            takeNew = answer == QMessageBox::Yes;
        }
        try {
            MoveStay(*m_db, move, takeNew);
        } catch (const StayRefused &refused) {
            // Taken at another desk since the check.
            m_ui->message(this, refused.message(), QMessageBox::Warning);
            return;
        }
        emit staysChanged();
    });
    // The bar where it is stored: moved, or back where it was.
    guarded([this] { ui->chtRoomChart->refresh(); });
}

void RoomChart::stayMenu(const ChartStay &stay, const QPoint &at)
{
    if (!m_db || !m_ui)
        return;
    m_menu->clear();
    const RecordId id = stay.booking;
    const BookingStatus status = stay.status;
    const QString guest = stay.guest;
    const auto life = [this] { return BookingLife{*m_ui, this, *m_db}; };
    const auto after = [this](bool changed) {
        if (changed)
            emit staysChanged();
        guarded([this] { ui->chtRoomChart->refresh(); });
    };
    const QVector<BookingStatus> allowed = ChangesFrom(status);
    m_menu->addAction(tr("&Open"), this, [this, id] {
        if (bookingStillThere(*m_db, id))
            emit openBooking(id);
    });
    m_menu->addSeparator();
    QAction *in = m_menu->addAction(tr("Check &In"), this, [=] { after(life().checkIn(id, status)); });
    in->setEnabled(allowed.contains(BookingStatus::CheckedIn));
    QAction *out = m_menu->addAction(tr("Check &Out"), this, [=] { after(life().checkOut(id, status, m_openPayments)); });
    out->setEnabled(allowed.contains(BookingStatus::CheckedOut));
    QAction *cancel = m_menu->addAction(tr("&Cancel Booking..."), this, [=] { after(life().cancel(id, status, guest)); });
    cancel->setEnabled(allowed.contains(BookingStatus::Cancelled) && !guest.isEmpty());
    m_menu->addSeparator();
    QAction *pay = m_menu->addAction(tr("Record &Payment..."), this, [=] {
        if (m_openPayments)
            m_openPayments(id);
        after(false);
    });
    pay->setEnabled(bool(m_openPayments) && !guest.isEmpty());
    m_menu->addAction(tr("Issue In&voice"), this, [this, id] { emit issueInvoice(id); })->setEnabled(!guest.isEmpty());
    m_menu->addAction(tr("Print Con&firmation"), this, [this, id] { emit printConfirmation(id); });
    m_menu->popup(at);
}

}  // namespace innkeld
