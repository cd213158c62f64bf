// The rooms dialog: the operator adds and removes rooms in a working list;
// OK applies the list to the database, Cancel drops it.
#pragma once

#include "config/roomlist.h"

#include <QDialog>
#include <QVector>

#include <memory>

namespace Ui {
class frmConfigRooms;
}

namespace innkeld {

class UiServices;

class frmConfigRooms : public QDialog
{
    Q_OBJECT
public:
    frmConfigRooms(Database &db, UiServices &ui, QWidget *parent = nullptr);
    ~frmConfigRooms() override;
    frmConfigRooms(const frmConfigRooms &) = delete;
    frmConfigRooms &operator=(const frmConfigRooms &) = delete;

    // Fills the working list and the list box from the database; throws DbError.
    void Setup();

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    // Takes entry k (1 to RoomEntryCount) out of the working list.
    void DeleteRoom(int k);

    // The working list: entries 1 to RoomEntryCount, list item i is entry
    // i + 1; entry 0 is never filled.
    int RoomEntryCount() const { return m_roomEntryCount; }
    const QVector<RoomEntry> &RoomEntries() const { return m_roomEntries; }

private:
    const std::unique_ptr<Ui::frmConfigRooms> ui;
    int m_roomEntryCount = 0;
    QVector<RoomEntry> m_roomEntries;
    QVector<RoomEntry> m_read;  // the rooms as Setup read them
    Database &m_db;
    UiServices &m_ui;
};

}  // namespace innkeld
