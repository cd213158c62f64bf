#include "frmInvoices.h"
#include "ui_frmInvoices.h"

#include "output/invoices.h"
#include "output/showpapers.h"
#include "data/regional/regional.h"
#include "widgets/uiservices.h"

#include "data/schema/schema.h"

#include <QPointer>
#include <QSaveFile>
#include <QThread>

#include <stdexcept>

namespace innkeld {

namespace {
constexpr int kListed = 200;
}

frmInvoices::frmInvoices(Database &db, UiServices &ui, QWidget *parent)
    : QDialog(parent), ui(new Ui::frmInvoices), m_db(db), m_ui(ui)
{
    this->ui->setupUi(this);
    connect(this->ui->txtFindInvoice, &QLineEdit::textChanged, this, &frmInvoices::txtFindInvoice_Change);
    connect(this->ui->lstInvoices, &QTreeWidget::itemActivated, this, &frmInvoices::cmdOpenInvoice_Click);
    connect(this->ui->cmdOpenInvoice, &QPushButton::clicked, this, &frmInvoices::cmdOpenInvoice_Click);
    connect(this->ui->cmdCreditNote, &QPushButton::clicked, this, &frmInvoices::cmdCreditNote_Click);
    connect(this->ui->cmdEmailInvoice, &QPushButton::clicked, this, [this] {
        if (const RecordId id = chosen())
            RunGuarded(m_ui, this, [&] { EmailPaper(m_db, m_ui, this, InvoiceMail(m_db, id)); });
    });
    connect(this->ui->cmdExportJournal, &QPushButton::clicked, this, &frmInvoices::cmdExportJournal_Click);
    connect(this->ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    // The journal's period: the month before this one, as the accountant asks.
    const QDate month = QDate::currentDate().addMonths(-1);
    for (QDateEdit *edit : {this->ui->dtJournalFrom, this->ui->dtJournalTo})
        edit->setDisplayFormat(RegionalPickerFormat());
    this->ui->dtJournalFrom->setDate(QDate(month.year(), month.month(), 1));
    this->ui->dtJournalTo->setDate(QDate(month.year(), month.month(), month.daysInMonth()));
}

frmInvoices::~frmInvoices()
{
    if (m_check) {
        *m_stopCheck = true;
        m_check->wait();
        delete m_check;
    }
}

void frmInvoices::Setup()
{
    fill();
    checkChain();
}

void frmInvoices::checkChain()
{
    // The check reads every invoice: on a connection and thread of its own.
    m_stopCheck = std::make_shared<std::atomic<bool>>(false);
    const QString address = m_db.address();
    const auto stop = m_stopCheck;
    QPointer<QLabel> line(ui->lblInvoiceChain);
    m_check = QThread::create([address, stop, line] {
        QString said;
        bool whole = true;
        try {
            auto db = OpenDatabase(address, false);
            const InvoiceChain chain = VerifyInvoices(*db, [&stop](qint64, qint64) { return !*stop; });
            said = chain.text();
            whole = chain.whole;
        } catch (const DbError &e) {
            said = tr("Whether every invoice is as it was issued could not be checked:") + QLatin1Char(' ') + e.message();
        }
        if (*stop)
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [line, said, whole] {
                if (!line)
                    return;
                line->setText(said);
                line->setStyleSheet(whole ? QString() : QStringLiteral("color: #b00020; font-weight: bold"));
            },
            Qt::QueuedConnection);
    });
    m_check->start();
}

void frmInvoices::fill()
{
    const QVector<InvoiceListRow> rows = ListInvoices(m_db, ui->txtFindInvoice->text(), kListed);
    ui->lstInvoices->clear();
    QList<QTreeWidgetItem *> items;
    for (const InvoiceListRow &r : rows) {
        auto *item = new QTreeWidgetItem({r.number + (r.credit ? tr(" (credit note)") : QString()),
                                          RegionalShortDate(r.issuedOn), r.guest, FormatCents(r.totalCents),
                                          FormatCents(r.dueCents), StatusLabel(r.status)});
        // An invoice of a booking that holds no room now is greyed.
        if (!HoldsRooms(r.status))
            for (int column = 0; column < item->columnCount(); ++column)
                item->setForeground(column, ui->lstInvoices->palette().brush(QPalette::Disabled, QPalette::Text));
        item->setData(0, Qt::UserRole, r.id);
        for (int column : {3, 4})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    ui->lstInvoices->addTopLevelItems(items);
    if (!items.isEmpty())
        ui->lstInvoices->setCurrentItem(items.first());
    const bool any = !items.isEmpty();
    ui->cmdOpenInvoice->setEnabled(any);
    ui->cmdCreditNote->setEnabled(any);
}

RecordId frmInvoices::chosen() const
{
    const QTreeWidgetItem *item = ui->lstInvoices->currentItem();
    return item ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

void frmInvoices::txtFindInvoice_Change()
{
    RunGuarded(m_ui, this, [this] { fill(); });
}

void frmInvoices::cmdOpenInvoice_Click()
{
    if (const RecordId id = chosen())
        RunGuarded(m_ui, this, [&] { ShowInvoice(m_db, m_ui, this, id); });
}

void frmInvoices::cmdCreditNote_Click()
{
    const RecordId id = chosen();
    if (id == 0)
        return;
    const QString number = ui->lstInvoices->currentItem()->text(0);
    if (m_ui.message(this, tr("Issue the credit note that takes back %1? It gets the next number of the series and "
                              "cannot be undone.")
                               .arg(number),
                     QMessageBox::Question, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    RunGuarded(m_ui, this, [&] {
        const RecordId credit = IssueCreditNote(m_db, id, QDate::currentDate());
        fill();
        ShowInvoice(m_db, m_ui, this, credit);
    });
}

void frmInvoices::cmdExportJournal_Click()
{
    const QDate first = ui->dtJournalFrom->date(), last = ui->dtJournalTo->date();
    // What the period holds is said before anything is written.
    qint64 count = 0;
    if (!RunGuarded(m_ui, this, [&] { count = CountInvoices(m_db, first, last); }))
        return;
    const QString period = tr("from %1 to %2").arg(RegionalShortDate(first), RegionalShortDate(last));
    const QString holds = count == 0
        ? tr("No invoice or credit note was issued %1: the journal would hold only its header. Write it all the same?")
              .arg(period)
        : tr("Invoices and credit notes issued %1: %2. Write them to the journal?").arg(period).arg(count);
    if (m_ui.message(this, holds, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const QString path = m_ui.saveFileName(this, tr("Export the Invoice Journal"),
                                           QStringLiteral("invoices-%1-%2.csv")
                                               .arg(first.toString(Qt::ISODate), last.toString(Qt::ISODate)),
                                           tr("Comma-separated values (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    RunGuarded(m_ui, this, [&] {
        RequireOtherThanDatabase(m_db.path(), path);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(DataFilePermissions(m_db)))
            throw std::runtime_error(tr("Could not write %1: %2").arg(path, file.errorString()).toStdString());
        WriteInvoiceJournal(m_db, first, last, file);
        if (!file.commit())
            throw std::runtime_error(tr("Could not write %1: %2").arg(path, file.errorString()).toStdString());
    });
}

}  // namespace innkeld
