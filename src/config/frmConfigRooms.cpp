#include "frmConfigRooms.h"
#include "ui_frmConfigRooms.h"

#include "widgets/uiservices.h"

#include "config/roomlist.h"
#include "data/schema/houserules.h"
#include "data/schema/schema.h"

#include <QLocale>
#include <QSpinBox>

namespace innkeld {

frmConfigRooms::frmConfigRooms(Database &db, UiServices &services, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmConfigRooms), m_db(db), m_ui(services)
{
    ui->setupUi(this);
    ShowLabelsAsPlainText(this);
    KeepTextLengths(this);
    m_roomEntries.resize(1);
    connect(ui->cmdAdd, &QPushButton::clicked, this, &frmConfigRooms::cmdAdd_Click);
    connect(ui->cmdRemove, &QPushButton::clicked, this, &frmConfigRooms::cmdRemove_Click);
    connect(ui->cmdOk, &QPushButton::clicked, this, &frmConfigRooms::cmdOk_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmConfigRooms::cmdCancel_Click);
    // Enter in the name field adds the name typed.
    connect(ui->txtName, &QLineEdit::returnPressed, this, &frmConfigRooms::cmdAdd_Click);
    connect(ui->lstRooms, &QListWidget::currentRowChanged, this, &frmConfigRooms::showBeds);
    connect(ui->cboRoomCategory, qOverload<int>(&QComboBox::currentIndexChanged), this, &frmConfigRooms::bedsEdited);
    for (QSpinBox *box : {ui->spnRoomStandard, ui->spnRoomMaxAdults, ui->spnRoomMaxChildren})
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, &frmConfigRooms::bedsEdited);
}

frmConfigRooms::~frmConfigRooms() = default;

void frmConfigRooms::Setup()
{
    const QVector<RoomEntry> stored = ReadRoomEntries(m_db);
    m_read = stored;
    m_roomEntryCount = 0;
    m_roomEntries.resize(1);
    m_readDepartureDayFree = DepartureDayFree(m_db);
    ui->chkDepartureDayFree->setChecked(m_readDepartureDayFree);
    ui->lstRooms->clear();
    for (const RoomEntry &e : stored) {
        ++m_roomEntryCount;
        m_roomEntries.push_back(e);
        ui->lstRooms->addItem(RoomListText(e));
    }
    m_card = ReadRateCard(m_db);
    m_beds.clear();
    ui->cboRoomCategory->clear();
    for (const RateCategory &c : m_card.categories)
        ui->cboRoomCategory->addItem(c.name, QVariant::fromValue<qlonglong>(c.id));
    showBeds();
}

void frmConfigRooms::showBeds()
{
    const int i = ui->lstRooms->currentRow();
    const bool chosen = i >= 0 && i < m_roomEntryCount;
    for (QWidget *w : std::initializer_list<QWidget *>{ui->cboRoomCategory, ui->spnRoomStandard, ui->spnRoomMaxAdults,
                                                       ui->spnRoomMaxChildren})
        w->setEnabled(chosen);
    if (!chosen)
        return;
    const RoomEntry &e = m_roomEntries.at(i + 1);
    RoomBeds beds = m_beds.contains(e.Name) ? m_beds.value(e.Name) : m_card.bedsOf(e.Id);
    m_showingBeds = true;
    const int category = ui->cboRoomCategory->findData(QVariant::fromValue<qlonglong>(beds.category));
    ui->cboRoomCategory->setCurrentIndex(std::max(0, category));
    ui->spnRoomStandard->setValue(beds.standard);
    ui->spnRoomMaxAdults->setValue(beds.maxAdults);
    ui->spnRoomMaxChildren->setValue(beds.maxChildren);
    m_showingBeds = false;
}

void frmConfigRooms::bedsEdited()
{
    const int i = ui->lstRooms->currentRow();
    if (m_showingBeds || i < 0 || i >= m_roomEntryCount)
        return;
    RoomBeds beds;
    beds.category = ui->cboRoomCategory->currentData().toLongLong();
    beds.standard = ui->spnRoomStandard->value();
    beds.maxAdults = ui->spnRoomMaxAdults->value();
    beds.maxChildren = ui->spnRoomMaxChildren->value();
    m_beds.insert(m_roomEntries.at(i + 1).Name, beds);
}

