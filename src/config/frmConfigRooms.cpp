#include "frmConfigRooms.h"

#include "app/uiservices.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace innkeld {

frmConfigRooms::frmConfigRooms(Database &db, UiServices &ui, QWidget *parent)
    : QDialog(parent), m_db(db), m_ui(ui)
{
    setObjectName(QStringLiteral("frmConfigRooms"));
    setWindowTitle(QStringLiteral("Configure Rooms"));
    setModal(true);
    RoomEntries.resize(1);

    auto *heading = new QLabel(QStringLiteral("Configure the rooms/apartments that should be available for booking."), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setWordWrap(true);
    auto *roomsCaption = new QLabel(QStringLiteral("Available Rooms:"), this);
    roomsCaption->setObjectName(QStringLiteral("lblRooms"));
    lstRooms = new QListWidget(this);
    lstRooms->setObjectName(QStringLiteral("lstRooms"));
    roomsCaption->setBuddy(lstRooms);
    auto *nameCaption = new QLabel(QStringLiteral("Room name:"), this);
    nameCaption->setObjectName(QStringLiteral("lblName"));
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    nameCaption->setBuddy(txtName);

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    cmdAdd = button("cmdAdd", QStringLiteral("&Add"));
    cmdRemove = button("cmdRemove", QStringLiteral("&Remove"));
    cmdOk = button("cmdOk", QStringLiteral("&Ok"));
    cmdCancel = button("cmdCancel", QStringLiteral("&Cancel"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0, 1, 3);
    grid->addWidget(roomsCaption, 1, 0, 1, 2);
    grid->addWidget(lstRooms, 2, 0, 4, 2);
    grid->addWidget(cmdRemove, 2, 2);
    grid->addWidget(nameCaption, 6, 0);
    grid->addWidget(txtName, 6, 1);
    grid->addWidget(cmdAdd, 6, 2);
    auto *okCancel = new QHBoxLayout;
    okCancel->addStretch();
    okCancel->addWidget(cmdOk);
    okCancel->addWidget(cmdCancel);
    grid->addLayout(okCancel, 7, 0, 1, 3);
    setTabOrder(lstRooms, cmdRemove);
    setTabOrder(cmdRemove, txtName);
    setTabOrder(txtName, cmdAdd);
    setTabOrder(cmdAdd, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    resize(420, 340);

    connect(cmdAdd, &QPushButton::clicked, this, &frmConfigRooms::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmConfigRooms::cmdRemove_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmConfigRooms::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConfigRooms::cmdCancel_Click);
    // Enter in the name field adds the name typed.
    connect(txtName, &QLineEdit::returnPressed, this, &frmConfigRooms::cmdAdd_Click);
}

void frmConfigRooms::Setup()
{
    const QVector<RoomEntry> stored = ReadRoomEntries(m_db);
    RoomEntryCount = 0;
    RoomEntries.resize(1);
    lstRooms->clear();
    for (const RoomEntry &e : stored) {
        ++RoomEntryCount;
        RoomEntries.push_back(e);
        lstRooms->addItem(RoomListText(e));
    }
}

void frmConfigRooms::cmdAdd_Click()
{
    if (txtName->text().isEmpty())
        return;
    ++RoomEntryCount;
    RoomEntries.push_back(RoomEntry{-1, txtName->text(), false});
    lstRooms->addItem(txtName->text());
    txtName->clear();
}

void frmConfigRooms::cmdRemove_Click()
{
    const int i = lstRooms->currentRow();
    if (i < 0 || !lstRooms->item(i)->isSelected())
        return;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    if (RoomEntries.at(i + 1).Booked)
        answer = m_ui.message(this,
                              QStringLiteral("This room is currently in use by one or more bookings, deleting it "
                                             "will also cause those bookings to be deleted. Delete room?"),
                              QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              QStringLiteral("Confirm Delete?"));
    if (answer != QMessageBox::Yes)
        return;
    DeleteRoom(i + 1);
    delete lstRooms->takeItem(i);
}

void frmConfigRooms::DeleteRoom(int k)
{
    if (k < 1 || k > RoomEntryCount)
        return;
    RoomEntries.remove(k);
    --RoomEntryCount;
}

void frmConfigRooms::cmdOk_Click()
{
    try {
        ApplyRoomEntries(m_db, RoomEntries.mid(1, RoomEntryCount));
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
