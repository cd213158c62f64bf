// The room chart panel: the chart of rooms against days, with its zoom,
// a day to go to, Today and Print; what is done to a stay (moved,
// stretched, made, opened, its status changed) is asked here of the
// booking's own rules and said to the operator through the seam.
#pragma once

#include "booking/staychart.h"
#include "widgets/uiservices.h"

#include <QFrame>

#include <functional>
#include <memory>

class QMenu;

namespace Ui {
class RoomChart;
}

namespace innkeld {

class RoomChartView;

class RoomChart : public QFrame, public ServiceClient
{
    Q_OBJECT
public:
    explicit RoomChart(QWidget *parent = nullptr);
    ~RoomChart() override;
    RoomChart(const RoomChart &) = delete;
    RoomChart &operator=(const RoomChart &) = delete;
    void setConnection(Database *db);
    // What opens a booking's payments.
    void setPaymentsOpener(const std::function<void(RecordId)> &open) { m_openPayments = open; }

    // Shows the chart read again (the rooms too), the chart taking the keys.
    void Activate();
    // What another desk stored is shown (the stays shown read again).
    void Refresh();
    RoomChartView *view() const;

signals:
    void openBooking(RecordId bookingId);
    void addBooking(RecordId room, const QDate &arrival, const QDate &departure);
    void issueInvoice(RecordId bookingId);
    void printConfirmation(RecordId bookingId);
    // A stay was moved or its status changed here.
    void staysChanged();
    void headingPressed();

private:
    // The chart of the days shown, across the page, in the print preview.
    void cmdChartPrint_Click();
    void moveStay(const StayMove &move);
    void stayMenu(const ChartStay &stay, const QPoint &at);
    void zoom(int step);
    void showPeriod();

    const std::unique_ptr<Ui::RoomChart> ui;
    Database *m_db = nullptr;
    QMenu *m_menu = nullptr;
    std::function<void(RecordId)> m_openPayments;
    bool m_settingDate = false;
    QString m_toldFailure;  // the failure to read said last
};

}  // namespace innkeld
