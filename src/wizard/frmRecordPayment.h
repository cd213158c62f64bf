// The payments dialog of a booking (the payment step's Record Payment...):
// the payments it received, a new one recorded (a refund as a negative
// amount), and the receipt of any of them printed.
#pragma once

#include "data/sql/database.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmRecordPayment;
}

namespace innkeld {

class UiServices;
struct PaperToMail;

class frmRecordPayment : public QDialog
{
    Q_OBJECT
public:
    frmRecordPayment(Database &db, UiServices &ui, RecordId bookingId, const QString &currencySymbol,
                     const QString &method, QWidget *parent = nullptr);
    ~frmRecordPayment() override;
    frmRecordPayment(const frmRecordPayment &) = delete;
    frmRecordPayment &operator=(const frmRecordPayment &) = delete;

    // Lists the booking's payments; throws DbError.
    void Setup();

private slots:
    void cmdRecord_Click();
    void cmdPrintReceipt_Click();
    void cmdEmailReceipt_Click();
    PaperToMail receipt(RecordId paymentId) const;

private:
    void fill(RecordId current);

    const std::unique_ptr<Ui::frmRecordPayment> ui;
    Database &m_db;
    UiServices &m_ui;
    RecordId m_booking;
    QString m_symbol;
};

}  // namespace innkeld
