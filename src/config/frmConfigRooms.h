// The rooms dialog: the operator adds and removes rooms in a working list;
// OK applies the list to the database, Cancel drops it.
#pragma once

#include "config/roomlist.h"

#include <QDialog>
#include <QVector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace innkeld {

class UiServices;

class frmConfigRooms : public QDialog
{
    Q_OBJECT
public:
    frmConfigRooms(Database &db, UiServices &ui, QWidget *parent = nullptr);

    // Fills the working list and the list box from the database; throws DbError.
    void Setup();

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    // Takes entry k (1 to RoomEntryCount) out of the working list.
    void DeleteRoom(int k);

    int RoomEntryCount = 0;
    QVector<RoomEntry> RoomEntries;  // entry 0 is never filled; list item i is entry i + 1

    QListWidget *lstRooms = nullptr;
    QLineEdit *txtName = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    Database &m_db;
    UiServices &m_ui;
};

}  // namespace innkeld
