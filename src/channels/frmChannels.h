// The channels dialog: where the shared rooms' feeds are written, which
// rooms are shared, each room's channels' feeds, and whether they are
// fetched by themselves. OK stores it all at once; Cancel drops it.
#pragma once

#include "channels/channelfeeds.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmChannels;
}

namespace innkeld {

class UiServices;

class frmChannels : public QDialog
{
    Q_OBJECT
public:
    frmChannels(Database &db, UiServices &ui, QWidget *parent = nullptr);
    ~frmChannels() override;
    frmChannels(const frmChannels &) = delete;
    frmChannels &operator=(const frmChannels &) = delete;

    // Fills the dialog from the database; throws DbError.
    void Setup();
    const ChannelSetup &setup() const { return m_setup; }

private slots:
    void lstChannelRooms_Change();
    void cmdBrowse_Click();
    void cmdAddFeed_Click();
    void cmdRemoveFeed_Click();
    void cmdOk_Click();

private:
    // The feeds table's rows into the room shown, and the ticks into all.
    void keepShownFeeds();
    void showFeeds(int room);

    const std::unique_ptr<Ui::frmChannels> ui;
    Database &m_db;
    UiServices &m_ui;
    ChannelSetup m_setup;
    int m_shown = -1;  // the room whose feeds the table shows
};

}  // namespace innkeld
