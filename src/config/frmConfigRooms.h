// The rooms dialog: the operator adds and removes rooms in a working list;
// OK applies the list to the database, Cancel drops it.
#pragma once

#include "booking/pricing.h"
#include "config/roomlist.h"
#include "widgets/LongWork.h"

#include <QDialog>
#include <QVector>

#include <atomic>
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

private slots:
    // The stays that meet on a departure day are counted (turning the rule
    // off): the operator is told how many, then the change is stored.
    void MeetingsCounted(bool completed, const QString &failure);

private:
    // The chosen room's category and beds shown; edits kept by its name.
    void showBeds();
    void bedsEdited();
    // Stores the working list, and the rule when the operator changed it;
    // closes the dialog. A failure is shown and the edits stay.
    void apply();

    const std::unique_ptr<Ui::frmConfigRooms> ui;
    bool m_readDepartureDayFree = false;  // the rule as Setup read it
    LongWork *m_count = nullptr;
    std::shared_ptr<std::atomic<qint64>> m_meetings = std::make_shared<std::atomic<qint64>>(0);
    int m_roomEntryCount = 0;
    QVector<RoomEntry> m_roomEntries;
    QVector<RoomEntry> m_read;  // the rooms as Setup read them
    Database &m_db;
    UiServices &m_ui;
    RateCard m_card;                  // the categories and beds as Setup read them
    QHash<QString, RoomBeds> m_beds;  // the beds the operator set, by room name
    bool m_showingBeds = false;
};

}  // namespace innkeld
