// The house's details dialog: what every paper a guest is handed shows at
// its head and foot, and how the invoices are numbered. OK stores them for
// every desk; Cancel drops them.
#pragma once

#include "data/schema/housedetails.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmHouseDetails;
}

namespace innkeld {

class UiServices;

class frmHouseDetails : public QDialog
{
    Q_OBJECT
public:
    frmHouseDetails(Database &db, UiServices &ui, QWidget *parent = nullptr);
    ~frmHouseDetails() override;
    frmHouseDetails(const frmHouseDetails &) = delete;
    frmHouseDetails &operator=(const frmHouseDetails &) = delete;

    // Fills the dialog from the database; throws DbError.
    void Setup();

private slots:
    void cmdChooseLogo_Click();
    void cmdClearLogo_Click();
    void showNumberExample();
    QString numberTakenText(const QString &number) const;
    void cmdOk_Click();

private:
    void showLogo();

    const std::unique_ptr<Ui::frmHouseDetails> ui;
    Database &m_db;
    UiServices &m_ui;
    QByteArray m_logo;
};

}  // namespace innkeld
