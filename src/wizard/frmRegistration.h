// The registration of a booking's guest and companions, opened from the
// customer step: date of birth, nationality (the world's countries, typed
// with completion), identity document, and the companions. OK stores it in
// one transaction, or says what cannot be stored with its field focused.
#pragma once

#include "booking/registration.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmRegistration;
}

namespace innkeld {

class UiServices;

class frmRegistration : public QDialog
{
    Q_OBJECT
public:
    frmRegistration(Database &db, UiServices &ui, RecordId bookingId, QWidget *parent = nullptr);
    ~frmRegistration() override;
    frmRegistration(const frmRegistration &) = delete;
    frmRegistration &operator=(const frmRegistration &) = delete;
    // Reads what the booking holds. Throws DbError.
    void Setup();

private:
    void addCompanionRow(const Companion &companion);
    void cmdOk_Click();
    bool refuse(QWidget *field, const QString &why);

    const std::unique_ptr<Ui::frmRegistration> ui;
    Database &m_db;
    UiServices &m_ui;
    RecordId m_booking;
};

}  // namespace innkeld
