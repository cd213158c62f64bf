// The find panel: one search box and the bookings it finds, refilled at
// each keystroke, from which a booking is opened in the wizard.
#pragma once

#include "widgets/uiservices.h"

#include "data/sql/database.h"

#include <QFrame>

#include <memory>

namespace Ui {
class FindPanel;
}

namespace innkeld {

class LongWork;

class FindPanel : public QFrame, public ServiceClient
{
    Q_OBJECT
public:
    explicit FindPanel(QWidget *parent = nullptr);
    ~FindPanel() override;
    FindPanel(const FindPanel &) = delete;
    FindPanel &operator=(const FindPanel &) = delete;
    void setConnection(Database *db);

    // The panel comes to the front: the list is found again for the text
    // in the box (the bookings may have changed), which is selected.
    void Activate();
    // Refills the list for the text in the box; throws DbError.
    void FillList();

signals:
    // The operator opens a listed booking, which is still there.
    void openBooking(RecordId bookingId);
    // Issue Invoice for a listed booking, which is still there.
    void issueInvoice(RecordId bookingId);
    // Escape: back to the panel shown before.
    void closed();
    // A press on the panel's heading: the window is moved as by a title bar.
    void headingPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void txtFind_Change();
    void lstFound_DblClick();
    void cmdFindViewDetails_Click();
    void cmdFindIssueInvoice_Click();
    void exportGuestData();
    void eraseGuest();

private:
    // The listed booking chosen, when it is still there (0 otherwise, the
    // list then found again).
    RecordId chosenBooking();

    const std::unique_ptr<Ui::FindPanel> ui;
    Database *m_db = nullptr;
    // The rooms column's width as designed, and all the columns' but the
    // guest's; the guest's at the designed size.
    int m_roomsWidth = 0;
    LongWork *m_export = nullptr;  // the guest's data being written
    int m_fixedWidth = 0;
    static constexpr int kDesignedGuestWidth = 200;
};

}  // namespace innkeld
