#include "FindPanel.h"

#include "widgets/LongWork.h"

#include "booking/guestdata.h"
#include "data/schema/schema.h"
#include "widgets/paper.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>

#include <stdexcept>
#include "ui_FindPanel.h"

#include "arrivals/findquery.h"
#include "data/regional/regional.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace innkeld {

FindPanel::FindPanel(QWidget *parent) : QFrame(parent), ServiceClient(this), ui(new Ui::FindPanel)
{
    ui->setupUi(this);
    connect(ui->lblFindHeading, &ClickLabel::mousePressed, this, &FindPanel::headingPressed);
    // A paste of any size keeps its beginning (laying out a very long line
    // took most of a frame); the search reads less than that anyway.
    ui->txtFind->setMaxLength(4 * kFindCharacters);
    connect(ui->txtFind, &QLineEdit::textChanged, this, &FindPanel::txtFind_Change);
    ui->cboFindStatus->addItem(tr("All statuses"));
    for (BookingStatus status : AllStatuses())
        ui->cboFindStatus->addItem(StatusLabel(status), int(status));
    connect(ui->cboFindStatus, qOverload<int>(&QComboBox::activated), this, &FindPanel::txtFind_Change);
    connect(ui->lstFound, &QTreeWidget::itemActivated, this, &FindPanel::lstFound_DblClick);
    // A guest's own data: handed over, or erased.
    ui->lstFound->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->lstFound, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (QTreeWidgetItem *item = ui->lstFound->itemAt(at))
            ui->lstFound->setCurrentItem(item);
        if (chosenBooking() == 0)
            return;
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("mnuGuest"));
        menu.addAction(tr("&Export Guest's Data..."), this, &FindPanel::exportGuestData);
        menu.addAction(tr("E&rase Guest..."), this, &FindPanel::eraseGuest);
        menu.exec(ui->lstFound->viewport()->mapToGlobal(at));
    });
    connect(ui->cmdFindViewDetails, &QPushButton::clicked, this, &FindPanel::cmdFindViewDetails_Click);
    connect(ui->cmdFindIssueInvoice, &QPushButton::clicked, this, &FindPanel::cmdFindIssueInvoice_Click);
    ui->txtFind->installEventFilter(this);
    ui->lstFound->installEventFilter(this);
    // The dates and numbers as wide as they are written in the region; the
    // guest takes the rest (what does not fit is in each cell's tooltip).
    QHeaderView *header = ui->lstFound->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    const QFontMetrics metrics(ui->lstFound->font());
    const int padding = 2 * metrics.averageCharWidth() + 4;
    const int date = metrics.horizontalAdvance(RegionalShortDate(QDate(2000, 12, 28))) + padding;
    const int widths[] = {metrics.horizontalAdvance(QStringLiteral("00000")) + padding, 0, date, date,
                          metrics.horizontalAdvance(QStringLiteral("Room 00")) + padding,
                          metrics.horizontalAdvance(QStringLiteral("000-0000")) + padding};
    for (int i = 0; i < int(std::size(widths)); ++i)
        if (widths[i] > 0)
            header->resizeSection(i, widths[i]);
    m_roomsWidth = widths[4];
    m_fixedWidth = widths[0] + widths[2] + widths[3] + widths[4] + widths[5];
}

FindPanel::~FindPanel() = default;

void FindPanel::setConnection(Database *db)
{
    m_db = db;
}

void FindPanel::Activate()
{
    guarded([this] { FillList(); });
    ui->txtFind->setFocus(Qt::ShortcutFocusReason);
    ui->txtFind->selectAll();
}

void FindPanel::FillList()
{
    QTreeWidget *list = ui->lstFound;
    const QString text = ui->txtFind->text();
    const QVariant only = ui->cboFindStatus->currentData();
    const FindResult found = m_db ? FindBookings(*m_db, text, kFindListed,
                                                 only.isValid() ? std::optional<BookingStatus>(BookingStatus(only.toInt()))
                                                                : std::nullopt)
                                  : FindResult();
    list->setUpdatesEnabled(false);
    list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(found.bookings.size());
    for (const FoundBooking &b : found.bookings) {
        auto *item = new QTreeWidgetItem(QStringList{QString::number(b.bookingId), b.guest,
                                                     RegionalShortDate(b.arrival.date()),
                                                     RegionalShortDate(b.departure.date()), b.rooms, b.phone,
                                                     StatusLabel(b.status)});
        if (!HoldsRooms(b.status))
            for (int column = 0; column < item->columnCount(); ++column)
                item->setForeground(column, list->palette().brush(QPalette::Disabled, QPalette::Text));
        item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(b.bookingId));
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        for (int column = 1; column < item->columnCount(); ++column)
            item->setToolTip(column, PlainToolTip(item->text(column)));
        items << item;
    }
    list->addTopLevelItems(items);
    if (!items.isEmpty())
        list->setCurrentItem(items.first());
    list->setUpdatesEnabled(true);
    QString said;
    if (found.more)
        said = tr("More than %1 bookings were found; type more to narrow the list.").arg(kFindListed);
    else if (found.bookings.isEmpty() && found.searched)
        said = tr("No booking was found.");
    if (found.cut)
        said = FindCutText() + (said.isEmpty() ? QString() : QLatin1Char(' ') + said);
    ui->lblFindMore->setText(said);
}

void FindPanel::txtFind_Change()
{
    guarded([this] { FillList(); });
}

