// The invoices dialog (Bookings > Invoices...): the invoices and credit
// notes found as the operator types a number or a guest's name, each opened
// in the print preview (print, PDF), credited, and the accountant's
// journal of a period exported as CSV.
#pragma once

#include "data/sql/database.h"

#include <QDialog>

#include <atomic>

#include <memory>

class QThread;

namespace Ui {
class frmInvoices;
}

namespace innkeld {

class UiServices;

class frmInvoices : public QDialog
{
    Q_OBJECT
public:
    frmInvoices(Database &db, UiServices &ui, QWidget *parent = nullptr);
    ~frmInvoices() override;
    frmInvoices(const frmInvoices &) = delete;
    frmInvoices &operator=(const frmInvoices &) = delete;

    // Lists the latest invoices; throws DbError.
    void Setup();

private slots:
    void txtFindInvoice_Change();
    void cmdOpenInvoice_Click();
    void cmdCreditNote_Click();
    void cmdExportJournal_Click();

private:
    void fill();
    // Checks every series off the window's thread; its line says the end.
    void checkChain();
    RecordId chosen() const;

    const std::unique_ptr<Ui::frmInvoices> ui;
    Database &m_db;
    UiServices &m_ui;
    std::shared_ptr<std::atomic<bool>> m_stopCheck;
    QThread *m_check = nullptr;
};

}  // namespace innkeld
