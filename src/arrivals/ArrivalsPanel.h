// The home view: a month view and the lists of the day's arrivals and
// departures, from which a booking is opened in the wizard.
#pragma once

#include "widgets/uiservices.h"

#include "data/sql/database.h"

#include <QDate>
#include <QFrame>

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

    // Refills both lists for the month view's date; throws DbError.
    void FillLists();


signals:
    // The operator opens a listed booking, which is still there.
    void openBooking(RecordId bookingId);
    // A press on the panel's heading: the window is moved as by a title bar.
    void headingPressed();

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

    const std::unique_ptr<Ui::ArrivalsPanel> ui;
    bool m_settingDate = false;  // the program sets the date, not the operator
    QObject *m_monthView = nullptr;  // where the month view's days take the mouse
    bool m_pointerDown = false;      // a mouse button is down on it
    Database *m_db = nullptr;
};

}  // namespace innkeld
