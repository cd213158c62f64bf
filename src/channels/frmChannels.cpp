#include "frmChannels.h"
#include "ui_frmChannels.h"

#include "widgets/uiservices.h"

#include <QHeaderView>

namespace innkeld {

frmChannels::frmChannels(Database &db, UiServices &services, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmChannels), m_db(db), m_ui(services)
{
    ui->setupUi(this);
    connect(ui->lstChannelRooms, &QListWidget::currentRowChanged, this, &frmChannels::lstChannelRooms_Change);
    connect(ui->cmdBrowse, &QPushButton::clicked, this, &frmChannels::cmdBrowse_Click);
    connect(ui->cmdAddFeed, &QPushButton::clicked, this, &frmChannels::cmdAddFeed_Click);
    connect(ui->cmdRemoveFeed, &QPushButton::clicked, this, &frmChannels::cmdRemoveFeed_Click);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmChannels::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    ui->tblFeeds->horizontalHeader()->resizeSection(0, 120);
}

frmChannels::~frmChannels() = default;

void frmChannels::Setup()
{
    m_setup = ReadChannelSetup(m_db);
    m_shown = -1;
    ui->txtFolder->setText(m_setup.settings.folder);
    ui->chkAutoImport->setChecked(m_setup.settings.autoImport);
    ui->lstChannelRooms->clear();
    for (const ChannelRoom &room : m_setup.rooms) {
        auto *item = new QListWidgetItem(room.name, ui->lstChannelRooms);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(room.shared ? Qt::Checked : Qt::Unchecked);
    }
    if (!m_setup.rooms.isEmpty())
        ui->lstChannelRooms->setCurrentRow(0);
    showFeeds(ui->lstChannelRooms->currentRow());
}

void frmChannels::keepShownFeeds()
{
    for (int i = 0; i < m_setup.rooms.size() && i < ui->lstChannelRooms->count(); ++i)
        m_setup.rooms[i].shared = ui->lstChannelRooms->item(i)->checkState() == Qt::Checked;
    if (m_shown < 0 || m_shown >= m_setup.rooms.size())
        return;
    QVector<ChannelFeed> feeds;
    for (int r = 0; r < ui->tblFeeds->rowCount(); ++r) {
        const QTableWidgetItem *channel = ui->tblFeeds->item(r, 0);
        const QTableWidgetItem *address = ui->tblFeeds->item(r, 1);
        ChannelFeed feed;
        feed.id = channel ? channel->data(Qt::UserRole).toLongLong() : -1;
        feed.channel = channel ? channel->text().trimmed() : QString();
        feed.address = address ? address->text().trimmed() : QString();
        if (!feed.address.isEmpty())
            feeds << feed;
    }
    m_setup.rooms[m_shown].feeds = feeds;
}

void frmChannels::showFeeds(int room)
{
    m_shown = room;
    ui->tblFeeds->setRowCount(0);
    const bool any = room >= 0 && room < m_setup.rooms.size();
    ui->tblFeeds->setEnabled(any);
    ui->cmdAddFeed->setEnabled(any);
    ui->cmdRemoveFeed->setEnabled(any);
    if (!any)
        return;
    for (const ChannelFeed &feed : m_setup.rooms.at(room).feeds) {
        const int r = ui->tblFeeds->rowCount();
        ui->tblFeeds->insertRow(r);
        auto *channel = new QTableWidgetItem(feed.channel);
        channel->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(feed.id));
        ui->tblFeeds->setItem(r, 0, channel);
        ui->tblFeeds->setItem(r, 1, new QTableWidgetItem(feed.address));
    }
}

void frmChannels::lstChannelRooms_Change()
{
    keepShownFeeds();
    showFeeds(ui->lstChannelRooms->currentRow());
}

void frmChannels::cmdBrowse_Click()
{
    const QString folder = m_ui.existingFolder(this, tr("Feeds folder"), ui->txtFolder->text());
    if (!folder.isEmpty())
        ui->txtFolder->setText(folder);
}

void frmChannels::cmdAddFeed_Click()
{
    const int r = ui->tblFeeds->rowCount();
    ui->tblFeeds->insertRow(r);
    auto *channel = new QTableWidgetItem(QString());
    channel->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(-1));
    ui->tblFeeds->setItem(r, 0, channel);
    ui->tblFeeds->setItem(r, 1, new QTableWidgetItem(QString()));
    ui->tblFeeds->setCurrentCell(r, 0);
    ui->tblFeeds->editItem(channel);
}

void frmChannels::cmdRemoveFeed_Click()
{
    const int r = ui->tblFeeds->currentRow();
    if (r >= 0)
        ui->tblFeeds->removeRow(r);
}

void frmChannels::cmdOk_Click()
{
    keepShownFeeds();
    m_setup.settings.folder = ui->txtFolder->text().trimmed();
    m_setup.settings.autoImport = ui->chkAutoImport->isChecked();
    for (const ChannelRoom &room : m_setup.rooms)
        for (const ChannelFeed &feed : room.feeds)
            if (feed.channel.isEmpty()) {
                m_ui.message(this, tr("Give the channel of each feed of %1 a name.").arg(room.name),
                             QMessageBox::Information);
                return;
            }
    try {
        SaveChannelSetup(m_db, m_setup);
    } catch (const DbError &e) {
        m_ui.message(this, e.message(), QMessageBox::Critical);
        return;
    }
    accept();
}

}  // namespace innkeld