void FindPanel::lstFound_DblClick()
{
    guarded([this] {
        if (const RecordId id = chosenBooking())
            emit openBooking(id);
    });
}

void FindPanel::exportGuestData()
{
    const RecordId booking = chosenBooking();
    if (booking == 0 || !m_db || !m_ui || (m_export && m_export->running()))
        return;
    guarded([&] {
        const QString name = ReadGuestData(*m_db, {booking}).name;
        QString base = name.isEmpty() ? tr("Guest") : name;
        base.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("-"));
        const QString json = m_ui->saveFileName(window(), tr("Export Guest's Data"), base + QStringLiteral(".json"),
                                                tr("JSON files (*.json)"), QStringLiteral("json"));
        if (json.isEmpty())
            return;
        const QString pdf = QFileInfo(json).path() + QLatin1Char('/') + QFileInfo(json).completeBaseName() + QStringLiteral(".pdf");
        // A regular guest's years make a long paper: read and written on a
        // thread and a connection of their own, with progress and Cancel.
        const QString address = m_db->address();
        const QString title = tr("Guest's data: %1").arg(name);
        delete m_export;
        m_export = new LongWork(window(), tr("Exporting the guest's data..."),
                                [address, booking, json, pdf, title](const LongWork::Progress &progress) {
                                    const auto db = OpenDatabase(address, false);
                                    const QFileDevice::Permissions permissions = DataFilePermissions(*db);
                                    if (!progress(0, 3))
                                        return false;
                                    const GuestData data = ReadGuestData(*db, BookingsOfGuest(*db, booking));
                                    if (!progress(1, 3))
                                        return false;
                                    QSaveFile out(json);
                                    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(permissions)
                                        || out.write(data.json) != data.json.size() || !out.commit())
                                        throw std::runtime_error(QStringLiteral("%1: %2").arg(json, out.errorString()).toStdString());
                                    if (!progress(2, 3))
                                        return false;
                                    const auto paper = MakePaper(data.html, QByteArray());
                                    WritePaperPdf(*paper, title, pdf, permissions);
                                    return progress(3, 3);
                                });
        connect(m_export, &LongWork::finished, this, [this, name, json, pdf](bool completed, const QString &failure) {
            if (!failure.isEmpty())
                m_ui->message(window(), tr("The guest's data could not be written.") + QStringLiteral("\n\n") + failure,
                              QMessageBox::Critical);
            else if (completed)
                m_ui->message(window(), tr("Everything the house holds about %1 was written to %2 (for a program to read) "
                                           "and %3 (for a person to read).")
                                            .arg(name, QDir::toNativeSeparators(json), QDir::toNativeSeparators(pdf)),
                              QMessageBox::Information);
        });
        m_export->start();
    });
}

void FindPanel::eraseGuest()
{
    const RecordId booking = chosenBooking();
    if (booking == 0 || !m_db || !m_ui)
        return;
    guarded([&] {
        const QVector<RecordId> bookings = BookingsOfGuest(*m_db, booking);
        const QDate today = QDate::currentDate();
        if (const QString refusal = EraseRefusal(*m_db, bookings, today); !refusal.isEmpty()) {
            m_ui->message(window(), refusal, QMessageBox::Information);
            return;
        }
        const QString name = ReadGuestData(*m_db, {booking}).name;
        const auto ask = [&](const QString &text) {
            return m_ui->message(window(), text, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, tr("Erase Guest"))
                == QMessageBox::Yes;
        };
        if (!ask(tr("Erase %1 from every booking of theirs (%2 in all)? The guest's name, address, phone, e-mail, notes, "
                    "registration details and card numbers are replaced by an anonymous mark or removed. The invoices "
                    "already issued stay as they were issued, because the law keeps them.")
                     .arg(name)
                     .arg(bookings.size()))
            || !ask(tr("This cannot be undone. Erase %1 now?").arg(name)))
            return;
        EraseGuest(*m_db, bookings, today);
        FillList();
        m_ui->message(window(), tr("%1 was erased.").arg(name), QMessageBox::Information);
    });
}

RecordId FindPanel::chosenBooking()
{
    const QTreeWidgetItem *item = ui->lstFound->currentItem();
    if (!item)
        return 0;
    const RecordId id = item->data(0, Qt::UserRole).toLongLong();
    if (!bookingStillThere(*m_db, id)) {
        FillList();  // the list as it is now
        return 0;
    }
    return id;
}

void FindPanel::cmdFindIssueInvoice_Click()
{
    guarded([this] {
        if (const RecordId id = chosenBooking())
            emit issueInvoice(id);
    });
}

void FindPanel::cmdFindViewDetails_Click()
{
    lstFound_DblClick();
}

bool FindPanel::eventFilter(QObject *watched, QEvent *event)
{
    // A wider list gives its rooms a third of what it grows by beyond the
    // designed widths, the guest the rest.
    if (watched == ui->lstFound && event->type() == QEvent::Resize) {
        const int spare = ui->lstFound->viewport()->width() - m_fixedWidth - kDesignedGuestWidth;
        ui->lstFound->header()->resizeSection(4, m_roomsWidth + std::max(0, spare / 3));
    }
    if (event->type() != QEvent::KeyPress || (watched != ui->txtFind && watched != ui->lstFound))
        return QFrame::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        emit closed();
        return true;
    }
    if (watched == ui->txtFind) {
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            lstFound_DblClick();
            return true;
        // The list's keys work from the box: the operator goes on typing.
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(ui->lstFound, &copy);
            return true;
        }
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace innkeld