void frmConfigRooms::cmdAdd_Click()
{
    const QString name = RoomName(ui->txtName->text());
    if (name.isEmpty())
        return;
    const QString taken = SameRoomName(name, m_roomEntries.mid(1, m_roomEntryCount));
    if (!taken.isNull()) {
        m_ui.message(this, RoomNameTakenText(taken), QMessageBox::Warning);
        ui->txtName->setFocus();
        ui->txtName->selectAll();
        return;
    }
    ++m_roomEntryCount;
    m_roomEntries.push_back(RoomEntry{-1, name, false});
    ui->lstRooms->addItem(name);
    ui->txtName->clear();
}

void frmConfigRooms::cmdRemove_Click()
{
    const int i = ui->lstRooms->currentRow();
    if (i < 0 || !ui->lstRooms->item(i)->isSelected())
        return;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    if (m_roomEntries.at(i + 1).Booked) {
        // The bookings it holds are named; they are kept, cancelled by the
        // house.
        QString holders;
        if (m_roomEntries.at(i + 1).Id > 0
            && !RunGuarded(m_ui, this, [&] { holders = RoomHoldersText(m_db, m_roomEntries.at(i + 1).Id); }))
            return;
        answer = m_ui.message(this,
                              tr("This room is currently in use by one or more bookings, deleting it "
                                             "will also cause those bookings to be deleted. Delete room?")
                                  + (holders.isEmpty() ? QString()
                                                       : QStringLiteral("\n\n") + holders + QStringLiteral("\n\n")
                                                           + tr("Those bookings are no longer deleted: they are kept, cancelled by the house with the room named, "
                                                                "their payments as they were; a booking without a guest yet "
                                                                "is removed.")),
                              QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              tr("Confirm Delete?"));
    }
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
    if (ui->chkDepartureDayFree->isChecked() || !m_readDepartureDayFree) {
        apply();
        return;
    }
    // Turning the rule off: the stays stored that meet on a departure day
    // are counted first, on a thread and connection of their own (in a
    // house of many years that takes a while), with progress and Cancel.
    if (m_count && m_count->running())
        return;
    delete m_count;
    const QString address = m_db.address();
    const auto meetings = m_meetings;
    m_count = new LongWork(this, tr("Looking for guests who arrive on the day another leaves..."),
                           [address, meetings](const LongWork::Progress &progress) {
                               auto db = OpenDatabase(address);
                               StoredStays stays;
                               if (!ReadStoredStays(*db, stays, false, progress))
                                   return false;
                               *meetings = stays.meetings;
                               return true;
                           });
    connect(m_count, &LongWork::finished, this, &frmConfigRooms::MeetingsCounted);
    m_count->start();
}

void frmConfigRooms::MeetingsCounted(bool completed, const QString &failure)
{
    if (!failure.isEmpty()) {
        m_ui.message(this, failure, QMessageBox::Critical);
        return;
    }
    if (!completed)
        return;  // stopped: nothing is stored, the dialog stays open
    const qint64 meetings = *m_meetings;
    if (meetings > 0) {
        const QString pairs = meetings == 1 ? tr("In one pair of bookings")
                                            : tr("In %1 pairs of bookings").arg(QLocale().toString(meetings));
        const QString text = pairs
            + QStringLiteral(", a guest arrives in a room on the day another guest leaves it. Those bookings stay as "
                             "they are; from now on a room can be booked only from the day after its guest leaves."
                             "\n\nStore the change?");
        if (m_ui.message(this, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    apply();
}

void frmConfigRooms::apply()
{
    const bool rule = ui->chkDepartureDayFree->isChecked();
    try {
        // The rule is stored only when the operator changed it: a change at
        // another desk meanwhile is not undone.
        // The rooms, then the beds the operator set, in one transaction.
        Database::Transaction tx(m_db);
        ApplyRoomEntries(m_db, m_read, m_roomEntries.mid(1, m_roomEntryCount),
                         rule != m_readDepartureDayFree ? std::optional<bool>(rule) : std::nullopt);
        QVector<RoomBeds> beds;
        for (auto it = m_beds.cbegin(); it != m_beds.cend(); ++it) {
            const Recordset room = m_db.execute(QStringLiteral("SELECT id FROM room WHERE name = '%1'").arg(SqlText(it.key())));
            if (room.eof())
                continue;  // taken out again before OK
            RoomBeds b = it.value();
            b.room = room.value(0).toLongLong();
            beds << b;
        }
        WriteRoomBeds(m_db, beds);
        tx.commit();
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
