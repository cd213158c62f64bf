// The home view: a month view and the lists of the day's arrivals and
// departures, from which a booking is opened in the wizard.
#pragma once

#include "booking/bookingstatus.h"
#include "widgets/uiservices.h"

#include "data/sql/database.h"

#include <QDate>
#include <QFrame>

#include <functional>
#include <memory>

class QListWidget;

namespace Ui {
class ArrivalsPanel;
}

namespace innkeld {


class ArrivalsPanel : public QFrame, public ServiceClient
{
    Q_OBJECT
public:
    explicit ArrivalsPanel(QWidget *parent = nullptr);
    ~ArrivalsPanel() override;
    ArrivalsPanel(const ArrivalsPanel &) = delete;
    ArrivalsPanel &operator=(const ArrivalsPanel &) = delete;
    void setConnection(Database *db);

    // The month view's date. Setting it does not refill the lists.
    QDate date() const;
    void setDate(const QDate &day);

    // Refills both lists for the month view's date, and the guests not
    // arrived; throws DbError.
    void FillLists();
    // What opens a booking's payments (for a check-out with a balance due).
    void setPaymentsOpener(const std::function<void(RecordId)> &open) { m_openPayments = open; }


signals:
    // The operator opens a listed booking, which is still there.
    void openBooking(RecordId bookingId);
    // A booking's status changed here: its rooms may be free again.
    void staysChanged();
    // A press on the panel's heading: the window is moved as by a title bar.
    void headingPressed();
    // Print Registration Card / Print the Day's Cards: the bookings whose
    // cards are asked for, and the paper's title.
    void printRegistrationCards(const QVector<RecordId> &bookings, const QString &title);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void dtCalendar_DateClick(const QDate &date);
    void dtCalendar_SelectionChanged();
    void lstArrivals_DblClick();
    void lstDepartures_DblClick();
    void cmdViewDetails_Click();
    void lstArrivals_GotFocus();
    void lstDepartures_GotFocus();

private:
    void openFromList(QListWidget *list);
    void cmdCheckIn_Click();
    void cmdCheckOut_Click();
    void cmdNoShow_Click(bool all);
    void listMenu(QListWidget *list, const QPoint &at);
    void printCards(bool wholeDay);
    // The selected booking of `list` and its status as listed (0: none).
    QPair<RecordId, BookingStatus> selected(QListWidget *list) const;
    void changed();

    const std::unique_ptr<Ui::ArrivalsPanel> ui;
    bool m_settingDate = false;  // the program sets the date, not the operator
    QObject *m_monthView = nullptr;  // where the month view's days take the mouse
    bool m_pointerDown = false;      // a mouse button is down on it
    Database *m_db = nullptr;
    std::function<void(RecordId)> m_openPayments;
};

}  // namespace innkeld
