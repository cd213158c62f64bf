#include "frmConfigRooms.h"
#include "ui_frmConfigRooms.h"

#include "widgets/uiservices.h"

namespace innkeld {

frmConfigRooms::frmConfigRooms(Database &db, UiServices &services, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmConfigRooms), m_db(db), m_ui(services)
{
    ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    m_roomEntries.resize(1);
    connect(ui->cmdAdd, &QPushButton::clicked, this, &frmConfigRooms::cmdAdd_Click);
    connect(ui->cmdRemove, &QPushButton::clicked, this, &frmConfigRooms::cmdRemove_Click);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmConfigRooms::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmConfigRooms::cmdCancel_Click);
    // Enter in the name field adds the name typed.
    connect(ui->txtName, &QLineEdit::returnPressed, this, &frmConfigRooms::cmdAdd_Click);
}

frmConfigRooms::~frmConfigRooms() = default;

void frmConfigRooms::Setup()
{
    const QVector<RoomEntry> stored = ReadRoomEntries(m_db);
    m_read = stored;
    m_roomEntryCount = 0;
    m_roomEntries.resize(1);
    ui->lstRooms->clear();
    for (const RoomEntry &e : stored) {
        ++m_roomEntryCount;
        m_roomEntries.push_back(e);
        ui->lstRooms->addItem(RoomListText(e));
    }
}

void frmConfigRooms::cmdAdd_Click()
{
    if (ui->txtName->text().isEmpty())
        return;
    ++m_roomEntryCount;
    m_roomEntries.push_back(RoomEntry{-1, ui->txtName->text(), false});
    ui->lstRooms->addItem(ui->txtName->text());
    ui->txtName->clear();
}

void frmConfigRooms::cmdRemove_Click()
{
    const int i = ui->lstRooms->currentRow();
    if (i < 0 || !ui->lstRooms->item(i)->isSelected())
        return;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    if (m_roomEntries.at(i + 1).Booked)
        answer = m_ui.message(this,
                              QStringLiteral("This room is currently in use by one or more bookings, deleting it "
                                             "will also cause those bookings to be deleted. Delete room?"),
                              QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              QStringLiteral("Confirm Delete?"));
    if (answer != QMessageBox::Yes)
        return;
    DeleteRoom(i + 1);
    delete ui->lstRooms->takeItem(i);
    // The list would make the next entry current and selected; a second
    // Remove must not take a room the operator never chose.
    ui->lstRooms->clearSelection();
    ui->lstRooms->setCurrentRow(-1);
}

void frmConfigRooms::DeleteRoom(int k)
{
    if (k < 1 || k > m_roomEntryCount)
        return;
    m_roomEntries.remove(k);
    --m_roomEntryCount;
}

void frmConfigRooms::cmdOk_Click()
{
    try {
        ApplyRoomEntries(m_db, m_read, m_roomEntries.mid(1, m_roomEntryCount));
    } catch (const DbError &e) {
        // Nothing was applied; the edits stay for another try or Cancel.
        m_ui.message(this, e.message(), QMessageBox::Critical);
        return;
    }
    accept();
}

void frmConfigRooms::cmdCancel_Click()
{
    reject();
}

}  // namespace innkeld
